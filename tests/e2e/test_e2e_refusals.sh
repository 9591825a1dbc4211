#!/usr/bin/env bash
# End to end on Xvfb: 1. started as "y8" through the path from a folder with its own Y8.ini,
# the settings come from beside the program; -f opens, F12 finds the text of -s. 2. Files the
# editor cannot hold (a line of 300, a Ctrl-Z inside, CR ends only, a NUL, more than the store):
# a box tells what was not taken; F8 is refused, the file keeps every byte, no .bak; Shift+F8
# writes the loaded text to a new name. 3. A partly loaded C:\work\sub\..\big.txt: Sichern als
# C:\work\big.txt is refused; under the question at Exit WM_CLOSE and 1998 are ignored, "Ja"
# cannot be carried out and the program stays, "Nein" ends it.
# Usage: test_e2e_refusals.sh <win64 build dir> <source dir>
HARNESS_BUDGET=${HARNESS_BUDGET:-270}
. "$2/tests/lib/wine-harness.sh"
harness_start "$1" "$2" e2e_refusals desktop

# --- 1. a relative start from a folder with its own Y8.ini (cmd passes the name as typed)
mkdir -p "$WORK/sub" "$H_PREFIX/drive_c/planted"
printf '[Test]\r\nHerkunft=Programm\r\n' >"$H_PROGDIR/Y8.ini"
printf '[Test]\r\nHerkunft=untergeschoben\r\n' >"$H_PREFIX/drive_c/planted/Y8.ini"
printf 'eins\r\nzwei\r\ndrei zwei\r\n' >"$WORK/plain.txt"
start='set PATH=C:\y8;%PATH%&& y8 -s:zwei -f:C:\work\plain.txt'
(cd "$H_PREFIX/drive_c/planted" && exec "$HARNESS_WINE" cmd /c "$start") </dev/null >"$H_WORK/relative.log" 2>&1 &
H_PIDS+=("$!")
wait_window Y8 "the relative start"
[ "$(ini_get Test Herkunft)" = Programm ] || fail "the settings came from \"$(ini_get Test Herkunft)\""
expect_caption 'C:\work\plain.txt' "the start with -f"
keys Y8 "f12 x f12 y f8" "F12, x, F12, y, F8"
printf 'eins\r\nxzwei\r\ndrei yzwei\r\n' >"$H_WORK/plain.expected"
expect_bytes "$H_WORK/plain.expected" "$WORK/plain.txt" "F12 with the text of -s"
drive command Y8 1998 && wait_gone Y8 "Exit after the relative start"

# answer <fragment> <what> [keys]: a box says the fragment; the keys (Enter) answer it.
answer() {
    box_says "$1" "$2"
    drive keys '#32770' "${3:-enter}" || fail "$2: the box cannot be answered"
    sleep 0.5
}
# check_file <name> <bytes> <box fragment> <kept bytes (empty: the start of the file)>
check_file() {
    local file="C:\\work\\$1.txt" kept="C:\\work\\$1-kept.txt"
    [ -z "$2" ] || printf "$2" >"$H_WORK/$1.orig"
    cp "$H_WORK/$1.orig" "$WORK/$1.txt"
    if [ -z "${y8:-}" ]; then
        start_program y8 y8.exe "$file"
    else
        drive keys Y8 shift+f7 && file_box "$file" "$1: the open box"
    fi
    answer "$file$3" "$1: the load"
    wait_gone '#32770' "$1: the box after the load"
    keys Y8 "q f8" "$1: q and F8"
    answer "$file wurde nur zum Teil geladen." "$1: F8"
    wait_gone '#32770' "$1: the refusal"
    expect_caption "< $file >" "$1: after the refused F8"
    expect_bytes "$H_WORK/$1.orig" "$WORK/$1.txt" "$1: the file after F8"
    [ ! -e "$WORK/$1.bak" ] || fail "$1: F8 made a backup"
    drive keys Y8 shift+f8 && file_box "$kept" "$1: the save box"
    wait_gone '#32770' "$1: the save box"
    expect_caption "$kept" "$1: after Sichern als"
    { [ -n "$4" ] && printf "$4" || { printf q; head -c $(($(wc -c <"$WORK/$1-kept.txt") - 1)) "$H_WORK/$1.orig"; }; } \
        >"$H_WORK/$1.kept"
    expect_bytes "$H_WORK/$1.kept" "$WORK/$1-kept.txt" "$1: the file saved under a new name"
}
x300=$(printf '%0300d' 0 | tr 0 x)
not_all=$' wurde nicht vollst\344ndig \374bernommen: '
check_file long "first\r\n$x300\r\n" "${not_all}1 Zeile l"$'\344nger als 250 Zeichen gek\374rzt.' \
    "qfirst\r\n${x300:0:250}\r\n"
check_file ctrlz 'one\r\ntwo\r\n\032three\r\nfour\r\n' "${not_all}13 Bytes nach Strg+Z nicht geladen." 'qone\r\ntwo\r\n'
check_file cr 'one\rtwo\rthree\r' "${not_all}3 einzelne CR-Zeichen entfernt." 'qonetwothree\r\n'
check_file zerobyte 'a\000b\n' "${not_all}1 Zeile mit NUL-Zeichen gek"$'\374rzt.' 'qa\n'
awk 'BEGIN { for (n = 1; n <= 600; n++) printf "%0200d %d\r\n", 0, n }' >"$H_WORK/big.orig"
check_file big "" " ist zu lang." ""
kept=$(wc -c <"$WORK/big-kept.txt")
[ "$kept" -gt 60000 ] && [ "$(tail -c 2 "$WORK/big-kept.txt" | od -An -tx1 | tr -d ' ')" = 0d0a ] ||
    fail "big: the new file holds $kept bytes, not the loaded start in whole lines"

# --- 3. the same file under another spelling; the question at Exit
exit_program "$y8" "the loads"
start_program y8 y8.exe 'C:\work\sub\..\big.txt'
answer "ist zu lang" "the start with sub\\..\\big.txt"
wait_gone '#32770' "the box after the start with sub\\..\\big.txt"
keys Y8 z "the change"
drive command Y8 1004 && file_box 'C:\work\big.txt' "Sichern als C:\\work\\big.txt"
answer "exist" "the system's question before it names an existing file"
answer "nur zum Teil" "Sichern als C:\\work\\big.txt"
wait_gone '#32770' "the refusal of Sichern als"
drive command Y8 1998
box_says "speichern?" "Exit with the changed document"
drive close Y8 && drive command Y8 1998 && sleep 1
[ "$(count '#32770')" = 1 ] || fail "a second close under the question shows $(count '#32770') boxes"
answer "speichern?" "the question after a second close"
answer "nur zum Teil" "\"Ja\" for the partly loaded file"
answer "bleibt ge" "the program says it stays"
wait_gone '#32770' "the program stays"
expect_caption '< C:\work\sub\..\big.txt >' "after the refused save at the end"
drive command Y8 1998
answer "speichern?" "Exit again" "tab enter"
expect_exit "$y8" "Exit with \"Nein\""
expect_bytes "$H_WORK/big.orig" "$WORK/big.txt" "big.txt after all"
pass "the same file refused under another spelling; closes under the question ignored; \"Ja\" stayed"
