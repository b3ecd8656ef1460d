#!/bin/bash
# skyplate-cli --watch: a save in place, a save by renaming a temporary file
# over the old one, and a burst of saves each lead to a rebuild whose picture
# is that of a fresh build; SIGINT ends it with nothing left behind.
#   watch_test.sh SKYPLATE_CLI SOURCE_DIR
CLI=$1
SRC=$2
source "$(dirname "$0")/test_lib.sh"
# With job control the watcher keeps SIGINT's default disposition, as it
# has when started from a terminal.
set -m

copy_example "$WORK/track"
TRACK=$WORK/track/Hill.track
PICTURE=$WORK/track/Hill_mask_Topdown.bmp
LOG=$WORK/watch.out

builds() { grep -c "Hill_mask_Topdown.bmp [0-9]* ms" "$LOG"; }

# wait_for_builds N: true once N builds are told, within 10 s.
wait_for_builds() {
  local tries
  for tries in $(seq 1000); do
    [ "$(builds)" -ge "$1" ] && return 0
    sleep 0.01
  done
  return 1
}

# quiet_for: waits until the watcher has had time to settle and rebuild.
quiet_for() { sleep 0.6; }

same_as_fresh() {
  "$CLI" -q -o "$WORK/fresh.bmp" "$TRACK" >/dev/null 2>&1 && cmp -s "$WORK/fresh.bmp" "$PICTURE"
}

"$CLI" --watch "$TRACK" >"$LOG" 2>&1 &
pid=$!
check "the first build is told" wait_for_builds 1
check "its line has the time, the picture and how long it took" \
  grep -qE "^[0-9]{2}:[0-9]{2}:[0-9]{2} .*/Hill_mask_Topdown.bmp [0-9]+ ms$" "$LOG"

cat "$SRC/examples/hill/tiles/grass.bmp" >"$WORK/track/tiles/sand.bmp"
check "a save in place rebuilds" wait_for_builds 2
quiet_for
check "a save in place: the picture is a fresh build's" same_as_fresh

cp "$SRC/examples/hill/tiles/water.bmp" "$WORK/track/tiles/rock.bmp.new"
mv "$WORK/track/tiles/rock.bmp.new" "$WORK/track/tiles/rock.bmp"
check "a save by renaming over rebuilds" wait_for_builds 3
quiet_for
check "a save by renaming: the picture is a fresh build's" same_as_fresh

before=$(builds)
for i in $(seq 20); do
  if [ $((i % 2)) = 0 ]; then
    cp "$SRC/examples/hill/tiles/rock.bmp" "$WORK/track/tiles/grass.bmp"
  else
    cp "$SRC/examples/hill/tiles/sand.bmp" "$WORK/track/tiles/grass.bmp.tmp"
    mv "$WORK/track/tiles/grass.bmp.tmp" "$WORK/track/tiles/grass.bmp"
  fi
  sleep 0.04
done
check "a burst of saves rebuilds" wait_for_builds $((before + 1))
quiet_for
rebuilds=$(($(builds) - before))
check "a burst of 20 saves in a second: at most a few rebuilds (got $rebuilds)" [ "$rebuilds" -le 4 ]
echo "     ($rebuilds rebuilds for the burst)"
check "a burst: the last picture is a fresh build's" same_as_fresh

before=$(builds)
mv "$WORK/track/tiles/water.bmp" "$WORK/track/tiles/water.bak"
sleep 0.3
mv "$WORK/track/tiles/water.bak" "$WORK/track/tiles/water.bmp"
check "a file missing for a moment is waited for" wait_for_builds $((before + 1))
quiet_for
check "a file missing for a moment: no warning" bash -c "! tail -n +$((before + 1)) '$LOG' | grep -q warning"

before=$(builds)
cp "$SRC/examples/hill/tiles/water.bmp" "$WORK/track/tiles/lake.bmp"
sed -i 's/water\.bmp/lake.bmp/' "$TRACK"
check "a changed track file rebuilds" wait_for_builds $((before + 1))
quiet_for
before=$(builds)
cat "$SRC/examples/hill/tiles/rock.bmp" >"$WORK/track/tiles/lake.bmp"
check "the file the track now names is watched" wait_for_builds $((before + 1))
quiet_for
check "the file the track now names: the picture is a fresh build's" same_as_fresh

before=$(builds)
rm "$WORK/track/tiles/lake.bmp"
sed -i 's/lake\.bmp/gone.bmp/' "$TRACK"
check "a file that stays missing is told" wait_for_builds $((before + 1))
check "a missing file: its warning is on the rebuild's line" \
  grep -qE "Hill_mask_Topdown.bmp [0-9]+ ms; warning: Overlay_B: .*gone.bmp: " "$LOG"

mkdir "$WORK/empty"
expect "nothing to watch ends at once" 3 "^error: .*empty" -- "$CLI" --watch "$WORK/empty"

kill -INT "$pid"
wait "$pid"
rc=$?
check "SIGINT ends the watch with its status, 130 (got $rc)" [ "$rc" = 130 ]
check "SIGINT: no temporary file left" no_temporary_files "$WORK"

finish
