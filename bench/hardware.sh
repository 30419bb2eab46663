#!/usr/bin/env bash
# Benchmark of the hardware section: the program's own "Total time taken" of sysreport.exe -OSDU and -OSDUH side by
# side, the medians of RUNS runs each (default 21) under one warm wineserver, in the test tree's prefix. What -H costs
# is the difference: one firmware-table read and a handful of registry values and counts.
#
#   bench/hardware.sh [RUNS]
#
# Uses build/mingw/sysreport.exe (cmake --preset mingw && cmake --build --preset mingw); SYSREPORT_WINE=64 takes
# build/mingw64/sysreport64.exe instead. Not run by test.sh.
set -u
cd "$(dirname "$0")/.." || exit 1
runs=${1:-21}
exe=build/mingw/sysreport.exe
bits=32
if [ "${SYSREPORT_WINE:-}" = 64 ]; then
  exe=build/mingw64/sysreport64.exe
  bits=64
fi
if [ ! -f "$exe" ]; then
  echo "bench/hardware.sh: no $exe: build it first" >&2
  exit 1
fi
export SYSREPORT_WINEPREFIX=$PWD/${exe%/*}/tests/wine/wineprefix SYSREPORT_BITS=$bits
runner=cmake/wine-run.sh
work=$(mktemp -d)
trap '"$runner" --stop; rm -rf "$work"' EXIT
"$runner" --start || exit 1
printf '%8s %12s %12s\n' switches "program ms" "wall ms"
for switches in -OSDU -OSDUH -H; do
  : >"$work/times"
  for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    "$runner" "$exe" "$switches" >"$work/out" 2>/dev/null </dev/null
    end=$(date +%s%N)
    program=$(tr -d '\r' <"$work/out" | sed -n 's/^Total time taken: \([0-9]*\) ms$/\1/p')
    echo "$program $(((end - start) / 1000000))" >>"$work/times"
  done
  program=$(cut -d ' ' -f 1 "$work/times" | sort -n | sed -n "$(((runs + 1) / 2))p")
  wall=$(cut -d ' ' -f 2 "$work/times" | sort -n | sed -n "$(((runs + 1) / 2))p")
  printf '%8s %12s %12s\n' "$switches" "$program" "$wall"
done
