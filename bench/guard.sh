#!/bin/bash
# The guard against slower hot paths, run with the unit tests: callgrind
# instruction counts of a typed character, one search miss over the benchmark
# document and one Detab of it, each compared with its recorded figure in
# bench/guard-figures.txt; the run fails when one exceeds its figure by more
# than 10 %. After a change that makes a path faster, record the new figure.
#
#   bench/guard.sh BUILD_DIR SOURCE_DIR
set -euo pipefail

build=$1
source_dir=$2
measure=$build/y8_measure
figures=$source_dir/bench/guard-figures.txt
command -v valgrind >/dev/null || { echo "valgrind is not installed" >&2; exit 1; }

# The C library picks its memchr and memcpy by the processor's features, and their
# counts differ: every machine is held to the plain x86-64 ones, so that the
# recorded figures hold wherever the guard runs.
export GLIBC_TUNABLES=glibc.cpu.hwcaps=-AVX512F,-AVX512VL,-AVX512BW,-AVX2,-AVX,-FMA,-BMI1,-BMI2,-LZCNT,-MOVBE,-POPCNT,-SSE4_2,-SSE4_1,-SSSE3,-ERMS,-FSRM,-Fast_Unaligned_Copy,-Fast_Unaligned_Load

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$measure" make "$work/doc.c"
failed=0
while read -r op figure; do
    [[ -z $op || $op == \#* ]] && continue
    valgrind --tool=callgrind --collect-atstart=no --callgrind-out-file="$work/$op.cg" \
        "$measure" "$op" "$work/doc.c" >/dev/null 2>"$work/$op.vg" || { cat "$work/$op.vg" >&2; exit 1; }
    ir=$(awk '/^(summary|totals):/ { print $2; exit }' "$work/$op.cg")
    if ((ir * 10 > figure * 11)); then
        echo "FAIL $op: $ir instructions, recorded $figure (more than 10 % above)"
        failed=1
    else
        echo "ok   $op: $ir instructions, recorded $figure"
    fi
done <"$figures"
exit $failed
