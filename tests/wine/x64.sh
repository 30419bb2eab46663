#!/usr/bin/env bash
# A 64-bit prefix: the x64 program reads the native registry view where the two views differ, and its -OSDUH report
# equals the 32-bit program's under WOW64 (where Wine runs 32-bit programs), moving figures masked. collect.cmd beside
# the x64 program alone: a report lands whole on status 0; a wrong command line, an empty COMPUTERNAME, a folder that
# cannot be written, a program ending 5 and a missing one leave the previous report byte for byte and no file of the
# run's own, with the status and what stderr says; NAME.err says why until a good run, which no stale file stops.
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"
app=$work/app
reports=$work/reports
# shellcheck disable=SC2016 # expanded when the script ends
cleanup='chattr -R -i "$reports"; "$RUNNER" --stop'
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
# collect STATUS SAID WHAT [ARGUMENTS]: collect.cmd's status and standard error (lines joined by |); $set runs first.
collect() {
  "$RUNNER" cmd /c "${set:-}Z:$app/collect.cmd" "${@:4}" </dev/null >/dev/null 2>"$work/err"
  got="$?:$(grep -v '^wine: ' "$work/err" | tr -d '\r' | paste -sd '|')"
  [ "$got" = "$1:$2" ] || fail "$3: $got"
}
# files WHAT: the folder's files (none of them a run's own) against the list in $work/ls.
files() {
  find "$reports" -mindepth 1 -printf '%f\n' | sort | diff - "$work/ls" >&2 || fail "$1: the files in the folder"
}
EXE=$EXE64 run -D
collect 0 "" "status 0" "Z:$reports" -D
report=$(echo "$reports/"*.txt)
name=$(basename "$report" .txt)
sed -E 's/^Total time taken: [0-9]+ ms\r$/Total time taken: N ms/' "$report" | tr -d '\r' | diff - "$work/out" >&2 ||
  fail "status 0: not the program's report"
cp "$report" "$work/previous"
echo "$name.txt" >"$work/ls"
usage='usage: collect.cmd FOLDER [SWITCHES]|SWITCHES: "-" and one or more of D, O, S, U and H; -OSDU if none'
for switches in /OSDU OSDU -x "-O & echo X"; do
  collect 1 "$usage" "$switches" "Z:$reports" "$switches"
done
collect 1 "$usage" "two switch arguments" "Z:$reports" -D -O
collect 1 "$usage" "no FOLDER"
set='set COMPUTERNAME=&' collect 3 "collect: COMPUTERNAME is empty: no report written" "COMPUTERNAME empty" "Z:$reports"
files "a wrong command line"
chattr +i "$reports"
collect 3 "collect: cannot write the report to the folder \"Z:$reports\"" "a folder that cannot be written" "Z:$reports"
chattr -i "$reports"
files "a folder that cannot be written"
cmp "$work/previous" "$report" || fail "the previous report changed"
cp "$STANDIN" "$app/sysreport64.exe"
program=$(echo "Z:$app/sysreport64.exe" | tr / "\\\\")
collect 3 "collect: status 5 from \"$program\"" "status 5" "Z:$reports" -D
cmp "$work/previous" "$report" || fail "status 5: the previous report changed"
sed -E 's/^[^s]+ status /* status /' "$reports/$name.err" | tr -d '\r' >"$work/err"
diff - "$work/err" <<EOF >&2 || fail "status 5: $name.err"
* status 3: collect: status 5 from "$program": stand-in: refused
EOF
rm "$app/sysreport64.exe"
collect 3 "collect: cannot start \"$program\"" "no program" "Z:$reports" -D
grep -q " status 3: collect: cannot start \"" "$reports/$name.err" || fail "no program: $name.err"
# A killed run's file, the former fixed name, and a .err that cannot be removed: a good run goes on, and removes .err.
cp "$EXE64" "$app/"
touch "$reports/$name.tmp" "$reports/$name.4242.tmp" "$reports/$name.4242.log"
chattr +i "$reports/$name.err"
collect 0 "" "a read-only .err" "Z:$reports" -O
chattr -i "$reports/$name.err"
grep -q "Operating System Information" "$report" || fail "a read-only .err: not the -O report"
printf '%s\n' "$name.4242.log" "$name.4242.tmp" "$name.err" "$name.tmp" "$name.txt" >"$work/ls"
files "a read-only .err"
collect 0 "" "status 0 after a failure" "Z:$reports" -D
sed -i "/^$name.err\$/d" "$work/ls"
files "status 0 after a failure"

# -P of both programs: an entry of the native view 64-bit, of the 32-bit view 32-bit, of HKCU of unknown bits.
uninstall='Software\Microsoft\Windows\CurrentVersion\Uninstall\quorvel-test'
for entry in "HKLM|/reg:64|Native" "HKLM|/reg:32|WOW64" "HKCU|/reg:64|User"; do
  IFS='|' read -r hive view name <<<"$entry"
  "$RUNNER" reg add "$hive\\$uninstall" /v DisplayName /d "$name program" /f "$view" </dev/null >/dev/null 2>&1
done
user=$("$RUNNER" cmd /c 'echo %COMPUTERNAME%\%USERNAME%' </dev/null 2>/dev/null | tr -d '\r')
EXE=$EXE64 run -P
cp "$work/out" "$work/programs64"
grep ' program	' "$work/out" >"$work/lines"
expect 0 "-P of the x64 program" "$work/lines" <<EOF
Native program	Unknown	Unknown	Unknown	64-bit	Machine
User program	Unknown	Unknown	Unknown	Unknown	$user
WOW64 program	Unknown	Unknown	Unknown	32-bit	Machine
EOF
if /usr/lib/wine/wineserver32 --version >/dev/null 2>&1; then
  run -P
  expect 0 "-P of the 32-bit program under WOW64, as the x64 one's" "$work/programs64" <"$work/out"
fi
"$RUNNER" reg delete "HKLM\\$uninstall" /f /reg:64 </dev/null >/dev/null 2>&1
"$RUNNER" reg delete "HKLM\\$uninstall" /f /reg:32 </dev/null >/dev/null 2>&1
"$RUNNER" reg delete "HKCU\\$uninstall" /f </dev/null >/dev/null 2>&1
