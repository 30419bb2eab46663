#!/usr/bin/env bash
# sysreport-table.exe over -OSDU reports of a Windows XP with a known owner, a drive Q: with its own label and serial,
# and the fake netapi32's accounts (fake.c); the CSV read back with Python's csv module. Then each doubt of the table
# against real reports, a report moved over while the table reads it, and the -N and -P columns where the program
# prints those sections.
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"
v=$(mktemp -d /dev/shm/sysreport-table.XXXXXX)
sys=$SYSREPORT_WINEPREFIX/drive_c/windows/system32
mkdir "$v/q" "$work/wine" "$work/reports"
printf TABLEVOL >"$v/q/.windows-label"
printf 00c0ffee >"$v/q/.windows-serial"
# shellcheck disable=SC2016 # expanded when the script ends
cleanup='mv "$work/wine/"*.dll "$sys/" 2>/dev/null; rm -rf "$v" "$SYSREPORT_WINEPREFIX/dosdevices/q:"; "$RUNNER" --stop'
"$RUNNER" --start
ln -sfn "$v/q" "$SYSREPORT_WINEPREFIX/dosdevices/q:"
"$RUNNER" --stop
# Wine's services start with Wine's own DLLs (the mount manager needs its setupapi); the report's program the fakes.
"$RUNNER" --start
for dll in cfgmgr32 setupapi netapi32; do
  mv "$sys/$dll.dll" "$work/wine/" || fail "no $dll.dll in $sys"
  cp "$FAKE_DLL" "$sys/$dll.dll"
done
export WINEDLLOVERRIDES="cfgmgr32,setupapi,netapi32=n;mscoree,mshtml="
regedit <<'EOF'
REGEDIT4
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion]
"RegisteredOwner"="IT Department"
"RegisteredOrganization"="Example, \"Ltd\""
"ProductId"="12345-oem-0000001-54321"
"InstallDate"=dword:4780100c
[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\ProductOptions]
"ProductType"="WinNT"
[HKEY_CURRENT_USER\Software\Wine]
"Version"="winxp"
EOF
t0=$(date +%s)
"$RUNNER" "$EXE" -OSDU </dev/null >"$work/reports/WS-01.txt" 2>/dev/null
t1=$(date +%s)
blocks=$(stat -f -c '%b %f' "$v")
cp "$work/reports/WS-01.txt" "$work/reports/Lab,2.txt"
folder="Z:${work//\//\\}\\reports"
for mode in summary drives accounts; do
  option=--$mode
  [ "$mode" != summary ] || option=""
  # shellcheck disable=SC2086 # no option for the summary
  "$RUNNER" "$TABLE" $option "$folder" </dev/null >"$work/$mode.csv" 2>"$work/$mode.err"
  [ "$?:$(grep -v '^wine: ' "$work/$mode.err")" = 0: ] || fail "$mode: status or standard error"
done
# A table that cannot be written: status 2 and Windows' (Wine's) reason.
"$RUNNER" "$TABLE" "$folder" </dev/null >/dev/full 2>"$work/err"
got="$?:$(grep -v '^wine: ' "$work/err" | tr -d '\r')"
[ "$got" = "2:sysreport-table: the table could not be written: Disk full." ] || fail "to a full disk: $got"
export work t0 t1 blocks
python3 - <<'EOF' || fail "the tables differ from what the test put in"
import csv, datetime, os, re
def table(mode):
    data = open(os.environ["work"] + "/" + mode + ".csv", "rb").read()
    assert data.count(b"\n") == data.count(b"\r\n") > 1, mode + ": not CR LF"
    return sorted(csv.DictReader(data.decode("cp1252").splitlines()), key=lambda row: row["Computer"])
def iso(t):
    return datetime.datetime.fromtimestamp(t, datetime.timezone.utc).strftime("%Y-%m-%dT%H:%M:%S")
env = os.environ
admin = "n" * 599 + "z"
guest = "n" * 255 + "z"
rows = table("summary")
assert [row["Computer"] for row in rows] == ["Lab,2", "WS-01"], rows
row = rows[1]
assert row["CurrentTime"] in [iso(t) for t in range(int(env["t0"]), int(env["t1"]) + 1)], row
uptime = re.search(rb"System Uptime:\t\t(.*)\r", open(env["work"] + "/reports/WS-01.txt", "rb").read())[1].decode()
seconds = {"w": 604800, "d": 86400, "h": 3600, "m": 60, "s": 1}
assert int(row["UptimeSeconds"]) == sum(int(n) * seconds[unit] for n, unit in re.findall(r"(\d+)([wdhms])", uptime))
drives = [drive for drive in table("drives") if drive["Computer"] == "WS-01"]
fixed = [drive for drive in drives if drive["Type"] == "Hard Drive"]
sized = [drive for drive in fixed if drive["TotalKB"] not in ("", "0")]
lowest = min(sized, key=lambda drive: int(drive["FreeKB"]) / int(drive["TotalKB"]))
expected = {"Computer": "WS-01", "CurrentTime": row["CurrentTime"], "OSName": "Windows XP", "Edition": "Professional",
    "Version": "5.1", "Build": "2600", "ServicePack": "Service Pack 3", "UptimeSeconds": row["UptimeSeconds"],
    "InstallTime": iso(0x4780100C), "RegisteredOwner": "IT Department", "RegisteredOrganization": 'Example, "Ltd"',
    "ProductID": "12345-oem-0000001-54321", "Manufacturer": "", "Model": "", "SerialNumber": "", "Processor": "",
    "LogicalProcessors": "", "InstalledMemoryMB": "", "FixedDrives": str(len(fixed)),
    "FixedTotalKB": str(sum(int(drive["TotalKB"]) for drive in sized)),
    "FixedFreeKB": str(sum(int(drive["FreeKB"]) for drive in sized)),
    "LowestFreePercent": "%.1f" % (int(int(lowest["FreeKB"]) * 1000 / int(lowest["TotalKB"])) / 10),
    "LowestFreeDrive": lowest["Drive"], "Accounts": "3", "EnabledAccounts": admin + ";" + guest + ";José ?",
    "Administrators": admin, "EnabledWithoutPasswordRequirement": admin, "OldestAdminPasswordAgeSeconds": "3725",
    "Complete": "1"}
# Columns of the sections these reports lack.
expected.update({name: "" for name in rows[1] if name not in expected})
assert row == expected, (row, expected, drives)
assert rows[0] == dict(expected, Computer="Lab,2"), rows[0]
total, free = map(int, env["blocks"].split())
q = [list(drive.values()) for drive in drives if drive["Drive"] == "Q"]
assert q == [["WS-01", "Q", "Hard Drive", "TABLEVOL", "C0FFEE", "NTFS", "8", "512", str(free), str(total - free),
    str(total), str(free * 4), str((total - free) * 4), str(total * 4)]], q
accounts = [list(account.values()) for account in table("accounts") if account["Computer"] == "WS-01"]
assert accounts == [
    ["WS-01", admin, "Admin", "0", "1", "0", "0", "1", "0", "0", "0", "3725", "0", "412", iso(1000000000), "0"],
    ["WS-01", guest, "Guest", "0", "0", "1", "1", "0", "0", "0", "0", "0", "-1", "-1", "Never", "1"],
    ["WS-01", "José ?", "User", "0", "0", "0", "1", "0", "0", "1", "0", "700000", "3", "7", iso(1234567890), "0"],
], accounts
EOF
# Each doubt as a real report shows it: -SS and -UU; two reports in one file; the banner alone (the switches typed
# without '-'); the report's own error lines (the fake's refused enumeration, a registry text that is not there, a
# class name of 4,096 characters); a file named twice. Re-saved reports and a listing that fails mid-way are tried on
# the host (bad_inputs.sh): Wine's FindNextFileA has no such failure.
d=$work/doubts
mkdir "$d" "$work/empty"
in_wine() { echo "Z:${1//\//\\}"; }
"$RUNNER" "$EXE" -OSSUU </dev/null >"$d/doubled.txt" 2>/dev/null
"$RUNNER" "$EXE" -O </dev/null >"$d/appended.txt" 2>/dev/null
"$RUNNER" "$EXE" -OSU </dev/null >>"$d/appended.txt" 2>/dev/null
"$RUNNER" "$EXE" OSDU </dev/null >"$d/banner.txt" 2>/dev/null
FAKE=u5 "$RUNNER" "$EXE" -OU </dev/null >"$d/refused.txt" 2>/dev/null
FAKE=c4096 "$RUNNER" "$EXE" -OD </dev/null >"$d/class.txt" 2>/dev/null
regedit <<'EOF'
REGEDIT4
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion]
"RegisteredOrganization"=-
EOF
"$RUNNER" "$EXE" -O </dev/null >"$d/regerror.txt" 2>/dev/null
regedit <<'EOF'
REGEDIT4
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion]
"RegisteredOrganization"="Example, \"Ltd\""
EOF
"$RUNNER" "$TABLE" "$(in_wine "$d")" "$(in_wine "$d/doubled.txt")" </dev/null >"$work/doubts.csv" 2>"$work/doubts.err"
[ "$?" = 1 ] || fail "doubts: status, expected 1"
# The line numbers are the reports' own: found in them, not assumed.
line_of() { grep -n -m 1 -a "$2" "$d/$1" | cut -d : -f 1; }
again=$(grep -n -a '^Drive Information' "$d/doubled.txt" | sed -n '2s/:.*//p')
class=$(line_of class.txt '^Not enough')
grep -v '^wine: ' "$work/doubts.err" | tr -d '\r' | sed 's/^sysreport-table: Z:.*\\/sysreport-table: /' | sort |
  diff - <(
    sort <<EOF
sysreport-table: appended.txt: two reports in one file (">>" for ">"?): the row is the last one's
sysreport-table: banner.txt: no section: the switches typed without '-'?
sysreport-table: class.txt: incomplete report (no "Total time taken" line)
sysreport-table: class.txt: line $class: Not enough...Required size is 4097 (the report's own error line)
sysreport-table: doubled.txt: line $again: the section "Drive Information" again (a switch letter twice?): read once
sysreport-table: doubled.txt: named twice (or by two paths): read once
sysreport-table: refused.txt: line $(line_of refused.txt '^NUE()'): NUE() returned 5 (the report's own error line)
sysreport-table: regerror.txt: line $(line_of regerror.txt '^Reg Error'): Reg Error XR1 (the report's own error line)
EOF
  ) || fail "doubts: standard error"
# An empty folder: no computer reported yet, the header alone and status 0.
"$RUNNER" "$TABLE" "$(in_wine "$work/empty")" </dev/null >"$work/empty.csv" 2>"$work/empty.err"
[ "$?:$(grep -vc '^wine: ' "$work/empty.err"):$(wc -l <"$work/empty.csv")" = 0:0:1 ] || fail "an empty folder"
python3 - <<'EOF' || fail "the doubts' rows differ from the reports'"
import csv, os
work = os.environ["work"]
data = open(work + "/doubts.csv", "rb").read().decode("cp1252")
rows = {row["Computer"]: row for row in csv.DictReader(data.splitlines())}
assert sorted(rows) == ["appended", "class", "doubled", "refused", "regerror"], sorted(rows)
whole = {row["Computer"]: row for row in csv.DictReader(open(work + "/summary.csv", encoding="cp1252"))}["WS-01"]
# -SS and -UU count each drive and account once (but for what moves between runs: the time, and the free space).
moving = ("Computer", "CurrentTime", "UptimeSeconds", "FixedFreeKB", "LowestFreePercent")
assert {name for name in whole if rows["doubled"][name] != whole[name]} <= set(moving), rows["doubled"]
# Of -O >> -OSU, the row is the second report's: drives and accounts, not the first's OS alone.
assert rows["appended"]["FixedDrives"] == whole["FixedDrives"] != "", rows["appended"]
assert rows["appended"]["Accounts"] == "3", rows["appended"]
# A refused enumeration is no "no account": the users columns empty, the report's words in Problems.
users = ["Accounts", "EnabledAccounts", "Administrators", "EnabledWithoutPasswordRequirement",
         "OldestAdminPasswordAgeSeconds", "Problems"]
assert [rows["refused"][name] for name in users] == [""] * 5 + ["NUE() returned 5"], rows["refused"]
assert rows["regerror"]["OSName"] == "Windows XP", rows["regerror"]
assert [rows["regerror"][name] for name in ["RegisteredOwner", "RegisteredOrganization", "ProductID", "Problems"]] \
    == ["", "", "", "Reg Error XR1"], rows["regerror"]
assert rows["class"]["Problems"] == "Not enough...Required size is 4097", rows["class"]
EOF
# A report moved away while the table reads it, and a new one moved in its place: the table opens reports with delete
# sharing (without it: "Sharing violation."). Wine's server refuses to replace a file that is open, whatever its
# sharing, so "move /y" over the report itself is not tried. A report of 300 MB (empty lines after its end) keeps the
# table reading meanwhile.
share=$work/share
mkdir "$share"
{
  cat "$work/reports/WS-01.txt"
  yes $'\r' | head -c 300000000
} >"$share/PC.txt"
"$RUNNER" "$EXE" -O </dev/null >"$work/new.txt" 2>/dev/null
cp "$work/new.txt" "$work/new.copy"
"$RUNNER" "$TABLE" "$(in_wine "$share")" </dev/null >"$work/share.csv" 2>"$work/share.err" &
reading=$!
for ((i = 0; i < 200; ++i)); do
  find /proc/[0-9]*/fd -lname "$share/PC.txt" 2>/dev/null | grep -q . && break
  sleep 0.05
done
"$RUNNER" cmd /c move "$(in_wine "$share/PC.txt")" "$(in_wine "$work/PC.old")" </dev/null >"$work/move.out" 2>&1
away=$?
"$RUNNER" cmd /c move "$(in_wine "$work/new.txt")" "$(in_wine "$share/PC.txt")" </dev/null >>"$work/move.out" 2>&1
moved=$?
kill -0 "$reading" 2>/dev/null || fail "sharing: the table ended before the moves did"
wait "$reading"
read_status=$?
[ "$read_status:$away:$moved" = 0:0:0 ] || fail "sharing: $read_status:$away:$moved ($(tr -d '\r' <"$work/move.out"))"
cmp -s "$work/new.copy" "$share/PC.txt" || fail "sharing: the new report not in place"
tail -n 1 "$work/share.csv" | grep -q ',1.$' || fail "sharing: the row of the report read is not whole"

# tables FOLDER NAME MODE...: the folder tabled in each mode into $work/NAME-MODE.csv, with status 0 and nothing said.
tables() {
  local folder=$1 name=$2 mode option
  shift 2
  for mode in "$@"; do
    option=--$mode
    [ "$mode" != summary ] || option=""
    # shellcheck disable=SC2086 # no option for the summary
    "$RUNNER" "$TABLE" $option "$(in_wine "$folder")" </dev/null >"$work/$name-$mode.csv" 2>"$work/$name-$mode.err"
    [ "$?:$(grep -v '^wine: ' "$work/$name-$mode.err")" = 0: ] || fail "$name $mode: status or standard error"
  done
}
# The -N and -P columns, where the program prints those sections: section_prints LETTER writes the report of -LETTER
# and is true when it holds more than its heading; otherwise the part is skipped, and said so.
section_prints() {
  "$RUNNER" "$EXE" "-$1" </dev/null >"$work/section-$1.txt" 2>/dev/null
  local lines
  lines=$(tr -d '\r' <"$work/section-$1.txt" | sed '1,/^\*\*\*/d' | sed '1,/^\*\*\*/d' | grep -vc -e '^$' -e '^Total')
  [ "$lines" -gt 0 ] && return 0
  echo "table.sh: -$1 prints its heading only: its table columns not checked here"
  return 1
}
# -P: the programs the test registers come back in --programs; the summary's counts are the lists' rows.
if section_prints P; then
  regedit <<'EOF'
REGEDIT4
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\TableTest]
"DisplayName"="Table Test, \"Quoted\""
"DisplayVersion"="1.2.3"
"Publisher"="Example Publisher"
"InstallDate"="20230701"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\Hotfix\KB3000001]
"Installed"=dword:00000001
EOF
  mkdir "$work/p"
  "$RUNNER" "$EXE" -P </dev/null >"$work/p/PC.txt" 2>/dev/null
  tables "$work/p" p summary programs updates
  regedit <<'EOF'
REGEDIT4
[-HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\TableTest]
[-HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\Hotfix\KB3000001]
EOF
  python3 - <<'EOF' || fail "the -P columns differ from what the test registered"
import csv, os
table = lambda mode: list(csv.DictReader(open(os.environ["work"] + "/p-" + mode + ".csv", encoding="cp1252")))
ours = [list(row.values())[2:] for row in table("programs") if row["Name"] == 'Table Test, "Quoted"']
# The native view's: a 64-bit prefix's programs are 64-bit.
bits = os.environ["SYSREPORT_BITS"] + "-bit"
assert ours == [["1.2.3", "Example Publisher", "2023-07-01", bits, "Machine"]], ours
assert [row["Source"] for row in table("updates") if row["KB"] == "KB3000001"] == ["Hotfix"], table("updates")
summary = table("summary")[0]
assert [summary["Programs"], summary["Updates"]] == [str(len(table("programs"))), str(len(table("updates")))], summary
EOF
fi
# -N on a network of the test's own (network, mount and UTS namespaces, Wine started inside, as network.sh makes it):
# a veth pair, v0 with a MAC, two IPv4 and an IPv6 address and the default route, a host name, resolv.conf and hosts.
# Its columns against what the test put in and against the kernel's boot time; the peer's MAC against ip's.
if [ "$(id -u)" = 0 ] && unshare -n -m -u true 2>/dev/null && section_prints N; then
  mv "$work/wine/"*.dll "$sys/"
  export WINEDLLOVERRIDES="mscoree,mshtml="
  mkdir "$work/n"
  inside() {
    make_network
    "$RUNNER" --stop
    # As Windows 10: XP lists no gateways.
    "$RUNNER" reg add 'HKCU\Software\Wine' /v Version /d win10 /f </dev/null >/dev/null 2>&1
    "$RUNNER" reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\Authentication\LogonUI' /v LastLoggedOnUser \
      /d 'CORP\alice' /f </dev/null >/dev/null 2>&1
    "$RUNNER" "$EXE" -N </dev/null >"$work/n/WS042.txt" 2>/dev/null
    ip -j link show v1 >"$work/v1.json"
    # The prefix as the script found it, for the tests after it.
    "$RUNNER" reg add 'HKCU\Software\Wine' /v Version /d winxp /f </dev/null >/dev/null 2>&1
    "$RUNNER" reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Authentication\LogonUI' \
      /v LastLoggedOnUser /f </dev/null >/dev/null 2>&1
    "$RUNNER" --stop
  }
  "$RUNNER" --stop
  export work RUNNER EXE
  unshare -n -m -u bash -c "$(declare -f make_network inside); inside" || fail "the namespace's network was not made"
  tables "$work/n" n summary adapters
  python3 - <<'EOF' || fail "the -N columns differ from the test's network"
import csv, datetime, json, os
work = os.environ["work"]
def table(mode):
    return list(csv.DictReader(open(work + "/n-" + mode + ".csv", encoding="cp1252")))
v1 = json.load(open(work + "/v1.json"))[0]["address"].upper().replace(":", "-")
btime = int([line.split()[1] for line in open("/proc/stat") if line.startswith("btime ")][0])
adapters = {row["Adapter"]: row for row in table("adapters")}
assert sorted(adapters) == ["v0", "v1"], adapters
assert list(adapters["v0"].values()) == ["WS042", "v0", "v0", "Ethernet", "Up", "02-11-22-33-44-55", "Unknown",
    "192.0.2.10/24;198.51.100.7/25", "2001:db8:0:1::10/64;fe80::11:22ff:fe33:4455/64 (link-local)", "192.0.2.1",
    "192.0.2.53", "corp.example.com", "Off", "None"], adapters["v0"]
assert [adapters["v1"][name] for name in ("MAC", "IPv4", "Gateways")] == [v1, "", ""], adapters["v1"]
summary = table("summary")[0]
boot = datetime.datetime.strptime(summary["BootTime"], "%Y-%m-%dT%H:%M:%S").replace(tzinfo=datetime.timezone.utc)
assert abs(boot.timestamp() - btime) <= 2, (summary["BootTime"], btime)
got = [summary[name] for name in ("Domain", "JoinState", "DomainRole", "DNSName", "TimeZone", "UTCOffset", "LastUser",
    "CodePage", "IPv4Addresses", "MACAddresses", "Problems", "Complete")]
# The addresses of every adapter, in the report's order (as --adapters writes them).
macs = ";".join(row["MAC"] for row in table("adapters"))
assert sorted(macs.split(";")) == sorted(["02-11-22-33-44-55", v1]), macs
assert got == ["Workgroup", "Workgroup", "Standalone Workstation", "ws042.corp.example.com", "Greenwich Standard Time",
    "+00:00", "CORP\\alice", "1252", "192.0.2.10/24;198.51.100.7/25", macs, "", "1"], got
EOF
fi
