#!/usr/bin/env bash
# Time from the program's start to its first mapped window, under Xvfb:
#   bench/window_startup.sh [RUNS] [FILE]
# Each run starts build/trelvik with fresh settings (and FILE, when given, to
# open at start), waits with xdotool for a visible window of the program and
# prints the milliseconds; the last line is the median. Needs xvfb-run and
# xdotool (Debian packages of the same names).
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
file=${2:-}
program=build/trelvik
[[ -x $program ]] || { echo "build the program first: $program is missing" >&2; exit 1; }
command -v xdotool >/dev/null || { echo "xdotool is missing (apt-get install xdotool)" >&2; exit 1; }

one_run() {
  local config
  config=$(mktemp -d)
  local start end
  start=$(date +%s%N)
  XDG_CONFIG_HOME=$config QT_QPA_PLATFORM=xcb "$program" ${file:+"$file"} >/dev/null 2>"$config/stderr" &
  local pid=$!
  # xdotool's own --sync looks only every half second; this looks every 5 ms.
  until xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; do
    kill -0 "$pid" 2>/dev/null || { echo "the program ended before it showed a window:" >&2; cat "$config/stderr" >&2; exit 1; }
    sleep 0.005
  done
  end=$(date +%s%N)
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  rm -rf "$config"
  echo $(((end - start) / 1000000))
}

if [[ -z ${TRELVIK_STARTUP_INSIDE_X:-} ]]; then
  exec xvfb-run -a -s "-screen 0 1280x900x24" env TRELVIK_STARTUP_INSIDE_X=1 "$0" "$runs" "$file"
fi
times=()
for ((i = 1; i <= runs; ++i)); do
  ms=$(one_run)
  times+=("$ms")
  echo "run $i: $ms ms to the first window"
done
median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}')
echo "median: $median ms"
