#!/usr/bin/env bash
# Builds the benchmarks, runs them all, prints a summary table and rewrites
# the results of docs/performance.md and its plots docs/performance-per-block.png
# and docs/performance-regen.png.
#   scripts/bench.sh [BUILD_DIR]            (default: build-bench)
# REPS (default 5) sets the repetitions of the Google Benchmark programs,
# PAIRS (default 30) the alternate end-to-end runs, ROUNDS (default 3) the
# rounds of olmwiz regen against separate processes. The comparisons are made
# side by side within one run, so their ratios hold on a busy machine.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build-bench}"
reps="${REPS:-5}"
pairs="${PAIRS:-30}"
rounds="${ROUNDS:-3}"
results="$build/bench-results"

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOLM_BUILD_TESTS=OFF \
  -DOLM_BUILD_BENCHMARKS=ON >/dev/null
nice cmake --build "$build" --parallel "$(nproc 2>/dev/null || echo 2)"
bin="$build/bin"
mkdir -p "$results"

gbench=(--benchmark_repetitions="$reps" --benchmark_report_aggregates_only=true
        --benchmark_enable_random_interleaving=true --benchmark_out_format=json)

echo "== data-file reader against a getline loop ($reps repetitions, interleaved)"
"$bin/datafile_reader_bench" "${gbench[@]}" --benchmark_out="$results/reader.json"
echo "== synchronise, save and load ($reps repetitions, interleaved)"
"$bin/sync_save_bench" "${gbench[@]}" --benchmark_out="$results/sync.json"
echo "== end to end ($pairs pairs)"
"$bin/end_to_end_bench" --olmwiz "$bin/olmwiz" --minimal "$bin/minimal_qt_app" \
  --example "$here/examples/tkl_pll_clkgen.opt" --pairs "$pairs" --json "$results/e2e.json"
echo "== olmwiz regen against separate processes ($rounds rounds)"
# In the temporary folder (a disk, as a rule) and, when there is one, in a
# file system in memory, where the engine's flushes to disk cost nothing.
regen_in="${TMPDIR:-/tmp}"
if [ -d /dev/shm ] && [ -w /dev/shm ]; then regen_in="$regen_in,/dev/shm"; fi
"$bin/regen_bench" --olmwiz "$bin/olmwiz" --examples "$here/examples" --in "$regen_in" --rounds "$rounds" \
  --json "$results/regen.json"
echo "== olmwiz regen when little or nothing changed ($rounds rounds, 1,000 jobs)"
# Printed only: the figures are copied into docs/performance.md by hand.
"$bin/incremental_regen_bench" --olmwiz "$bin/olmwiz" --examples "$here/examples" --rounds "$rounds" \
  | tee "$results/incremental-regen.txt"
echo "== memory"
"$bin/memory_bench" --blocks 10000 --json "$results/memory.json"

echo
echo "== summary"
"$bin/bench_report" --reader "$results/reader.json" --sync "$results/sync.json" \
  --e2e "$results/e2e.json" --memory "$results/memory.json" --regen "$results/regen.json" \
  --plot-data "$results/per-block.dat" --regen-plot-data "$results/regen-rate.dat" --doc "$here/docs/performance.md"
gnuplot -e "datafile='$results/per-block.dat'; outfile='$here/docs/performance-per-block.png'" \
  "$here/bench/per-block.gp"
gnuplot -e "datafile='$results/regen-rate.dat'; outfile='$here/docs/performance-regen.png'" \
  "$here/bench/regen-rate.gp"
echo "docs/performance.md, docs/performance-per-block.png and docs/performance-regen.png rewritten"
