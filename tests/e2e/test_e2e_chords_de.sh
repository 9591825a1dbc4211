#!/usr/bin/env bash
# End to end with the German X layout (set before Wine starts): the chords of tests/lib/chords.sh
# as real X key events (xdotool), which Wine reports with the codes of the keys' US positions
# and without a Ctrl character for Ctrl+# and Ctrl++: each must still give its row.
# Usage: test_e2e_chords_de.sh <win64 build dir> <source dir>
. "$2/tests/lib/wine-harness.sh"
harness_start "$1" "$2" e2e_chords_de desktop de
ini_prepare "[Option]" "Indent=2" "[Installation]" 'Floskeln=C:\work\abk.txt' \
    "[Window]" "Position0=0 1 -1 -1 -1 -1 40 20 840 620"
chord() {
    local -A key=([oe]=odiaeresis [ae]=adiaeresis [ue]=udiaeresis [plus]=plus [hash]=numbersign [minus]=minus
        [comma]=comma [period]=period)
    pointer_at Y8 move 300 200  # the X keyboard follows the pointer (no window manager)
    timeout -k 2 10 xdotool key "ctrl+${key[$1]}"
}
. "$2/tests/lib/chords.sh"
