#!/usr/bin/env bash
# Times the whole conversion process, `trelvik /IGC2KML=<flight>`, on every IGC
# file of a folder, as a user running it would wait for it: start-up, reading,
# analysis and writing included. Each flight is copied into a temporary folder
# and converted there, so nothing is written next to the inputs.
#
#   bench/igc2kml_times.sh FOLDER [RUNS]
#
# RUNS (default 3) conversions per flight; the table gives their median and
# fastest wall time in milliseconds. TRELVIK names another program than the
# worktree's build/trelvik. COMPARE names a command that is run as
# `$COMPARE FLIGHT` RUNS times per flight in the same loop (for example another
# scorer, installed outside the project); the table then adds its median and
# the ratio of the two medians. Exits 1 when a conversion fails.
set -euo pipefail

if (($# < 1 || $# > 2)) || [[ ! -d $1 ]]; then
  echo "usage: $0 FOLDER [RUNS]" >&2
  exit 2
fi
folder=$(cd "$1" && pwd)
runs=${2:-3}
if ! [[ $runs =~ ^[1-9][0-9]*$ ]]; then
  echo "RUNS must be a whole number above 0" >&2
  exit 2
fi
program=${TRELVIK:-$(cd "$(dirname "$0")/.." && pwd)/build/trelvik}
if [[ ! -x $program ]]; then
  echo "no program at $program (build it, or set TRELVIK)" >&2
  exit 2
fi
# The conversions run inside a temporary folder.
program=$(cd "$(dirname "$program")" && pwd)/$(basename "$program")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Timed runs start from the shell itself, without a subshell or a clock
# program around them (EPOCHREALTIME is read without a fork), so the figures
# hold only the programs' own time.
cd "$work"

mapfile -t flights < <(find "$folder" -maxdepth 1 -type f -iname '*.igc' | LC_ALL=C sort)
if ((${#flights[@]} == 0)); then
  echo "no IGC file in $folder" >&2
  exit 2
fi

# Median of whole numbers, one per line.
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

compare=${COMPARE:-}
if [[ -n $compare ]]; then
  printf '%-40s %8s %10s %10s %12s %7s\n' flight fixes median_ms fastest_ms compare_ms ratio
else
  printf '%-40s %8s %10s %10s\n' flight fixes median_ms fastest_ms
fi
failed=0
medians=()
ratios=()
for flight in "${flights[@]}"; do
  name=$(basename "$flight")
  # The program takes the name without its extension and reads name.igc.
  cp "$flight" "$work/flight.igc"
  chmod u+w "$work/flight.igc"
  fixes=$(grep -c '^B' "$flight" || true)
  times=()
  for ((run = 0; run < runs; ++run)); do
    rm -f "$work/flight.kml"
    start=${EPOCHREALTIME//[.,]/}
    if ! "$program" /IGC2KML=flight >/dev/null 2>"$work/errors"; then
      echo "$name: conversion failed: $(tr '\n' ' ' <"$work/errors")" >&2
      failed=1
      continue 2
    fi
    end=${EPOCHREALTIME//[.,]/}
    if [[ ! -s $work/flight.kml ]]; then
      echo "$name: no KML file written" >&2
      failed=1
      continue 2
    fi
    times+=($((end - start)))
  done
  middle=$(printf '%s\n' "${times[@]}" | median)
  fastest=$(printf '%s\n' "${times[@]}" | sort -n | head -1)
  medians+=("$middle")
  if [[ -z $compare ]]; then
    awk -v n="$name" -v f="$fixes" -v m="$middle" -v q="$fastest" \
      'BEGIN { printf "%-40s %8d %10.1f %10.1f\n", n, f, m / 1000, q / 1000 }'
    continue
  fi
  others=()
  for ((run = 0; run < runs; ++run)); do
    start=${EPOCHREALTIME//[.,]/}
    $compare "$flight" >/dev/null 2>&1 || true
    end=${EPOCHREALTIME//[.,]/}
    others+=($((end - start)))
  done
  other=$(printf '%s\n' "${others[@]}" | median)
  ratios+=("$(awk -v a="$other" -v b="$middle" 'BEGIN { printf "%.2f", a / b }')")
  awk -v n="$name" -v f="$fixes" -v m="$middle" -v q="$fastest" -v o="$other" \
    'BEGIN { printf "%-40s %8d %10.1f %10.1f %12.1f %6.1fx\n", n, f, m / 1000, q / 1000, o / 1000, o / m }'
done
rm -f "$work/flight.igc" "$work/flight.kml" "$work/errors"
if ((${#medians[@]} > 0)); then
  awk -v n="median over ${#medians[@]} flights" -v m="$(printf '%s\n' "${medians[@]}" | median)" \
    'BEGIN { printf "%-40s %8s %10.1f\n", n, "", m / 1000 }'
fi
if ((${#ratios[@]} > 0)); then
  printf '%s\n' "${ratios[@]}" | sort -n | awk '{ r[NR] = $1 } END {
    m = (NR % 2) ? r[(NR + 1) / 2] : (r[NR / 2] + r[NR / 2 + 1]) / 2
    printf "ratio median %.1fx, lowest %.1fx\n", m, r[1] }'
fi
exit "$failed"
