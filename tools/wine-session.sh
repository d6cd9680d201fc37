# Sourced by the test and run scripts: one Wine session for a build tree.
#   wine_session_start <build-dir>   virtual display, private prefix, persistent wineserver
#   wine_session_stop                ends the wineserver and the display
# The order matters: the display first, the prefix is created (if missing) before the
# persistent server starts (a prefix made under a persistent server can hang COM start-up).

WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

wine_env() {
  export WINEPREFIX="$1/wineprefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
}

wine_session_start() {
  local build
  build="$(cd "$1" && pwd)"
  wine_env "$build"

  if [ -z "${OX_KEEP_DISPLAY:-}" ]; then
    local dfile; dfile="$(mktemp)"
    Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp >"$dfile" 2>/dev/null &
    OX_XVFB_PID=$!
    local i
    for i in $(seq 1 100); do [ -s "$dfile" ] && break; sleep 0.1; done
    export DISPLAY=":$(head -n1 "$dfile")"
    rm -f "$dfile"
  fi

  if [ ! -f "$WINEPREFIX/.ox-configured" ]; then
    "$WINESERVER" -k 2>/dev/null || true
    LC_ALL=de_DE.UTF-8 "$WINE64" wineboot -i >/dev/null 2>&1
    "$WINESERVER" -w
    local reg="$build/ox-prefix.reg"
    cat >"$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="N"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Auto"="1"
"Debugger"="false"
REG
    LC_ALL=de_DE.UTF-8 "$WINE64" regedit /S "$(winepath_of "$reg")" >/dev/null 2>&1
    "$WINESERVER" -w
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/{marlett,tahoma,tahomabd}.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    touch "$WINEPREFIX/.ox-configured"
  fi

  "$WINESERVER" -k 2>/dev/null || true
  "$WINESERVER" -p
  LC_ALL=de_DE.UTF-8 "$WINE64" cmd /c exit >/dev/null 2>&1 || true
}

winepath_of() { echo "Z:${1//\//\\}"; }

wine_session_stop() {
  "$WINESERVER" -k 2>/dev/null || true
  if [ -n "${OX_XVFB_PID:-}" ]; then kill "$OX_XVFB_PID" 2>/dev/null || true; unset OX_XVFB_PID; fi
}
