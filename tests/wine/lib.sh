# shellcheck shell=bash
# Shared by the Wine tests; ctest sets RUNNER, EXE, FAKE_DLL and SYSREPORT_WINEPREFIX.
set -u && export LC_ALL=C && prefix=${SYSREPORT_WINEPREFIX:?} work=$(mktemp -d)  # C: Wine's ANSI code page is 1252
fail() { echo "FAIL: $*" >&2; echo "$*" >>"$work/failures"; }  # a file: checks may run in a pipeline's subshell
end() {  # the script's $cleanup, then PASS only after a normal end without a failed check
  local code=$?; eval "${cleanup:-}"; [ "$code" = 0 ] && [ ! -e "$work/failures" ] && echo PASS || code=1
  rm -rf "$work"; exit "$code"
}
trap end EXIT
# run ARGS: the output as written in $work/raw (a file: Wine's services would hold a pipe open), without CRs and
# with the elapsed time as N in $work/out; the exit status in $status (124 when $limit seconds, if set, ran out).
run() {
  timeout "${limit:-0}" "$RUNNER" "$EXE" "$@" >"$work/raw" 2>"$work/err" </dev/null; status=$?
  tr -d '\r' <"$work/raw" | sed -E 's/^Total time taken: [0-9]+ ms$/Total time taken: N ms/' >"$work/out"
}
# expect STATUS WHAT [FILE]: the exit status, every line ended by CR LF, and the output (or FILE) equal to stdin.
expect() {
  [ "$status" = "$1" ] || fail "$2: exit status $status, expected $1"
  grep -qv $'\r$' "$work/raw" || [ -n "$(tail -c 1 "$work/raw")" ] && fail "$2: a line not ended by CR LF"
  diff - "${3:-$work/out}" >"$work/diff" || { fail "$2: output differs"; cut -c 1-160 "$work/diff" | head -n 40 >&2; }
  if grep -q '^sysreport:' "$work/err"; then fail "$2: the program wrote to standard error"; fi
}
regedit() { cat >"$work/in.reg" && "$RUNNER" regedit /s "$work/in.reg" </dev/null >/dev/null 2>&1; }
banner() {
  printf '\n%s\n QUORVEL v1.01\n Copyright (C) 2026 The Quorvel developers\n' ---------------------------------------------------------
  printf ' Updates and error reports: https://quorvel.example.org/\n%s\n\n' ---------------------------------------------------------
}
