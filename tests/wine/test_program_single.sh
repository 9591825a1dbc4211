#!/usr/bin/env bash
# One copy or several, headless: y8_single.exe (start-up option "Single 1") started
# while a copy runs ends at once with code 0 and shows no second window; the program
# itself ("Single" 0) started twice shows two windows, and both end on Exit.
# Usage: test_program_single.sh <win64 build dir> <source dir>
. "$2/tests/lib/wine-harness.sh"
harness_start "$1" "$2" program_single headless
install_program y8.exe
install_program y8_single.exe

# --- Single 1: the second copy ends before it makes a window
start_program first y8_single.exe
wait_window Y8 20
t0=$(date +%s.%N)
start_program second y8_single.exe
expect_exit "$second" 10 "the second copy with Single 1"
pass "the second copy with Single 1 ended in $(elapsed_since "$t0") s with code 0"
[ "$(drive count Y8)" = 1 ] || fail "with Single 1 there are $(drive count Y8) windows of class Y8, not 1"
is_running "$first" || fail "the first copy ended when the second started"
pass "the first copy still runs, alone"

drive command Y8 1998 || fail "command 1998 cannot be posted"
expect_exit "$first" 10 "the first copy after Exit (1998)"

# --- Single 0: two copies, two windows
start_program first y8.exe
wait_window Y8 20
start_program second y8.exe
drive wait-count Y8 2 20 || fail "two copies of y8.exe show $(drive count Y8) windows, not 2"
is_running "$first" && is_running "$second" || fail "a copy of y8.exe ended by itself"
pass "two copies of y8.exe show two windows"

# Exit reaches one window at a time; both copies end.
drive command Y8 1998 || fail "command 1998 cannot be posted"
drive wait-count Y8 1 10 || fail "Exit did not close one of the two windows"
drive command Y8 1998 || fail "command 1998 cannot be posted to the other copy"
expect_exit "$first" 10 "the first copy of y8.exe"
expect_exit "$second" 10 "the second copy of y8.exe"
drive wait-gone Y8 5 || fail "a window of class Y8 is left after both copies ended"
pass "both copies ended with code 0"
