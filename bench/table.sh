#!/usr/bin/env bash
# Benchmark of sysreport-table: folders of 100, 1,000 and 10,000 copies of an -OSDU report (the README's sample with
# the fake machine's four user accounts, about 3 KB), tabled by a Release build for Linux (build/bench, no
# sanitizers). For each size it prints the median wall time of RUNS runs (default 5) and the largest resident set
# (/usr/bin/time's "Maximum resident set size"). Run by hand, not by test.sh.
#
#   bench/table.sh [RUNS]
set -u
cd "$(dirname "$0")/.." || exit 1
runs=${1:-5}
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null &&
  cmake --build build/bench --target sysreport-table >/dev/null || exit 1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The sample report of README.md, its users section replaced by the one below it there, in CR LF.
{
  printf '\n%s\n' ---------------------------------------------------------
  sed -n '/^ QUORVEL v/,/^NUE() returned/p' README.md | sed '$d'
  sed -n '/^User:\t\tAdministrator/,/^```$/p' README.md | sed '$d'
  sed -n '/^User:\t\tAdministrator/,/^```$/p' README.md | sed '$d'
  printf '\nTotal time taken: 25 ms\n'
} | sed 's/$/\r/' >"$work/report"
echo "report: $(wc -c <"$work/report") bytes"
echo "reports  median ms  max RSS KB"
for count in 100 1000 10000; do
  mkdir "$work/$count"
  for ((i = 1; i <= count; ++i)); do cp "$work/report" "$work/$count/PC$i.txt"; done
  times=()
  for ((run = 0; run < runs; ++run)); do
    start=$(date +%s%N)
    /usr/bin/time -f %M -o "$work/rss" build/bench/sysreport-table "$work/$count" >"$work/table.csv"
    times+=("$((($(date +%s%N) - start) / 1000000)) $(cat "$work/rss")")
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p" |
    awk -v n="$count" '{ printf "%7d %10d %11d\n", n, $1, $2 }'
done
