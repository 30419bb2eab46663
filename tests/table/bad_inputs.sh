#!/usr/bin/env bash
# sysreport-table over a folder of a whole report (CR LF) and of every kind of doubtful file: each gives its row or
# none, its line on standard error, and status 1. Then a file named twice, a report that cannot be opened, an empty
# folder, and a folder whose listing fails after three entries (readdir replaced by LD_PRELOAD).
set -u
table=$1
failing_readdir=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
status=0
owner=$(printf '%70000s' '' | tr ' ' o)
mkdir "$dir/r" "$dir/empty"
r=$dir/r
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
Space free            : ${2:-25} KB
Total space           : ${3:-100} KB
${4:-}


*************
User Accounts
*************

User:		Guest (Guest)
Flags: 		Account is disabled

Password Age:	0s

Total time taken: 5 ms
EOF
}
crlf() { sed 's/$/\r/'; }
report Owner | crlf >"$r/whole.txt"
report "$owner" >"$r/lf.txt"
head -n 16 "$r/whole.txt" >"$r/truncated.txt"
printf 'Hello\r\n' >"$r/hello.txt"
: >"$r/empty.txt"
printf '\177ELF\1\1\1\0\0\0\0\0\0\0\0\0' >"$r/binary.txt"
# Saved again by Notepad: as UTF-8 with its byte-order mark, as Unicode (UTF-16 with and without one).
{
  printf '\357\273\277'
  cat "$r/whole.txt"
} >"$r/bom.txt"
iconv -f cp1252 -t UTF-16 <"$r/whole.txt" >"$r/unicode.txt"
iconv -f cp1252 -t UTF-16LE <"$r/whole.txt" >"$r/unicode-le.txt"
# ">>" instead of ">": an older report, then the newer; an older whole one, then a newer cut short.
cat "$r/whole.txt" <(report Newer | crlf) >"$r/appended.txt"
cat "$r/whole.txt" "$r/truncated.txt" >"$r/cut2.txt"
# The switches typed without '-': the banner and the time alone.
head -n 5 "$r/whole.txt" >"$r/banner.txt"
printf '\r\nTotal time taken: 0 ms\r\n' >>"$r/banner.txt"
# The report's own error lines: the account enumeration refused, a registry text unreadable.
sed '/^User:/,/^Password Age/d; /^User Accounts/{n;s/$/\n\r\nNUE() returned 5\r/}' "$r/whole.txt" >"$r/nue.txt"
sed 's/^System Uptime:/Reg Error XR1\r\n&/' "$r/whole.txt" >"$r/regerror.txt"
# -SS and -UU: each section twice.
sed '/^\*\*\*\*\*\*\*\*\*\*\*\*\*\*\*\*\*\r$/,/^Total time/{/^Total time/d}' "$r/whole.txt" >"$r/doubled.txt"
sed -n '/^\*\*\*\*\*\*\*\*\*\*\*\*\*\*\*\*\*\r$/,$p' "$r/whole.txt" >>"$r/doubled.txt"
# Sections with nothing in them: no hard drive, no account.
sed 's/Hard Drive/Removable/; /^User:/,/^Password Age/d' "$r/whole.txt" >"$r/zero.txt"
# A forged report whose two drives pass 2^64 KB together.
huge=9999999999999999999
drive_d=$(printf '=======\nDrive D\n=======\n\nType%18s: Hard Drive\nSpace free%12s: 1 KB\nTotal space%11s: %s KB\n' \
  '' '' '' $huge)
report Owner 1 $huge "$drive_d" | crlf >"$r/forged.txt"
# A dangling link: a report that cannot be opened.
ln -s "$dir/gone" "$r/gone.txt"
"$table" "$r" "$r/whole.txt" >"$dir/csv" 2>"$dir/err"
[ "$?" = 1 ] || { echo "FAIL: status, expected 1" && status=1; }
diff - <(sed "s|$r/||" "$dir/err" | sort) <<EOF || status=1
sysreport-table: appended.txt: two reports in one file (">>" for ">"?): the row is the last one's
sysreport-table: banner.txt: no section: the switches typed without '-'?
sysreport-table: binary.txt: binary data, no report
sysreport-table: bom.txt: UTF-8 with a byte-order mark: saved again by an editor?
sysreport-table: cut2.txt: two reports in one file (">>" for ">"?), the last cut: the row is the last whole one's
sysreport-table: doubled.txt: line 44: the section "Drive Information" again (a switch letter twice?): read once
sysreport-table: empty.txt: empty file, no report
sysreport-table: forged.txt: the fixed drives' sizes pass 2^64 KB: FixedTotalKB and FixedFreeKB left empty
sysreport-table: gone.txt: No such file or directory
sysreport-table: hello.txt: no sysreport banner at its start, no report
sysreport-table: lf.txt: LF line ends, not sysreport's CR LF: changed since it was written?
sysreport-table: nue.txt: line 38: NUE() returned 5 (the report's own error line)
sysreport-table: regerror.txt: line 11: Reg Error XR1 (the report's own error line)
sysreport-table: truncated.txt: incomplete report (no "Total time taken" line)
sysreport-table: unicode-le.txt: UTF-16 text, no report: saved by an editor as Unicode?
sysreport-table: unicode.txt: UTF-16 text, no report: saved by an editor as Unicode?
sysreport-table: whole.txt: named twice (or by two paths): read once
EOF
# The columns of -N and -P, none of them in these reports: sixteen empty fields.
n=",,,,,,,,,,,,,,,,"
os='Windows Server,Standard,10.0,25398,,700000,Unknown'
tail -n +2 "$dir/csv" | sort >"$dir/rows"
crlf <<EOF | diff - "$dir/rows" || status=1
appended,,$os,Newer,"""Quoted""",X,,,,,,,1,100,25,25.0,C,1,,,,$n,,1
bom,,$os,Owner,"""Quoted""",X,,,,,,,1,100,25,25.0,C,1,,,,$n,,1
cut2,,$os,Owner,"""Quoted""",X,,,,,,,1,100,25,25.0,C,1,,,,$n,,1
doubled,,$os,Owner,"""Quoted""",X,,,,,,,1,100,25,25.0,C,1,,,,$n,,1
forged,,$os,Owner,"""Quoted""",X,,,,,,,2,,,0.0,C,1,,,,$n,,1
lf,,$os,$owner,"""Quoted""",X,,,,,,,1,100,25,25.0,C,1,,,,$n,,1
nue,,$os,Owner,"""Quoted""",X,,,,,,,1,100,25,25.0,C,,,,,$n,NUE() returned 5,1
regerror,,$os,,,,,,,,,,1,100,25,25.0,C,1,,,,$n,Reg Error XR1,1
truncated,,$os,Owner,"""Quoted""",X,,,,,,,,,,,,,,,,$n,,0
whole,,$os,Owner,"""Quoted""",X,,,,,,,1,100,25,25.0,C,1,,,,$n,,1
zero,,$os,Owner,"""Quoted""",X,,,,,,,0,0,0,,,0,,,,$n,,1
EOF
# Each doubt on its own makes the status 1, beside a whole report; a whole report and sections of nothing 0.
cp "$r/whole.txt" "$dir/other.txt"
for file in "$r"/*.txt; do
  expected=1
  case ${file##*/} in whole.txt | zero.txt) expected=0 ;; esac
  "$table" "$file" "$dir/other.txt" >/dev/null 2>&1
  [ "$?" = "$expected" ] || { echo "FAIL: ${file##*/}: status, expected $expected" && status=1; }
done
# No report yet: the header alone, status 0, nothing said.
"$table" "$dir/empty" >"$dir/csv" 2>"$dir/err"
echo "$?:$(cat "$dir/err"):$(wc -l <"$dir/csv")" | diff - <(echo "0::1") || status=1
# A listing that fails after three entries: what was listed is tabled, the failure said.
mkdir "$dir/five"
for i in 1 2 3 4 5; do cp "$r/whole.txt" "$dir/five/pc$i.txt"; done
ASAN_OPTIONS=verify_asan_link_order=0 LD_PRELOAD=$failing_readdir "$table" "$dir/five" >"$dir/csv" 2>"$dir/err"
echo "$?:$(cat "$dir/err")" >"$dir/said"
echo "1:sysreport-table: $dir/five: the folder could not be listed to its end: Input/output error" |
  diff - "$dir/said" || status=1
[ "$(wc -l <"$dir/csv")" -le 4 ] || { echo "FAIL: rows past the failure" && status=1; }
# Standard output that cannot be written: status 2 and one line.
"$table" "$r/whole.txt" >/dev/full 2>"$dir/err"
echo "$?:$(cat "$dir/err")" >"$dir/said"
echo "2:sysreport-table: the table could not be written: No space left on device" | diff - "$dir/said" || status=1
exit $status
