#!/bin/bash
# End-to-end checks of skyplate-cli's batches: folders, -o, --strict and the
# closing line.
#   cli_batch_test.sh SKYPLATE_CLI SOURCE_DIR
CLI=$1
SRC=$2
source "$(dirname "$0")/test_lib.sh"

copy_example "$WORK/Tracks"
mkdir -p "$WORK/Tracks/sub" "$WORK/Empty"
sed 's/Hill_mask/Sub_mask/' "$SRC/examples/hill/Hill.track" >"$WORK/Tracks/sub/Sub.TRACK"
cp "$SRC/examples/hill/Hill_mask.bmp" "$WORK/Tracks/sub/Sub_mask.bmp"
cp -r "$WORK/Tracks/tiles" "$WORK/Tracks/sub/"
expect "a folder gives its tracks" 0 "^$WORK/Tracks/Hill_mask_Topdown.bmp$" -- \
  "$CLI" "$WORK/Tracks"
check "a folder leaves out its subfolders" [ ! -e "$WORK/Tracks/sub/Sub_mask_Topdown.bmp" ]
expect "-r takes the subfolders, and the closing line counts" 0 \
  "^2 tracks: 2 built, 0 failed$" -- "$CLI" -r "$WORK/Tracks"
check "-r builds the picture of the subfolder" cmp -s "$WORK/Tracks/sub/Sub_mask_Topdown.bmp" \
  "$SRC/tests/data/hill_topdown.bmp"
expect "a folder without tracks" 3 "Empty: no \.track file in the folder$" -- "$CLI" "$WORK/Empty"
expect "one line names the failed" 3 "^3 tracks: 2 built, 1 failed: $WORK/Empty$" -- \
  "$CLI" "$WORK/Tracks/Hill.track" "$WORK/Empty" "$WORK/Tracks/sub/Sub.TRACK"
expect "quiet and all built: no closing line" 0 "^$" -- "$CLI" -q -r "$WORK/Tracks"

rm -f "$WORK"/Tracks/*_Topdown.bmp "$WORK"/Tracks/sub/*_Topdown.bmp
expect "-o names the picture of one track" 0 "^$WORK/Map\.BMP$" -- \
  "$CLI" -o "$WORK/Map.BMP" "$WORK/Tracks/Hill.track"
check "-o writes the exact picture there, none beside the track" cmp -s "$WORK/Map.BMP" \
  "$SRC/tests/data/hill_topdown.bmp"
check "nothing beside the track" [ ! -e "$WORK/Tracks/Hill_mask_Topdown.bmp" ]
expect "-o with an extension of no format" 1 "out\.jpg: a picture's name ends in \.bmp" -- \
  "$CLI" -o "$WORK/out.jpg" "$WORK/Tracks/Hill.track"
expect "-o with several tracks is a folder, made when missing" 0 \
  "^$WORK/out/new/Sub_mask_Topdown\.bmp$" -- \
  "$CLI" --output "$WORK/out/new" -r "$WORK/Tracks"
check "both pictures in the folder" [ -s "$WORK/out/new/Hill_mask_Topdown.bmp" ]
cp "$WORK/Tracks/Hill.track" "$WORK/Tracks/sub/Again.track"
sed -i 's/Sub_mask/Hill_mask/' "$WORK/Tracks/sub/Again.track"
cp "$WORK/Tracks/Hill_mask.bmp" "$WORK/Tracks/sub/"
expect "two tracks writing one name are refused, naming both" 1 \
  "Tracks/Hill\.track and .*Tracks/sub/Again\.track would both write .*dup/Hill_mask_Topdown\.bmp" \
  -- "$CLI" -r -o "$WORK/dup" "$WORK/Tracks"
check "refused before anything is built" [ ! -e "$WORK/dup" ]
printf 'x' >"$WORK/file"
expect "-o folder that cannot be made" 4 "file/pics: cannot make the folder" -- \
  "$CLI" -o "$WORK/file/pics" "$WORK/Tracks"

copy_example "$WORK/broken"
head -c 100 "$SRC/examples/hill/tiles/rock.bmp" >"$WORK/broken/tiles/rock.bmp"
printf 'older' >"$WORK/broken/Hill_mask_Topdown.bmp"
expect "--strict fails the track" 5 "^error: Overlay_R: .*rock\.bmp: " -- \
  "$CLI" --strict "$WORK/broken/Hill.track"
check "--strict keeps the older picture" [ "$(cat "$WORK/broken/Hill_mask_Topdown.bmp")" = older ]
expect "--strict: the first failure decides" 5 "^2 tracks: 1 built, 1 failed: .*broken/Hill\.track$" \
  -- "$CLI" --strict "$WORK/broken/Hill.track" "$WORK/Tracks/Hill.track"

finish
