#!/usr/bin/env bash
# Printing from the real window: a document of 70 lines, command 1007 ("&Drucken") and the
# system's print dialog confirmed with Enter; the PostScript the printer wrote, read back
# as text, holds two pages under the headers "<name>  1" and "<name>  2", every line in
# order. Usage: test_program_print.sh <win64 build dir> <source dir>
. "$2/tests/lib/wine-harness.sh"
harness_start "$1" "$2" program_print headless
cp "$H_BUILD/y8.exe" "$H_BUILD/y8printer.exe" "$H_PROGDIR/" || fail "y8.exe and y8printer.exe are not built"
start_program setup y8printer.exe
expect_exit "$setup" "adding the PostScript printer"

ps=$H_PREFIX/drive_c/print.ps
for i in $(seq 1 70); do printf 'Zeile %d\r\n' "$i"; done >"$H_PREFIX/drive_c/doc.txt"
start_program y8 y8.exe 'C:\doc.txt'
drive wait-window Y8 20 || fail "the main window does not appear"
# print <keys in the print dialog> <headers expected, in order> [menu]: one job (started from the
# menu with Alt+D D, else by command 1007), its text in $text.
print() {
    rm -f "$ps"
    if [ "${3:-}" = menu ]; then  # "&Datei", "&Drucken"
        drive keys Y8 "alt+d d" || fail "the menu's keys cannot be typed"
    else
        drive command Y8 1007 || fail "command 1007 cannot be posted"
    fi
    drive wait-window '#32770' 10 || fail "printing shows no print dialog"
    drive keys '#32770' "$1" || fail "the keys \"$1\" cannot be typed into the print dialog"
    for _ in $(seq 100); do grep -q '%%EOF' "$ps" 2>/dev/null && break; sleep 0.1; done
    text=$(gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=txtwrite -sOutputFile=- "$ps") || fail "no job in $ps"
    [ "$(grep -c '^%%Page:' "$ps")" = "$(wc -w <<<"$2")" ] || fail "$(grep -c '^%%Page:' "$ps") pages after \"$1\""
    [ "$(grep -o 'doc.txt  [0-9]*' <<<"$text" | cut -c10- | tr '\n' ' ')" = "$2 " ] ||
        fail "after \"$1\" the headers read $(grep -o 'doc.txt  [0-9]*' <<<"$text" | tr '\n' ' ')"
}
print enter "1 2" menu
[ "$(grep -o 'Zeile [0-9]*' <<<"$text" | tr '\n' ' ')" = "$(seq -f 'Zeile %g' 1 70 | tr '\n' ' ')" ] ||
    fail "the lines printed are not the document's 70 lines in order: $(head -c 300 <<<"$text")"
# Baselines in mm below the paper's top (300 dpi; the page's origin moved by "<x> <y> translate"
# and flipped): the header's at 18, the first line's at 24, each within half a millimetre.
baselines=$(awk '/ translate$/ && !ty { ty = $2 } / moveto$/ { y[++n] = $2 } END { for (i = 1; i <= 2; i++) {
    mm = (842 * 300 / 72 - ty + y[i]) * 25.4 / 300
    printf "%.2f%s ", mm, (mm - 12 - 6 * i) ^ 2 <= 0.25 ? "" : "!" } }' "$ps")
[[ $baselines != *!* ]] || fail "the header's and the first line's baselines lie at $baselines mm, not 18 and 24"
pass "70 lines printed on two pages, in order, under their headers; baselines at $baselines mm"
print "alt+c 3 enter" "1 1 1 2 2 2"
print "alt+c 2 alt+o enter" "1 2 1 2"
pass "three copies come out page by page, two collated copies document by document"
drive command Y8 1000 && rm -f "$ps" && drive command Y8 1007 && drive wait-window '#32770' 10 &&
    drive keys '#32770' enter && drive wait-gone '#32770' 10 || fail "no print dialog for the empty document"
sleep 2
[ ! -e "$ps" ] && kill -0 "$y8" || fail "the empty document wrote a print job, or the program ended"
pass "the empty document starts no job"

