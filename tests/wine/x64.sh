#!/usr/bin/env bash
# The x64 program in a 64-bit prefix, reading the native registry view where the two views differ; its -OSDU report
# equal to the 32-bit program's under WOW64, moving figures masked; collect.cmd beside it alone runs it.
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"
# shellcheck disable=SC2016 # expanded when the script ends
cleanup='"$RUNNER" --stop'
key='HKLM\Software\Microsoft\Windows NT\CurrentVersion'
"$RUNNER" --start
"$RUNNER" reg add "$key" /v RegisteredOwner /d "Native view" /f /reg:64 </dev/null >/dev/null 2>&1
"$RUNNER" reg add "$key" /v RegisteredOwner /d "WOW64 view" /f /reg:32 </dev/null >/dev/null 2>&1
EXE=$EXE64 run -OSDU
[ "$status" = 0 ] || fail "x64: status $status"
mask >"$work/x64"
grep -qx $'Reg Name:\t\tNative view' "$work/x64" || fail "x64: not the native registry view"
if /usr/lib/wine/wineserver32 --version >/dev/null 2>&1; then
  run -OSDU
  mask | expect 0 "-OSDU of the 32-bit program under WOW64, against the x64 one's" "$work/x64"
else
  echo "no 32-bit Wine here: the x64 program alone"
fi

mkdir "$work/app" "$work/reports"
cp "$EXE64" "$COLLECT" "$work/app/"
"$RUNNER" cmd /c "Z:$work/app/collect.cmd" "Z:$work/reports" -O </dev/null >/dev/null 2>&1 || fail "collect.cmd: $?"
grep -q $'^Reg Name:\t\tNative view\r$' "$work/reports/"*.txt || fail "collect.cmd did not run the x64 program"
