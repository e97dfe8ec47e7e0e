#!/usr/bin/env bash
# Installs what is missing, builds, and shows the program.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRELVIK_BENCH=OFF >/dev/null
cmake --build build -j "${TRELVIK_JOBS:-2}" --target trelvik
./build/trelvik --version
./build/trelvik --help || true
if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
  ./build/trelvik
fi
