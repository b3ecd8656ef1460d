# Sourced: a private headless X display and a fresh 64-bit Wine prefix under
# $WORK, ready for GUI programs, ended by wine_session_end. Needs Xvfb, wine,
# wineserver and wineboot.

# Starts them; exports DISPLAY, WINEPREFIX and the Wine settings.
wine_session_start() {
  # -displayfd lets the server pick a free display and report it once ready.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.log" &
  XVFB_PID=$!
  for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.1; done
  [ -s "$WORK/display" ] || { cat "$WORK/xvfb.log" >&2; return 2; }
  export DISPLAY=":$(cat "$WORK/display")"
  export WINEPREFIX="$WORK/prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  # Into a file, never a pipe: the services wineboot starts inherit its stderr
  # and would keep a pipe open for as long as the wineserver runs.
  wineboot -i >"$WORK/wineboot.log" 2>&1
  # Without a window manager every top-level DestroyWindow waits 2 s unless Wine
  # manages the windows itself; a crashing program must exit, not wait behind an
  # invisible crash dialog.
  cat >"$WORK/session.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
REG
  wine reg import "$WORK/session.reg" >/dev/null 2>&1
  # Debian's Wine does not find its own fonts (MS Sans Serif, Tahoma) by itself.
  ln -sf /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
  wineserver -k
  wineserver -w
  wineserver -p
}

# Ends what wine_session_start started; safe to call when it did not finish.
wine_session_end() {
  # wineserver -k ends only the processes of this prefix.
  WINEPREFIX="$WORK/prefix" wineserver -k 2>/dev/null || true
  if [ -n "${XVFB_PID:-}" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
  fi
}
