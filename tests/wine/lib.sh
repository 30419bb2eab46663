# shellcheck shell=bash
# Shared by the Wine tests; ctest sets RUNNER, EXE, EXE64, TABLE, FAKE_DLL, COLLECT and SYSREPORT_WINEPREFIX.
set -u
export LC_ALL=C # Wine's ANSI code page is then 1252
work=$(mktemp -d)
# A failed check is noted in a file: checks may run in a pipeline's subshell.
fail() {
  echo "FAIL: $*" >&2
  echo "$*" >>"$work/failures"
}
# At the end: the script's $cleanup, then PASS only after a normal end without a failed check.
end() {
  local code=$?
  eval "${cleanup:-}"
  [ ! -e "$work/failures" ] || code=1
  rm -rf "$work"
  [ "$code" != 0 ] || echo PASS
  exit "$code"
}
trap end EXIT
# run ARGS: the output as written in $work/raw (a file: Wine's services would hold a pipe open), without CRs and
# with the elapsed time as N in $work/out; the exit status in $status (124 when $limit seconds, if set, ran out).
run() {
  timeout "${limit:-0}" "$RUNNER" "$EXE" "$@" >"$work/raw" 2>"$work/err" </dev/null
  status=$?
  tr -d '\r' <"$work/raw" | sed -E 's/^Total time taken: [0-9]+ ms$/Total time taken: N ms/' >"$work/out"
}
# expect STATUS WHAT [FILE]: the exit status, every line ended by CR LF, the program's line on standard error equal to
# $said (none by default), and the output (or FILE) equal to stdin.
expect() {
  [ "$status" = "$1" ] || fail "$2: exit status $status, expected $1"
  if grep -qv $'\r$' "$work/raw" || [ -n "$(tail -c 1 "$work/raw")" ]; then fail "$2: a line not ended by CR LF"; fi
  local err
  err=$(grep '^sysreport:' "$work/err" | tr -d '\r')
  [ "$err" = "${said:-}" ] || fail "$2: standard error: \"$err\", expected \"${said:-}\""
  if ! diff - "${3:-$work/out}" >"$work/diff"; then
    fail "$2: output differs"
    cut -c 1-160 "$work/diff" | head -n 40 >&2
  fi
}
# The report of $work/out with the figures that move between runs as *.
mask() {
  sed -E 's/^(Current User|System Uptime|Current Time|(Free|Used) clusters|Space (free|used))( *:\t*).+/\1\4*/
    s/^\t\t\t.+ ago$/\t\t\t* ago/' "$work/out"
}
regedit() {
  cat >"$work/in.reg"
  "$RUNNER" regedit /s "$work/in.reg" </dev/null >/dev/null 2>&1
}
banner() {
  cat <<'EOF'

---------------------------------------------------------
 QUORVEL v1.01
 Copyright (C) 2026 The Quorvel developers
 Updates and error reports: https://quorvel.example.org/
---------------------------------------------------------

EOF
}
# The tests' own network, run inside `unshare -n -m -u` (pass it with declare -f): a veth pair, v0 with a MAC, two
# IPv4 and an IPv6 address and the default route, host name ws042, a resolv.conf and hosts bound over /etc's.
make_network() {
  set -e
  printf 'nameserver 192.0.2.53\nsearch corp.example.com\n' >"$work/resolv.conf"
  printf '127.0.0.1 localhost\n192.0.2.10 ws042.corp.example.com ws042\n' >"$work/hosts"
  sysctl -qw net.ipv6.conf.all.accept_dad=0 net.ipv6.conf.default.accept_dad=0
  ip link add v0 type veth peer name v1
  ip link set v0 address 02:11:22:33:44:55
  ip addr add 192.0.2.10/24 dev v0
  ip addr add 198.51.100.7/25 dev v0
  ip addr add 2001:db8:0:1::10/64 dev v0
  ip link set v0 up
  ip link set v1 up
  ip route add default via 192.0.2.1
  hostname ws042
  mount --bind "$work/resolv.conf" /etc/resolv.conf
  mount --bind "$work/hosts" /etc/hosts
  set +e
}
# The lines of v0 as -N prints them on that network.
described_adapter() {
  cat <<'EOF'
Adapter               : v0
Description           : v0
Type                  : Ethernet
Status                : Up
MAC Address           : 02-11-22-33-44-55
Speed                 : Unknown
IPv4 Address          : 192.0.2.10/24
IPv4 Address          : 198.51.100.7/25
IPv6 Address          : 2001:db8:0:1::10/64
IPv6 Address          : fe80::11:22ff:fe33:4455/64 (link-local)
Gateway               : 192.0.2.1
DNS Server            : 192.0.2.53
DNS Suffix            : corp.example.com
DHCP                  : Off
DHCP Server           : None
EOF
}
