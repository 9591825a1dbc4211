#!/usr/bin/env bash
# End to end on Xvfb with the sample installation: F6 opens the catalogue; the C file head asks
# for its values, typed into the real "Bauklotz" box, and goes in above the cursor line, head and
# separator left out; lines marked through the Block menu are rewritten by a rule typed into
# "Block umformulieren"; a phrase list chosen once comes back with Shift+F6 and puts its first
# line on Ctrl+Shift+X. The file is compared byte for byte after each F8.
# Usage: test_e2e_baukasten.sh <win64 build dir> <source dir>
HARNESS_BUDGET=${HARNESS_BUDGET:-150}
. "$2/tests/lib/wine-harness.sh"
harness_start "$1" "$2" e2e_baukasten desktop
cp -r "$2/samples" "$WORK/samples" || fail "cannot copy the samples"
ini_prepare '[Installation]' 'BauKasten=C:\work\samples\INHALT.TXT'
open a.c 'alt\r\n'

keys Y8 f6 "F6"
[ "$(panels)" = 1 ] || fail "F6 shows no catalogue"
keys Y8 "down enter" "the first entry chosen"
wait_window '#32770' "the Bauklotz box"
[ "$(drive title '#32770')" = 'C:\work\samples\c_kopf.txt' ] || fail "the box is titled \"$(drive title '#32770')\""
keys '#32770' "a b c tab shift+t e s t enter" "two values typed, Enter"
wait_gone '#32770' "the Bauklotz box"
head='/*\r\n * abc\r\n *\r\n * Test\r\n *\r\n * Stand:\r\n */\r\n'
save a.c "${head}alt\r\n" "the C file head with two values"
pass "F6, the catalogue, the Bauklotz box: the values stand in the body above the cursor line"

typed "two lines marked" "ctrl+pgup alt+k a" "down alt+k e"
keys Y8 "alt+k u" "Block/Umformulieren"
wait_window '#32770' "Block umformulieren"
keys '#32770' "s shift+#220 shift+8 shift+#220 shift+3 shift+#220 alt+s" "the rule s|*|#| and &Start"
wait_gone '#32770' "Block umformulieren"
save a.c "${head/'/*\r\n * abc'/'/#\r\n # abc'}alt\r\n" "the marked lines rewritten"
pass "a typed rule rewrote the marked lines only"

keys Y8 "ctrl+pgup $(printf 'down %.0s' $(seq 7)) ctrl+shift+x f6" "Ctrl+Shift+X on alt before any list, F6"
keys Y8 "$(printf 'down %.0s' $(seq 7)) enter" "the phrase list chosen"
wait_window '#32770' "the phrase list"
[ "$(drive title '#32770')" = Floskel ] || fail "the list is titled \"$(drive title '#32770')\""
keys '#32770' esc "Escape in the phrase list"
wait_gone '#32770' "the phrase list"
keys Y8 shift+f6 "Shift+F6"
wait_window '#32770' "the phrase list again"
keys '#32770' esc "Escape in the phrase list again"
wait_gone '#32770' "the phrase list again"
keys Y8 "ctrl+shift+x x" "Ctrl+Shift+X and x"
save a.c "${head/'/*\r\n * abc'/'/#\r\n # abc'}printf(\"x\\\\n\");alt\r\n" "Ctrl+Shift+X after the list"
exit_program "$y8" "Shift+F6 brought the list back; its first line on Ctrl+Shift+X, ? the cursor's place"
