#!/bin/bash
# The editor's operations beside the GNU tools, in callgrind instructions per
# byte (stable on a shared machine, comparable from machine to machine).
#
#   bench/run-bench.sh [native build dir]     (default build/native; make bench)
#
# The editor: y8_measure, one operation per run, collected only while the
# operation runs, divided by the document's bytes. The GNU tools: whole
# processes on the document at 1x and 16x; their marginal cost per byte is the
# difference of the two counts over the extra bytes. Where the behaviour is the
# same, the editor's result must be byte-identical to the tool's (checked).
# Prints the table and writes it into docs/PERFORMANCE.md between its markers.
set -euo pipefail

source "$(dirname "$0")/callgrind-start.sh" y8_measure "${1:-}"
measure=$program
export LC_ALL=C

doc=$work/doc.c
"$measure" make "$doc"
for n in 4 16; do for ((i = 0; i < n; ++i)); do cat "$doc"; done >"$work/doc$n.c"; done
"$measure" pc-ansi "$doc" "$work/ansi.c" >/dev/null
for n in 4 16; do for ((i = 0; i < n; ++i)); do cat "$work/ansi.c"; done >"$work/ansi$n.c"; done
bytes=$(stat -c %s "$doc")
lines=$(wc -l <"$doc")

# Instructions of one callgrind run: totals of what was collected.
total() { awk '/^(summary|totals):/ { print $2; exit }' "$1"; }

# editor OP INPUT: "instructions painting" of the operation; its result in $work/OP.out.
editor() {
    local op=$1 input=$2
    valgrind --tool=callgrind --collect-atstart=no --callgrind-out-file="$work/$op.cg" \
        "$measure" "$op" "$input" "$work/$op.out" >"$work/$op.txt" 2>"$work/$op.vg" ||
        { cat "$work/$op.txt" "$work/$op.vg" >&2; exit 1; }
    echo "$(total "$work/$op.cg") $(cat "$work/$op.txt")"
}

# gnu NAME INPUT1 INPUT16 COMMAND...: marginal instructions per byte of the
# command reading its input from stdin, between the 4x and the 16x file (the
# same name with 4 or 16 before its extension); its 1x output in $work/NAME.gnu.
gnu() {
    local name=$1 in1=$2 in16=$3
    local in4=${in16/16./4.}
    shift 3
    valgrind --tool=callgrind --callgrind-out-file="$work/$name.1.cg" "$@" <"$in1" >"$work/$name.gnu" 2>/dev/null || true
    # Into a file, never /dev/null: grep stops at its first match when nobody reads what it writes.
    valgrind --tool=callgrind --callgrind-out-file="$work/$name.4.cg" "$@" <"$in4" >"$work/$name.out4" 2>/dev/null || true
    valgrind --tool=callgrind --callgrind-out-file="$work/$name.16.cg" "$@" <"$in16" >"$work/$name.out16" 2>/dev/null || true
    local a b s1 s16
    a=$(total "$work/$name.4.cg"); b=$(total "$work/$name.16.cg")
    s1=$(stat -c %s "$in4"); s16=$(stat -c %s "$in16")
    awk -v a="$a" -v b="$b" -v s1="$s1" -v s16="$s16" 'BEGIN { printf "%.2f", (b - a) / (s16 - s1) }'
}

# same FILE OP: "identical" when the editor's result of OP equals FILE.
same() { if cmp -s "$work/$2.out" "$1"; then echo identical; else echo DIFFERS; fi }

rows=$work/rows
: >"$rows"
# row OP INPUT LABEL GNU-LABEL GNU-PER-BYTE CHECK: CHECK is the file the
# editor's result must equal, or a text for the last column.
row() {
    local op=$1 input=$2 label=$3 tool=$4 ref=$5 check=$6 ir
    ir=$(editor "$op" "$input" | cut -d' ' -f1)
    [[ -f $check ]] && check=$(same "$check" "$op")
    awk -v ir="$ir" -v bytes="$bytes" -v label="$label" -v tool="$tool" -v ref="$ref" -v check="$check" 'BEGIN {
        pb = ir / bytes
        printf "| %s | %.1f | %s %s | %.1f × | %s |\n", label, pb, tool, ref, pb / ref, check }' >>"$rows"
}

ref=$(gnu grepi "$doc" "$work/doc16.c" grep -Fi xyzzy)
row search "$doc" "search miss over the document, case folded (F12 default)" '`grep -Fi`' "$ref" —
ref=$(gnu grep "$doc" "$work/doc16.c" grep -F xyzzy)
row search-case "$doc" "search miss, case-sensitive" '`grep -F`' "$ref" —
ref=$(gnu sed "$doc" "$work/doc16.c" sed 's/int/long/g')
row replace-case "$doc" "replace in block int→long" "\`sed 's/int/long/g'\`" "$ref" "$work/sed.gnu"
ref=$(gnu sedi "$doc" "$work/doc16.c" sed 's/int/long/gI')
row replace "$doc" "replace in block, case folded" "\`sed 's/int/long/gI'\`" "$ref" "$work/sedi.gnu"
ref=$(gnu expand "$doc" "$work/doc16.c" expand -t8)
row detab "$doc" "Detab" '`expand -t8`' "$ref" "$work/expand.gnu"
ref=$(gnu unexpand "$doc" "$work/doc16.c" unexpand -a -t8)
row entab "$doc" "Entab" '`unexpand -a -t8`' "$ref" "$work/unexpand.gnu"
ref=$(gnu iconv "$doc" "$work/doc16.c" iconv -f CP850 -t CP1252)
row pc-ansi "$doc" "PC>ANSI" '`iconv -f CP850 -t CP1252`' "$ref" "$work/iconv.gnu"
ref=$(gnu iconv2 "$work/ansi.c" "$work/ansi16.c" iconv -f CP1252 -t CP850)
row ansi-pc "$work/ansi.c" "ANSI>PC" '`iconv -f CP1252 -t CP850`' "$ref" "$work/iconv2.gnu"
ref=$(gnu html "$work/ansi.c" "$work/ansi16.c" sed -e 's/\xE4/\&auml;/g' -e 's/\xF6/\&ouml;/g' -e 's/\xFC/\&uuml;/g' \
    -e 's/\xC4/\&Auml;/g' -e 's/\xD6/\&Ouml;/g' -e 's/\xDC/\&Uuml;/g' -e 's/\xDF/\&szlig;/g')
row html "$work/ansi.c" "ANSI>HTML" '`sed` (the same 7 entities)' "$ref" "$work/html.gnu"

memcpy=$(editor memcpy "$doc" | cut -d' ' -f1)
memcpy_pb=$(awk -v m="$memcpy" 'BEGIN { printf "%.2f", m / 100000 }')
ref=$(gnu cp "$doc" "$work/doc16.c" cat)
row load "$doc" "load" "memcpy of the area" "$memcpy_pb" "(\`cat\` as a process: $ref)"
row save "$doc" "save" "memcpy of the area" "$memcpy_pb" "$doc"
row block-copy "$doc" "block copy (every 8th line marked) before the first line" "memcpy of the area" "$memcpy_pb" —
row block-move "$doc" "block move (every 8th line marked) to the first line" "memcpy of the area" "$memcpy_pb" —
row block-delete "$doc" "block delete of the whole document" "memcpy of the area" "$memcpy_pb" —
row walk "$doc" "visitor walk over every line" "memcpy of the area" "$memcpy_pb" —
row overview "$doc" "overview list (function headers of a .c file)" "memcpy of the area" "$memcpy_pb" —
row structure "$doc" "structure list at line 300" "memcpy of the area" "$memcpy_pb" —
ref=$(gnu grepn "$doc" "$work/doc16.c" grep -Fin int)
row search-list "$doc" "search list of \"int\"" '`grep -Fin`' "$ref" —

read -r type_ir _ type_rows type_segments _ < <(editor type "$doc")
read -r right_ir _ right_rows right_segments _ < <(editor right "$doc")

table=$work/table
{
    echo "<!-- bench:begin (written by bench/run-bench.sh; do not edit by hand) -->"
    echo
    echo "The document: $bytes bytes, $lines C-like lines with tabs and CP850 umlauts, as much as keeps the"
    echo "store able to take a Detab of the whole. Callgrind instructions (Ir) of the operation alone"
    echo "(\`y8_measure\`, optimised core) per document byte; the GNU tools as whole processes at 4× and 16×"
    echo "the file, marginal cost per byte. \"Same result\": the editor's file compared with the tool's output;"
    echo "it must be identical for the replacements, Detab, PC>ANSI and save (the script fails otherwise)."
    echo
    echo "| operation | instructions per byte | reference, per byte | ratio | same result |"
    echo "|---|---|---|---|---|"
    cat "$rows"
    echo
    echo "| key | instructions | rows painted | row segments painted |"
    echo "|---|---|---|---|"
    echo "| typed character | $type_ir | ${type_rows#rows=} | ${type_segments#segments=} |"
    echo "| Right | $right_ir | ${right_rows#rows=} | ${right_segments#segments=} |"
    echo
    echo "<!-- bench:end -->"
} >"$table"
cat "$table"

perf=$source_dir/docs/PERFORMANCE.md
if grep -q '^<!-- bench:begin' "$perf"; then
    awk -v table="$table" '
        /^<!-- bench:begin/ { while ((getline l < table) > 0) print l; skip = 1; next }
        /^<!-- bench:end/ { skip = 0; next }
        !skip' "$perf" >"$work/perf.md"
else
    { cat "$perf"; echo; echo "## Beside the GNU tools (\`make bench\`)"; echo; cat "$table"; } >"$work/perf.md"
fi
cp "$work/perf.md" "$perf"
if grep -E '^\| (replace|Detab|PC>ANSI|save)' "$rows" | grep -q DIFFERS; then
    echo "the editor's result differs where it must be identical" >&2
    exit 1
fi
