#!/usr/bin/env bash
# The real program's endings, line ends and argument handling under Wine.
. "$(dirname "$0")/lib.sh"

{ banner; usage; } >"$work/usage.txt"

run
expect_status 1 "no argument"
expect_crlf "no argument"
expect_text "$work/usage.txt" "no argument"

for arg in '?' '?S' '-'; do
  run "$arg"
  expect_status 1 "$arg"
  expect_text "$work/usage.txt" "$arg"
done

{ banner; printf 'Unknown switch - s\n\n'; usage; } >"$work/unknown.txt"
run -s
expect_status 1 "-s"
expect_crlf "-s"
expect_text "$work/unknown.txt" "-s"

# A first argument without "-" runs nothing and ends normally.
run /S
expect_status 0 "/S"
expect_crlf "/S"
{ banner; printf '\nTotal time taken: N ms\n'; } >"$work/plain.txt"
sed -E 's/^Total time taken: [0-9]+ ms$/Total time taken: N ms/' "$work/out" | cmp -s - "$work/plain.txt" ||
  fail "/S prints more than the banner and the elapsed time"

# Wildcards are expanded against the current folder: -? in a folder holding
# only a file named -S arrives as -S and runs the drive report.
mkdir "$work/glob"
touch "$work/glob/-S"
run_dir="$work/glob" run '-?'
expect_status 0 "-? expanded to -S"
expect_line "Drive Information" "-? expanded to -S"

# -SX: the whole drive section, then the unknown switch, and no elapsed time.
run -SX
expect_status 1 "-SX"
expect_line "Drive Information" "-SX"
grep -q 'Total time taken' "$work/out" && fail "-SX printed the elapsed time"
{ printf 'Unknown switch - X\n\n'; usage; } >"$work/end.txt"
tail -c "$(wc -c <"$work/end.txt")" "$work/out" | cmp -s - "$work/end.txt" || fail "-SX ending"

finish
