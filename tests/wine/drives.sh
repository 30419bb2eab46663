#!/usr/bin/env bash
# The drive section over folders in /dev/shm: Q: with a label and serial of its own, an optical R: whose volume
# query fails (under Wine only a label too long for the program's buffer does that); the critical-error mode
# around the volume queries; and a whole -OSDU run that changes neither the registry nor a drive's files.
. "$(dirname "$0")/lib.sh"
volume=$(mktemp -d /dev/shm/sysreport-drives.XXXXXX)
drive_r() { printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Drives]\n"r:"=%s\n' "$1" | regedit; }
trap 'rm -rf "$volume" "$prefix/dosdevices/q:" "$prefix/dosdevices/r:"; drive_r -; restart_wine; rm -rf "$work"' EXIT
mkdir -p "$volume/q/folder" "$volume/r" && printf 'data\r\n' >"$volume/q/folder/file.txt"
printf REPORTVOL >"$volume/q/.windows-label" && printf 0012abcd >"$volume/q/.windows-serial"
printf '%0200d' 0 >"$volume/r/.windows-label" && drive_r '"cdrom"'
ln -s "$volume/q" "$prefix/dosdevices/q:" && ln -s "$volume/r" "$prefix/dosdevices/r:" && restart_wine

# Linux's own count of the tmpfs's 4 KiB blocks; again if it moved meanwhile.
for try in 1 2 3; do
  before=$(stat -f -c '%b %f' "$volume") && run -S && [ "$(stat -f -c '%b %f' "$volume")" = "$before" ] && break
done
read -r total free <<<"$before"
sed -n '/^Drive Q$/,/^Drive Z$/p' "$work/out" >"$work/q"
printf 'Drive Q\n=======\n\nType                  : Hard Drive\nVolume Label          : REPORTVOL
Volume Serial         : 12ABCD\nFile System           : NTFS\n\nClusters\n--------\n
Sectors per cluster   : 8\nBytes per sector      : 512\nFree clusters         : %s
Used clusters         : %s\nTotal clusters        : %s\n\nStorage Space\n-------------\n
Space free            : %s KB\nSpace used            : %s KB\nTotal space           : %s KB\n\n\n
=======\nDrive R\n=======\n\nNo media present (Optical Drive)\n\n\n=======\nDrive Z\n' "$free" $((total - free)) \
  "$total" $((free * 4)) $(((total - free) * 4)) $((total * 4)) | expect 0 "-S, drives Q and R" "$work/q"

# Wine shows the error mode only in a relay trace.
WINEDEBUG=+relay run -S
grep -oE 'Call KERNEL32\.(SetErrorMode\([0-9a-f]+\)|GetVolumeInformationA)' "$work/err" |
  sed -E 's/\(0*([0-9a-f])/(\1/' | uniq >"$work/calls"
printf 'Call KERNEL32.%s\n' 'SetErrorMode(1)' GetVolumeInformationA 'SetErrorMode(0)' | expect 0 "error mode" "$work/calls"

# Wine writes the registry files when its server ends. The first program after the server starts renews key time
# stamps and the display class's DriverDateData: another program starts it here.
snapshot() {
  restart_wine
  (cd "$prefix" && sed -E 's/^(\[.*\]) [0-9]+$/\1/; /^#time=|^"DriverDateData"=/d' system.reg user.reg userdef.reg)
  (cd "$volume" && find . -printf '%p %s %T@ %m\n' | sort && find . -type f -exec cat {} +)
}
"$RUNNER" reg query 'HKCU\Software' >/dev/null 2>&1 </dev/null
snapshot >"$work/before"
run -OSDU; snapshot | expect 0 "the registry and drives Q and R after -OSDU" "$work/before"
finish
