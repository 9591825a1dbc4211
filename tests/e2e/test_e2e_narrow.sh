#!/usr/bin/env bash
# End to end, in a Wine virtual desktop on Xvfb: the program's window is made as narrow
# as the system lets it be, and a line longer than the window is wide is typed into it,
# then Home and a second line the same way. The view follows the cursor sideways in
# steps that never pass a column: F8 saves exactly the typed characters, no gaps, none
# lost. The screenshot stays in <build>/e2e/narrow.png for a person to look at.
# Usage: test_e2e_narrow.sh <win64 build dir> <source dir>
. "$2/tests/lib/wine-harness.sh"
harness_start "$1" "$2" e2e_narrow desktop
install_program y8.exe
ini_prepare "[Option]" "Indent=2"
work=$H_PREFIX/drive_c/work
mkdir -p "$work" && : >"$work/n.txt" || fail "cannot create the empty $work/n.txt"
name='C:\work\n.txt'

start_program y8 y8.exe "$name"
wait_window Y8 30
drive wait-idle Y8 20 || fail "the program is still busy 20 s after its start"
# Narrower than the system allows: the window takes its smallest width.
drive move Y8 10 10 40 400 || fail "the window cannot be made narrow"
drive wait-idle Y8 20 || fail "the program is still busy 20 s after the window was made narrow"
read -r cx cy cw ch < <(drive client-rect Y8) || fail "the client area cannot be read"
[ "${cw:-999}" -le 200 ] || fail "the client area is still $cw pixels wide"

first=0123456789abcdefghijklmnopqrstuvwxyz0123456789
second=zyxwvutsrqponmlkjihgfedcba
keys=()
for text in "$first" "$second"; do
    for ((i = 0; i < ${#text}; i++)); do keys+=("${text:i:1}"); done
    keys+=(enter home)
done
drive keys Y8 "${keys[*]}" || fail "the keys could not be typed into the window (see $H_WORK/y8drive.log)"
drive wait-idle Y8 20 || fail "the program is still busy 20 s after the keys were typed"
screenshot narrow >/dev/null || exit 1

drive keys Y8 f8 || fail "F8 could not be typed"
for i in $(seq 1 100); do
    [ "$(drive title Y8)" = "$name" ] && break
    sleep 0.1
done
drive command Y8 1998 || fail "command 1998 cannot be posted"
expect_exit "$y8" 10 "after Exit (1998)"
expected="$first"$'\r\n'"$second"$'\r\n'
if ! cmp -s <(printf '%s' "$expected") "$work/n.txt"; then
    echo "expected:" >&2 && printf '%s' "$expected" | od -c >&2
    echo "found:" >&2 && od -c "$work/n.txt" >&2
    fail "$name does not hold the typed lines (bytes above)"
fi
pass "in a client area $cw pixels wide both lines were typed whole and saved"
