#!/usr/bin/env bash
# End to end, in a Wine virtual desktop on Xvfb, with real keys on the real window:
# opening, editing and saving files.
#  1. The program starts with "-l:120" and C:\work\lines.txt (300 numbered lines, CR LF)
#     on its command line: the caption names the file without marks, a marker typed at
#     the cursor puts the caption between "< " and " >", F8 saves and the marks go.
#     The saved file differs from the original only in that line 120 begins with the
#     marker (CR LF kept); lines.bak beside it is the original byte for byte. A
#     screenshot of the window is kept in <build>/e2e/files.png.
#  2. Shift+F7 brings up the system's open box; the path C:\work\second.txt typed into
#     it and Enter open that file (LF line ends): the caption names it. A character
#     typed at its first line and F8 save it with LF ends; second.bak is its original,
#     and lines.txt is as its own save left it.
#  3. The menu bar by keyboard: Datei/Oeffnen (Alt+D, O) and the open box bring back
#     lines.txt with the cursor where it was left (line 120, after the marker); a
#     character typed there is saved with Datei/Sichern (Alt+D, S), and lines.bak is
#     then the file as the first save left it.
#  4. Exit (1998) with nothing changed ends the process at once, without a question.
# Usage: test_e2e_files.sh <win64 build dir> <source dir>
. "$2/tests/lib/wine-harness.sh"
harness_start "$1" "$2" e2e_files desktop
install_program y8.exe

paper="255 255 224"  # light yellow: the text stays readable on the screenshot
ini_prepare "[Global]" "BgFarbe=$paper"
work=$H_PREFIX/drive_c/work
mkdir -p "$work" || fail "cannot create $work"

# The first file: 300 numbered lines with CR LF ends; single blanks only, so that the
# column keeping of inserts ("Spaltentreue", text after a double blank stays in its
# columns) does not come into play. No line holds a date that a save would renew.
first='C:\work\lines.txt'
original1=$H_WORK/lines.original
for n in $(seq 1 300); do printf 'line %03d of 300\r\n' "$n"; done >"$original1"
cp "$original1" "$work/lines.txt" || fail "cannot create $work/lines.txt"
marker="mark "
expected1=$H_WORK/lines.expected
for n in $(seq 1 300); do
    [ "$n" = 120 ] && printf '%s' "$marker"
    printf 'line %03d of 300\r\n' "$n"
done >"$expected1"

# The second file: LF ends only, so its save must not take the first file's CR LF.
second='C:\work\second.txt'
original2=$H_WORK/second.original
printf 'alpha\nbeta gamma\ndelta\n' >"$original2"
cp "$original2" "$work/second.txt" || fail "cannot create $work/second.txt"
expected2=$H_WORK/second.expected
printf 'qalpha\nbeta gamma\ndelta\n' >"$expected2"



# type_keys <class> <keylist> <what>: types the keys and waits until the program that
# owns the window has handled them.
type_keys() {
    drive keys "$1" "$2" || fail "$3: the keys \"$2\" could not be typed (see $H_WORK/y8drive.log)"
    drive wait-idle Y8 20 || fail "$3: the program is still busy 20 s after the keys"
}

# --- 1. the command line: the file at line 120, unchanged
start_program y8 y8.exe -l:120 "$first"
wait_window Y8 30
caption=$(drive title Y8) || fail "no caption to read"
[ "$caption" = "$first" ] || fail "after the start with -l:120 $first the caption is \"$caption\", not \"$first\""
pass "the program shows $first, caption without marks"

# The marker typed at the cursor: the caption shows the document as changed.
type_keys Y8 "m a r k space" "the marker"
caption=$(drive title Y8) || fail "the main window went away while the marker was typed"
[ "$caption" = "< $first >" ] || fail "after typing the caption is \"$caption\", not \"< $first >\""
pass "typed \"$marker\"; caption \"$caption\""

# Drawing on the X screen may lag behind the program's painting: the screenshot is
# taken once the window's first text row (the line at the top of the window) is drawn.
read -r cx cy cw ch < <(drive client-rect Y8) || fail "the client area cannot be read"
for i in $(seq 1 40); do
    ink=0
    for x in 4 8 12 16 20 24 28; do
        [ "$(drive pixel Y8 "$x" 8)" != "$paper" ] && ink=1 && break
    done
    [ "$ink" = 1 ] && break
    sleep 0.1
done
shot=$(screenshot files) || exit 1
pass "screenshot $shot (client area ${cw}x$ch at $cx,$cy)"

# F8 saves: the marks go, the file holds the marker on line 120 only, the backup is
# the original.
type_keys Y8 f8 "F8"
expect_caption "$first" "after F8"
expect_bytes "$expected1" "$work/lines.txt" "after F8"
expect_bytes "$original1" "$work/lines.bak" "the backup after F8"
pass "F8 saved $first: line 120 alone carries the marker, CR LF kept; lines.bak is the original"
saved1=$H_WORK/lines.saved
cp "$work/lines.txt" "$saved1" || fail "cannot keep a copy of the saved file"

# --- 2. Shift+F7: the system's open box, the second file's path typed into it
drive keys Y8 shift+f7 || fail "Shift+F7 could not be typed (see $H_WORK/y8drive.log)"
drive wait-window '#32770' 10 ||
    fail "no open box (class #32770) 10 s after Shift+F7 (windows: $(drive windows | tr '\n\t' '; '))"
drive wait-idle '#32770' 10 || fail "the open box does not wait for input after 10 s"
box_title=$(drive title '#32770')
# The program's own caption for it, "Datei \366ffnen" in Windows-1252.
[ "$box_title" = $'Datei \366ffnen' ] ||
    fail "the open box's caption is \"$(iconv -f CP1252 -t UTF-8 <<<"$box_title")\", not \"Datei \\366ffnen\""
pass "Shift+F7 shows the open box \"$(iconv -f CP1252 -t UTF-8 <<<"$box_title")\""

# The file name field has the focus; whatever it holds is replaced by the path. The
# US layout: shift+; is ':', the key right of the brackets (VK 220) is '\', VK 190 '.'.
path_keys="end shift+home del shift+c shift+#186 #220 w o r k #220 s e c o n d #190 t x t"
drive keys '#32770' "$path_keys" || fail "the path could not be typed into the open box"
drive wait-idle '#32770' 10 || fail "the open box is still busy 10 s after the path was typed"
fields=$(drive child-texts '#32770' | tr '\t\n' ' ;')
grep -qiF 'C:\work\second.txt' <<<"$fields" ||
    fail "the open box does not show the typed path (its controls: $fields)"
drive keys '#32770' enter || fail "Enter could not be typed into the open box"
drive wait-gone '#32770' 10 || fail "the open box is still there 10 s after Enter (its controls: $fields)"
drive wait-idle Y8 20 || fail "the program is still busy 20 s after the open box closed"
expect_caption "$second" "after the open box"
pass "the open box opened $second"

type_keys Y8 q "the character in the second file"
caption=$(drive title Y8) || fail "the main window went away while typing into the second file"
[ "$caption" = "< $second >" ] || fail "after typing into the second file the caption is \"$caption\", not \"< $second >\""
type_keys Y8 f8 "F8 on the second file"
expect_caption "$second" "after F8 on the second file"
expect_bytes "$expected2" "$work/second.txt" "the second file after F8"
expect_bytes "$original2" "$work/second.bak" "the second file's backup"
expect_bytes "$saved1" "$work/lines.txt" "the first file after the second was saved"
expect_bytes "$original1" "$work/lines.bak" "the first file's backup after the second was saved"
pass "F8 saved $second with LF ends, second.bak is its original; lines.txt and lines.bak unchanged"

# --- 3. The menu bar by keyboard: Alt+D opens "&Datei", O chooses "&Oeffnen...": the
# first file again, at the place it was left; Alt+D, S ("&Sichern") saves it.
drive keys Y8 "alt+d o" || fail "Alt+D O could not be typed (see $H_WORK/y8drive.log)"
drive wait-window '#32770' 10 ||
    fail "no open box 10 s after Datei/Oeffnen (windows: $(drive windows | tr '\n\t' '; '))"
drive wait-idle '#32770' 10 || fail "the open box does not wait for input after 10 s"
path_keys="end shift+home del shift+c shift+#186 #220 w o r k #220 l i n e s #190 t x t"
drive keys '#32770' "$path_keys enter" || fail "the path could not be typed into the open box"
drive wait-gone '#32770' 10 || fail "the open box is still there 10 s after Enter"
drive wait-idle Y8 20 || fail "the program is still busy 20 s after the open box closed"
expect_caption "$first" "after Datei/Oeffnen"
type_keys Y8 x "the character after Datei/Oeffnen"
expect_caption "< $first >" "after typing into the first file again"
type_keys Y8 "alt+d s" "the menu item Datei/Sichern"
expect_caption "$first" "after Datei/Sichern"
expected3=$H_WORK/lines.expected3
sed '120s/^mark /mark x/' "$saved1" >"$expected3"
expect_bytes "$expected3" "$work/lines.txt" "the first file saved from the menu"
expect_bytes "$saved1" "$work/lines.bak" "the first file's backup after the menu's save"
pass "Datei/Oeffnen reopened $first at line 120 after the marker; Datei/Sichern saved it"

# --- 4. Exit with nothing changed: no question, the process ends
drive command Y8 1998 || fail "command 1998 cannot be posted"
if ! wait_exit code "$y8" 10; then
    fail "10 s after Exit (1998) the process still runs (windows: $(drive windows | tr '\n\t' '; '))"
fi
[ "$code" = 0 ] || fail "after Exit (1998) the process ended with exit code $code"
expect_bytes "$expected2" "$work/second.txt" "the second file after Exit"
expect_bytes "$expected3" "$work/lines.txt" "the first file after Exit"
pass "Exit ended the process with code 0 and no question"
