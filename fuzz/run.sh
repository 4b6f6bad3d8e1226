#!/usr/bin/env bash
# fuzz/run.sh TARGET|all SECONDS
#   Builds the libFuzzer targets with clang (GC_FUZZ) in build-fuzz, or in $GC_FUZZ_BUILD_DIR,
#   and runs TARGET (settings, mapfile, sprites, path), or each of them in turn, for SECONDS.
#   Each run starts from the seeds in fuzz/corpus/TARGET plus what earlier runs kept in
#   <build>/corpus/TARGET, where new inputs go. The inputs of earlier findings in
#   fuzz/regressions/TARGET are replayed first. A crash, leak, failed check or input slower
#   than 30 seconds stops the run, leaves the input as <build>/findings/TARGET-*, and fails.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${GC_FUZZ_BUILD_DIR:-$root/build-fuzz}
targets=(settings mapfile sprites path)

usage() {
  echo "usage: fuzz/run.sh ${targets[*]// /|}|all SECONDS" >&2
  exit 2
}

[ $# -eq 2 ] || usage
[[ $2 =~ ^[0-9]+$ ]] || usage
case "$1" in
  all) chosen=("${targets[@]}") ;;
  settings|mapfile|sprites|path) chosen=("$1") ;;
  *) usage ;;
esac
seconds=$2

# Longest input per target: room beyond the largest seed to grow into.
max_len() {
  case "$1" in
    settings) echo 16384 ;;
    mapfile) echo 24576 ;;
    sprites) echo 65536 ;;
    path) echo 1024 ;;
  esac
}

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DGC_FUZZ=ON -DGC_WERROR=ON \
  -DGC_BUILD_BENCHMARKS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target "${chosen[@]/#/fuzz_}" -j2

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:halt_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
mkdir -p "$build/findings"
for target in "${chosen[@]}"; do
  fuzzer=$build/fuzz/fuzz_$target
  regressions=$root/fuzz/regressions/$target
  if [ -d "$regressions" ] && [ -n "$(ls -A "$regressions")" ]; then
    echo "== $target: replaying $(ls "$regressions" | wc -l) earlier findings"
    "$fuzzer" "$regressions"/* >"$build/findings/$target-replay.log" 2>&1 ||
      { cat "$build/findings/$target-replay.log"; exit 1; }
  fi
  mkdir -p "$build/corpus/$target"
  echo "== $target: fuzzing for $seconds s"
  log=$build/findings/$target.log
  status=0
  "$fuzzer" "$build/corpus/$target" "$root/fuzz/corpus/$target" \
    -max_total_time="$seconds" -max_len="$(max_len "$target")" -timeout=30 -rss_limit_mb=2048 \
    -artifact_prefix="$build/findings/$target-" -print_final_stats=1 >"$log" 2>&1 || status=$?
  # The last progress line and the final statistics, or the report that stopped the run.
  grep -E '^#[0-9]+' "$log" | tail -n 1
  grep -E '^stat::' "$log" || tail -n 80 "$log"
  if [ "$status" -ne 0 ]; then
    echo "== $target: the fuzzer stopped with status $status; see $log and the input in $build/findings" >&2
    exit 1
  fi
done
