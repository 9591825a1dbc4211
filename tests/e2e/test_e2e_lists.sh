#!/usr/bin/env bash
# End to end, in a Wine virtual desktop on Xvfb: the list panels opened with the real
# keys on the real window, an entry chosen with the keyboard, checked in the saved file.
#  1. Ctrl+[ (the key that gives character 27, Ctrl+\334 on a German keyboard) with
#     nothing marked opens the search list without a search text: it shows the
#     overview, the first header selected. Down and Enter choose the second header;
#     the panel closes and a typed character stands at the start of that line.
#  2. Ctrl+T on an indented line opens the structure of its block, nothing selected
#     (no line of the block stands above the cursor line); Down twice and Enter
#     choose its last line: the typed character stands in column 0 of that line.
# The block's lines are indented by one blank, so that typing in front of them keeps
# no columns ("Spaltentreue" works from a double blank on).
# Usage: test_e2e_lists.sh <win64 build dir> <source dir>
. "$2/tests/lib/wine-harness.sh"
harness_start "$1" "$2" e2e_lists desktop
install_program y8.exe

ini_prepare "[Window]" "Position0=0 1 -1 -1 -1 -1 40 20 840 620"
work=$H_PREFIX/drive_c/work
mkdir -p "$work" || fail "cannot create $work"
name='C:\work\m.c'
file=$work/m.c
original=$H_WORK/m.original
printf '%s\r\n' "int first(void)" "{" "    one();" "}" "int second(void)" "{" " two();" \
    " three();" "}" "end" >"$original"
cp "$original" "$file" || fail "cannot create $file"

start_program y8 y8.exe "$name"
wait_window Y8 30
expect_caption "$name" "after the start"

# --- 1. The overview in the search list's panel.
type_keys "ctrl+#219" "Ctrl+["
[ "$(panels)" = 1 ] || fail "Ctrl+[ opened no list panel (children: $(drive children Y8 | tr '\n\t' '; '))"
type_keys "down enter" "Down and Enter in the list"
[ "$(panels)" = 0 ] || fail "the list panel is still open after Enter"
type_keys "x" "the first marker"
expected=$H_WORK/m.expected1
awk 'NR == 5 { $0 = "x" $0 } { print }' "$original" >"$expected"
type_keys f8 "F8"
expect_caption "$name" "after the first F8"
expect_bytes "$expected" "$file" "after choosing the second header"
pass "Ctrl+[ showed the overview in the search list; Down and Enter went to the second header"

# --- 2. The structure of the block around line 7.
type_keys "down down ctrl+t" "Down twice and Ctrl+T"
[ "$(panels)" = 1 ] || fail "Ctrl+T opened no list panel"
type_keys "down down enter" "Down twice and Enter in the structure"
[ "$(panels)" = 0 ] || fail "the structure panel is still open after Enter"
type_keys "y" "the second marker"
previous=$expected
expected=$H_WORK/m.expected2
awk 'NR == 8 { $0 = "y" $0 } { print }' "$previous" >"$expected"
type_keys f8 "the second F8"
expect_caption "$name" "after the second F8"
expect_bytes "$expected" "$file" "after choosing the block's last line"
pass "Ctrl+T listed the block's lines; Down twice and Enter put the cursor in column 0 of its last line"

drive command Y8 1998 || fail "command 1998 cannot be posted"
wait_exit code "$y8" 10 || fail "10 s after Exit (1998) the process still runs"
[ "$code" = 0 ] || fail "after Exit (1998) the process ended with exit code $code"
