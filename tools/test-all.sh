#!/usr/bin/env bash
# The whole test run: install what is missing, build both configurations, run every
# test natively (AddressSanitizer + UBSan), each fuzz target for a few seconds, and
# every test under Wine. Exits non-zero if anything fails. .ci/run calls exactly this.
set -uo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh || exit 1

status=0
step() { echo; echo "=== $*"; }

step "native: configure and build"
cmake --preset native >/dev/null && cmake --build --preset native || exit 1
step "native: tests"
ctest --preset native || status=1

# Every fuzz target a few seconds on its corpus: a reader that breaks again shows here.
step "native: fuzz targets"
tools/fuzz.sh 3 || status=1

step "windows: configure and build"
cmake --preset windows >/dev/null && cmake --build --preset windows || exit 1

# Start the shared Wine server (and Xvfb if there is no display) once for all test
# programs, and stop both again whatever happens.
trap 'tools/wine-run.sh --stop' EXIT
tools/wine-run.sh --prepare || exit 1
step "windows: tests under Wine"
ctest --preset windows || status=1

echo
if [ $status -eq 0 ]; then echo "=== all tests passed"; else echo "=== some tests FAILED"; fi
exit $status
