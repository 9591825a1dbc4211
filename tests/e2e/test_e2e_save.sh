#!/usr/bin/env bash
# End to end, in a Wine virtual desktop on Xvfb, with real keys on the real window:
# where the program takes its settings from, the command line's -f and -s, and the
# refusals that keep a file whole on save and at the end.
#  1. Started by the name "y8" through the search path from C:\planted, which holds a
#     Y8.ini of its own: the settings file is installed from the Y8.ini beside the
#     program, never from the current folder. "-f:C:\work\plain.txt" opens that file and
#     "-s:zwei" is the search text: F12 finds "zwei" on line 2, then on line 3; a
#     character typed at each and F8 save them. Exit (1998) ends the program.
#  2. Started with "C:\work\sub\..\big.txt", a file too long for the store (loaded in
#     part): "Sichern als" to C:\work\big.txt, the same file under another spelling, is
#     refused and the file stays whole.
#  3. Exit with the changed document: while the question "Geaendert, speichern?" is up,
#     WM_CLOSE and 1998 arrive and are ignored (one box, the program runs). "Ja" cannot
#     be carried out (the file was loaded in part): the user is told and the program
#     stays open with its text. Exit again, "Nein": the process ends; big.txt is whole.
# Usage: test_e2e_save.sh <win64 build dir> <source dir>
HARNESS_BUDGET=${HARNESS_BUDGET:-150}  # three program starts
. "$2/tests/lib/wine-harness.sh"
harness_start "$1" "$2" e2e_save desktop
install_program y8.exe

work=$H_PREFIX/drive_c/work
planted=$H_PREFIX/drive_c/planted
mkdir -p "$work/sub" "$planted" || fail "cannot create the folders"
printf '[Test]\r\nHerkunft=Programm\r\n' >"$H_PROGDIR/Y8.ini"
printf '[Test]\r\nHerkunft=untergeschoben\r\n' >"$planted/Y8.ini"
printf 'eins\r\nzwei\r\ndrei zwei\r\n' >"$work/plain.txt"
expected_plain=$H_WORK/plain.expected
printf 'eins\r\nxzwei\r\ndrei yzwei\r\n' >"$expected_plain"
big=$H_WORK/big.original
for n in $(seq 1 1000); do printf 'line %04d %0190d\r\n' "$n" 0; done >"$big"
cp "$big" "$work/big.txt" || fail "cannot create big.txt"

type_keys() {
    drive keys "$1" "$2" || fail "$3: the keys \"$2\" could not be typed (see $H_WORK/y8drive.log)"
    drive wait-idle Y8 20 || fail "$3: the program is still busy 20 s after the keys"
}

# box_up <text> <what>: within 10 s a box (class #32770) is up that shows the text.
box_up() {
    local i texts=
    drive wait-window '#32770' 10 || fail "$2: no box within 10 s (windows: $(drive windows | tr '\n\t' '; '))"
    for i in $(seq 1 50); do
        texts=$(drive child-texts '#32770' | tr '\t\n' ' ;')
        grep -qF "$1" <<<"$texts" && return 0
        sleep 0.2
    done
    fail "$2: the box does not say \"$1\" (its controls: $texts)"
}

# box_answer <keys> <what> [gone]: answers the box (and with "gone" waits until no box
# is left; otherwise the next box_up waits for what comes next).
box_answer() {
    drive keys '#32770' "$1" || fail "$2: the keys \"$1\" could not be typed into the box"
    if [ "${3:-}" = gone ]; then
        drive wait-gone '#32770' 10 || fail "$2: the box is still there 10 s after \"$1\""
    else
        sleep 0.5
    fi
}

# --- 1. a relative start from a folder with a Y8.ini of its own; -f and -s
# (Wine's own loader would hand the program its full path: cmd passes the name as typed.)
(cd "$planted" && exec "$HARNESS_WINE" cmd /c 'set PATH=C:\y8;%PATH%&& y8 -s:zwei -f:C:\work\plain.txt') \
    </dev/null >"$H_WORK/y8.relative.log" 2>&1 &
y8=$!
H_PIDS+=("$y8")
wait_window Y8 30
origin=$(ini_get Test Herkunft) || fail "the settings file was not installed"
[ "$origin" = Programm ] || fail "the settings came from the current folder (Herkunft=$origin)"
pass "the settings file came from beside the program, not from the current folder"
expect_caption 'C:\work\plain.txt' "after the start with -f"
type_keys Y8 "f12 x f12 y f8" "F12 with the search text of -s"
expect_bytes "$expected_plain" "$work/plain.txt" "after F12, x, F12, y, F8"
pass "-f opened plain.txt; F12 found the text of -s on lines 2 and 3"
drive command Y8 1998 || fail "command 1998 cannot be posted"
drive wait-gone Y8 10 || fail "the program still runs 10 s after Exit"

# --- 2. a file loaded in part is not saved over under another spelling
start_program y8 y8.exe 'C:\work\sub\..\big.txt'
box_up "ist zu lang" "the start with big.txt"
box_answer enter "the box \"zu lang\"" gone
wait_window Y8 30
type_keys Y8 z "the change"
expect_caption '< C:\work\sub\..\big.txt >' "after typing"
drive command Y8 1004 || fail "command 1004 cannot be posted"
box_up "" "Sichern als"
path_keys="end shift+home del shift+c shift+#186 #220 w o r k #220 b i g #190 t x t"
drive keys '#32770' "$path_keys enter" || fail "the path could not be typed into the save box"
sleep 1
for i in $(seq 1 50); do   # the system asks before it names an existing file
    texts=$(drive child-texts '#32770' | tr '\t\n' ' ;')
    grep -qF "nur zum Teil" <<<"$texts" && break
    grep -qiF "exist" <<<"$texts" && drive keys '#32770' enter
    sleep 0.2
done
box_up "nur zum Teil" "Sichern als C:\\work\\big.txt"
box_answer enter "the refusal" gone
expect_bytes "$big" "$work/big.txt" "after Sichern als under another spelling"
pass "Sichern als C:\\work\\big.txt of the partly loaded C:\\work\\sub\\..\\big.txt was refused; big.txt is whole"

# --- 3. the end: closing twice under the question, "Ja" that cannot be carried out
drive command Y8 1998 || fail "command 1998 cannot be posted"
box_up "speichern?" "Exit with the changed document"
drive close Y8 || fail "WM_CLOSE cannot be posted"
drive command Y8 1998 || fail "a second 1998 cannot be posted"
sleep 1
[ "$(drive count '#32770')" = 1 ] || fail "a second close under the question shows $(drive count '#32770') boxes"
is_running "$y8" || fail "a second close under the question ended the program"
box_up "speichern?" "the question after a second close"
pass "WM_CLOSE and 1998 under the question were ignored"
box_answer enter "\"Ja\""
box_up "nur zum Teil" "\"Ja\" for the partly loaded file"
box_answer enter "the refusal at the end"
box_up "bleibt ge" "the program says it stays"
box_answer enter "the box that the program stays" gone
drive wait-idle Y8 10 || fail "the program does not run on after the refused save"
is_running "$y8" || fail "the program ended although its text was not saved"
expect_caption '< C:\work\sub\..\big.txt >' "after the refused save at the end"
expect_bytes "$big" "$work/big.txt" "after \"Ja\" at the end"
pass "\"Ja\" that could not be carried out kept the program open with its text"

drive command Y8 1998 || fail "command 1998 cannot be posted"
box_up "speichern?" "Exit again"
drive keys '#32770' "tab enter" || fail "\"Nein\" could not be chosen"
expect_exit "$y8" 10 "Exit with \"Nein\""
expect_bytes "$big" "$work/big.txt" "after the end"
pass "Exit with \"Nein\" ended the process; big.txt is whole"
