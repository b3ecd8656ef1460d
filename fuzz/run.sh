#!/bin/bash
# Builds the fuzz targets with clang, ASan and UBSan, and runs each for a
# given time from the seed corpus our own encoder writes. Exits non-zero on
# any finding; the input that caused it is left in BUILD/findings/ and belongs
# in tests/crashers/<target>/ once fixed.
#   run.sh [SECONDS] [TARGET...]    (SECONDS default 60; FUZZ_BUILD, JOBS)
# Long runs for execution counts: SANITIZE=OFF builds with coverage only,
# several times faster, and FORK=N runs N fuzzing processes at once.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
SECONDS_EACH=${1:-60}
shift || true
TARGETS=("$@")
[ ${#TARGETS[@]} = 0 ] && TARGETS=(bmp_decoder mask_header track_file build)
BUILD=${FUZZ_BUILD:-$ROOT/build/fuzz}

CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSKYPLATE_FUZZ=ON -DSKYPLATE_SANITIZE="${SANITIZE:-ON}" -DSKYPLATE_TESTS=OFF >/dev/null
cmake --build "$BUILD" -j"${JOBS:-2}" --target make-fuzz-seeds "${TARGETS[@]/%/_fuzz}"

rm -rf "$BUILD/seeds"
"$BUILD/fuzz/make-fuzz-seeds" "$BUILD/seeds"
mkdir -p "$BUILD/findings"
for target in "${TARGETS[@]}"; do
  echo "== fuzzing $target for ${SECONDS_EACH}s"
  corpus=$BUILD/corpus/$target
  mkdir -p "$corpus"
  # Hostile inputs must stay well inside the memory limits: the malloc limit
  # turns any larger allocation into a finding.
  crashers=()
  [ -d "$ROOT/tests/crashers/$target" ] && crashers=("$ROOT/tests/crashers/$target")
  log=$BUILD/findings/$target.log
  status=0
  fork=()
  [ "${FORK:-1}" -gt 1 ] && fork=(-fork="$FORK")
  "$BUILD/fuzz/${target}_fuzz" "${fork[@]}" "$corpus" "$BUILD/seeds/$target" "${crashers[@]}" \
    -max_total_time="$SECONDS_EACH" -max_len=8192 -timeout=10 -rss_limit_mb=2048 \
    -malloc_limit_mb=512 -artifact_prefix="$BUILD/findings/$target-" -print_final_stats=1 \
    >"$log" 2>&1 || status=$?
  grep -E '^(#[0-9]+.*DONE|stat::number_of_executed_units|==[0-9]+==|SUMMARY|Test unit written)' \
    "$log" || true
  { grep -E '^#[0-9]+: ' "$log" || true; } | tail -n 1 # executions of all forked processes
  [ "$status" = 0 ] || { echo "finding in $target: see $log"; exit 1; }
done
