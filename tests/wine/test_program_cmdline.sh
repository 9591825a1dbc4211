#!/usr/bin/env bash
# Command lines, headless: with a file name, with options and a file, with a quoted
# name holding a blank, and with more words and characters than the command line
# table holds, the program starts, handles the commands it posted itself at start-up
# (Exit is posted after them and is handled after them) and ends with code 0.
# Usage: test_program_cmdline.sh <win64 build dir> <source dir>
. "$2/tests/lib/wine-harness.sh"
harness_start "$1" "$2" program_cmdline headless
install_program y8.exe

texts=$H_PREFIX/drive_c/texte
mkdir -p "$texts"
for name in probe.txt "mit blank.txt"; do
    for i in $(seq 1 40); do printf 'Zeile %d von %s\r\n' "$i" "$name"; done >"$texts/$name"
done

# run_with <what> <arguments...>: one start with those words; the program must show its
# window, stay up, and end with code 0 on Exit.
run_with() {
    local what=$1 pid
    shift
    start_program pid y8.exe "$@"
    wait_window Y8 20
    local caption
    caption=$(drive title Y8) || fail "$what: the window went away"
    drive command Y8 1998 || fail "$what: command 1998 cannot be posted"
    expect_exit "$pid" 10 "$what"
    pass "$what: started (caption \"$caption\") and ended with code 0"
}

run_with "a file name" 'C:\texte\probe.txt'
run_with "start line, search text and a file" -l:3 -s:Zeile -f:'C:\texte\probe.txt'
# One word with a blank: Wine puts it in double quotes on the program's command line.
run_with "a quoted name with a blank" 'C:\texte\mit blank.txt'

# Thirty words that are all ignored (an unknown option letter) and one word of 1500
# characters: more than the 20 words and 1000 characters the program keeps.
many=()
for i in $(seq 1 30); do many+=("-q$i"); done
run_with "30 ignored words" "${many[@]}"
run_with "a word of 1500 characters" "-q$(printf 'x%.0s' $(seq 1 1500))"
