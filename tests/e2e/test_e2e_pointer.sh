#!/usr/bin/env bash
# The harness's mouse itself, in a Wine virtual desktop on Xvfb, so that the tests that
# click into the program can trust it: pointer_at delivers to a window (y8drive
# mouse-log: double clicks reported, the mouse captured while the left button is down)
# exactly the button messages and the moves with the button down that its actions
# stand for, each at its own client point, in order: no stray move at an earlier point
# between them.
# Usage: test_e2e_pointer.sh <win64 build dir> <source dir>
. "$2/tests/lib/wine-harness.sh"
harness_start "$1" "$2" e2e_pointer desktop

start_program mouselog y8drive.exe mouse-log 60
log=$H_LAST_LOG
drive wait-window Y8DriveMouse 20 || fail "the mouse log window did not appear"

pointer_at Y8DriveMouse down 30 20
pointer_at Y8DriveMouse move 50 20
pointer_at Y8DriveMouse move 70 25
pointer_at Y8DriveMouse up 70 25
pointer_at Y8DriveMouse down 100 40
pointer_at Y8DriveMouse move 60 40
pointer_at Y8DriveMouse up 60 40
pointer_at Y8DriveMouse click 30 60
pointer_at Y8DriveMouse dblclick 80 80
pointer_at Y8DriveMouse rclick 90 90
expected="ldown 30 20 1 0
move 50 20 1 0
move 70 25 1 0
lup 70 25 0 0
ldown 100 40 1 0
move 60 40 1 0
lup 60 40 0 0
ldown 30 60 1 0
lup 30 60 0 0
ldown 80 80 1 0
lup 80 80 0 0
ldbl 80 80 1 0
lup 80 80 0 0
rdown 90 90 0 0
rup 90 90 0 0"
for i in $(seq 1 50); do
    [ "$(tr -d '\r' <"$log" | wc -l)" -ge 15 ] && break
    sleep 0.1
done
received=$(tr -d '\r' <"$log")
[ "$received" = "$expected" ] ||
    fail "the mouse log reads \"$(echo "$received" | tr '\n' '|')\", expected \"$(echo "$expected" | tr '\n' '|')\""
pass "pointer_at delivered 15 mouse messages, each at its own point"

drive close Y8DriveMouse || fail "the mouse log window cannot be closed"
expect_exit "$mouselog" 10 "the mouse log"
