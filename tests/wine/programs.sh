#!/usr/bin/env bash
# The programs section against what the test writes into the registry: programs in the native view, the 32-bit view
# (64-bit prefix) and HKCU, with commas, quotes, parentheses, Windows-1252 bytes, control characters, a value without
# its NUL, of the wrong type and of 70,000 characters; every hidden kind; CBS packages of several states on a Windows 10
# defined in the registry (DisplayVersion, UBR); the Hotfix key on Wine's XP preset. The registry is put back after.
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"
version='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion'
options='HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\ProductOptions'
uninstall='Software\Microsoft\Windows\CurrentVersion\Uninstall'
packages='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Component Based Servicing'
"$RUNNER" --start
for key in "$version" "$options" 'HKEY_CURRENT_USER\Software\Wine'; do
  "$RUNNER" regedit /e "Z:$work/saved${#key}.reg" "$key" </dev/null >/dev/null 2>&1 || fail "saving $key"
done
# shellcheck disable=SC2016 # expanded when the script ends
cleanup='regedit <"$work/delete.reg"; for f in "$work"/saved*.reg; do "$RUNNER" regedit /s "Z:$f"; done
  "$RUNNER" --stop'
cat >"$work/delete.reg" <<EOF
REGEDIT4
[-HKEY_LOCAL_MACHINE\\$uninstall\\7zip]
[-HKEY_LOCAL_MACHINE\\$uninstall\\comma]
[-HKEY_LOCAL_MACHINE\\$uninstall\\long]
[-HKEY_LOCAL_MACHINE\\$uninstall\\nonul]
[-HKEY_LOCAL_MACHINE\\$uninstall\\tab]
[-HKEY_LOCAL_MACHINE\\$uninstall\\visible]
[-HKEY_LOCAL_MACHINE\\$uninstall\\noname]
[-HKEY_LOCAL_MACHINE\\$uninstall\\system]
[-HKEY_LOCAL_MACHINE\\$uninstall\\child]
[-HKEY_LOCAL_MACHINE\\$uninstall\\KB2000002]
[-HKEY_LOCAL_MACHINE\\$uninstall\\nokb]
[-HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\wow]
[-HKEY_CURRENT_USER\\$uninstall\\user]
[-$packages]
[-$version\\Hotfix\\KB3000001]
[-$version\\Hotfix\\Q3000002]
[-$version\\Hotfix\\KB3000003]
[-$version\\Hotfix\\KB2000002]
[-$version\\Hotfix\\Q3000004]
[$version\\Hotfix\\Q246009]
"Installed"=-
[$version]
"DisplayVersion"=-
"ReleaseId"=-
"UBR"=-
[HKEY_CURRENT_USER\\Software\\Wine]
"Version"=-
EOF
# A FILETIME's two halves for a UTC time (TZ=UTC0: the local day is the UTC day).
filetime() {
  local t=$((($(date -ud "$1" +%s) + 11644473600) * 10000000))
  printf '"InstallTimeHigh"=dword:%08x\n"InstallTimeLow"=dword:%08x\n' $((t >> 32)) $((t & 0xFFFFFFFF))
}
long=$(printf '%300s' '' | tr ' ' L)
huge=$(printf '%70000s' '' | tr ' ' p)
native=$SYSREPORT_BITS-bit
# The program's own text in the ANSI code page 1252: "Café € Ltd".
publisher=$(printf 'Caf\xe9 \x80 Ltd')
{
  cat <<EOF
REGEDIT4
[HKEY_LOCAL_MACHINE\\$uninstall\\7zip]
"DisplayName"="7-Zip 23.01"
"DisplayVersion"="23.01"
"Publisher"="Igor Pavlov"
"InstallDate"="20240109"
[HKEY_LOCAL_MACHINE\\$uninstall\\comma]
"DisplayName"="Tool, \\"Pro\\" (x86); Edition"
"Publisher"="$publisher"
"InstallDate"="2024-01-09"
[HKEY_LOCAL_MACHINE\\$uninstall\\long]
"DisplayName"="$long"
"DisplayVersion"=dword:00000005
"Publisher"="$huge"
[HKEY_LOCAL_MACHINE\\$uninstall\\nonul]
"DisplayName"=hex(1):41,42,43
[HKEY_LOCAL_MACHINE\\$uninstall\\tab]
"DisplayName"="Tab	here"
"DisplayVersion"="1.0"
[HKEY_LOCAL_MACHINE\\$uninstall\\visible]
"DisplayName"="Visible"
"SystemComponent"=dword:00000000
"InstallDate"="20230229"
[HKEY_LOCAL_MACHINE\\$uninstall\\noname]
"DisplayVersion"="9.9"
[HKEY_LOCAL_MACHINE\\$uninstall\\system]
"DisplayName"="System part"
"SystemComponent"=dword:00000001
[HKEY_LOCAL_MACHINE\\$uninstall\\child]
"DisplayName"="Update for Tool (KB2000001)"
"ParentKeyName"="comma"
"InstallDate"="20231001"
[HKEY_LOCAL_MACHINE\\$uninstall\\KB2000002]
"DisplayName"="Security Update X"
"ReleaseType"="Security Update"
"InstallDate"="20231212"
[HKEY_LOCAL_MACHINE\\$uninstall\\nokb]
"DisplayName"="Definition update"
"ReleaseType"="Update"
[HKEY_CURRENT_USER\\$uninstall\\user]
"DisplayName"="User Tool"
"DisplayVersion"="2.0"
[$packages\\Packages\\Package_for_KB5034122~31bf3856ad364e35~x86~~10.0.1.0]
"CurrentState"=dword:00000070
$(filetime 2024-01-09T12:00)
[$packages\\Packages\\Package_1_for_KB5034122~31bf3856ad364e35~x86~~10.0.1.0]
"CurrentState"=dword:00000070
$(filetime 2024-01-09T12:01)
[$packages\\Packages\\Package_for_KB5000000~31bf3856ad364e35~x86~~10.0.1.0]
"CurrentState"=dword:00000080
[$packages\\Packages\\Package_for_KB4000000~31bf3856ad364e35~x86~~10.0.1.0]
"CurrentState"=dword:00000050
$(filetime 2025-01-01T00:00)
[$packages\\Packages\\Package_for_KB4000001~31bf3856ad364e35~x86~~10.0.1.0]
"CurrentState"=dword:00000020
[$packages\\Packages\\Package_for_RollupFix~31bf3856ad364e35~x86~~19041.3803.1.7]
"CurrentState"=dword:00000070
"InstallLocation"="\\\\?\\\\C:\\\\Windows\\\\SoftwareDistribution\\\\Download\\\\Windows10.0-KB5033372-x86.cab"
$(filetime 2024-02-13T23:59)
[$packages\\Packages\\Microsoft-Windows-Foo-Package~31bf3856ad364e35~x86~~10.0.1.0]
"CurrentState"=dword:00000070
[$version\\Hotfix\\KB3000001]
"Installed"=dword:00000001
"Description"="Fix one"
[$version\\Hotfix\\Q3000002]
"Installed"=dword:00000001
[$version\\Hotfix\\KB3000003]
"Installed"=dword:00000000
[$version\\Hotfix\\KB2000002]
"Installed"=dword:00000001
[$version\\Hotfix\\Q3000004]
"Installed"="1"
[$version]
"CurrentVersion"="10.0"
"CurrentBuildNumber"="19045"
"CurrentBuild"="19045"
"DisplayVersion"="22H2"
"ReleaseId"="2009"
"UBR"=dword:00000edb
"CSDVersion"=-
[$options]
"ProductType"="WinNT"
[HKEY_CURRENT_USER\\Software\\Wine]
"Version"=-
EOF
  [ "$native" = 32-bit ] || printf '%s\n' \
    '[HKEY_LOCAL_MACHINE\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall\wow]' \
    '"DisplayName"="Zed (32-bit view)"'
} | regedit
written=$("$RUNNER" reg query "HKLM\\$uninstall\\long" /v Publisher </dev/null 2>/dev/null | tr -cd p | wc -c)
[ "$written" -ge 70000 ] || fail "the 70,000-character value was not written: $written"
user=$("$RUNNER" cmd /c 'echo %COMPUTERNAME%\%USERNAME%' </dev/null 2>/dev/null | tr -d '\r')
# Wine's user hive is HKCU; on a 64-bit Windows the view of a user's program does not tell its bits.
user_bits=32-bit
[ "$native" = 32-bit ] || user_bits=Unknown
section() { sed -n '/^Windows$/,$p' "$work/out"; }

run -P
section >"$work/section"
{
  cat <<EOF
Windows
-------

Display Version       : 22H2
Build                 : 19045.3803
Service Pack          : None
Programs              : $((7 + (SYSREPORT_BITS == 64)))
Updates               : 6
Latest Update         : 2024-02-13

Programs
--------

Name	Version	Publisher	Installed	Bits	Scope
7-Zip 23.01	23.01	Igor Pavlov	2024-01-09	$native	Machine
ABC	Unknown	Unknown	Unknown	$native	Machine
$long	Unknown	$(printf '%1023s' '' | tr ' ' p)	Unknown	$native	Machine
Tab.here	1.0	Unknown	Unknown	$native	Machine
Tool, "Pro" (x86); Edition	Unknown	$publisher	Unknown	$native	Machine
User Tool	2.0	Unknown	Unknown	$user_bits	$user
Visible	Unknown	Unknown	Unknown	$native	Machine
EOF
  [ "$native" = 32-bit ] || printf 'Zed (32-bit view)\tUnknown\tUnknown\tUnknown\t32-bit\tMachine\n'
  cat <<EOF

Updates
-------

KB	Installed	Source	Name
KB2000001	2023-10-01	Uninstall	Update for Tool (KB2000001)
KB2000002	2023-12-12	Uninstall	Security Update X
KB5000000	Unknown	CBS	Package_for_KB5000000
KB5033372	2024-02-13	CBS	Package_for_RollupFix 19041.3803.1.7
KB5034122	2024-01-09	CBS	Package_1_for_KB5034122
Unknown	Unknown	Uninstall	Definition update

Total time taken: N ms
EOF
} | expect 0 "Windows 10 from the registry" "$work/section"

# Windows XP: the Hotfix key (Installed the DWORD 1, or NT 4.0's text "1"; Wine's own Q246009 set aside), no CBS; an
# update both in the Hotfix key and among the Uninstall entries once, from the entry.
regedit <<EOF
REGEDIT4
[$version]
"CurrentVersion"="5.1"
"CurrentBuildNumber"="2600"
"CurrentBuild"="2600"
"CSDVersion"="Service Pack 3"
"DisplayVersion"=-
"ReleaseId"=-
"UBR"=-
[$version\\Hotfix\\Q246009]
"Installed"=dword:00000000
[HKEY_CURRENT_USER\\Software\\Wine]
"Version"="winxp"
EOF
run -P
section | sed -n '/^Display Version/,/^Latest Update/p;/^KB\t/,/^$/p' >"$work/section"
expect 0 "Windows XP, the Hotfix key" "$work/section" <<EOF
Display Version       : Unknown
Build                 : 2600
Service Pack          : Service Pack 3
Programs              : $((7 + (SYSREPORT_BITS == 64)))
Updates               : 6
Latest Update         : 2023-12-12
KB	Installed	Source	Name
KB2000001	2023-10-01	Uninstall	Update for Tool (KB2000001)
KB2000002	2023-12-12	Uninstall	Security Update X
KB3000001	Unknown	Hotfix	Fix one
KB3000002	Unknown	Hotfix	Q3000002
KB3000004	Unknown	Hotfix	Q3000004
Unknown	Unknown	Uninstall	Definition update

EOF
