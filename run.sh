#!/usr/bin/env bash
# Installs what is missing, builds sysreport.exe and runs it under Wine with
# the given switches, e.g. ./run.sh -OSDU. The program lands in
# build/mingw/sysreport.exe; `cmake --build --preset mingw --target package`
# packs it with the README and the licence into build/mingw/sysreport-1.0.1-win32.zip.
# Where Wine's 32-bit loader cannot run (a kernel without 32-bit execution), or
# with SYSREPORT_WINE=64, the 64-bit build of the same sources runs instead.
set -eu
cd "$(dirname "$0")"
. tools/setup.sh
sysreport_install || { echo "run.sh: installing the build tools failed" >&2; exit 1; }

preset=mingw
if [ "${SYSREPORT_WINE:-}" = 64 ]; then
  preset=mingw64
  echo "run.sh: SYSREPORT_WINE=64: running the 64-bit build, build/mingw64/sysreport.exe" >&2
elif ! sysreport_wine32_works; then
  preset=mingw64
  echo "run.sh: Wine cannot run 32-bit programs on this machine: running the 64-bit build," \
    "build/mingw64/sysreport.exe (the 32-bit program is built by cmake --preset mingw)" >&2
fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target sysreport

export SYSREPORT_WINEPREFIX="$PWD/build/$preset/wineprefix" SYSREPORT_BITS=32
[ "$preset" = mingw ] || SYSREPORT_BITS=64
cmake/wine-run.sh --start
exec cmake/wine-run.sh "build/$preset/sysreport.exe" "$@"
