#!/usr/bin/env bash
# Fuzz runs of the ELF container and DWARF readers and of the demangler: native libFuzzer builds
# with AddressSanitizer and UndefinedBehaviorSanitizer. The readers are seeded with the fixtures
# (the 32-bit legacy file, our probe DLL's .sym, the probe DLL with ELF data appended behind its
# last section, and the hand-made edge fixtures), the demangler with the decorated names of its
# tests. Not part of the test suite.
#   bash symbols/fuzz/run_fuzz.sh [seconds of the readers (default 600)] [jobs (default 3)]
#                                 [seconds of the demangler (default 300)]
# Any sanitizer report, failed check or crash ends the run with a non-zero exit; the crashing
# input is kept in the work folder (printed at the end).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
symbols="$(cd "$here/.." && pwd)"
seconds="${1:-600}"
jobs="${2:-3}"
demangleSeconds="${3:-300}"
work="${OX_FUZZ_DIR:-$(mktemp -d /tmp/ox-symfuzz.XXXXXX)}"
mkdir -p "$work/seeds" "$work/corpus" "$work/fixtures" "$work/demangle/seeds" "$work/demangle/corpus"

cxx=clang++-14
flags=(-std=c++20 -g -O1 -I"$symbols" -I"$symbols/tests")
core=("$symbols/ElfCursor.cpp" "$symbols/clsElfImage.cpp" "$symbols/DwarfLookup.cpp" "$symbols/DwarfIndex.cpp")
$cxx "${flags[@]}" -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -o "$work/elf_dwarf_fuzz" "$here/ElfDwarfFuzz.cpp" "${core[@]}"
$cxx "${flags[@]}" -o "$work/write_seeds" "$here/WriteSeeds.cpp" "$symbols/tests/EdgeFixture.cpp"
$cxx "${flags[@]}" -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -o "$work/demangle_fuzz" "$here/DemangleFuzz.cpp" "$symbols/Demangler.cpp"
# Demangler seeds: the decorated names of its tests (a leading byte 0 keeps each name as it is).
sed -n 's/^    {"\([WT_][^"]*\)", ".*/\1/p' "$symbols/tests/DemanglerTest.cpp" | sed 's/\\"/"/g' |
  while IFS= read -r name; do
    printf '\0%s' "$name" > "$work/demangle/seeds/$(printf '%s' "$name" | md5sum | cut -c1-16)"
  done

bash "$symbols/tests/make_fixtures.sh" "$work/fixtures" >/dev/null
"$work/write_seeds" "$work/seeds"
cp "$work/fixtures/legacy.elf" "$work/fixtures/probe.sym" "$work/seeds/"
# The probe DLL cut at the end of its last section, with the legacy ELF data appended.
python3 - "$work/fixtures/probe.dll" "$work/fixtures/legacy.elf" "$work/seeds/appended.dll" <<'PY'
import struct, sys
image = open(sys.argv[1], "rb").read()
nt = struct.unpack_from("<I", image, 0x3C)[0]
count = struct.unpack_from("<H", image, nt + 6)[0]
table = nt + 24 + struct.unpack_from("<H", image, nt + 20)[0]
size, raw = struct.unpack_from("<II", image, table + 40 * (count - 1) + 16)
open(sys.argv[3], "wb").write(image[:raw + size] + open(sys.argv[2], "rb").read())
PY

echo "fuzzing for ${seconds}s with $jobs jobs in $work"
start=$(date +%s)
status=0
(cd "$work" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ./elf_dwarf_fuzz -max_total_time="$seconds" -jobs="$jobs" -workers="$jobs" -max_len=1048576 \
  -rss_limit_mb=4096 -timeout=30 -print_final_stats=1 corpus seeds > fuzz.log 2>&1) || status=$?
end=$(date +%s)
runs=$(grep -ho 'stat::number_of_executed_units: *[0-9]*' "$work"/fuzz-*.log 2>/dev/null | awk '{s+=$2} END {print s+0}')
echo "readers: $((end - start))s, executions: $runs, corpus: $(ls "$work/corpus" | wc -l) inputs"

echo "fuzzing the demangler for ${demangleSeconds}s with $jobs jobs"
start=$(date +%s)
(cd "$work/demangle" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ../demangle_fuzz -max_total_time="$demangleSeconds" -jobs="$jobs" -workers="$jobs" -max_len=4096 \
  -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 corpus seeds > fuzz.log 2>&1) || status=$?
end=$(date +%s)
runs=$(grep -ho 'stat::number_of_executed_units: *[0-9]*' "$work"/demangle/fuzz-*.log 2>/dev/null | awk '{s+=$2} END {print s+0}')
echo "demangler: $((end - start))s, executions: $runs, corpus: $(ls "$work/demangle/corpus" | wc -l) inputs"

if [ $status -ne 0 ] || grep -l "ERROR: AddressSanitizer\|runtime error\|deadly signal" "$work"/fuzz-*.log \
    "$work"/demangle/fuzz-*.log >/dev/null 2>&1; then
  echo "FAILED: see $work/fuzz-*.log, $work/demangle/fuzz-*.log and the crash-* files beside them"
  exit 1
fi
echo "no sanitizer report"
