#!/usr/bin/env bash
# A 64-bit prefix: the x64 program reads the native registry view where the two views differ, and its -OSDUH report
# equals the 32-bit program's under WOW64 (where Wine runs 32-bit programs), moving figures masked. collect.cmd beside
# the x64 program alone: a report lands whole on status 0; a failed run, a folder that cannot be written and a missing
# program leave the previous report byte for byte and no temporary file, with the status and one line on stderr.
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"
app=$work/app
reports=$work/reports
# shellcheck disable=SC2016 # expanded when the script ends
cleanup='chattr -i "$reports"; "$RUNNER" --stop'
key='HKLM\Software\Microsoft\Windows NT\CurrentVersion'
"$RUNNER" --start
"$RUNNER" reg add "$key" /v RegisteredOwner /d "Native view" /f /reg:64 </dev/null >/dev/null 2>&1
"$RUNNER" reg add "$key" /v RegisteredOwner /d "WOW64 view" /f /reg:32 </dev/null >/dev/null 2>&1
EXE=$EXE64 run -OSDUH
[ "$status" = 0 ] || fail "x64: status $status"
mask >"$work/x64"
grep -qx $'Reg Name:\t\tNative view' "$work/x64" || fail "x64: not the native registry view"
if grep -q "^Reg Error" "$work/x64"; then fail "x64: EditionID or InstallationType (none here) missed aloud"; fi
if /usr/lib/wine/wineserver32 --version >/dev/null 2>&1; then
  run -OSDUH
  mask | expect 0 "-OSDUH of the 32-bit program under WOW64, against the x64 one's" "$work/x64"
fi

mkdir "$app" "$reports"
cp "$EXE64" "$COLLECT" "$app/"
# collect STATUS SAID WHAT [SWITCHES]: collect.cmd's status and what it says on standard error.
collect() {
  "$RUNNER" cmd /c "Z:$app/collect.cmd" "Z:$reports" "${@:4}" </dev/null >/dev/null 2>"$work/err"
  got="$?:$(grep -v '^wine: ' "$work/err" | tr -d '\r')"
  [ "$got" = "$1:$2" ] || fail "$3: $got"
  [ -z "$(find "$reports" -name '*.tmp')" ] || fail "$3: a temporary file left"
}
EXE=$EXE64 run -D
collect 0 "" "status 0" -D
report=$(echo "$reports/"*.txt)
sed -E 's/^Total time taken: [0-9]+ ms\r$/Total time taken: N ms/' "$report" | tr -d '\r' | diff - "$work/out" >&2 ||
  fail "status 0: not the program's report"
cp "$report" "$work/previous"
collect 1 "sysreport: unknown switch - x; the letters are D, H, O, S and U, in one argument" "a failed run" -x
chattr +i "$reports"
collect 3 "collect: cannot write the report to the folder \"Z:$reports\"" "a folder that cannot be written"
chattr -i "$reports"
rm "$app/sysreport64.exe"
collect 3 "collect: cannot start \"$(echo "Z:$app/sysreport64.exe" | tr / "\\\\")\"" "no program"
cmp "$work/previous" "$report" || fail "the previous report changed"
