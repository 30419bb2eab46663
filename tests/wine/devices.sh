#!/usr/bin/env bash
# The devices section over the machine that fake.c describes, its two size
# checks, and the section with the device services switched off.
. "$(dirname "$0")/lib.sh"
regedit <<'EOF'
REGEDIT4

[-HKEY_CURRENT_USER\Software\SysreportFake]

[HKEY_CURRENT_USER\Software\SysreportFake\Display]
@="Display adapters"

[HKEY_CURRENT_USER\Software\SysreportFake\Net]
EOF
"$RUNNER" cmd /c echo %COMPUTERNAME% </dev/null >"$work/computer" 2>/dev/null
heading() { banner; printf '\n*******\nDevices\n*******\n\n%s\n' "$(tr -d '\r' <"$work/computer")"; }
# machine FIRST-DEVICE: the section as the fakes' machine gives it.
machine() {
  heading; printf '\n+Display adapters\n...%s\n\n+Net\n...Realtek RTL8139\n...Intel PRO/100\n' "$1"
  printf 'Required Size 3\nRequired Size 3\n\n+Shared\n...Shared Device\n\nTotal time taken: N ms\n'
}

WINEDLLOVERRIDES="cfgmgr32,setupapi,netapi32=d;mscoree,mshtml=" run -D
{ heading; printf '\nTotal time taken: N ms\n'; } | expect 0 "-D, services switched off"

use_fakes
run -D; machine "NVIDIA GeForce 6200" | expect 0 "-D"
# The Display block: a header of 19 characters and one member line.
long=$(printf '%4072s' '' | tr ' ' x)
FAKE=d4072 run -D; machine "$long" | expect 0 "a block of 4095 characters"
FAKE=d4073 run -D; { heading; printf 'Yikes!...\n\n'; } | expect 1 "a block of 4096 characters"
FAKE=c4096 run -D; { heading; printf 'Not enough...Required size is 4097\n'; } | expect 1 "a class name of 4096 characters"
finish
