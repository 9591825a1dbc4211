#!/usr/bin/env bash
# End to end, in a Wine virtual desktop on Xvfb with the US layout: the German chords
# of the key table sent as the table's key codes (SendInput): O-umlaut 192, A-umlaut
# 222, minus 189, comma 188, period 190, and the keys that give the Ctrl characters
# 27, 28 and 29 (U-umlaut, #, + on a German keyboard). What each must give is in
# tests/lib/chords.sh.
# Usage: test_e2e_chords.sh <win64 build dir> <source dir>
. "$2/tests/lib/wine-harness.sh"
harness_start "$1" "$2" e2e_chords desktop
install_program y8.exe

chord() {
    local code
    case $1 in
        oe) code=192 ;; ae) code=222 ;; minus) code=189 ;; comma) code=188 ;; period) code=190 ;;
        ue) code=219 ;; hash) code=220 ;; plus) code=221 ;;  # Ctrl+[ \ ] give 27, 28, 29
        *) return 1 ;;
    esac
    drive keys Y8 "ctrl+#$code"
}
. "$2/tests/lib/chords.sh"
