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
expect "unreadable track file" 3 "none\.track: cannot open the file: No such file or directory" -- "$CLI" "$WORK/none.track"

copy_example "$WORK/broken"
head -c 100 "$SRC/examples/hill/tiles/rock.bmp" >"$WORK/broken/tiles/rock.bmp"
expect "broken image is a warning" 0 "warning: Overlay_R: .*rock\.bmp: " -- \
  "$CLI" "$WORK/broken/Hill.track"

copy_example "$WORK/taken"
mkdir "$WORK/taken/Hill_mask_Topdown.bmp"
expect "output name taken by a folder" 4 "Hill_mask_Topdown\.bmp: not written" -- \
  "$CLI" "$WORK/taken/Hill.track"
check "no temporary file left" no_temporary_files "$WORK/taken"

# -- The report tells the truth: "All Done" only for a picture written, and a
# report that cannot be written is an error of its own.
"$CLI" "$WORK/taken/Hill.track" >"$WORK/taken.out" 2>&1
check "a track not written ends with its error, not All Done" \
  grep -q "^error: .*Hill_mask_Topdown\.bmp: not written: " <(tail -n 1 "$WORK/taken.out")
"$CLI" "$WORK/taken/Hill.track" "$WORK/hill/Hill.track" >"$WORK/two.out" 2>/dev/null
check "of two tracks, All Done only for the one written" \
  diff "$WORK/two.out" \
  <(printf '%s\n' "$WORK/taken/Hill_mask_Topdown.bmp" "$WORK/hill/Hill_mask_Topdown.bmp" "All Done")

# report_status NAME STATUS REDIRECTION CLI-ARGS...: the exit status with
# stdout redirected (">/dev/full", ">&-").
report_status() {
  local name=$1 status=$2 redirection=$3 rc
  shift 3
  eval '"$CLI" "$@"' "$redirection" 2>"$WORK/report.err"
  rc=$?
  check "$name: exit $rc (wanted $status)" [ "$rc" = "$status" ]
}
copy_example "$WORK/report"
report_status "report on a full device" 6 ">/dev/full" "$WORK/report/Hill.track"
check "report on a full device: the picture is written all the same" cmp -s \
  "$WORK/report/Hill_mask_Topdown.bmp" "$SRC/tests/data/hill_topdown.bmp"
rm "$WORK/report/Hill_mask_Topdown.bmp"
report_status "report to a closed stdout" 6 ">&-" "$WORK/report/Hill.track"
check "report to a closed stdout: the picture is written all the same" cmp -s \
  "$WORK/report/Hill_mask_Topdown.bmp" "$SRC/tests/data/hill_topdown.bmp"
report_status "quiet prints no report to lose" 0 ">/dev/full" --quiet "$WORK/report/Hill.track"
report_status "a failed track keeps its own status" 4 ">/dev/full" "$WORK/taken/Hill.track"
report_status "help on a full device" 6 ">/dev/full" --help

# Masks and overlays saved in another format are named as such, not read as
# pictures of whatever size their first bytes spell.
copy_example "$WORK/png"
printf '\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x80\x01\x02\x08\0\x01\x08\x06\0\0\0\0' >"$WORK/png/mask.png"
cp "$WORK/png/mask.png" "$WORK/png/tiles/rock.png"
sed -e 's/Hill_mask\.bmp/mask.png/' -e 's/rock\.bmp/rock.png/' "$WORK/png/Hill.track" >"$WORK/png/Png.track"
expect "a PNG mask is named" 4 "mask\.png is a PNG file, not a BMP: save it as a 24-bit BMP$" -- \
  "$CLI" "$WORK/png/Png.track"
sed -e 's/rock\.bmp/rock.png/' "$WORK/png/Hill.track" >"$WORK/png/Overlay.track"
expect "a PNG overlay is named" 0 \
  "warning: Overlay_R: .*rock\.png is a PNG file, not a BMP: save it as a 24-bit BMP \(it reads" -- \
  "$CLI" "$WORK/png/Overlay.track"
: >"$WORK/png/Hill_mask.bmp"
expect "an empty mask is named" 4 "the mask map .*Hill_mask\.bmp is empty$" -- \
  "$CLI" "$WORK/png/Hill.track"
rm "$WORK/png/Hill_mask.bmp"
expect "a missing mask says why" 4 "Hill_mask\.bmp: cannot open the file: No such file or directory$" -- \
  "$CLI" "$WORK/png/Hill.track"

# Track files as editors save them, names beyond ASCII included.
mkdir -p "$WORK/utf/karten"
cp "$SRC/examples/hill/Hill_mask.bmp" "$WORK/utf/karten/Hügel_maske.bmp"
for tile in sand rock grass water; do cp "$SRC/examples/hill/tiles/$tile.bmp" "$WORK/utf/$tile-é.bmp"; done
track_text=$(printf '[TerrainMaps]\r\nMaskMap=karten\\Hügel_maske.bmp\r\nOverlay_Base=sand-é.bmp\r\nOverlay_R=rock-é.bmp\r\nOverlay_G=grass-é.bmp\r\nOverlay_B=water-é.bmp\r\n')
{ printf '\xef\xbb\xbf'; printf '%s' "$track_text"; } >"$WORK/utf/bom.track"
{ printf '\xff\xfe'; printf '%s' "$track_text" | iconv -f UTF-8 -t UTF-16LE; } >"$WORK/utf/le.track"
{ printf '\xfe\xff'; printf '%s' "$track_text" | iconv -f UTF-8 -t UTF-16BE; } >"$WORK/utf/be.track"
for kind in bom le be; do
  rm -f "$WORK/utf/Hügel_maske_Topdown.bmp"
  expect "$kind track file" 0 "^$WORK/utf/Hügel_maske_Topdown\.bmp$" -- "$CLI" "$WORK/utf/$kind.track"
  check "$kind track file gives the exact picture" cmp -s "$WORK/utf/Hügel_maske_Topdown.bmp" \
    "$SRC/tests/data/hill_topdown.bmp"
done

# Track paths that are no regular files end at once.
mkfifo "$WORK/fifo.track"
ln -s /dev/zero "$WORK/zero.track"
expect "a FIFO as track file" 3 "fifo\.track is not a regular file: Error getting" -- \
  timeout 5 "$CLI" "$WORK/fifo.track"
expect "a link to /dev/zero as track file" 3 "zero\.track is not a regular file: Error getting" -- \
  timeout 5 "$CLI" "$WORK/zero.track"

# The picture's own permissions and links are respected.
copy_example "$WORK/kept"
printf 'older picture' >"$WORK/kept/Hill_mask_Topdown.bmp"
chmod a-w "$WORK/kept/Hill_mask_Topdown.bmp"
expect "a read-only picture is refused" 4 "Hill_mask_Topdown\.bmp: not written: the picture is read-only$" -- \
  "$CLI" "$WORK/kept/Hill.track"
check "a read-only picture stays as it is" [ "$(cat "$WORK/kept/Hill_mask_Topdown.bmp")" = "older picture" ]
rm -f "$WORK/kept/Hill_mask_Topdown.bmp"
mkdir "$WORK/pictures"
printf 'older picture' >"$WORK/pictures/hill.bmp"
ln -s "$WORK/pictures/hill.bmp" "$WORK/kept/Hill_mask_Topdown.bmp"
expect "a linked picture is built" 0 "^All Done$" -- "$CLI" "$WORK/kept/Hill.track"
check "the link stays a link" [ -L "$WORK/kept/Hill_mask_Topdown.bmp" ]
check "the file it points to is the new picture" cmp -s "$WORK/pictures/hill.bmp" \
  "$SRC/tests/data/hill_topdown.bmp"
check "no temporary file beside the link or its target" no_temporary_files

finish
