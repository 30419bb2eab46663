#!/usr/bin/env bash
# Runs a Windows program under Wine in the build tree's own prefix.
#   wine-run.sh --init        create the prefix once and start its wineserver
#   wine-run.sh PROGRAM ARGS  run PROGRAM in the prefix
# The prefix is $SYSREPORT_WINEPREFIX, or wineprefix beside this build's
# CMakeCache.txt when run from ctest.
set -u
export WINEPREFIX="${SYSREPORT_WINEPREFIX:-${WINEPREFIX:-$PWD/wineprefix}}"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export TZ=UTC0
unset DISPLAY WAYLAND_DISPLAY

# Wine starts the 32-bit program through its 32-bit Linux loader: a kernel
# without 32-bit execution (some virtual machines) cannot run it at all.
wine_can_run() {
  command -v wine >/dev/null 2>&1 && [ -x /usr/lib/wine/wineserver32 ] &&
    /usr/lib/wine/wineserver32 --version >/dev/null 2>&1
}

if ! wine_can_run; then
  echo "wine-run: Wine cannot run 32-bit programs on this machine" >&2
  exit 77
fi

start_server() {
  # A persistent server whose output goes nowhere: an inherited pipe would
  # keep ctest waiting for ever.
  wineserver -p </dev/null >/dev/null 2>&1
}

if [ "${1:-}" = "--init" ]; then
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wine wineboot -i </dev/null >/dev/null 2>&1
    wineserver -w
  fi
  start_server
  exit 0
fi

start_server
exec wine "$@"
