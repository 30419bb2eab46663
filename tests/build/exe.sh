#!/usr/bin/env bash
# File checks of sysreport.exe:  exe.sh CHECK EXE SOURCE_DIR BUILD_DIR
set -u
check=$1
exe=$2
src=$3
build=$4
status=0
fail() {
  echo "FAIL: $*" >&2
  status=1
}
headers=$(TZ=UTC0 i686-w64-mingw32-objdump -p "$exe") || exit 1
imports=$(awk '/^[^ \t]/ { dll = "" } /DLL Name:/ { dll = tolower($3) }
  dll && /^\t[0-9a-f]+\t/ { print dll "!" (NF > 2 ? $3 : "#" $2) }' <<<"$headers" | sort)
cache() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }

case $check in
  pe)
    set -- Magic 010b Subsystem 00000003 MajorOSystemVersion 4 MinorOSystemVersion 0 \
      MajorSubsystemVersion 4 MinorSubsystemVersion 0
    while (($#)); do
      [ "$(awk -v k="$1" '$1 == k { print $2 }' <<<"$headers")" = "$2" ] || fail "$1 is not $2"
      shift 2
    done
    grep -qx $'Time/Date\t\tThu Jan  1 00:00:00 1970' <<<"$headers" || fail "the header has a time stamp"
    if grep -qiE '^(libgcc|libstdc|libwinpthread|mingw)' <<<"$imports"; then
      fail "a compiler runtime DLL is imported"
    fi
    grep -qx 'msvcrt.dll!ctime' <<<"$imports" || fail "plain ctime is not imported from msvcrt.dll"
    if grep -qE '!_ctime(32|64)$' <<<"$imports"; then fail "_ctime32 or _ctime64 is imported"; fi
    grep -qx $'\tsymbols stripped' <<<"$headers" || fail "not stripped"
    if i686-w64-mingw32-objdump -h "$exe" | grep -q '\.debug'; then fail "debug sections left"; fi
    [ "$(stat -c %s "$exe")" -le 40960 ] || fail "larger than 40 KB"
    ;;
  imports)
    allowed=$(grep -vE '^(#|$)' "$src/tests/build/imports.allow" | awk '{ print $1 }' | sort)
    comm -23 <(echo "$imports") <(echo "$allowed") | sed 's/^/not in imports.allow: /' | grep . >&2 && status=1
    comm -13 <(echo "$imports") <(echo "$allowed") | sed 's/^/listed, not imported: /' | grep . >&2 && status=1
    both=$imports$'\n'$allowed
    if grep -vE '^(kernel32|advapi32|msvcrt)\.dll![A-Za-z_]\w*$' <<<"$both" >&2; then
      fail "imported by ordinal, or from a DLL not every supported Windows has"
    fi
    if grep -E 'GetDiskFreeSpaceEx|GetProductInfo' <<<"$both" >&2; then fail "must be bound at run time"; fi
    ;;
  code)
    # Integer instructions of the 80386; the rest (486 and later, x87, MMX, SSE)
    # would stop the program on some processor that ran Windows 95.
    instructions=(
      'aa[adms]|adc|add|and|bound|bs[fr]|bt[crs]?|l?call|cbtw|cwtl|cwtd|cltd|cl[cdi]|cmc|cmps?|daa|das|dec|div'
      'enter|idiv|imul|inc|int3?|into|j(mp|n?[abceglopsz]|n?[abgl]e|p[eo]|e?cxz)|ljmp|lahf|l[defgs]s|lea|leave'
      'lods|loop(n?[ez])?|movs?|movs[bw][wl]|movz[bw][wl]|mul|neg|not|or|pop|popa|popf|push|pusha|pushf|rc[lr]'
      'l?ret|ro[lr]|sahf|sa[lr]|sbb|scas|set(n?[abceglopsz]|n?[abgl]e|p[eo])|sh[lr]d?|st[cdi]|stos|sub|test'
      'xchg|xlat|xor'
    )
    i386="($(IFS='|' && echo "${instructions[*]}"))[bwl]?"
    bad=$(i686-w64-mingw32-objdump -d --no-show-raw-insn "$exe" | sed -n 's/^ *[0-9a-f]*:\t//p' |
      grep -vE "^((lock|rep(n?[ez])?|data16|addr16|[c-gs]s) +)*($i386( |$)|nop$|\(bad\))")
    if [ -n "$bad" ]; then
      fail "$(wc -l <<<"$bad") instructions an 80386 lacks:"
      sort <<<"$bad" | uniq -c | sort -rn | head -20 >&2
    fi
    ;;
  resources)
    rc=$(i686-w64-mingw32-windres -i "$exe" -O rc) || exit 1
    for want in 'BLOCK "080904E4"' 'VALUE "FileVersion", "1.0.1"' 'VALUE "ProductVersion", "1.0.1"' \
      'VALUE "FileDescription", "Brief information about your hardware and operating system."' \
      'VALUE "OriginalFilename", "Quorvel"' 'VALUE "ProductName", "Quorvel"' 'Has 4 elements'; do
      grep -qF "$want" <<<"$rc" || fail "no $want"
    done
    icons="$(grep -c RT_GROUP_ICON <<<"$rc") $(grep -c RT_ICON <<<"$rc")"
    [ "$icons" = "1 4" ] || fail "not one icon group of four images"
    # The application manifest, declaring Vista, 7, 8, 8.1 and 10/11.
    manifest=$(sed -n '/^1 24 /,/^END$/p' <<<"$rc")
    [ -n "$manifest" ] || fail "no manifest (resource type 24, id 1)"
    for id in e2011457-1546-43c5-a5fe-008deee3d3f0 35138b9a-5d96-4fbd-8e2d-a2440225f93a \
      4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38 1f676c76-80e1-4239-95bb-83d0f6d0da78 8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a; do
      grep -qF "<supportedOS Id=\"\"{$id}\"\"/>" <<<"$manifest" || fail "the manifest lacks supportedOS $id"
    done
    ;;
  rebuild)
    tree=$(mktemp -d)
    trap 'rm -rf "$tree"' EXIT
    cmake -S "$src" -B "$tree" -G "$(cache CMAKE_GENERATOR)" -DCMAKE_BUILD_TYPE="$(cache CMAKE_BUILD_TYPE)" \
      -DCMAKE_TOOLCHAIN_FILE="$(cache CMAKE_TOOLCHAIN_FILE)" >/dev/null || exit 1
    cmake --build "$tree" --target sysreport >/dev/null || exit 1
    cmp "$exe" "$tree/sysreport.exe" || fail "a second clean build differs"
    ;;
  package)
    zip=$build/sysreport-1.0.1-win32.zip
    tree=$(mktemp -d)
    trap 'rm -rf "$tree"' EXIT
    rm -f "$zip"
    cmake --build "$build" --target package >/dev/null || exit 1
    cd "$tree" || exit 1
    cmake -E tar xf "$zip" || exit 1
    contents=$(echo ./*)
    [ "$contents" = "./LICENSE.txt ./README.txt ./sysreport.exe" ] || fail "the package holds: $contents"
    cmp "$exe" sysreport.exe || fail "the packed program differs from the build"
    # Notepad on Windows 95 to XP: every line ended by CR LF, no UTF-8.
    for text in LICENSE.txt README.txt; do
      if grep -qv $'\r$' "$text"; then fail "$text: a line not ended by CR LF"; fi
      if LC_ALL=C grep -qP '[\xC2-\xF4][\x80-\xBF]' "$text"; then fail "$text: UTF-8 left in it"; fi
    done
    [ "$(tr -d '\r' <README.txt | wc -l)" = "$(wc -l <"$src/README.md")" ] || fail "README.txt lost lines"
    ;;
  *) fail "no check $check" ;;
esac
exit $status
