#!/usr/bin/env bash
# Installs what is missing, builds the unit tests (host) and sysreport.exe
# (mingw), and runs every test. The Wine tests run the 32-bit exe where Wine's
# 32-bit loader can run; where the kernel cannot run 32-bit programs (or with
# SYSREPORT_WINE=64) they run a 64-bit build of the same sources (mingw64).
# Ends with one summary line; the exit status is 0 only when every build and
# every test passed.
set -u
cd "$(dirname "$0")" || exit 1
. tools/setup.sh
sysreport_install || {
  echo "test.sh: installing the build and test tools failed"
  exit 1
}

passed=0
failed=0
broken=""
# run_preset PRESET [CTEST ARGS...]: build, test, and add up the results.
run_preset() {
  local preset=$1 log summary total bad
  shift
  echo "== $preset $*"
  if ! cmake --preset "$preset" >/dev/null || ! cmake --build --preset "$preset"; then
    broken="$broken $preset"
    return
  fi
  log=$(mktemp)
  ctest --preset "$preset" "$@" 2>&1 | tee "$log"
  summary=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  rm -f "$log"
  [ -n "$summary" ] || {
    broken="$broken $preset"
    return
  }
  total=$(echo "$summary" | sed -E 's/.* out of ([0-9]+).*/\1/')
  bad=$(echo "$summary" | sed -E 's/.*, ([0-9]+) tests? failed.*/\1/')
  passed=$((passed + total - bad))
  failed=$((failed + bad))
}

# The style tools, each a check of its own: clang-format on all C and C++,
# shfmt and shellcheck on the shell scripts, and no line of the sources,
# tests or scripts longer than the column limit.
check_style() {
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    echo "test.sh: style check failed: $what"
    failed=$((failed + 1))
  fi
}
long_lines() {
  local limit
  limit=$(sed -n 's/^ColumnLimit: *//p' .clang-format)
  ! awk -v limit="$limit" 'length($0) > limit { print FILENAME ":" FNR ": longer than " limit; found = 1 }
    END { exit !found }' "$@"
}
mapfile -t c_files < <(git ls-files '*.c' '*.cpp' '*.h')
mapfile -t shell_files < <(git ls-files '*.sh' .ci/run)
mapfile -t test_files < <(git ls-files tests)
echo "== style"
check_style clang-format clang-format --dry-run --Werror "${c_files[@]}"
check_style shfmt shfmt -d "${shell_files[@]}"
check_style shellcheck shellcheck "${shell_files[@]}"
check_style "line length" long_lines "${c_files[@]}" "${shell_files[@]}" "${test_files[@]}"

run_preset host
if [ "${SYSREPORT_WINE:-}" != 64 ] && sysreport_wine32_works; then
  wine_on="the 32-bit sysreport.exe"
  run_preset mingw
else
  wine_on="the 64-bit build (Wine's 32-bit loader cannot run here)"
  [ "${SYSREPORT_WINE:-}" = 64 ] && wine_on="the 64-bit build (SYSREPORT_WINE=64)"
  run_preset mingw -LE wine
  run_preset mingw64
fi

echo "test.sh: the Wine tests ran on $wine_on"
[ -z "$broken" ] || echo "test.sh: build or test run broken in:$broken"
echo "test.sh: $passed passed, $failed failed"
[ -z "$broken" ] && [ "$failed" -eq 0 ]
