#!/usr/bin/env bash
# Builds the debug-data fixtures into the folder given as $1 (used by the tests and the fuzz run):
#   legacy.elf    32-bit ELF, DWARF 2, 4-byte addresses, code at offset 0 (the old container)
# (the hand-made edge fixtures are written by EdgeFixture.cpp)
#   probe.dll     our x64 build of a small DLL (PE32+, DWARF 4), probe.sym its ELF64 debug file
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
out="$1"
mkdir -p "$out"
clang-14 --target=i386-pc-linux-gnu -ffreestanding -fno-pic -O0 -gdwarf-2 -gstrict-dwarf -gdwarf-aranges \
  -fno-exceptions -c "$here/fixtures/legacy.cpp" -o "$out/legacy.o"
ld -m elf_i386 -Ttext=0 -e 0 -o "$out/legacy.elf" "$out/legacy.o"
x86_64-w64-mingw32-g++-posix -O2 -g -gdwarf-4 -shared -static -static-libgcc -static-libstdc++ \
  -o "$out/probe.dll" "$here/fixtures/probe.cpp" "$here/fixtures/probe.def"
objcopy -O elf64-x86-64 --only-keep-debug "$out/probe.dll" "$out/probe.sym"
