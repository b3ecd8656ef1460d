#!/bin/bash
# skyplate-cli.exe as cmd.exe runs it under Wine: cmd hands wildcard
# patterns to the program unexpanded, quoted or not.
#   cli_windows_test.sh SKYPLATE_CLI_EXE SOURCE_DIR
CLI=$(realpath "$1")
SRC=$2
source "$(dirname "$0")/test_lib.sh"
export WINEDEBUG="${WINEDEBUG:--all}"

windows_path() { echo "Z:${1//\//\\}"; }

# in_cmd LINE: runs LINE in cmd.exe from $WORK, through a batch file as a
# user would type it (no Unix quoting in between).
in_cmd() {
  printf '@cd /d %s\r\n@%s\r\n' "$(windows_path "$WORK")" "$1" >"$WORK/run.cmd"
  wine cmd /c "$(windows_path "$WORK/run.cmd")" 2>&1 | tr -d '\r'
  return "${PIPESTATUS[0]}"
}

EXE="\"$(windows_path "$CLI")\""
copy_example "$WORK/Tracks"
sed 's/Hill_mask/B_mask/' "$SRC/examples/hill/Hill.track" >"$WORK/Tracks/b.TRACK"
cp "$SRC/examples/hill/Hill_mask.bmp" "$WORK/Tracks/B_mask.bmp"
copy_example "$WORK/My Tracks"
mv "$WORK/My Tracks/Hill.track" "$WORK/My Tracks/z.track"

expect "a pattern is expanded, names in order without regard to case" 0 \
  "^2 tracks: 2 built, 0 failed$" -- in_cmd "$EXE Tracks\\*.track"
check "both pictures written" [ -s "$WORK/Tracks/B_mask_Topdown.bmp" ]
pictures=$(in_cmd "$EXE Tracks\\*.track" | grep _Topdown | tr '\n' ' ')
check "b.TRACK before Hill.track" \
  [ "$pictures" = 'Tracks\B_mask_Topdown.bmp Tracks\Hill_mask_Topdown.bmp ' ]
expect "a quoted pattern with a blank, letters in other case" 0 \
  "^My Tracks\\\\z\.track: |^My Tracks\\\\Hill_mask_Topdown\.bmp$" -- in_cmd "$EXE \"My Tracks\\*.TRACK\""
expect "a quoted path without wildcards stays as it is" 0 "^My Tracks\\\\Hill_mask_Topdown\.bmp$" -- \
  in_cmd "$EXE \"My Tracks\\z.track\""
expect "a pattern that matches nothing names it" 3 "^error: Nothing\\\\\*\.track: no file matches" -- \
  in_cmd "$EXE Tracks\\Hill.track Nothing\\*.track"
expect "a folder with '/'" 0 "^Tracks\\\\Hill_mask_Topdown\.bmp$" -- in_cmd "$EXE Tracks/"
expect "-o into a new folder" 0 "^pics\\\\B_mask_Topdown\.bmp$" -- in_cmd "$EXE -o pics Tracks\\*.track"

mv "$WORK/Tracks/tiles/rock.bmp" "$WORK/Tracks/tiles/ROCK.BMP"
expect "--check: a track whose names differ in case builds on Windows" 0 \
  "^  Overlay_R = tiles\\\\rock\.bmp$" -- in_cmd "$EXE --check Tracks\\Hill.track"
expect "--check --json on Windows" 0 '"verdict": "would build"' -- \
  in_cmd "$EXE --check --json Tracks\\Hill.track"

finish
