#!/usr/bin/env bash
# End to end, in a Wine virtual desktop on Xvfb: search, replace and the line block
# with real keys on the real window, checked in the saved file (byte for byte) and on
# the clipboard. A character typed at the cursor and F8 show where a search left it.
# The file: 40 numbered lines (CR LF) with "alpha" as a whole word, in capitals, inside
# "alphabet" and "alpha_beta", and "gamma" around the lines 24 to 26.
#  1. Ctrl+F opens "Suchen"; "alpha" typed, "W&ort" ticked with Alt+O and Enter (the
#     default button "&F11/F12") close it and search: the cursor stands on the first
#     whole-word "alpha" after the start (line 4), not in "alphabet" (line 2).
#  2. F12 goes on: "ALPHA" (line 6) matches without "&Gross/Klein", "alphabetic" does
#     not with "W&ort"; F12 twice finds both occurrences of line 8 in turn.
#  3. Replace in the open dialog: Ctrl+F, "Ta&uschen" ticked with Alt+U, the replacement
#     typed into the second field, "&Weiter" (Alt+W) finds the next whole word (line 33,
#     "alpha_beta" on line 20 is one word) with the dialog still open, "&Tauschen"
#     (Alt+T) replaces exactly that one; Escape closes the dialog.
#     F12 then finds the last "alpha" (line 40), and F12 past it leaves the cursor on
#     the blank row after the end: a character typed there is a new last line.
#  4. The block: Alt+K A ("&Anfang") on line 24, two lines down Alt+K E ("&Ende"),
#     Alt+K Z ("&Zwischenablage"): the clipboard holds exactly those three lines, each
#     with CR LF. Marked again, Alt+K T ("&Tauschen") opens "Im Block tauschen": a new
#     search and replacement text and Enter ("&Start") replace every whole-word "gamma"
#     in those three lines (capitals too, "gammaray" not) and nowhere else. A new block
#     (lines 10 and 11) and Alt+K K ("&Kopieren") put copies before the cursor line.
#  5. Exit (1998) with nothing changed ends the process without a question.
# Every step's file is worked out from the original here and compared after F8.
# Usage: test_e2e_search.sh <win64 build dir> <source dir>
. "$2/tests/lib/wine-harness.sh"
harness_start "$1" "$2" e2e_search desktop
install_program y8.exe

# The first copy takes placement slot 0: 800 x 600 shows all the rows the test uses.
ini_prepare "[Window]" "Position0=0 1 -1 -1 -1 -1 40 20 840 620"
work=$H_PREFIX/drive_c/work
mkdir -p "$work" || fail "cannot create $work"
name='C:\work\s.txt'
file=$work/s.txt

# Single blanks only, so that the column keeping of inserts ("Spaltentreue") does not
# come into play; nothing on line 3 looks like a date that a save would renew.
original=$H_WORK/s.original
for n in $(seq -w 1 40); do
    case $n in
        02) line="line 02 alphabet soup" ;;
        04) line="line 04 the alpha and the omega" ;;
        06) line="line 06 ALPHA in capitals" ;;
        07) line="line 07 alphabetic order" ;;
        08) line="line 08 x=alpha,alpha;" ;;
        20) line="line 20 alpha_beta is one word" ;;
        22) line="line 22 gamma outside" ;;
        23) line="line 23 gamma above the block" ;;
        24) line="line 24 gamma gamma in the block" ;;
        25) line="line 25 gammaray and gamma" ;;
        26) line="line 26 GAMMA ends the block" ;;
        27) line="line 27 gamma below the block" ;;
        33) line="alpha at the start of line 33" ;;
        40) line="line 40 the last alpha" ;;
        *) line="line $n filler text" ;;
    esac
    printf '%s\r\n' "$line"
done >"$original"
cp "$original" "$file" || fail "cannot create $file"

# The expected files are made from the original with these, by line and column
# (counted from 1 and from 0): each prints the changed file.
# insert_at <file> <line> <column> <text>
insert_at() {
    awk -v n="$2" -v c="$3" -v t="$4" 'NR == n { $0 = substr($0, 1, c) t substr($0, c + 1) } { print }' "$1"
}
# replace_at <file> <line> <column> <length> <text>: the length characters there become the text.
replace_at() {
    awk -v n="$2" -v c="$3" -v l="$4" -v t="$5" \
        'NR == n { $0 = substr($0, 1, c) t substr($0, c + l + 1) } { print }' "$1"
}
# copy_before <file> <first> <last> <line>: copies of the lines first..last before the line.
copy_before() {
    awk -v a="$2" -v b="$3" -v n="$4" \
        'NR >= a && NR <= b { copy[++k] = $0 } { line[NR] = $0 }
         END { for (i = 1; i <= NR; ++i) { if (i == n) for (j = 1; j <= k; ++j) print copy[j]; print line[i] } }' "$1"
}



# type_keys <class> <keylist> <what>: types the keys into the window of the class and
# waits until the program has handled them.
type_keys() {
    drive keys "$1" "$2" || fail "$3: the keys \"$2\" could not be typed (see $H_WORK/y8drive.log)"
    drive wait-idle Y8 20 || fail "$3: the program is still busy 20 s after the keys"
}

# save <expected file> <what>: F8, the caption loses its change marks, the file holds
# exactly the expected bytes.
save() {
    type_keys Y8 f8 "F8 $2"
    expect_caption "$name" "after F8 $2"
    expect_bytes "$1" "$file" "$2"
}

# dialog_opens <caption> <what>: a dialog (class #32770) with that caption appears and
# waits for input.
dialog_opens() {
    drive wait-window '#32770' 10 ||
        fail "$2: no dialog (class #32770) within 10 s (windows: $(drive windows | tr '\n\t' '; '))"
    drive wait-idle '#32770' 10 || fail "$2: the dialog does not wait for input after 10 s"
    local caption
    caption=$(drive title '#32770') || fail "$2: the dialog went away"
    [ "$caption" = "$1" ] || fail "$2: the dialog's caption is \"$caption\", not \"$1\""
}

# dialog_closes <what>: no dialog is left within 10 s.
dialog_closes() {
    drive wait-gone '#32770' 10 ||
        fail "$1: the dialog is still there 10 s later (its controls: $(drive child-texts '#32770' | tr '\t\n' ' ;'))"
    drive wait-idle Y8 20 || fail "$1: the program is still busy 20 s after the dialog closed"
}

# expect_field <text> <what>: one of the open dialog's controls holds exactly the text.
expect_field() {
    local texts
    texts=$(drive child-texts '#32770') || fail "$2: the dialog's controls cannot be read"
    grep -q "	$1\$" <<<"$texts" || fail "$2: no control of the dialog holds \"$1\" (its controls: $(tr '\t\n' ' ;' <<<"$texts"))"
}

# The texts typed into the dialogs.
replacement="omega"
block_search="gamma"
block_replacement="delta"

start_program y8 y8.exe "$name"
wait_window Y8 30
expect_caption "$name" "after the start"
pass "the program shows $name"

# --- 1. Ctrl+F, "alpha", W&ort, Enter: the first whole word after the start.
drive keys Y8 ctrl+f || fail "Ctrl+F could not be typed"
dialog_opens "Suchen" "after Ctrl+F"
type_keys '#32770' "a l p h a" "the search text"
expect_field alpha "after typing the search text"
type_keys '#32770' "alt+o enter" "W&ort and Enter"
dialog_closes "after Enter in \"Suchen\""
expect_caption "$name" "after the search"
type_keys Y8 1 "the first marker"
expect_caption "< $name >" "after the first marker"
expected=$H_WORK/s.expected1
insert_at "$original" 4 12 1 >"$expected"
save "$expected" "after the search from \"Suchen\""
expect_bytes "$original" "$work/s.bak" "the backup after the first save"
pass "Ctrl+F, \"alpha\", W&ort and Enter found the whole word on line 4 (not \"alphabet\" on line 2)"

# --- 2. F12: "ALPHA" on line 6, then both occurrences on line 8, "alphabetic" skipped.
type_keys Y8 "f12 2" "F12 and the second marker"
type_keys Y8 "f12 f12 3" "F12 twice and the third marker"
previous=$expected
expected=$H_WORK/s.expected2
insert_at "$previous" 6 8 2 | insert_at - 8 16 3 >"$expected"
save "$expected" "after F12 three times"
pass "F12 found \"ALPHA\" on line 6 without Gross/Klein, skipped \"alphabetic\", then both of line 8 in turn"

# --- 3. Replace: Ctrl+F, Ta&uschen, the replacement, &Weiter, &Tauschen, Escape.
drive keys Y8 ctrl+f || fail "Ctrl+F could not be typed the second time"
dialog_opens "Suchen" "after the second Ctrl+F"
expect_field alpha "the second \"Suchen\" (the last search text)"
type_keys '#32770' "alt+u o m e g a" "Ta&uschen and the replacement"
expect_field "$replacement" "after typing the replacement"
type_keys '#32770' alt+w "&Weiter"
[ "$(drive count '#32770')" = 1 ] || fail "the dialog \"Suchen\" closed after &Weiter"
expect_caption "$name" "after &Weiter (nothing replaced yet)"
type_keys '#32770' alt+t "&Tauschen"
expect_caption "< $name >" "after &Tauschen"
[ "$(drive count '#32770')" = 1 ] || fail "the dialog \"Suchen\" closed after &Tauschen"
type_keys '#32770' esc "Escape in \"Suchen\""
dialog_closes "after Escape in \"Suchen\""
previous=$expected
expected=$H_WORK/s.expected3
replace_at "$previous" 33 0 5 "$replacement" >"$expected"
save "$expected" "after &Weiter and &Tauschen"
pass "&Weiter skipped \"alpha_beta\" and found line 33 with the dialog open; &Tauschen replaced that one only"

# F12 to the last "alpha", then past it: the blank row after the end.
type_keys Y8 "f12 4" "F12 and the fourth marker"
type_keys Y8 "f12 z" "F12 past the last occurrence and a character"
previous=$expected
expected=$H_WORK/s.expected4
{ insert_at "$previous" 40 17 4; printf 'z\r\n'; } >"$expected"
save "$expected" "after F12 past the last occurrence"
pass "F12 found the last \"alpha\" on line 40; F12 past it left the cursor on the row after the end (a new last line)"

# --- 4. The block: lines 24 to 26 from the document's start (Ctrl+PgUp) and Down.
downs=$(printf 'down %.0s' $(seq 1 23))
type_keys Y8 "ctrl+pgup $downs" "Ctrl+PgUp and Down to line 24"
type_keys Y8 "alt+k a down down alt+k e" "&Anfang, Down twice, &Ende"
type_keys Y8 "alt+k z" "&Zwischenablage"
want=$H_WORK/clipboard.expected
got=$H_WORK/clipboard.found
sed -n 24,26p "$original" >"$want"
for i in $(seq 1 25); do
    clipboard_to "$got" && cmp -s "$want" "$got" && break
    sleep 0.2
done
if ! cmp -s "$want" "$got"; then
    echo "clipboard, od -c: expected:" >&2 && od -c "$want" >&2
    echo "found:" >&2 && od -c "$got" >&2
    fail "after &Zwischenablage the clipboard does not hold lines 24 to 26 with CR LF (bytes above)"
fi
expect_caption "$name" "after &Zwischenablage (nothing changed)"
pass "&Anfang, &Ende and &Zwischenablage put exactly lines 24 to 26, each with CR LF, on the clipboard"

# Marked again (the cursor stays on line 26), then "Im Block tauschen".
type_keys Y8 "up up alt+k a down down alt+k e" "the block marked again"
drive keys Y8 "alt+k t" || fail "Alt+K T could not be typed"
dialog_opens "Im Block tauschen" "after Block/Tauschen"
type_keys '#32770' "end shift+home del g a m m a tab end shift+home del d e l t a" "the block's texts"
expect_field "$block_search" "after typing the block's search text"
expect_field "$block_replacement" "after typing the block's replacement"
type_keys '#32770' enter "Enter in \"Im Block tauschen\""
dialog_closes "after Enter in \"Im Block tauschen\""
expect_caption "< $name >" "after the block's replacement"
previous=$expected
expected=$H_WORK/s.expected5
r=$block_replacement
replace_at "$previous" 24 8 5 "$r" | replace_at - 24 14 5 "$r" | replace_at - 25 21 5 "$r" |
    replace_at - 26 8 5 "$r" >"$expected"
save "$expected" "after \"Im Block tauschen\""
pass "\"Im Block tauschen\" replaced the whole words \"gamma\" and \"GAMMA\" in lines 24 to 26 only"

# A new block, lines 10 and 11 (the cursor is still on line 26), copied before line 15.
ups=$(printf 'up %.0s' $(seq 1 16))
type_keys Y8 "$ups alt+k a down alt+k e down down down down" "the new block and the cursor on line 15"
type_keys Y8 "alt+k k" "&Kopieren"
expect_caption "< $name >" "after &Kopieren"
previous=$expected
expected=$H_WORK/s.expected6
copy_before "$previous" 10 11 15 >"$expected"
save "$expected" "after &Kopieren"
pass "&Kopieren put copies of lines 10 and 11 (the old block's marks gone) before the cursor line 15"

# --- 5. Exit with nothing changed: no question, the process ends, the file as saved.
drive command Y8 1998 || fail "command 1998 cannot be posted"
if ! wait_exit code "$y8" 10; then
    fail "10 s after Exit (1998) the process still runs (windows: $(drive windows | tr '\n\t' '; '))"
fi
[ "$code" = 0 ] || fail "after Exit (1998) the process ended with exit code $code"
expect_bytes "$expected" "$file" "after Exit"
pass "Exit ended the process with code 0 and no question; the file is as F8 saved it"
