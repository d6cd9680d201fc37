# Sourced by the test and run scripts: one Wine session for a build tree.
#   wine_session_start <build-dir>   virtual display, private prefix, persistent wineserver, the
#                                    desktop process started from a keeper program
#   wine_session_stop                ends the wineservers and the display
# The order matters: the display first, the prefix is created (if missing) before the
# persistent server starts (a prefix made under a persistent server can hang COM start-up).
#
# Besides the main prefix each allocator kind of build/allocator-kinds.txt has a prefix of its own,
# build/wineprefix-allocator<kind>, with the registry value HKCU\Software\velmar "Allocator" set to
# the kind and a persistent wineserver (see cmake/OxTesting.cmake). It is a copy of the main prefix
# made after the main prefix was configured: the Windows system folder is shared through hard links
# (nothing writes into those files), everything else is copied.

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
  wine_desktop_keep "$build"

  OX_ALLOCATOR_PREFIXES=()
  local kind
  for kind in $(tr ';' ' ' <"$build/allocator-kinds.txt" 2>/dev/null); do
    wine_allocator_prefix_start "$build" "$kind"
  done
}

wine_allocator_prefix_start() {
  local build="$1" kind="$2"
  local prefix="$build/wineprefix-allocator$kind"
  if [ ! -f "$prefix/.ox-configured" ] || [ "$WINEPREFIX/.ox-configured" -nt "$prefix/.ox-configured" ]; then
    WINEPREFIX="$prefix" "$WINESERVER" -k 2>/dev/null || true
    rm -rf "$prefix"
    mkdir -p "$prefix/drive_c/windows"
    local entry
    for entry in "$WINEPREFIX"/* "$WINEPREFIX"/drive_c/* "$WINEPREFIX"/drive_c/windows/*; do
      case "$entry" in
        "$WINEPREFIX/drive_c" | "$WINEPREFIX/drive_c/windows") ;;
        "$WINEPREFIX/drive_c/windows/system32" | "$WINEPREFIX/drive_c/windows/syswow64") cp -al "$entry" "$prefix/${entry#"$WINEPREFIX"/}" ;;
        *) cp -a "$entry" "$prefix/${entry#"$WINEPREFIX"/}" ;;
      esac
    done
    cp -a "$WINEPREFIX"/.update-timestamp "$prefix/" 2>/dev/null || true
  fi
  WINEPREFIX="$prefix" "$WINESERVER" -k 2>/dev/null || true
  WINEPREFIX="$prefix" "$WINESERVER" -p
  WINEPREFIX="$prefix" LC_ALL=de_DE.UTF-8 "$WINE64" reg add 'HKCU\Software\velmar' /v Allocator /t REG_DWORD \
    /d "$kind" /f >/dev/null 2>&1
  touch "$prefix/.ox-configured"
  OX_ALLOCATOR_PREFIXES+=("$prefix")
  WINEPREFIX="$prefix" wine_desktop_keep "$build"
}

# Starts the desktop process of the prefix from a program whose standard handles are /dev/null and
# that lives until the session ends (tests/DesktopKeeper.cpp). Otherwise the first test to touch
# the desktop starts it, and it keeps that test's output pipe open long after the test ended.
wine_desktop_keep() {
  local keeper="$1/bin/ox_desktop_keeper.exe"
  [ -f "$keeper" ] || return 0
  local ready="$WINEPREFIX/.ox-desktop-ready"
  rm -f "$ready"
  LC_ALL=de_DE.UTF-8 "$WINE64" "$keeper" "$(winepath_of "$ready")" </dev/null >/dev/null 2>&1 &
  local i
  for i in $(seq 1 200); do [ -f "$ready" ] && break; sleep 0.05; done
  rm -f "$ready"
}

winepath_of() { echo "Z:${1//\//\\}"; }

wine_session_stop() {
  "$WINESERVER" -k 2>/dev/null || true
  local prefix
  for prefix in "${OX_ALLOCATOR_PREFIXES[@]}"; do
    WINEPREFIX="$prefix" "$WINESERVER" -k 2>/dev/null || true
  done
  if [ -n "${OX_XVFB_PID:-}" ]; then kill "$OX_XVFB_PID" 2>/dev/null || true; unset OX_XVFB_PID; fi
}
