# shellcheck shell=bash
# Shared by the Wine tests: run the real program in the build tree's prefix,
# keep its output in a file (helper processes of a new prefix would hold a
# pipe open), and compare lines. Set by ctest: RUNNER, EXE, PROBE.
set -u
: "${RUNNER:?}" "${EXE:?}" "${PROBE:?}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# run ARGS...: the program's output in $work/raw (as written) and $work/out
# (without CRs), its exit status in $status. It runs in $run_dir when set.
run() {
  (cd "${run_dir:-.}" && "$RUNNER" "$EXE" "$@") >"$work/raw" 2>"$work/err" </dev/null
  status=$?
  [ "$status" -ne 77 ] || { cat "$work/err" >&2; exit 77; }
  tr -d '\r' <"$work/raw" >"$work/out"
}

# probe ARGS...: the probe's facts, one "key=value" a line, in $work/probe.
probe() {
  "$RUNNER" "$PROBE" "$@" >"$work/probe.raw" 2>/dev/null </dev/null
  [ $? -ne 77 ] || exit 77
  tr -d '\r' <"$work/probe.raw" >"$work/probe"
}

fact() { sed -n "s/^$1=//p" "$work/probe" | head -n 1; }

expect_status() {
  [ "$status" -eq "$1" ] || fail "exit status $status, expected $1 ($2)"
}

# Every line of the raw output ends in CR LF, and the output ends with one.
expect_crlf() {
  if [ -s "$work/raw" ]; then
    LC_ALL=C awk 'BEGIN { RS = "\n" } !/\r$/ { bad++ } END { exit bad > 0 }' "$work/raw" ||
      fail "a line without CR LF ($1)"
    [ "$(tail -c 1 "$work/raw" | od -An -c | tr -d ' ')" = '\n' ] || fail "output not ended by a line end ($1)"
  fi
}

# expect_text FILE: the whole output equals FILE.
expect_text() {
  cmp -s "$1" "$work/out" || { fail "output differs ($2)"; diff "$1" "$work/out" >&2; }
}

expect_line() {
  grep -qxF -- "$1" "$work/out" || fail "missing line [$1] ($2)"
}

banner() {
  printf '\n---------------------------------------------------------\n'
  printf ' QUORVEL v1.01\n'
  printf ' Copyright (C) 2026 The Quorvel developers\n'
  printf ' Updates and error reports: https://quorvel.example.org/\n'
  printf -- '---------------------------------------------------------\n\n'
}

usage() {
  printf 'Usage: [-<switch options>]\n\nThe following switch options can be combined:\n\n'
  printf -- '-D Device information\n-O OS information\n-S Storage Media information\n'
  printf -- '-U Users (2000/XP/2003 only)\n\n\n'
}

heading() {
  local row
  row=$(printf '%*s' "${#1}" '' | tr ' ' '*')
  printf '\n%s\n%s\n%s\n\n' "$row" "$1" "$row"
}

# expect_drive_block LETTER LABEL SERIAL: the block of a mapped drive, its
# figures from the probe's "drive LETTER" facts, as the program prints it.
expect_drive_block() {
  local letter=$1 label=$2 serial=$3
  awk -v d="Drive $letter" '$0 == d { on = 1 } on && /^Drive [A-Z]$/ && $0 != d { exit } on' "$work/out" >"$work/block"
  kb() { echo $(( $(fact "$1_kb_hi") * 4294967296 + $(fact "$1_kb_lo") )); }
  {
    printf 'Drive %s\n=======\n\n' "$letter"
    printf 'Type                  : Hard Drive\n'
    printf 'Volume Label          : %s\n' "$label"
    printf 'Volume Serial         : %s\n' "$serial"
    printf 'File System           : %s\n' "$(fact fs)"
    printf '\nClusters\n--------\n\n'
    printf 'Sectors per cluster   : %s\n' "$(fact spc)"
    printf 'Bytes per sector      : %s\n' "$(fact bps)"
    printf 'Free clusters         : %s\n' "$(fact free_clusters)"
    printf 'Used clusters         : %s\n' "$(( $(fact total_clusters) - $(fact free_clusters) ))"
    printf 'Total clusters        : %s\n' "$(fact total_clusters)"
    printf '\nStorage Space\n-------------\n\n'
    printf 'Space free            : %s KB\n' "$(kb free)"
    printf 'Space used            : %s KB\n' "$(kb used)"
    printf 'Total space           : %s KB\n' "$(kb total)"
    printf '\n\n'
  } >"$work/block.expected"
  # The block as printed runs up to the next drive's "=======" line.
  head -n "$(wc -l <"$work/block.expected")" "$work/block" | cmp -s - "$work/block.expected" ||
    { fail "drive $letter block"; diff "$work/block.expected" "$work/block" >&2; }
}

# wine_reg add|delete ARGS...: the prefix's own reg.exe.
wine_reg() { "$RUNNER" reg "$@" /f >/dev/null 2>&1 </dev/null; }

finish() {
  if [ "$failures" -eq 0 ]; then
    echo "PASS"
    exit 0
  fi
  echo "$failures failure(s)" >&2
  exit 1
}
