#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the program on the local data directory
# ./data (or $OX_DATA_DIR): the program's setting "MainPath" is set to it. With DISPLAY set the
# program appears on that display, otherwise on a virtual one (Xvfb). While the program does not
# exist yet, it lists what was built.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${OX_BUILD_DIR:-$root/build}"
data="${OX_DATA_DIR:-$root/data}"

bash "$root/tools/deps.sh"
bash "$root/tools/build.sh"
mkdir -p "$data"

if [ ! -f "$build/bin/OX.exe" ]; then
  echo
  echo "OX.exe is not built yet. Deliverables and stand-ins built in $build/bin:"
  for f in OX.exe vlDB07.dll VL32T1.dll vlUT11.dll vlCT11.dll VLPA05/VLPA05.DLL; do
    [ -f "$build/bin/$f" ] && echo "  $f"
  done
  exit 0
fi

data="$(cd "$data" && pwd)"
source "$root/tools/wine-session.sh"
if [ -n "${DISPLAY:-}" ]; then
  export OX_KEEP_DISPLAY=1
else
  unset OX_KEEP_DISPLAY
fi
trap wine_session_stop EXIT
wine_session_start "$build"
if [ -z "${OX_KEEP_DISPLAY:-}" ]; then
  echo "No DISPLAY set: OX runs on the virtual display $DISPLAY (it ends with OX)."
  echo "  a screenshot:  DISPLAY=$DISPLAY import -window root ox.png"
fi
LC_ALL=de_DE.UTF-8 "$WINE64" reg add 'HKCU\Software\velmar\chronivo\Settings' /v MainPath /t REG_SZ \
  /d "$(winepath_of "$data")" /f >/dev/null
cd "$data"
LC_ALL=de_DE.UTF-8 "$WINE64" "$build/bin/OX.exe" "$@"
