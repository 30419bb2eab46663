#!/usr/bin/env bash
# The OS section under an NT 4.0 that Wine reads from the registry (no preset; the service pack numbers stay the
# prefix's own, 1.0), with the registry facts (Wine's own, two set here), then the system line of other versions read
# from the registry and of Wine's version presets.
. "$(dirname "$0")/lib.sh"
key='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion'
options='HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\ProductOptions'
regedit <<EOF
REGEDIT4
[$key]
"RegisteredOwner"="Test Owner"
"RegisteredOrganization"=-
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
mask() { sed -Ei 's/^(Current User|System Uptime|Current Time):(\t+).+/\1:\2*/; s/^\t\t\t.+ ago$/\t\t\t* ago/' "$work/out"; }
clock() { echo "$(date +%s) $(cut -d. -f1 /proc/uptime)"; }
ladder() { local t="" n=$1 u; for u in 604800w 86400d 3600h 60m; do
  { ((n >= ${u%?})) || [ -n "$t" ]; } && t+="$((n / ${u%?}))${u: -1} "; n=$((n % ${u%?})); done; echo "$t${n}s"; }
read -r t0 u0 <<<"$(clock)" && run -O && read -r t1 u1 <<<"$(clock)"
# The current time and the install age, as of some second of the run.
for ((t = t0; t <= t1; ++t)); do
  printf '%s\n' "Current Time:"$'\t\t'"$(date -ud @$t '+%a %b %d %T %Y')" $'\t\t\t'"$(ladder $((t - 1000000000))) ago" >>"$work/times"
done
[ "$(grep -cxFf "$work/times" "$work/out")" = 2 ] || fail "current time and install age"
# The uptime is Wine's tick count, which runs on a clock of its own (not the one of /proc/uptime, which counts
# suspended time and drifts from it by up to 500 ppm): the ladder's seconds within 2 s + 0.2 % of the Linux uptime,
# taken modulo the 32-bit tick count's 49.7 days.
((u0 %= 4294967, u1 %= 4294967))
line=$(sed -n 's/^System Uptime:\t\t//p' "$work/out") up=0
declare -A unit=([w]=604800 [d]=86400 [h]=3600 [m]=60 [s]=1)
for p in $line; do [[ $p =~ ^([0-9]{1,9})([wdhms])$ ]] && ((up += BASH_REMATCH[1] * unit[${BASH_REMATCH[2]}])); done
[ "$(ladder $up)" = "$line" ] && ((up >= u0 - 2 - u0 / 500 && up <= u1 + 2 + u1 / 500)) ||
  fail "uptime: $(grep '^System Uptime' "$work/out"), Linux uptime $u0 to $u1 s"
mask
{ banner; printf '\n****************************\nOperating System Information\n****************************\n\n'
  printf 'Reg Error XR1\nCurrent User:\t\t*\nSystem Uptime:\t\t*\nOperating System:\tWindows NT Workstation 4.0 (4.0.1381)\n'
  printf 'Service Pack:\t\tService Pack 6 (1.0)\nBuild Type:\t\tUniprocessor Free\nReg Name:\t\tTest Owner\nReg Org.:\t\t\n'
  printf 'Product ID:\t\t12345-oem-0000001-54321\nSystem Root:\t\tC:\\windows\n\nCurrent Time:\t\t*\n'
  printf 'Install Time:\t\tSun Sep 09 01:46:40 2001\n\t\t\t* ago\n\nTotal time taken: N ms\n'; } | expect 0 "NT 4.0"
# Service Pack 6a leaves the key of hotfix Q246009. ctime has no text for a time before 1970.
printf 'REGEDIT4\n[%s\\Hotfix\\Q246009]\n[%s]\n"InstallDate"=dword:ffffffff\n' "$key" "$key" | regedit
run -O && mask && grep -E '^(Service Pack|Install Time):|ago$' "$work/out" >"$work/lines"
printf 'Service Pack:\t\tService Pack 6a (1.0)\nInstall Time:\t\tUnknown\n\t\t\t* ago\n' | expect 0 "6a, before 1970" "$work/lines"
# Version, build and product type from the registry: Windows 11, the servers of 10.0, and domain controllers.
while read -r version build type line; do
  printf 'REGEDIT4\n[%s]\n"CurrentVersion"="%s"\n"CurrentBuildNumber"="%s"\n[%s]\n"ProductType"="%s"\n' \
    "$key" "$version" "$build" "$options" "$type" | regedit
  run -O
  grep '^Operating System:' "$work/out" | expect 0 "$version.$build $type" <(printf "$line\n")
done <<'EOF'
10.0 22000 WinNT Operating System:\tWindows 11 Ultimate N (10.0.22000)
10.0 14393 ServerNT Operating System:\tWindows Server 2016 Standard (10.0.14393)
10.0 17763 ServerNT Operating System:\tWindows Server 2019 Standard (10.0.17763)
10.0 20348 LanmanNT Operating System:\tWindows Server 2022 Standard (10.0.20348)
10.0 26100 ServerNT Operating System:\tWindows Server 2025 Standard (10.0.26100)
5.2 3790 LanmanNT Operating System:\tWindows Server 2003 family Standard Edition (5.2.3790)
5.0 2195 LanmanNT Operating System:\tWindows 2000 Server (5.0.2195)
4.0 1381 LanmanNT Operating System:\tWindows NT Server 4.0 (4.0.1381)
EOF
# Wine's win7 is a server and its win2008r2 a workstation; its GetProductInfo answers 0x1C (Ultimate N) for a
# workstation and 0x07 (Standard) for a server. Without the manifest win81 and win10 would report 6.2.9200.
while read -r preset lines; do
  printf 'REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Wine]\n"Version"="%s"\n' "$preset" | regedit && run -O
  grep -E '^(Operating System|Service Pack|Build Type):' "$work/out" | expect 0 "$preset" <(printf "$lines")
done <<'EOF'
win95 Operating System:\tWindows 95  (4.0.950)\n
win98 Operating System:\tWindows 98 SE (4.10.2222)\n
winme Operating System:\tWindows Millennium Edition  (4.90.3000)\n
nt40 Operating System:\tWindows NT Workstation 4.0 (4.0.1381)\nService Pack:\t\tService Pack 6a (6.0)\nBuild Type:\t\tUniprocessor Free\n
win2k Operating System:\tWindows 2000 Professional (5.0.2195)\nService Pack:\t\tService Pack 4 (4.0)\nBuild Type:\t\tUniprocessor Free\n
winxp Operating System:\tWindows XP Professional (5.1.2600)\nService Pack:\t\tService Pack 3 (3.0)\nBuild Type:\t\tUniprocessor Free\n
win2003 Operating System:\tWindows Server 2003 family Standard Edition (5.2.3790)\nService Pack:\t\tService Pack 2 (2.0)\nBuild Type:\t\tUniprocessor Free\n
vista Operating System:\tWindows Vista Ultimate N (6.0.6002)\nService Pack:\t\tService Pack 2 (2.0)\nBuild Type:\t\tUniprocessor Free\n
win2008 Operating System:\tWindows Server 2008 Standard (6.0.6002)\nService Pack:\t\tService Pack 2 (2.0)\nBuild Type:\t\tUniprocessor Free\n
win7 Operating System:\tWindows Server 2008 R2 Standard (6.1.7601)\nService Pack:\t\tService Pack 1 (1.0)\nBuild Type:\t\tUniprocessor Free\n
win2008r2 Operating System:\tWindows 7 Ultimate N (6.1.7601)\nService Pack:\t\tService Pack 1 (1.0)\nBuild Type:\t\tUniprocessor Free\n
win8 Operating System:\tWindows 8 Ultimate N (6.2.9200)\nBuild Type:\t\tUniprocessor Free\n
win81 Operating System:\tWindows 8.1 Ultimate N (6.3.9600)\nBuild Type:\t\tUniprocessor Free\n
win10 Operating System:\tWindows 10 Ultimate N (10.0.18362)\nBuild Type:\t\tUniprocessor Free\n
EOF
