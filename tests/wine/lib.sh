# shellcheck shell=bash
# Shared by the Wine tests; ctest sets RUNNER, EXE, FAKE_DLL and the prefix.
set -u
# Wine takes the ANSI code page from the locale: C gives 1252.
export LC_ALL=C
prefix=${SYSREPORT_WINEPREFIX:?}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Noted in a file: checks may run in a pipeline's subshell.
fail() { echo "FAIL: $*" >&2; echo "$*" >>"$work/failures"; }

# run ARGS: output as written in $work/raw, without CRs and with the elapsed
# time as N in $work/out (a file, not a pipe: Wine's helpers may keep a pipe
# open), exit status in $status.
run() {
  "$RUNNER" "$EXE" "$@" >"$work/raw" 2>"$work/err" </dev/null
  status=$?
  tr -d '\r' <"$work/raw" | sed -E 's/^Total time taken: [0-9]+ ms$/Total time taken: N ms/' >"$work/out"
}
crlf() { grep -qv $'\r$' "$work/raw" || [ -n "$(tail -c 1 "$work/raw")" ] && fail "$1: a line not ended by CR LF"; }
# expect STATUS WHAT [FILE]: the exit status, and the whole output (or FILE)
# equal to stdin.
expect() {
  crlf "$2"
  [ "$status" = "$1" ] || fail "$2: exit status $status, expected $1"
  diff - "${3:-$work/out}" >"$work/diff" || { fail "$2: output differs"; cut -c 1-160 "$work/diff" | head -n 40 >&2; }
}
# regedit: imports the REGEDIT4 text on stdin.
regedit() { cat >"$work/in.reg"; "$RUNNER" regedit /s "$work/in.reg" </dev/null >/dev/null 2>&1; }
# The mount manager reads dosdevices only when the prefix's services start.
restart_wine() { "$RUNNER" --stop; }
# use_fakes: later runs take the program from beside the fake DLLs.
use_fakes() {
  mkdir -p "$work/app" && cp "$EXE" "$work/app/sysreport.exe" && EXE=$work/app/sysreport.exe
  for dll in cfgmgr32 setupapi netapi32; do cp "$FAKE_DLL" "$work/app/$dll.dll"; done
  export WINEDLLOVERRIDES="cfgmgr32,setupapi,netapi32=n;mscoree,mshtml="
}
banner() {
  printf '\n---------------------------------------------------------\n QUORVEL v1.01\n'
  printf ' Copyright (C) 2026 The Quorvel developers\n Updates and error reports: https://quorvel.example.org/\n'
  printf -- '---------------------------------------------------------\n\n'
}
finish() { [ ! -e "$work/failures" ] && echo PASS && exit 0; exit 1; }
