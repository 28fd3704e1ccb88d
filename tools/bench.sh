#!/usr/bin/env bash
# Builds the Windows configuration and runs every benchmark program (bench_*.exe)
# under Wine, printing their figures. Benchmarks are never part of the test run.
#   tools/bench.sh [NAME-REGEX]    only the benchmarks whose name matches
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows
filter="${1:-.}"
trap 'tools/wine-run.sh --stop' EXIT
tools/wine-run.sh --prepare
found=0
while IFS= read -r exe; do
  name=$(basename "$exe" .exe)
  [[ "$name" =~ $filter ]] || continue
  found=1
  echo "=== $name"
  # The long run plays 1,000 media at the player's own pace (about 20 minutes).
  limit=900
  [ "$name" = bench_longrun ] && limit=2700
  TESSEL_TIMEOUT=$limit tools/wine-run.sh "$exe" || echo "=== $name exited with $?"
done < <(find build/windows/benchmarks -name 'bench_*.exe' | sort)
[ $found = 1 ] || echo "no benchmark matched '$filter'"
