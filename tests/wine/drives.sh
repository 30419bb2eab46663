#!/usr/bin/env bash
# Drives Q: (own label and serial) and R: (a failed volume query: under Wine only a label too long for the buffer
# does that) in /dev/shm; the error mode around the queries; a -OSDU run changing neither registry nor drive files.
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"
v=$(mktemp -d /dev/shm/sysreport-drives.XXXXXX)
mkdir -p "$v/q/folder" "$v/r"
printf 'data\r\n' >"$v/q/folder/f"
printf REPORTVOL >"$v/q/.windows-label"
printf 0012abcd >"$v/q/.windows-serial"
printf '%0200d' 0 >"$v/r/.windows-label"
# shellcheck disable=SC2016 # expanded when the script ends
cleanup='rm -rf "$v" "$SYSREPORT_WINEPREFIX/dosdevices/"[qr]:; "$RUNNER" --stop'
# The mount manager reads dosdevices only when the prefix's services start (--start: the prefix exists).
"$RUNNER" --start
ln -sfn "$v/q" "$SYSREPORT_WINEPREFIX/dosdevices/q:"
ln -sfn "$v/r" "$SYSREPORT_WINEPREFIX/dosdevices/r:"
"$RUNNER" --stop

# Linux's own count of the tmpfs's 4 KiB blocks, again if it moved meanwhile.
for _ in 1 2 3; do
  before=$(stat -f -c '%b %f' "$v")
  run -S
  [ "$(stat -f -c '%b %f' "$v")" != "$before" ] || break
done
read -r total free <<<"$before"
grep -A4 -x 'Drive C' "$work/out" | grep -qx 'Volume Label          : (No Label)' || fail "C: has no label"
used=$((total - free))
sed -n '/^Drive Q$/,/^Drive Z$/p' "$work/out" >"$work/q"
expect 0 "-S, drives Q and R" "$work/q" <<EOF
Drive Q
=======

Type                  : Hard Drive
Volume Label          : REPORTVOL
Volume Serial         : 12ABCD
File System           : NTFS

Clusters
--------

Sectors per cluster   : 8
Bytes per sector      : 512
Free clusters         : $free
Used clusters         : $used
Total clusters        : $total

Storage Space
-------------

Space free            : $((free * 4)) KB
Space used            : $((used * 4)) KB
Total space           : $((total * 4)) KB



=======
Drive R
=======

No media present (Hard Drive)


=======
Drive Z
EOF

# Wine shows the error mode only in a relay trace.
WINEDEBUG=+relay run -S
grep -oE 'Call KERNEL32\.(SetErrorMode\([0-9a-f]+\)|GetVolumeInformationA)' "$work/err" |
  sed -E 's/\(0*([0-9a-f])/(\1/' | uniq >"$work/calls"
printf 'Call KERNEL32.%s\n' 'SetErrorMode(1)' GetVolumeInformationA 'SetErrorMode(0)' |
  expect 0 "error mode" "$work/calls"

# Wine writes the registry files when its server ends. The first program after the server starts renews key time
# stamps and the display class's DriverDateData: another program starts it here.
snapshot() {
  "$RUNNER" --stop
  (cd "$SYSREPORT_WINEPREFIX" && sed -E 's/^(\[.*\]) [0-9]+$/\1/; /^#time=|^"DriverDateData"=/d' ./*.reg)
  cd "$v" || return
  find . -printf '%p %s %T@ %m\n' | sort
  find . -type f -exec cat {} +
}
"$RUNNER" reg query 'HKCU\Software' >/dev/null 2>&1 </dev/null
snapshot >"$work/before"
run -OSDU
snapshot | expect 0 "the registry and drives Q and R after -OSDU" "$work/before"
