#!/usr/bin/env bash
# The devices and users sections over the machine that fake.c describes: one device set per class, 10,000 devices in
# a class, the class-name size check, a failed and an endless account enumeration; none with the fakes beside the exe.
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"
"$RUNNER" cmd /c echo %COMPUTERNAME% </dev/null >"$work/computer" 2>/dev/null
computer=$(tr -d '\r' <"$work/computer")
# The fakes go where the program's GetSystemDirectoryA points; Wine's own files of those names come back at the end.
sys=$SYSREPORT_WINEPREFIX/drive_c/windows/system32
mkdir "$work/wine" "$work/app"
# shellcheck disable=SC2016 # expanded when the script ends
cleanup='mv "$work/wine/"*.dll "$sys/"'
cp "$EXE" "$work/app/"
for dll in cfgmgr32 setupapi netapi32; do
  mv "$sys/$dll.dll" "$work/wine/" || fail "no $dll.dll in $sys"
  cp "$FAKE_DLL" "$work/app/$dll.dll"
done
export WINEDLLOVERRIDES="cfgmgr32,setupapi,netapi32=n;mscoree,mshtml="

# report PIECE...: the report expected, each piece written by the function of that name, and the elapsed time.
report() {
  for piece; do
    "$piece"
  done
  printf '\nTotal time taken: N ms\n'
}
devices() {
  banner
  printf '\n*******\nDevices\n*******\n\n%s\n' "$computer"
}
classes() {
  cat <<'EOF'

+Display adapters
...NVIDIA GeForce 6200

+Net
...Realtek RTL8139
...Intel PRO/100
Required Size 3
Required Size 3

+Shared
...NVIDIA GeForce 6200
EOF
}
ports() {
  printf '\n+Ports\n'
  seq -f '...COM%.0f' 10000
}
users() {
  printf '\n*************\nUser Accounts\n*************\n\n'
}
absent() { echo "NUE() returned 127"; }
denied() { echo "NUE() returned 5"; }
# Every account, their names of 600, 256 and 6 characters.
accounts() {
  cat <<EOF
User:		$(printf '%599sz' '' | tr ' ' n) (Admin)
Flags: 		Account has no password
		Account password does not expire

Password Age:	1h 2m 5s
Bad Passwords:	0
Total Logons:	412
Last Logon:	Sun Sep 09 01:46:40 2001


User:		$(printf '%255sz' '' | tr ' ' n) (Guest)
Flags: 		Password cannot be changed by user
		Account is locked

Password Age:	0s
Bad Passwords:	-1
Total Logons:	-1
Last Logon:	Never
*** Password has expired ***


User:		Jos$(printf '\351') ? (User)
Flags: 		Account is locked
		Account password has expired

Password Age:	1w 1d 2h 26m 40s
Bad Passwords:	3
Total Logons:	7
Last Logon:	Fri Feb 13 23:31:30 2009


EOF
}

# With the fakes beside the program only, no devices and no account enumeration: the DLLs come from the system folder.
EXE=$work/app/${EXE##*/} run -DU
report devices users absent | expect 0 "-DU, fakes beside the exe"

# A class of 10,000 devices prints whole, with one device set per class.
mv "$work/app/"*.dll "$sys/"
FAKE=p10000 run -DU
report devices classes ports users accounts | expect 0 "-DU, a class of 10,000 devices"
grep '^fake:' "$work/err" >"$work/builds"
echo "fake: 6 set builds, 0 left" | expect 0 "-DU: one device set per class, each destroyed" "$work/builds"

# A class name of 4095 characters fits (and the class without devices prints nothing); one of 4096 ends the run.
FAKE=c4095 run -D
report devices classes | expect 0 "a class name of 4095 characters"
said="sysreport: a device class name was too long (4097 bytes)"
FAKE=c4096 run -D
{
  devices
  echo "Not enough...Required size is 4097"
} | expect 1 "a class name of 4096 characters"
said=""

FAKE=u5 run -U
report banner users denied | expect 0 "NetUserEnum failing"
# "More data" without moving on: the walk ends within seconds, as after its last account.
limit=10 FAKE=r run -U
report banner users accounts | expect 0 "-U, FAKE=r"
