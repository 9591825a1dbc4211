#!/usr/bin/env bash
# End to end, in a Wine virtual desktop on Xvfb with the US layout: real keys (SendInput)
# and the real pointer (X) on the real window, one program start per document, each file
# compared byte for byte after F8 (and its .bak with the original).
#  1. typing: "BgFarbe" paints the text area, the menu bar is drawn; a C function typed
#     with Enter's indentation and Ctrl+# brace blocks; the caption marks a change; the
#     text stands at the top left of the screenshot.
#  2. the German chords sent as the key table's codes (tests/lib/chords.sh).
#  3. marking: Shift+Right, drags both ways, click, column block over a short line, double
#     click, both context menus; checked by the mark's colour, the clipboard and the file.
#  4. search: "Suchen" with W&ort, F12 past capitals and the end, &Weiter/&Tauschen in the
#     open dialog, the block from the menu to the clipboard, "Im Block tauschen", &Kopieren.
#  5. lists: the overview (Ctrl+[) and the structure (Ctrl+T), an entry chosen by keys.
#  6. phrases on Ctrl+Shift, "Verzeichnis" (F5; a typed name is no current directory until
#     Enter), its filter field, "Letzte Dateien" (F7).
#  7. files: -l:120, Shift+F7 and Datei/Oeffnen through the open box to files with CR LF
#     and LF ends, Datei/Sichern, the cursor back where it was left.
#  8. the narrowest window: lines longer than it is wide, typed whole.
# Usage: test_e2e_session.sh <win64 build dir> <source dir>
HARNESS_BUDGET=${HARNESS_BUDGET:-240}
. "$2/tests/lib/wine-harness.sh"
harness_start "$1" "$2" e2e_session desktop
paper="255 255 224" marked="255 160 64" lines="160 255 160"
ini_prepare "[Global]" "BgFarbe=$paper" "BlockBgFarbe=$marked" "MarkBgFarbe=$lines" "[Option]" "Indent=2" \
    "[Installation]" 'Floskeln=C:\work\abk.txt' "[Window]" "Position0=0 1 -1 -1 -1 -1 40 20 840 620" \
    "[Floskel]" "S-C-I=#include_~?~" "S-C-H=else_" "S-C-M=movmem(_" "S-C-L=for ( i=0; i<?; i++ )"

# open <file> <content (printf format)>: the file, the program started with it, its .orig.
open() {
    printf "$2" | tee "$WORK/$1" >"$H_WORK/$1.orig"
    name="C:\\work\\$1"
    start_program y8 y8.exe "${@:3}" "$name"
    wait_window Y8 "the start with $1"
    expect_caption "$name" "the start with $1"
}
# save <file> <expected (printf format)> <what>: F8; the file holds the bytes.
save() {
    printf "$2" >"$H_WORK/$1.expected"
    keys Y8 f8 "F8 $3"
    expect_caption "C:\\work\\$1" "after F8 $3"
    expect_bytes "$H_WORK/$1.expected" "$WORK/$1" "$3"
}
spell() { sed 's/ /_/g; s/./& /g; s/_/space/g' <<<"$1"; }  # a-z, 0-9 and blanks as keys

# --- 1. typing
open f.c ""
read -r cx cy cw ch < <(drive client-rect Y8)
keys Y8 "$(spell 'int sign') shift+9 $(spell 'int n') shift+0 enter ctrl+#220 $(spell 'if ') shift+9 n space \
shift+#188 space 0 shift+0 enter right right ctrl+#220 $(spell 'return ') #189 1 #186 enter enter ctrl+n right right \
$(spell 'return n ') shift+#190 space 0 #186" "the function"
expect_caption '< C:\work\f.c >' "after typing"
# text_at_top_left: the screenshot shows the typed lines' ink from the top left corner,
# eight lines of at least 8 pixels, the longest of 15 characters, in the upper third.
text_at_top_left() {
    shot=$(screenshot typing)
    ink=$(colour_box "$shot" $((cx + 4)) $((cy + 2)) $((cw / 2)) $((ch * 2 / 3)) "$paper" not) || return 1
    read -r bw bh bx by n <<<"$ink"
    [ "$bx" -le 8 ] && [ "$by" -le 8 ] && [ "$bw" -ge 90 ] && [ "$bh" -ge 64 ] && [ $((by + bh)) -le $((ch / 3)) ]
}
for i in $(seq 20); do text_at_top_left && break; sleep 0.25; done
text_at_top_left || fail "in $shot the text lies at \"$ink\" (w h x y count), not in 8 lines at the top left"
for point in "$((cw / 2)) $((ch / 2))" "40 $((ch * 2 / 3))"; do
    read -r x y <<<"$point"
    [ "$(colour_box "$shot" $((cx + x)) $((cy + y)) 1 1 "$paper")" ] || fail "in $shot the point $x,$y is not $paper"
done
[ "$(convert "$shot" -crop "${cw}x12+$cx+$((cy - 16))" -unique-colors txt:- | grep -c '^[0-9]')" -ge 2 ] ||
    fail "in $shot nothing is drawn on the menu bar"
save f.c 'int sign(int n)\r\n{\r\n  if (n < 0)\r\n  {\r\n    return -1;\r\n  }\r\n  return n > 0;\r\n}\r\n' "the function"
expect_bytes "$H_WORK/f.c.orig" "$WORK/f.bak" "the backup of the empty f.c"
exit_program "$y8" "Exit after typing"
pass "typed a function: text drawn at the top left on $paper, saved byte for byte, f.bak empty"

# --- 2. the German chords by the key table's codes (Ctrl+[ \ ] give 27, 28, 29)
chord() {
    local -A code=([oe]=192 [ae]=222 [minus]=189 [comma]=188 [period]=190 [ue]=219 [hash]=220 [plus]=221)
    drive keys Y8 "ctrl+#${code[$1]}"
}
. "$H_SRC/tests/lib/chords.sh"

# --- 3. marking, seen by the mark's colour ("BlockBgFarbe") in the cells of the screenshot
open m.txt 'alpha beta gamma delta\r\n0123456789abcdefghij\r\none two three four five\r\nABCDEFGHIJKLMNOP\r\n\r
KLMNOPQRSTUVWXYZ\r\nabc\r\n0123456789\r\nhello world again\r\nthe end\r\n'
read -r cx cy cw ch < <(drive client-rect Y8)
# mark <col> <row> <cols> <rows> <what>: within 5 s the mark's colour fills exactly those
# cells (the glyphs take at most half of them); 0 cols: nowhere.
mark() {
    local want= i
    [ "$3" = 0 ] || want="$(($3 * cell_w)) $(($4 * cell_h)) $((4 + $1 * cell_w)) $((2 + $2 * cell_h))"
    for i in $(seq 20); do
        shot=$(screenshot marking)
        box=$(colour_box "$shot" "$cx" "$cy" "$cw" "$ch" "$marked")
        [ "${box% *}" = "$want" ] && { [ -z "$want" ] || [ "${box##* }" -ge $(($3 * $4 * cell_w * cell_h / 2)) ]; } &&
            return 0
        sleep 0.25
    done
    fail "$5: in $shot the mark's colour lies in \"$box\" (w h x y count), not in \"$want\""
}
mouse() { pointer_at Y8 "$1" $((4 + $2 * cell_w + cell_w / 2)) $((2 + $3 * cell_h + cell_h / 2)); }
keys Y8 "$(printf 'shift+right %.0s' $(seq 10))" "Shift+Right x10"
for i in $(seq 20); do
    read -r bw cell_h bx by n < <(colour_box "$(screenshot marking)" "$cx" "$cy" "$cw" "$ch" "$marked")
    [ "${bx:-}${by:-}" = 42 ] && [ $((bw % 10)) = 0 ] && break
    sleep 0.25
done
cell_w=$((bw / 10))
[ "$bx$by" = 42 ] && [ "$cell_w" -ge 4 ] && [ "$cell_h" -ge 8 ] || fail "Shift+Right x10 marks ${bw}x$cell_h at $bx,$by"
keys Y8 ctrl+c "Ctrl+C"
expect_clipboard "alpha beta" "Ctrl+C after Shift+Right x10"
mark 0 0 0 0 "after Ctrl+C"
for step in "down 3 1" "move 5 1" "move 7 1" "move 9 1" "up 9 1"; do mouse $step; done
mark 3 1 6 1 "the drag from cell 3 to 9 of row 1"
keys Y8 ctrl+c "Ctrl+C after the drag"
expect_clipboard "345678" "Ctrl+C after the drag"
for step in "down 13 2" "move 8 2" "move 4 2" "up 4 2"; do mouse $step; done
mark 4 2 9 1 "the drag to the left from cell 13 to 4 of row 2"
keys Y8 ctrl+c "Ctrl+C after the drag to the left"
expect_clipboard "two three" "Ctrl+C after the drag to the left"
mouse click 4 3
mark 0 0 0 0 "after a click"
keys Y8 "shift+right shift+right shift+right" "Shift+Right x3 after the click"
mark 4 3 3 1 "the click on cell 4 of row 3 and Shift+Right x3"
keys Y8 x "x over the mark"
mark 0 0 0 0 "after typing over the mark"
pass "Shift+Right, drags both ways and a click marked their cells ($cell_w x $cell_h); Ctrl+C copied them"
mouse click 2 5
keys Y8 "shift+right shift+right shift+right shift+down shift+down" "the column block"
mark 2 5 3 3 "the column block from cell 2 of row 5"
[ -z "$(colour_box "$shot" "$cx" "$cy" "$cw" "$ch" "$lines")" ] || fail "the column block block-marked lines ($shot)"
keys Y8 ctrl+x "Ctrl+X on the column block"
expect_clipboard $'MNO\r\nc  \r\n234\r\n' "Ctrl+X on the column block"
mark 0 0 0 0 "after Ctrl+X"
save m.txt 'alpha beta gamma delta\r\n0123456789abcdefghij\r\none two three four five\r\nABCDxHIJKLMNOP\r\n\r
KL   PQRSTUVWXYZ\r\nab\r\n01   56789\r\nhello world again\r\nthe end\r\n' "the marks"
expect_bytes "$H_WORK/m.txt.orig" "$WORK/m.bak" "the backup of m.txt"
pass "Ctrl+X cut the column block, the short line padded; x replaced the mark; trailing blanks dropped"
mouse dblclick 8 8
mark 6 8 5 1 "the double click on \"world\""
keys Y8 ctrl+c "Ctrl+C after the double click"
expect_clipboard "world" "Ctrl+C after the double click"
mouse dblclick 14 8
mark 12 8 5 1 "the double click on \"again\""
# menu_height <col> <what>: the right button on the cell of row 8 shows a popup menu; its height.
menu_height() {
    mouse rclick "$1" 8
    wait_window '#32768' "$2"
    read -r ml mt mr mb < <(drive window-rect '#32768')
    echo $((mb - mt))
}
with_mark=$(menu_height 14 "the right button on the mark") || exit 1
keys Y8 esc "Escape in the context menu"
wait_gone '#32768' "Escape in the context menu"
expect_caption "C:\\work\\m.txt" "after Escape in the context menu"
mark 12 8 5 1 "after Escape in the context menu"
expect_clipboard "world" "after Escape in the context menu"
menu_height 14 "the right button again" >/dev/null || exit 1
keys Y8 "up up enter" "Kopieren in the context menu"
wait_gone '#32768' "Kopieren in the context menu"
expect_clipboard "again" "Kopieren in the context menu"
mark 0 0 0 0 "after Kopieren"
without_mark=$(menu_height 8 "the right button without a mark") || exit 1
keys Y8 esc "Escape in the context menu without a mark"
wait_gone '#32768' "Escape in the context menu without a mark"
[ "$without_mark" -gt 0 ] && [ "$without_mark" -lt "$with_mark" ] ||
    fail "the context menu without a mark is $without_mark pixels high, with one $with_mark"
expect_caption "C:\\work\\m.txt" "after the context menus"
exit_program "$y8" "Exit after the marks"
pass "double clicks marked words; the context menu copies, Escape runs nothing, without a mark it is shorter"

# --- 4. search: a character typed where each search left the cursor
for n in $(seq -w 1 40); do
    case $n in
        02) echo "line 02 alphabet soup" ;;      04) echo "line 04 the alpha and the omega" ;;
        06) echo "line 06 ALPHA in capitals" ;;  07) echo "line 07 alphabetic order" ;;
        08) echo "line 08 x=alpha,alpha;" ;;     20) echo "line 20 alpha_beta is one word" ;;
        23) echo "line 23 gamma above" ;;        24) echo "line 24 gamma gamma in the block" ;;
        25) echo "line 25 gammaray and gamma" ;; 26) echo "line 26 GAMMA ends the block" ;;
        27) echo "line 27 gamma below" ;;        33) echo "alpha at the start of line 33" ;;
        40) echo "line 40 the last alpha" ;;     *) echo "line $n filler text" ;;
    esac
done | sed 's/$/\r/' >"$H_WORK/s.lines"
open s.txt "$(sed 's/\r$/\\r\\n/' "$H_WORK/s.lines" | tr -d '\n')"
# dialog <caption> <what>: a dialog of that caption is up and waits for input.
dialog() {
    wait_window '#32770' "$2"
    [ "$(drive title '#32770')" = "$1" ] || fail "$2: the dialog is \"$(drive title '#32770')\", not \"$1\""
}
keys Y8 ctrl+f "Ctrl+F"
dialog Suchen "Ctrl+F"
keys '#32770' "a l p h a alt+o enter" "alpha, W&ort and Enter"          # line 4, not "alphabet"
wait_gone '#32770' "Enter in Suchen"
keys Y8 "1 f12 2 f12 f12 3" "F12 three times"                      # "ALPHA" on 6, not "alphabetic"; 8 twice
keys Y8 ctrl+f "Ctrl+F again"
dialog Suchen "Ctrl+F again"
keys '#32770' "alt+u o m e g a alt+w" "Ta&uschen, omega and &Weiter"    # "alpha_beta" is one word: line 33
box_says "omega" "the replacement typed"
keys '#32770' alt+t "&Tauschen"
[ "$(count '#32770')" = 1 ] || fail "Suchen closed after &Weiter and &Tauschen"
keys '#32770' esc "Escape in Suchen"
wait_gone '#32770' "Escape in Suchen"
keys Y8 "f12 4 f12 z" "F12 to line 40 and past the end"
keys Y8 "ctrl+pgup $(printf 'down %.0s' $(seq 23)) alt+k a down down alt+k e alt+k z" "lines 24 to 26 to the clipboard"
expect_clipboard "$(sed -n 24,26p "$H_WORK/s.lines")"$'\n' "Block/Zwischenablage"
keys Y8 "up up alt+k a down down alt+k e alt+k t" "Block/Tauschen"
dialog "Im Block tauschen" "Block/Tauschen"
keys '#32770' "end shift+home del g a m m a tab end shift+home del d e l t a enter" "gamma, delta and Enter"
wait_gone '#32770' "Enter in Im Block tauschen"
keys Y8 "$(printf 'up %.0s' $(seq 16)) alt+k a down alt+k e down down down down alt+k k" "lines 10, 11 before 15"
awk 'NR == 4 { sub(/alpha/, "1alpha") } NR == 6 { sub(/ALPHA/, "2ALPHA") } NR == 8 { sub(/,alpha/, ",3alpha") }
     NR == 33 { sub(/alpha/, "omega") } NR == 40 { sub(/alpha/, "4alpha") } NR >= 24 && NR <= 26 {
     gsub(/gamma /, "delta "); sub(/GAMMA/, "delta"); sub(/and gamma/, "and delta") } { line[NR] = $0 }
     END { for (i = 1; i <= NR; ++i) { if (i == 15) print line[10] "\n" line[11]; print line[i] } print "z\r" }' \
    "$H_WORK/s.lines" | sed 's/\r$/\\r\\n/' | tr -d '\n' >"$H_WORK/s.format"
save s.txt "$(cat "$H_WORK/s.format")" "the searches"
exit_program "$y8" "Exit after the searches"
pass "Suchen with W&ort, F12, &Weiter/&Tauschen, Block/Zwischenablage, Im Block tauschen and &Kopieren"

# --- 5. lists: the search list without a text shows the overview, the first header
# selected; Ctrl+T the block's structure, nothing selected (nothing of it above the cursor)
open m.c 'int first(void)\r\n{\r\n    one();\r\n}\r\nint second(void)\r\n{\r\n two();\r\n three();\r\n}\r\nend\r\n'
keys Y8 "ctrl+#219" "Ctrl+["
[ "$(panels)" = 1 ] || fail "Ctrl+[ opened no list panel"
keys Y8 "down enter x down down ctrl+t" "the second header, x and Ctrl+T on line 7"
[ "$(panels)" = 1 ] || fail "Ctrl+T opened no list panel"
keys Y8 "down down enter y" "the block's last line and y"
[ "$(panels)" = 0 ] || fail "the list panel is still open after Enter"
save m.c 'int first(void)\r\n{\r\n    one();\r\n}\r\nxint second(void)\r\n{\r\n two();\r\ny three();\r\n}\r\nend\r\n' "the lists"
exit_program "$y8" "Exit after the lists"
pass "the overview and the structure chose their lines"

# --- 6. phrases; the panels "Verzeichnis" and "Letzte Dateien"
mkdir -p "$WORK/s" "$WORK/sub"
printf 'top\r\n' >"$WORK/module"
printf 'in s\r\n' >"$WORK/s/module"
printf 'other\r\n' | tee "$WORK/sub/other.txt" >"$WORK/sub/inner.txt"
open p.c 'x\r\ny\r\n'
keys Y8 "ctrl+shift+i a end ctrl+shift+h ctrl+shift+m b down home shift+right ctrl+shift+l 9" "the phrases"
save p.c '#include "a"x else movmem( b\r\nfor ( i=0; i<9; i++ )\r\n' "the phrases"  # End: one blank after x
keys Y8 "f5 home shift+end s esc" "s typed into the directory field and Escape"
[ "$(panels)" = 0 ] || fail "the directory panel is still open after Escape"
keys Y8 shift+f5 "Shift+F5"
expect_caption 'C:\work\module' "Shift+F5 after s was typed"
keys Y8 "f5 home shift+end s u b enter tab o t h enter enter" "sub, Enter, oth in the filter, Enter twice"
expect_caption 'C:\work\sub\other.txt' "the file chosen in sub"
keys Y8 "f7 down enter" "F7, Down and Enter"
expect_caption 'C:\work\module' "the second newest file"
[ "$(panels)" = 0 ] || fail "a panel is still open"
exit_program "$y8" "Exit after the panels"
pass "Ctrl+Shift+I, H, M, L typed their phrases; F5 went into the typed directory only on Enter; F7"

# --- 7. files: the open box, the menu bar, CR LF and LF kept, the place kept
seq -f 'line %03g of 300' 300 | sed 's/$/\r/' >"$WORK/lines.txt"
printf 'alpha\nbeta gamma\ndelta\n' | tee "$WORK/second.txt" >"$H_WORK/second.orig"
cp "$WORK/lines.txt" "$H_WORK/lines.orig"
name='C:\work\lines.txt'
start_program y8 y8.exe -l:120 "$name"
wait_window Y8 "the start with -l:120"
expect_caption "$name" "the start with -l:120"
keys Y8 "m a r k space" "mark at line 120"
expect_caption "< $name >" "after typing"
keys Y8 f8 "F8"
expect_caption "$name" "after F8"
sed '120s/^/mark /' "$H_WORK/lines.orig" >"$H_WORK/lines.1"
expect_bytes "$H_WORK/lines.1" "$WORK/lines.txt" "F8 after -l:120"
expect_bytes "$H_WORK/lines.orig" "$WORK/lines.bak" "the backup of lines.txt"
drive keys Y8 shift+f7 && wait_window '#32770' "Shift+F7"
[ "$(drive title '#32770')" = $'Datei \366ffnen' ] || fail "the open box is captioned \"$(drive title '#32770')\""
file_box 'C:\work\second.txt' "the open box"
wait_gone '#32770' "the open box"
expect_caption 'C:\work\second.txt' "after the open box"
printf 'qalpha\nbeta gamma\ndelta\n' >"$H_WORK/second.1"
keys Y8 "q f8" "q and F8 in second.txt"
expect_caption 'C:\work\second.txt' "after F8 in second.txt"
expect_bytes "$H_WORK/second.1" "$WORK/second.txt" "second.txt with LF ends"
expect_bytes "$H_WORK/second.orig" "$WORK/second.bak" "the backup of second.txt"
drive keys Y8 "alt+d o" && file_box "$name" "Datei/Oeffnen"
wait_gone '#32770' "Datei/Oeffnen"
keys Y8 "x alt+d s" "x and Datei/Sichern"
expect_caption "$name" "after Datei/Sichern"
sed "120s/^mark /mark x/" "$H_WORK/lines.1" >"$H_WORK/lines.2"
expect_bytes "$H_WORK/lines.2" "$WORK/lines.txt" "Datei/Sichern at the place left"
expect_bytes "$H_WORK/lines.1" "$WORK/lines.bak" "the backup after Datei/Sichern"
exit_program "$y8" "Exit after the files"
pass "-l:120, the open box, Datei/Oeffnen and Datei/Sichern kept CR LF, LF and the place"

# --- 8. the narrowest window the system allows: the view follows sideways, loses nothing
open n.txt ""
drive move Y8 10 10 40 400 && drive wait-idle Y8 20 || fail "the window cannot be made narrow"
read -r cx cy cw ch < <(drive client-rect Y8)
[ "$cw" -le 200 ] || fail "the client area is still $cw pixels wide"
first=0123456789abcdefghijklmnopqrstuvwxyz0123456789 second=zyxwvutsrqponmlkjihgfedcba
keys Y8 "$(spell $first) enter home $(spell $second) enter home" "two long lines"
screenshot narrow >/dev/null
save n.txt "$first\r\n$second\r\n" "in a narrow window"
exit_program "$y8" "Exit after the narrow window"
pass "in a client area $cw pixels wide both lines were typed whole"
