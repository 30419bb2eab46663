#!/usr/bin/env bash
# -N on a network of its own (network, mount, UTS namespaces; Wine started inside, where its network driver runs): a
# veth pair with a MAC, addresses, a default route, resolv.conf and hosts; 205 adapters in all, one named outside code
# page 1252, one with 60 addresses. The others against `ip -j addr`, the boot time against the kernel's.
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"
if [ "$(id -u)" != 0 ] || ! unshare -n -m -u true 2>/dev/null; then
  echo "SKIP: no network namespace can be made here (it takes root)"
  exit 77
fi
logonui='HKLM\Software\Microsoft\Windows\CurrentVersion\Authentication\LogonUI'
winlogon='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Winlogon'

# Runs in the namespaces: the network, then the program (-N with LogonUI's last user, then with Winlogon's).
inside() {
  make_network
  set -e
  ip link add 'vΩé' type veth peer name v2
  for i in $(seq 3 2 201); do echo "link add v$i type veth peer name v$((i + 1))"; done | ip -batch -
  for i in $(seq 1 60); do echo "addr add 203.0.113.$i/24 dev v1"; done | ip -batch -
  set +e
  # Wine reads the names of Linux's interfaces in the Unix locale's character set.
  export LC_ALL=C.UTF-8
  "$RUNNER" --stop
  "$RUNNER" reg add 'HKCU\Software\Wine' /v Version /d win10 /f </dev/null >/dev/null 2>&1
  "$RUNNER" reg add "$logonui" /v LastLoggedOnUser /d 'CORP\alice' /f </dev/null >/dev/null 2>&1
  "$RUNNER" "$EXE" -N </dev/null >"$work/raw" 2>"$work/err"
  echo $? >"$work/status"
  ip -j addr >"$work/addr.json"
  "$RUNNER" reg delete "$logonui" /v LastLoggedOnUser /f </dev/null >/dev/null 2>&1
  "$RUNNER" reg add "$winlogon" /v DefaultUserName /d bob /f </dev/null >/dev/null 2>&1
  "$RUNNER" reg add "$winlogon" /v DefaultDomainName /d CORP /f </dev/null >/dev/null 2>&1
  "$RUNNER" "$EXE" -N </dev/null >"$work/raw2" 2>/dev/null
  # XP lists no gateways: asked as XP, Wine's longer structures must not read as "none".
  "$RUNNER" reg add 'HKCU\Software\Wine' /v Version /d winxp /f </dev/null >/dev/null 2>&1
  "$RUNNER" "$EXE" -N </dev/null >"$work/raw3" 2>/dev/null
  "$RUNNER" --stop
}
export work RUNNER EXE logonui winlogon
unshare -n -m -u bash -c "$(declare -f make_network inside); inside" || fail "the namespace's network could not be made"
status=$(cat "$work/status")
tr -d '\r' <"$work/raw" | sed -E 's/^Total time taken: [0-9]+ ms$/Total time taken: N ms/' >"$work/out"

# The boot time against the kernel's, within 2 seconds.
boot=$(sed -n 's/^Boot Time *: //p' "$work/out")
btime=$(awk '/^btime / { print $2 }' /proc/stat)
seconds=$(date -u -d "$boot" +%s) || seconds=0
((seconds - btime <= 2 && btime - seconds <= 2)) || fail "boot time \"$boot\", not $(date -u -d "@$btime" +%FT%T)"
sed -i 's/^\(Boot Time *: \).*/\1*/' "$work/out"

# The adapters the test did not describe as ip tells them, in its order: at most 50 addresses of a family, at most 200
# list entries, the loopback left out; names in code page 1252, '?' for what it lacks.
python3 - "$work/addr.json" >"$work/adapters" <<'EOF' || fail "ip -j addr not read"
import json, sys
for link in json.load(open(sys.argv[1]))[:200]:
    if link["ifname"] in ("lo", "v0"):
        continue
    name = link["ifname"].encode("cp1252", "replace").decode("cp1252")
    status = "Up" if link["operstate"] == "UP" else "Down"
    lines = [("Adapter", name), ("Description", name), ("Type", "Ethernet"), ("Status", status),
             ("MAC Address", link["address"].upper().replace(":", "-")), ("Speed", "Unknown")]
    for family, label in (("inet", "IPv4 Address"), ("inet6", "IPv6 Address")):
        addresses = [a for a in link["addr_info"] if a["family"] == family][:50]
        for a in addresses:
            lines.append((label, "%s/%d%s" % (a["local"], a["prefixlen"], " (link-local)" * (a["scope"] == "link"))))
        if not addresses:
            lines.append((label, "None"))
    lines += [("Gateway", "None"), ("DNS Server", "192.0.2.53"), ("DNS Suffix", "corp.example.com"), ("DHCP", "Off"),
              ("DHCP Server", "None")]
    print("".join("%-22s: %s\n" % line for line in lines))
EOF
{
  banner
  cat <<'EOF'

*******************
Network Information
*******************

Identity
--------

Computer Name         : WS042
DNS Host Name         : ws042
DNS Domain            : corp.example.com
Domain                : Workgroup
Join State            : Workgroup
Role                  : Standalone Workstation
Time Zone             : Greenwich Standard Time
UTC Offset            : +00:00
Boot Time             : *
Last User             : CORP\alice
Code Page             : 1252
System Locale         : en-US (0409)

Adapters
--------

EOF
  sed -n '1,/^$/p' "$work/adapters"
  described_adapter
  echo
  sed '1,/^$/d' "$work/adapters"
  echo "Total time taken: N ms"
} | iconv -f utf-8 -t cp1252 | expect 0 "-N on the test's network"
grep -q $'^Adapter               : v?\xe9$' "$work/out" || fail "the name outside code page 1252"
grep -q $'^Last User             : CORP\\\\bob\r$' "$work/raw2" || fail "Winlogon's last user"
grep -q $'^Gateway               : Unknown\r$' "$work/raw3" || fail "XP: gateways not Unknown"
# A network of nothing but the loopback.
# shellcheck disable=SC2016 # expanded by the inner shell
unshare -n bash -c '"$RUNNER" --stop; "$RUNNER" "$EXE" -N; "$RUNNER" --stop' </dev/null >"$work/raw4" 2>/dev/null
grep -qx $'Adapter               : None\r' "$work/raw4" || fail "the loopback alone: not \"Adapter : None\""
