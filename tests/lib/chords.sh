# The German Ctrl chords on the real window, sourced after a chord <oe|ae|ue|plus|hash|minus|
# comma|period> (by the key table's code or as a German user presses it) and an ini with
# "Indent=2", 'Floskeln=C:\work\abk.txt'. Each gives its row: "/*  */", two double quotes,
# "[]", the brace block, the abbreviation's phrase, the boxes "Position" and "Addierer", the
# search list (not the Addierer). Command 1402 with numbers never given out changes nothing.
printf 'wh while (?)\r\n' >"$WORK/abk.txt"
press_chord() {
    keys Y8 "" "$2"
    chord "$1" || fail "$2: the chord could not be pressed"
    drive wait-idle Y8 20 || fail "$2: the program is still busy 20 s later"
}
# expect_box <caption> <what>: a top-level box of that caption appears; it is closed.
box_up() { drive windows | grep -q "	$1\$"; }
expect_box() {
    retry 5 box_up "$1" || fail "$2 showed no box \"$1\" (windows: $(windows_now))"
    drive close '#32770' && wait_gone '#32770' "closing the box \"$1\""
}

open k.c ""
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
save k.c '/*  */\r\n""\r\n[]\r\n{\r\n\r\n}\r\nwhile ()\r\n' "the typing chords and the forged commands 1402"
pass "Ctrl+O-umlaut, Ctrl+A-umlaut, Ctrl++, Ctrl+# and Ctrl+comma typed their rows; 1402 forged did nothing"

press_chord period "Ctrl+period"
expect_box Position "Ctrl+period"
press_chord minus "Ctrl+minus"
expect_box Addierer "Ctrl+minus"
press_chord ue "Ctrl+U-umlaut"
[ "$(panels)" = 1 ] || fail "Ctrl+U-umlaut opened no list panel"
[ "$(count '#32770')" = 0 ] || fail "Ctrl+U-umlaut opened a box: $(windows_now)"
exit_program "$y8" "Ctrl+period, Ctrl+minus and Ctrl+U-umlaut opened Position, the Addierer and the search list"
