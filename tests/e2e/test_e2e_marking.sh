#!/usr/bin/env bash
# End to end, in a Wine virtual desktop on Xvfb: the in-line mark made and used with
# the real mouse and keyboard on the real window, checked on the screen (the mark's
# own colour, set in the ini), on the clipboard (read back byte for byte) and in the
# saved file. The mouse is the X pointer, moved and clicked as a person does it
# (pointer_at), aimed at the middle of a cell.
#  1. Shift+Right ten times from the start of the first line marks ten cells from the
#     text's origin: the painted mark gives the cell size the mouse is aimed with;
#     Ctrl+C copies exactly those characters and clears the mark.
#  2. A drag with the left button from one cell to another of the same line marks the
#     columns between (a drag to the left as well): those cells and no others show
#     the mark's colour, Ctrl+C copies exactly their characters.
#  3. A plain click puts the cursor on a cell; Shift+Right three times and a typed
#     character replace the three characters.
#  4. A column block: Shift+Right marks, Shift+Down twice carries the columns over
#     three lines (and block-marks no line); Ctrl+X puts three pieces with CR LF
#     between and after them on the clipboard and blanks the columns, a line shorter
#     than the mark counting as padded with blanks. F8 saves: the file holds the
#     replaced and blanked characters, trailing blanks dropped; the .bak is the
#     original.
#  5. A double click on a word marks the word; Ctrl+C copies it. The right button on
#     another marked word shows the context menu (a popup window of class "#32768"):
#     Escape closes it and nothing ran (the caption keeps no change mark, the mark and
#     the clipboard stay); its "Kopieren" copies the word. Without a mark the menu is
#     the shorter one.
#  6. Exit (1998) with nothing changed ends the process without a question; the file
#     is as F8 saved it.
# Screenshots are kept in <build>/e2e/marking-*.png.
# Usage: test_e2e_marking.sh <win64 build dir> <source dir>
. "$2/tests/lib/wine-harness.sh"
harness_start "$1" "$2" e2e_marking desktop
install_program y8.exe

paper="255 255 224"    # the text area's background
marked="255 160 64"    # the in-line mark: orange, found nowhere else on the screen
lines="160 255 160"    # block-marked lines: must not appear here
# The first copy takes placement slot 0: 800 x 600 leaves a roomy text area.
ini_prepare "[Global]" "BgFarbe=$paper" "BlockBgFarbe=$marked" "MarkBgFarbe=$lines" \
    "[Window]" "Position0=0 1 -1 -1 -1 -1 40 20 840 620"
work=$H_PREFIX/drive_c/work
mkdir -p "$work" || fail "cannot create $work"
name='C:\work\m.txt'

# Single blanks only, so that the column keeping of inserts ("Spaltentreue") does not
# come into play.
original=$H_WORK/m.original
printf '%s\r\n' "alpha beta gamma delta" "0123456789abcdefghij" "one two three four five" \
    "ABCDEFGHIJKLMNOP" "" "KLMNOPQRSTUVWXYZ" "abc" "0123456789" "hello world again" "the end" >"$original"
cp "$original" "$work/m.txt" || fail "cannot create $work/m.txt"
expected=$H_WORK/m.expected
printf '%s\r\n' "alpha beta gamma delta" "0123456789abcdefghij" "one two three four five" \
    "ABCDxHIJKLMNOP" "" "KL   PQRSTUVWXYZ" "ab" "01   56789" "hello world again" "the end" >"$expected"



# expect_clipboard <bytes> <what>: waits up to 5 s for the clipboard to hold exactly
# the bytes (a copy may reach the clipboard after the key is handled).
expect_clipboard() {
    local i want=$H_WORK/clipboard.expected got=$H_WORK/clipboard.found
    printf '%s' "$1" >"$want"
    for i in $(seq 1 25); do
        clipboard_to "$got" && cmp -s "$want" "$got" && return 0
        sleep 0.2
    done
    echo "clipboard, od -c: expected:" >&2 && od -c "$want" >&2
    echo "found:" >&2 && od -c "$got" >&2
    fail "$2: the clipboard does not hold the expected text (bytes above)"
}

# look <name>: a screenshot into $shot and, in $box, where the mark's colour lies in
# the client area ("width height x y count"; empty when nowhere).
look() {
    shot=$(screenshot "marking-$1") || exit 1
    box=$(colour_box "$shot" "$cx" "$cy" "$cw" "$ch" "$marked") || box=
}

# expect_mark <name> <col> <row> <cols> <rows> <what>: the screen shows the mark's
# colour in exactly those cells (every pixel of that colour lies in them, their box is
# the cells' box and covers at least half of their area: the glyphs take the rest), and
# the cells left and right of them the background (the top right pixel of a cell: the
# caret stands at a cell's left edge). Drawing on the X screen may lag behind the
# program's painting: looks again for a while.
expect_mark() {
    local want="$(($4 * cell_w)) $(($5 * cell_h)) $((4 + $2 * cell_w)) $((2 + $3 * cell_h))" i col
    for i in $(seq 1 20); do
        look "$1"
        [ "${box% *}" = "$want" ] && [ "${box##* }" -ge $(($4 * cell_w * $5 * cell_h / 2)) ] && break
        sleep 0.25
    done
    [ "${box% *}" = "$want" ] && [ "${box##* }" -ge $(($4 * cell_w * $5 * cell_h / 2)) ] ||
        fail "$6: in $shot the mark's colour lies in \"${box:-nowhere}\" (width height x y count), not in the cells' box \"$want\""
    for col in $(($2 - 1)) $(($2 + $4)); do
        [ "$col" -ge 0 ] || continue
        i=$(png_pixel "$shot" $((cx + 4 + col * cell_w + cell_w - 1)) $((cy + 2 + $3 * cell_h)))
        [ "$i" = "$paper" ] || fail "$6: in $shot cell $col of row $3 beside the mark is \"$i\", not the background"
    done
}

# expect_no_mark <name> <what>: no pixel of the client area has the mark's colour.
expect_no_mark() {
    local i
    for i in $(seq 1 20); do
        look "$1"
        [ -z "$box" ] && return 0
        sleep 0.25
    done
    fail "$2: in $shot the mark's colour is still there ($box: width height x y count)"
}

# mouse <action> <col> <row>: the real mouse acts at the middle of the cell.
mouse() {
    pointer_at Y8 "$1" $((4 + $2 * cell_w + cell_w / 2)) $((2 + $3 * cell_h + cell_h / 2))
}

# --- start with the file: unchanged, the cursor at the start of the first line
start_program y8 y8.exe "$name"
wait_window Y8 30
expect_caption "$name" "after the start"
read -r cx cy cw ch < <(drive client-rect Y8) || fail "the client area cannot be read"
[ "${cw:-0}" -ge 400 ] && [ "${ch:-0}" -ge 300 ] || fail "the client area ${cw}x${ch} is too small to look at"
pass "the program shows $name (client area ${cw}x$ch at $cx,$cy)"
expect_no_mark start "at the start"

# --- 1. Shift+Right ten times: ten cells of the first row in the mark's colour, at the
# text's origin (4, 2); their box gives the cell size the mouse is aimed with.
type_keys "shift+right shift+right shift+right shift+right shift+right shift+right shift+right shift+right shift+right shift+right" \
    "Shift+Right"
for i in $(seq 1 20); do
    look keys
    read -r bw bh bx by bn <<<"$box"
    [ -n "$box" ] && [ "$bx" = 4 ] && [ "$by" = 2 ] && [ $((bw % 10)) = 0 ] && break
    sleep 0.25
done
[ -n "$box" ] && [ "$bx" = 4 ] && [ "$by" = 2 ] && [ $((bw % 10)) = 0 ] ||
    fail "after Shift+Right x10 the mark's colour in $shot lies in \"${box:-nowhere}\", not in ten cells from 4,2"
cell_w=$((bw / 10)) cell_h=$bh
[ "$cell_w" -ge 4 ] && [ "$cell_w" -le 30 ] && [ "$cell_h" -ge 8 ] && [ "$cell_h" -le 60 ] ||
    fail "the mark of ten cells is ${bw}x$bh: no plausible cell size"
[ "$bn" -ge $((bw * bh / 2)) ] || fail "the mark of ten cells has only $bn of its ${bw}x$bh pixels in its colour"
pass "Shift+Right x10 marks ten cells of ${cell_w}x$cell_h pixels from 4,2 ($shot)"
type_keys ctrl+c "Ctrl+C after Shift+Right"
expect_clipboard "alpha beta" "Ctrl+C after Shift+Right x10"
expect_no_mark copied "after Ctrl+C"
pass "Ctrl+C copied \"alpha beta\" and cleared the mark"

# --- 2. A drag on the second line from cell 3 to cell 9: columns 3 to 8 are marked.
mouse down 3 1
mouse move 5 1
mouse move 7 1
mouse move 9 1
mouse up 9 1
drive wait-idle Y8 20 || fail "the program is still busy 20 s after the drag"
expect_mark drag 3 1 6 1 "after the drag from cell 3 to 9 of row 1"
expect_caption "$name" "after the drag"
type_keys ctrl+c "Ctrl+C after the drag"
expect_clipboard "345678" "Ctrl+C after the drag from cell 3 to 9"
pass "the drag from cell 3 to 9 marked exactly columns 3 to 8 ($shot); Ctrl+C copied \"345678\""

# Leftwards on the third line, from cell 13 to cell 4: "two three".
mouse down 13 2
mouse move 8 2
mouse move 4 2
mouse up 4 2
drive wait-idle Y8 20 || fail "the program is still busy 20 s after the drag to the left"
expect_mark drag-left 4 2 9 1 "after the drag from cell 13 to 4 of row 2"
type_keys ctrl+c "Ctrl+C after the drag to the left"
expect_clipboard "two three" "Ctrl+C after the drag from cell 13 to 4"
pass "the drag to the left marked columns 4 to 12; Ctrl+C copied \"two three\""

# --- 3. A click on cell 4 of the fourth line, Shift+Right three times and "x".
mouse click 4 3
drive wait-idle Y8 20 || fail "the program is still busy 20 s after the click"
expect_no_mark click "after the click"
type_keys "shift+right shift+right shift+right" "Shift+Right x3 after the click"
expect_mark shift-right 4 3 3 1 "after the click on cell 4 of row 3 and Shift+Right x3"
type_keys x "the character typed over the mark"
expect_caption "< $name >" "after typing over the mark"
expect_no_mark replaced "after typing over the mark"
pass "the click and Shift+Right x3 marked \"EFG\"; \"x\" replaced it"

# --- 4. A column block: cell 2 of the sixth line, three columns, over three lines.
mouse click 2 5
type_keys "shift+right shift+right shift+right shift+down shift+down" "the column block's keys"
expect_mark column 2 5 3 3 "after Shift+Right x3 and Shift+Down x2 from cell 2 of row 5"
look column-lines
[ -z "$(colour_box "$shot" "$cx" "$cy" "$cw" "$ch" "$lines")" ] ||
    fail "the column block also block-marked lines (their colour is in $shot)"
type_keys ctrl+x "Ctrl+X on the column block"
expect_clipboard $'MNO\r\nc  \r\n234\r\n' "Ctrl+X on the column block"
expect_no_mark cut "after Ctrl+X"
pass "Ctrl+X cut the column block: three pieces, CR LF between and after, the short line padded"

type_keys f8 "F8"
expect_caption "$name" "after F8"
expect_bytes "$expected" "$work/m.txt" "after F8"
expect_bytes "$original" "$work/m.bak" "the backup after F8"
pass "F8 saved: \"x\" replaced \"EFG\", the block's columns are blank, trailing blanks dropped; m.bak is the original"

# --- 5. A double click on "world" (cell 8 of the ninth line) marks the word.
mouse dblclick 8 8
drive wait-idle Y8 20 || fail "the program is still busy 20 s after the double click"
expect_mark word 6 8 5 1 "after the double click on \"world\""
type_keys ctrl+c "Ctrl+C after the double click"
expect_clipboard "world" "Ctrl+C after the double click on \"world\""
pass "the double click marked \"world\"; Ctrl+C copied it"

# The right button on a marked word ("again", cell 14): the context menu, and Escape
# closes it.
mouse dblclick 14 8
expect_mark word-again 12 8 5 1 "after the double click on \"again\""
mouse rclick 14 8
drive wait-window '#32768' 10 ||
    fail "no popup menu (class #32768) 10 s after the right button (windows: $(drive windows | tr '\n\t' '; '))"
read -r ml mt mr mb < <(drive window-rect '#32768') || fail "the popup menu's rectangle cannot be read"
menu_with_mark=$((mb - mt))
menu_shot=$(screenshot marking-menu) || exit 1
type_keys esc "Escape in the context menu"
drive wait-gone '#32768' 10 || fail "the popup menu is still there 10 s after Escape"
expect_caption "$name" "after Escape in the context menu"
expect_mark menu-escaped 12 8 5 1 "after Escape in the context menu"
expect_clipboard "world" "after Escape in the context menu"
pass "the right button showed a popup menu ${menu_with_mark} pixels high ($menu_shot); Escape closed it, nothing ran"

# Its "Kopieren", the second item from the end: reached with Up twice.
mouse rclick 14 8
drive wait-window '#32768' 10 || fail "no popup menu 10 s after the second right button"
drive wait-idle Y8 10 || fail "the program does not wait for input in its popup menu"
type_keys "up up enter" "Kopieren in the context menu"
drive wait-gone '#32768' 10 || fail "the popup menu is still there 10 s after Enter"
expect_clipboard "again" "Kopieren in the context menu"
expect_no_mark menu-copied "after Kopieren"
expect_caption "$name" "after Kopieren in the context menu"
pass "the context menu's Kopieren copied \"again\""

# Without a mark the menu has three items fewer.
mouse rclick 8 8
drive wait-window '#32768' 10 || fail "no popup menu 10 s after the right button without a mark"
read -r ml mt mr mb < <(drive window-rect '#32768') || fail "the popup menu's rectangle cannot be read"
menu_without_mark=$((mb - mt))
type_keys esc "Escape in the context menu without a mark"
drive wait-gone '#32768' 10 || fail "the popup menu without a mark is still there 10 s after Escape"
[ "$menu_without_mark" -gt 0 ] && [ "$menu_without_mark" -lt "$menu_with_mark" ] ||
    fail "the context menu without a mark is $menu_without_mark pixels high, with a mark $menu_with_mark: not the shorter one"
expect_caption "$name" "after Escape in the context menu without a mark"
pass "without a mark the context menu is shorter ($menu_without_mark < $menu_with_mark pixels)"

# --- 6. Exit with nothing changed: no question, the process ends, the file as saved.
drive command Y8 1998 || fail "command 1998 cannot be posted"
if ! wait_exit code "$y8" 10; then
    fail "10 s after Exit (1998) the process still runs (windows: $(drive windows | tr '\n\t' '; '))"
fi
[ "$code" = 0 ] || fail "after Exit (1998) the process ended with exit code $code"
expect_bytes "$expected" "$work/m.txt" "after Exit"
expect_bytes "$original" "$work/m.bak" "the backup after Exit"
pass "Exit ended the process with code 0 and no question; the file is as F8 saved it"
