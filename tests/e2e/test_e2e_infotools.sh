#!/usr/bin/env bash
# End to end on Xvfb, one program start in a project two directories above the document:
# the archive copy of the project (Wine keeps every file's archive attribute: each is copied,
# dot-directories and the ignored pattern left out, each name with the date stamp of its UTC
# time); Ctrl+F6 types a facet phrase from facette.txt; lint runs lint.bat with the name of a
# document named with & ^ and blanks; lib-Info A on a hostile marked text hands it over as one
# argument. The batch files log what they got; the canary file never appears.
# Usage: test_e2e_infotools.sh <win64 build dir> <source dir>
HARNESS_BUDGET=${HARNESS_BUDGET:-150}
. "$2/tests/lib/wine-harness.sh"
harness_start "$1" "$2" e2e_infotools desktop
P=$WORK/proj
mkdir -p "$P/x/y" "$P/.git" || fail "cannot make the project"
printf 'Kunde\r\nAuftrag\r\n' >"$P/facette.txt"
printf 'archiv C:\\work\\arc\r\nignore *.log\r\n' >"$P/archiv.txt"
printf '@echo %%*>"%%~dp0lint.log"\r\n' >"$P/lint.bat"
printf '@echo %%*>"%%~dp0probe.log"\r\n' >"$P/probe.bat"
printf 'old\r\n' >"$P/.git/head"
printf 'x\r\n' >"$P/skip.log"
printf 'alt\r\na & echo 1 > C:\\work\\canary.txt\r\n' >"$P/x/y/a & b^c d.c"
find "$P" -type f -exec touch -d '2010-12-05 12:00 UTC' {} +
ini_prepare '[Installation]' 'LibInfoA=C:\work\proj\probe.bat -K=%s -I'
start_program y8 y8.exe 'C:\work\proj\x\y\a & b^c d.c'
wait_window Y8 "the start"

drive command Y8 1216 || fail "command 1216 cannot be posted"
retry 10 test "$(panels)" = 1 || fail "command 1216 shows no archive panel"
keys Y8 enter "Enter in the archive panel"
archive_done() { drive children Y8 | grep -qx $'Static\tFertig.'; }
retry 20 archive_done || fail "the archive run does not end with Fertig. ($(drive children Y8 | tr '\n\t' '; '))"
(cd "$WORK/arc" && find . -type f | sort) >"$H_WORK/arc.found" 2>/dev/null
printf '%s\n' './archiv-B0C5.txt' './facette-B0C5.txt' './lint-B0C5.bat' './probe-B0C5.bat' \
    './x/y/a & b^c d-B0C5.c' >"$H_WORK/arc.expected"
expect_bytes "$H_WORK/arc.expected" "$H_WORK/arc.found" "the archive"
expect_bytes "$P/facette.txt" "$WORK/arc/facette-B0C5.txt" "the archived facette.txt"
pass "the archive copy: every file once, stamped -B0C5, .git and *.log left out"

keys Y8 esc "Escape closes the panel"
retry 10 test "$(panels)" = 0 || fail "Escape leaves the archive panel open"
keys Y8 ctrl+f6 "Ctrl+F6"
wait_window '#32770' "the Facette box"
[ "$(drive title '#32770')" = Facette ] || fail "the box is titled \"$(drive title '#32770')\""
keys '#32770' "down tab down down down down enter" "Kunde and read chosen, Enter"
wait_gone '#32770' "the Facette box"
keys Y8 f8 "F8"
printf 'FCT Kunde readalt\r\na & echo 1 > C:\\work\\canary.txt\r\n' >"$H_WORK/a.expected"
expect_bytes "$H_WORK/a.expected" "$P/x/y/a & b^c d.c" "the phrase typed"
pass "Ctrl+F6 typed FCT Kunde read from facette.txt two directories up"

drive command Y8 1215 || fail "command 1215 cannot be posted"
retry 10 test -s "$P/lint.log" || fail "lint.bat did not run"
printf '"C:\\work\\proj\\x\\y\\a & b^c d.c"\r\n' >"$H_WORK/lint.expected"
expect_bytes "$H_WORK/lint.expected" "$P/lint.log" "the arguments of lint.bat"
pass "lint.bat two directories up got the document's name as one argument"

keys Y8 "down home shift+end" "the hostile line marked"
drive command Y8 1211 || fail "command 1211 cannot be posted"
retry 10 test -s "$P/probe.log" || fail "lib-Info A did not start its program"
printf -- '-K="a & echo 1 > C:\\work\\canary.txt" -I\r\n' >"$H_WORK/probe.expected"
expect_bytes "$H_WORK/probe.expected" "$P/probe.log" "the arguments of lib-Info A"
sleep 1
[ ! -e "$WORK/canary.txt" ] || fail "the canary appeared: a word broke out of its command line"
exit_program "$y8" "lib-Info A passed the hostile marked text as one argument; no canary"
