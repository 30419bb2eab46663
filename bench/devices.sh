#!/usr/bin/env bash
# Benchmark of the devices section: sysreport.exe -D over the tests' fake device services (tests/wine/fake.c), whose
# class Ports is given 10, 100, 1,000, 10,000 and 60,000 devices (FAKE=p<n>) beside its four other classes that have
# a device set; 0 devices, the fake's own machine, shows what Wine's start and the rest of the run cost. For each size
# it prints the medians of RUNS runs (default 11) under one warm wineserver: the wall time of the run, mostly Wine's own
# start, and the program's own "Total time taken"; and the device sets the fake built at every size: 6, one per class
# with a set and one for the class whose name leads to another class's devices.
#
#   bench/devices.sh [RUNS]
#
# Uses the test tree's build, build/mingw/sysreport.exe and build/mingw/tests/wine/fake.dll (cmake --preset mingw &&
# cmake --build --preset mingw; SYSREPORT_WINE=64 takes build/mingw64 instead), and the tests' prefix under it,
# tests/wine/wineprefix. The fake is installed as the tests install it: in the prefix's system32 as cfgmgr32, setupapi
# and netapi32, Wine's own files moved aside and put back at the end, when Wine's server is stopped too. Not run by
# test.sh.
set -u
cd "$(dirname "$0")/.." || exit 1
runs=${1:-11}
build=build/mingw
bits=32
if [ "${SYSREPORT_WINE:-}" = 64 ]; then
  build=build/mingw64
  bits=64
fi
exe=$build/sysreport.exe
[ "$bits" = 32 ] || exe=$build/sysreport64.exe
fake=$build/tests/wine/fake.dll
if [ ! -f "$exe" ] || [ ! -f "$fake" ]; then
  echo "bench/devices.sh: no $exe or $fake: build the ${build#build/} preset first" >&2
  exit 1
fi
export SYSREPORT_WINEPREFIX=$PWD/$build/tests/wine/wineprefix SYSREPORT_BITS=$bits
export WINEDLLOVERRIDES="cfgmgr32,setupapi,netapi32=n;mscoree,mshtml="
runner=cmake/wine-run.sh
work=$(mktemp -d)
sys=$SYSREPORT_WINEPREFIX/drive_c/windows/system32
# At the end, however it comes: Wine's own DLLs back, the server stopped, the work folder gone.
finish() {
  mv "$work/"*.dll "$sys/" 2>/dev/null
  "$runner" --stop
  rm -rf "$work"
}
trap finish EXIT
"$runner" --start || exit 1
for dll in cfgmgr32 setupapi netapi32; do
  mv "$sys/$dll.dll" "$work/" || exit 1
  cp "$fake" "$sys/$dll.dll"
done

printf '%8s %10s %12s %11s\n' devices "wall ms" "program ms" "set builds"
for devices in 0 10 100 1000 10000 60000; do
  : >"$work/times"
  for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    FAKE=p$devices "$runner" "$exe" -D >"$work/out" 2>"$work/err" </dev/null
    end=$(date +%s%N)
    program=$(tr -d '\r' <"$work/out" | sed -n 's/^Total time taken: \([0-9]*\) ms$/\1/p')
    echo "$(((end - start) / 1000000)) $program" >>"$work/times"
  done
  lines=$(grep -c '^\.\.\.COM' "$work/out")
  [ "$lines" = "$devices" ] || echo "bench/devices.sh: $lines device lines printed, not $devices" >&2
  builds=$(sed -n 's/^fake: \([0-9]*\) set builds.*/\1/p' "$work/err")
  wall=$(cut -d ' ' -f 1 "$work/times" | sort -n | sed -n "$(((runs + 1) / 2))p")
  program=$(cut -d ' ' -f 2 "$work/times" | sort -n | sed -n "$(((runs + 1) / 2))p")
  printf '%8s %10s %12s %11s\n' "$devices" "$wall" "$program" "${builds:-?}"
done
