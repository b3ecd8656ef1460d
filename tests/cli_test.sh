#!/bin/bash
# End-to-end checks of skyplate-cli: what it prints, its exit statuses, and
# the exact picture it writes for the example track.
#   cli_test.sh SKYPLATE_CLI SOURCE_DIR
set -uo pipefail
CLI=$1
SRC=$2
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
failures=0

# expect NAME STATUS PATTERN -- COMMAND...: runs COMMAND, checks its exit
# status and that its output (stdout and stderr) matches PATTERN.
expect() {
  local name=$1 status=$2 pattern=$3
  shift 4
  local out rc
  out=$("$@" 2>&1)
  rc=$?
  if [ "$rc" != "$status" ] || ! grep -qE -- "$pattern" <<<"$out"; then
    echo "FAIL $name: exit $rc (wanted $status), output:"
    echo "$out"
    failures=$((failures + 1))
  else
    echo "ok   $name"
  fi
}

cp -r "$SRC/examples/hill" "$WORK/hill"
expect "builds the example" 0 "^$WORK/hill/Hill_mask_Topdown.bmp$" -- "$CLI" "$WORK/hill/Hill.track"
expect "reports All Done" 0 "^All Done$" -- "$CLI" "$WORK/hill/Hill.track"
if cmp -s "$WORK/hill/Hill_mask_Topdown.bmp" "$SRC/tests/data/hill_topdown.bmp"; then
  echo "ok   writes the exact picture"
else
  echo "FAIL writes the exact picture"
  failures=$((failures + 1))
fi
expect "quiet prints nothing" 0 "^$" -- "$CLI" --quiet "$WORK/hill/Hill.track"
expect "version" 0 "^1\.0\.2\.109$" -- "$CLI" --version
expect "no track given" 1 "TRACK is required" -- "$CLI"

expect "not a track file" 2 "notes.txt: File is not a \.track file\.$" -- \
  "$CLI" "$WORK/notes.txt"
expect "first failure decides, every track is tried" 2 "^All Done$" -- \
  "$CLI" "$WORK/notes.txt" "$WORK/hill/Hill.track"

printf '[TerrainMaps]\nMaskMap=Hill_mask.bmp\nOverlay_Base=tiles\\sand.bmp\n' >"$WORK/hill/Short.track"
expect "missing entry names the key" 3 "Overlay_R.*Error getting MaskMap filename" -- \
  "$CLI" "$WORK/hill/Short.track"
expect "unreadable track file" 3 "cannot open the track file" -- "$CLI" "$WORK/none.track"

cp -r "$SRC/examples/hill" "$WORK/broken"
head -c 100 "$SRC/examples/hill/tiles/rock.bmp" >"$WORK/broken/tiles/rock.bmp"
expect "broken image is a warning" 0 "warning: Overlay_R: .*rock\.bmp: " -- \
  "$CLI" "$WORK/broken/Hill.track"

cp -r "$SRC/examples/hill" "$WORK/taken"
mkdir "$WORK/taken/Hill_mask_Topdown.bmp"
expect "output name taken by a folder" 4 "Hill_mask_Topdown\.bmp: not written" -- \
  "$CLI" "$WORK/taken/Hill.track"
leftovers=$(find "$WORK/taken" -name '*.tmp' | wc -l)
[ "$leftovers" = 0 ] && echo "ok   no temporary file left" || {
  echo "FAIL temporary files left"
  failures=$((failures + 1))
}

echo "$((13 - failures)) passed, $failures failed"
[ "$failures" = 0 ]
