#!/usr/bin/env bash
# Placement slots of two real copies, headless: the first copy takes slot 0 and the
# second slot 1 ("InUse0" and "InUse1" read 1 in section "Window" while both run);
# Exit ends both, each leaves its window placement as "Position0" and "Position1"
# and frees its slot; a copy started alone later takes slot 0 again and shows its
# window where "Position0" says.
# Usage: test_program_slots.sh <win64 build dir> <source dir>
. "$2/tests/lib/wine-harness.sh"
harness_start "$1" "$2" program_slots headless
install_program y8.exe

# The slots address the settings file by the name "Y8.INI": the system finds the
# file whatever the case of its name, and creates it under the first spelling used.
use_settings_file() {
    local found
    found=$(find "$(dirname "$H_INI")" -maxdepth 1 -iname 'y8.ini' -print -quit)
    [ -n "$found" ] || fail "no settings file Y8.ini in $(dirname "$H_INI")"
    H_INI=$found
}

# wait_flag <key> <value> <seconds>: until "Window" <key> reads <value>.
wait_flag() {
    local i value=
    for i in $(seq $(($3 * 20))); do
        use_settings_file 2>/dev/null || true
        value=$(ini_get Window "$1" 2>/dev/null) && [ "$value" = "$2" ] && return 0
        sleep 0.05
    done
    fail "Window $1 reads \"$value\" after $3 s, not \"$2\""
}

# --- two copies: slots 0 and 1
start_program first y8.exe
wait_window Y8 20
wait_flag InUse0 1 10
start_program second y8.exe
drive wait-count Y8 2 20 || fail "two copies of y8.exe show $(drive count Y8) windows, not 2"
wait_flag InUse1 1 10
use_settings_file
for slot in 2 3 4 5 6 7 8 9; do
    [ "$(ini_get Window InUse$slot)" = 0 ] || fail "InUse$slot reads \"$(ini_get Window InUse$slot)\" with two copies running"
done
[ -z "$(ini_get Window Position0)" ] && [ -z "$(ini_get Window Position1)" ] ||
    fail "a placement is stored before any copy ended"
pass "the copies hold slots 0 and 1"

# --- Exit: one window at a time; each copy stores its placement and frees its slot
drive command Y8 1998 || fail "command 1998 cannot be posted"
drive wait-count Y8 1 10 || fail "Exit did not close one of the two windows"
drive command Y8 1998 || fail "command 1998 cannot be posted to the other copy"
expect_exit "$first" 10 "the first copy"
expect_exit "$second" 10 "the second copy"
use_settings_file
for slot in 0 1; do
    stored=$(ini_get Window Position$slot) || fail "no Position$slot after both copies ended"
    expect_placement_value "$stored" "Position$slot"
    [ "$(ini_get Window InUse$slot)" = 0 ] || fail "InUse$slot reads \"$(ini_get Window InUse$slot)\" after its copy ended"
done
pass "Position0=$(ini_get Window Position0) Position1=$(ini_get Window Position1), both slots free"

# --- a copy alone: slot 0 and its placement
ini_prepare_slot() {
    # The stored rectangle of slot 0 replaced by a known one, the rest kept.
    sed -i 's/^Position0=.*\r$/Position0=0 1 -1 -1 -1 -1 44 55 544 455\r/' "$H_INI" || fail "cannot edit $H_INI"
    [ "$(ini_get Window Position0)" = "0 1 -1 -1 -1 -1 44 55 544 455" ] || fail "Position0 could not be prepared"
}
ini_prepare_slot
start_program third y8.exe
wait_window Y8 20
wait_flag InUse0 1 10
placement=$(drive placement Y8) || fail "the placement cannot be read"
read -r -a numbers <<<"$placement"
[ "${numbers[*]:6:4}" = "44 55 544 455" ] ||
    fail "a copy in slot 0 shows its window at \"$placement\", not at Position0's 44 55 544 455"
[ "$(ini_get Window InUse1)" = 0 ] || fail "a copy alone took slot 1 as well"
pass "a copy alone took slot 0 and its placement ($placement)"
drive command Y8 1998 || fail "command 1998 cannot be posted"
expect_exit "$third" 10 "the copy alone"
[ "$(ini_get Window InUse0)" = 0 ] || fail "InUse0 is not freed after the copy alone ended"
pass "the copy alone freed slot 0"
