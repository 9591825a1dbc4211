#!/usr/bin/env bash
# End to end, in a Wine virtual desktop on Xvfb: the program is started with an empty
# file C:\work\f.c on its command line and a short C function is typed into its window
# as a person types it: the header, Enter, Ctrl+# for the brace block, the body; an
# inner block the same way; Ctrl+N for one more line. The caption marks the document
# as changed, a screenshot (kept in <build>/e2e/typing.png) shows text in the first
# rows of the text area and plain background below it, F8 saves (the caption loses
# its marks), Exit (1998) ends the process without a question, and the file then
# holds exactly the typed lines with CR LF ends and no trailing blanks, while f.bak
# beside it is the empty original.
# Usage: test_e2e_typing.sh <win64 build dir> <source dir>
. "$2/tests/lib/wine-harness.sh"
harness_start "$1" "$2" e2e_typing desktop
install_program y8.exe

paper="255 255 224"  # light yellow: the text stays readable on the screenshot
# The first copy takes placement slot 0: a window of 800 x 600 leaves room to see that
# the typed lines stay at the top.
ini_prepare "[Global]" "BgFarbe=$paper" "[Option]" "Indent=2" "[Window]" "Position0=0 1 -1 -1 -1 -1 40 20 840 620"
work=$H_PREFIX/drive_c/work
mkdir -p "$work" && : >"$work/f.c" || fail "cannot create the empty $work/f.c"
name='C:\work\f.c'

# Ctrl with the key right of the US layout's brackets (VK 220) gives the Ctrl
# character 28, the one Ctrl+# gives on the German layout: the brace block.
brace_block="ctrl+#220"

keys=()
# press <key>...: keys for the key list.
press() {
    keys+=("$@")
}
# text <text>: the keys that type the text on the US layout (Xvfb's default, which
# every Wine process of the test reads at its start).
text() {
    local i c
    for ((i = 0; i < ${#1}; i++)); do
        c=${1:i:1}
        case $c in
            [a-z0-9]) keys+=("$c") ;;
            " ") keys+=(space) ;;
            "(") keys+=(shift+9) ;;
            ")") keys+=(shift+0) ;;
            "<") keys+=(shift+#188) ;;
            ">") keys+=(shift+#190) ;;
            "-") keys+=("#189") ;;
            ";") keys+=("#186") ;;
            *) fail "no key for \"$c\" on the US layout" ;;
        esac
    done
}

# Enter with the automatic indentation on and the line-insert mode off (both so at
# start) only moves: onto a blank line the cursor goes to the indentation of the text
# above, onto a line with text to that text's first character. The brace block leaves
# "{" above, the cursor one indentation step (2, set in the ini) in on an empty line,
# "}" below and the former line after it. So the inner block is made on the outer "}"
# line, two columns in.
text "int sign(int n)"; press enter  # onto the blank second line, column 0
press "$brace_block"                 # { / cursor at column 2 / } / the blank line
text "if (n < 0)"; press enter       # onto the outer "}", column 0
press right right "$brace_block"     # the inner block at column 2, cursor at column 4
text "return -1;"; press enter       # onto the inner "}", column 2
press enter                          # onto the outer "}", column 0
press ctrl+n right right             # an empty line before it, cursor at column 2
text "return n > 0;"
expected=$'int sign(int n)\r\n{\r\n  if (n < 0)\r\n  {\r\n    return -1;\r\n  }\r\n  return n > 0;\r\n}\r\n'

# --- start with the file; the loaded document is named after it and unchanged
start_program y8 y8.exe "$name"
wait_window Y8 30
caption=$(drive title Y8) || fail "no caption to read"
[ "$caption" = "$name" ] || fail "after the start with $name the caption is \"$caption\", not \"$name\""
pass "the program shows $name"

# --- type; the program has handled every key when it waits for input again
t0=$(date +%s.%N)
drive keys Y8 "${keys[*]}" || fail "the keys could not be typed into the window (see $H_WORK/y8drive.log)"
drive wait-idle Y8 20 || fail "the program is still busy 20 s after the keys were typed"
caption=$(drive title Y8) || fail "the window went away while keys were typed"
[ "$caption" = "< $name >" ] || fail "after typing the caption is \"$caption\", not \"< $name >\""
pass "typed ${#keys[@]} keys in $(elapsed_since "$t0") s; caption \"$caption\""

# --- the screenshot: text in the first rows of the text area, background below them.
read -r cx cy cw ch < <(drive client-rect Y8) || fail "the client area cannot be read"
[ "${cw:-0}" -ge 300 ] && [ "${ch:-0}" -ge 300 ] || fail "the client area ${cw}x${ch} is too small to look at"
paper_rgb="rgb(${paper// /,})"

# box <image>: the bounding box of the white pixels of a black and white image as
# "width height x y"; status 1 when there are none. The black border keeps the
# trimming from taking a white corner for the background.
box() {
    local found
    found=$(convert "$1" -bordercolor black -border 1 -format '%@' info: 2>>"$H_WORK/convert.log")
    [[ $found =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || return 1
    echo "${BASH_REMATCH[1]} ${BASH_REMATCH[2]} $((BASH_REMATCH[3] - 1)) $((BASH_REMATCH[4] - 1))"
}

# look_at_text: takes the screenshot into $shot and sets $verdict to what is wrong
# with the text on it (empty when nothing is) and $where to the text's place.
look_at_text() {
    verdict= where=
    shot=$(screenshot typing) || exit 1
    # The text area is the background-coloured rectangle inside the client area,
    # which also holds its frame, the scroll bar and the status bar.
    convert "$shot" -crop "${cw}x$ch+$cx+$cy" +repage -fill black +opaque "$paper_rgb" \
        -fill white -opaque "$paper_rgb" "$H_WORK/background.png" || fail "the client area cannot be cut from $shot"
    local tw th tx ty bw bh bx by ink
    read -r tw th tx ty < <(box "$H_WORK/background.png") || { verdict="no text area"; return; }
    [ "$tw" -ge 200 ] && [ "$th" -ge 200 ] || { verdict="the text area is only ${tw}x$th"; return; }
    # Every pixel of the text area that is not background is text (or the caret).
    convert "$shot" -crop "${tw}x$th+$((cx + tx))+$((cy + ty))" +repage -fill white +opaque "$paper_rgb" \
        -fill black -opaque "$paper_rgb" "$H_WORK/ink.png" || fail "the text area cannot be cut from $shot"
    read -r bw bh bx by < <(box "$H_WORK/ink.png") || { verdict="the text area shows no text"; return; }
    ink=$(convert "$H_WORK/ink.png" -format '%[fx:round(mean*w*h)]' info:) || fail "the text pixels cannot be counted"
    where="$ink text pixels in the box ${bw}x$bh+$bx+$by of the ${tw}x$th text area"
    # Eight lines of at least 8 pixels, the longest 15 characters of at least 6 pixels,
    # all of it from the top left corner and within the upper third of the text area.
    if [ "$bx" -gt 8 ] || [ "$by" -gt 8 ]; then verdict="the text does not begin at the top left"
    elif [ "$bw" -lt 90 ] || [ "$bh" -lt 64 ]; then verdict="the text is smaller than 8 typed lines"
    elif [ $((by + bh)) -gt $((th / 3)) ]; then verdict="text reaches further down than 8 lines"
    elif [ "$ink" -lt 300 ]; then verdict="there are too few text pixels"
    fi
}

# Drawing on the X screen may lag behind the program's painting: look again for a while.
for i in $(seq 1 20); do
    look_at_text
    [ -z "$verdict" ] && break
    sleep 0.25
done
[ -z "$verdict" ] || fail "in $shot $verdict ($where)"
pass "$shot shows $where"

# --- F8 saves: the caption loses its marks and the file holds the text
drive keys Y8 f8 || fail "F8 could not be typed"
for i in $(seq 1 100); do
    caption=$(drive title Y8) || fail "the window went away after F8"
    [ "$caption" = "$name" ] && break
    sleep 0.1
done
[ "$caption" = "$name" ] ||
    fail "10 s after F8 the caption is \"$caption\", not \"$name\" (windows: $(drive windows | tr '\n\t' '; '); f.c has $(wc -c <"$work/f.c") bytes)"
pass "F8 saved: caption \"$caption\""

# --- Exit ends the process at once: nothing is left to ask about
drive command Y8 1998 || fail "command 1998 cannot be posted"
if ! wait_exit code "$y8" 10; then
    fail "10 s after Exit (1998) the process still runs (windows: $(drive windows | tr '\n\t' '; '))"
fi
[ "$code" = 0 ] || fail "after Exit (1998) the process ended with exit code $code"
pass "Exit ended the process with code 0"

# --- the file's bytes, and the backup of the empty original
if ! cmp -s <(printf '%s' "$expected") "$work/f.c"; then
    echo "expected:" >&2 && printf '%s' "$expected" | od -c >&2
    echo "found:" >&2 && od -c "$work/f.c" >&2
    fail "$name does not hold the typed function (bytes above)"
fi
pass "$name holds the typed function, $(wc -c <"$work/f.c") bytes with CR LF ends"
[ -f "$work/f.bak" ] || fail "no backup f.bak beside f.c (files: $(ls "$work" | tr '\n' ' '))"
[ ! -s "$work/f.bak" ] || fail "the backup f.bak holds $(wc -c <"$work/f.bak") bytes, not the empty original"
pass "f.bak is the empty original"
