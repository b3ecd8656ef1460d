#!/bin/bash
# Builds the Windows programs with MinGW-w64 and runs the tests under Wine on a
# private, headless X display. Run from anywhere; exits with ctest's code.
#
#   bash scripts/test-windows.sh            # win64 and win32: build + test
#   JOBS=1 bash scripts/test-windows.sh     # fewer parallel compile/test jobs
#   KEEP_WORK=1 ...                         # keep the temporary Wine prefix
#
# Installs nothing. It relies on these Debian 12 packages: cmake make
# g++-mingw-w64-x86-64 g++-mingw-w64-i686 googletest wine wine64 wine32:i386
# fonts-wine fonts-liberation xvfb xauth (scripts/install-deps.sh --all).
# The 32-bit tests run in the same 64-bit prefix, as 32-bit programs run on
# 64-bit Windows: one prefix to create, and the 4 GiB address space a
# large-address-aware program gets there.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
JOBS=${JOBS:-2}
cd "$ROOT"

now_ms() { echo $(($(date +%s%N) / 1000000)); }
START_MS=$(now_ms)
STEP_MS=$START_MS
STEP_NAME=""
# Prints how long the previous step took, then names the next one.
step() {
  local t
  t=$(now_ms)
  if [ -n "$STEP_NAME" ]; then
    printf '[test-windows] %-28s %6d ms\n' "$STEP_NAME" $((t - STEP_MS))
  fi
  STEP_NAME=$1
  STEP_MS=$t
}

for tool in cmake x86_64-w64-mingw32-g++-posix i686-w64-mingw32-g++-posix wine wineserver Xvfb; do
  command -v "$tool" >/dev/null || { echo "test-windows.sh: $tool not found" >&2; exit 2; }
done
# Without it Wine cannot start a 32-bit program, and every win32 test would
# fail alike.
[ -x /usr/lib/wine/wine ] || { echo "test-windows.sh: 32-bit Wine (wine32:i386) not found" >&2; exit 2; }

step "configure win64"
cmake --preset win64 >/dev/null
step "build win64"
cmake --build --preset win64 -j "$JOBS"
step "configure win32"
cmake --preset win32 >/dev/null
step "build win32"
cmake --build --preset win32 -j "$JOBS"

step "start Xvfb and create Wine prefix"
WORK=$(mktemp -d /tmp/skyplate-wine.XXXXXX)
# shellcheck source=scripts/wine_session.sh
source "$ROOT/scripts/wine_session.sh"
cleanup() {
  wine_session_end
  [ "${KEEP_WORK:-0}" = 1 ] || rm -rf "$WORK"
}
trap cleanup EXIT
wine_session_start || exit 2

step "ctest win64"
rc=0
ctest --preset win64 -j "$JOBS" || rc=$?
step "ctest win32"
ctest --preset win32 -j "$JOBS" || rc=$?
step ""
printf '[test-windows] %-28s %6d ms\n' "total" $(($(now_ms) - START_MS))
exit "$rc"
