#!/usr/bin/env bash
# The import table of sysreport.exe against the allow-list beside this script:
# what the program imports when it loads must be there on Windows 95. Fails on
# an import the list does not name, on a list entry the program no longer
# imports, on a DLL other than kernel32, advapi32, user32 and msvcrt, on an
# import by ordinal or a delay-loaded import, and on functions known to be
# newer than Windows 95 or its msvcrt.dll, in the imports or in the list.
#   imports.sh EXE SOURCE_DIR
set -u
exe=$1
allow="$2/tests/build/imports.allow"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

headers=$(i686-w64-mingw32-objdump -p "$exe") || { echo "cannot read $exe" >&2; exit 1; }

# One import a line, "dll!function" with the DLL in lower case; an import by
# ordinal as "dll!#ordinal".
imports=$(echo "$headers" | awk '
  /^The Import Tables/ { on = 1; next }
  on && /^[^ \t]/ { on = 0 }
  on && /DLL Name:/ { dll = tolower($3); next }
  on && dll != "" && /^\t[0-9a-f]+\t/ {
    if (NF >= 3) print dll "!" $3; else print dll "!#" $2
  }' | sort)
[ -n "$imports" ] || fail "no imports read from $exe"

# The allow-list's entries; each needs a reason beside it.
entries=$(grep -vE '^[[:space:]]*(#|$)' "$allow" | awk '{ print $1 }' | sort)
while read -r entry reason; do
  [[ "$entry" =~ ^[a-z0-9_]+\.dll![A-Za-z0-9_]+$ ]] || fail "allow-list entry not in dll!function form: $entry"
  [ -n "$reason" ] || fail "allow-list entry without a reason: $entry"
done < <(grep -vE '^[[:space:]]*(#|$)' "$allow")
duplicates=$(echo "$entries" | uniq -d)
[ -z "$duplicates" ] || fail "listed twice: $(echo $duplicates)"

while read -r import; do
  case "$import" in
    *'!#'*) fail "imported by ordinal, which differs between Windows versions: $import" ;;
  esac
  echo "$entries" | grep -qxF -- "$import" || fail "not in the allow-list: $import"
done <<<"$imports"
while read -r entry; do
  echo "$imports" | grep -qxF -- "$entry" || fail "in the allow-list but not imported (remove it): $entry"
done <<<"$entries"

# The list itself may name only the four DLLs that every supported system
# has; netapi32, setupapi and cfgmgr32 are bound at run time.
while read -r entry; do
  case "${entry%%!*}" in
    kernel32.dll | advapi32.dll | user32.dll | msvcrt.dll) ;;
    *) fail "a DLL that not every supported Windows has: $entry" ;;
  esac
done <<<"$entries"

# Functions that Windows 95's kernel32 lacks (GetDiskFreeSpaceExA came with
# OSR2, the others with Windows 98, NT 4.0 or later), and runtime functions
# newer than the msvcrt.dll of Windows 98 and NT 4.0 that MinGW's runtime or
# C++ library parts would pull in.
late_functions="
kernel32.dll!GetDiskFreeSpaceExA kernel32.dll!IsDebuggerPresent
kernel32.dll!InterlockedCompareExchange kernel32.dll!TryEnterCriticalSection
kernel32.dll!InitializeCriticalSectionAndSpinCount kernel32.dll!GetFileAttributesExA
kernel32.dll!SwitchToThread kernel32.dll!GetLongPathNameA kernel32.dll!IsProcessorFeaturePresent
kernel32.dll!GetModuleHandleExA kernel32.dll!GetModuleHandleExW kernel32.dll!AddVectoredExceptionHandler
kernel32.dll!GetTickCount64 kernel32.dll!FlsAlloc kernel32.dll!InitializeSListHead
kernel32.dll!GetNativeSystemInfo kernel32.dll!CreateWaitableTimerA
msvcrt.dll!_ctime32 msvcrt.dll!_ctime64 msvcrt.dll!_time64 msvcrt.dll!_localtime64 msvcrt.dll!_gmtime64
msvcrt.dll!__iob_func msvcrt.dll!___lc_codepage_func msvcrt.dll!___mb_cur_max_func
msvcrt.dll!_set_invalid_parameter_handler msvcrt.dll!_get_invalid_parameter_handler
msvcrt.dll!rand_s msvcrt.dll!_lock_file msvcrt.dll!_unlock_file msvcrt.dll!__acrt_iob_func"
for late in $late_functions; do
  echo "$imports" | grep -qxF -- "$late" && fail "imported, and newer than Windows 95: $late"
  echo "$entries" | grep -qxF -- "$late" && fail "in the allow-list, and newer than Windows 95: $late"
done

# A second opinion on the runtime imports: the export list of msvcrt40.dll,
# the runtime of Visual C++ 4.0 that came before the msvcrt.dll of NT 4.0,
# as Wine rebuilds it (where Wine is installed).
old_runtime=""
for candidate in /usr/lib/i386-linux-gnu/wine/i386-windows/msvcrt40.dll /usr/lib/wine/i386-windows/msvcrt40.dll \
  /usr/lib32/wine/i386-windows/msvcrt40.dll /usr/lib/i386-linux-gnu/wine/msvcrt40.dll; do
  [ -f "$candidate" ] && { old_runtime=$candidate; break; }
done
if [ -n "$old_runtime" ]; then
  old_exports=$(i686-w64-mingw32-objdump -p "$old_runtime" |
    awk '/\[Ordinal\/Name Pointer\] Table/ { on = 1; next } on && /^\t\[/ { print $NF }')
  [ -n "$old_exports" ] || fail "no exports read from $old_runtime"
  while read -r import; do
    case "$import" in
      msvcrt.dll!*)
        echo "$old_exports" | grep -qxF -- "${import#msvcrt.dll!}" || fail "not exported by msvcrt40.dll: $import" ;;
    esac
  done <<<"$imports"
else
  echo "note: no msvcrt40.dll from Wine found; runtime imports checked against the lists alone"
fi

# Delay-loaded imports are not in the table read above.
delay=$(echo "$headers" | awk '/Delay Import Directory/ { print $3; exit }')
[ "$delay" = 00000000 ] || fail "the program has delay-loaded imports (size $delay)"

echo "imports: $(echo "$imports" | wc -l) functions from $(echo "$imports" | cut -d! -f1 | sort -u | tr '\n' ' ')"
[ "$failures" -eq 0 ] && echo PASS
[ "$failures" -eq 0 ]
