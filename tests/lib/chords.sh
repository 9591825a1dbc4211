# The German Ctrl chords of the key table on the real window, shared by the end-to-end
# tests that press them on a US keyboard (the table's key codes) and on a German one
# (the keys as a German user presses them). Sourced after harness_start by a script that
# defines chord <oe|ae|ue|plus|hash|minus|comma|period>: presses Ctrl with that key.
# Every chord must give exactly what its row of the key table gives:
#   Ctrl+O-umlaut "/*  */", Ctrl+A-umlaut two double quotes, Ctrl++ "[]", Ctrl+# the
#   brace block, Ctrl+comma the abbreviation's phrase, Ctrl+period the box "Position",
#   Ctrl+minus the box "Addierer", Ctrl+U-umlaut the search list's panel (never the
#   Addierer). Between them command 1402 is posted with numbers the program never gave
#   out, as any program on the desktop can: the program lives on and types nothing.
# The typed lines are saved with F8 and compared byte for byte.

ini_prepare "[Option]" "Indent=2" "[Installation]" 'Floskeln=C:\work\abk.txt' \
    "[Window]" "Position0=0 1 -1 -1 -1 -1 40 20 840 620"
work=$H_PREFIX/drive_c/work
mkdir -p "$work" && : >"$work/k.c" || fail "cannot create $work/k.c"
printf 'wh while (?)\r\n' >"$work/abk.txt" || fail "cannot write the abbreviation list"
name='C:\work\k.c'
tab=$'\t'

# keys <keylist> <what>: sent to the main window (which comes to the front), then
# waited for.
keys() {
    drive keys Y8 "$1" || fail "$2: the keys \"$1\" could not be typed (see $H_WORK/y8drive.log)"
    settle "$2"
}
settle() {
    drive wait-idle Y8 20 || fail "$1: the program is still busy 20 s later"
}
# press_chord <key> <what>: the main window to the front, the chord, waited for.
press_chord() {
    keys "" "$2"
    chord "$1" || fail "$2: the chord could not be pressed"
    settle "$2"
}
windows_now() { drive windows | tr '\n\t' '; '; }
panels() { drive children Y8 | grep -c '#32770'; }
# expect_box <caption> <what>: a top-level box of that caption appears; it is closed.
expect_box() {
    local i
    for i in $(seq 1 50); do
        drive windows | grep -q "${tab}$1\$" && break
        sleep 0.1
    done
    drive windows | grep -q "${tab}$1\$" || fail "$2 showed no box \"$1\" (windows: $(windows_now))"
    drive close '#32770' || fail "the box \"$1\" cannot be closed"
    for i in $(seq 1 50); do
        drive windows | grep -q "${tab}$1\$" || return 0
        sleep 0.1
    done
    fail "the box \"$1\" is still open (windows: $(windows_now))"
}

start_program y8 y8.exe "$name"
wait_window Y8 30
expect_caption "$name" "after the start"

# --- The chords that type: each on its own line.
press_chord oe "Ctrl+O-umlaut"
keys "down home" "to the second line"
press_chord ae "Ctrl+A-umlaut"
keys "down home" "to the third line"
press_chord plus "Ctrl++"
keys "down home" "to the fourth line"
press_chord hash "Ctrl+#"                 # "{", the cursor two in on an empty line, "}"
keys "down down home w h" "the abbreviation after the block"
press_chord comma "Ctrl+comma"            # "wh" becomes "while ()", the cursor inside

# --- Command 1402 with numbers the program never gave out: nothing happens.
for forged in 123456789 4096 -1 140737488355328; do
    drive command Y8 1402 "$forged" || fail "command 1402 cannot be posted"
done
settle "the forged commands 1402"
is_running "$y8" || fail "the program ended after command 1402 was posted with a forged number"
expect_caption "< $name >" "after the forged commands 1402"
pass "command 1402 with four forged numbers: the program lives on"

keys f8 "F8"
expect_caption "$name" "after F8"
printf '%s\r\n' "/*  */" '""' "[]" "{" "" "}" "while ()" >"$H_WORK/k.expected"
expect_bytes "$H_WORK/k.expected" "$work/k.c" "after the typing chords"
pass "Ctrl+O-umlaut, Ctrl+A-umlaut, Ctrl++, Ctrl+# and Ctrl+comma typed what their rows type"

# --- The chords that open boxes and panels.
press_chord period "Ctrl+period"
expect_box Position "Ctrl+period"
press_chord minus "Ctrl+minus"
expect_box Addierer "Ctrl+minus"
press_chord ue "Ctrl+U-umlaut"
[ "$(panels)" = 1 ] || fail "Ctrl+U-umlaut opened no list panel (children: $(drive children Y8 | tr '\n\t' '; '))"
! drive windows | grep -q "${tab}Addierer\$" || fail "Ctrl+U-umlaut opened the Addierer"
pass "Ctrl+period, Ctrl+minus and Ctrl+U-umlaut opened the position box, the Addierer and the search list"

drive command Y8 1998 || fail "command 1998 cannot be posted"
wait_exit code "$y8" 10 || fail "10 s after Exit (1998) the process still runs (windows: $(windows_now))"
[ "$code" = 0 ] || fail "after Exit (1998) the process ended with exit code $code"
