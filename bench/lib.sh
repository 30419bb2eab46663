# shellcheck shell=bash
# Shared by the benchmarks that run the program under Wine, sourced at the top of the tree: exe, the program
# (build/mingw/sysreport.exe, or build/mingw64/sysreport64.exe with SYSREPORT_WINE=64), the tests' prefix beside it,
# runner, work (a folder of the run's own) and runs (the script's first argument, else its default_runs).
set -u
runs=${1:-$default_runs}
exe=build/mingw/sysreport.exe
bits=32
if [ "${SYSREPORT_WINE:-}" = 64 ]; then
  exe=build/mingw64/sysreport64.exe
  bits=64
fi
if [ ! -f "$exe" ]; then
  echo "${0##*/}: no $exe: build it first" >&2
  exit 1
fi
export SYSREPORT_WINEPREFIX=$PWD/${exe%/*}/tests/wine/wineprefix SYSREPORT_BITS=$bits
runner=cmake/wine-run.sh
work=$(mktemp -d)

# time_runs SWITCHES: $runs runs of the program, the last one's report in $work/out; the medians of its own "Total
# time taken" and of the wall time, in ms, in program and wall.
time_runs() {
  local start end
  : >"$work/times"
  for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    "$runner" "$exe" "$1" >"$work/out" 2>/dev/null </dev/null
    end=$(date +%s%N)
    echo "$(tr -d '\r' <"$work/out" | sed -n 's/^Total time taken: \([0-9]*\) ms$/\1/p') $(((end - start) / 1000000))" \
      >>"$work/times"
  done
  # shellcheck disable=SC2034 # read by the scripts that source this one
  program=$(cut -d ' ' -f 1 "$work/times" | sort -n | sed -n "$(((runs + 1) / 2))p")
  # shellcheck disable=SC2034
  wall=$(cut -d ' ' -f 2 "$work/times" | sort -n | sed -n "$(((runs + 1) / 2))p")
}
