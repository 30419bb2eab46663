#!/usr/bin/env bash
# Installs what is missing, checks the style, builds and runs every test: the unit tests (host), both programs' file
# checks and their runs under Wine (mingw). Where the kernel cannot run 32-bit programs, or with SYSREPORT_WINE=64,
# the Wine tests run the 64-bit build (mingw64). Ends with one summary line; exits 0 only when all passed.
set -u
cd "$(dirname "$0")" || exit 1
. tools/setup.sh
sysreport_install || exit 1
passed=0
failed=0
skipped=0
broken=""
# count NAME COMMAND...: one check, passed when the command succeeds.
count() {
  if "${@:2}"; then
    passed=$((passed + 1))
  else
    echo "test.sh: check failed: $1"
    failed=$((failed + 1))
  fi
}
# run_preset PRESET [CTEST ARGS...]: build, test, and add up ctest's results.
run_preset() {
  local preset=$1 summary='([0-9]+) tests? failed out of ([0-9]+)'
  shift
  echo "== $preset $*"
  if cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" &&
    ctest --preset "$preset" "$@" 2>&1 | tee "build/$preset/ctest.log" &&
    [[ $(grep -E '^[0-9]+% tests passed' "build/$preset/ctest.log") =~ $summary ]]; then
    failed=$((failed + BASH_REMATCH[1]))
    # ctest counts a skipped test among the passed ones; it says so on its line.
    local skips
    skips=$(grep -c '\*\*\*Skipped' "build/$preset/ctest.log")
    passed=$((passed + BASH_REMATCH[2] - BASH_REMATCH[1] - skips))
    skipped=$((skipped + skips))
  else
    broken="$broken $preset"
  fi
}
long_lines() {
  ! awk -v limit="$(sed -n 's/^ColumnLimit: *//p' .clang-format)" \
    'length($0) > limit { print FILENAME ":" FNR ": too long"; found = 1 } END { exit !found }' "$@"
}
mapfile -t c_files < <(git ls-files '*.c' '*.cpp' '*.h')
mapfile -t shell_files < <(git ls-files '*.sh' .ci/run)
mapfile -t test_files < <(git ls-files tests)
echo "== style"
count clang-format clang-format --dry-run --Werror "${c_files[@]}"
count shfmt shfmt -d "${shell_files[@]}"
count shellcheck shellcheck "${shell_files[@]}"
count "line length" long_lines "${c_files[@]}" "${shell_files[@]}" "${test_files[@]}"

run_preset host
if [ "${SYSREPORT_WINE:-}" != 64 ] && sysreport_wine32_works; then
  wine_on="the 32-bit sysreport.exe"
  run_preset mingw
else
  wine_on="the 64-bit build (SYSREPORT_WINE=64, or Wine's 32-bit loader cannot run here)"
  run_preset mingw -LE wine
  run_preset mingw64
fi
echo "test.sh: the Wine tests ran on $wine_on"
[ -z "$broken" ] || echo "test.sh: build or test run broken in:$broken"
echo "test.sh: $passed passed, $failed failed, $skipped skipped"
[ -z "$broken" ] && [ "$failed" -eq 0 ]
