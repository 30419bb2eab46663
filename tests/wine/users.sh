#!/usr/bin/env bash
# The users section over the accounts of fake.c, handed out two a request; a
# failing enumeration; and the section with netapi32 switched off.
. "$(dirname "$0")/lib.sh"
heading() { banner; printf '\n*************\nUser Accounts\n*************\n\n'; }

WINEDLLOVERRIDES="cfgmgr32,setupapi,netapi32=d;mscoree,mshtml=" run -U
{ heading; printf 'NUE() returned 127\n\nTotal time taken: N ms\n'; } | expect 0 "-U, netapi32 switched off"

use_fakes
FAKE=u5 run -U
{ heading; printf 'NUE() returned 5\n\nTotal time taken: N ms\n'; } | expect 0 "a failing enumeration"
run -U
{ heading
  printf 'User:\t\tAdministrator (Admin)\nFlags: \t\tAccount has no password\n\t\tAccount password does not expire\n\n'
  printf 'Password Age:\t1h 2m 5s\nBad Passwords:\t0\nTotal Logons:\t412\nLast Logon:\tSun Sep 09 01:46:40 2001\n\n\n'
  printf 'User:\t\tGuest (Guest)\nFlags: \t\tAccount is disabled\n\t\tAccount has no password\n'
  printf '\t\tPassword cannot be changed by user\n\t\tAccount is locked\n\t\tAccount password does not expire\n'
  printf '\t\tTrusted for delegation\n\t\tAccount password has expired\n\t\tTrusted to authenticate for delegation\n\n'
  printf 'Password Age:\t0s\nBad Passwords:\t-1\nTotal Logons:\t-1\nLast Logon:\tNever\n*** Password has expired ***\n\n\n'
  printf 'User:\t\tJos\351 ? (User)\nFlags: \t\tAccount is locked\n\t\tTrusted for delegation\n\n'
  printf 'Password Age:\t1w 1d 2h 26m 40s\nBad Passwords:\t3\nTotal Logons:\t7\nLast Logon:\tFri Feb 13 23:31:30 2009\n\n\n'
  printf 'User:\t\t%s (Unknown)\nFlags: \t\tAccount is disabled\n\t\tAccount password has expired\n\n' "$(printf '%256s' | tr ' ' n)"
  printf 'Password Age:\t59s\nBad Passwords:\t1\nTotal Logons:\t2\nLast Logon:\tNever\n\n\n'
  printf 'User:\t\t%s (User)\nFlags: \t\tPassword cannot be changed by user\n' "$(printf '%600s' | tr ' ' n)"
  printf '\t\tTrusted to authenticate for delegation\n\nPassword Age:\t1d 0h 0m 0s\nBad Passwords:\t0\nTotal Logons:\t1\n'
  printf 'Last Logon:\tNever\n\n\n\nTotal time taken: N ms\n'; } | expect 0 "-U"
finish
