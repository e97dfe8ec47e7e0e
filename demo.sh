#!/usr/bin/env bash
# Installs what is missing, builds, and shows the program at work with neither
# a display nor an instrument: a simulated Flytec 6030 holding a real flight
# (sim/flights/) is downloaded unattended, once to an IGC file and once to a
# KML trip file, into demo-output/; the program then checks what it wrote and
# the flight's statistics and optimised distances are printed.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
# The same configuration as ./test.sh, so that the two share one build.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTRELVIK_WERROR=ON >/dev/null
cmake --build build -j "${TRELVIK_JOBS:-2}" --target trelvik trelvik-sim
program="${TRELVIK_DEMO_PROGRAM:-./build/trelvik}"
"$program" --version

out="$PWD/demo-output"
rm -rf "$out"
mkdir -p "$out"
work=$(mktemp -d)
sim_pid=
cleanup() {
  if [[ -n "$sim_pid" ]]; then kill "$sim_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# The simulator prints the pseudo-terminal it answers on as its first line.
./build/trelvik-sim flytec --igc=sim/flights/pg-flytec6030-2008-3s.igc >"$work/sim.out" 2>"$work/sim.err" &
sim_pid=$!
port=
for _ in $(seq 50); do
  port=$(head -n 1 "$work/sim.out" 2>/dev/null || true)
  [[ -n "$port" ]] && break
  sleep 0.1
done
if [[ -z "$port" ]]; then
  echo "The simulated instrument did not start:" >&2
  cat "$work/sim.err" >&2
  exit 1
fi
echo
echo "Simulated Flytec 6030 on $port"

# One unattended run: no window (/WIN=0), the simulated instrument, its
# newest flight (/TRACK=0). Its exit code is the run's verdict.
download() {
  local what=$1
  shift
  echo
  echo "== Unattended download to $what"
  echo "   trelvik /WIN=0 /COM=$port /GPS=IQCOMPEO /TRACK=0 $*"
  if ! "$program" /WIN=0 "/COM=$port" /GPS=IQCOMPEO /TRACK=0 "$@" </dev/null; then
    echo "The download to $what failed." >&2
    exit 1
  fi
}
download IGC "/IGC_LOG=$out/" /EXIT
download KML "/KML_LOG=$out/\$date.kml" /EXIT

igc=$(find "$out" -maxdepth 1 -name '*.igc' | head -n 1)
kml=$(find "$out" -maxdepth 1 -name '*.kml' | head -n 1)
if [[ -z "$igc" || -z "$kml" ]]; then
  echo "The downloads wrote no IGC or no KML file." >&2
  exit 1
fi

echo
echo "== Written to demo-output/"
printf '   %-32s %7d bytes, %d fixes\n' "$(basename "$igc")" "$(wc -c <"$igc")" "$(grep -c '^B' "$igc")"
printf '   %-32s %7d bytes\n' "$(basename "$kml")" "$(wc -c <"$kml")"

echo
echo "== Checks by the program itself"
# CHKKML answers with its exit code: 1 when the keyed hash of the track is valid.
set +e
"$program" /WIN=0 "/CHKKML=$kml" </dev/null >/dev/null
kml_check=$?
set -e
if [[ $kml_check -eq 1 ]]; then
  echo "   $(basename "$kml"): signature valid (the track is as the instrument delivered it)"
else
  echo "   $(basename "$kml"): signature NOT valid"
fi
# A Flytec delivers its own IGC file, signed by the instrument; the run saves
# it byte for byte, so it carries the instrument's G record, not the
# program's. The same flight read back by the program:
"$program" /WIN=0 "/LOGFILE=$igc" </dev/null | sed -n 's/^Status: /   '"$(basename "$igc")"': /p'
echo "   $(basename "$igc"): $(grep -c '^G' "$igc") G record(s) from the instrument, $(head -n 1 "$igc" | tr -d '\r')"

echo
echo "== The flight, from the KML trip file"
tr -d '\r' <"$kml" | awk '
  /<pre>/ { inPre = 1; head = ""; last = ""; next }
  /<\/pre>/ {
    if (inPre && head != "" && head != "Flight statistics") {
      n = split(last, field, " ")
      printf "   %-50s %8s km\n", head, field[n]
    }
    inPre = 0
    next
  }
  inPre && head == "" && NF { head = $0; if (head == "Flight statistics") print "   " head; next }
  inPre && head == "Flight statistics" { print "   " $0; next }
  inPre && NF { last = $0 }
'
echo
echo "Done: the files are in demo-output/."
