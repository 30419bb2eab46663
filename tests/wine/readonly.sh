#!/usr/bin/env bash
# A whole -OSDU run changes neither the registry files nor a mapped drive.
. "$(dirname "$0")/lib.sh"
volume=$(mktemp -d /dev/shm/sysreport-readonly.XXXXXX)
trap 'rm -rf "$volume"; rm -f "$prefix/dosdevices/p:"; restart_wine; rm -rf "$work"' EXIT
mkdir "$volume/folder" && printf 'data\r\n' >"$volume/folder/file.txt" && printf RO >"$volume/.windows-label"
ln -sfn "$volume" "$prefix/dosdevices/p:"

# Wine writes the files when its server ends. The first program after the
# server starts renews key time stamps and the display class's DriverDateData.
snapshot() {
  restart_wine
  (cd "$prefix" && sed -E 's/^(\[.*\]) [0-9]+$/\1/; /^#time=|^"DriverDateData"=/d' system.reg user.reg userdef.reg)
  (cd "$volume" && find . -printf '%p %s %T@ %m\n' | sort && find . -type f -exec cat {} +)
}
restart_wine && "$RUNNER" reg query 'HKCU\Software' >/dev/null 2>&1 </dev/null
snapshot >"$work/before"
run -OSDU
grep -qx 'Drive P' "$work/out" || fail "-OSDU did not report drive P"
snapshot | expect 0 "the registry and drive P after -OSDU" "$work/before"
finish
