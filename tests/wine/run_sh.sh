#!/usr/bin/env bash
# ./run.sh as a user runs it, after the other Wine tests: the report alone on standard output, and no Wine process of
# its prefix left behind.
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"
top=$(cd "$(dirname "$0")/../.." && pwd)
preset=mingw
[ "$SYSREPORT_BITS" = 32 ] || preset=mingw64
SYSREPORT_WINE=$SYSREPORT_BITS "$top/run.sh" /S </dev/null >"$work/raw" 2>"$work/err"
# shellcheck disable=SC2034 # read by expect
status=$?
tr -d '\r' <"$work/raw" | sed -E 's/^Total time taken: [0-9]+ ms$/Total time taken: N ms/' >"$work/out"
{
  banner
  printf '\nTotal time taken: N ms\n'
} | expect 0 "./run.sh /S"
if grep -qzxF "WINEPREFIX=$top/build/$preset/wineprefix" /proc/[0-9]*/environ 2>/dev/null; then
  fail "a Wine process of run.sh's prefix is still running"
fi
