#!/usr/bin/env bash
# The help under Wine's HTML help viewer, with y8.chm beside y8.exe: F1 in the text window
# and "Hilfe > Inhalt..." show the start page, F1 in a dialog shows that dialog's page. The
# viewer's window must carry the help file's caption; the page it shows is read from its
# trace (channel htmlhelp: the URL its browser is sent to), and must be one the help file holds.
# Usage: test_e2e_help.sh <build dir> <source dir>
HARNESS_BUDGET=${HARNESS_BUDGET:-120}
. "$2/tests/lib/wine-harness.sh"
harness_start "$1" "$2" e2e_help desktop
cp "$H_BUILD/y8.chm" "$H_PROGDIR/" || fail "y8.chm is not built"
# The viewer has no HTML engine here: keep mshtml from offering to download one.
export WINEDLLOVERRIDES="mshtml=d"
cp "$H_SRC/samples/LIESMICH.TXT" "$WORK/" || fail "no samples/LIESMICH.TXT"
HARNESS_DEBUG=+htmlhelp start_program y8 y8.exe 'C:\work\LIESMICH.TXT'
trace=$H_LAST_LOG
wait_window Y8 "the start"

# shown_page: the page of the help file the viewer navigated to last.
shown_page() {
    grep -a 'navigate_url' "$trace" | grep -ao 'y8\.chm::/[A-Za-z0-9_]*\.html' | tail -1 | sed 's/.*::\///'
}
page_is() { [ "$(shown_page)" = "$1" ]; }
# expect_help <page> <what>: the viewer's window with the help file's caption, showing the page.
expect_help() {
    wait_window 'HH Parent' "$2"
    local caption
    caption=$(drive title 'HH Parent')
    [ "$caption" = "Y8 Hilfe" ] || fail "$2: the help window's caption is \"$caption\""
    retry 10 page_is "$1" || fail "$2: the viewer shows \"$(shown_page)\", not $1"
    grep -qa "/$1" "$H_PROGDIR/y8.chm" || fail "$2: y8.chm holds no page $1"
    pass "$2 shows $1"
}

keys Y8 f1 "F1 in the text window"
expect_help index.html "F1 in the text window"
drive close 'HH Parent'
wait_gone 'HH Parent' "closing the help"

keys Y8 "ctrl+#190" "Ctrl+. (the dialog Position)"
wait_window '#32770' "the dialog Position"
keys '#32770' f1 "F1 in the dialog Position"
expect_help DB1300.html "F1 in the dialog Position"
keys '#32770' esc "Esc in the dialog Position"

keys Y8 "ctrl+f" "Ctrl+F (the dialog Suchen)"
wait_window '#32770' "the dialog Suchen"
keys '#32770' f1 "F1 in the dialog Suchen"
expect_help DB1100.html "F1 in the dialog Suchen"
keys '#32770' esc "Esc in the dialog Suchen"

keys Y8 "alt+h i" "Hilfe > Inhalt..."
expect_help index.html "Hilfe > Inhalt..."
# The README's picture: the editor and its help side by side.
drive move Y8 0 0 560 620 && drive move 'HH Parent' 560 0 1024 768 || fail "the windows cannot be moved"
drive wait-idle Y8 20 && sleep 2
screenshot readme >/dev/null
drive close 'HH Parent'
wait_gone 'HH Parent' "closing the help"
exit_program "$y8" "the help"
