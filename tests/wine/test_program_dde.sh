#!/usr/bin/env bash
# The program's DDE service, headless, with the client y8ddeclient in the same prefix:
# the service "Y8" accepts a conversation and acknowledges executes of any length; the
# program's trace shows that its execute hook got at most 200 bytes of each (a short
# one exactly as sent) and the topic; another service name is refused; after the
# program ended, "Y8" is refused too.
# Usage: test_program_dde.sh <win64 build dir> <source dir>
. "$2/tests/lib/wine-harness.sh"
harness_start "$1" "$2" program_dde headless
install_program y8.exe

# The program's debug trace (OutputDebugString) reaches its log through this channel.
HARNESS_DEBUG=-all,+debugstr start_program y8 y8.exe
trace=$H_LAST_LOG
wait_window Y8 20

# expect_dde <expected exit code> <service> <topic> <bytes>
expect_dde() {
    local want=$1 verdict code=0
    shift
    verdict=$(dde_execute "$@") || code=$?
    [ "$code" = "$want" ] ||
        fail "DDE $*: the client ended with $code ($verdict), expected $want"
    pass "DDE $*: $verdict"
}

expect_dde 0 Y8 System 5
expect_dde 0 Y8 System 200
expect_dde 0 Y8 System 201
expect_dde 0 Y8 Y8 1000
expect_dde 3 Y9 System 10
expect_dde 3 Y8X System 10
is_running "$y8" || fail "the program ended during the DDE conversations"

# What the execute hook received, in the order sent, as the program traces it
# ("dde <data> <topic>"): the data cut to 200 bytes and nothing after them.
letters() { awk -v n="$1" 'BEGIN { for (i = 0; i < n; i++) printf "%c", 97 + i % 26 }'; }
expected=$(printf '%s\n' "$(letters 5) System" "$(letters 200) System" "$(letters 200) System" "$(letters 200) Y8")
received=$(tr -d '\r' <"$trace" | sed -n 's/.*OutputDebugStringA "dde \(.*\)"$/\1/p' | sed 's/\\n$//')
[ -n "$received" ] || fail "no \"dde\" trace of an execute in the program's debug output ($trace)"
[ "$received" = "$expected" ] ||
    fail "the execute hook's traces are $(awk '{ printf "%d ", length($0) }' <<<"$received")characters long," \
         "expected the data of 5, 200, 200, 200 bytes and their topics (see $trace)"
pass "the execute hook received 5, 200, 200 and 200 bytes with their topics"

drive command Y8 1998 || fail "command 1998 cannot be posted"
expect_exit "$y8" 10 "after Exit (1998)"
expect_dde 3 Y8 System 10
