#!/bin/bash
# Builds the fuzz targets with clang, ASan and UBSan, and runs each for a
# given time from the corpus kept in fuzz/corpus/<target>/ and the seeds our
# own encoder writes. Exits non-zero on any finding; the input that caused it
# is left in BUILD/findings/ and belongs in tests/crashers/<target>/ once
# fixed.
#   run.sh [SECONDS] [TARGET...]    (SECONDS default 60; FUZZ_BUILD, JOBS)
#   run.sh --merge [TARGET...]      fold what the runs found into fuzz/corpus/
# A run keeps its new inputs in build/fuzz-found/<target>/, so that runs build
# on each other; --merge minimises the kept corpus together with them
# (libFuzzer's -merge=1) and empties build/fuzz-found/, ready to commit.
# Long runs for execution counts: SANITIZE=OFF builds with coverage only,
# several times faster, in build/fuzz-coverage; FORK=N runs N fuzzing
# processes at once.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
MERGE=0
[ "${1:-}" = --merge ] && { MERGE=1; shift; }
SECONDS_EACH=60
[ $MERGE = 0 ] && [ $# -gt 0 ] && { SECONDS_EACH=$1; shift; }
TARGETS=("$@")
[ ${#TARGETS[@]} = 0 ] && TARGETS=(bmp_decoder mask_header track_file build)
SANITIZE=${SANITIZE:-ON}
DEFAULT_BUILD=$ROOT/build/fuzz
[ "$SANITIZE" = OFF ] && DEFAULT_BUILD=$ROOT/build/fuzz-coverage
BUILD=${FUZZ_BUILD:-$DEFAULT_BUILD}
FOUND=$ROOT/build/fuzz-found
# Hostile inputs must stay well inside the memory limits: the malloc limit
# turns any larger allocation into a finding.
LIMITS=(-max_len=8192 -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=512)

CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSKYPLATE_FUZZ=ON -DSKYPLATE_SANITIZE="$SANITIZE" -DSKYPLATE_TESTS=OFF >/dev/null
cmake --build "$BUILD" -j"${JOBS:-2}" --target make-fuzz-seeds "${TARGETS[@]/%/_fuzz}"
mkdir -p "$BUILD/findings"

rm -rf "$BUILD/seeds"
"$BUILD/fuzz/make-fuzz-seeds" "$BUILD/seeds"

if [ $MERGE = 1 ]; then
  for target in "${TARGETS[@]}"; do
    kept=$ROOT/fuzz/corpus/$target
    mkdir -p "$kept" "$FOUND/$target"
    # Every run reads the seeds anyway: starting the merged corpus from them
    # keeps only inputs that reach what the seeds do not, and the seeds are
    # taken out again afterwards.
    merged=$(mktemp -d "$BUILD/merged-$target.XXXXXX")
    cp "$BUILD/seeds/$target"/* "$merged/"
    "$BUILD/fuzz/${target}_fuzz" -merge=1 "${LIMITS[@]}" "$merged" "$kept" "$FOUND/$target" \
      >"$BUILD/findings/$target-merge.log" 2>&1 ||
      { echo "merging $target failed: see $BUILD/findings/$target-merge.log"; exit 1; }
    (cd "$BUILD/seeds/$target" && for seed in *; do rm -f "$merged/$seed"; done)
    rm -rf "$kept" "$FOUND/$target"
    mv "$merged" "$kept"
    echo "$target: $(find "$kept" -type f | wc -l) inputs," \
      "$(du -s --apparent-size -k "$kept" | cut -f1) KiB"
  done
  exit 0
fi

for target in "${TARGETS[@]}"; do
  echo "== fuzzing $target for ${SECONDS_EACH}s"
  mkdir -p "$FOUND/$target"
  corpora=("$FOUND/$target" "$BUILD/seeds/$target")
  for dir in "$ROOT/fuzz/corpus/$target" "$ROOT/tests/crashers/$target"; do
    [ -d "$dir" ] && corpora+=("$dir")
  done
  log=$BUILD/findings/$target.log
  status=0
  fork=()
  [ "${FORK:-1}" -gt 1 ] && fork=(-fork="$FORK")
  # New inputs go into the first corpus folder only: the kept corpus and the
  # crashers stay as they are.
  "$BUILD/fuzz/${target}_fuzz" "${fork[@]}" "${corpora[@]}" -max_total_time="$SECONDS_EACH" \
    "${LIMITS[@]}" -artifact_prefix="$BUILD/findings/$target-" -print_final_stats=1 \
    >"$log" 2>&1 || status=$?
  grep -E '^(#[0-9]+.*DONE|stat::number_of_executed_units|stat::average_exec_per_sec|==[0-9]+==|SUMMARY|Test unit written)' \
    "$log" || true
  { grep -E '^#[0-9]+: ' "$log" || true; } | tail -n 1 # executions of all forked processes
  [ "$status" = 0 ] || { echo "finding in $target: see $log"; exit 1; }
done
