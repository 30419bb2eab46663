#!/usr/bin/env bash
# Installs what is missing, builds sysreport.exe and runs it under Wine with
# the given switches, e.g. ./run.sh -OSDU > report.txt. Standard output carries
# the report alone: installing, building and Wine's own messages go to
# standard error. The program runs in build/PRESET/wineprefix, a prefix of its
# own that the tests never touch, and no Wine process is left running after it.
# Where Wine's 32-bit loader cannot run (a kernel without 32-bit execution), or
# with SYSREPORT_WINE=64, the 64-bit build of the same sources runs instead.
# The exit status is the program's.
set -eu
cd "$(dirname "$0")"
. tools/setup.sh

preset=mingw
{
  sysreport_install || {
    echo "run.sh: installing the build tools failed"
    exit 1
  }
  if [ "${SYSREPORT_WINE:-}" = 64 ]; then
    preset=mingw64
    echo "run.sh: SYSREPORT_WINE=64: running the 64-bit build, build/mingw64/sysreport64.exe"
  elif ! sysreport_wine32_works; then
    preset=mingw64
    echo "run.sh: Wine cannot run 32-bit programs on this machine: running the 64-bit build," \
      "build/mingw64/sysreport64.exe (the 32-bit program is built by cmake --preset mingw)"
  fi
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target sysreport
} >&2

export SYSREPORT_WINEPREFIX="$PWD/build/$preset/wineprefix" SYSREPORT_BITS=32
program=sysreport.exe
if [ "$preset" = mingw64 ]; then
  SYSREPORT_BITS=64
  program=sysreport64.exe
fi
cmake/wine-run.sh --start >&2
status=0
cmake/wine-run.sh "build/$preset/$program" "$@" || status=$?
cmake/wine-run.sh --stop >&2
exit "$status"
