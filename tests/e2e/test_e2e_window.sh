#!/usr/bin/env bash
# End to end, in a Wine virtual desktop on Xvfb: with "BgFarbe" "0 0 128" in the
# settings, the program's window appears, a screenshot shows its text area dark blue
# and its menu bar drawn exactly as a window with the program's menu ("&Datei" first)
# draws it, and Exit (1998) ends the process and writes "MainWindow" into the ini.
# The screenshot stays in <build>/e2e/window.png for a person to look at.
# Usage: test_e2e_window.sh <win64 build dir> <source dir>
. "$2/tests/lib/wine-harness.sh"
harness_start "$1" "$2" e2e_window desktop
install_program y8.exe

navy="0 0 128"
ini_prepare "[Global]" "BgFarbe=$navy"

start_program y8 y8.exe
wait_window Y8 30
caption=$(drive title Y8) || fail "no caption to read"
case $caption in
    "ZEMO Editor" | 'C:\Y8.txt') pass "window \"$caption\" is up" ;;
    *) fail "the caption is \"$caption\", not \"ZEMO Editor\" or the unnamed document's name" ;;
esac

# The client area on the screen; the text area is all of it but the status bar at the
# bottom and the scroll bar at the right, so points well inside the left half are text.
read -r cx cy cw ch < <(drive client-rect Y8) || fail "the client area cannot be read"
[ "${cw:-0}" -ge 200 ] && [ "${ch:-0}" -ge 150 ] || fail "the client area ${cw}x${ch} is too small to look at"
points=("$((cw / 2)) $((ch / 2))" "$((cw / 4)) $((ch / 3))" "40 $((ch * 2 / 3))")

# Painting is done when the window itself reads dark blue at the first point.
for i in $(seq 1 100); do
    [ "$(drive pixel Y8 ${points[0]})" = "$navy" ] && break
    sleep 0.1
done
shot=$(screenshot window) || exit 1
for point in "${points[@]}"; do
    read -r px py <<<"$point"
    seen=$(drive pixel Y8 "$px" "$py")
    [ "$seen" = "$navy" ] || fail "the window's pixel at client $px,$py is \"$seen\", not $navy"
    seen=$(png_pixel "$shot" $((cx + px)) $((cy + py)))
    [ "$seen" = "$navy" ] ||
        fail "the screenshot's pixel at $((cx + px)),$((cy + py)) (client $px,$py) is \"$seen\", not $navy"
done
pass "the text area is dark blue ($navy) in the window and in $shot"

# The menu bar: the program's menu resource names "&Datei" first, and the live bar
# draws exactly what a twin window with that menu, that frame and that width draws.
menu=$(drive menu Y8) || fail "the window has no menu bar, or its menu ANW_MENU cannot be read"
[ "$(head -n 1 <<<"$menu")" = "&Datei" ] || fail "the menu bar begins with \"$(head -n 1 <<<"$menu")\", not \"&Datei\""
bar=$(drive metric 15) || fail "the menu bar height is unknown"   # SM_CYMENU
start_program twin y8drive.exe twin-menu Y8 400 30
drive wait-window Y8DriveTwin 10 || fail "the twin window did not appear"
read -r tx ty tw th < <(drive client-rect Y8DriveTwin) || fail "the twin's client area cannot be read"
[ "$tw" = "$cw" ] || fail "the twin's client width $tw differs from the window's $cw"
# Both bars on one screenshot, taken again until the twin has drawn its bar.
strip="${cw}x$((bar - 2))"
for i in $(seq 1 20); do
    twinshot=$(screenshot window-menu-twin) || exit 1
    convert "$twinshot" -crop "$strip+$cx+$((cy - bar))" +repage "$H_WORK/bar.png" &&
        convert "$twinshot" -crop "$strip+$tx+$((ty - bar))" +repage "$H_WORK/twinbar.png" ||
        fail "the menu bars cannot be cut from the screenshot"
    differing=$(compare -metric AE "$H_WORK/bar.png" "$H_WORK/twinbar.png" null: 2>&1)
    [ "$differing" = 0 ] && break
    sleep 0.25
done
[ "$differing" = 0 ] ||
    fail "the window's menu bar differs from its twin's in $differing pixels (see $H_WORK/bar.png, twinbar.png)"
colours=$(convert "$H_WORK/bar.png" -unique-colors txt:- | grep -c '^[0-9]')
[ "$colours" -ge 2 ] || fail "the menu bar strip of the window is of one colour: nothing is drawn on it"
kill "$twin" 2>/dev/null
rm -f "$twinshot"
pass "the menu bar draws $(echo "$menu" | tr '\n' ' ')"

drive command Y8 1998 || fail "command 1998 cannot be posted"
expect_exit "$y8" 10 "after Exit (1998)"
saved=$(ini_get Global MainWindow) || fail "no MainWindow in section Global of $H_INI after Exit"
expect_placement_value "$saved" "MainWindow after Exit"
[ "$(ini_get Global BgFarbe)" = "$navy" ] || fail "BgFarbe reads \"$(ini_get Global BgFarbe)\" after the run"
pass "Exit ended the process; MainWindow=$saved"
