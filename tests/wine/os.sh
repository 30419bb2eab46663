#!/usr/bin/env bash
# The OS section under an NT 4.0 that Wine reads from the registry (no preset; the service pack numbers stay the
# prefix's own, 1.0), then the system lines of Wine's version presets and of other versions read from the registry.
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"
key='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion'
options='HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\ProductOptions'
# An owner of 255 characters fills the 256 bytes the program reads; an organisation of 256 does not fit. Without the
# key of hotfix Q246009, Service Pack 6 is not 6a. ctime has no text for an install time before 1970.
owner=$(printf '%255s' '' | tr ' ' o)
organisation=$(printf '%256s' '' | tr ' ' g)
regedit <<EOF
REGEDIT4
[$key]
"RegisteredOwner"="$owner"
"RegisteredOrganization"="$organisation"
"InstallDate"=dword:ffffffff
"CurrentVersion"="4.0"
"CurrentBuildNumber"="1381"
"CSDVersion"="Service Pack 6"
"CurrentMajorVersionNumber"=-
"CurrentMinorVersionNumber"=-
[-$key\Hotfix\Q246009]
[$options]
"ProductType"="WinNT"
[HKEY_CURRENT_USER\Software\Wine]
"Version"=-
EOF
t0=$(date +%s)
run -O
t1=$(date +%s)
# The clock lines: the current time of some second of the run, the install age (install time -1) of the run's window
# read back from its text, the uptime in the same form.
for ((t = t0; t <= t1; ++t)); do date -ud @$t '+Current Time:%t%t%a %b %d %T %Y'; done >"$work/times"
grep -qxFf "$work/times" "$work/out" || fail "current time"
ago='^\t\t\t([0-9]+)w ([0-6])d ([0-9]|1[0-9]|2[0-3])h ([0-5]?[0-9])m ([0-5]?[0-9])s ago$'
read -r w d h m s < <(sed -nE "s/$ago/\1 \2 \3 \4 \5/p" "$work/out")
age=$((${w:-0} * 604800 + ${d:-0} * 86400 + ${h:-0} * 3600 + ${m:-0} * 60 + ${s:-0} - 1))
((age >= t0 && age <= t1)) || fail "install age: $w $d $h $m $s"
grep -qE $'^System Uptime:\t\t([0-9]+[wdhm] )*[0-9]+s$' "$work/out" || fail "uptime line"
mask >"$work/masked"
{
  banner
  cat <<EOF

****************************
Operating System Information
****************************

Reg Error XR1
Current User:		*
System Uptime:		*
Operating System:	Windows NT Workstation 4.0 (4.0.1381)
Service Pack:		Service Pack 6 (1.0)
Build Type:		Uniprocessor Free
Reg Name:		$owner
Reg Org.:		
Product ID:		12345-oem-0000001-54321
System Root:		C:\\windows

Current Time:		*
Install Time:		Unknown
			* ago

Total time taken: N ms
EOF
} | expect 0 "NT 4.0" "$work/masked"

# The system lines of Wine's presets (Service Pack 6a: the hotfix key is back), and of versions that the registry
# defines without a preset: Windows 11, the servers of 10.0, a Server Core, domain controllers. Wine's win2008r2 is a
# workstation; its GetProductInfo answers 0x1C (Ultimate N) or 0x07 (Standard), and decides before EditionID. Without
# the manifest win81 and win10 would report 6.2.9200.
"$RUNNER" reg add "$key\\Hotfix\\Q246009" /f </dev/null >/dev/null 2>&1
while IFS='|' read -r preset version build type edition_id installation system pack; do
  wine_version=-
  [ -z "$preset" ] || wine_version="\"$preset\""
  regedit <<EOF
REGEDIT4
[$key]
"CurrentVersion"="$version"
"CurrentBuildNumber"="$build"
"EditionID"="$edition_id"
"InstallationType"="$installation"
[$options]
"ProductType"="$type"
[HKEY_CURRENT_USER\Software\Wine]
"Version"=$wine_version
EOF
  run -O
  grep -E '^(Operating System|Service Pack):' "$work/out" >"$work/lines"
  printf 'Operating System:\t%s\n%s' "$system" "${pack:+Service Pack:$'\t\t'$pack$'\n'}" |
    expect 0 "${preset:-$version.$build $type $installation}" "$work/lines"
done <<'EOF'
win95||||||Windows 95  (4.0.950)|
win98||||||Windows 98 SE (4.10.2222)|
nt40||||||Windows NT Workstation 4.0 (4.0.1381)|Service Pack 6a (6.0)
winxp||||||Windows XP Professional (5.1.2600)|Service Pack 3 (3.0)
winxp64||||||Windows XP Professional x64 Edition (5.2.3790)|Service Pack 2 (2.0)
win2008r2||||||Windows 7 Ultimate N (6.1.7601)|Service Pack 1 (1.0)
win81||||||Windows 8.1 Ultimate N (6.3.9600)|
win10||||||Windows 10 Ultimate N (10.0.18362)|
|10.0|22000|WinNT|Professional|Client|Windows 11 Ultimate N (10.0.22000)|Service Pack 6 (1.0)
|10.0|17763|ServerNT|Standard|Server Core|Windows Server 2019 Standard (Server Core) (10.0.17763)|Service Pack 6 (1.0)
|10.0|14393|ServerNT|||Windows Server 2016 Standard (10.0.14393)|Service Pack 6 (1.0)
|10.0|20348|LanmanNT|||Windows Server 2022 Standard (10.0.20348)|Service Pack 6 (1.0)
|10.0|26100|ServerNT|||Windows Server 2025 Standard (10.0.26100)|Service Pack 6 (1.0)
|10.0|25398|ServerNT|||Windows Server Standard (10.0.25398)|Service Pack 6 (1.0)
|5.2|3790|LanmanNT||Server Core|Windows Server 2003 family Standard Edition (5.2.3790)|Service Pack 6 (1.0)
|5.0|2195|LanmanNT|||Windows 2000 Server (5.0.2195)|Service Pack 6 (1.0)
|4.0|1381|LanmanNT|||Windows NT Server 4.0 (4.0.1381)|Service Pack 6a (1.0)
EOF
