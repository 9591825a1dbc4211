#!/bin/bash
# Instruction counts of loading and saving a file that fills the store, from
# callgrind, as ratios: against a memcpy of the 100000-byte line area
# (BM_Memcpy100000, same binary, same run) and against cp of the same file
# (the whole cp process: cp copies in the kernel, so its count is nearly all
# its start-up).
#
#   bench/callgrind-files.sh [native build dir]     (default build/native)
#
# Each count is the inclusive cost of the calls from the benchmark function
# (docLoad from BM_DocLoad, writeFile from BM_DocSave, memcpy from
# BM_Memcpy100000) divided by their number. Time spent in the kernel (reads,
# writes, renames) is not counted by callgrind.
set -euo pipefail

source "$(dirname "$0")/callgrind-start.sh" y8_bench "${1:-}"
bench=$program

Y8_BENCH_DOCFILE_DIR=$work/files valgrind --tool=callgrind --callgrind-out-file="$work/bench.out" \
    --compress-strings=no --compress-pos=no \
    "$bench" --benchmark_filter='^(BM_Memcpy100000|BM_DocLoad|BM_DocSave)$' --benchmark_min_time=0.05 \
    >"$work/bench.txt" 2>"$work/valgrind.txt" || { cat "$work/valgrind.txt" >&2; exit 1; }
if grep -q 'ERROR OCCURRED' "$work/bench.txt"; then
    cat "$work/bench.txt" >&2
    exit 1
fi

file=$work/files/full.c
valgrind --tool=callgrind --callgrind-out-file="$work/cp.out" cp "$file" "$work/copy.c" 2>"$work/cp.txt"
cmp -s "$file" "$work/copy.c" || { echo "cp did not copy the file" >&2; exit 1; }

# Inclusive instructions per call of the calls from a caller to a callee
# (both matched as the start of the function name): "instructions calls".
arc() {
    awk -v caller="$1" -v callee="$2" '
        /^fn=/ { fn = substr($0, 4); next }
        /^cfn=/ { cfn = substr($0, 5); next }
        /^calls=/ {
            split(substr($0, 7), c, " ")
            getline
            split($0, cost, " ")
            if (index(fn, caller) == 1 && cfn ~ callee) { ir += cost[2]; n += c[1] }
        }
        END { if (n == 0) exit 1; printf "%.0f %d\n", ir / n, n }' "$work/bench.out"
}
read -r memcpy memcpy_calls < <(arc "(anonymous namespace)::BM_Memcpy100000(" "memcpy")
read -r load load_calls < <(arc "(anonymous namespace)::BM_DocLoad(" "^docLoad\\(")
read -r save save_calls < <(arc "(anonymous namespace)::BM_DocSave(" "^writeFile\\(")
cp_total=$(awk '/^(summary|totals):/ { print $2; exit }' "$work/cp.out")
bytes=$(stat -c %s "$file")

awk -v bytes="$bytes" -v memcpy="$memcpy" -v mc="$memcpy_calls" -v load="$load" -v lc="$load_calls" \
    -v save="$save" -v sc="$save_calls" -v cp="$cp_total" 'BEGIN {
    printf "file of %d bytes that fills the store; callgrind instructions (Ir)\n\n", bytes
    printf "  %-36s %12s %8s %10s\n", "", "per call", "calls", "per byte"
    printf "  %-36s %12d %8d %10.1f\n", "memcpy of the 100000-byte area", memcpy, mc, memcpy / 100000
    printf "  %-36s %12d %8d %10.1f\n", "docLoad (whole)", load, lc, load / bytes
    printf "  %-36s %12d %8d %10.1f\n", "writeFile (save)", save, sc, save / bytes
    printf "  %-36s %12d %8d %10.1f\n\n", "cp of the file (whole process)", cp, 1, cp / bytes
    printf "  load / memcpy  %6.1f\n", load / memcpy
    printf "  save / memcpy  %6.1f\n", save / memcpy
    printf "  load / cp      %6.1f\n", load / cp
    printf "  save / cp      %6.1f\n", save / cp
}'
