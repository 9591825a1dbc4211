#!/usr/bin/env bash
# End to end on Xvfb, US layout: real keys and the X pointer on the real window, one start per
# document, each file compared byte for byte after F8: typing, chords, marks, search, lists,
# phrases, panels, the open box and the Datei menu, lines longer than the narrowest window.
# Usage: test_e2e_session.sh <win64 build dir> <source dir>
HARNESS_BUDGET=${HARNESS_BUDGET:-280}
. "$2/tests/lib/wine-harness.sh"
harness_start "$1" "$2" e2e_session desktop
paper="255 255 224" marked="255 160 64" lines="160 255 160"
ini_prepare "[Global]" "BgFarbe=$paper" "BlockBgFarbe=$marked" "MarkBgFarbe=$lines" "[Option]" "Indent=2" \
    "[Installation]" 'Floskeln=C:\work\abk.txt' "[Window]" "Position0=0 1 -1 -1 -1 -1 40 20 840 620" \
    "[Floskel]" "S-C-I=#include_~?~" "S-C-H=else_" "S-C-M=movmem(_" "S-C-L=for ( i=0; i<?; i++ )"

# --- 1. typing
open f.c ""
read -r cx cy cw ch < <(drive client-rect Y8)
keys Y8 "$(spell 'int sign') shift+9 $(spell 'int n') shift+0 enter ctrl+#220 $(spell 'if ') shift+9 n space \
shift+#188 space 0 shift+0 enter right right ctrl+#220 $(spell 'return ') #189 1 #186 enter enter ctrl+n right right \
$(spell 'return n ') shift+#190 space 0 #186" "the function"
expect_caption '< C:\work\f.c >' "after typing"
shot=$(screenshot typing)
[ -n "$(colour_box "$shot" $((cx + cw / 2)) $((cy + ch / 2)) 1 1 "$paper")" ] || fail "$shot: no $paper"
save f.c 'int sign(int n)\r\n{\r\n  if (n < 0)\r\n  {\r\n    return -1;\r\n  }\r\n  return n > 0;\r\n}\r\n' "typing"
expect_bytes "$H_WORK/f.c.orig" "$WORK/f.bak" "the backup of the empty f.c"
exit_program "$y8" "typed a function on $paper, saved byte for byte, f.bak empty"

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
# mark_is <w h x y> <pixels>: the mark's colour lies in exactly that box, in enough pixels.
mark_is() {
    shot=$(screenshot marking)
    box=$(colour_box "$shot" "$cx" "$cy" "$cw" "$ch" "$marked") || box=" 0"
    [ "${box% *}" = "$1" ] && [ "${box##* }" -ge "$2" ]
}
# mark <col> <row> <cols> <rows> <what>: within a few seconds the mark's colour fills
# exactly those cells (the glyphs take at most half of them); 0 cols: nowhere.
mark() {
    local want=
    [ "$3" = 0 ] || want="$(($3 * cell_w)) $(($4 * cell_h)) $((4 + $1 * cell_w)) $((2 + $2 * cell_h))"
    retry 10 mark_is "$want" $(($3 * $4 * cell_w * cell_h / 2)) ||
        fail "$5: in $shot the mark's colour lies in \"$box\" (w h x y count), not in \"$want\""
}
mouse() { pointer_at Y8 "$1" $((4 + $2 * cell_w + cell_w / 2)) $((2 + $3 * cell_h + cell_h / 2)); }
# drag <row> <cell>...: the left button down on the first cell, over the others, up on the last.
drag() {
    local cell
    mouse down "$2" "$1"
    for cell in "${@:3}"; do
        mouse move "$cell" "$1"
    done
    mouse up "${@: -1}" "$1"
}
keys Y8 "$(printf 'shift+right %.0s' $(seq 10))" "Shift+Right x10"
# ten_cells: the mark of ten cells from the text's origin (4, 2) gives the cell size.
ten_cells() {
    read -r bw cell_h bx by n < <(colour_box "$(screenshot marking)" "$cx" "$cy" "$cw" "$ch" "$marked")
    [ "${bx:-}${by:-}" = 42 ] && [ $((bw % 10)) = 0 ] && [ "$bw" -ge 40 ] && [ "$cell_h" -ge 8 ]
}
retry 10 ten_cells || fail "Shift+Right x10 marks ${bw:-?}x${cell_h:-?} at ${bx:-?},${by:-?}, not ten cells at 4,2"
cell_w=$((bw / 10))
copies ctrl+c "alpha beta" "Ctrl+C after Shift+Right x10"
mark 0 0 0 0 "after Ctrl+C"
drag 1 3 5 7 9
mark 3 1 6 1 "the drag from cell 3 to 9 of row 1"
copies ctrl+c "345678" "Ctrl+C after the drag"
drag 2 13 8 4
mark 4 2 9 1 "the drag to the left from cell 13 to 4 of row 2"
copies ctrl+c "two three" "Ctrl+C after the drag to the left"
mouse click 4 3
mark 0 0 0 0 "after a click"
keys Y8 "shift+right shift+right shift+right" "Shift+Right x3 after the click"
mark 4 3 3 1 "the click on cell 4 of row 3 and Shift+Right x3"
keys Y8 x "x over the mark"
mark 0 0 0 0 "after typing over the mark"
mouse click 2 5
keys Y8 "shift+right shift+right shift+right shift+down shift+down" "the column block"
mark 2 5 3 3 "the column block from cell 2 of row 5"
[ -z "$(colour_box "$shot" "$cx" "$cy" "$cw" "$ch" "$lines")" ] || fail "the column block block-marked lines ($shot)"
copies ctrl+x $'MNO\r\nc  \r\n234\r\n' "Ctrl+X on the column block, padded over the short line"
mark 0 0 0 0 "after Ctrl+X"
save m.txt 'alpha beta gamma delta\r\n0123456789abcdefghij\r\none two three four five\r\nABCDxHIJKLMNOP\r\n\r
KL   PQRSTUVWXYZ\r\nab\r\n01   56789\r\nhello world again\r\nthe end\r\n' "the marks"
expect_bytes "$H_WORK/m.txt.orig" "$WORK/m.bak" "the backup of m.txt"
mouse dblclick 8 8
mark 6 8 5 1 "the double click on \"world\""
copies ctrl+c "world" "Ctrl+C after the double click"
mouse dblclick 14 8
mark 12 8 5 1 "the double click on \"again\""
mouse rclick 14 8
wait_window '#32768' "the right button on the mark"
keys Y8 esc "Escape in the context menu"
wait_gone '#32768' "Escape in the context menu"
expect_caption "C:\\work\\m.txt" "after Escape in the context menu"
mark 12 8 5 1 "after Escape in the context menu"
expect_clipboard "world" "after Escape in the context menu"
mouse rclick 14 8
wait_window '#32768' "the right button again"
copies "up up enter" "again" "Kopieren in the context menu"
mark 0 0 0 0 "after Kopieren"
exit_program "$y8" "marks by keys, drags, clicks, double clicks; copied, cut, replaced; the context menu"

# --- 4. search: a character typed where each search left the cursor
seq -f 'line %02g filler text' 40 | sed '2c line 02 alphabet soup
4c line 04 the alpha and the omega
6c line 06 ALPHA in capitals
7c line 07 alphabetic order
8c line 08 x=alpha,alpha;
20c line 20 alpha_beta is one word
23c line 23 gamma above
24c line 24 gamma gamma in the block
25c line 25 gammaray and gamma
26c line 26 GAMMA ends the block
27c line 27 gamma below
33c alpha at the start of line 33
40c line 40 the last alpha' | sed 's/$/\r/' >"$H_WORK/s.lines"
open s.txt "$(cat "$H_WORK/s.lines")\n"
keys Y8 ctrl+f "Ctrl+F"
wait_window '#32770' "Ctrl+F"
keys '#32770' "a l p h a alt+o enter" "alpha, W&ort and Enter"          # line 4, not "alphabet"
wait_gone '#32770' "Enter in Suchen"
keys Y8 "1 f12 2 f12 f12 3" "F12 three times"                      # "ALPHA" on 6, not "alphabetic"; 8 twice
keys Y8 ctrl+f "Ctrl+F again"
wait_window '#32770' "Ctrl+F again"
keys '#32770' "alt+u o m e g a alt+w" "Ta&uschen, omega and &Weiter"    # "alpha_beta" is one word: line 33
box_says "omega" "the replacement typed"
keys '#32770' alt+t "&Tauschen"
[ "$(count '#32770')" = 1 ] || fail "Suchen closed after &Weiter and &Tauschen"
keys '#32770' esc "Escape in Suchen"
wait_gone '#32770' "Escape in Suchen"
keys Y8 "f12 4 f12 z" "F12 to line 40 and past the end"
typed "lines 24-26 to the clipboard" "ctrl+pgup $(printf 'down %.0s' $(seq 23)) alt+k a" "down down alt+k e" "alt+k z"
expect_clipboard "$(sed -n 24,26p "$H_WORK/s.lines")"$'\n' "Block/Zwischenablage"
typed "the block for Block/Tauschen" "up up alt+k a" "down down alt+k e"
keys Y8 "alt+k t" "Block/Tauschen"
wait_window '#32770' "Block/Tauschen"
keys '#32770' "end shift+home del g a m m a tab end shift+home del d e l t a enter" "gamma, delta and Enter"
wait_gone '#32770' "Enter in Im Block tauschen"
typed "lines 10, 11 before 15" "$(printf 'up %.0s' $(seq 16)) alt+k a" "down alt+k e" "down down down down alt+k k"
sed '$a z
4c line 04 the 1alpha and the omega
6c line 06 2ALPHA in capitals
8c line 08 x=alpha,3alpha;
15i line 10 filler text\nline 11 filler text
24c line 24 delta delta in the block
25c line 25 gammaray and delta
26c line 26 delta ends the block
33c omega at the start of line 33
40c line 40 the last 4alpha' "$H_WORK/s.lines" | sed 's/\r*$/\r/' >"$H_WORK/s.expected"
save s.txt "$(cat "$H_WORK/s.expected")\n" "the searches"
exit_program "$y8" "Suchen, F12, Weiter/Tauschen, Block/Zwischenablage, Im Block tauschen, Kopieren"

# --- 5. the search list without a text shows the overview, the first header selected;
# Ctrl+T the block's structure, nothing selected (nothing of it above the cursor line)
open m.c 'int first(void)\r\n{\r\n    one();\r\n}\r\nint second(void)\r\n{\r\n two();\r\n three();\r\n}\r\n'
keys Y8 "ctrl+#219" "Ctrl+["  # a panel opens: its keys wait until it is up
keys Y8 "down enter x down down ctrl+t" "the second header, x, Ctrl+T on line 7"
keys Y8 "down down enter y" "the block's last line"
save m.c 'int first(void)\r\n{\r\n    one();\r\n}\r\nxint second(void)\r\n{\r\n two();\r\ny three();\r\n}\r\n' "lists"
exit_program "$y8" "the overview and the structure list chose their lines"

# --- 6. phrases; the panels "Verzeichnis" and "Letzte Dateien"
mkdir -p "$WORK/s" "$WORK/sub"
printf 'top\r\n' >"$WORK/module"
printf 'in s\r\n' >"$WORK/s/module"
printf 'other\r\n' | tee "$WORK/sub/other.txt" >"$WORK/sub/inner.txt"
open p.c 'x\r\ny\r\n'
keys Y8 "ctrl+shift+i a end ctrl+shift+h ctrl+shift+m b down home shift+right ctrl+shift+l 9" "the phrases"
save p.c '#include "a"x else movmem( b\r\nfor ( i=0; i<9; i++ )\r\n' "the phrases"  # End: one blank after x
keys Y8 f5 "F5"
keys Y8 "home shift+end s esc" "s typed into the directory field and Escape"
[ "$(panels)" = 0 ] || fail "the directory panel is still open after Escape"
keys Y8 shift+f5 "Shift+F5"
expect_caption 'C:\work\module' "Shift+F5 after s was typed"
keys Y8 f5 "F5 again"
keys Y8 "home shift+end s u b enter tab o t h enter enter" "sub, Enter, oth in the filter, Enter twice"
expect_caption 'C:\work\sub\other.txt' "the file chosen in sub"
keys Y8 f7 "F7"
keys Y8 "down enter" "Down and Enter in the recent files"
expect_caption 'C:\work\module' "the second newest file"
[ "$(panels)" = 0 ] || fail "a panel is still open"
exit_program "$y8" "phrases; F5 went into the typed directory only on Enter; F7"

# --- 7. files: the open box, the menu bar, CR LF and LF kept, the place kept
printf 'alpha\nbeta gamma\ndelta\n' | tee "$WORK/second.txt" >"$H_WORK/second.txt.orig"
open lines.txt "$(seq -f 'line %03g of 300\r' 300)\n" -l:120
keys Y8 "m a r k space" "mark at line 120"
expect_caption "< $name >" "after typing"
save lines.txt "$(sed '120s/^/mark /' "$H_WORK/lines.txt.orig")\n" "F8 after -l:120"
expect_bytes "$H_WORK/lines.txt.orig" "$WORK/lines.bak" "the backup of lines.txt"
mv "$H_WORK/lines.txt.expected" "$H_WORK/lines.saved"
drive keys Y8 shift+f7 && wait_window '#32770' "Shift+F7"
[ "$(drive title '#32770')" = $'Datei \366ffnen' ] || fail "the open box is captioned \"$(drive title '#32770')\""
file_box 'C:\work\second.txt' "the open box"
wait_gone '#32770' "the open box"
keys Y8 q "q in second.txt"
save second.txt 'qalpha\nbeta gamma\ndelta\n' "second.txt with LF ends"
expect_bytes "$H_WORK/second.txt.orig" "$WORK/second.bak" "the backup of second.txt"
drive keys Y8 "alt+d o" && file_box "$name" "Datei/Oeffnen"
wait_gone '#32770' "Datei/Oeffnen"
keys Y8 "x alt+d s" "x and Datei/Sichern"
expect_caption "$name" "after Datei/Sichern"
sed "120s/^mark /mark x/" "$H_WORK/lines.saved" >"$H_WORK/lines.expected"
expect_bytes "$H_WORK/lines.expected" "$WORK/lines.txt" "Datei/Sichern at the place left"
expect_bytes "$H_WORK/lines.saved" "$WORK/lines.bak" "the backup after Datei/Sichern"
exit_program "$y8" "-l:120, the open box, Datei/Oeffnen, Datei/Sichern; CR LF, LF and the place kept"

# --- 8. the narrowest window the system allows: the view follows sideways, loses nothing
open n.txt ""
drive move Y8 10 10 40 400 && drive wait-idle Y8 20 || fail "the window cannot be made narrow"
read -r cx cy cw ch < <(drive client-rect Y8)
[ "$cw" -le 200 ] || fail "the client area is still $cw pixels wide"
first=0123456789abcdefghijklmnopqrstuvwxyz0123456789 second=zyxwvutsrqponmlkjihgfedcba
keys Y8 "$(spell $first) enter home $(spell $second) enter home" "two long lines"
save n.txt "$first\r\n$second\r\n" "in a window $cw pixels wide"
exit_program "$y8" "lines longer than the narrowest window typed whole"
