#!/usr/bin/env bash
# Installs the Debian packages that building and testing OX need (only the missing ones).
set -euo pipefail

packages=(
  # cross toolchain and build
  g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev cmake ninja-build ccache googletest
  # Windows run time and the virtual display
  wine wine64 xvfb xauth fonts-wine x11-apps xdotool imagemagick
  # independent readers and reference calculations used by the tests
  python3 python3-dbf python3-dbfread python3-dateutil libdbd-xbase-perl poppler-utils qpdf unrtf
  # symbol reader: fixtures (32-bit clang, ld, objcopy), peers (llvm-dwarfdump, addr2line), and
  # the native fuzz run with sanitizers (libFuzzer from libclang-rt)
  binutils clang-14 llvm-14 libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
