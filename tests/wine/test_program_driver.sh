#!/usr/bin/env bash
# The driver tool itself, headless, so that tests typing into the program can trust it:
# "y8drive keys" delivers exactly the virtual keys of its keylist, with the Shift, Ctrl and
# Alt states the receiver reads with GetKeyState, and the characters that follow them.
# Usage: test_program_driver.sh <win64 build dir> <source dir>
. "$2/tests/lib/wine-harness.sh"
harness_start "$1" "$2" program_driver headless

start_program keylog y8drive.exe key-log 30
log=$H_LAST_LOG
drive wait-window Y8DriveKeys 20 || fail "the key log window did not appear"
drive keys Y8DriveKeys "a shift+b ctrl+s #192 home del ctrl+shift+z alt+x" || fail "y8drive keys failed"

# The receiver's view: every key down with the modifier states, then its character.
expected="down 65 0 0 0
char 97
down 16 1 0 0
down 66 1 0 0
char 66
down 17 0 1 0
down 83 0 1 0
char 19
down 192 0 0 0
char 96
down 36 0 0 0
down 46 0 0 0
down 17 0 1 0
down 16 1 1 0
down 90 1 1 0
char 26
sysdown 18 0 0 1
sysdown 88 0 0 1
syschar 120"
for i in $(seq 1 50); do
    [ "$(tr -d '\r' <"$log" | wc -l)" -ge 19 ] && break
    sleep 0.1
done
received=$(tr -d '\r' <"$log")
[ "$received" = "$expected" ] ||
    fail "the key log reads \"$(echo "$received" | tr '\n' '|')\", expected \"$(echo "$expected" | tr '\n' '|')\""
pass "keys delivered 11 keys with their modifier states and characters"

drive keys Y8DriveKeys "ctrl+" && fail "a key keylist without a key was accepted"
drive keys Y8DriveKeys "f13" && fail "an unknown key name was accepted"
pass "key specs without a known key are refused"

drive close Y8DriveKeys || fail "the key log window cannot be closed"
expect_exit "$keylog" 10 "the key log"
