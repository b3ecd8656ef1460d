#!/bin/bash
# skyplate-cli --check: each fault a track can have is named, with the exit
# status a build would give, and nothing is ever written.
#   check_test.sh SKYPLATE_CLI SOURCE_DIR
CLI=$1
SRC=$2
source "$(dirname "$0")/test_lib.sh"

# track NAME: a fresh copy of the example track in $WORK/NAME.
track() {
  copy_example "$WORK/$1"
  echo "$WORK/$1/Hill.track"
}

listing() { find "$1" -printf '%p %s %T@\n' | sort; }

clean=$(track clean)
before=$(listing "$WORK/clean")
expect "a clean track would build" 0 "Hill.track: would build$" -- "$CLI" --check "$clean"
check "a clean track: nothing written" [ "$before" = "$(listing "$WORK/clean")" ]
expect "a clean track: the picture's size and file size" 0 \
  "picture: .*Hill_mask_Topdown.bmp, 384 x 256, 294966 bytes; its folder is writable" -- \
  "$CLI" --check "$clean"
expect "an overlay not of tile size says from what" 0 \
  "rock.bmp: found, 24-bit BMP, 512 x 512, read by the build; resampled from 512 x 512" -- \
  "$CLI" --check "$clean"

# The faults, one track each.
t=$(track missing_entry)
sed -i '/Overlay_G/d' "$t"
expect "a missing entry fails as the build does" 3 "^  Overlay_G: missing$" -- "$CLI" --check "$t"
expect "a missing entry: the other files are still looked at" 3 "water.bmp: found" -- \
  "$CLI" --check "$t"

expect "not a track file" 2 "notes.txt: is not a track file" -- "$CLI" --check "$WORK/notes.txt"
expect "a track file that is not there" 3 "gone.track: would not build: no such file" -- \
  "$CLI" --check "$WORK/gone.track"

t=$(track missing_tile)
rm "$WORK/missing_tile/tiles/grass.bmp"
expect "a missing overlay reads as black" 5 "grass.bmp: missing \(it would read as black\)" -- \
  "$CLI" --check "$t"

t=$(track letter_case)
mv "$WORK/letter_case/tiles/rock.bmp" "$WORK/letter_case/tiles/Rock.BMP"
expect "a name found only by ignoring case works, and says so" 0 \
  "found only by ignoring letter case as .*Rock.BMP \(it works here, but the names differ\)" -- \
  "$CLI" --check "$t"

t=$(track png)
printf '\x89PNG\r\n\x1a\n\0\0\0\rIHDR' >"$WORK/png/tiles/water.bmp"
expect "a PNG named .bmp is named as a PNG" 5 "water.bmp: not a BMP: a PNG file" -- \
  "$CLI" --check "$t"

t=$(track folder)
rm "$WORK/folder/tiles/sand.bmp"
mkdir "$WORK/folder/tiles/sand.bmp"
expect "a folder where an overlay should be" 5 "sand.bmp: a folder" -- "$CLI" --check "$t"

t=$(track truncated)
head -c 30 "$SRC/examples/hill/tiles/sand.bmp" >"$WORK/truncated/tiles/sand.bmp"
expect "a BMP the loader does not read says why" 5 "sand.bmp: found, not read: " -- \
  "$CLI" --check "$t"

t=$(track no_size)
head -c 10 "$SRC/examples/hill/Hill_mask.bmp" >"$WORK/no_size/Hill_mask.bmp"
expect "a mask without a size writes no picture" 4 \
  "error: the mask map gives no picture size" -- "$CLI" --check "$t"

if [ "$(id -u)" != 0 ]; then
  t=$(track unreadable)
  chmod 000 "$WORK/unreadable/tiles/grass.bmp"
  expect "an unreadable overlay" 5 "grass.bmp: not readable" -- "$CLI" --check "$t"
fi

t=$(track read_only)
printf 'older' >"$WORK/read_only/Hill_mask_Topdown.bmp"
chmod a-w "$WORK/read_only/Hill_mask_Topdown.bmp"
expect "a read-only older picture is named" 4 "the older picture is read-only" -- \
  "$CLI" --check "$t"

t=$(track duplicates)
printf '\n[TerrainMaps]\nmaskmap=Other.bmp\n[Track]\n' >>"$t"
expect "a section given twice" 0 "warning: section \[TerrainMaps\] is given again" -- \
  "$CLI" --check "$t"
expect "a key given twice: the first wins" 0 \
  "warning: maskmap is given again in \[TerrainMaps\] \(the first one wins\)" -- "$CLI" --check "$t"
expect "the first value is the one used" 0 "^  MaskMap = Hill_mask.bmp$" -- "$CLI" --check "$t"

t=$(track bom)
sed -i '1s/^/\xEF\xBB\xBF/' "$t"
expect "a byte-order mark is named" 0 "starts with a UTF-8 byte-order mark" -- "$CLI" --check "$t"

t=$(track utf16)
iconv -f ASCII -t UTF-16LE "$SRC/examples/hill/Hill.track" >"$t"
expect "UTF-16 text is named" 3 "zero bytes, as UTF-16 text does" -- "$CLI" --check "$t"

t=$(track long_value)
sed -i "s|^Overlay_B *=.*|Overlay_B = tiles/$(printf 'w%.0s' $(seq 300)).bmp|" "$t"
expect "a value cut at the entry limit" 5 "^  Overlay_B = tiles/w+ \(cut at 254 bytes\)$" -- \
  "$CLI" --check "$t"
awk 'BEGIN { printf "[Track]\nName="; for (i = 0; i < 70000; i++) printf "x"; print "" }' >"$t.long"
cat "$t.long" "$SRC/examples/hill/Hill.track" >"$t"
expect "a line cut at the line limit" 0 "warning: line 2 is cut at 65536 bytes" -- \
  "$CLI" --check "$t"

expect "several tracks: the first failure decides" 3 "gone.track" -- \
  "$CLI" --check "$clean" "$WORK/gone.track" "$WORK/png/Hill.track"

# The JSON document, as an editor would read it.
cat >"$WORK/shape.py" <<'PY'
import json, sys
doc = json.load(sys.stdin)
track = doc["tracks"][0]
if sys.argv[1] == "clean":
    assert doc["status"] == 0 and track["status"] == 0, doc
    assert [e["key"] for e in track["entries"]] == [
        "MaskMap", "Overlay_Base", "Overlay_R", "Overlay_G", "Overlay_B"]
    assert all(e["file"]["loads"] and e["file"]["state"] == "found" for e in track["entries"])
    assert track["entries"][2]["file"]["resampled_from"] == [512, 512]
    picture = track["picture"]
    assert (picture["width"], picture["height"], picture["bytes"]) == (384, 256, 294966)
    assert picture["folder_writable"] is True and track["track_file"]["duplicate_keys"] == []
else:
    assert doc["status"] == 5 and track["status"] == 5, doc
    water = track["entries"][4]["file"]
    assert water["state"] == "not a BMP" and water["format"] == "a PNG file", water
    assert water["loads"] is False and water["reason"], water
PY
json_of() { { "$CLI" --check --json "$1" || true; } | python3 "$WORK/shape.py" "$2"; }
check "JSON: a clean track" json_of "$clean" clean
check "JSON: a PNG overlay" json_of "$WORK/png/Hill.track" png
"$CLI" --check --json "$clean" >/dev/null
check "JSON: exit status as the text's" [ "$?" = 0 ]
expect "--json needs --check" 1 "requires --check|--check" -- "$CLI" --json "$clean"
check "nothing written by any check" [ -z "$(find "$WORK" -name '*_Topdown.bmp' ! -path '*read_only*')" ]

finish
