#!/usr/bin/env bash
# collect.cmd under Wine's cmd, beside the 32-bit program: a report lands whole on status 0; a failed run, a folder
# that cannot be written and a program that cannot be started leave the previous report byte for byte and no
# temporary file, with the status stated and one line on standard error.
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"
app=$work/app
reports=$work/reports
mkdir "$app" "$reports"
cp "$EXE" "$COLLECT" "$app/"
# shellcheck disable=SC2016 # expanded when the script ends
cleanup='chattr -i "$reports"'
# collect STATUS SAID WHAT [SWITCHES]: collect.cmd's status and what it says on standard error.
collect() {
  "$RUNNER" cmd /c "Z:$app/collect.cmd" "Z:$reports" "${@:4}" </dev/null >/dev/null 2>"$work/err"
  got="$?:$(grep -v '^wine: ' "$work/err" | tr -d '\r')"
  [ "$got" = "$1:$2" ] || fail "$3: $got"
  [ -z "$(find "$reports" -name '*.tmp')" ] || fail "$3: a temporary file left"
}
run -D
collect 0 '' "status 0" -D
report=$(echo "$reports/"*.txt)
sed -E 's/^Total time taken: [0-9]+ ms\r$/Total time taken: N ms/' "$report" | tr -d '\r' | diff - "$work/out" >&2 ||
  fail "status 0: not the program's report"
cp "$report" "$work/previous"
collect 1 "sysreport: unknown switch - x; the letters are D, O, S and U, in one argument" "a failed run" -x
chattr +i "$reports"
collect 3 "collect: cannot write the report to the folder \"Z:$reports\"" "a folder that cannot be written"
chattr -i "$reports"
rm "$app/${EXE##*/}"
collect 3 "collect: cannot start \"$(echo "Z:$app/${EXE##*/}" | tr / "\\\\")\"" "no program"
cmp "$work/previous" "$report" || fail "the previous report changed"
