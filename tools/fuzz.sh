#!/usr/bin/env bash
# Builds the fuzz targets (clang with libFuzzer, AddressSanitizer and UBSan; one target
# per reader, see fuzz/) and runs each for SECONDS (default 60), starting from its seed
# corpus in fuzz/corpus/<target>. Inputs that reach new code are kept between runs in
# build/fuzz/corpus/<target> (outside the repository); an input that breaks a property,
# crashes, leaks or hangs is saved in build/fuzz/findings/<target>/ and makes the script
# fail. For each target it prints the executions, the coverage (edges and features) and
# the corpus size; the full output is in build/fuzz/logs/<target>.log.
#
#   tools/fuzz.sh [SECONDS] [TARGET...]
set -uo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
[ $# -gt 0 ] && shift
case "$seconds" in ''|*[!0-9]*) echo "fuzz: SECONDS must be a whole number" >&2; exit 2 ;; esac

if ! command -v clang++ >/dev/null; then
  echo "fuzz: clang++ is missing; run tools/setup.sh as root" >&2
  exit 1
fi
cmake --preset fuzz >/dev/null && cmake --build --preset fuzz >/dev/null || {
  echo "fuzz: the build failed (cmake --build --preset fuzz shows why)" >&2
  exit 1
}

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in fuzz/fuzz_*.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi

mkdir -p build/fuzz/logs
status=0
total=0
printf '%-20s %12s %8s %8s %8s  %s\n' target executions edges features corpus result
for t in "${targets[@]}"; do
  program="build/fuzz/fuzz/$t"
  work="build/fuzz/corpus/$t"
  findings="build/fuzz/findings/$t"
  log="build/fuzz/logs/$t.log"
  mkdir -p "$work" "$findings"
  if [ ! -x "$program" ]; then
    echo "fuzz: no target $t" >&2
    status=1
    continue
  fi
  # Inputs up to 512 bytes: every property is about a line, a unit or a short pattern,
  # and short inputs keep the executions many.
  "$program" -max_total_time="$seconds" -max_len=512 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$work" "fuzz/corpus/$t" >"$log" 2>&1
  rc=$?
  execs=$(awk '/stat::number_of_executed_units/ {print $2}' "$log" | tail -1)
  edges=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | awk '{print $2}')
  features=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | awk '{print $2}')
  corpus=$(find "$work" -type f | wc -l)
  total=$((total + ${execs:-0}))
  if [ $rc -eq 0 ]; then result=ok; else result="FOUND (exit $rc)"; status=1; fi
  printf '%-20s %12s %8s %8s %8s  %s\n' "$t" "${execs:-?}" "${edges:-?}" "${features:-?}" "$corpus" "$result"
  if [ $rc -ne 0 ]; then
    grep -E 'ERROR|property failed|SUMMARY|Test unit written' "$log" | head -5 | sed 's/^/    /'
  fi
done
echo "total executions: $total"
exit $status
