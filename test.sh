#!/usr/bin/env bash
# Installs what is missing, builds every preset (host, host-asan, mingw, fuzz)
# and runs every test. Ends with one summary line; the exit status is 0 only when
# every build and every test passed.
set -u
cd "$(dirname "$0")" || exit 1
. tools/setup.sh
sysreport_install || { echo "test.sh: installing the build and test tools failed"; exit 1; }

# Warnings are errors here, as in CI.
export SYSREPORT_WERROR=ON

passed=0
failed=0
skipped=0
broken=""
for preset in host host-asan mingw fuzz; do
  echo "== $preset"
  if ! cmake --preset "$preset" >/dev/null || ! cmake --build --preset "$preset"; then
    broken="$broken $preset"; continue
  fi
  log=$(mktemp)
  ctest --preset "$preset" 2>&1 | tee "$log"
  summary=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  # ctest counts a skipped test as passed; it lists them as "(Skipped)".
  skips=$(grep -cE '^[[:space:]]+[0-9]+ - .* \(Skipped\)$' "$log" || true)
  rm -f "$log"
  if [ -z "$summary" ]; then
    broken="$broken $preset"; continue
  fi
  total=$(echo "$summary" | sed -E 's/.* out of ([0-9]+).*/\1/')
  bad=$(echo "$summary" | sed -E 's/.*, ([0-9]+) tests? failed.*/\1/')
  passed=$((passed + total - bad - skips))
  failed=$((failed + bad))
  skipped=$((skipped + skips))
done

[ -z "$broken" ] || echo "test.sh: build or test run broken in:$broken"
echo "test.sh: $passed passed, $failed failed, $skipped skipped"
[ -z "$broken" ] && [ "$failed" -eq 0 ]
