#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: first the unit tests
# once more under AddressSanitizer and UndefinedBehaviorSanitizer in a
# comma-decimal locale, then the whole suite of the normal build.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh

jobs=${TRELVIK_JOBS:-2}
# Most end-to-end cases wait on a line or a program rather than compute, so the
# tests run more at once than there are cores.
test_jobs=${TRELVIK_TEST_JOBS:-6}
locale_name=de_DE.UTF-8
locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$' || locale_name=C.UTF-8

echo "== Sanitizer build (core libraries and unit tests, no window)"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g1 -O0" -DTRELVIK_WITH_QT=OFF \
  -DTRELVIK_SANITIZE=ON -DTRELVIK_BENCH=OFF -DTRELVIK_WERROR=ON >/dev/null
cmake --build build-asan -j "$jobs"
echo "== Unit tests under AddressSanitizer and UndefinedBehaviorSanitizer, LC_ALL=$locale_name"
# The oracle comparisons over every real flight run in the normal build.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  GTEST_FILTER='-*RealFlights.FastEngineMatchesReference*' \
  LC_ALL=$locale_name ctest --test-dir build-asan -L core -j "$test_jobs" --output-on-failure

echo "== Normal build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTRELVIK_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
echo "== Every test"
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} ctest --test-dir build -j "$test_jobs" --output-on-failure
