#!/usr/bin/env bash
# The real program, headless: it starts with its main window of class "Y8", its caption
# and its menu bar; About (1999) shows the version box, placed as it should be, and
# Cancel ends the box alone; Exit (1998) and a plain WM_CLOSE end the process with
# code 0 and leave the main window placement under "MainWindow" in "Global"; a second
# start with the same ini shows the window where the first one was left.
# Usage: test_program_startup.sh <win64 build dir> <source dir>
. "$2/tests/lib/wine-harness.sh"
harness_start "$1" "$2" program_startup headless
install_program y8.exe

# The caption is the program's name until the first refresh shows the document's
# name, which for the unnamed document after start-up is "C:\Y8.txt".
expect_start_caption() {
    local caption
    caption=$(drive title Y8) || fail "no caption to read"
    case $caption in
        "ZEMO Editor" | 'C:\Y8.txt') pass "caption \"$caption\"" ;;
        *) fail "the caption is \"$caption\", not \"ZEMO Editor\" or the unnamed document's name" ;;
    esac
}

# --- first start: window, caption, menu bar
start_program y8 y8.exe
wait_window Y8 20
expect_start_caption
[ "$(drive count Y8)" = 1 ] || fail "one start shows $(drive count Y8) windows of class Y8"

# The bar's items as the program's menu resource gives them (Wine lets no other
# process read a live menu; the end-to-end test compares what the bar draws).
menu=$(drive menu Y8) || fail "the window has no menu bar, or its menu ANW_MENU cannot be read"
expected_menu=$'&Datei\n&Bearbeiten\nBloc&k\n&Werkzeug\nKonfi&gurieren\n&Hilfe'
[ "$menu" = "$expected_menu" ] ||
    fail "the menu bar reads \"$(echo "$menu" | tr '\n' '|')\", expected \"$(echo "$expected_menu" | tr '\n' '|')\""
pass "menu bar $(echo "$menu" | tr '\n' ' ')"

# --- About (1999): the modal box "ZEMO Editor" with the version, centred across the
# screen with its top at a third of the free height; Cancel (WM_CLOSE) ends it alone
drive command Y8 1999 || fail "command 1999 cannot be posted"
drive wait-window '#32770' 10 || fail "About (1999) shows no box"
[ "$(drive title '#32770')" = "ZEMO Editor" ] || fail "the about box is captioned \"$(drive title '#32770')\""
drive children '#32770' | grep -q $'\tVersion 5\.32$' ||
    fail "the about box does not show \"Version 5.32\" ($(drive children '#32770' | tr '\n\t' '; '))"
read -r left top right bottom < <(drive window-rect '#32770') || fail "the about box's rectangle cannot be read"
screen_w=$(drive metric 0) && screen_h=$(drive metric 1) || fail "the screen size is unknown"
want_left=$(((screen_w - (right - left)) / 2))
want_top=$(((screen_h - (bottom - top)) / 3))
[ "$left" = "$want_left" ] && [ "$top" = "$want_top" ] ||
    fail "the about box stands at $left,$top; on a ${screen_w}x$screen_h screen it belongs at $want_left,$want_top"
drive close '#32770' || fail "the about box cannot be closed"
drive wait-gone '#32770' 5 || fail "Cancel does not end the about box"
is_running "$y8" || fail "the program ended with its about box"
pass "about box at $left,$top shows the version; Cancel ended it"

# --- Exit: the process ends and the placement is written
drive move Y8 33 44 533 444 || fail "the window cannot be moved"
[ -z "$(ini_get Global MainWindow)" ] || fail "MainWindow is written before the program closes"
t0=$(date +%s.%N)
drive command Y8 1998 || fail "command 1998 cannot be posted"
expect_exit "$y8" 10 "after Exit (1998)"
pass "Exit ended the process in $(elapsed_since "$t0") s with code 0"
drive wait-gone Y8 5 || fail "a window of class Y8 is left after the process ended"

saved=$(ini_get Global MainWindow) || fail "no MainWindow in section Global of $H_INI after Exit"
expect_placement_value "$saved" "MainWindow after Exit"
read -r -a numbers <<<"$saved"
[ "${numbers[*]:6:4}" = "33 44 533 444" ] ||
    fail "MainWindow \"$saved\" does not hold the window's last rectangle 33 44 533 444"
pass "MainWindow=$saved"

# --- second start with the same ini: the window is back where it was left; WM_CLOSE
start_program y8 y8.exe
wait_window Y8 20
expect_start_caption
placement=$(drive placement Y8) || fail "the placement cannot be read"
read -r -a numbers <<<"$placement"
[ "${numbers[*]:6:4}" = "33 44 533 444" ] ||
    fail "the second start shows the window at \"$placement\", not at the saved 33 44 533 444"
pass "second start restored the placement ($placement)"

drive move Y8 60 70 700 500 || fail "the window cannot be moved"
drive close Y8 || fail "WM_CLOSE cannot be posted"
expect_exit "$y8" 10 "after WM_CLOSE"
saved=$(ini_get Global MainWindow) || fail "no MainWindow after WM_CLOSE"
expect_placement_value "$saved" "MainWindow after WM_CLOSE"
read -r -a numbers <<<"$saved"
[ "${numbers[*]:6:4}" = "60 70 700 500" ] ||
    fail "MainWindow \"$saved\" after WM_CLOSE does not hold the last rectangle 60 70 700 500"
pass "WM_CLOSE ended the process and wrote MainWindow=$saved"
