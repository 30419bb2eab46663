#!/usr/bin/env bash
# The operating-system section under Wine's version presets and under NT
# versions that Wine reads from the registry. The expected name, edition and
# numbers are worked out here from what the probe's GetVersionExA returns in
# the same prefix.
. "$(dirname "$0")/lib.sh"

nt_key='HKLM\Software\Microsoft\Windows NT\CurrentVersion'
options_key='HKLM\System\CurrentControlSet\Control\ProductOptions'
hotfix_key="$nt_key\\Hotfix\\Q246009"

wine_reg add "$nt_key" /v RegisteredOwner /d "Test Owner"
wine_reg add "$nt_key" /v RegisteredOrganization /d "Test Org"
wine_reg add "$nt_key" /v InstallDate /t REG_DWORD /d 1000000000

# The name and edition for the probe's facts, from the naming tables.
expected_name() {
  local platform major minor csd product suite
  platform=$(fact platform) major=$(fact major) minor=$(fact minor) csd=$(fact csd)
  product=$(fact product) suite=$(fact suite)
  name="" edition=""
  if [ "$platform" = 1 ] && [ "$major" = 4 ]; then
    case "$minor" in
      0) name="Windows 95"; case "${csd:1:1}" in B|C) edition="OSR2";; esac ;;
      10) name="Windows 98"; [ "${csd:1:1}" = A ] && edition="SE" ;;
      90) name="Windows Millennium Edition" ;;
    esac
  elif [ "$platform" = 2 ]; then
    case "$major.$minor" in
      5.2) name="Windows Server 2003 family" ;;
      5.1) name="Windows XP" ;;
      5.0) name="Windows 2000" ;;
      *) [ "$major" -le 4 ] && name="Windows NT" ;;
    esac
    if [ "$(fact ex)" = 1 ]; then
      if [ "$product" = 1 ]; then
        if [ "$major" = 4 ]; then edition="Workstation 4.0"
        elif (( suite & 0x200 )); then edition="Home Edition"
        else edition="Professional"; fi
      elif [ "$product" = 3 ]; then
        if [ "$major.$minor" = 5.2 ]; then
          if (( suite & 0x80 )); then edition="Datacenter Edition"
          elif (( suite & 0x2 )); then edition="Enterprise Edition"
          elif [ "$suite" = 1024 ]; then edition="Web Edition"
          else edition="Standard Edition"; fi
        elif [ "$major.$minor" = 5.0 ]; then
          if (( suite & 0x80 )); then edition="Datacenter Edition"
          elif (( suite & 0x2 )); then edition="Advanced Server"
          else edition="Server"; fi
        elif (( suite & 0x2 )); then edition="Server 4.0, Enterprise Edition"
        else edition="Server 4.0"; fi
      fi
    fi
  fi
}

# check_section CASE [HOTFIX]: runs -O and compares every line Wine fixes.
check_section() {
  local label=$1 hotfix=${2:-no}
  probe version
  [ -s "$work/probe" ] || { fail "probe gave nothing ($label)"; return; }
  expected_name
  run -O
  expect_status 0 "$label"
  expect_crlf "$label"
  local nt=0
  [ "$(fact platform)" = 2 ] && nt=1
  expect_line "$(printf 'Operating System:\t%s %s (%s.%s.%s)' "$name" "$edition" "$(fact major)" "$(fact minor)" "$(fact build)")" "$label"
  if [ "$nt" = 1 ] && [ "$(fact spmajor)" != 0 ]; then
    local sp
    sp=$(fact csd)
    if [ "$(fact major)" = 4 ] && [ "${sp,,}" = "service pack 6" ] && [ "$hotfix" = yes ]; then sp="Service Pack 6a"; fi
    expect_line "$(printf 'Service Pack:\t\t%s (%s.%s)' "$sp" "$(fact spmajor)" "$(fact spminor)")" "$label"
  else
    grep -q '^Service Pack:' "$work/out" && fail "Service Pack line ($label)"
  fi
  if [ "$nt" = 1 ]; then
    grep -q $'^Build Type:\t\t' "$work/out" || fail "no Build Type line ($label)"
    expect_line $'Reg Name:\t\tTest Owner' "$label"
    expect_line $'Reg Org.:\t\tTest Org' "$label"
    expect_line $'Install Time:\t\tSun Sep 09 01:46:40 2001' "$label"
  else
    grep -q '^Build Type:' "$work/out" && fail "Build Type line on 9x ($label)"
    expect_line $'Reg Name:\t\t' "$label"
    expect_line $'Install Time:\t\tThu Jan 01 00:00:00 1970' "$label"
  fi
  grep -qE $'^Current Time:\t\t[A-Z][a-z]{2} [A-Z][a-z]{2} [0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2} [0-9]{4}$' "$work/out" ||
    fail "Current Time line ($label)"
  grep -qE $'^System Uptime:\t\t[0-9]' "$work/out" || fail "System Uptime line ($label)"
  # Heading straight after the banner, nothing between it and the first line.
  { banner; heading "Operating System Information"; printf 'Current User:\t\t'; } >"$work/head.txt"
  head -c "$(wc -c <"$work/head.txt")" "$work/out" | cmp -s - "$work/head.txt" || fail "section start ($label)"
}

for preset in win95 win98 winme nt40 win2k winxp win2003; do
  wine_reg add 'HKCU\Software\Wine' /v Version /d "$preset"
  check_section "$preset"
done
wine_reg delete 'HKCU\Software\Wine' /v Version
check_section "default"

# No preset: Wine takes the NT version from the registry.
wine_reg add "$nt_key" /v CurrentVersion /d 4.0
wine_reg add "$nt_key" /v CurrentBuildNumber /d 1381
wine_reg add "$nt_key" /v CSDVersion /d "service pack 6"
wine_reg add "$options_key" /v ProductType /d WinNT
check_section "NT 4.0 SP6 without Q246009"
wine_reg add "$hotfix_key"
check_section "NT 4.0 SP6 with Q246009" yes
wine_reg delete "$hotfix_key"

wine_reg add "$nt_key" /v CurrentVersion /d 5.0
wine_reg add "$nt_key" /v CurrentBuildNumber /d 2195
wine_reg add "$nt_key" /v CSDVersion /d "Service Pack 4"
for type in ServerNT LanmanNT WinNT; do
  wine_reg add "$options_key" /v ProductType /d "$type"
  check_section "5.0 $type"
done

finish
