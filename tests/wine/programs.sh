#!/usr/bin/env bash
# -P against what the test writes into the registry: programs of the native view, the 32-bit view (64-bit prefix) and
# HKCU, odd texts and values, the hidden kinds; CBS packages on a Windows 10 defined in the registry (DisplayVersion,
# UBR); the Hotfix key on Wine's XP preset. The registry is put back after.
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"
version='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion'
hklm='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall'
cbs='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Component Based Servicing\Packages'
wine='HKEY_CURRENT_USER\Software\Wine'
"$RUNNER" --start
for key in "$version" "$wine"; do
  "$RUNNER" regedit /e "Z:$work/saved${#key}.reg" "$key" </dev/null >/dev/null 2>&1 || fail "saving $key"
done
# shellcheck disable=SC2016 # expanded when the script ends
cleanup='regedit <"$work/delete.reg"; for f in "$work"/saved*.reg; do "$RUNNER" regedit /s "Z:$f"; done
  "$RUNNER" --stop'
# A FILETIME's two halves for a UTC time (TZ=UTC0: the local day is the UTC day).
filetime() {
  local t=$((($(date -ud "$1" +%s) + 11644473600) * 10000000))
  printf '"InstallTimeHigh"=dword:%08x\n"InstallTimeLow"=dword:%08x\n' $((t >> 32)) $((t & 0xFFFFFFFF))
}
long=$(printf '%300s' '' | tr ' ' L)
publisher=$(printf 'Caf\xe9 \x80 Ltd') # in the ANSI code page, 1252
cat >"$work/add.reg" <<EOF
REGEDIT4
[$hklm\\7zip]
"DisplayName"="7-Zip 23.01"
"DisplayVersion"="23.01"
"Publisher"="Igor Pavlov"
"InstallDate"="20240109"
"SystemComponent"=dword:00000000
[$hklm\\comma]
"DisplayName"="Tool, \\"Pro\\" (x86); Edition"
"Publisher"="$publisher"
"InstallDate"="2024-01-09"
[$hklm\\long]
"DisplayName"="$long"
"DisplayVersion"=dword:00000005
"Publisher"="$(printf '%70000s' '' | tr ' ' p)"
[$hklm\\nonul]
"DisplayName"=hex(1):41,09,42
[$hklm\\noname]
"DisplayVersion"="9.9"
[$hklm\\system]
"DisplayName"="System part"
"SystemComponent"=dword:00000001
[$hklm\\child]
"DisplayName"="Update for Tool (KB2000001)"
"ParentKeyName"="comma"
"InstallDate"="20231001"
[$hklm\\KB2000002]
"DisplayName"="Security Update X"
"ReleaseType"="Security Update"
"InstallDate"="20231212"
[${hklm/LOCAL_MACHINE/CURRENT_USER}\\user]
"DisplayName"="User Tool"
"DisplayVersion"="2.0"
[$cbs\\Package_for_KB5034122~31bf3856ad364e35~x86~~10.0.1.0]
"CurrentState"=dword:00000070
$(filetime 2024-01-09T12:00)
[$cbs\\Package_1_for_KB5034122~31bf3856ad364e35~x86~~10.0.1.0]
"CurrentState"=dword:00000070
$(filetime 2024-01-09T12:01)
[$cbs\\Package_for_KB5000000~31bf3856ad364e35~x86~~10.0.1.0]
"CurrentState"=dword:00000080
[$cbs\\Package_for_KB4000000~31bf3856ad364e35~x86~~10.0.1.0]
"CurrentState"=dword:00000050
$(filetime 2025-01-01T00:00)
[$cbs\\Package_for_RollupFix~31bf3856ad364e35~x86~~19041.3803.1.7]
"CurrentState"=dword:00000070
"InstallLocation"="C:\\\\Windows\\\\SoftwareDistribution\\\\Download\\\\Windows10.0-KB5033372-x86.cab"
$(filetime 2024-02-13T23:59)
[$version\\Hotfix\\KB3000001]
"Installed"=dword:00000001
"Description"="Fix one"
[$version\\Hotfix\\Q3000002]
"Installed"="1"
[$version\\Hotfix\\KB2000002]
"Installed"=dword:00000001
EOF
wow=${hklm/Software/Software\\Wow6432Node}
[ "$SYSREPORT_BITS" = 32 ] || printf '[%s\\wow]\n"DisplayName"="Zed (32-bit view)"\n' "$wow" >>"$work/add.reg"
{
  echo REGEDIT4
  sed -n 's/^\[\(.*\)\]$/[-\1]/p' "$work/add.reg"
  printf '[-%s]\n' "${cbs%\\Packages}"
  printf '[%s]\n"%s"=-\n' "$version" DisplayVersion "$version" UBR "$version\\Hotfix\\Q246009" Installed "$wine" Version
} >"$work/delete.reg"
regedit <"$work/add.reg"
regedit <<EOF
REGEDIT4
[$version]
"CurrentVersion"="10.0"
"CurrentBuildNumber"="19045"
"DisplayVersion"="22H2"
"UBR"=dword:00000edb
"CSDVersion"=-
[$wine]
"Version"=-
EOF
user=$("$RUNNER" cmd /c 'echo %COMPUTERNAME%\%USERNAME%' </dev/null 2>/dev/null | tr -d '\r')
bits=$SYSREPORT_BITS-bit
user_bits=$([ "$bits" = 32-bit ] && echo 32-bit || echo Unknown) # a 64-bit Windows' user keys have one view
run -P
sed -n '/^Windows$/,$p' "$work/out" >"$work/section"
cat >"$work/expected" <<EOF
Windows
-------

Display Version       : 22H2
Build                 : 19045.3803
Service Pack          : None
Programs              : $((5 + (SYSREPORT_BITS == 64)))
Updates               : 5
Latest Update         : 2024-02-13

Programs
--------

Name	Version	Publisher	Installed	Bits	Scope
7-Zip 23.01	23.01	Igor Pavlov	2024-01-09	$bits	Machine
A.B	Unknown	Unknown	Unknown	$bits	Machine
$long	Unknown	$(printf '%1023s' '' | tr ' ' p)	Unknown	$bits	Machine
Tool, "Pro" (x86); Edition	Unknown	$publisher	Unknown	$bits	Machine
User Tool	2.0	Unknown	Unknown	$user_bits	$user

Updates
-------

KB	Installed	Source	Name
KB2000001	2023-10-01	Uninstall	Update for Tool (KB2000001)
KB2000002	2023-12-12	Uninstall	Security Update X
KB5000000	Unknown	CBS	Package_for_KB5000000
KB5033372	2024-02-13	CBS	Package_for_RollupFix 19041.3803.1.7
KB5034122	2024-01-09	CBS	Package_1_for_KB5034122

Total time taken: N ms
EOF
zed=$'Zed (32-bit view)\tUnknown\tUnknown\tUnknown\t32-bit\tMachine'
[ "$bits" = 32-bit ] || sed -i "/^User Tool/a $zed" "$work/expected"
expect 0 "Windows 10 from the registry" "$work/section" <"$work/expected"

# Windows XP, its CurrentBuild as XP keeps it: the Hotfix key (Installed the DWORD 1, or NT 4.0's text "1"; Wine's
# own Q246009 set aside), no CBS; an update both in the Hotfix key and among the Uninstall entries once, from the entry.
regedit <<EOF
REGEDIT4
[$version]
"CurrentBuildNumber"="2600"
"CurrentBuild"="1.511.1 () (Obsolete data - do not use)"
"CSDVersion"="Service Pack 3"
"UBR"=-
[$version\\Hotfix\\Q246009]
"Installed"=dword:00000000
[$wine]
"Version"="winxp"
EOF
run -P
sed -n '/^Display Version/,/^Latest Update/p;/^KB\t/,/^$/p' "$work/out" >"$work/section"
expect 0 "Windows XP, the Hotfix key" "$work/section" <<EOF
Display Version       : Unknown
Build                 : 2600
Service Pack          : Service Pack 3
Programs              : $((5 + (SYSREPORT_BITS == 64)))
Updates               : 4
Latest Update         : 2023-12-12
KB	Installed	Source	Name
KB2000001	2023-10-01	Uninstall	Update for Tool (KB2000001)
KB2000002	2023-12-12	Uninstall	Security Update X
KB3000001	Unknown	Hotfix	Fix one
KB3000002	Unknown	Hotfix	Q3000002

EOF
