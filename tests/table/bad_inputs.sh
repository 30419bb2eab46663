#!/usr/bin/env bash
# One folder of a whole report (CR LF), the same with LF ends and an owner of 70,000 characters (past the 64 KB the
# program reads at a time), a truncated report, a file that is no report, an empty file and a binary file.
set -u
table=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
status=0
owner=$(printf '%70000s' '' | tr ' ' o)
report() {
  cat <<EOF

---------------------------------------------------------
 QUORVEL v1.01
---------------------------------------------------------


****************************
Operating System Information
****************************

System Uptime:		1w 1d 2h 26m 40s
Operating System:	Windows Server Standard (10.0.25398)
Reg Name:		$1
Reg Org.:		"Quoted"
Product ID:		X
Install Time:		Unknown
			* ago

*****************
Drive Information
*****************


=======
Drive C
=======

Type                  : Hard Drive
Space free            : 25 KB
Total space           : 100 KB


*************
User Accounts
*************

User:		Guest (Guest)
Flags: 		Account is disabled

Password Age:	0s

Total time taken: 5 ms
EOF
}
report Owner | sed 's/$/\r/' >"$dir/whole.txt"
report "$owner" >"$dir/lf.txt"
head -n 16 "$dir/whole.txt" >"$dir/truncated.txt"
printf 'Hello\r\n' >"$dir/hello.txt"
: >"$dir/empty.txt"
printf '\177ELF\1\1\1\0\0\0\0\0\0\0\0\0' >"$dir/binary.txt"
"$table" "$dir" >"$dir/csv" 2>"$dir/err"
[ "$?" = 1 ] || { echo "FAIL: status, expected 1" && status=1; }
diff - <(sort "$dir/err") <<EOF || status=1
sysreport-table: $dir/binary.txt: binary data, no report
sysreport-table: $dir/empty.txt: empty file, no report
sysreport-table: $dir/hello.txt: no sysreport banner at its start, no report
sysreport-table: $dir/lf.txt: LF line ends, not sysreport's CR LF: changed since it was written?
sysreport-table: $dir/truncated.txt: incomplete report (no "Total time taken" line)
EOF
tail -n +2 "$dir/csv" | sort >"$dir/rows"
sed 's/$/\r/' <<EOF | diff - "$dir/rows" || status=1
lf,,Windows Server,Standard,10.0,25398,,700000,Unknown,$owner,"""Quoted""",X,,,,,,,1,100,25,25.0,C,1,,,,,1
truncated,,Windows Server,Standard,10.0,25398,,700000,Unknown,Owner,"""Quoted""",X,,,,,,,,,,,,,,,,,0
whole,,Windows Server,Standard,10.0,25398,,700000,Unknown,Owner,"""Quoted""",X,,,,,,,1,100,25,25.0,C,1,,,,,1
EOF
# Standard output that cannot be written: status 2 and one line.
"$table" "$dir/whole.txt" >/dev/full 2>"$dir/err"
echo "$?:$(cat "$dir/err")" >"$dir/said"
echo "2:sysreport-table: the table could not be written: No space left on device" | diff - "$dir/said" || status=1
exit $status
