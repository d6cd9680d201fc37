#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine; figures go to stdout. Arguments: benchmark names
# (default: every bench_* program); OX_BENCH_ARGS, if set, is passed to each of them.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${OX_BUILD_DIR:-$root/build}"
bash "$root/tools/deps.sh"
bash "$root/tools/build.sh"
source "$root/tools/wine-session.sh"
trap wine_session_stop EXIT
wine_session_start "$build"
cd "$build/bin"
names=("$@")
[ ${#names[@]} -eq 0 ] && names=($(ls bench_*.exe | sed 's/\.exe$//'))
for b in "${names[@]}"; do
  echo "== $b"
  # Benchmarks outside the default build (those that fetch another system's source) are built
  # when asked for.
  cmake --build "$build" --target "$b" ${OX_JOBS:+-j "$OX_JOBS"} >/dev/null
  # A benchmark with a driver of the same name in bench/ runs through it (comparisons with
  # another system in the same run).
  if [ -f "$root/bench/$b.py" ]; then
    LC_ALL=de_DE.UTF-8 OX_BIN="$build/bin" OX_WINE="$WINE64" /usr/bin/python3 "$root/bench/$b.py"
  else
    LC_ALL=de_DE.UTF-8 "$WINE64" "./$b.exe" ${OX_BENCH_ARGS:-}
  fi
done
