#!/usr/bin/env bash
# The users section of the real program under Wine. Wine 8 answers an empty
# server name with 53 (ERROR_BAD_NETPATH), so the section is the heading and
# the status line; on Windows the empty name means the local computer.
. "$(dirname "$0")/lib.sh"

{ banner; heading "User Accounts"; printf 'NUE() returned 53\n'; } >"$work/once.txt"

run -U
expect_status 0 "-U"
expect_crlf "-U"
head -c "$(wc -c <"$work/once.txt")" "$work/out" | cmp -s - "$work/once.txt" || fail "-U section"

run -UU
expect_status 0 "-UU"
{ banner; heading "User Accounts"; printf 'NUE() returned 53\n'; heading "User Accounts"; printf 'NUE() returned 53\n'; } >"$work/twice.txt"
head -c "$(wc -c <"$work/twice.txt")" "$work/out" | cmp -s - "$work/twice.txt" || fail "-UU sections"
grep -qE '^Total time taken: [0-9]+ ms$' "$work/out" || fail "elapsed-time line"

finish
