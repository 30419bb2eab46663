#!/usr/bin/env bash
# A 64-bit prefix: the x64 program reads the native registry view where the two views differ, and its -OSDUH report
# equals the 32-bit program's under WOW64 (where Wine runs 32-bit programs), moving figures masked. collect.cmd beside
# the x64 program alone: a report lands whole on status 0, by default with every section; a wrong command line, an
# empty COMPUTERNAME, a folder that cannot be written, a program ending 5 and a missing one, a report cut short, a move
# that never succeeds, a TEMP without room for the run's folder and a full share (status 2, Windows' reason) leave the
# previous report byte for byte and no file of the run's own, with the status and what stderr says; NAME.err says why
# until a good run, which no stale file stops; a reader holding the report for 3 s and six runs at once end 0.
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"
app=$work/app
reports=$work/reports
# shellcheck disable=SC2016 # expanded when the script ends
cleanup='chattr -R -i "$work"; "$RUNNER" --stop'
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
usage='usage: collect.cmd FOLDER [SWITCHES]|SWITCHES: "-" and one or more of D O S U H N P; -OSDUHNP if none'
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
# The run's own files, in the folder and in the local TEMP.
leftovers() {
  files "$1"
  if ls -d "$SYSREPORT_WINEPREFIX"/drive_c/users/*/Temp/collect.* 2>/dev/null; then fail "$1: a TEMP folder left"; fi
}
# Whole reports only: a stand-in's status 0 without the last line keeps the previous report.
cp "$STANDIN" "$app/sysreport64.exe"
set='set STANDIN=cut&' collect 3 'collect: the report is cut short: no "Total time taken" at its end' "cut" "Z:$reports"
cmp "$work/previous" "$report" || fail "cut short: the previous report changed"
grep -q ' status 3: collect: the report is cut short' "$reports/$name.err" || fail "cut short: $name.err"
printf '%s\n' "$name.err" "$name.txt" >"$work/ls"
leftovers "cut short"
# A TEMP where no folder can be made: status 3, before anything is written.
mkdir "$work/temp"
chattr +i "$work/temp"
set="set TEMP=Z:$work/temp&" collect 3 "collect: cannot create a folder in \"Z:$work/temp\"" "no TEMP" "Z:$reports"
chattr -i "$work/temp"
leftovers "no TEMP"
cp "$EXE64" "$app/"
# The default is every section.
EXE=$EXE64 run -OSDUHNP
headings() { tr -d '\r' <"$1" | grep -A1 '^\*\*\*' | grep -v '^\*\|^--\|^$'; }
collect 0 "" "the default switches" "Z:$reports"
headings "$work/raw" | diff - <(headings "$report") >&2 || fail "the default switches: not the sections of -OSDUHNP"
printf '%s\n' "$name.txt" >"$work/ls"
leftovers "the default switches"
cp "$report" "$work/previous"
# A reader holds NAME.txt open (no delete sharing) for 3 s: the move is tried again and the new report lands.
held=$(echo "Z:$report" | tr / "\\\\")
"$RUNNER" "$STANDIN" hold "$held" 3000 </dev/null >"$work/held" 2>&1 &
for _ in $(seq 100); do
  grep -q held "$work/held" && break
  sleep 0.1
done
grep -q held "$work/held" || fail "the reader did not open $report"
collect 0 "" "a reader holding the report" "Z:$reports" -D
wait
cmp -s "$work/previous" "$report" && fail "a reader holding the report: the previous report stayed"
grep -q '^Devices' "$report" || fail "a reader holding the report: not the -D report"
cp "$report" "$work/previous"
# Six runs of one account started together (each waits for the file go) draw the same RANDOM numbers: all end 0, each
# with a name of its own. Twice, as the runs may happen not to overlap.
for round in 1 2; do
  rm -f "$work/go"
  pids=""
  for run in 1 2 3 4 5 6; do
    (
      until [ -e "$work/go" ]; do sleep 0.01; done
      exec "$RUNNER" cmd /c "Z:$app/collect.cmd" "Z:$reports" -O </dev/null >/dev/null 2>"$work/err$run"
    ) &
    pids="$pids $!"
  done
  touch "$work/go"
  for pid in $pids; do
    wait "$pid" || fail "runs at once, round $round: a run ended $?: $(grep -hv '^wine: ' "$work/err"?)"
  done
done
grep -q "Operating System Information" "$report" || fail "runs at once: not the -O report"
echo "$name.txt" >"$work/ls"
leftovers "runs at once"
cp "$report" "$work/previous"
# A move that never succeeds: status 3, NAME.err kept, the run's .tmp gone, the previous report as it was.
chattr +i "$report"
collect 3 "collect: cannot replace \"Z:$reports\\$name.txt\"" "a move that fails" "Z:$reports" -O
chattr -i "$report"
cmp "$work/previous" "$report" || fail "a move that fails: the previous report changed"
grep -q ' status 3: collect: cannot replace ' "$reports/$name.err" || fail "a move that fails: $name.err"
printf '%s\n' "$name.err" "$name.txt" >"$work/ls"
leftovers "a move that fails"
# A full share: the program's status 2 and Windows' reason (Wine's text for ERROR_DISK_FULL) reach standard error and
# NAME.err, written in the room the run's .tmp left; the previous report stays. The share is a tmpfs of 3 pages, one
# of them the report's, and Wine's server must see it: the whole Wine session runs in the mount namespace.
mkdir "$work/full" "$work/after"
"$RUNNER" --stop
# shellcheck disable=SC2016 # expanded by the inner shell
unshare -m sh -c 'mount -t tmpfs -o size=12k tmpfs "$1/full" && cp "$1/previous" "$1/full/$2.txt" || exit
  "$3" cmd /c "Z:$4/collect.cmd" "Z:$1/full" -SSSSSSSSSSSS </dev/null >/dev/null 2>"$1/err"
  echo $? >"$1/status"
  cp -a "$1/full/." "$1/after"
  "$3" --stop' - "$work" "$name" "$RUNNER" "$app" || fail "a full share: no tmpfs"
reason='sysreport: the report could not be written: Disk full.'
got="$(cat "$work/status"):$(grep -v '^wine: ' "$work/err" | tr -d '\r')"
[ "$got" = "2:$reason" ] || fail "a full share: $got"
cmp "$work/previous" "$work/after/$name.txt" || fail "a full share: the previous report changed"
printf '%s\n' "$name.err" "$name.txt" >"$work/ls"
find "$work/after" -mindepth 1 -printf '%f\n' | sort | diff - "$work/ls" >&2 ||
  fail "a full share: the files in the folder"
sed -E 's/^[^s]+ status /* status /' "$work/after/$name.err" | tr -d '\r' | diff - <(echo "* status 2: $reason") >&2 ||
  fail "a full share: $name.err"
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

# -N of both programs on the test network where the namespaces can be made (as root), else on this machine's: the same
# section, the described adapter exactly, and the last user from the native registry view under WOW64 too.
logonui='HKLM\Software\Microsoft\Windows\CurrentVersion\Authentication\LogonUI'
"$RUNNER" reg add "$logonui" /v LastLoggedOnUser /d 'CORP\carol' /f /reg:64 </dev/null >/dev/null 2>&1
both_sections() {
  EXE=$EXE64 run -N
  mv "$work/out" "$work/x64"
  if /usr/lib/wine/wineserver32 --version >/dev/null 2>&1; then run -N; fi
}
: >"$work/v0"
if [ "$(id -u)" = 0 ] && unshare -n -m -u true 2>/dev/null; then
  inside() {
    make_network
    "$RUNNER" --stop
    both_sections
    "$RUNNER" --stop
  }
  "$RUNNER" --stop
  export work RUNNER EXE EXE64
  unshare -n -m -u bash -c "$(declare -f make_network run both_sections inside); inside" || fail "no test network"
  described_adapter >"$work/v0"
else
  both_sections
fi
sed -i 's/^\(Boot Time *: \).*/\1*/' "$work/x64"
grep -qx 'Last User             : CORP\\carol' "$work/x64" || fail "x64 -N: not the native view's last user"
[ ! -s "$work/v0" ] || sed -n '/^Adapter *: v0$/,/^DHCP Server/p' "$work/x64" | diff - "$work/v0" >&2 ||
  fail "x64 -N: the test network's adapter"
if /usr/lib/wine/wineserver32 --version >/dev/null 2>&1; then
  sed 's/^\(Boot Time *: \).*/\1*/' "$work/out" | diff - "$work/x64" >&2 || fail "-N of the 32-bit program under WOW64"
fi

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
