#!/bin/bash
# The Windows programs end to end under Wine: Skyplate.exe (with its display
# window) against skyplate-cli.exe, each started with a track path and timed
# until its picture is written, by bench/gui_driver.cpp from the same Wine
# session; then the GUI's start-up to a ready main window and its peak memory.
#   bash bench/gui_run.sh [PRESET...]      (default: win64 win32, those built)
# Env: RUNS (default 3, median), SMALL/LARGE (default 1024/8192), MEMORY_SIZES
# (default "4096 8192 16384"), STAGES=1 also times the in-memory build's
# stages at the large size (bench/build_stages.cpp), KEEP=1 keeps the tracks. Needs the native
# build's tools/make-track (build/native) and each preset built with
# -DSKYPLATE_BENCH=ON (for gui-driver.exe).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
RUNS=${RUNS:-3}
SMALL=${SMALL:-1024}
LARGE=${LARGE:-8192}
read -r -a MEMORY_SIZES <<<"${MEMORY_SIZES:-4096 8192 16384}"
PRESETS=("$@")
[ ${#PRESETS[@]} -gt 0 ] || PRESETS=(win64 win32)
MAKE_TRACK=$ROOT/build/native/tools/make-track
[ -x "$MAKE_TRACK" ] || { echo "gui_run.sh: build the native preset first" >&2; exit 2; }

WORK=$(mktemp -d /tmp/skyplate-gui-bench.XXXXXX)
# shellcheck source=scripts/wine_session.sh
source "$ROOT/scripts/wine_session.sh"
cleanup() {
  wine_session_end
  [ "${KEEP:-0}" = 1 ] || rm -rf "$WORK"
}
trap cleanup EXIT
wine_session_start

# A track of SIZE x SIZE with MASK, made once; prints its Windows path.
track() {
  local folder="$WORK/$2$1"
  [ -d "$folder" ] || "$MAKE_TRACK" "$folder" --width "$1" --height "$1" --mask "$2" >/dev/null
  winepath -w "$folder/Hill.track" 2>/dev/null
}

echo "load: $(uptime | sed 's/.*load average/load average/')"
for preset in "${PRESETS[@]}"; do
  bin=$ROOT/build/$preset
  driver=$bin/bench/gui-driver.exe
  if [ ! -f "$driver" ]; then
    echo "$preset: not built with -DSKYPLATE_BENCH=ON, left out" >&2
    continue
  fi
  gui=$(winepath -w "$bin/ui/Skyplate.exe" 2>/dev/null)
  cli=$(winepath -w "$bin/cli/skyplate-cli.exe" 2>/dev/null)
  echo "== $preset: median of $RUNS, programs alternating; seconds to the picture written"
  printf '%-8s %9s %9s %9s %9s %9s %9s %7s\n' mask "gui $SMALL" "gui $LARGE" "gui diff" \
    "cli $SMALL" "cli $LARGE" "cli diff" ratio
  for mask in terrain noise; do
    small=$(track "$SMALL" "$mask")
    large=$(track "$LARGE" "$mask")
    mapfile -t t < <(wine "$driver" build "$RUNS" "$gui" "$small" "$cli" "$small" "$gui" "$large" \
      "$cli" "$large" 2>/dev/null | tr -d '\r' | cut -d' ' -f1)
    awk -v m="$mask" -v gs="${t[0]}" -v cs="${t[1]}" -v gl="${t[2]}" -v cl="${t[3]}" 'BEGIN {
      printf "%-8s %9.3f %9.3f %9.3f %9.3f %9.3f %9.3f %7.2f\n", m, gs, gl, gl - gs, cs, cl,
             cl - cs, (gl - gs) / (cl - cs) }'
  done
  if [ "${STAGES:-0}" = 1 ]; then
    for mask in terrain noise; do
      echo "stages of the in-memory build, $LARGE $mask:"
      wine "$bin/bench/build-stages.exe" "$(winepath -w "$WORK/$mask$LARGE" 2>/dev/null)" "$RUNS" \
        2>/dev/null | tr -d '\r'
    done
  fi
  read -r idle shown < <(wine "$driver" startup "$RUNS" "$gui" 2>/dev/null | tr -d '\r')
  echo "start-up of Skyplate.exe: input idle ${idle} s, main window visible ${shown} s"
  echo "peak memory of Skyplate.exe building a terrain track (one run each):"
  printf '%-7s %8s %13s %13s  %s\n' size "s" "pagefile MiB" "working MiB" outcome
  for size in "${MEMORY_SIZES[@]}"; do
    read -r s pagefile working outcome < <(wine "$driver" build 1 "$gui" \
      "$(track "$size" terrain)" 2>/dev/null | tr -d '\r')
    printf '%-7s %8s %13s %13s  %s\n' "$size" "$s" "$pagefile" "$working" "$outcome"
  done
done
