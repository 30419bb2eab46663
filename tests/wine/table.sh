#!/usr/bin/env bash
# sysreport-table.exe over -OSDU reports of a Windows XP with a known owner, a drive Q: with its own label and serial,
# and the fake netapi32's accounts (fake.c); the CSV read back with Python's csv module.
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"
v=$(mktemp -d /dev/shm/sysreport-table.XXXXXX)
sys=$SYSREPORT_WINEPREFIX/drive_c/windows/system32
mkdir "$v/q" "$work/wine" "$work/reports"
printf TABLEVOL >"$v/q/.windows-label"
printf 00c0ffee >"$v/q/.windows-serial"
# shellcheck disable=SC2016 # expanded when the script ends
cleanup='mv "$work/wine/"*.dll "$sys/"; rm -rf "$v" "$SYSREPORT_WINEPREFIX/dosdevices/q:"; "$RUNNER" --stop'
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
