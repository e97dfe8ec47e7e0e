#!/usr/bin/env bash
# Builds every fuzz target with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer), runs each for SECONDS, two at a time, and
# prints one line per target: executions, coverage and corpus at the start and
# the end, and the fault found with its reproducer. Exits 1 when any target
# found a fault (crash, sanitizer report, leak, time-out, memory blow-up).
#
#   fuzz/run-all.sh SECONDS [TARGET...]
#
# TRELVIK_FUZZ_BUILD is the build folder (build-fuzz), TRELVIK_JOBS the number
# of parallel compiles and runs (2). Inputs that find new coverage are kept in
# BUILD/fuzz-corpus/TARGET/ for the next run, never in the seed folders; each
# run's logs and reproducers go to BUILD/fuzz-runs/TARGET/. A reproducer worth
# keeping goes into the target's seed folder, so every test run replays it.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-}
if ! [[ $seconds =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: $0 SECONDS [TARGET...]" >&2
  exit 2
fi
shift
build=${TRELVIK_FUZZ_BUILD:-build-fuzz}
parallel=${TRELVIK_JOBS:-2}
# An input that takes this long counts as a hang.
unit_timeout=10
rss_limit_mb=2048

if [[ -f $build/CMakeCache.txt ]] && ! grep -q '^CMAKE_CXX_COMPILER:.*clang' "$build/CMakeCache.txt"; then
  echo "$build was configured without clang; remove it or set TRELVIK_FUZZ_BUILD" >&2
  exit 2
fi
echo "== Building the fuzz targets in $build"
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRELVIK_FUZZ=ON \
  -DTRELVIK_WITH_QT=OFF -DTRELVIK_BENCH=OFF >/dev/null
cmake --build "$build" -j "$parallel" --target trelvik_fuzzers

# name, binary, seed folder, dictionary (possibly empty), one target a line.
targets=()
while IFS= read -r line; do
  [[ -n $line ]] || continue
  name=${line%%$'\t'*}
  if (($# == 0)) || [[ " $* " == *" $name "* ]]; then targets+=("$line"); fi
done <"$build/fuzz/targets.tsv"
if ((${#targets[@]} == 0)); then
  echo "no fuzz target matches: $*" >&2
  exit 2
fi

runs=$build/fuzz-runs
corpora=$build/fuzz-corpus

run_target() {
  local name=$1 binary=$2 seeds=$3 dict=$4
  local out=$runs/$name
  rm -rf "$out"
  mkdir -p "$out" "$corpora/$name"
  local args=(-max_total_time="$seconds" -timeout="$unit_timeout" -rss_limit_mb="$rss_limit_mb"
              -print_final_stats=1 -close_fd_mask=1 -artifact_prefix="$out/")
  [[ -z $dict ]] || args+=(-dict="$dict")
  local status=0
  # The outer limit only guards against a run that stops answering altogether.
  ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    timeout -s INT -k 30 $((seconds * 2 + 120)) \
    "$binary" "${args[@]}" "$corpora/$name" "$seeds" >"$out/log" 2>&1 || status=$?
  echo "$status" >"$out/status"
}

# "cov ft corpus" of a libFuzzer status line.
figures() {
  sed -n 's/.*cov: \([0-9]*\) ft: \([0-9]*\) corp: \([0-9]*\).*/\1 \2 \3/p' | "$@"
}

summarise() {
  local name=$1
  local out=$runs/$name log=$runs/$name/log
  local status execs first last fault reproducer
  status=$(cat "$out/status")
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  first=$(grep 'INITED' "$log" | figures head -1 || true)
  last=$(grep 'cov: ' "$log" | figures tail -1 || true)
  read -r cov0 ft0 corp0 <<<"${first:-? ? ?}"
  read -r cov1 ft1 corp1 <<<"${last:-? ? ?}"
  reproducer=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log" | head -1)
  fault=$(grep -m1 -E '^SUMMARY: ' "$log" | sed 's/^SUMMARY: //' || true)
  [[ -n $fault ]] || fault=$(grep -m1 -E '==ERROR: |ERROR: libFuzzer|runtime error:' "$log" | sed 's/^==[0-9]*==//' || true)
  local verdict=ok
  if [[ $status != 0 || -n $reproducer ]]; then
    verdict="FAULT: ${fault:-exit status $status}${reproducer:+ -- reproducer $reproducer}"
  fi
  printf '%-28s %10s execs  cov %5s -> %-5s  ft %6s -> %-6s  corpus %5s -> %-5s  %s\n' \
    "$name" "${execs:-?}" "$cov0" "$cov1" "$ft0" "$ft1" "$corp0" "$corp1" "$verdict"
  [[ $verdict == ok ]]
}

echo "== Fuzzing ${#targets[@]} targets for $seconds s each, $parallel at a time"
for line in "${targets[@]}"; do
  IFS=$'\t' read -r name binary seeds dict <<<"$line"
  while (($(jobs -rp | wc -l) >= parallel)); do wait -n || true; done
  echo "   $name"
  run_target "$name" "$binary" "$seeds" "${dict:-}" &
done
wait

echo "== Results (logs and reproducers in $runs/)"
faults=0
for line in "${targets[@]}"; do
  summarise "${line%%$'\t'*}" || faults=$((faults + 1))
done
if ((faults > 0)); then
  echo "$faults of ${#targets[@]} targets found a fault"
  exit 1
fi
echo "every target ran clean"
