#!/usr/bin/env bash
# A save killed at any moment: the program opens a file that nearly fills the store, a
# character is typed, F8 is posted and the process is killed (SIGKILL, as TerminateProcess)
# after a random delay, again and again. After every kill the file's name holds the old
# text or the new one, whole, and the backup holds a whole older text.
# Usage: test_program_savekill.sh <win64 build dir> <source dir>
. "$2/tests/lib/wine-harness.sh"
HARNESS_BUDGET=200 harness_start "$1" "$2" program_savekill headless
big=$WORK/big.txt
mkdir -p "$WORK" || fail "cannot create $WORK"
for i in $(seq 1 1500); do printf 'Zeile %04d mit etwas Text, damit die Datei gross wird\r\n' "$i"; done >"$big"

# whole_after <old> <new>: new is old, or old with one character put in.
whole_after() {
    cmp -s "$1" "$2" && return 0
    [ $(($(stat -c %s "$2") - $(stat -c %s "$1"))) = 1 ] || return 1
    local at=$(cmp "$1" "$2" | grep -o 'byte [0-9]*' | grep -o '[0-9]*')
    cmp -s "$1" <(head -c $((at - 1)) "$2"; tail -c +$((at + 1)) "$2")
}

# one_of <file>: the file equals one of the texts big.txt has had.
one_of() {
    local v
    for v in "$H_WORK"/v.*; do cmp -s "$1" "$v" && return 0; done
    return 1
}

saved=0 kept=0
for round in $(seq 1 20); do
    cp "$big" "$H_WORK/v.$round"
    start_program y8 y8.exe 'C:\work\big.txt'
    drive wait-window Y8 30 >/dev/null || fail "round $round: the main window does not appear"
    keys Y8 x "round $round: x"
    drive command Y8 1003 &  # the kill falls before, into or after the save
    sleep "$(printf '0.%03d' $((RANDOM % 80)))"
    kill -KILL "$y8" 2>/dev/null
    wait "$y8" $! 2>/dev/null
    whole_after "$H_WORK/v.$round" "$big" || fail "round $round: big.txt is neither the old text nor the new one"
    [ ! -e "$WORK/big.bak" ] || one_of "$WORK/big.bak" || fail "round $round: big.bak is not a whole older text"
    if cmp -s "$H_WORK/v.$round" "$big"; then kept=$((kept + 1)); else saved=$((saved + 1)); fi
    rm -f "$WORK"/Y8~*.TMP
done
pass "20 saves killed at random moments: $saved new texts, $kept old ones, every one whole"
