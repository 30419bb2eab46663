#!/usr/bin/env bash
# Benchmark of sysreport-table: a folder of 10,000 copies of an -OSDUHNP report of a machine with 300 programs and
# 100 updates (the README's -OSDU sample and -H section, and -N and -P sections in their layout), tabled by a Release
# build for Linux (build/bench, no sanitizers), beside the floor: a tiny C program (bench/read_floor.c) reading the
# same files once. For each it prints the median wall time of RUNS runs (default 5) and the largest resident set
# (/usr/bin/time's "Maximum resident set size"), and the table's time as a multiple of the floor's, for a tenth of
# COUNT (default 10,000) and for COUNT, in the summary and in --programs. Run by hand, not by test.sh.
#
#   bench/table.sh [RUNS] [COUNT]
set -u
cd "$(dirname "$0")/.." || exit 1
runs=${1:-5}
count=${2:-10000}
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null &&
  cmake --build build/bench --target sysreport-table >/dev/null || exit 1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc -O2 -o "$work/floor" bench/read_floor.c || exit 1
label() { printf '%-22s: %s\n' "$1" "$2"; }
# The sample report of README.md (its users section replaced by the one below it there, its hardware section
# added), then -N and -P, in CR LF.
{
  printf '\n%s\n' ---------------------------------------------------------
  sed -n '/^ QUORVEL v/,/^NUE() returned/p' README.md | sed '$d'
  sed -n '/^User:\t\tAdministrator/,/^```$/p' README.md | sed '$d'
  sed -n '/^User:\t\tAdministrator/,/^```$/p' README.md | sed '$d'
  echo '********************'
  sed -n '/^Hardware Information$/,/^Module/p' README.md
  printf '\n*******************\nNetwork Information\n*******************\n\nIdentity\n--------\n\n'
  label 'Computer Name' WS042
  label 'DNS Host Name' ws042
  label 'DNS Domain' corp.example.com
  label Domain CORP
  label 'Join State' Domain
  label Role 'Member Workstation'
  label 'Time Zone' 'W. Europe Standard Time'
  label 'UTC Offset' +01:00
  label 'Boot Time' 2026-12-07T08:00:01
  label 'Last User' 'CORP\alice'
  label 'Code Page' 1252
  label 'System Locale' 'en-US (0409)'
  printf '\nAdapters\n--------\n\n'
  for adapter in Ethernet Wi-Fi; do
    label Adapter "$adapter"
    label Description 'Intel(R) PRO/1000 MT Network Connection'
    label Type Ethernet
    label Status Up
    label 'MAC Address' 02-11-22-33-44-55
    label Speed '1000 Mbit/s'
    label 'IPv4 Address' 192.168.1.10/24
    label 'IPv6 Address' 'fe80::1/64 (link-local)'
    label Gateway 192.168.1.1
    label 'DNS Server' 192.168.1.1
    label 'DNS Suffix' corp.example.com
    label DHCP On
    label 'DHCP Server' 192.168.1.1
    echo
  done
  printf '\n********************\nPrograms and Updates\n********************\n\nWindows\n-------\n\n'
  label 'Display Version' 22H2
  label Build 19045.3803
  label 'Service Pack' None
  label Programs 300
  label Updates 100
  label 'Latest Update' 2024-01-09
  printf '\nPrograms\n--------\n\nName\tVersion\tPublisher\tInstalled\tBits\tScope\n'
  for ((i = 1; i <= 300; ++i)); do
    printf 'Example Program %d (x64)\t%d.%d.%d\tExample Software Corporation\t2023-07-01\t64-bit\tMachine\n' \
      "$i" "$i" "$i" "$i"
  done
  printf '\nUpdates\n-------\n\nKB\tInstalled\tSource\tName\n'
  for ((i = 1; i <= 100; ++i)); do printf 'KB50%05d\t2024-01-09\tCBS\t\n' "$i"; done
  printf '\nTotal time taken: 25 ms\n'
} | sed 's/$/\r/' >"$work/report"
# median COMMAND...: the median wall time in ms and its run's largest resident set in KB.
median() {
  local times=() run start
  for ((run = 0; run < runs; ++run)); do
    start=$(date +%s%N)
    /usr/bin/time -f %M -o "$work/rss" "$@" >"$work/out" || exit 1
    times+=("$((($(date +%s%N) - start) / 1000000)) $(cat "$work/rss")")
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p"
}
echo "reports of $(wc -c <"$work/report") bytes; medians of $runs runs"
echo "reports  program               median ms  max RSS KB  / floor"
for size in $((count / 10)) "$count"; do
  mkdir "$work/$size"
  for ((i = 1; i <= size; ++i)); do cp "$work/report" "$work/$size/PC$i.txt"; done
  # Once, so that every program finds the files in the page cache.
  "$work/floor" "$work/$size"/*.txt >/dev/null
  read -r floor floor_rss <<<"$(median "$work/floor" "$work/$size"/*.txt)"
  printf '%7d  %-20s %10d %11d\n' "$size" "floor (read once)" "$floor" "$floor_rss"
  for mode in summary --programs; do
    option=$mode
    [ "$mode" != summary ] || option=""
    # shellcheck disable=SC2086 # no option for the summary
    read -r table table_rss <<<"$(median build/bench/sysreport-table $option "$work/$size")"
    printf '%7d  %-20s %10d %11d %8.2f\n' "$size" "sysreport-table $mode" "$table" "$table_rss" \
      "$(awk -v t="$table" -v f="$floor" 'BEGIN { print t / f }')"
  done
  rm -rf "${work:?}/$size"
done
