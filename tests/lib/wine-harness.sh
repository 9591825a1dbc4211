# Sourced by the tests that run the real program under Wine (tests/wine/*.sh headless,
# tests/e2e/*.sh in a virtual desktop on Xvfb): harness_start "$1" "$2" <name> headless|desktop
# [X layout] gives a fresh copy of a template prefix with y8.exe and y8drive in C:\y8, an Xvfb
# and a watchdog (HARNESS_BUDGET s). At exit all it started ends and the prefix goes; the logs
# in <build>/program-tests/<name>.<pid> stay when the test failed.
set -u -o pipefail

HARNESS_WINE=$("${2:-.}/scripts/wine-loader" "${1:-.}/y8.exe" 2>/dev/null || echo /usr/lib/wine/wine64)
if [ "$HARNESS_WINE" = /usr/lib/wine/wine ]; then "${2:-.}/scripts/runs-32bit" || exit; fi
HARNESS_BUDGET=${HARNESS_BUDGET:-95}
H_NAME=program H_WORK= H_PREFIX= H_XVFB_PID= H_WATCHDOG_PID= H_LAST_LOG=
H_PIDS=()
H_STARTED=$(date +%s.%N)

fail() {
    echo "FAIL: $H_NAME: $*" >&2
    exit 1
}
pass() { echo "ok: $*"; }
elapsed() { awk -v a="$H_STARTED" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }'; }
windows_now() { drive windows | tr '\n\t' '; '; }

# retry <seconds> <command...>: the command again and again until it succeeds; 1 if never.
retry() {
    local end=$((SECONDS + $1))
    until "${@:2}"; do
        [ "$SECONDS" -lt "$end" ] || return 1
        sleep 0.1
    done
}

harness_start() {
    H_BUILD=$(cd "$1" && pwd) && H_SRC=$(cd "$2" && pwd) || fail "no folder $1 or $2"
    H_NAME=$3
    H_WORK=$H_BUILD/program-tests/$H_NAME.$$
    H_PREFIX=$H_WORK/prefix
    H_INI=$H_PREFIX/drive_c/windows/Y8.ini
    H_PROGDIR=$H_PREFIX/drive_c/y8
    WORK=$H_PREFIX/drive_c/work
    trap harness_cleanup EXIT
    trap 'fail "the time budget of $HARNESS_BUDGET s ran out"' TERM
    trap 'fail "interrupted"' INT
    local script=$$ dir template=$(dirname "$H_BUILD")/wineprefix
    {   # the watchdog: TERM to the script and to the command it waits for
        sleep "$HARNESS_BUDGET"
        kill -TERM "$script" $(ps -o pid= --ppid "$script" | grep -vw "$BASHPID")
    } </dev/null >/dev/null 2>&1 &
    H_WATCHDOG_PID=$!
    for dir in "$H_BUILD/program-tests/$H_NAME".*; do  # the logs of earlier runs
        [ "${dir##*.}" = $$ ] || kill -0 "${dir##*.}" 2>/dev/null || rm -rf "$dir"
    done
    mkdir -p "$H_WORK" "$H_BUILD/e2e" || fail "cannot create $H_WORK"
    if [ "$4" = headless ]; then
        unset DISPLAY WAYLAND_DISPLAY
    else
        template+=-desktop
        Xvfb -displayfd 3 -screen 0 1024x768x24 -noreset -nolisten tcp 3>"$H_WORK/display" </dev/null \
            >"$H_WORK/xvfb.log" 2>&1 &
        H_XVFB_PID=$!
        retry 10 test -s "$H_WORK/display" || fail "Xvfb did not start (see $H_WORK/xvfb.log)"
        export DISPLAY=:$(tr -dc 0-9 <"$H_WORK/display")
        # Each Wine process reads the X layout when it starts.
        [ -z "${5:-}" ] || timeout -k 2 10 setxkbmap -layout "$5" || fail "setxkbmap cannot set the layout $5"
    fi
    WINEPREFIX=$template timeout -k 5 90 "$H_SRC/scripts/wine-prefix" ${4#headless} ||
        fail "the template prefix $template cannot be prepared"
    mkdir -p "$H_PREFIX" && cp -a --reflink=auto "$template/." "$H_PREFIX/" || fail "cannot copy $template"
    rm -f "$H_PREFIX"/drive_c/windows/[Yy]8.[Ii][Nn][Ii]  # settings of other tests
    mkdir -p "$H_PROGDIR" "$WORK"
    cp "$H_BUILD/y8.exe" "$H_BUILD/y8drive.exe" "$H_PROGDIR/" || fail "y8.exe and y8drive.exe are not built"
    export WINEPREFIX=$H_PREFIX WINEDEBUG=-all
    # The first Wine process starts the server (not holding the script's pipes); one waiting
    # for a window that never comes keeps the server and the desktop warm.
    timeout -k 5 60 "$HARNESS_WINE" 'C:\y8\y8drive.exe' windows </dev/null >"$H_WORK/wine-start.log" 2>&1 ||
        fail "Wine does not start in $H_PREFIX (see $H_WORK/wine-start.log)"
    "$HARNESS_WINE" 'C:\y8\y8drive.exe' wait-window None "$HARNESS_BUDGET" </dev/null >/dev/null 2>&1 &
    H_PIDS+=("$!")
}

harness_cleanup() {
    local status=$?
    trap - EXIT TERM INT
    {
        kill -KILL "${H_PIDS[@]}" $H_WATCHDOG_PID
        if [ -d "$H_PREFIX" ]; then
            timeout -k 1 5 /usr/lib/wine/wineserver64 -k
            timeout -k 1 5 /usr/lib/wine/wineserver64 -w
        fi
        [ -z "$H_XVFB_PID" ] || kill -TERM "$H_XVFB_PID"
        wait
    } >/dev/null 2>&1
    if [ -n "$H_PREFIX" ] && [ "${HARNESS_KEEP:-0}" != 1 ]; then
        rm -rf "$H_PREFIX"
        [ "$status" != 0 ] || rm -rf "$H_WORK"
    fi
    [ "$status" = 0 ] && echo "PASS: $H_NAME in $(elapsed) s" || echo "$H_NAME failed after $(elapsed) s: $H_WORK" >&2
    exit "$status"
}

# start_program <pid variable> <exe> [arguments...]: in the background, output in $H_LAST_LOG.
start_program() {
    local _var=$1 _exe=$2
    shift 2
    H_LAST_LOG=$H_WORK/${_exe%.exe}.${#H_PIDS[@]}.log
    WINEDEBUG=${HARNESS_DEBUG:--all} "$HARNESS_WINE" "C:\\y8\\$_exe" "$@" </dev/null >"$H_LAST_LOG" 2>&1 &
    H_PIDS+=("$!")
    printf -v "$_var" '%s' "$!"
}

# expect_exit <pid> <what>: the process ends within 10 s with code 0.
gone() { ! kill -0 "$1" 2>/dev/null; }
expect_exit() {
    local code=0
    retry 10 gone "$1" || fail "$2: the process still runs after 10 s (windows: $(windows_now))"
    wait "$1" || code=$?
    [ "$code" = 0 ] || fail "$2: the process ended with exit code $code"
}

# exit_program <pid> <what>: Exit (1998) with nothing left to ask ends the process: done.
exit_program() {
    drive command Y8 1998 || fail "$2: command 1998 cannot be posted"
    expect_exit "$1" "Exit after $2"
    pass "$2"
}

# drive <arguments...>: y8drive (tests/tools/y8drive.cpp), bounded in time.
drive() {
    local limit=20
    [[ ${1:-} == wait-* ]] && limit=$((${3%.*} + 10))
    [ "${1:-}" != type ] || limit=40
    timeout -k 2 "$limit" "$HARNESS_WINE" 'C:\y8\y8drive.exe' "$@" </dev/null 2>>"$H_WORK/y8drive.log" | tr -d '\r'
}

# keys <class> <keylist> <what>: typed into the window; the program has handled them.
keys() {
    drive keys "$1" "$2" || fail "$3: the keys \"$2\" could not be typed (see $H_WORK/y8drive.log)"
    drive wait-idle Y8 20 || fail "$3: the program is still busy 20 s after the keys"
}

# wait_window <class> <what>: a window of the class within 30 s, its program idle (done with
# what it posted itself at start-up).
wait_window() {
    drive wait-window "$1" 30 || fail "$2: no window of class $1 within 30 s (windows: $(windows_now))"
    drive wait-idle "$1" 30 || fail "$2: the program of window $1 does not wait for input"
}

# wait_gone <class> <what>: no window of the class within 10 s; the program is idle.
wait_gone() {
    drive wait-gone "$1" 10 || fail "$2: the window $1 is still there after 10 s (windows: $(windows_now))"
    [ "$1" = Y8 ] || drive wait-idle Y8 20 || fail "$2: the program is still busy 20 s later"
}

count() { drive windows | grep -c "^$1	"; }
panels() { drive children Y8 | grep -c '^#32770'; }

# box_says <fragment> <what>: within 10 s a box (#32770) whose controls show the fragment.
box_text() { drive children '#32770' 2>/dev/null | tr '\t\n' ' ;'; }
box_has() { box_text | grep -qF -- "$1"; }
box_says() {
    retry 10 box_has "$1" ||
        fail "$2: no box says \"$(iconv -f CP1252 -t UTF-8 <<<"$1")\" (box: $(box_text | iconv -f CP1252 -t UTF-8))"
}

# file_box <path> <what>: the open or save box takes the path (C:\ a-z 0-9 \ . -) and Enter.
file_box() {
    local keys
    keys=$(sed 's/./& /g; s/\\/#220/g; s/\./#190/g; s/-/#189/g' <<<"${1:2}")
    wait_window '#32770' "$2"
    drive keys '#32770' "end shift+home del shift+c shift+#186 $keys enter" || fail "$2: the path could not be typed"
}

# expect_caption <caption> <what>: the main window's caption within 10 s.
caption_is() { [ "$(drive title Y8)" = "$1" ]; }
expect_caption() {
    retry 10 caption_is "$1" || fail "$2: the caption is \"$(drive title Y8)\", not \"$1\""
}

# ini_get <section> <key>: the value as the profile functions read it (names without case).
ini_get() {
    [ -f "$H_INI" ] && tr -d '\r' <"$H_INI" | awk -F ' *= *' -v section="[${1,,}]" -v key="${2,,}" '
        /^\[/ { inside = tolower($0) == section }
        inside && tolower($1) == key { print $2; found = 1; exit }
        END { exit !found }'
}
ini_prepare() { printf '%s\r\n' "$@" >"$H_INI" || fail "cannot write $H_INI"; }

# expect_bytes <expected file> <found file> <what>: fails with both dumps unless equal.
expect_bytes() {
    cmp -s "$1" "$2" && return 0
    diff <(od -An -c "$1") <(od -An -c "$2") | head -n 20 >&2
    fail "$3: $(basename "$2") does not hold the expected bytes (od -c above: < expected, > found)"
}

# open <file> <content (printf format)> [option...]: C:\work\<file> ($name) and its .orig in
# $H_WORK, the program started on it ($y8).
open() {
    printf "$2" | tee "$WORK/$1" >"$H_WORK/$1.orig"
    name="C:\\work\\$1"
    start_program y8 y8.exe "${@:3}" "$name"  # options before the name
    wait_window Y8 "the start with $1"
    expect_caption "$name" "the start with $1"
}
# save <file> <expected (printf format)> <what>: F8; the file holds the bytes.
save() {
    printf "$2" >"$H_WORK/$1.expected"
    keys Y8 f8 "F8 $3"
    expect_caption "C:\\work\\$1" "after F8 $3"
    expect_bytes "$H_WORK/$1.expected" "$WORK/$1" "$3"
}
spell() { sed 's/ /_/g; s/./& /g; s/_/space/g' <<<"$1"; }  # a-z, 0-9 and blanks as keys

# expect_clipboard <bytes> <what>: within 5 s the clipboard holds exactly the bytes.
clipboard_is() {  # not through drive: the bytes as they are, CR included
    timeout -k 2 20 "$HARNESS_WINE" 'C:\y8\y8drive.exe' clipboard </dev/null >"$H_WORK/clip.got" 2>/dev/null &&
        cmp -s "$H_WORK/clip.want" "$H_WORK/clip.got"
}
expect_clipboard() {
    printf '%s' "$1" >"$H_WORK/clip.want"
    retry 5 clipboard_is || expect_bytes "$H_WORK/clip.want" "$H_WORK/clip.got" "$2: the clipboard"
}

# typed <what> <keylist>...: each list of keys for the text window, which keeps the focus, sent once the
# program has handled all before (docs/TESTING.md: it lags under load, and a chord may lose its Alt).
typed() {
    local list
    for list in "${@:2}"; do
        drive type Y8 "$list" || fail "$1: the keys \"$list\" were not handled within 20 s (see $H_WORK/y8drive.log)"
    done
}

# copies <keys> <bytes> <what>: the keys (Ctrl+C, Ctrl+X...) put exactly the bytes on the clipboard.
copies() {
    keys Y8 "$1" "$3"
    expect_clipboard "$2" "$3"
}

# screenshot <name>: the virtual screen into <build>/e2e/<name>.png; prints the path.
screenshot() {
    local file=$H_BUILD/e2e/$1.png
    timeout -k 2 20 import -display "$DISPLAY" -window root "$file" 2>>"$H_WORK/import.log" || fail "no screenshot"
    echo "$file"
}

# colour_box <file> <left> <top> <width> <height> <r g b>: where the pixels of that colour lie
# in the rectangle: "width height x y count" from its corner; status 1 when there are none.
colour_box() {
    local mask=$H_WORK/mask.png found count
    convert "$1" -crop "${4}x$5+$2+$3" +repage -fill black +opaque "rgb(${6// /,})" -fill white \
        -opaque "rgb(${6// /,})" "$mask" 2>>"$H_WORK/convert.log" || return 1
    # The black border keeps the trimming from taking a white corner for the background.
    found=$(convert "$mask" -bordercolor black -border 1 -format '%@' info: 2>>"$H_WORK/convert.log")
    count=$(convert "$mask" -format '%[fx:round(mean*w*h)]' info: 2>>"$H_WORK/convert.log")
    [[ $found =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] && [ "${count:-0}" -gt 0 ] || return 1
    echo "${BASH_REMATCH[1]} ${BASH_REMATCH[2]} $((BASH_REMATCH[3] - 1)) $((BASH_REMATCH[4] - 1)) $count"
}

# pointer_at <class> <move|down|up|click|dblclick|rclick> <x> <y>: the X pointer (xdotool) at
# the client point, then the action (a pointer set from inside Wine is moved back by X).
pointer_is() { [ "$(xdotool getmouselocation | cut -d' ' -f1-2)" = "$1" ]; }
pointer_at() {
    local left top width height
    read -r left top width height < <(drive client-rect "$1") || fail "no window of class $1 to point at"
    xdotool mousemove $((left + $3)) $((top + $4))
    retry 2 pointer_is "x:$((left + $3)) y:$((top + $4))" || fail "the pointer does not reach $3,$4 of $1"
    case $2 in
        down | up) xdotool "mouse$2" 1 ;;
        click) xdotool click 1 ;;
        dblclick) xdotool click --repeat 2 --delay 40 1 ;;
        rclick) xdotool click 3 ;;
    esac || fail "xdotool could not $2 at $3,$4 of $1"
}
