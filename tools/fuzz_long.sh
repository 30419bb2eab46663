#!/usr/bin/env bash
# The long fuzz run: each harness in turn on several processes for a fixed
# time, starting from the seed corpus. New inputs, logs and findings go to
# build/fuzz/long/. Prints the executions per harness and in all, and exits 1
# when any harness found something.
#   tools/fuzz_long.sh [seconds per harness, default 360] [processes, default 2]
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-360}
processes=${2:-2}
root=$PWD
long=$root/build/fuzz/long

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz >/dev/null

total=0
for harness in command_line drives os devices users; do
  mkdir -p "$long/corpus/$harness" "$long/findings" "$long/logs/$harness"
  rm -f "$long/logs/$harness"/fuzz-*.log
  # -jobs writes one fuzz-N.log per process into the current directory.
  (cd "$long/logs/$harness" &&
    "$root/build/fuzz/fuzz_$harness" -jobs="$processes" -workers="$processes" \
      -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$long/findings/$harness-" \
      "$long/corpus/$harness" "$root/tests/fuzz/corpus/$harness" >/dev/null 2>&1) || true
  runs=$(cat "$long/logs/$harness"/fuzz-*.log | awk '/stat::number_of_executed_units/ {s += $2} END {print s + 0}')
  echo "$harness: $runs executions"
  total=$((total + runs))
done
echo "all harnesses: $total executions"

findings=$(find "$long/findings" -type f | wc -l)
if [ "$findings" -eq 0 ]; then
  echo "findings: none"
else
  echo "findings: $findings, in $long/findings"
  exit 1
fi
