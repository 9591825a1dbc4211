# Shared by the tests that run the real program under Wine (tests/wine/*.sh headless,
# tests/e2e/*.sh in a Wine virtual desktop on Xvfb). Sourced, never run:
#
#   . "$2/tests/lib/wine-harness.sh"
#   harness_start "$1" "$2" <name> headless|desktop [X keyboard layout]
#
# The test gets a fresh Wine prefix (a copy of a template prepared once with
# scripts/wine-prefix) with y8.exe and the tools (tests/tools) in C:\y8, its own Xvfb for
# a desktop test, and a watchdog: the script ends within HARNESS_BUDGET seconds. At exit
# every process it started, the prefix's wineserver and Xvfb are ended and the prefix is
# removed; the logs in <build>/program-tests/<name>.<pid> stay when the test failed.
# A failed check calls fail: "FAIL: <test>: <why>" on stderr, exit status 1.
set -u -o pipefail

HARNESS_WINE=/usr/lib/wine/wine64
HARNESS_BUDGET=${HARNESS_BUDGET:-95}
H_NAME=program H_WORK= H_PREFIX= H_XVFB_PID= H_WATCHDOG_PID= H_LAST_LOG=
H_PIDS=()
H_STARTED=$(date +%s.%N)

fail() {
    echo "FAIL: $H_NAME: $*" >&2
    exit 1
}
pass() { echo "ok: $*"; }
elapsed_since() { awk -v a="$1" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }'; }
windows_now() { drive windows | tr '\n\t' '; '; }

harness_start() {
    H_BUILD=$(cd "$1" && pwd) || fail "no build folder $1"
    H_SRC=$(cd "$2" && pwd) || fail "no source folder $2"
    H_NAME=$3
    H_WORK=$H_BUILD/program-tests/$H_NAME.$$
    H_PREFIX=$H_WORK/prefix
    H_INI=$H_PREFIX/drive_c/windows/Y8.ini
    H_PROGDIR=$H_PREFIX/drive_c/y8
    WORK=$H_PREFIX/drive_c/work
    trap harness_cleanup EXIT
    trap 'fail "the time budget of $HARNESS_BUDGET s ran out"' TERM
    trap 'fail "interrupted"' INT
    local script_pid=$$ dir template=$(dirname "$H_BUILD")/wineprefix
    {   # the watchdog: TERM to the script and to the command it waits for
        sleep "$HARNESS_BUDGET"
        kill -TERM "$script_pid" $(ps -o pid= --ppid "$script_pid")
    } </dev/null >/dev/null 2>&1 &
    H_WATCHDOG_PID=$!
    for dir in "$H_BUILD/program-tests/$H_NAME".*; do  # work folders of runs that ended
        [ -d "$dir" ] && [ "${dir##*.}" != $$ ] && ! kill -0 "${dir##*.}" 2>/dev/null && rm -rf "$dir"
    done
    mkdir -p "$H_WORK" "$H_BUILD/e2e" || fail "cannot create $H_WORK"
    if [ "$4" = headless ]; then
        unset DISPLAY WAYLAND_DISPLAY
    else
        template+=-desktop
        harness_start_xvfb
        [ -z "${5:-}" ] || timeout -k 2 10 setxkbmap -layout "$5" || fail "setxkbmap cannot set the layout $5"
    fi
    WINEPREFIX=$template timeout -k 5 90 "$H_SRC/scripts/wine-prefix" ${4#headless} ||
        fail "the template prefix $template cannot be prepared"
    mkdir -p "$H_PREFIX" && cp -a --reflink=auto "$template/." "$H_PREFIX/" || fail "cannot copy $template"
    rm -f "$H_PREFIX"/drive_c/windows/[Yy]8.[Ii][Nn][Ii]  # settings of other tests
    mkdir -p "$H_PROGDIR" "$WORK"
    export WINEPREFIX=$H_PREFIX WINEDEBUG=-all
    for tool in y8.exe y8drive.exe y8ddeclient.exe; do
        cp "$H_BUILD/$tool" "$H_PROGDIR/" || fail "$tool is not built in $H_BUILD"
    done
    # The first Wine process starts the server; it must not hold the script's pipes. A
    # long-lived one (waiting for a window that never comes) keeps server and desktop warm.
    timeout -k 5 60 "$HARNESS_WINE" 'C:\y8\y8drive.exe' windows </dev/null >"$H_WORK/wine-start.log" 2>&1 ||
        fail "Wine does not start in $H_PREFIX (see $H_WORK/wine-start.log)"
    "$HARNESS_WINE" 'C:\y8\y8drive.exe' wait-window Y8Never "$HARNESS_BUDGET" </dev/null >/dev/null 2>&1 &
    H_PIDS+=("$!")
    echo "prefix ready after $(elapsed_since "$H_STARTED") s"
}

# Xvfb on a display number of its own choosing (-displayfd), ready when it says so.
harness_start_xvfb() {
    local fdfile=$H_WORK/xvfb.display i
    : >"$fdfile"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -noreset -nolisten tcp 3>"$fdfile" </dev/null >"$H_WORK/xvfb.log" 2>&1 &
    H_XVFB_PID=$!
    for i in $(seq 100); do
        [ -s "$fdfile" ] && break
        sleep 0.1
    done
    [ -s "$fdfile" ] || fail "Xvfb did not report a display within 10 s (see $H_WORK/xvfb.log)"
    export DISPLAY=:$(tr -dc 0-9 <"$fdfile")
}

harness_cleanup() {
    local status=$? pid
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
        [ "$status" = 0 ] && rm -rf "$H_WORK"
    fi
    [ "$status" = 0 ] && echo "PASS: $H_NAME in $(elapsed_since "$H_STARTED") s" ||
        echo "$H_NAME failed after $(elapsed_since "$H_STARTED") s; logs in $H_WORK" >&2
    exit "$status"
}

# start_program <variable> <exe> [arguments...]: C:\y8\<exe> in the background, its output
# in <work>/<exe>.<n>.log; the variable receives the pid. HARNESS_DEBUG: its WINEDEBUG.
start_program() {
    local _var=$1 _exe=$2
    shift 2
    H_LAST_LOG=$H_WORK/${_exe%.exe}.${#H_PIDS[@]}.log
    WINEDEBUG=${HARNESS_DEBUG:--all} "$HARNESS_WINE" "C:\\y8\\$_exe" "$@" </dev/null >"$H_LAST_LOG" 2>&1 &
    H_PIDS+=("$!")
    printf -v "$_var" '%s' "$!"
}

# expect_exit <pid> <what>: the process ends within 10 s with code 0.
expect_exit() {
    local i code=0
    for i in $(seq 200); do
        kill -0 "$1" 2>/dev/null || break
        sleep 0.05
    done
    kill -0 "$1" 2>/dev/null && fail "$2: the process still runs after 10 s (windows: $(windows_now))"
    wait "$1" || code=$?
    [ "$code" = 0 ] || fail "$2: the process ended with exit code $code"
}

# exit_program <pid> <what>: Exit (1998) with nothing left to ask: the process ends.
exit_program() {
    drive command Y8 1998 || fail "$2: command 1998 cannot be posted"
    expect_exit "$1" "$2"
}

# drive <arguments...>: y8drive (tests/tools/y8drive.cpp), bounded in time.
drive() {
    local limit=20
    [[ ${1:-} == wait-* ]] && limit=$((${3%.*} + 10))
    timeout -k 2 "$limit" "$HARNESS_WINE" 'C:\y8\y8drive.exe' "$@" </dev/null 2>>"$H_WORK/y8drive.log" | tr -d '\r'
}

# keys <class> <keylist> <what>: typed into the window; the program has handled them.
keys() {
    drive keys "$1" "$2" || fail "$3: the keys \"$2\" could not be typed (see $H_WORK/y8drive.log)"
    drive wait-idle Y8 20 || fail "$3: the program is still busy 20 s after the keys"
}

# wait_window <class> <what>: a visible window of the class within 30 s whose program then
# waits for input (it has handled the commands it posted itself at start-up).
wait_window() {
    drive wait-window "$1" 30 || fail "$2: no window of class $1 within 30 s (windows: $(windows_now))"
    drive wait-idle "$1" 30 || fail "$2: the program of window $1 does not wait for input"
}

# wait_gone <class> <what>
wait_gone() {
    drive wait-gone "$1" 10 || fail "$2: the window $1 is still there after 10 s (windows: $(windows_now))"
    [ "$1" = Y8 ] || drive wait-idle Y8 20 || fail "$2: the program is still busy 20 s later"
}

# count <class>: the number of visible top-level windows of the class.
count() { drive windows | grep -c "^$1	"; }
panels() { drive children Y8 | grep -c '^#32770'; }

# box_says <fragment> <what>: within 10 s a box (class #32770) whose controls show the
# fragment (Windows-1252).
box_says() {
    local i texts=
    for i in $(seq 50); do
        texts=$(drive children '#32770' 2>/dev/null | tr '\t\n' ' ;') && grep -qF -- "$1" <<<"$texts" && return 0
        sleep 0.2
    done
    fail "$2: no box says \"$(iconv -f CP1252 -t UTF-8 <<<"$1")\" (box: $(iconv -f CP1252 -t UTF-8 <<<"$texts"))"
}

# file_box <path> <what>: the open or save box asked for takes the path (C:\ and lower-case
# letters, digits, '\', '.', '-' typed on the US layout) and Enter.
file_box() {
    local p=$1 list="end shift+home del shift+c shift+#186" i
    for ((i = 2; i < ${#p}; i++)); do
        case ${p:i:1} in '\') list+=" #220" ;; .) list+=" #190" ;; -) list+=" #189" ;; *) list+=" ${p:i:1}" ;; esac
    done
    wait_window '#32770' "$2"
    drive keys '#32770' "$list enter" || fail "$2: the path could not be typed"
}

# expect_caption <caption> <what>: the main window's caption within 10 s.
expect_caption() {
    local i caption=
    for i in $(seq 100); do
        caption=$(drive title Y8) || fail "$2: the main window went away"
        [ "$caption" = "$1" ] && return 0
        sleep 0.1
    done
    fail "$2: the caption is \"$caption\", not \"$1\" (windows: $(windows_now))"
}

# ini_get <section> <key>: the value as the profile functions read it; status 1 if missing.
ini_get() {
    [ -f "$H_INI" ] && awk -v section="$1" -v key="$2" '
        function trim(s) { gsub(/^[ \t]+|[ \t]+$/, "", s); return s }
        { sub(/\r$/, "") }
        /^[ \t]*\[/ { name = $0; gsub(/^[ \t]*\[|\].*$/, "", name); inside = tolower(trim(name)) == tolower(section); next }
        inside && index($0, "=") && tolower(trim(substr($0, 1, index($0, "=") - 1))) == tolower(key) {
            print trim(substr($0, index($0, "=") + 1)); found = 1; exit
        }
        END { exit !found }' "$H_INI"
}

# ini_prepare <line>...: the settings file the program will find, CR LF lines.
ini_prepare() { printf '%s\r\n' "$@" >"$H_INI" || fail "cannot write $H_INI"; }

# expect_placement <value> <what> [l t r b]: ten numbers, the normal rectangle non-empty
# (and, when given, exactly that one).
expect_placement() {
    local n=($1)
    [[ $1 =~ ^-?[0-9]+( -?[0-9]+){9}$ ]] && [ "${n[8]}" -gt "${n[6]}" ] && [ "${n[9]}" -gt "${n[7]}" ] ||
        fail "$2 is not a placement: \"$1\""
    [ -z "${3:-}" ] || [ "${n[*]:6:4}" = "$3" ] || fail "$2 is \"$1\", not at $3"
}

# expect_bytes <expected file> <found file> <what>: fails with both dumps unless equal.
expect_bytes() {
    cmp -s "$1" "$2" && return 0
    diff <(od -An -c "$1") <(od -An -c "$2") | head -n 20 >&2
    fail "$3: $(basename "$2") does not hold the expected bytes (od -c above: < expected, > found)"
}

# expect_clipboard <bytes> <what>: within 5 s the clipboard holds exactly the bytes.
expect_clipboard() {
    local i
    printf '%s' "$1" >"$H_WORK/clip.want"
    for i in $(seq 25); do
        timeout -k 2 20 "$HARNESS_WINE" 'C:\y8\y8drive.exe' clipboard </dev/null >"$H_WORK/clip.got" 2>/dev/null &&
            cmp -s "$H_WORK/clip.want" "$H_WORK/clip.got" && return 0
        sleep 0.2
    done
    expect_bytes "$H_WORK/clip.want" "$H_WORK/clip.got" "$2: the clipboard"
}

# screenshot <name>: the virtual screen into <build>/e2e/<name>.png; prints the path.
screenshot() {
    local file=$H_BUILD/e2e/$1.png
    timeout -k 2 20 import -display "$DISPLAY" -window root "$file" 2>>"$H_WORK/import.log" || fail "no screenshot"
    echo "$file"
}

# colour_box <file> <left> <top> <width> <height> <r g b> [not]: where the pixels of exactly
# that colour (with "not": of any other) lie in the rectangle: "width height x y count"
# relative to its corner; status 1 when there are none.
colour_box() {
    local mask=$H_WORK/mask.png found count negate=-negate
    [ -z "${7:-}" ] || negate=
    convert "$1" -crop "${4}x$5+$2+$3" +repage \( +clone -fill "rgb(${6// /,})" -colorize 100 \) -compose difference \
        -composite -colorspace gray -threshold 0 $negate "$mask" 2>>"$H_WORK/convert.log" || return 1
    # The black border keeps the trimming from taking a white corner for the background.
    found=$(convert "$mask" -bordercolor black -border 1 -format '%@' info: 2>>"$H_WORK/convert.log")
    count=$(convert "$mask" -format '%[fx:round(mean*w*h)]' info: 2>>"$H_WORK/convert.log")
    [[ $found =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] && [ "${count:-0}" -gt 0 ] || return 1
    echo "${BASH_REMATCH[1]} ${BASH_REMATCH[2]} $((BASH_REMATCH[3] - 1)) $((BASH_REMATCH[4] - 1)) $count"
}

# pointer_at <class> <action> <x> <y>: the X pointer (xdotool) to client point (x, y) of
# the window, then: move (nothing more), down, up, click, dblclick, rclick. Wine turns the
# X events into the window's mouse messages in order, each at its own point (a pointer
# moved from inside Wine is moved back by the X server's own in a virtual desktop).
pointer_at() {
    local left top width height i
    read -r left top width height < <(drive client-rect "$1") || fail "no window of class $1 to point at"
    xdotool mousemove $((left + $3)) $((top + $4))
    for i in $(seq 50); do
        [ "$(xdotool getmouselocation | cut -d' ' -f1-2)" = "x:$((left + $3)) y:$((top + $4))" ] && break
        sleep 0.02
    done
    [ "$i" -lt 50 ] || fail "the pointer does not reach $3,$4 of $1"
    case $2 in
        down | up) xdotool "mouse$2" 1 ;;
        click) xdotool click 1 ;;
        dblclick) xdotool click --repeat 2 --delay 40 1 ;;
        rclick) xdotool click 3 ;;
    esac || fail "xdotool could not $2 at $3,$4 of $1"
}
