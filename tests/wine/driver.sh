#!/usr/bin/env bash
# The command line: endings and what each says on standard error, repeated letters, wildcard expansion, a report that
# cannot be written; ./run.sh as a user runs it.
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"
usage() {
  cat <<'EOF'
Usage: [-<switch options>]

The following switch options can be combined:

-D Device information
-H Hardware information
-N Network information
-O OS information
-P Programs and updates
-S Storage Media information
-U Users (NT 4.0 and later)


EOF
}
said="sysreport: no switch given"
run
{
  banner
  usage
} >"$work/usage"
expect 1 "no argument" <"$work/usage"
run -
expect 1 "a lone -" <"$work/usage"
said=""

# -SX: the drive section as -S prints it, then the unknown switch and the usage text, no elapsed time.
run -S
mask | head -n -2 >"$work/drives"
run -SX
mask >"$work/masked"
said="sysreport: unknown switch - X; the letters are D, H, N, O, P, S and U, in one argument"
{
  cat "$work/drives"
  printf 'Unknown switch - X\n\n'
  usage
} | expect 1 "-SX" "$work/masked"
said=""

# D, H, N, O and P run once, S and U at each letter, in the order of the letters.
run -DHNODOPSUHNPSU
grep -xE 'Devices|(Hardware|Network|Operating System|Drive) Information|Programs and Updates|User Accounts' \
  "$work/out" >"$work/headings"
printf '%s\n' Devices "Hardware Information" "Network Information" "Operating System Information" \
  "Programs and Updates" "Drive Information" "User Accounts" "Drive Information" "User Accounts" |
  expect 0 "-DHNODOPSUHNPSU" "$work/headings"

mkdir "$work/glob"
touch "$work/glob/-S"
(cd "$work/glob" && run '-?')
grep -qx 'Drive Information' "$work/out" || fail "-? beside a file -S did not run the drive report"

# A report that cannot be written ends with status 2 and that line on standard error, with Windows' (Wine's) reason.
"$RUNNER" "$EXE" -OSDU </dev/null >/dev/full 2>"$work/err"
got="$?:$(grep -v '^wine: ' "$work/err" | tr -d '\r')"
[ "$got" = "2:sysreport: the report could not be written: Disk full." ] || fail "to a full disk: $got"

# Wine's class enumeration lists nothing: the devices come from its class list, the same as its device registry holds.
run -D
sed -n 's/^\.\.\.//p' "$work/out" | sort >"$work/devices"
"$RUNNER" reg query 'HKLM\System\CurrentControlSet\Enum' /s /v DeviceDesc </dev/null 2>/dev/null |
  sed -n 's/^ *DeviceDesc *REG_SZ *//p' | tr -d '\r' | sort | expect 0 "-D, Wine's own devices" "$work/devices"

# ./run.sh /S: the report alone on standard output (the banner and the elapsed time: no switch, status 0), and no Wine
# process of its prefix left behind.
top=$(cd "$(dirname "$0")/../.." && pwd)
SYSREPORT_WINE=$SYSREPORT_BITS "$top/run.sh" /S </dev/null >"$work/raw" 2>"$work/err"
# shellcheck disable=SC2034 # read by expect
status=$?
tr -d '\r' <"$work/raw" | sed -E 's/^Total time taken: [0-9]+ ms$/Total time taken: N ms/' >"$work/out"
{
  banner
  printf '\nTotal time taken: N ms\n'
} | expect 0 "./run.sh /S"
if grep -qzxF "WINEPREFIX=$top/build/mingw${SYSREPORT_BITS#32}/wineprefix" /proc/[0-9]*/environ 2>/dev/null; then
  fail "a Wine process of run.sh's prefix is still running"
fi
