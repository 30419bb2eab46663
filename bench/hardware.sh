#!/usr/bin/env bash
# Benchmark of the hardware section: the program's own "Total time taken" of sysreport.exe -OSDU and -OSDUH side by
# side, the medians of RUNS runs each (default 21) under one warm wineserver, in the test tree's prefix. What -H costs
# is the difference: one firmware-table read and a handful of registry values and counts.
#
#   bench/hardware.sh [RUNS]
#
# Uses build/mingw/sysreport.exe (cmake --preset mingw && cmake --build --preset mingw); SYSREPORT_WINE=64 takes
# build/mingw64/sysreport64.exe instead. Not run by test.sh.
cd "$(dirname "$0")/.." || exit 1
default_runs=21
# shellcheck source=lib.sh
. bench/lib.sh
trap '"$runner" --stop; rm -rf "$work"' EXIT
"$runner" --start || exit 1
printf '%8s %12s %12s\n' switches "program ms" "wall ms"
for switches in -OSDU -OSDUH -H; do
  time_runs "$switches"
  printf '%8s %12s %12s\n' "$switches" "$program" "$wall"
done
