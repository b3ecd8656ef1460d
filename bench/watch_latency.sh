#!/bin/bash
# skyplate-cli --watch: from the last write of a save to the picture being
# written, for one track, over several saves (in place and by renaming).
#   bash bench/watch_latency.sh BIN_DIR [SIZE]      (default 4096)
# Env: RUNS (default 5). Run by bench/run.sh, or alone after its build.
set -euo pipefail
BIN=$1
SIZE=${2:-4096}
RUNS=${RUNS:-5}
WORK=$(mktemp -d /tmp/skyplate-watch-bench.XXXXXX)
pid=""
trap '[ -n "$pid" ] && kill -TERM "$pid" 2>/dev/null; wait; rm -rf "$WORK"' EXIT

median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
builds() { grep -c " ms" "$WORK/watch.out" || true; }
wait_for_builds() {
  local tries
  for tries in $(seq 20000); do
    [ "$(builds)" -ge "$1" ] && return 0
    sleep 0.002
  done
  echo "watch_latency: no rebuild" >&2
  exit 1
}

"$BIN/tools/make-track" "$WORK/track" --width "$SIZE" --height "$SIZE"
tile=$WORK/track/tiles/sand.bmp
cp "$tile" "$WORK/sand.bmp"
"$BIN/cli/skyplate-cli" --watch "$WORK/track/Hill.track" >"$WORK/watch.out" 2>&1 &
pid=$!
wait_for_builds 1
latencies=() builds_ms=()
for run in $(seq "$RUNS"); do
  sleep 0.5
  if [ $((run % 2)) = 0 ]; then
    cat "$WORK/sand.bmp" >"$tile"
  else
    cp "$WORK/sand.bmp" "$tile.new"
    mv "$tile.new" "$tile"
  fi
  written=$(date +%s%N)
  wait_for_builds $((run + 1))
  picture=$(stat -c %.9Y "$WORK/track/Hill_mask_Topdown.bmp" | tr -d .)
  latencies+=($(((picture - written) / 1000000)))
  builds_ms+=("$(tail -1 "$WORK/watch.out" | awk '{print $(NF - 1)}')")
done
latency=$(printf '%s\n' "${latencies[@]}" | median)
build=$(printf '%s\n' "${builds_ms[@]}" | median)
echo "watch: $SIZE x $SIZE, last write to picture written: $latency ms median of $RUNS" \
  "(the rebuild itself: $build ms; settling: 100 ms; goal: start within 200 ms)"
