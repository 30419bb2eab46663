#!/usr/bin/env bash
# The version resource and the icon group inside sysreport.exe, read back
# from the file itself.
set -u
exe=$1
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

rc=$(i686-w64-mingw32-windres "$exe" -O rc) || { echo "cannot read the resources of $exe" >&2; exit 1; }

has() { grep -qF -- "$1" <<<"$rc" || fail "missing: $1"; }
has 'FILEVERSION 1, 0, 1, 0'
has 'PRODUCTVERSION 1, 0, 1, 0'
has 'BLOCK "080904E4"'
has 'VALUE "FileVersion", "1.0.1"'
has 'VALUE "ProductVersion", "1.0.1"'
has 'VALUE "FileDescription", "Brief information about your hardware and operating system."'
has 'VALUE "OriginalFilename", "Quorvel"'
has 'VALUE "ProductName", "Quorvel"'
has 'VALUE "CompanyName", '
has 'VALUE "LegalCopyright", '
has 'VALUE "Translation", 0x809, 1252'

# Every resource in English (United Kingdom): LANGUAGE 9, 2.
languages=$(grep -E '^LANGUAGE ' <<<"$rc" | sort -u)
[ "$languages" = "LANGUAGE 9, 2" ] || fail "resource languages: $languages"

# One icon group of four uncompressed images: 16x16 and 32x32, 4 and 32 bits.
[ "$(grep -c 'RT_GROUP_ICON' <<<"$rc")" -eq 1 ] || fail "not exactly one icon group"
grep -q 'Has 4 elements' <<<"$rc" || fail "the icon group does not hold four images"
for image in '"\020\020\020\000", 1, 4,' '"\040\040\020\000", 1, 4,' '"\020\020\000\000", 1, 32,' '"\040\040\000\000", 1, 32,'; do
  grep -qF -- "$image" <<<"$rc" || fail "icon image missing: $image"
done

[ "$failures" -eq 0 ] && echo PASS
[ "$failures" -eq 0 ]
