#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang and runs each one for a
# while on a scratch copy of its seed corpus (the checked-in corpus is never
# changed), with the keyword dictionary. Prints a table of executions and
# coverage per target; fails when any target found a crash, a leak, a
# timeout or a memory blow-up (its input is kept in the artifacts folder).
#   scripts/fuzz.sh [SECONDS]      seconds per target, default 60
# Environment:
#   OLM_FUZZ_BUILD_DIR   build folder (default build-fuzz in the source tree)
#   OLM_FUZZ_TARGETS     targets to run (default: all of them)
#   OLM_FUZZ_KEEP        a folder to keep each target's grown corpus in
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
case "$seconds" in
  '' | *[!0-9]*) echo "usage: $0 [SECONDS]" >&2; exit 2 ;;
esac
build="${OLM_FUZZ_BUILD_DIR:-$here/build-fuzz}"
targets="${OLM_FUZZ_TARGETS:-datafile optfile kfz pinwidth tie engine}"
jobs="$(nproc 2>/dev/null || echo 2)"

# Longest input per target: the data-file seeds are whole installed files
# (the largest about 35 kB); widths are short texts; tie patterns as long as a
# data-file line can carry (the bridge's work on a pattern grows with the
# square of its length, so longer ones would only slow the search down).
max_len() {
  case "$1" in
    datafile) echo 40000 ;;
    kfz) echo 16384 ;;
    pinwidth) echo 64 ;;
    tie) echo 300 ;;
    *) echo 4096 ;;
  esac
}

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DOLM_FUZZ=ON -DOLM_BUILD_TESTS=OFF >/dev/null
else
  cmake "$build" >/dev/null
fi
target_list=""
for t in $targets; do target_list="$target_list fuzz_$t"; done
# shellcheck disable=SC2086
cmake --build "$build" --parallel "$jobs" --target $target_list

scratch="$(mktemp -d "${TMPDIR:-/tmp}/olm-fuzz.XXXXXX")"
trap 'rm -rf "$scratch"' EXIT
artifacts="$build/fuzz-artifacts"
failed=""
rows=""
for t in $targets; do
  corpus="$scratch/$t"
  mkdir -p "$corpus" "$artifacts/$t"
  cp -r "$here/fuzz/corpus/$t/." "$corpus/" 2>/dev/null || true
  log="$build/fuzz-$t.log"
  echo "== fuzz_$t for ${seconds}s"
  status=0
  # Leaks are looked for after each input as well as at the end.
  "$build/bin/fuzz_$t" "$corpus" -dict="$here/fuzz/olm.dict" -max_len="$(max_len "$t")" \
    -timeout=10 -rss_limit_mb=2048 -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$artifacts/$t/" >"$log" 2>&1 || status=$?
  execs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)"
  rate="$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)"
  last="$(grep -E '^#[0-9]+' "$log" | tail -1 || true)"
  cov="$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")"
  ft="$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")"
  units="$(find "$corpus" -type f | wc -l)"
  if [ "$status" -eq 0 ]; then
    result=ok
  else
    result="FAILED ($status)"
    failed="$failed $t"
    echo "fuzz_$t failed; the end of its log ($log):"
    grep -E 'ERROR|SUMMARY|artifact|Test unit written|^    #[0-9]' "$log" | head -40 || true
  fi
  if [ -n "${OLM_FUZZ_KEEP:-}" ]; then
    mkdir -p "$OLM_FUZZ_KEEP/$t"
    cp -r "$corpus/." "$OLM_FUZZ_KEEP/$t/"
  fi
  rows="$rows$(printf '%-10s %12s %8s %6s %7s %7s  %s' "$t" "${execs:--}" "${rate:--}" "${cov:--}" "${ft:--}" "$units" "$result")"$'\n'
done

echo
printf '%-10s %12s %8s %6s %7s %7s  %s\n' target execs exec/s cov ft corpus result
printf '%s' "$rows"
if [ -n "$failed" ]; then
  echo "fuzzing found problems in:$failed (inputs in $artifacts)" >&2
  exit 1
fi
