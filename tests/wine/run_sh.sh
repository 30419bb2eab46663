#!/usr/bin/env bash
# ./run.sh as a user runs it, after the other Wine tests: the report alone on standard output, nothing rebuilt, none
# of the tests' registry changes in its prefix, and no Wine process of that prefix left behind.
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"
top=$(cd "$(dirname "$0")/../.." && pwd)
runs_in=$top/build/mingw/wineprefix
[ "$SYSREPORT_BITS" = 32 ] || runs_in=$top/build/mingw64/wineprefix
SYSREPORT_WINE=$SYSREPORT_BITS "$top/run.sh" -O </dev/null >"$work/raw" 2>"$work/err"
# shellcheck disable=SC2034 # read by expect
status=$?
masks='s/^([A-Z][A-Za-z .]+:\t+).*/\1*/; s/^\t\t\t.+ ago$/\t\t\t* ago/'
masks+='; s/^Total time taken: [0-9]+ ms$/Total time taken: N ms/'
tr -d '\r' <"$work/raw" | sed -E "$masks" >"$work/out"
{
  banner
  cat <<'TEXT'

****************************
Operating System Information
****************************

Current User:		*
System Uptime:		*
Operating System:	*
Service Pack:		*
Build Type:		*
Reg Name:		*
Reg Org.:		*
Product ID:		*
System Root:		*

Current Time:		*
Install Time:		*
			* ago

Total time taken: N ms
TEXT
} | expect 0 "./run.sh -O"
grep -qx 'ninja: no work to do.' "$work/err" || fail "./run.sh rebuilt what the tests built"
if grep -q 'Test Owner' "$runs_in"/*.reg; then fail "the tests' registry changes are in run.sh's prefix"; fi
for environ in /proc/[0-9]*/environ; do
  if { tr '\0' '\n' <"$environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$runs_in"; then
    fail "a Wine process of run.sh's prefix is still running: $environ"
  fi
done
