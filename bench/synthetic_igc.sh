#!/usr/bin/env bash
# Writes an IGC file of FIXES made-up fixes one second apart to standard
# output: a glider that circles in thermals and glides on between them over
# the Alps, for timing conversions of logs far longer than real ones (200,000
# fixes run for 55 hours, past two midnights).
#
#   bench/synthetic_igc.sh FIXES [SEED] > flight.igc
set -euo pipefail

if (($# < 1 || $# > 2)) || ! [[ $1 =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: $0 FIXES [SEED]" >&2
  exit 2
fi

awk -v fixes="$1" -v seed="${2:-1}" '
function angle(value, degreeDigits, positive, negative,    hemisphere, degrees, milliMinutes) {
  hemisphere = value < 0 ? negative : positive
  if (value < 0) value = -value
  degrees = int(value)
  milliMinutes = int((value - degrees) * 60000 + 0.5)
  if (milliMinutes == 60000) { degrees++; milliMinutes = 0 }
  return sprintf("%0" degreeDigits "d%05d%s", degrees, milliMinutes, hemisphere)
}
BEGIN {
  srand(seed)
  printf "AXXX001 synthetic flight\r\nHFDTE010624\r\nHFPLTPILOT:Synthetic\r\n"
  lat = 46.5; lon = 8.0; altitude = 1500; heading = 0; start = 9 * 3600
  pi = atan2(0, -1); metresPerDegree = 111320
  for (i = 0; i < fixes; ++i) {
    # Two minutes of circling, then a minute of glide, over and over.
    phase = i % 180
    if (phase < 120) { heading += 2 * pi / 25; altitude += 1.5 + rand() - 0.5 }
    else { heading += (rand() - 0.5) * 0.1; altitude -= 1.2 }
    if (altitude < 400) altitude = 2500
    lat += 12 * cos(heading) / metresPerDegree
    lon += 12 * sin(heading) / (metresPerDegree * cos(lat * pi / 180))
    seconds = (start + i) % 86400
    printf "B%02d%02d%02d%s%sA%05d%05d\r\n", int(seconds / 3600), int(seconds / 60) % 60, seconds % 60,
           angle(lat, 2, "N", "S"), angle(lon, 3, "E", "W"), int(altitude - 30), int(altitude)
  }
}'
