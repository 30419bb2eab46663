#!/usr/bin/env bash
# The devices section of the real program under Wine: heading and the
# computer name the probe reads. Wine's class enumeration answers "no such
# value" at index 0, so no class follows, as on Windows past the last class.
# The device queries themselves are proven against Wine by class_member_check.
. "$(dirname "$0")/lib.sh"

probe computer
computer=$(fact computer)
[ -n "$computer" ] || fail "the probe found no computer name"

run -D
expect_status 0 "-D"
expect_crlf "-D"
{ banner; heading "Devices"; printf '%s\n' "$computer"; } >"$work/head.txt"
head -c "$(wc -c <"$work/head.txt")" "$work/out" | cmp -s - "$work/head.txt" || fail "heading and computer name"
grep -qE '^Total time taken: [0-9]+ ms$' "$work/out" || fail "elapsed-time line"

# -DD runs the section once.
run -DD
[ "$(grep -c '^Devices$' "$work/out")" -eq 1 ] || fail "-DD printed the section twice"

# The member check prints "Required Size"/"Bad class" lines of its own only
# where Wine holds several classes of one name; none may appear for an
# unknown name.
"$RUNNER" "$MEMBER_CHECK" >"$work/member.raw" 2>&1 </dev/null
member_status=$?
[ "$member_status" -ne 77 ] || exit 77
tr -d '\r' <"$work/member.raw" >"$work/member"
cat "$work/member"
[ "$member_status" -eq 0 ] || fail "class member checks"
grep -q -e 'Required Size' -e 'Bad class' "$work/member" && fail "a message for a lookup that needs none"

finish
