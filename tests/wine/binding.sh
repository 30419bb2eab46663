#!/usr/bin/env bash
# The run-time binding of the real program under Wine. With netapi32, setupapi
# and cfgmgr32 switched off the program must still start and run every
# section: OS and drives as usual, the devices heading with the computer name
# alone, "NUE() returned 127" (ERROR_PROC_NOT_FOUND) for the users, and the
# elapsed time, status 0. A netapi32.dll without NetUserEnum beside the
# program gives the same users section.
. "$(dirname "$0")/lib.sh"
: "${STUB_NETAPI32:?}"

prefix="${SYSREPORT_WINEPREFIX:?}"
switched_off="mscoree,mshtml=;netapi32,setupapi,cfgmgr32=d"

# The stub is what the second half needs: NetApiBufferFree alone, no imports.
stub_table=$(i686-w64-mingw32-objdump -p "$STUB_NETAPI32")
stub_exports=$(echo "$stub_table" | awk '/\[Ordinal\/Name Pointer\] Table/ { on = 1; next } on && /^\t\[/ { print $NF }')
[ "$stub_exports" = NetApiBufferFree ] || fail "the stub exports [$(echo $stub_exports)], not NetApiBufferFree alone"
echo "$stub_table" | grep -q 'DLL Name:' && fail "the stub imports a DLL"

# A folder mapped to drive P with a fixed label and serial: its block is
# compared in full with what the probe asks Wine for.
volume=$(mktemp -d /dev/shm/sysreport-binding.XXXXXX)
trap 'rm -rf "$work" "$volume"; rm -f "$prefix/dosdevices/p:"' EXIT
printf 'BOUNDVOL' >"$volume/.windows-label"
printf '00b0b0b0' >"$volume/.windows-serial"
rm -f "$prefix/dosdevices/p:"
ln -s "$volume" "$prefix/dosdevices/p:"

probe computer
computer=$(fact computer)
[ -n "$computer" ] || fail "the probe found no computer name"
probe drive P
[ "$(fact serial)" = B0B0B0 ] || fail "the probe does not see the mapped serial: $(fact serial)"

# The elapsed time varies from run to run.
steady() { sed -E 's/^Total time taken: [0-9]+ ms$/Total time taken: N ms/' "$work/out"; }

# The OS section, up to the next heading's row of asterisks, without the
# lines that move with the clock.
os_section() {
  awk '/^Operating System Information$/ { on = 1; own_row = 1; print; next }
       on && /^\*+$/ { if (own_row) own_row = 0; else exit }
       on' "$work/out" |
    grep -vE '^(System Uptime|Current Time|Install Time):'
}

# First as Wine comes: the users section is then not the one the binding
# gives when netapi32 is missing, so the runs below prove something.
run -OU
expect_status 0 "-OU as Wine comes"
os_section >"$work/os.usual"
[ -s "$work/os.usual" ] || fail "no OS section as Wine comes"
grep -qx 'NUE() returned 127' "$work/out" && fail "NetUserEnum is missing even as Wine comes"

WINEDLLOVERRIDES="$switched_off" run -OSDU
expect_status 0 "-OSDU switched off"
expect_crlf "-OSDU switched off"

{ banner; heading "Operating System Information"; printf 'Current User:\t\t'; } >"$work/head.txt"
head -c "$(wc -c <"$work/head.txt")" "$work/out" | cmp -s - "$work/head.txt" || fail "OS section start"
os_section | cmp -s - "$work/os.usual" || { fail "OS section"; os_section | diff "$work/os.usual" - >&2; }

# Drive P in full, space figures included: GetDiskFreeSpaceExA is found in
# kernel32 at run time.
expect_drive_block P BOUNDVOL B0B0B0
grep -qx 'Drive Information' "$work/out" || fail "no drive section heading"

# From the devices heading to the end, exactly.
{
  heading "Devices"
  printf '%s\n' "$computer"
  heading "User Accounts"
  printf 'NUE() returned 127\n\nTotal time taken: N ms\n'
} >"$work/tail.expected"
steady | tail -c "$(wc -c <"$work/tail.expected")" | cmp -s - "$work/tail.expected" ||
  { fail "devices and users sections switched off"; steady | tail -n 12 | diff "$work/tail.expected" - >&2; }
[ "$(grep -c '^Devices$' "$work/out")" -eq 1 ] || fail "the devices heading is not there once"

# A netapi32.dll of its own beside a copy of the program, chosen over Wine's.
app="$work/app"
mkdir -p "$app"
cp "$EXE" "$app/sysreport.exe"
cp "$STUB_NETAPI32" "$app/netapi32.dll"
EXE="$app/sysreport.exe" WINEDLLOVERRIDES="mscoree,mshtml=;netapi32=n" run -U
expect_status 0 "-U with the stub"
expect_crlf "-U with the stub"
{ banner; heading "User Accounts"; printf 'NUE() returned 127\n\nTotal time taken: N ms\n'; } >"$work/stub.expected"
steady | cmp -s - "$work/stub.expected" || { fail "-U with the stub"; steady | diff "$work/stub.expected" - >&2; }

finish
