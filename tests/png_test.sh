#!/bin/bash
# End-to-end checks of PNG pictures: decoded by an independent decoder
# (Pillow), their pixels equal the BMP build's; a large picture is written in
# constant memory; usage errors, -o names, --strict and unwritable names are
# reported.
#   png_test.sh SKYPLATE_CLI SOURCE_DIR MAKE_TRACK
CLI=$1
SRC=$2
MAKE_TRACK=$3
source "$(dirname "$0")/test_lib.sh"
# The system's Python, which has Pillow, whatever python is first on PATH.
PYTHON=/usr/bin/python3

# same_pixels BMP PNG: Pillow reads both, and the PNG is 8-bit RGB with the
# BMP's size and pixels.
same_pixels() {
  "$PYTHON" - "$1" "$2" <<'PY'
import sys
from PIL import Image
bmp, png = Image.open(sys.argv[1]), Image.open(sys.argv[2])
png.load()
sys.exit(0 if png.format == "PNG" and png.mode == "RGB" and png.info.get("interlace", 0) == 0
         and png.size == bmp.size and png.tobytes() == bmp.convert("RGB").tobytes() else 1)
PY
}

# peak_kib COMMAND...: runs COMMAND, prints its peak resident memory in KiB.
peak_kib() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; }

copy_example "$WORK/hill"
expect "png beside the track" 0 "^$WORK/hill/Hill_mask_Topdown\.png$" -- \
  "$CLI" --format png "$WORK/hill/Hill.track"
"$CLI" --quiet "$WORK/hill/Hill.track"
check "png pixels equal the bmp's" same_pixels "$WORK/hill/Hill_mask_Topdown.bmp" \
  "$WORK/hill/Hill_mask_Topdown.png"
check "png smaller than the bmp" [ "$(stat -c %s "$WORK/hill/Hill_mask_Topdown.png")" -lt \
  "$(stat -c %s "$WORK/hill/Hill_mask_Topdown.bmp")" ]
expect "format in any case" 0 "Hill_mask_Topdown\.png$" -- "$CLI" --format PNG "$WORK/hill/Hill.track"
expect "unknown format" 1 "--format: .*gif" -- "$CLI" --format gif "$WORK/hill/Hill.track"
expect "help names the formats" 0 "--format.*bmp.*png" -- "$CLI" --help

copy_example "$WORK/taken"
mkdir "$WORK/taken/Hill_mask_Topdown.png"
expect "png name taken by a folder" 4 "Hill_mask_Topdown\.png: not written" -- \
  "$CLI" --format png "$WORK/taken/Hill.track"
check "no temporary file left" no_temporary_files "$WORK/taken"

# -o names a PNG by its extension, alone or with --format png; an -o name of
# the other format is a command-line error that writes nothing.
copy_example "$WORK/named"
"$CLI" --quiet "$WORK/named/Hill.track"
expect "-o Map.png writes a png" 0 "^$WORK/named/Map\.png$" -- "$CLI" -o "$WORK/named/Map.png" \
  "$WORK/named/Hill.track"
check "-o png pixels equal the bmp's" same_pixels "$WORK/named/Hill_mask_Topdown.bmp" \
  "$WORK/named/Map.png"
expect "-o Map.png with --format png" 0 "^$WORK/named/Map\.png$" -- \
  "$CLI" -o "$WORK/named/Map.png" --format png "$WORK/named/Hill.track"
expect "-o Map.bmp with --format png" 1 "Map\.bmp: the name ends in \.bmp but --format asks for png" \
  -- "$CLI" -o "$WORK/named/Map.bmp" --format png "$WORK/named/Hill.track"
expect "-o Other.png with --format bmp" 1 "Other\.png: the name ends in \.png but --format asks for bmp" \
  -- "$CLI" -o "$WORK/named/Other.png" --format bmp "$WORK/named/Hill.track"
check "nothing written for a disagreement" test ! -e "$WORK/named/Map.bmp" -a \
  ! -e "$WORK/named/Other.png"
expect "-o folder with --format png" 0 "^$WORK/named/out/Hill_mask_Topdown\.png$" -- \
  "$CLI" -o "$WORK/named/out/" --format png "$WORK/named/Hill.track"
check "-o folder png pixels equal the bmp's" same_pixels "$WORK/named/Hill_mask_Topdown.bmp" \
  "$WORK/named/out/Hill_mask_Topdown.png"

# --strict: an image that cannot be loaded writes no PNG and keeps the older one.
copy_example "$WORK/strict"
echo "older picture" >"$WORK/strict/Hill_mask_Topdown.png"
rm "$WORK/strict/tiles/rock.bmp"
expect "strict png with a missing overlay" 5 "Overlay_R" -- \
  "$CLI" --strict --format png "$WORK/strict/Hill.track"
check "strict png keeps the older picture" [ "$(cat "$WORK/strict/Hill_mask_Topdown.png")" = \
  "older picture" ]
check "strict png leaves no temporary file" no_temporary_files "$WORK/strict"

# Several bands on every thread, from a terrain and a noise mask (the noise
# one barely compresses, so its bands come in the largest segments).
for mask in terrain noise; do
  "$MAKE_TRACK" "$WORK/$mask" --width 1500 --height 1100 --mask "$mask"
  "$CLI" --quiet --jobs 3 --format png "$WORK/$mask/Hill.track"
  "$CLI" --quiet "$WORK/$mask/Hill.track"
  check "$mask mask: png pixels equal the bmp's" same_pixels "$WORK/$mask/Hill_mask_Topdown.bmp" \
    "$WORK/$mask/Hill_mask_Topdown.png"
  rm -rf "${WORK:?}/$mask"
done

# Rows wider than a band are streamed in pieces and joined into whole rows.
copy_example "$WORK/wide"
"$PYTHON" - "$WORK/wide/Hill_mask.bmp" <<'PY'
import random, sys
from PIL import Image
random.seed(7)
mask = Image.new("RGB", (70000, 3))
mask.putdata([(random.randrange(256), x % 256, (x // 300 + y) % 2 * 255)
              for y in range(3) for x in range(70000)])
mask.save(sys.argv[1])
PY
"$CLI" --quiet --jobs 3 --format png "$WORK/wide/Hill.track"
"$CLI" --quiet "$WORK/wide/Hill.track"
check "70000 x 3: png pixels equal the bmp's" same_pixels "$WORK/wide/Hill_mask_Topdown.bmp" \
  "$WORK/wide/Hill_mask_Topdown.png"
rm -rf "${WORK:?}/wide"

# Memory stays the same whatever the picture's size: 8192 x 8192 is 192 MiB
# of mask and 192 MiB of picture, and no whole row of bands is held.
"$MAKE_TRACK" "$WORK/large" --width 8192 --height 8192
peak=$(peak_kib "$CLI" --quiet --format png "$WORK/large/Hill.track")
check "8192 x 8192 png in at most 32 MiB (peak $peak KiB)" [ "$peak" -le 32768 ]
check "8192 x 8192 png written" [ -s "$WORK/large/Hill_mask_Topdown.png" ]
rm -rf "${WORK:?}/large"

finish
