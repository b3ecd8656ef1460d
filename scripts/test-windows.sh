#!/bin/bash
# Builds the Windows programs with MinGW-w64 and runs the tests under Wine on a
# private, headless X display. Run from anywhere; exits with ctest's code.
#
#   bash scripts/test-windows.sh            # win64: build + test, win32: build
#   JOBS=1 bash scripts/test-windows.sh     # fewer parallel compile/test jobs
#   KEEP_WORK=1 ...                         # keep the temporary Wine prefix
#
# Installs nothing. It relies on these Debian 12 packages: cmake make
# g++-mingw-w64-x86-64 g++-mingw-w64-i686 googletest wine wine64 fonts-wine
# fonts-liberation xvfb xauth.
# The 32-bit build is only compiled: running it would need wine32 (i386).
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

step "configure win64"
cmake --preset win64 >/dev/null
step "build win64"
cmake --build --preset win64 -j "$JOBS"
step "configure win32"
cmake --preset win32 >/dev/null
step "build win32"
# The shipped programs only: the tests compile and run in the win64 build.
cmake --build --preset win32 -j "$JOBS" --target Skyplate skyplate-cli
bash tests/imports_test.sh i686-w64-mingw32-objdump build/win32/ui/Skyplate.exe \
  build/win32/cli/skyplate-cli.exe

step "start Xvfb"
WORK=$(mktemp -d /tmp/skyplate-wine.XXXXXX)
XVFB_PID=""
cleanup() {
  # wineserver -k ends only the processes of this script's own prefix.
  WINEPREFIX="$WORK/prefix" wineserver -k 2>/dev/null || true
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
  fi
  [ "${KEEP_WORK:-0}" = 1 ] || rm -rf "$WORK"
}
trap cleanup EXIT
# -displayfd lets the server pick a free display and report it once ready.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.log" &
XVFB_PID=$!
for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.1; done
[ -s "$WORK/display" ] || { cat "$WORK/xvfb.log" >&2; exit 2; }
export DISPLAY=":$(cat "$WORK/display")"
export WINEPREFIX="$WORK/prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

step "create Wine prefix"
# Into a file, never a pipe: the services wineboot starts inherit its stderr
# and would keep a pipe open for as long as the wineserver runs.
wineboot -i >"$WORK/wineboot.log" 2>&1
# Without a window manager every top-level DestroyWindow waits 2 s unless Wine
# manages the windows itself; a crashing test must exit, not wait behind an
# invisible crash dialog.
cat >"$WORK/test.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
REG
wine reg import "$WORK/test.reg" >/dev/null 2>&1
# Debian's Wine does not find its own fonts (MS Sans Serif, Tahoma) by itself.
ln -sf /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
wineserver -k
wineserver -w
wineserver -p

step "ctest win64"
rc=0
ctest --test-dir build/win64 --output-on-failure -j "$JOBS" || rc=$?
step ""
printf '[test-windows] %-28s %6d ms\n' "total" $(($(now_ms) - START_MS))
exit "$rc"
