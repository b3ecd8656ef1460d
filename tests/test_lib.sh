#!/bin/bash
# Shared by the end-to-end test scripts: a private work folder, the checks,
# and copies of the example track's inputs (never of what an earlier run
# wrote beside them). Source it after setting CLI and SRC.
set -uo pipefail
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
failures=0
passed=0

pass() {
  echo "ok   $1"
  passed=$((passed + 1))
}

fail() {
  echo "FAIL $1"
  failures=$((failures + 1))
}

# check NAME COMMAND...: passes when COMMAND succeeds.
check() {
  local name=$1
  shift
  if "$@"; then pass "$name"; else fail "$name"; fi
}

# expect NAME STATUS PATTERN -- COMMAND...: runs COMMAND, checks its exit
# status and that its output (stdout and stderr) has a line matching PATTERN.
expect() {
  local name=$1 status=$2 pattern=$3
  shift 4
  local out rc
  out=$("$@" 2>&1)
  rc=$?
  if [ "$rc" != "$status" ] || ! grep -qE -- "$pattern" <<<"$out"; then
    fail "$name: exit $rc (wanted $status), output:"
    echo "$out"
  else
    pass "$name"
  fi
}

# copy_example DEST: the example track's track file, mask and tiles in DEST.
copy_example() {
  mkdir -p "$1/tiles"
  cp "$SRC/examples/hill/Hill.track" "$SRC/examples/hill/Hill_mask.bmp" "$1/"
  cp "$SRC"/examples/hill/tiles/*.bmp "$1/tiles/"
}

no_temporary_files() { [ -z "$(find "${1:-$WORK}" -name '*.tmp')" ]; }

# finish: the summary line and the script's exit status.
finish() {
  echo "$passed passed, $failures failed"
  [ "$failures" = 0 ]
}
