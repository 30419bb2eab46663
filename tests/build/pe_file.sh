#!/usr/bin/env bash
# The PE file of sysreport.exe: a console program that Windows 95 and NT 4.0
# loaders accept, statically linked, without a time stamp, taking the plain
# 32-bit ctime that their msvcrt exports.
set -u
exe=$1
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

headers=$(i686-w64-mingw32-objdump -p "$exe") || { echo "cannot read $exe" >&2; exit 1; }
field() { echo "$headers" | awk -v k="$1" '$1 == k { print $2; exit }'; }

[ "$(field Magic)" = 010b ] || fail "not a 32-bit PE file"
[ "$(field Subsystem)" = 00000003 ] || fail "subsystem is not the console"
for key in MajorOSystemVersion MajorSubsystemVersion; do
  [ "$(field $key)" = 4 ] || fail "$key is $(field $key), not 4"
done
for key in MinorOSystemVersion MinorSubsystemVersion; do
  [ "$(field $key)" = 0 ] || fail "$key is $(field $key), not 0"
done
echo "$headers" | grep -q 'Time/Date.*1970' || fail "the header carries a time stamp"

dlls=$(echo "$headers" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort)
echo "imports: $(echo $dlls)"
echo "$dlls" | grep -qE 'libgcc|libstdc|libwinpthread|mingw' && fail "a compiler runtime DLL is imported"

# The functions imported from msvcrt.dll, one a line.
msvcrt=$(echo "$headers" | awk '/DLL Name:/ { on = (tolower($3) == "msvcrt.dll"); next } on && NF == 3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ { print $3 }')
echo "$msvcrt" | grep -qx ctime || fail "plain ctime is not imported from msvcrt.dll"
echo "$msvcrt" | grep -qxE '_ctime32|_ctime64|_time64|_localtime64' && fail "a 64-bit or newer time function is imported"

[ "$failures" -eq 0 ] && echo PASS
[ "$failures" -eq 0 ]
