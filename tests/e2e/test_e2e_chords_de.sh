#!/usr/bin/env bash
# End to end, in a Wine virtual desktop on Xvfb with the German X layout (set before
# Wine starts): the German chords pressed as a German user presses them, as real X key
# events (xdotool) into the desktop. Wine reports these keys with the codes of their
# US positions and brings no Ctrl character for Ctrl+# and Ctrl++; each chord must
# still give exactly what the same row gives from its key code (tests/lib/chords.sh,
# shared with test_e2e_chords.sh).
# Usage: test_e2e_chords_de.sh <win64 build dir> <source dir>
. "$2/tests/lib/wine-harness.sh"
harness_start "$1" "$2" e2e_chords_de desktop de
install_program y8.exe
command -v xdotool >/dev/null || fail "xdotool is not installed"

chord() {
    local key
    case $1 in
        oe) key=odiaeresis ;; ae) key=adiaeresis ;; ue) key=udiaeresis ;; plus) key=plus ;;
        hash) key=numbersign ;; minus) key=minus ;; comma) key=comma ;; period) key=period ;;
        *) return 1 ;;
    esac
    # The X keyboard follows the pointer (no window manager): keep it over the window.
    pointer_at Y8 move 300 200
    timeout -k 2 10 xdotool key "ctrl+$key"
}
. "$2/tests/lib/chords.sh"
