#!/usr/bin/env bash
# The devices and users sections over the machine that fake.c describes: the size checks of the devices section, a
# failing account enumeration, walks that the services never end; both sections with those DLLs switched off, and
# with them beside the program only.
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"
"$RUNNER" cmd /c echo %COMPUTERNAME% </dev/null >"$work/computer" 2>/dev/null
computer=$(tr -d '\r' <"$work/computer")
# The fakes go where the program's GetSystemDirectoryA points; Wine's own files of those names come back at the end.
sys=$prefix/drive_c/windows/system32
mkdir "$work/wine" "$work/app"
# shellcheck disable=SC2016 # expanded when the script ends
cleanup='mv "$work/wine/"*.dll "$sys/"'
cp "$EXE" "$work/app/"
for dll in cfgmgr32 setupapi netapi32; do
  mv "$sys/$dll.dll" "$work/wine/" || fail "no $dll.dll in $sys"
  cp "$FAKE_DLL" "$work/app/$dll.dll"
done

devices() {
  banner
  cat <<EOF

*******
Devices
*******

$computer
EOF
}
classes() {
  cat <<'EOF'

+Display adapters
...NVIDIA GeForce 6200

+Net
...Realtek RTL8139
...Intel PRO/100
EOF
  [ $# = 0 ] || printf '\n+Ports\n%s\n' "$1"
  cat <<'EOF'
Required Size 3
Required Size 3

+Shared
...Shared Device
EOF
}
users() {
  printf '\n*************\nUser Accounts\n*************\n\n'
}
administrator() {
  cat <<'EOF'
User:		Administrator (Admin)
Flags: 		Account has no password
		Account password does not expire

Password Age:	1h 2m 5s
Bad Passwords:	0
Total Logons:	412
Last Logon:	Sun Sep 09 01:46:40 2001


EOF
}
# Every account of the fake, by their names of 256, 4 and 600 characters after the administrator.
accounts() {
  local guest unknown
  guest="$(printf '%255s' '' | tr ' ' n)z"
  unknown="$(printf '%599s' '' | tr ' ' n)z"
  administrator
  cat <<EOF
User:		$guest (Guest)
Flags: 		Account is disabled
		Account has no password
		Password cannot be changed by user
		Account is locked
		Account password does not expire
		Trusted for delegation
		Account password has expired
		Trusted to authenticate for delegation

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


User:		$unknown (Unknown)
Flags: 		Password cannot be changed by user
		Trusted to authenticate for delegation

Password Age:	1d 0h 0m 0s
Bad Passwords:	0
Total Logons:	1
Last Logon:	Never


EOF
}
elapsed() {
  printf '\nTotal time taken: N ms\n'
}

# Without the services, and with the fakes beside the program only: no devices, and no account enumeration.
WINEDLLOVERRIDES="cfgmgr32,setupapi,netapi32=d;mscoree,mshtml=" run -DU
{
  devices
  users
  echo "NUE() returned 127"
  elapsed
} >"$work/none"
expect 0 "-DU, DLLs switched off" <"$work/none"
export WINEDLLOVERRIDES="cfgmgr32,setupapi,netapi32=n;mscoree,mshtml="
EXE=$work/app/${EXE##*/} run -DU
expect 0 "-DU, fakes beside the exe" <"$work/none"

mv "$work/app/"*.dll "$sys/"
run -DU
{
  devices
  classes
  users
  accounts
  elapsed
} | expect 0 "-DU"
grep '^fake:' "$work/err" >"$work/builds"
echo "fake: 5 set builds, 0 left" | expect 0 "-DU: one device set per class, each destroyed" "$work/builds"

FAKE=u5 run -U
{
  banner
  users
  echo "NUE() returned 5"
  elapsed
} | expect 0 "NetUserEnum failing"

# Walks that the services never end, each ending within seconds as after its last item; a class name of 4095
# characters, which fits.
for variant in a e c4095; do
  limit=10 FAKE=$variant run -D
  {
    devices
    classes
    elapsed
  } | expect 0 "-D, FAKE=$variant"
done
limit=10 FAKE=r run -U
{
  banner
  users
  administrator
  elapsed
} | expect 0 "-U, FAKE=r"

# A class of 10,000 devices prints whole; a class name of 4096 characters ends the run.
FAKE=p10000 run -DU
{
  devices
  classes "$(seq -f '...COM%.0f' 10000)"
  users
  accounts
  elapsed
} | expect 0 "-DU, a class of 10,000 devices"
FAKE=c4096 run -D
{
  devices
  echo "Not enough...Required size is 4097"
} | expect 1 "a class name of 4096 characters"

# Code page 932, where U+4E2D takes two bytes: names of 256 and 600 characters print whole.
LC_ALL=ja_JP.UTF-8 FAKE=k run -U 2>/dev/null
grep -a -e '(Guest)$' -e '(Unknown)$' "$work/out" >"$work/names"
kanji() {
  for _ in $(seq "$1"); do printf '\222\206'; done
  printf z
}
printf 'User:\t\t%s (Guest)\nUser:\t\t%s (Unknown)\n' "$(kanji 255)" "$(kanji 599)" |
  expect 0 "names in code page 932" "$work/names"
