# The German Ctrl chords of the key table on the real window, sourced by the end-to-end
# tests that press them on a US keyboard (the table's key codes) and on a German one (as a
# German user presses them). The script defines chord <oe|ae|ue|plus|hash|minus|comma|
# period> (Ctrl with that key) and prepares the ini with "Indent=2" and
# 'Floskeln=C:\work\abk.txt'. Each chord must give what its row of the table gives:
# Ctrl+O-umlaut "/*  */", Ctrl+A-umlaut two double quotes, Ctrl++ "[]", Ctrl+# the brace
# block, Ctrl+comma the abbreviation's phrase, Ctrl+period the box "Position", Ctrl+minus
# the "Addierer", Ctrl+U-umlaut the search list's panel (never the Addierer). Command 1402
# posted with numbers the program never gave out (as any program can) changes nothing.
: >"$WORK/k.c"
printf 'wh while (?)\r\n' >"$WORK/abk.txt"
press_chord() {
    keys Y8 "" "$2"
    chord "$1" || fail "$2: the chord could not be pressed"
    drive wait-idle Y8 20 || fail "$2: the program is still busy 20 s later"
}
# expect_box <caption> <what>: a top-level box of that caption appears; it is closed.
expect_box() {
    local i
    for i in $(seq 50); do drive windows | grep -q "	$1\$" && break; sleep 0.1; done
    drive windows | grep -q "	$1\$" || fail "$2 showed no box \"$1\" (windows: $(windows_now))"
    drive close '#32770' && wait_gone '#32770' "closing the box \"$1\""
}

start_program y8 y8.exe 'C:\work\k.c'
wait_window Y8 "the start with k.c"
press_chord oe "Ctrl+O-umlaut"
keys Y8 "down home" "the second line"
press_chord ae "Ctrl+A-umlaut"
keys Y8 "down home" "the third line"
press_chord plus "Ctrl++"
keys Y8 "down home" "the fourth line"
press_chord hash "Ctrl+#"                 # "{", the cursor two in on an empty line, "}"
keys Y8 "down down home w h" "the abbreviation after the block"
press_chord comma "Ctrl+comma"            # "wh" becomes "while ()", the cursor inside
for forged in 123456789 4096 -1 140737488355328; do
    drive command Y8 1402 "$forged" || fail "command 1402 cannot be posted"
done
keys Y8 f8 "F8"
printf '%s\r\n' "/*  */" '""' "[]" "{" "" "}" "while ()" >"$H_WORK/k.expected"
expect_bytes "$H_WORK/k.expected" "$WORK/k.c" "the typing chords and the forged commands 1402"
pass "Ctrl+O-umlaut, Ctrl+A-umlaut, Ctrl++, Ctrl+# and Ctrl+comma typed their rows; 1402 forged did nothing"

press_chord period "Ctrl+period"
expect_box Position "Ctrl+period"
press_chord minus "Ctrl+minus"
expect_box Addierer "Ctrl+minus"
press_chord ue "Ctrl+U-umlaut"
[ "$(panels)" = 1 ] || fail "Ctrl+U-umlaut opened no list panel"
[ "$(count '#32770')" = 0 ] || fail "Ctrl+U-umlaut opened a box: $(windows_now)"
pass "Ctrl+period, Ctrl+minus and Ctrl+U-umlaut opened Position, the Addierer and the search list"
exit_program "$y8" "Exit after the chords"
