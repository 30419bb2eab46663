#!/usr/bin/env bash
# The program only reads: the prefix's registry files and a mapped drive's
# tree are the same before and after a full -OSDU run. Wine writes the
# registry files when its server ends, so the server is ended (and waited
# for) before each look; a first run settles whatever Wine itself updates.
. "$(dirname "$0")/lib.sh"

prefix="${SYSREPORT_WINEPREFIX:?}"
volume=$(mktemp -d /dev/shm/sysreport-ro.XXXXXX)
trap 'rm -rf "$work" "$volume"; rm -f "$prefix/dosdevices/r:"' EXIT
mkdir -p "$volume/folder"
printf 'data\r\n' >"$volume/folder/file.txt"
printf 'RO' >"$volume/.windows-label"
printf '00c0ffee' >"$volume/.windows-serial"
rm -f "$prefix/dosdevices/r:"
ln -s "$volume" "$prefix/dosdevices/r:"

settle() {
  WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1
  WINEPREFIX="$prefix" wineserver -w >/dev/null 2>&1
}

snapshot() {
  (cd "$prefix" && sha256sum system.reg user.reg userdef.reg)
  (cd "$volume" && find . -printf '%p %s %T@ %m\n' | sort && find . -type f -exec sha256sum {} + | sort)
}

run -OSDU
expect_status 0 "first run"
settle
snapshot >"$work/before"

run -OSDU
expect_status 0 "-OSDU"
grep -q '^Drive R$' "$work/out" || fail "the mapped drive was not reported"
settle
snapshot >"$work/after"

cmp -s "$work/before" "$work/after" || { fail "something changed"; diff "$work/before" "$work/after" >&2; }

finish
