#!/usr/bin/env bash
# Installs what is missing, builds sysreport.exe and runs it under Wine with
# the given switches, e.g. ./run.sh -OSDU. The program lands in
# build/mingw/sysreport.exe; `cmake --build --preset mingw --target package`
# packs it with the README and the licence into build/mingw/sysreport-1.0.1-win32.zip.
set -eu
cd "$(dirname "$0")"
. tools/setup.sh
sysreport_install || { echo "run.sh: installing the build tools failed" >&2; exit 1; }

cmake --preset mingw >/dev/null
cmake --build --preset mingw --target sysreport

export SYSREPORT_WINEPREFIX="$PWD/build/mingw/wineprefix"
status=0
cmake/wine-run.sh --init || status=$?
if [ "$status" -eq 77 ]; then
  echo "run.sh: Wine cannot run 32-bit programs on this machine; the program is build/mingw/sysreport.exe" >&2
  exit 1
fi
exec cmake/wine-run.sh build/mingw/sysreport.exe "$@"
