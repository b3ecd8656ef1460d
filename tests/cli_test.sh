#!/bin/bash
# End-to-end checks of skyplate-cli: what it prints, its exit statuses, and
# the exact picture it writes for the example track.
#   cli_test.sh SKYPLATE_CLI SOURCE_DIR
CLI=$1
SRC=$2
source "$(dirname "$0")/test_lib.sh"

copy_example "$WORK/hill"
expect "builds the example" 0 "^$WORK/hill/Hill_mask_Topdown.bmp$" -- "$CLI" "$WORK/hill/Hill.track"
expect "reports All Done" 0 "^All Done$" -- "$CLI" "$WORK/hill/Hill.track"
check "writes the exact picture" cmp -s "$WORK/hill/Hill_mask_Topdown.bmp" \
  "$SRC/tests/data/hill_topdown.bmp"
expect "quiet prints nothing" 0 "^$" -- "$CLI" --quiet "$WORK/hill/Hill.track"
expect "version names the tool" 0 "^skyplate-cli 1\.0\.2\.109$" -- "$CLI" --version
expect "no track given" 1 "TRACK is required" -- "$CLI"

expect "not a track file" 2 "notes.txt: File is not a \.track file\.$" -- \
  "$CLI" "$WORK/notes.txt"
expect "first failure decides, every track is tried" 2 "^All Done$" -- \
  "$CLI" "$WORK/notes.txt" "$WORK/hill/Hill.track"

printf '[TerrainMaps]\nMaskMap=Hill_mask.bmp\nOverlay_Base=tiles\\sand.bmp\n' >"$WORK/hill/Short.track"
expect "missing entry names the key" 3 "Overlay_R.*Error getting MaskMap filename" -- \
  "$CLI" "$WORK/hill/Short.track"
expect "unreadable track file" 3 "cannot open the track file" -- "$CLI" "$WORK/none.track"

copy_example "$WORK/broken"
head -c 100 "$SRC/examples/hill/tiles/rock.bmp" >"$WORK/broken/tiles/rock.bmp"
expect "broken image is a warning" 0 "warning: Overlay_R: .*rock\.bmp: " -- \
  "$CLI" "$WORK/broken/Hill.track"

copy_example "$WORK/taken"
mkdir "$WORK/taken/Hill_mask_Topdown.bmp"
expect "output name taken by a folder" 4 "Hill_mask_Topdown\.bmp: not written" -- \
  "$CLI" "$WORK/taken/Hill.track"
check "no temporary file left" no_temporary_files "$WORK/taken"

finish
