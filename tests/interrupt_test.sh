#!/bin/bash
# An interrupted build leaves nothing behind: stopped while its temporary file
# is being written, then sent SIGINT, SIGTERM, SIGHUP or SIGPIPE, skyplate-cli
# ends by that signal, with no temporary file left and the older picture
# exactly as it was.
#   interrupt_test.sh SKYPLATE_CLI SOURCE_DIR
CLI=$1
SRC=$2
source "$(dirname "$0")/test_lib.sh"

le32() {
  printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) \
    $(($1 >> 24 & 255))
}

# big_track DIR SIZE: the example track with a SIZE x SIZE mask of zeros,
# sparse on disk, so that the build runs long without a large file to make.
big_track() {
  local dir=$1 size=$2
  local pixel_bytes=$((size * size * 3))
  copy_example "$dir"
  printf "BM$(le32 $((54 + pixel_bytes)))\\0\\0\\0\\0$(le32 54)$(le32 40)$(le32 "$size")$(le32 "$size")\\x01\\0\\x18\\0" \
    >"$dir/Hill_mask.bmp"
  truncate -s $((54 + pixel_bytes)) "$dir/Hill_mask.bmp"
  printf 'the older picture' >"$dir/Hill_mask_Topdown.bmp"
}

# wait_for_temporary DIR: true once a temporary file is in DIR, within 20 s.
wait_for_temporary() {
  local tries
  for tries in $(seq 4000); do
    [ -n "$(find "$1" -maxdepth 1 -name '*.tmp')" ] && return 0
    sleep 0.005
  done
  return 1
}

# interrupted SIGNAL STATUS: a build stopped once its temporary file exists,
# sent SIGNAL and let go on, ends with STATUS and leaves nothing behind.
interrupted() {
  local signal=$1 status=$2 dir=$WORK/$1 pid rc
  big_track "$dir" 16384
  "$CLI" --jobs 1 "$dir/Hill.track" >"$dir.out" 2>&1 &
  pid=$!
  # Stopped, the build cannot finish before the signal is sent.
  if wait_for_temporary "$dir"; then kill -STOP "$pid"; fi
  check "$signal: sent while the temporary file exists" wait_for_temporary "$dir"
  kill "-$signal" "$pid"
  kill -CONT "$pid"
  # With job control, wait also returns when the job has stopped (status 147).
  rc=147
  while [ "$rc" = 147 ]; do
    wait "$pid"
    rc=$?
  done
  check "$signal: ends by the signal, status $status (got $rc)" [ "$rc" = "$status" ]
  check "$signal: no temporary file left" no_temporary_files "$dir"
  check "$signal: older picture unchanged" \
    bash -c '[ "$(cat "$1")" = "the older picture" ]' - "$dir/Hill_mask_Topdown.bmp"
}

# A background job of a script without job control starts with SIGINT
# ignored, and it stays ignored: the build runs to its end.
big_track "$WORK/ignored" 2048
"$CLI" "$WORK/ignored/Hill.track" >"$WORK/ignored.out" 2>&1 &
pid=$!
wait_for_temporary "$WORK/ignored" && kill -STOP "$pid"
kill -INT "$pid"
kill -CONT "$pid"
wait "$pid"
check "an ignored SIGINT stays ignored" grep -qx "All Done" "$WORK/ignored.out"
check "an ignored SIGINT: the picture is written" \
  [ "$(stat -c %s "$WORK/ignored/Hill_mask_Topdown.bmp")" = $((54 + 2048 * 2048 * 3)) ]

# With job control, background jobs keep the signals' default dispositions.
set -m
interrupted INT 130
interrupted TERM 143
interrupted HUP 129
interrupted PIPE 141

finish
