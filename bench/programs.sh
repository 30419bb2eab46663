#!/usr/bin/env bash
# Benchmark of the programs section: N programs in the Uninstall key and 2N update packages in Component Based
# Servicing (half installed, half superseded), for N of 0, 1,000 and 10,000; the program's own "Total time taken" and
# the wall time of sysreport.exe -O and -OP, the medians of RUNS runs each (default 11) under one warm wineserver, in
# the test tree's prefix. The entries are removed afterwards.
#
#   bench/programs.sh [RUNS]
#
# Uses build/mingw/sysreport.exe (cmake --preset mingw && cmake --build --preset mingw); SYSREPORT_WINE=64 takes
# build/mingw64/sysreport64.exe instead. Not run by test.sh.
cd "$(dirname "$0")/.." || exit 1
default_runs=11
# shellcheck source=lib.sh
. bench/lib.sh
uninstall='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall'
packages='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Component Based Servicing\Packages'
# write N: a registry file of N programs and 2N packages, and one that removes them.
write() {
  {
    echo REGEDIT4
    for ((k = 1; k <= $1; ++k)); do
      printf '[%s\\bench-%05d]\n"DisplayName"="Bench program %05d, (x86)"\n' "$uninstall" "$k" "$k"
      printf '"DisplayVersion"="1.%d"\n"Publisher"="Quorvel bench"\n"InstallDate"="20240109"\n' "$k"
    done
    for ((k = 1; k <= 2 * $1; ++k)); do
      printf '[%s\\Package_for_KB%07d~31bf3856ad364e35~x86~~10.0.1.0]\n' "$packages" "$k"
      printf '"CurrentState"=dword:000000%d0\n"InstallTimeHigh"=dword:01da4317\n"InstallTimeLow"=dword:0\n' \
        $((5 + 2 * (k % 2)))
    done
  } >"$work/add.reg"
  sed -n 's/^\[\(.*\)\]$/[-\1]/p' "$work/add.reg" | sed '1i REGEDIT4' >"$work/remove.reg"
}
trap '"$runner" regedit /s "Z:$work/remove.reg"; "$runner" --stop; rm -rf "$work"' EXIT
"$runner" --start || exit 1
printf '%8s %8s %12s %12s\n' programs switches "program ms" "wall ms"
for count in 0 1000 10000; do
  write "$count"
  "$runner" regedit /s "Z:$work/add.reg"
  # Wine's server writes a changed registry to its files some 30 seconds later, and answers nothing meanwhile.
  sleep 35
  for switches in -O -OP; do
    time_runs "$switches"
    [ "$switches" = -O ] || grep -q "^Programs *: $count"$'\r$' "$work/out" || echo "not $count programs" >&2
    printf '%8s %8s %12s %12s\n' "$count" "$switches" "$program" "$wall"
  done
  "$runner" regedit /s "Z:$work/remove.reg"
done
