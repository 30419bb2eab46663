#!/usr/bin/env bash
# The devices and users sections over the machine that fake.c describes, the size checks of the devices section, a
# failing account enumeration, walks that the services never end; both sections with those DLLs switched off, and
# with them beside the program only.
. "$(dirname "$0")/lib.sh"
"$RUNNER" cmd /c echo %COMPUTERNAME% </dev/null >"$work/computer" 2>/dev/null
# The fakes go where the program's GetSystemDirectoryA points; Wine's own files of those names come back at the end.
sys=$prefix/drive_c/windows/system32
mkdir "$work/wine" "$work/app"
cleanup='mv "$work/wine/"*.dll "$sys/"'
cp "$EXE" "$work/app/"
for dll in cfgmgr32 setupapi netapi32; do
  mv "$sys/$dll.dll" "$work/wine/" || fail "no $dll.dll in $sys"
  cp "$FAKE_DLL" "$work/app/$dll.dll"
done
devices() { banner; printf '\n*******\nDevices\n*******\n\n%s\n' "$(tr -d '\r' <"$work/computer")"; }
users() { printf '\n*************\nUser Accounts\n*************\n\n'; }
administrator() {
  printf 'User:\t\tAdministrator (Admin)\nFlags: \t\tAccount has no password\n\t\tAccount password does not expire\n\n'
  printf 'Password Age:\t1h 2m 5s\nBad Passwords:\t0\nTotal Logons:\t412\nLast Logon:\tSun Sep 09 01:46:40 2001\n\n\n'
}
classes() { printf '\n+Display adapters\n...%s\n\n+Net\n...Realtek RTL8139\n...Intel PRO/100\nRequired Size 3\n' "$1"
  printf 'Required Size 3\n\n+Shared\n...Shared Device\n'; }  # FIRST-DEVICE
WINEDLLOVERRIDES="cfgmgr32,setupapi,netapi32=d;mscoree,mshtml=" run -DU
{ devices; users; printf 'NUE() returned 127\n\nTotal time taken: N ms\n'; } | expect 0 "-DU, DLLs switched off"
export WINEDLLOVERRIDES="cfgmgr32,setupapi,netapi32=n;mscoree,mshtml="
EXE=$work/app/${EXE##*/} run -DU
{ devices; users; printf 'NUE() returned 127\n\nTotal time taken: N ms\n'; } | expect 0 "-DU, fakes beside the exe"
mv "$work/app/"*.dll "$sys/"
run -DU
{ devices; classes "NVIDIA GeForce 6200"; users
  administrator
  printf 'User:\t\t%s (Guest)\nFlags: \t\tAccount is disabled\n\t\tAccount has no password\n' "$(printf %255s | tr ' ' n)z"
  printf '\t\tPassword cannot be changed by user\n\t\tAccount is locked\n\t\tAccount password does not expire\n'
  printf '\t\tTrusted for delegation\n\t\tAccount password has expired\n\t\tTrusted to authenticate for delegation\n\n'
  printf 'Password Age:\t0s\nBad Passwords:\t-1\nTotal Logons:\t-1\nLast Logon:\tNever\n*** Password has expired ***\n\n\n'
  printf 'User:\t\tJos\351 ? (User)\nFlags: \t\tAccount is locked\n\t\tAccount password has expired\n\nPassword Age:\t'
  printf '1w 1d 2h 26m 40s\nBad Passwords:\t3\nTotal Logons:\t7\nLast Logon:\tFri Feb 13 23:31:30 2009\n\n\n'
  printf 'User:\t\t%s (Unknown)\nFlags: \t\tPassword cannot be changed by user\n' "$(printf %599s | tr ' ' n)z"
  printf '\t\tTrusted to authenticate for delegation\n\nPassword Age:\t1d 0h 0m 0s\nBad Passwords:\t0\nTotal Logons:\t1\n'
  printf 'Last Logon:\tNever\n\n\n\nTotal time taken: N ms\n'; } | expect 0 "-DU"
FAKE=u5 run -U; { banner; users; printf 'NUE() returned 5\n\nTotal time taken: N ms\n'; } | expect 0 "NetUserEnum failing"
# Walks that the services never end: each run ends within seconds, as after the last item.
for variant in a e; do
  limit=10 FAKE=$variant run -D
  { devices; classes "NVIDIA GeForce 6200"; printf '\nTotal time taken: N ms\n'; } | expect 0 "-D, FAKE=$variant"
done
limit=10 FAKE=r run -U
{ banner; users; administrator; printf '\nTotal time taken: N ms\n'; } | expect 0 "-U, FAKE=r"
FAKE=d4072 run -D; { devices; classes "$(printf %4072s | tr ' ' x)"; printf '\nTotal time taken: N ms\n'; } |
  expect 0 "a block of 4095 characters"
FAKE=d4073 run -D; { devices; printf 'Yikes!...\n\n'; } | expect 1 "a block of 4096 characters"
FAKE=c4096 run -D; { devices; printf 'Not enough...Required size is 4097\n'; } | expect 1 "a class name of 4096 characters"
# Code page 932, where U+4E2D takes two bytes: names of 256 and 600 characters print whole.
{ LC_ALL=ja_JP.UTF-8 FAKE=k run -U; } 2>/dev/null && kanji() { printf '\222\206%.0s' $(seq "$1"); }
printf 'User:\t\t%s (Guest)\nUser:\t\t%s (Unknown)\n' "$(kanji 255)z" "$(kanji 599)z" |
  expect 0 "names in code page 932" <(grep -a -e '(Guest)$' -e '(Unknown)$' "$work/out")
