#!/usr/bin/env bash
# The drive section against a folder mapped to a letter, with its label and
# serial given by .windows-label and .windows-serial. The folder lies in
# /dev/shm, whose figures do not move during the test, so every figure is
# compared exactly with what the probe asks Wine for.
. "$(dirname "$0")/lib.sh"

prefix="${SYSREPORT_WINEPREFIX:?}"
volume=$(mktemp -d /dev/shm/sysreport-drive.XXXXXX)
trap 'rm -rf "$work" "$volume"; rm -f "$prefix/dosdevices/q:"' EXIT
printf 'REPORTVOL' >"$volume/.windows-label"
printf '0012abcd' >"$volume/.windows-serial"
rm -f "$prefix/dosdevices/q:"
ln -s "$volume" "$prefix/dosdevices/q:"

probe drive Q
[ "$(fact serial)" = "12ABCD" ] || fail "the probe does not see the mapped serial: $(fact serial)"

run -S
expect_status 0 "-S"
expect_crlf "-S"

expect_drive_block Q REPORTVOL 12ABCD

# The section starts with its heading right after the banner.
{ banner; heading "Drive Information"; } >"$work/head.txt"
head -c "$(wc -c <"$work/head.txt")" "$work/out" | cmp -s - "$work/head.txt" || fail "section heading"

finish
