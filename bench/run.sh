#!/bin/bash
# The end-to-end benchmark: skyplate-cli against the I/O floor, measured in
# the same run, for terrain-like and random masks of several sizes.
#   bash bench/run.sh [SIZES...]      (default: 1024 4096 8192)
# Env: RUNS (default 5), JOBS (default: all cores), KEEP=1 keeps the tracks.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
RUNS=${RUNS:-5}
SIZES=("$@")
[ ${#SIZES[@]} -gt 0 ] || SIZES=(1024 4096 8192)

bash scripts/install-deps.sh
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DSKYPLATE_TESTS=OFF -DSKYPLATE_BENCH=ON \
  >/dev/null
cmake --build build/bench -j"$(nproc)" --target skyplate-cli make-track io-floor measure \
  >/dev/null
BIN=$ROOT/build/bench
WORK=$(mktemp -d /tmp/skyplate-bench.XXXXXX)
[ "${KEEP:-0}" = 1 ] || trap 'rm -rf "$WORK"' EXIT

median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)"
echo "runs per case: $RUNS (median), jobs: ${JOBS:-all cores}"
printf '%-6s %-8s %10s %10s %10s %10s %7s\n' size mask "cli s" "Mpix/s" "peak MiB" "floor s" ratio
for size in "${SIZES[@]}"; do
  for mask in terrain noise; do
    track="$WORK/$mask$size"
    "$BIN/tools/make-track" "$track" --width "$size" --height "$size" --mask "$mask"
    output="$track/Hill_mask_Topdown.bmp"
    bytes=$((54 + (3 * size + 3) / 4 * 4 * size))
    cli_times=() floor_times=() peaks=()
    for _ in $(seq "$RUNS"); do
      # Alternate the two so that both see the same state of the machine.
      read -r t _ < <("$BIN/bench/measure" "$BIN/bench/io-floor" "$track/Hill_mask.bmp" \
        "$track/floor.bmp" "$bytes")
      floor_times+=("$t")
      read -r t kib < <("$BIN/bench/measure" "$BIN/cli/skyplate-cli" -q ${JOBS:+--jobs "$JOBS"} \
        "$track/Hill.track")
      cli_times+=("$t")
      peaks+=("$kib")
    done
    [ -s "$output" ] || { echo "no output for $track" >&2; exit 1; }
    cli=$(printf '%s\n' "${cli_times[@]}" | median)
    floor=$(printf '%s\n' "${floor_times[@]}" | median)
    peak=$(printf '%s\n' "${peaks[@]}" | sort -n | tail -1)
    awk -v s="$size" -v m="$mask" -v c="$cli" -v f="$floor" -v p="$peak" 'BEGIN {
      printf "%-6s %-8s %10.3f %10.0f %10.1f %10.3f %7.2f\n", s, m, c, s * s / c / 1e6, p / 1024,
             f, c / f }'
    rm -rf "$track"
  done
done
