#!/usr/bin/env bash
# Sets the exact contest scorer beside the public JavaScript solver
# igc-xc-score 1.8, flight by flight, in one run on this machine: the CPU time
# of the search alone on each side (files read and parsed beforehand), under
# XContest and FFVL rules, and the ratio.
#
#   bench/contest_vs_igc_xc_score.sh [FOLDER]
#
# FOLDER defaults to ../shared/flights. igc-xc-score is installed with npm into
# a temporary folder outside the project (IGC_XC_SCORE_DIR names a folder where
# it is installed already). Needs node and npm, and a build with benchmarks
# (build/bench/analysis/contest_bench, or CONTEST_BENCH).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
folder=$(cd "${1:-$root/../shared/flights}" && pwd)
bench=${CONTEST_BENCH:-$root/build/bench/analysis/contest_bench}
[[ -x $bench ]] || { echo "no benchmark at $bench (build with benchmarks, or set CONTEST_BENCH)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
solver=${IGC_XC_SCORE_DIR:-}
if [[ -z $solver ]]; then
  solver=$work/solver
  mkdir -p "$solver"
  (cd "$solver" && npm install --silent --no-audit --no-fund igc-xc-score@1.8 igc-parser >/dev/null)
fi

cat >"$solver/times.mjs" <<'JS'
import fs from 'fs';
import IGCParser from 'igc-parser';
import { solver, scoringRules } from 'igc-xc-score';
const [,, rules, ...files] = process.argv;
for (const file of files) {
  const flight = IGCParser.parse(fs.readFileSync(file, 'utf8'), { lenient: true });
  const before = process.cpuUsage();
  const run = solver(flight, scoringRules[rules], {});
  let step;
  do { step = run.next(); } while (!step.done);
  const used = process.cpuUsage(before);
  console.log(`${rules}/${file.split('/').pop()}\t${((used.user + used.system) / 1000).toFixed(1)}\t${step.value.score}`);
}
JS

mapfile -t flights < <(find "$folder" -maxdepth 1 -name '*.igc' | LC_ALL=C sort)
for rules in XContest FFVL; do
  (cd "$solver" && node times.mjs "$rules" "${flights[@]}")
done >"$work/theirs.tsv"
TRELVIK_FLIGHTS=$folder "$bench" --benchmark_format=csv 2>/dev/null |
  awk -F, 'NR > 1 { gsub(/"/, "", $1); print $1 "\t" $4 }' >"$work/ours.tsv"

printf '%-42s %12s %12s %8s\n' flight "igc-xc-score" trelvik ratio
awk -F'\t' 'NR == FNR { ours[$1] = $2; next }
  ($1 in ours) { printf "%-42s %9.1f ms %9.2f ms %7.1fx\n", $1, $2, ours[$1], $2 / ours[$1] }' \
  "$work/ours.tsv" "$work/theirs.tsv" | tee "$work/table.txt"
awk '{ print $NF + 0 }' "$work/table.txt" | sort -n |
  awk '{ r[NR] = $1 } END { m = (NR % 2) ? r[(NR + 1) / 2] : (r[NR / 2] + r[NR / 2 + 1]) / 2;
         printf "median ratio %.1fx, lowest %.1fx over %d runs\n", m, r[1], NR }'
