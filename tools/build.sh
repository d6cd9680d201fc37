#!/usr/bin/env bash
# Configures (once) and builds every deliverable and test program into build/ (or $OX_BUILD_DIR).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${OX_BUILD_DIR:-$root/build}"
type="${OX_BUILD_TYPE:-RelWithDebInfo}"

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" \
    -DCMAKE_BUILD_TYPE="$type" "${launcher[@]}"
fi
# OX_JOBS limits parallel compile jobs (several builds sharing one machine).
cmake --build "$build" ${OX_JOBS:+-j "$OX_JOBS"} -- -k 0
