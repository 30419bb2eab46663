#!/usr/bin/env bash
# The drive section against a folder mapped to a letter, with its label and
# serial given by .windows-label and .windows-serial. The folder lies in
# /dev/shm, whose figures do not move during the test, so every figure is
# compared exactly with what the probe asks Wine for.
. "$(dirname "$0")/lib.sh"

prefix="${SYSREPORT_WINEPREFIX:?}"
volume=$(mktemp -d /dev/shm/sysreport-drive.XXXXXX)
trap 'rm -rf "$work" "$volume"; rm -f "$prefix/dosdevices/q:"' EXIT
printf 'REPORTVOL' >"$volume/.windows-label"
printf '0012abcd' >"$volume/.windows-serial"
rm -f "$prefix/dosdevices/q:"
ln -s "$volume" "$prefix/dosdevices/q:"

probe drive Q
[ "$(fact serial)" = "12ABCD" ] || fail "the probe does not see the mapped serial: $(fact serial)"

run -S
expect_status 0 "-S"
expect_crlf "-S"

# The block of drive Q, from its "Drive Q" line to the next block.
awk '/^Drive Q$/ { on = 1 } on && /^Drive [A-Z]$/ && !/^Drive Q$/ { exit } on' "$work/out" >"$work/q"
kb() { echo "$(fact "$1_kb_hi") * 4294967296 + $(fact "$1_kb_lo")" | bc; }
used_clusters=$(( $(fact total_clusters) - $(fact free_clusters) ))
{
  printf 'Drive Q\n=======\n\n'
  printf 'Type                  : Hard Drive\n'
  printf 'Volume Label          : REPORTVOL\n'
  printf 'Volume Serial         : 12ABCD\n'
  printf 'File System           : %s\n' "$(fact fs)"
  printf '\nClusters\n--------\n\n'
  printf 'Sectors per cluster   : %s\n' "$(fact spc)"
  printf 'Bytes per sector      : %s\n' "$(fact bps)"
  printf 'Free clusters         : %s\n' "$(fact free_clusters)"
  printf 'Used clusters         : %s\n' "$used_clusters"
  printf 'Total clusters        : %s\n' "$(fact total_clusters)"
  printf '\nStorage Space\n-------------\n\n'
  printf 'Space free            : %s KB\n' "$(kb free)"
  printf 'Space used            : %s KB\n' "$(kb used)"
  printf 'Total space           : %s KB\n' "$(kb total)"
  printf '\n\n'
} >"$work/q.expected"
# The block as printed runs up to the next drive's "=======" line.
head -n "$(wc -l <"$work/q.expected")" "$work/q" | cmp -s - "$work/q.expected" ||
  { fail "drive Q block"; diff "$work/q.expected" "$work/q" >&2; }

# The section starts with its heading right after the banner.
{ banner; heading "Drive Information"; } >"$work/head.txt"
head -c "$(wc -c <"$work/head.txt")" "$work/out" | cmp -s - "$work/head.txt" || fail "section heading"

finish
