#!/usr/bin/env bash
# Benchmark of the network section: the program's own "Total time taken" and the wall time of sysreport.exe -N, the
# medians of RUNS runs (default 21) under one warm wineserver, in the test tree's prefix: on this machine's network,
# then (as root) in network namespaces of 2, 20 and 200 adapters (veth pairs), the Wine session started inside each.
#
#   bench/network.sh [RUNS]
#
# Uses build/mingw/sysreport.exe (cmake --preset mingw && cmake --build --preset mingw); SYSREPORT_WINE=64 takes
# build/mingw64/sysreport64.exe instead. Not run by test.sh.
cd "$(dirname "$0")/.." || exit 1
default_runs=21
# shellcheck source=lib.sh
. bench/lib.sh
export runner exe runs work
trap '"$runner" --stop; rm -rf "$work"' EXIT

# measure WHAT: the medians of $runs runs of -N, with the adapters it listed.
measure() {
  "$runner" --stop
  "$runner" --start || return 1
  time_runs -N
  "$runner" --stop
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
    unshare -n bash -c "$(declare -f time_runs measure in_namespace); in_namespace $pairs"
  done
else
  echo "(no network namespace without root: the namespace rows are left out)"
fi
