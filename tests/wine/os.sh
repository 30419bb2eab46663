#!/usr/bin/env bash
# The OS section under an NT 4.0 that Wine reads from the registry (no preset; the service pack numbers stay the
# prefix's own, 1.0), with the registry facts (Wine's own, two set here), then the system line of other versions read
# from the registry and of Wine's version presets.
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"
key='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion'
options='HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\ProductOptions'
# An owner of 255 characters fills the 256 bytes the program reads; an organisation of 256 does not fit.
owner=$(printf '%255s' '' | tr ' ' o)
organisation=$(printf '%256s' '' | tr ' ' g)
regedit <<EOF
REGEDIT4
[$key]
"RegisteredOwner"="$owner"
"RegisteredOrganization"="$organisation"
"InstallDate"=dword:3b9aca00
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
mask() {
  sed -Ei 's/^(Current User|System Uptime|Current Time):(\t+).+/\1:\2*/; s/^\t\t\t.+ ago$/\t\t\t* ago/' "$work/out"
}
clock() {
  echo "$(date +%s) $(cut -d. -f1 /proc/uptime)"
}
# The program's duration text of $1 seconds.
ladder() {
  local text="" left=$1 unit
  for unit in 604800w 86400d 3600h 60m; do
    if ((left >= ${unit%?})) || [ -n "$text" ]; then text+="$((left / ${unit%?}))${unit: -1} "; fi
    left=$((left % ${unit%?}))
  done
  echo "$text${left}s"
}
read -r t0 u0 <<<"$(clock)"
run -O
read -r t1 u1 <<<"$(clock)"
# The current time and the install age, as of some second of the run.
for ((t = t0; t <= t1; ++t)); do
  echo "Current Time:"$'\t\t'"$(date -ud @$t '+%a %b %d %T %Y')" >>"$work/times"
  echo $'\t\t\t'"$(ladder $((t - 1000000000))) ago" >>"$work/times"
done
[ "$(grep -cxFf "$work/times" "$work/out")" = 2 ] || fail "current time and install age"
# The uptime is Wine's tick count, which runs on a clock of its own (not the one of /proc/uptime, which counts
# suspended time and drifts from it by up to 500 ppm): the ladder's seconds within 2 s + 0.2 % of the Linux uptime,
# taken modulo the 32-bit tick count's 49.7 days.
u0=$((u0 % 4294967))
u1=$((u1 % 4294967))
line=$(sed -n 's/^System Uptime:\t\t//p' "$work/out")
up=0
declare -A unit=([w]=604800 [d]=86400 [h]=3600 [m]=60 [s]=1)
for part in $line; do
  if [[ $part =~ ^([0-9]{1,9})([wdhms])$ ]]; then ((up += BASH_REMATCH[1] * unit[${BASH_REMATCH[2]}])); fi
done
if [ "$(ladder $up)" != "$line" ] || ((up < u0 - 2 - u0 / 500 || up > u1 + 2 + u1 / 500)); then
  fail "uptime: $line, Linux uptime $u0 to $u1 s"
fi
mask
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
Install Time:		Sun Sep 09 01:46:40 2001
			* ago

Total time taken: N ms
EOF
} | expect 0 "NT 4.0"

# Service Pack 6a leaves the key of hotfix Q246009. ctime has no text for a time before 1970.
regedit <<EOF
REGEDIT4
[$key\\Hotfix\\Q246009]
[$key]
"InstallDate"=dword:ffffffff
EOF
run -O
mask
grep -E '^(Service Pack|Install Time):|ago$' "$work/out" >"$work/lines"
printf 'Service Pack:\t\tService Pack 6a (1.0)\nInstall Time:\t\tUnknown\n\t\t\t* ago\n' |
  expect 0 "6a, before 1970" "$work/lines"

# Version, build and product type from the registry: Windows 11, the servers of 10.0, and domain controllers.
while IFS='|' read -r version build type system; do
  regedit <<EOF
REGEDIT4
[$key]
"CurrentVersion"="$version"
"CurrentBuildNumber"="$build"
[$options]
"ProductType"="$type"
EOF
  run -O
  grep '^Operating System:' "$work/out" >"$work/lines"
  printf 'Operating System:\t%s\n' "$system" | expect 0 "$version.$build $type" "$work/lines"
done <<'EOF'
10.0|22000|WinNT|Windows 11 Ultimate N (10.0.22000)
10.0|14393|ServerNT|Windows Server 2016 Standard (10.0.14393)
10.0|17763|ServerNT|Windows Server 2019 Standard (10.0.17763)
10.0|20348|LanmanNT|Windows Server 2022 Standard (10.0.20348)
10.0|26100|ServerNT|Windows Server 2025 Standard (10.0.26100)
5.2|3790|LanmanNT|Windows Server 2003 family Standard Edition (5.2.3790)
5.0|2195|LanmanNT|Windows 2000 Server (5.0.2195)
4.0|1381|LanmanNT|Windows NT Server 4.0 (4.0.1381)
EOF

# Wine's presets. Its win7 is a server and its win2008r2 a workstation; its GetProductInfo answers 0x1C (Ultimate N)
# for a workstation and 0x07 (Standard) for a server. Without the manifest win81 and win10 would report 6.2.9200.
# The service pack: "9x" for none and no build type either; empty for none.
while IFS='|' read -r preset system pack; do
  printf 'REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Wine]\n"Version"="%s"\n' "$preset" | regedit
  run -O
  grep -E '^(Operating System|Service Pack|Build Type):' "$work/out" >"$work/lines"
  {
    printf 'Operating System:\t%s\n' "$system"
    if [ -n "$pack" ] && [ "$pack" != 9x ]; then printf 'Service Pack:\t\t%s\n' "$pack"; fi
    if [ "$pack" != 9x ]; then printf 'Build Type:\t\tUniprocessor Free\n'; fi
  } | expect 0 "$preset" "$work/lines"
done <<'EOF'
win95|Windows 95  (4.0.950)|9x
win98|Windows 98 SE (4.10.2222)|9x
winme|Windows Millennium Edition  (4.90.3000)|9x
nt40|Windows NT Workstation 4.0 (4.0.1381)|Service Pack 6a (6.0)
win2k|Windows 2000 Professional (5.0.2195)|Service Pack 4 (4.0)
winxp|Windows XP Professional (5.1.2600)|Service Pack 3 (3.0)
win2003|Windows Server 2003 family Standard Edition (5.2.3790)|Service Pack 2 (2.0)
vista|Windows Vista Ultimate N (6.0.6002)|Service Pack 2 (2.0)
win2008|Windows Server 2008 Standard (6.0.6002)|Service Pack 2 (2.0)
win7|Windows Server 2008 R2 Standard (6.1.7601)|Service Pack 1 (1.0)
win2008r2|Windows 7 Ultimate N (6.1.7601)|Service Pack 1 (1.0)
win8|Windows 8 Ultimate N (6.2.9200)|
win81|Windows 8.1 Ultimate N (6.3.9600)|
win10|Windows 10 Ultimate N (10.0.18362)|
EOF
