#!/bin/bash
# The end-to-end benchmark: skyplate-cli against the I/O floor, measured in
# the same run, for terrain-like and random masks of several sizes; then the
# PNG build against the BMP build of the same run, in time and file size.
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
png_table=""
for size in "${SIZES[@]}"; do
  for mask in terrain noise; do
    track="$WORK/$mask$size"
    "$BIN/tools/make-track" "$track" --width "$size" --height "$size" --mask "$mask"
    output="$track/Hill_mask_Topdown.bmp"
    bytes=$((54 + (3 * size + 3) / 4 * 4 * size))
    cli_times=() floor_times=() peaks=() png_times=() png_peaks=()
    for _ in $(seq "$RUNS"); do
      # Alternate the two so that both see the same state of the machine.
      read -r t _ < <("$BIN/bench/measure" "$BIN/bench/io-floor" "$track/Hill_mask.bmp" \
        "$track/floor.bmp" "$bytes")
      floor_times+=("$t")
      read -r t kib < <("$BIN/bench/measure" "$BIN/cli/skyplate-cli" -q ${JOBS:+--jobs "$JOBS"} \
        "$track/Hill.track")
      cli_times+=("$t")
      peaks+=("$kib")
      read -r t kib < <("$BIN/bench/measure" "$BIN/cli/skyplate-cli" -q ${JOBS:+--jobs "$JOBS"} \
        --format png "$track/Hill.track")
      png_times+=("$t")
      png_peaks+=("$kib")
    done
    [ -s "$output" ] || { echo "no output for $track" >&2; exit 1; }
    png_output="${output%.bmp}.png"
    [ -s "$png_output" ] || { echo "no PNG output for $track" >&2; exit 1; }
    cli=$(printf '%s\n' "${cli_times[@]}" | median)
    floor=$(printf '%s\n' "${floor_times[@]}" | median)
    peak=$(printf '%s\n' "${peaks[@]}" | sort -n | tail -1)
    awk -v s="$size" -v m="$mask" -v c="$cli" -v f="$floor" -v p="$peak" 'BEGIN {
      printf "%-6s %-8s %10.3f %10.0f %10.1f %10.3f %7.2f\n", s, m, c, s * s / c / 1e6, p / 1024,
             f, c / f }'
    png=$(printf '%s\n' "${png_times[@]}" | median)
    png_peak=$(printf '%s\n' "${png_peaks[@]}" | sort -n | tail -1)
    png_table+=$(awk -v s="$size" -v m="$mask" -v p="$png" -v c="$cli" -v k="$png_peak" \
      -v pb="$(stat -c %s "$png_output")" -v bb="$(stat -c %s "$output")" 'BEGIN {
      printf "%-6s %-8s %10.3f %10.3f %7.2f %10.1f %10.1f %7.1f\n", s, m, p, c, p / c, k / 1024,
             pb / 1048576, 100 * pb / bb }')$'\n'
    rm -rf "$track"
  done
done

# Goals: the PNG build at most 3 times the BMP build at 8192 terrain, and the
# PNG at most 40 % of the BMP's size on the terrain mask.
echo
echo "PNG against BMP (same runs; goals: time ratio <= 3 at 8192 terrain, size <= 40 % on terrain)"
printf '%-6s %-8s %10s %10s %7s %10s %10s %7s\n' size mask "png s" "bmp s" ratio "peak MiB" \
  "png MiB" "size %"
printf '%s' "$png_table"

# A batch of many small tracks against one track of all their pixels: the
# batch should keep every core as busy as the one large picture does. Each
# track has its own textures (the worst case), and again with copies of one
# set, as tracks made from the game's own grounds have.
BATCH=${BATCH:-64}
BATCH_SIZE=${BATCH_SIZE:-1024}
side=$(awk -v n="$BATCH" -v s="$BATCH_SIZE" 'BEGIN { printf "%d", sqrt(n) * s }')
for i in $(seq "$BATCH"); do
  "$BIN/tools/make-track" "$WORK/batch/$i" --width "$BATCH_SIZE" --height "$BATCH_SIZE" --seed "$i"
done
cp -r "$WORK/batch" "$WORK/shared"
for i in $(seq 2 "$BATCH"); do cp "$WORK/batch/1/tiles/"* "$WORK/shared/$i/tiles/"; done
"$BIN/tools/make-track" "$WORK/single" --width "$side" --height "$side"
batch_times=() shared_times=() single_times=()
for _ in $(seq "$RUNS"); do
  read -r t _ < <("$BIN/bench/measure" "$BIN/cli/skyplate-cli" -q -r ${JOBS:+--jobs "$JOBS"} \
    "$WORK/batch")
  batch_times+=("$t")
  read -r t _ < <("$BIN/bench/measure" "$BIN/cli/skyplate-cli" -q -r ${JOBS:+--jobs "$JOBS"} \
    "$WORK/shared")
  shared_times+=("$t")
  read -r t _ < <("$BIN/bench/measure" "$BIN/cli/skyplate-cli" -q ${JOBS:+--jobs "$JOBS"} \
    "$WORK/single/Hill.track")
  single_times+=("$t")
done
batch=$(printf '%s\n' "${batch_times[@]}" | median)
shared=$(printf '%s\n' "${shared_times[@]}" | median)
single=$(printf '%s\n' "${single_times[@]}" | median)
awk -v n="$BATCH" -v s="$BATCH_SIZE" -v side="$side" -v b="$batch" -v c="$shared" -v o="$single" '
  BEGIN {
  printf "batch: %d tracks of %d: %.3f s with their own textures, %.3f s with one set;\n", n, s, b, c
  printf "       one track of %d: %.3f s; ratios %.2f and %.2f (goal: at most 1.50)\n", side, o,
         b / o, c / o }'

# Watching a track: from the last write of a save to the picture written.
bash "$ROOT/bench/watch_latency.sh" "$BIN" 4096
