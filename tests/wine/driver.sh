#!/usr/bin/env bash
# The command line: endings and what each says on standard error, repeated letters, wildcard expansion, a report that
# cannot be written.
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"
usage_text() {
  cat <<'EOF'
Usage: [-<switch options>]

The following switch options can be combined:

-D Device information
-O OS information
-S Storage Media information
-U Users (2000/XP/2003 only)


EOF
}
# usage [MESSAGE]: the banner, the message, the usage text.
usage() {
  banner
  printf '%s' "${1:-}"
  usage_text
}
said="sysreport: no switch given"
run
usage | expect 1 "no argument"
run -
usage | expect 1 "a lone -"
said="sysreport: unknown switch - o; the letters are D, O, S and U, in one argument"
run -osdu
usage $'Unknown switch - o\n\n' | expect 1 "-osdu"
said=""
run /S
{
  banner
  printf '\nTotal time taken: N ms\n'
} | expect 0 "/S"

# -SX: the drive section as -S prints it (free space moves: digits masked), then the unknown switch, no elapsed time.
run -S
sed -E 's/[0-9]+/N/g' "$work/out" | head -n -2 >"$work/drives"
run -SX
sed -Ei 's/[0-9]+/N/g' "$work/out"
said="sysreport: unknown switch - X; the letters are D, O, S and U, in one argument"
{
  cat "$work/drives"
  printf 'Unknown switch - X\n\n'
  usage_text
} | sed -E 's/[0-9]+/N/g' | expect 1 "-SX"
said=""

while read -r switches count heading; do
  run "$switches"
  [ "$(grep -cx "$heading" "$work/out")" = "$count" ] || fail "$switches: \"$heading\" not $count times"
done <<'EOF'
-DD 1 Devices
-OO 1 Operating System Information
-SS 2 Drive Information
-UU 2 User Accounts
EOF

mkdir "$work/glob"
touch "$work/glob/-S"
(cd "$work/glob" && run '-?')
grep -qx 'Drive Information' "$work/out" || fail "-? beside a file -S did not run the drive report"

# A report that cannot be written ends with status 2 and only that line on standard error, beside Wine's own lines.
unwritten() {
  [ "$1" = 2 ] || fail "$3: exit status $1, expected 2"
  grep -v '^wine: ' "$work/err" | tr -d '\r' >"$work/said"
  echo "sysreport: the report could not be written: $2" | diff - "$work/said" >&2 || fail "$3: standard error"
}
"$RUNNER" "$EXE" -OSDU </dev/null >/dev/full 2>"$work/err"
unwritten $? "No space left on device" "-OSDU to a full disk"
"$RUNNER" "$EXE" -x </dev/null >/dev/full 2>"$work/err"
unwritten $? "No space left on device" "-x to a full disk"
