#!/bin/bash
# Hard limits and "nothing lost", end to end: under a capped address space the
# worst image headers fail cleanly; a picture that cannot be written whole
# leaves the older one exactly as it was and no temporary file; hostile track
# files give a clear error within a second. Native builds only: the
# sanitizers' shadow memory cannot live under an address space cap.
#   limits_test.sh SKYPLATE_CLI SOURCE_DIR
CLI=$1
SRC=$2
source "$(dirname "$0")/test_lib.sh"

# The capped address space: enough for the limits' largest legitimate
# pictures to fail to allocate, so any allocation a header alone asks for
# shows.
capped() {
  ulimit -v 600000
  "$@"
}

# A capped address space and output file: a mask whose header claims a huge
# picture builds it black, which takes too long to write in full here (the
# memory checks below write a few such pictures whole).
capped_small_output() {
  ulimit -f 20000
  capped "$@"
}

# run STATUS PATTERN CLI-ARGS...: within 5 seconds, the exit status and a line
# of output matching PATTERN.
run() {
  local status=$1 pattern=$2 out rc
  shift 2
  out=$(timeout 5 bash -c "$(declare -f capped capped_small_output); \"\$@\"" - "$@" 2>&1)
  rc=$?
  [[ $rc =~ ^$status$ ]] && grep -qE -- "$pattern" <<<"$out" || {
    echo "exit $rc (wanted $status), output:"
    echo "$out"
    return 1
  }
}

# -- The worst headers, as overlays and as the mask, in 600 MB of address space.
copy_example "$WORK/hill"
for bad in "$SRC"/tests/crashers/bmp_decoder/*.bmp; do
  name=$(basename "$bad")
  cp "$bad" "$WORK/hill/tiles/rock.bmp"
  check "overlay $name fails cleanly" \
    run 0 "warning: Overlay_R: .*rock\.bmp: " capped \
    "$CLI" "$WORK/hill/Hill.track"
  copy_example "$WORK/mask"
  sed 's/^MaskMap=.*/MaskMap=bad.bmp/' "$SRC/examples/hill/Hill.track" >"$WORK/mask/M.track"
  cp "$bad" "$WORK/mask/bad.bmp"
  # Built black (0) or not written (4: too large, or cut by the file size
  # limit), never a crash.
  check "mask $name fails cleanly" run "[04]" "(All Done|not written)" capped_small_output \
    "$CLI" "$WORK/mask/M.track"
done

# -- Masks whose data the file's length shows cannot exist read as black, and
# their pictures stream like any other: the header's size, in memory that
# does not grow with it (no cap hides an allocation here).
copy_example "$WORK/huge"
{
  head -c 1078 "$SRC/tests/crashers/bmp_decoder/rle8_claims_16384_squared.bmp"
  head -c 409600 /dev/zero  # ends of line, far more than 16384 rows
} >"$WORK/huge/rle8_end_of_lines.bmp"
cp "$SRC/tests/crashers/bmp_decoder/bgr24_claims_16384_squared.bmp" \
  "$SRC/tests/crashers/bmp_decoder/width_2_28_no_data.bmp" "$WORK/huge/"
# The output is 54 header bytes and 16384 rows of 16384 pixels, or one row of
# 2^28, both 805306368 bytes of pixels.
for mask in bgr24_claims_16384_squared rle8_end_of_lines width_2_28_no_data; do
  sed "s/^MaskMap=.*/MaskMap=$mask.bmp/" "$SRC/examples/hill/Hill.track" >"$WORK/huge/H.track"
  timeout 120 /usr/bin/time -f %M -o "$WORK/peak_kb" "$CLI" --quiet "$WORK/huge/H.track" \
    >"$WORK/huge.out" 2>&1
  check "mask $mask: built black" grep -q "$mask\.bmp: .*(it reads as black)" "$WORK/huge.out"
  check "mask $mask: the header's size" \
    [ "$(stat -c %s "$WORK/huge/${mask}_Topdown.bmp")" = 805306422 ]
  peak_kb=$(tail -n 1 "$WORK/peak_kb")
  check "mask $mask: peak memory $peak_kb KiB, at most 64 MiB" [ "$peak_kb" -le 65536 ]
  rm -f "$WORK/huge/${mask}_Topdown.bmp"
done

# -- More jobs than the address space has room for: the build runs on the
# threads it could make, or, when one of them finds no memory for its
# buffers, is refused for want of memory; never a crash.
copy_example "$WORK/jobs"
check "more jobs than fit: built or refused" run "[04]" "(All Done|not enough memory)" capped \
  "$CLI" --jobs 1024 "$WORK/jobs/Hill.track"
check "more jobs than fit: the right picture or none" bash -c '[ ! -e "$1" ] || cmp -s "$1" "$2"' \
  - "$WORK/jobs/Hill_mask_Topdown.bmp" "$SRC/tests/data/hill_topdown.bmp"
check "more jobs than fit: no temporary file" no_temporary_files "$WORK/jobs"

# -- Nothing lost: an older picture survives a write that cannot complete.
copy_example "$WORK/full"
"$CLI" --quiet "$WORK/full/Hill.track"
printf 'junk' >>"$WORK/full/Hill_mask_Topdown.bmp"
cp "$WORK/full/Hill_mask_Topdown.bmp" "$WORK/older.bmp"
check "file size limit: reported" run 4 "Hill_mask_Topdown\.bmp: not written: .*" \
  bash -c 'ulimit -f 100; exec "$@"' - "$CLI" "$WORK/full/Hill.track"
check "file size limit: older picture unchanged" cmp -s "$WORK/full/Hill_mask_Topdown.bmp" \
  "$WORK/older.bmp"
check "file size limit: no temporary file" no_temporary_files

# -- Nothing lost on a full disk: a small memory-backed file system of the
# test's own, where the system lets a user namespace mount one, holds the
# track and the older picture with too little room left for the new one.
disk_full() {
  local fs=$WORK/small
  mkdir -p "$fs"
  mount -t tmpfs -o size=4m tmpfs "$fs" || return 1
  cp -r "$WORK/full" "$fs/hill"
  head -c 8m /dev/zero >"$fs/filler" 2>/dev/null
  truncate -s -100k "$fs/filler"
  "$CLI" "$fs/hill/Hill.track" >"$WORK/disk_full.out" 2>&1
  echo $? >"$WORK/disk_full.status"
  cmp -s "$fs/hill/Hill_mask_Topdown.bmp" "$WORK/older.bmp" && touch "$WORK/disk_full.kept"
  [ -z "$(find "$fs" -name '*.tmp')" ] && touch "$WORK/disk_full.clean"
}
if WORK=$WORK CLI=$CLI unshare -rm bash -c "$(declare -f disk_full); disk_full" 2>/dev/null; then
  check "disk full: reported" grep -qE "Hill_mask_Topdown\.bmp: not written: .*" \
    "$WORK/disk_full.out"
  check "disk full: exit status 4" grep -qx 4 "$WORK/disk_full.status"
  check "disk full: older picture unchanged" [ -e "$WORK/disk_full.kept" ]
  check "disk full: no temporary file" [ -e "$WORK/disk_full.clean" ]
else
  echo "skip disk full: this system lets no user namespace mount a file system"
fi

# -- Hostile track files: a clear error within a second, in bounded memory.
mkdir "$WORK/tracks"
head -c 50000000 /dev/zero >"$WORK/tracks/zeros.track"
check "50 MB of NUL bytes" run 3 "no entry MaskMap" capped \
  "$CLI" "$WORK/tracks/zeros.track"
{ head -c 20000000 /dev/zero | tr '\0' x; printf '\n[TerrainMaps]\nMaskMap=m.bmp'; } \
  >"$WORK/tracks/long_line.track"
check "a 20 MB line" run 3 "no entry Overlay_Base" capped \
  "$CLI" "$WORK/tracks/long_line.track"
yes '[S]' | head -n 1000000 >"$WORK/tracks/sections.track"
check "a million section headers" run 3 "no entry MaskMap" "$CLI" "$WORK/tracks/sections.track"
mkdir "$WORK/tracks/folder.track"
# A folder stands for the tracks inside it; this one holds none.
check "a folder" run 3 "folder\.track: no \.track file in the folder" \
  "$CLI" "$WORK/tracks/folder.track"
start=$(date +%s%N)
"$CLI" "$WORK/tracks/sections.track" "$WORK/tracks/long_line.track" >/dev/null 2>&1
elapsed_ms=$((($(date +%s%N) - start) / 1000000))
check "hostile track files take under a second each ($elapsed_ms ms for two)" \
  [ "$elapsed_ms" -lt 2000 ]

finish
