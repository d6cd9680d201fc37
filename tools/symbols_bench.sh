#!/usr/bin/env bash
# Own symbol lookups per second on the release vlDB07.dll (stripped, vlDB07.sym beside it) next to
# addr2line on the same addresses, in one run; prints both rates and their ratio.
#   bash tools/symbols_bench.sh [number of addresses (default 2000)]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${OX_BUILD_DIR:-$root/build}"
count="${1:-2000}"
bash "$root/tools/build.sh" >/dev/null
source "$root/tools/wine-session.sh"
trap wine_session_stop EXIT
wine_session_start "$build"
sym="$build/release/vlDB07.sym"
work="$(mktemp -d)"
# Addresses: rows of the line tables of our own units (DWARF 4; not code the linker dropped,
# which keeps address 0), evenly thinned to count.
base=$((0x$(x86_64-w64-mingw32-objdump -p "$build/release/vlDB07.dll" | awk '/^ImageBase/ {print $2}')))
llvm-dwarfdump-14 --debug-line "$sym" |
  awk '/^ *version: /{v=$2} /^0x[0-9a-f]+ / && v>=2 && v<=4 && !/end_sequence/ && !/^0x0000000000000/ {print $1}' |
  awk -v n="$count" '{a[NR]=$1} END {step=NR/n; if (step<1) step=1; for (i=1; i<=NR; i+=step) print a[int(i)]}' > "$work/va.txt"
while read -r va; do printf '%x\n' $((va - base)); done < "$work/va.txt" > "$work/rva.txt"
n=$(wc -l < "$work/va.txt")
ours=$(cd "$build/bin" && LC_ALL=de_DE.UTF-8 "$WINE64" ./bench_symbols.exe "$(echo "Z:$build/release/vlDB07.dll" | tr / '\\')" \
  "$(echo "Z:$work/rva.txt" | tr / '\\')" | tr -d '\r')
echo "$ours"
rate=$(echo "$ours" | sed -n 's/.*: \([0-9.]*\) lookups\/s/\1/p')
start=$(date +%s.%N)
addr2line -f -C -e "$sym" < "$work/va.txt" > /dev/null
end=$(date +%s.%N)
python3 - "$n" "$start" "$end" "$rate" <<'PY'
import sys
n, start, end, rate = int(sys.argv[1]), float(sys.argv[2]), float(sys.argv[3]), float(sys.argv[4])
peer = n / (end - start)
print("addr2line:   %d addresses in one process (start-up included): %.1f lookups/s" % (n, peer))
print("ratio own / addr2line: %.4f" % (rate / peer))
PY
rm -rf "$work"
