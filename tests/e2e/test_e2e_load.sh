#!/usr/bin/env bash
# End to end, in a Wine virtual desktop on Xvfb, with real keys on the real window:
# files the editor cannot hold as they are. For each of them, one after another in
# one program start (the first from the command line, the others through Shift+F7
# and the open box):
#  1. one box tells what the load did not take and how much;
#  2. a character typed and F8: a box refuses to save over the file, which keeps
#     every byte and gets no backup;
#  3. Shift+F8 and a new name in the save box: the new file holds the text as
#     loaded (with the character), and the caption names it.
# The files: a line of 300 characters, a Ctrl-Z inside the file, CR line ends
# only, a NUL inside a line, and a file larger than the store. At the end Exit
# (1998) ends the program without a question.
# Usage: test_e2e_load.sh <win64 build dir> <source dir>
HARNESS_BUDGET=${HARNESS_BUDGET:-270}
. "$2/tests/lib/wine-harness.sh"
harness_start "$1" "$2" e2e_load desktop
install_program y8.exe
ini_prepare "[Global]"
work=$H_PREFIX/drive_c/work
mkdir -p "$work" || fail "cannot create $work"

# The key list that types a path of lower-case letters, digits, '-', '.', '\' and
# "C:" (the US layout: shift+; is ':', VK 220 '\', VK 190 '.', VK 189 '-').
path_keys() {
    local p=$1 keys="shift+c shift+#186" i c
    for ((i = 2; i < ${#p}; i++)); do
        c=${p:i:1}
        case $c in
            '\') keys+=" #220" ;;
            .) keys+=" #190" ;;
            -) keys+=" #189" ;;
            *) keys+=" $c" ;;
        esac
    done
    printf '%s' "$keys"
}

# wait_box_text <fragment> <what>: waits up to 15 s for a box (class #32770) whose
# controls show the fragment (Windows-1252); then Enter closes it.
wait_box_text() {
    local i texts=
    for i in $(seq 1 150); do
        texts=$(drive child-texts '#32770' 2>/dev/null) && grep -qF -- "$1" <<<"$texts" && break
        sleep 0.1
    done
    grep -qF -- "$1" <<<"$texts" ||
        fail "$2: no box says \"$(iconv -f CP1252 -t UTF-8 <<<"$1")\" (box: $(iconv -f CP1252 -t UTF-8 <<<"$texts" | tr '\t\n' ' ;'); windows: $(drive windows | tr '\n\t' '; '))"
    drive keys '#32770' enter || fail "$2: Enter could not be typed into the box"
    drive wait-gone '#32770' 10 || fail "$2: the box is still there 10 s after Enter"
    drive wait-idle Y8 20 || fail "$2: the program is still busy 20 s after the box"
}

# file_box <path> <what>: the open or save box the keys just asked for takes the path.
file_box() {
    drive wait-window '#32770' 10 || fail "$2: no file box within 10 s (windows: $(drive windows | tr '\n\t' '; '))"
    drive wait-idle '#32770' 10 || fail "$2: the file box does not wait for input after 10 s"
    drive keys '#32770' "end shift+home del $(path_keys "$1") enter" || fail "$2: the path could not be typed"
}

refusal=" wurde nur zum Teil geladen."
# check_file <name> <bytes (printf format)> <box fragment> <kept bytes (printf format)>:
# the file opened (the first from the command line), the box, the refused F8, Shift+F8.
check_file() {
    local name=$1 fragment=$3 file="C:\\work\\$1.txt" kept="C:\\work\\$1-kept.txt"
    local original=$H_WORK/$name.original expected=$H_WORK/$name.expected
    [ -f "$original" ] || printf "$2" >"$original"
    cp "$original" "$work/$name.txt" || fail "cannot create $work/$name.txt"
    [ -z "$4" ] || printf "$4" >"$expected"
    if [ -z "${y8:-}" ]; then
        start_program y8 y8.exe "$file"
        drive wait-window Y8 30 || fail "no main window within 30 s"
    else
        drive keys Y8 shift+f7 || fail "$name: Shift+F7 could not be typed"
        file_box "$file" "$name: the open box"
    fi
    wait_box_text "$file$fragment" "$name: the load"
    expect_caption "$file" "$name: after the load"
    pass "$name: the load tells \"$(iconv -f CP1252 -t UTF-8 <<<"$fragment")\""

    drive keys Y8 "q f8" || fail "$name: q and F8 could not be typed"
    wait_box_text "$file$refusal" "$name: F8"
    expect_caption "< $file >" "$name: after the refused F8"
    expect_bytes "$original" "$work/$name.txt" "$name: the file after F8"
    [ ! -e "$work/$name.bak" ] || fail "$name: F8 made a backup $name.bak"
    pass "$name: F8 refused with a box; the file keeps every byte, no backup"

    drive keys Y8 shift+f8 || fail "$name: Shift+F8 could not be typed"
    file_box "$kept" "$name: the save box"
    drive wait-gone '#32770' 10 || fail "$name: the save box is still there 10 s after Enter"
    drive wait-idle Y8 20 || fail "$name: the program is still busy 20 s after the save box"
    expect_caption "$kept" "$name: after Sichern als"
    if [ -n "$4" ]; then
        expect_bytes "$expected" "$work/$name-kept.txt" "$name: the file saved under a new name"
    fi
    expect_bytes "$original" "$work/$name.txt" "$name: the original after Sichern als"
    pass "$name: Sichern als wrote $kept"
}

x300=$(printf '%0300d' 0 | tr 0 x)
check_file long "first\r\n$x300\r\n" \
    $' wurde nicht vollst\344ndig \374bernommen: 1 Zeile l\344nger als 250 Zeichen gek\374rzt.' \
    "qfirst\r\n${x300:0:250}\r\n"
check_file ctrlz 'one\r\ntwo\r\n\032three\r\nfour\r\n' \
    $' wurde nicht vollst\344ndig \374bernommen: 13 Bytes nach Strg+Z nicht geladen.' 'qone\r\ntwo\r\n'
check_file cr 'one\rtwo\rthree\r' \
    $' wurde nicht vollst\344ndig \374bernommen: 3 einzelne CR-Zeichen entfernt.' 'qonetwothree\r\n'
check_file zerobyte 'a\000b\n' \
    $' wurde nicht vollst\344ndig \374bernommen: 1 Zeile mit NUL-Zeichen gek\374rzt.' 'qa\n'

# Larger than the store: 600 lines of 200 characters. What was kept is the file's
# start in whole lines, the character in front.
b200=$(printf '%0200d' 0 | tr 0 b)
for n in $(seq 1 600); do printf '%s %d\r\n' "$b200" "$n"; done >"$H_WORK/big.original"
check_file big "" " ist zu lang." ""
kept_size=$(wc -c <"$work/big-kept.txt")
total=$(wc -c <"$H_WORK/big.original")
{ printf q; head -c "$((kept_size - 1))" "$H_WORK/big.original"; } >"$H_WORK/big.expected"
expect_bytes "$H_WORK/big.expected" "$work/big-kept.txt" "big: the file saved under a new name"
[ "$kept_size" -gt 60000 ] && [ "$kept_size" -lt "$total" ] && [ "$(tail -c 2 "$work/big-kept.txt" | od -An -tx1 | tr -d ' ')" = 0d0a ] ||
    fail "big: the new file holds $kept_size of $total bytes, not the loaded start in whole lines"
pass "big: the new file holds the first $kept_size of $total bytes in whole lines"

drive command Y8 1998 || fail "command 1998 cannot be posted"
expect_exit "$y8" 10 "Exit after the last Sichern als"
pass "Exit ended the program without a question"
