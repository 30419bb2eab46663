#!/usr/bin/env bash
# A second clean build of sysreport.exe, in another folder, gives the same
# bytes as this one.
set -u
exe=$1
source_dir=$2
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
cmake -S "$source_dir" -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-i686.cmake" >/dev/null || exit 1
cmake --build "$tree" --target sysreport >/dev/null || exit 1
if cmp "$exe" "$tree/sysreport.exe"; then
  echo PASS
else
  echo "FAIL: two builds differ" >&2
  exit 1
fi
