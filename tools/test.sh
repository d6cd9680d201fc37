#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test under Wine.
# Extra arguments go to ctest (e.g. -R engine).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${OX_BUILD_DIR:-$root/build}"

bash "$root/tools/deps.sh"
bash "$root/tools/build.sh"

source "$root/tools/wine-session.sh"
trap wine_session_stop EXIT
wine_session_start "$build"
ctest --test-dir "$build" --output-on-failure --no-tests=error -j "${OX_JOBS:-$(nproc)}" "$@"
