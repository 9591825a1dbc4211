#!/usr/bin/env bash
# The program as a process, headless: one copy (caption, About, DDE executes of any length, the
# hook gets 200 bytes at most, other names refused); a second copy in slot 1, both write their
# "Position<slot>" at Exit and free it; a copy alone in slot 0 at its placement, "MainWindow" at
# WM_CLOSE; y8_single.exe ends at once while one runs; three command lines start and Exit.
# Usage: test_program_process.sh <win64 build dir> <source dir>
. "$2/tests/lib/wine-harness.sh"
harness_start "$1" "$2" program_process headless
cp "$H_BUILD/y8_single.exe" "$H_PROGDIR/" || fail "y8_single.exe is not built"

placement='^-?[0-9]+( -?[0-9]+){5}'  # the ini's flags, show, minimum, maximum, then the rectangle
# The trace of the program (OutputDebugString) reaches its log through this channel.
HARNESS_DEBUG=-all,+debugstr start_program first y8.exe
trace=$H_LAST_LOG
wait_window Y8 "the first start"
[[ $(drive title Y8) =~ ^(ZEMO\ Editor|C:\\Y8\.txt)$ ]] || fail "the caption is \"$(drive title Y8)\""
drive command Y8 1999 && wait_window '#32770' "About (1999)"
[ "$(drive title '#32770')" = "ZEMO Editor" ] || fail "the about box is captioned \"$(drive title '#32770')\""
box_says "Version 5.32" "About"
drive close '#32770' && wait_gone '#32770' "Cancel in the about box"

# expect_dde <exit code> <service> <topic> <bytes>: 0 acknowledged, 2 refused.
expect_dde() {
    local want=$1 code=0
    shift
    drive dde "$@" >>"$H_WORK/dde.log" || code=$?
    [ "$code" = "$want" ] || fail "DDE $*: y8drive ended with $code, expected $want (see $H_WORK/dde.log)"
}
for row in "0 Y8 System 5" "0 Y8 System 200" "0 Y8 System 201" "0 Y8 Y8 1000" "2 Y9 System 10" "2 Y8X System 10"; do
    expect_dde $row
done
letters() { awk -v n="$1" 'BEGIN { for (i = 0; i < n; i++) printf "%c", 97 + i % 26 }'; }
expected=$(printf '%s\n' "$(letters 5) System" "$(letters 200) System" "$(letters 200) System" "$(letters 200) Y8")
received=$(tr -d '\r' <"$trace" | sed -n 's/.*OutputDebugStringA "dde \(.*\)"$/\1/p' | sed 's/\\n$//')
[ "$received" = "$expected" ] || fail "the execute hook's traces are \"$received\", not 5, 200, 200, 200 bytes"
pass "DDE: executes of 5, 200, 201 and 1000 bytes acknowledged, the hook got 200 at most; Y9, Y8X refused"

start_program second y8.exe
count_is() { [ "$(count "$1")" = "$2" ]; }
ini_is() { [ "$(ini_get "$1" "$2")" = "$3" ]; }
retry 10 count_is Y8 2 && retry 10 ini_is Window InUse1 1
flags=$(printf '%s\n' InUse{0..9} | while read -r key; do ini_get Window "$key"; done | tr -d '\n')
[ "$flags" = 1100000000 ] || fail "with two copies InUse0..9 read $flags, not 1100000000"
[ -z "$(ini_get Window Position0)$(ini_get Window Position1)" ] || fail "a placement is stored before an Exit"
drive command Y8 1998
retry 10 count_is Y8 1
drive command Y8 1998 && expect_exit "$first" "the first copy" && expect_exit "$second" "the second copy"
for s in 0 1; do
    [[ $(ini_get Window Position$s) =~ $placement( -?[0-9]+){4}$ ]] || fail "Position$s is not a placement"
    [ "$(ini_get Window InUse$s)" = 0 ] || fail "InUse$s is not freed after its copy ended"
done
expect_dde 2 Y8 System 10
pass "two copies held slots 0 and 1 and wrote their placements; Y8 is refused when none runs"

sed -i 's/^Position0=.*\r$/Position0=0 1 -1 -1 -1 -1 44 55 544 455\r/' "$H_INI"
start_program alone y8.exe
wait_window Y8 "a copy alone"
read -r left top right bottom < <(drive window-rect Y8)
[ "$left $top $right $bottom" = "44 55 544 455" ] || fail "the copy alone shows at $left $top $right $bottom"
[ "$(ini_get Window InUse0)$(ini_get Window InUse1)" = 10 ] || fail "the copy alone did not take slot 0 alone"
drive move Y8 33 44 533 444 && drive close Y8 && expect_exit "$alone" "WM_CLOSE"
[[ $(ini_get Global MainWindow) =~ $placement\ 33\ 44\ 533\ 444$ ]] || fail "MainWindow is not 33 44 533 444"
[ "$(ini_get Window InUse0)" = 0 ] || fail "InUse0 is not freed after the copy alone ended"

start_program first y8_single.exe
wait_window Y8 "y8_single.exe"
start_program second y8_single.exe
expect_exit "$second" "a second copy with Single 1"
[ "$(count Y8)" = 1 ] || fail "with Single 1 there are $(count Y8) windows"
exit_program "$first" "a second copy with Single 1 ended at once"

seq -f 'Zeile %g' 40 | sed 's/$/\r/' >"$WORK/mit blank.txt"
run_with() {
    start_program pid y8.exe "$@"
    wait_window Y8 "a command line of $# words"
    exit_program "$pid" "a command line of $# words, ${#1} characters first"
}
run_with 'C:\work\mit blank.txt'  # (-l, -s and -f end to end)
run_with $(seq -f '-q%g' 30)
run_with "-q$(printf 'x%.0s' $(seq 1 1500))"
