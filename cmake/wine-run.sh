#!/usr/bin/env bash
# Runs a Windows program under Wine in the build tree's own prefix.
#   wine-run.sh PROGRAM ARGS   run PROGRAM
#   wine-run.sh --start        create the prefix once, start its server and services
#   wine-run.sh --stop         end the prefix's server (and with it its services)
# SYSREPORT_WINEPREFIX names the prefix; SYSREPORT_BITS=64 runs 64-bit programs
# (a win64 prefix and the 64-bit loader), anything else 32-bit ones.
set -u
export WINEPREFIX="${SYSREPORT_WINEPREFIX:?set SYSREPORT_WINEPREFIX to the prefix folder}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export TZ=UTC0
unset DISPLAY WAYLAND_DISPLAY

if [ "${SYSREPORT_BITS:-32}" = 64 ]; then
  # /usr/bin/wine would pick the 32-bit loader whenever it is installed.
  export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
  wine=$WINELOADER
else
  export WINEARCH=win32 WINESERVER=/usr/lib/wine/wineserver
  wine=wine
  if ! /usr/lib/wine/wineserver32 --version >/dev/null 2>&1; then
    echo "wine-run: this machine cannot run 32-bit Wine programs (try the mingw64 preset)" >&2
    exit 1
  fi
fi

if [ "${1:-}" = --stop ]; then
  [ ! -d "$WINEPREFIX" ] || {
    "$WINESERVER" -k
    "$WINESERVER" -w
  } >/dev/null 2>&1
  exit 0
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  "$wine" wineboot -i </dev/null >/dev/null 2>&1
  "$WINESERVER" -w
  [ -f "$WINEPREFIX/system.reg" ] || {
    echo "wine-run: creating the prefix $WINEPREFIX failed" >&2
    exit 1
  }
fi
# A persistent server, and Wine's services, started by a program whose output
# goes nowhere: whoever reads an inherited pipe would wait for them for ever.
"$WINESERVER" -p </dev/null >/dev/null 2>&1
[ "${1:-}" != --start ] || exec "$wine" cmd /c exit </dev/null >/dev/null 2>&1
exec "$wine" "$@"
