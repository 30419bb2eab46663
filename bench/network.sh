#!/usr/bin/env bash
# Benchmark of the network section: the program's own "Total time taken" and the wall time of sysreport.exe -N, the
# medians of RUNS runs (default 21) under one warm wineserver, in the test tree's prefix: on this machine's network,
# then (as root) in network namespaces of 2, 20 and 200 adapters (veth pairs), the Wine session started inside each.
#
#   bench/network.sh [RUNS]
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
  echo "bench/network.sh: no $exe: build it first" >&2
  exit 1
fi
export SYSREPORT_WINEPREFIX=$PWD/${exe%/*}/tests/wine/wineprefix SYSREPORT_BITS=$bits
export runner=cmake/wine-run.sh exe runs work
work=$(mktemp -d)
trap '"$runner" --stop; rm -rf "$work"' EXIT

# measure WHAT: the medians of $runs runs of -N, with the adapters it listed.
measure() {
  "$runner" --stop
  "$runner" --start || return 1
  : >"$work/times"
  for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    "$runner" "$exe" -N >"$work/out" 2>/dev/null </dev/null
    end=$(date +%s%N)
    program=$(tr -d '\r' <"$work/out" | sed -n 's/^Total time taken: \([0-9]*\) ms$/\1/p')
    echo "$program $(((end - start) / 1000000))" >>"$work/times"
  done
  "$runner" --stop
  program=$(cut -d ' ' -f 1 "$work/times" | sort -n | sed -n "$(((runs + 1) / 2))p")
  wall=$(cut -d ' ' -f 2 "$work/times" | sort -n | sed -n "$(((runs + 1) / 2))p")
  printf '%-16s %9s %12s %10s\n' "$1" "$(grep -c '^Adapter ' "$work/out")" "$program" "$wall"
}

# in_namespace PAIRS: measure in a network namespace of PAIRS veth pairs.
in_namespace() {
  for i in $(seq 1 "$1"); do echo "link add a$i type veth peer name b$i"; done | ip -batch -
  measure "namespace"
}

printf '%-16s %9s %12s %10s\n' network adapters "program ms" "wall ms"
measure "this machine"
if [ "$(id -u)" = 0 ] && unshare -n true 2>/dev/null; then
  for pairs in 1 10 100; do
    unshare -n bash -c "$(declare -f measure in_namespace); in_namespace $pairs"
  done
else
  echo "(no network namespace without root: the namespace rows are left out)"
fi
