#!/usr/bin/env bash
# The package target makes sysreport-1.0.1-win32.zip holding exactly the
# program as built, the README and the licence.
set -u
build=$1
exe=$2
zip="$build/sysreport-1.0.1-win32.zip"
rm -f "$zip"
cmake --build "$build" --target package >/dev/null || { echo "FAIL: package target" >&2; exit 1; }
[ -f "$zip" ] || { echo "FAIL: $zip not made" >&2; exit 1; }
listing=$(cd "$build" && cmake -E tar tf "$zip" | sort | tr '\n' ' ')
[ "$listing" = "LICENSE.txt README.md sysreport.exe " ] || { echo "FAIL: package holds: $listing" >&2; exit 1; }
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
(cd "$unpacked" && cmake -E tar xf "$zip") || exit 1
cmp "$exe" "$unpacked/sysreport.exe" || { echo "FAIL: the packed program differs from the build" >&2; exit 1; }
echo PASS
