#!/usr/bin/env bash
# The OS section under Wine's version presets, and under an NT 4.0 that Wine
# reads from the registry, with the registry facts the program prints.
. "$(dirname "$0")/lib.sh"
# The facts first: the presets' Build Type lines show CurrentType too.
regedit <<'EOF'
REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion]
"RegisteredOwner"="Test Owner"
"RegisteredOrganization"=-
"ProductId"="11111-OEM-2222222-33333"
"SystemRoot"="D:\\WINNT"
"CurrentType"="Multiprocessor Checked"
"InstallDate"=dword:3b9aca00
"CurrentVersion"="4.0"
"CurrentBuildNumber"="1381"
"CSDVersion"="Service Pack 6"
"CurrentMajorVersionNumber"=-
"CurrentMinorVersionNumber"=-

[-HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\Hotfix\Q246009]

[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\ProductOptions]
"ProductType"="WinNT"

[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Windows]
"CSDVersion"=dword:00000600
EOF
wine_version() { printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine]\n"Version"=%s\n' "$1" | regedit; }

while read -r version expected; do
  wine_version "\"$version\""
  run -O
  grep -E '^(Operating System|Service Pack|Build Type):' "$work/out" >"$work/lines"
  printf "$expected" | expect 0 "$version" "$work/lines"
done <<'EOF'
win95 Operating System:\tWindows 95  (4.0.950)\n
win98 Operating System:\tWindows 98 SE (4.10.2222)\n
winme Operating System:\tWindows Millennium Edition  (4.90.3000)\n
nt40 Operating System:\tWindows NT Workstation 4.0 (4.0.1381)\nService Pack:\t\tService Pack 6a (6.0)\nBuild Type:\t\tMultiprocessor Checked\n
win2k Operating System:\tWindows 2000 Professional (5.0.2195)\nService Pack:\t\tService Pack 4 (4.0)\nBuild Type:\t\tMultiprocessor Checked\n
winxp Operating System:\tWindows XP Professional (5.1.2600)\nService Pack:\t\tService Pack 3 (3.0)\nBuild Type:\t\tMultiprocessor Checked\n
win2003 Operating System:\tWindows Server 2003 family Standard Edition (5.2.3790)\nService Pack:\t\tService Pack 2 (2.0)\nBuild Type:\t\tMultiprocessor Checked\n
EOF

# No preset: the NT 4.0 of the registry. Lines that move with the clock masked.
mask() { sed -Ei 's/^(Current User|System Uptime|Current Time):(\t+).+/\1:\2*/; s/^\t\t\t.+ ago$/\t\t\t* ago/' "$work/out"; }
wine_version -
run -O; mask
{ banner; printf '\n****************************\nOperating System Information\n****************************\n\n'
  printf 'Reg Error XR1\nCurrent User:\t\t*\nSystem Uptime:\t\t*\nOperating System:\tWindows NT Workstation 4.0 (4.0.1381)\n'
  printf 'Service Pack:\t\tService Pack 6 (6.0)\nBuild Type:\t\tMultiprocessor Checked\nReg Name:\t\tTest Owner\nReg Org.:\t\t\n'
  printf 'Product ID:\t\t11111-OEM-2222222-33333\nSystem Root:\t\tD:\\WINNT\n\nCurrent Time:\t\t*\n'
  printf 'Install Time:\t\tSun Sep 09 01:46:40 2001\n\t\t\t* ago\n\nTotal time taken: N ms\n'; } | expect 0 "NT 4.0 from the registry"

# Service Pack 6a leaves the key of hotfix Q246009; an install time before
# 1970 has no text.
regedit <<'EOF'
REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\Hotfix\Q246009]

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion]
"InstallDate"=dword:ffffffff
EOF
run -O; mask
grep -E '^(Service Pack|Install Time):|ago$' "$work/out" >"$work/lines"
printf 'Service Pack:\t\tService Pack 6a (6.0)\nInstall Time:\t\tUnknown\n\t\t\t* ago\n' | expect 0 "6a, install time before 1970" "$work/lines"
finish
