#!/usr/bin/env bash
# End to end, in a Wine virtual desktop on Xvfb, with real keys on the real window:
# phrases on Ctrl+Shift keys, and the panels "Verzeichnis" (F5) and "Letzte Dateien" (F7).
#  1. Ctrl+Shift+I, H, M and L (whose Ctrl characters are those of Tab, Backspace and
#     Enter) type their phrases: the cursor stays at the phrase's "?", and a marked
#     character is replaced. F8 saves; the file holds exactly the typed lines.
#  2. F5, "s" typed into the directory field (a directory "s" exists), Esc: the current
#     directory did not follow the key, so Shift+F5 opens the "module" of C:\work.
#  3. F5, "sub" typed into the directory field and Enter: sub (not sub\sub) is listed
#     and the focus is in the list; Tab to the filter field, "oth" typed there, Enter
#     back to the list and Enter open C:\work\sub\other.txt.
#  4. F7, Down and Enter open the second newest file, C:\work\module.
# Usage: test_e2e_panels.sh <win64 build dir> <source dir>
. "$2/tests/lib/wine-harness.sh"
harness_start "$1" "$2" e2e_panels desktop
install_program y8.exe

ini_prepare "[Window]" "Position0=0 1 -1 -1 -1 -1 40 20 840 620" \
    "[Floskel]" "S-C-I=#include_~?~" "S-C-H=else_" "S-C-M=movmem(_" "S-C-L=for ( i=0; i<?; i++ )"
work=$H_PREFIX/drive_c/work
mkdir -p "$work/s" "$work/sub" || fail "cannot create $work"
printf 'x\r\ny\r\n' >"$work/m.c"
printf 'top\r\n' >"$work/module"
printf 'in s\r\n' >"$work/s/module"
printf 'inner\r\n' >"$work/sub/inner.txt"
printf 'other\r\n' >"$work/sub/other.txt"

start_program y8 y8.exe 'C:\work\m.c'
wait_window Y8 30
expect_caption 'C:\work\m.c' "after the start"

# --- 1. Phrases.
type_keys "ctrl+shift+i a end ctrl+shift+h ctrl+shift+m b" "Ctrl+Shift+I, H and M"
type_keys "down home shift+right ctrl+shift+l 9" "Ctrl+Shift+L over a marked character"
expected=$H_WORK/m.expected
printf '#include "a"x else movmem( b\r\nfor ( i=0; i<9; i++ )\r\n' >"$expected"  # End: one blank after the text
type_keys f8 "F8"
expect_caption 'C:\work\m.c' "after F8"
expect_bytes "$expected" "$work/m.c" "after the phrases"
pass "Ctrl+Shift+I, H, M and L typed their phrases, the cursor at the \"?\""

# --- 2. A key in the directory field does not move the current directory.
type_keys f5 "F5"
[ "$(panels)" = 1 ] || fail "F5 opened no panel (children: $(drive children Y8 | tr '\n\t' '; '))"
type_keys "home shift+end s" "s in the directory field"
type_keys esc "Esc"
[ "$(panels)" = 0 ] || fail "the directory panel is still open after Esc"
type_keys shift+f5 "Shift+F5"
expect_caption 'C:\work\module' "Shift+F5 after typing s"
pass "typing a directory's name did not make it the current directory"

# --- 3. A typed directory chosen with Enter; the filter field typed into.
type_keys f5 "F5 again"
type_keys "home shift+end s u b enter" "sub and Enter in the directory field"
type_keys "tab o t h enter" "oth and Enter in the filter field"
type_keys enter "Enter in the list"
[ "$(panels)" = 0 ] || fail "the directory panel is still open after Enter on a file"
expect_caption 'C:\work\sub\other.txt' "the file chosen in sub"
pass "sub was listed once resolved; the filter and Enter opened sub\\other.txt"

# --- 4. The recent files panel.
type_keys f7 "F7"
[ "$(panels)" = 1 ] || fail "F7 opened no panel"
type_keys "down enter" "Down and Enter in the recent files"
[ "$(panels)" = 0 ] || fail "the recent files panel is still open after Enter"
expect_caption 'C:\work\module' "the second newest file"
pass "F7, Down and Enter opened the second newest file"

drive command Y8 1998 || fail "command 1998 cannot be posted"
wait_exit code "$y8" 10 || fail "10 s after Exit (1998) the process still runs"
[ "$code" = 0 ] || fail "after Exit (1998) the process ended with exit code $code"
