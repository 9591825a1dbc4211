#!/usr/bin/env bash
# The release package as a user installs it: dist's zip unpacked to C:\Programme, no settings
# file yet. The first start of Y8\y8.exe copies the package's Y8.ini into the Windows directory,
# and F6 opens the sample catalogue that Y8.ini names relative to the program's folder: its
# first entry asks for its values in a box titled with the sample's path.
# Usage: test_e2e_package.sh <win32 build dir> <source dir>
HARNESS_BUDGET=${HARNESS_BUDGET:-120}
. "$2/tests/lib/wine-harness.sh"
harness_start "$1" "$2" e2e_package desktop
"$H_SRC/scripts/dist" "$(dirname "$H_BUILD")" "$H_WORK/y8-win32.zip" >"$H_WORK/dist.log" 2>&1 ||
    fail "scripts/dist failed (see $H_WORK/dist.log)"
mkdir -p "$H_PREFIX/drive_c/Programme" && unzip -q "$H_WORK/y8-win32.zip" -d "$H_PREFIX/drive_c/Programme" ||
    fail "the zip cannot be unpacked"
[ ! -e "$H_INI" ] || fail "a settings file is there before the first start"
"$HARNESS_WINE" 'C:\Programme\Y8\y8.exe' </dev/null >"$H_WORK/y8.log" 2>&1 &
y8=$!
H_PIDS+=("$y8")
wait_window Y8 "the first start"
# The program has taken its window slot in it since.
grep -q $'^; Y8.ini: die Einstellungen' "$H_INI" && grep -q $'^BauKasten=Beispiele\\\\INHALT.TXT\r$' "$H_INI" ||
    fail "the package's Y8.ini was not installed"
pass "the first start installed the package's Y8.ini"

keys Y8 f6 "F6"
[ "$(panels)" = 1 ] || fail "F6 shows no catalogue"
keys Y8 "down enter" "the first entry chosen"
wait_window '#32770' "the Bauklotz box"
title=$(drive title '#32770')
[ "$title" = 'C:\Programme\Y8\Beispiele\c_kopf.txt' ] || fail "the box is titled \"$title\""
keys '#32770' esc "Esc in the Bauklotz box"
wait_gone '#32770' "the Bauklotz box"
pass "F6 opens the sample catalogue in the program's folder"
exit_program "$y8" "the package"
