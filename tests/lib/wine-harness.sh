# Shared by the tests that run the real program under Wine (tests/wine/test_program_*.sh,
# tests/e2e/test_*.sh). Sourced, never run. A script begins with
#
#   . "$2/tests/lib/wine-harness.sh"
#   harness_start "$1" "$2" <name> headless|desktop
#
# and then drives the program with the functions below. harness_start gives the test
# a fresh Wine prefix (a copy of a template prepared once with scripts/wine-prefix),
# copies the driver tools into C:\y8, starts Xvfb on a free display for a desktop test,
# and arms a watchdog: whatever the program does, the script ends within about
# HARNESS_BUDGET seconds (default 95) plus the few seconds of cleaning up. On exit,
# normal or not, every process the harness started is ended, the prefix's wineserver
# is killed, Xvfb is stopped and the prefix is removed (HARNESS_KEEP=1 keeps it). The
# work folder <build>/program-tests/<name>.<pid> with the logs is removed when the
# test passed and kept when it failed. Screenshots go to <build>/e2e.
#
# The tools: y8drive (tests/tools/y8drive.cpp) finds, reads and drives windows from
# outside; y8ddeclient is a DDE client. Both run in the test's prefix and desktop.
#
# Every check that fails calls fail: one clear line "FAIL: <test>: <why>" on stderr
# and exit status 1.

set -u -o pipefail

HARNESS_WINE=/usr/lib/wine/wine64
HARNESS_WINESERVER=/usr/lib/wine/wineserver64
HARNESS_BUDGET=${HARNESS_BUDGET:-95}

H_NAME=program
H_WORK=
H_PIDS=()          # background processes of this test, ended at exit
H_XVFB_PID=
H_WATCHDOG_PID=
H_IDLE_PID=
H_PREFIX=
H_LAST_LOG=
H_STARTED=$(date +%s.%N)

fail() {
    echo "FAIL: $H_NAME: $*" >&2
    exit 1
}

pass() {
    echo "ok: $*"
}

# Seconds since the given date +%s.%N time, with one decimal.
elapsed_since() {
    awk -v a="$1" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }'
}

# ---------------------------------------------------------------- start and end

# harness_start <build dir> <source dir> <test name> headless|desktop [X keyboard layout]
# A layout ("de") is set on the test's Xvfb before any Wine process starts: each reads
# the X layout when it starts.
harness_start() {
    H_BUILD=$(cd "$1" && pwd) || fail "no build folder $1"
    H_SRC=$(cd "$2" && pwd) || fail "no source folder $2"
    H_NAME=$3
    H_MODE=$4
    H_WORK=$H_BUILD/program-tests/$H_NAME.$$
    H_PREFIX=$H_WORK/prefix
    H_INI=$H_PREFIX/drive_c/windows/Y8.ini
    H_PROGDIR=$H_PREFIX/drive_c/y8
    H_SHOTS=$H_BUILD/e2e
    trap harness_cleanup EXIT
    trap 'fail "the time budget of $HARNESS_BUDGET s ran out"' TERM
    trap 'fail "interrupted"' INT
    harness_arm_watchdog

    local tool
    for tool in y8drive.exe y8ddeclient.exe; do
        [ -f "$H_BUILD/$tool" ] || fail "$tool is not built in $H_BUILD"
    done
    harness_remove_stale_work
    mkdir -p "$H_WORK" "$H_SHOTS" || fail "cannot create $H_WORK"

    local template
    case $H_MODE in
        headless)
            template=$(dirname "$H_BUILD")/wineprefix
            unset DISPLAY WAYLAND_DISPLAY
            WINEPREFIX=$template timeout -k 5 90 "$H_SRC/scripts/wine-prefix" ||
                fail "the headless template prefix $template cannot be prepared"
            ;;
        desktop)
            template=$(dirname "$H_BUILD")/wineprefix-desktop
            WINEPREFIX=$template timeout -k 5 90 "$H_SRC/scripts/wine-prefix" desktop ||
                fail "the desktop template prefix $template cannot be prepared"
            harness_start_xvfb
            if [ -n "${5:-}" ]; then
                timeout -k 2 10 setxkbmap -layout "$5" || fail "setxkbmap cannot set the layout $5"
            fi
            ;;
        *) fail "unknown mode $H_MODE" ;;
    esac
    mkdir -p "$H_PREFIX" && cp -a --reflink=auto "$template/." "$H_PREFIX/" ||
        fail "cannot copy the template prefix $template"
    # The template may have been used by other tests: start without their settings.
    rm -f "$H_PREFIX"/drive_c/windows/[Yy]8.[Ii][Nn][Ii]
    mkdir -p "$H_PROGDIR"
    export WINEPREFIX=$H_PREFIX WINEDEBUG=-all

    # The first Wine process starts the server and the prefix's helper processes; it
    # must not hold the script's pipes, or a later $(...) would wait for them.
    cp "$H_BUILD/y8drive.exe" "$H_BUILD/y8ddeclient.exe" "$H_PROGDIR/" || fail "cannot copy the tools"
    timeout -k 5 60 "$HARNESS_WINE" 'C:\y8\y8drive.exe' windows </dev/null >"$H_WORK/wine-start.log" 2>&1 ||
        fail "Wine does not start in the prefix $H_PREFIX (see $H_WORK/wine-start.log)"
    # One long-lived process keeps the server (and the desktop) warm between programs.
    "$HARNESS_WINE" 'C:\y8\y8drive.exe' idle "$HARNESS_BUDGET" </dev/null >>"$H_WORK/wine-start.log" 2>&1 &
    H_IDLE_PID=$!
    echo "prefix $H_PREFIX ready after $(elapsed_since "$H_STARTED") s"
}

# Work folders of earlier runs of this test whose script no longer runs (a failed run
# keeps its logs until the next run).
harness_remove_stale_work() {
    local dir pid
    for dir in "$H_BUILD/program-tests/$H_NAME".*; do
        [ -d "$dir" ] || continue
        pid=${dir##*.}
        if [ "$pid" != $$ ] && ! kill -0 "$pid" 2>/dev/null; then
            rm -rf "$dir"
        fi
    done
}

# When the budget runs out the script is told to end (TERM, see the trap), and the
# command it waits for is ended too, so that the trap runs at once.
harness_arm_watchdog() {
    local script_pid=$$
    {
        trap 'kill "$sleeper" 2>/dev/null; exit 0' TERM
        sleep "$HARNESS_BUDGET" &
        sleeper=$!
        wait "$sleeper"
        kill -TERM "$script_pid"
        local child
        for child in $(ps -o pid= --ppid "$script_pid"); do
            [ "$child" != "$BASHPID" ] && kill -TERM "$child"
        done
    } </dev/null >/dev/null 2>&1 &
    H_WATCHDOG_PID=$!
}

# Xvfb on a display number of its own choosing (-displayfd), ready when it says so.
harness_start_xvfb() {
    local fdfile=$H_WORK/xvfb.display
    : >"$fdfile"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -noreset -nolisten tcp 3>"$fdfile" </dev/null \
        >"$H_WORK/xvfb.log" 2>&1 &
    H_XVFB_PID=$!
    local i
    for i in $(seq 100); do
        [ -s "$fdfile" ] && break
        kill -0 "$H_XVFB_PID" 2>/dev/null || fail "Xvfb did not start (see $H_WORK/xvfb.log)"
        sleep 0.1
    done
    [ -s "$fdfile" ] || fail "Xvfb did not report a display within 10 s"
    export DISPLAY=:$(tr -dc 0-9 <"$fdfile")
    echo "Xvfb on $DISPLAY"
}

harness_cleanup() {
    local status=$?
    trap - EXIT TERM INT
    {
        local pid
        for pid in "${H_PIDS[@]}" $H_IDLE_PID; do
            kill -KILL "$pid"
        done
        if [ -n "$H_PREFIX" ] && [ -d "$H_PREFIX" ]; then
            WINEPREFIX=$H_PREFIX timeout -k 1 5 "$HARNESS_WINESERVER" -k
            WINEPREFIX=$H_PREFIX timeout -k 1 5 "$HARNESS_WINESERVER" -w
        fi
        for pid in "${H_PIDS[@]}" $H_IDLE_PID; do
            wait "$pid"
        done
        if [ -n "$H_XVFB_PID" ]; then
            kill -TERM "$H_XVFB_PID"
            wait "$H_XVFB_PID"
        fi
        if [ -n "$H_WATCHDOG_PID" ]; then
            kill -TERM "$H_WATCHDOG_PID"
            wait "$H_WATCHDOG_PID"
        fi
    } >/dev/null 2>&1
    if [ -n "$H_PREFIX" ] && [ "${HARNESS_KEEP:-0}" != 1 ]; then
        rm -rf "$H_PREFIX"
        [ "$status" = 0 ] && rm -rf "$H_WORK"
    fi
    if [ "$status" = 0 ]; then
        echo "PASS: $H_NAME in $(elapsed_since "$H_STARTED") s"
    else
        echo "$H_NAME failed after $(elapsed_since "$H_STARTED") s; logs in ${H_WORK:-?}" >&2
    fi
    exit "$status"
}

# ---------------------------------------------------------------- programs

# install_program <exe name>: copies a program of the build into C:\y8.
install_program() {
    [ -f "$H_BUILD/$1" ] || fail "$1 is not built in $H_BUILD"
    cp "$H_BUILD/$1" "$H_PROGDIR/" || fail "cannot copy $1"
}

# start_program <variable> <exe name> [arguments...]: starts C:\y8\<exe> in the
# background with its output in <work>/<exe>.<n>.log; the variable receives the pid.
# HARNESS_DEBUG (a WINEDEBUG value) applies to the program only.
start_program() {
    local _var=$1 _exe=$2
    shift 2
    H_LAST_LOG=$H_WORK/${_exe%.exe}.${#H_PIDS[@]}.log
    WINEDEBUG=${HARNESS_DEBUG:--all} "$HARNESS_WINE" "C:\\y8\\$_exe" "$@" </dev/null >"$H_LAST_LOG" 2>&1 &
    H_PIDS+=("$!")
    printf -v "$_var" '%s' "$!"
}

# wait_exit <variable> <pid> <seconds>: waits for the process to end; the variable
# receives its exit code. Status 1 when it still runs after the seconds.
wait_exit() {
    local _var=$1 _pid=$2 _seconds=$3 _end _code=0
    _end=$(awk -v s="$_seconds" -v n="$(date +%s.%N)" 'BEGIN { printf "%.3f", n + s }')
    while kill -0 "$_pid" 2>/dev/null; do
        if awk -v e="$_end" -v n="$(date +%s.%N)" 'BEGIN { exit !(n >= e) }'; then
            return 1
        fi
        sleep 0.05
    done
    wait "$_pid" || _code=$?
    printf -v "$_var" '%s' "$_code"
    return 0
}

# is_running <pid>
is_running() {
    kill -0 "$1" 2>/dev/null
}

# drive <arguments...>: y8drive with those arguments, bounded in time; its output with
# line ends cleaned, its exit code as the status.
drive() {
    local limit=20
    case ${1:-} in
        wait-window | wait-gone | wait-idle) limit=$((${3%.*} + 10)) ;;
        wait-count) limit=$((${4%.*} + 10)) ;;
    esac
    timeout -k 2 "$limit" "$HARNESS_WINE" 'C:\y8\y8drive.exe' "$@" </dev/null 2>>"$H_WORK/y8drive.log" | tr -d '\r'
}

# type_keys <keylist> <what>: types the keys into the main window (Y8) and waits until
# the program has handled them.
type_keys() {
    drive keys Y8 "$1" || fail "$2: the keys \"$1\" could not be typed (see $H_WORK/y8drive.log)"
    drive wait-idle Y8 20 || fail "$2: the program is still busy 20 s after the keys"
}

# panels: prints how many dialogs (panels) stand inside the main window.
panels() { drive children Y8 | grep -c '#32770'; }

# dde_execute <service> <topic> <bytes>: the DDE client; prints its verdict, status
# is its exit code.
dde_execute() {
    timeout -k 2 30 "$HARNESS_WINE" 'C:\y8\y8ddeclient.exe' "$@" </dev/null 2>>"$H_WORK/y8ddeclient.log" |
        tr -d '\r'
}

# wait_window <class> <seconds>: fails the test unless a visible window of the class
# appears in time and its program then waits for input with an empty queue (its loop
# runs and has handled the commands it posted itself at start-up, so that what the
# test does next comes after them); prints how long it took.
wait_window() {
    local t0
    t0=$(date +%s.%N)
    drive wait-window "$1" "$2" ||
        fail "no visible window of class $1 within $2 s (windows: $(drive windows | tr '\n\t' '; '))"
    drive wait-idle "$1" "$2" || fail "the program of window $1 is not waiting for input after $2 s"
    echo "window $1 ready after $(elapsed_since "$t0") s"
}

# expect_exit <pid> <seconds> <what>: fails unless the process ends in time with code 0.
expect_exit() {
    local code
    wait_exit code "$1" "$2" ||
        fail "$3: the process still runs after $2 s (windows: $(drive windows | tr '\n\t' '; '))"
    [ "$code" = 0 ] || fail "$3: the process ended with exit code $code"
}

# ---------------------------------------------------------------- the ini file

# ini_get <section> <key>: the value as the system's profile functions read it
# (section and key without case, surrounding blanks dropped); status 1 when missing.
ini_get() {
    [ -f "$H_INI" ] || return 1
    awk -v section="$1" -v key="$2" '
        function trim(s) { sub(/^[ \t]+/, "", s); sub(/[ \t]+$/, "", s); return s }
        { sub(/\r$/, "") }
        /^[ \t]*\[/ {
            name = $0; sub(/^[ \t]*\[/, "", name); sub(/\].*$/, "", name)
            inside = tolower(trim(name)) == tolower(section); next
        }
        inside && index($0, "=") > 0 {
            k = trim(substr($0, 1, index($0, "=") - 1))
            if (tolower(k) == tolower(key)) { print trim(substr($0, index($0, "=") + 1)); found = 1; exit }
        }
        END { exit !found }' "$H_INI"
}

# ini_prepare <line>...: writes the settings file the program will find, CR LF lines.
ini_prepare() {
    mkdir -p "$(dirname "$H_INI")"
    printf '%s\r\n' "$@" >"$H_INI" || fail "cannot write $H_INI"
}

# expect_bytes <expected file> <found file> <what>: fails with both dumps unless equal.
expect_bytes() {
    [ -f "$2" ] || fail "$3: there is no file $(basename "$2") (files: $(ls "$(dirname "$2")" | tr '\n' ' '))"
    if ! cmp -s "$1" "$2"; then
        echo "$(basename "$2"): $(wc -c <"$2") bytes, $(wc -c <"$1") expected; od -c, < expected, > found:" >&2
        diff <(od -An -c "$1") <(od -An -c "$2") | head -n 20 >&2
        fail "$3: $(basename "$2") does not hold the expected bytes ($(cmp "$1" "$2" 2>&1 | sed -n '1s/.* differ: //p'))"
    fi
}

# expect_caption <caption> <what>: waits up to 10 s for the main window's caption.
expect_caption() {
    local i caption=
    for i in $(seq 1 100); do
        caption=$(drive title Y8) || fail "$2: the main window went away"
        [ "$caption" = "$1" ] && return 0
        sleep 0.1
    done
    fail "$2: the caption is \"$caption\", not \"$1\" (windows: $(drive windows | tr '\n\t' '; '))"
}

# expect_placement_value <value> <what>: ten whole numbers, the normal rectangle
# non-empty.
expect_placement_value() {
    local value=$1 what=$2
    [[ $value =~ ^-?[0-9]+( -?[0-9]+){9}$ ]] || fail "$what is not ten numbers: \"$value\""
    local n=($value)
    [ "${n[8]}" -gt "${n[6]}" ] && [ "${n[9]}" -gt "${n[7]}" ] ||
        fail "$what has an empty normal rectangle: \"$value\""
}

# ---------------------------------------------------------------- screen

# screenshot <name>: the whole virtual screen into <build>/e2e/<name>.png; prints the path.
screenshot() {
    local file=$H_SHOTS/$1.png
    timeout -k 2 20 import -display "$DISPLAY" -window root "$file" >>"$H_WORK/import.log" 2>&1 ||
        fail "import could not take the screenshot $file"
    echo "$file"
}

# png_pixel <file> <x> <y>: the pixel's colour as "r g b" (8 bits each).
png_pixel() {
    timeout -k 2 20 convert "$1" -crop "1x1+$2+$3" +repage -depth 8 txt:- 2>>"$H_WORK/convert.log" |
        sed -n 's/^0,0: *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p'
}

# colour_box <file> <left> <top> <width> <height> <r g b>: where the pixels of exactly
# that colour lie in the rectangle of the image: "width height x y count", the box
# relative to the rectangle's corner and the number of such pixels; status 1 when
# there are none.
colour_box() {
    local rgb="rgb(${6// /,})" mask=$H_WORK/colour-box.png found count
    timeout -k 2 20 convert "$1" -crop "${4}x$5+$2+$3" +repage -fill black +opaque "$rgb" -fill white \
        -opaque "$rgb" "$mask" 2>>"$H_WORK/convert.log" || return 1
    # The black border keeps the trimming from taking a white corner for the background.
    found=$(convert "$mask" -bordercolor black -border 1 -format '%@' info: 2>>"$H_WORK/convert.log")
    [[ $found =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || return 1
    count=$(convert "$mask" -format '%[fx:round(mean*w*h)]' info: 2>>"$H_WORK/convert.log") || return 1
    [ "${count:-0}" -gt 0 ] || return 1
    echo "${BASH_REMATCH[1]} ${BASH_REMATCH[2]} $((BASH_REMATCH[3] - 1)) $((BASH_REMATCH[4] - 1)) $count"
}

# clipboard_to <file>: the clipboard's text (CF_TEXT) into the file byte for byte;
# status 1 when the clipboard holds no text.
clipboard_to() {
    timeout -k 2 20 "$HARNESS_WINE" 'C:\y8\y8drive.exe' clipboard </dev/null >"$1" 2>>"$H_WORK/y8drive.log"
}

# pointer_at <class> <action> <x> <y>: the mouse as a person moves it: the X pointer
# (xdotool) goes to client point (x, y) of the class window, and once it is there the
# action follows: move (nothing more), down, up, click, dblclick (two clicks well inside
# the double-click time), rclick (the right button pressed and released). Wine turns
# the X events into the window's mouse messages in order and at their own points; a
# pointer moved from inside Wine (SendInput, SetCursorPos) is not reliable in a virtual
# desktop (see tests/tools/y8drive.cpp).
pointer_at() {
    command -v xdotool >/dev/null || fail "xdotool is not installed"
    local left top width height
    read -r left top width height < <(drive client-rect "$1") || fail "no window of class $1 to point at"
    local x=$((left + $3)) y=$((top + $4)) i
    timeout -k 2 10 xdotool mousemove "$x" "$y" || fail "xdotool cannot move the pointer to $x,$y"
    for i in $(seq 1 50); do
        [ "$(timeout -k 2 10 xdotool getmouselocation | cut -d' ' -f1-2)" = "x:$x y:$y" ] && break
        sleep 0.02
    done
    [ "$(timeout -k 2 10 xdotool getmouselocation | cut -d' ' -f1-2)" = "x:$x y:$y" ] ||
        fail "the pointer did not reach $x,$y"
    case $2 in
        move) ;;
        down) timeout -k 2 10 xdotool mousedown 1 ;;
        up) timeout -k 2 10 xdotool mouseup 1 ;;
        click) timeout -k 2 10 xdotool click 1 ;;
        dblclick) timeout -k 2 10 xdotool click --repeat 2 --delay 40 1 ;;
        rclick) timeout -k 2 10 xdotool click 3 ;;
        *) fail "pointer_at: unknown action $2" ;;
    esac || fail "xdotool could not $2 at $x,$y"
}
