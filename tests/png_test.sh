#!/bin/bash
# End-to-end checks of PNG pictures: decoded by an independent decoder
# (Pillow), their pixels equal the BMP build's; a large picture is written in
# constant memory; usage errors and unwritable names are reported.
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

# Memory stays the same whatever the picture's size: 8192 x 8192 is 192 MiB
# of mask and 192 MiB of picture, and no whole row of bands is held.
"$MAKE_TRACK" "$WORK/large" --width 8192 --height 8192
peak=$(peak_kib "$CLI" --quiet --format png "$WORK/large/Hill.track")
check "8192 x 8192 png in at most 32 MiB (peak $peak KiB)" [ "$peak" -le 32768 ]
check "8192 x 8192 png written" [ -s "$WORK/large/Hill_mask_Topdown.png" ]
rm -rf "${WORK:?}/large"

finish
