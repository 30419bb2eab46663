#!/usr/bin/env bash
# File checks of the programs:  exe.sh CHECK EXE SOURCE_DIR BUILD_DIR
# sysreport.exe: Windows 95 and NT 4.0 on an 80386, at most 56 KB; sysreport-table.exe the same, at most 40 KB, with
# imports-table.allow for its own; sysreport64.exe: XP x64, at most 60 KB.
set -u
check=$1 exe=$2 src=$3 build=$4 status=0
fail() {
  echo "FAIL: $*" >&2
  status=1
}
set -- 32 010b 4 0 57344
if [ "${exe##*/}" = sysreport64.exe ]; then set -- 64 020b 5 2 61440; fi
if [ "${exe##*/}" = sysreport-table.exe ]; then set -- 32 010b 4 0 40960; fi
bits=$1
allow=imports.allow
if [ "${exe##*/}" = sysreport-table.exe ]; then allow="imports-table.allow"; fi
headers=$(TZ=UTC0 x86_64-w64-mingw32-objdump -p "$exe") || exit 1
imports=$(awk '/^[^ \t]/ { dll = "" } /DLL Name:/ { dll = tolower($3) }
  dll && /^\t[0-9a-f]+\t/ { print dll "!" (NF > 2 ? $3 : "#" $2) }' <<<"$headers" | sort)

case $check in
  pe)
    for field in "Magic $2" "Subsystem 00000003" "MajorOSystemVersion $3" "MinorOSystemVersion $4" \
      "MajorSubsystemVersion $3" "MinorSubsystemVersion $4"; do
      [ "$(awk -v k="${field% *}" '$1 == k { print $1 " " $2 }' <<<"$headers")" = "$field" ] || fail "not $field"
    done
    grep -qx $'Time/Date\t\tThu Jan  1 00:00:00 1970' <<<"$headers" || fail "the header has a time stamp"
    grep -qx $'\tsymbols stripped' <<<"$headers" || fail "not stripped"
    [ "$(stat -c %s "$exe")" -le "$5" ] || fail "larger than $5 bytes"
    ;;
  imports)
    # The plain ctime of msvcrt, which Windows 95 and NT 4.0 have (a 64-bit time on x64), not _ctime32 or _ctime64.
    allowed=$(awk -v bits="$bits" '!/^(#|$)/ && ($2 == bits || $2 !~ /^(32|64)$/) { print $1 }' \
      "$src/tests/build/$allow" | sort)
    comm -23 <(echo "$imports") <(echo "$allowed") | sed 's/^/not in imports.allow: /' | grep . >&2 && status=1
    comm -13 <(echo "$imports") <(echo "$allowed") | sed 's/^/listed, not imported: /' | grep . >&2 && status=1
    if grep -vE '^(kernel32|advapi32|msvcrt)\.dll![A-Za-z_]\w*$' <<<"$allowed" >&2; then
      fail "imported by ordinal, or from a DLL not every supported Windows has"
    fi
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
    # The version resource, one icon group of four images, and the manifest (type 24, id 1) that lets Windows 8.1
    # and later report their true version.
    rc=$(x86_64-w64-mingw32-windres -i "$exe" -O rc) || exit 1
    grep -qF 'VALUE "ProductVersion", "1.0.1"' <<<"$rc" || fail "no version resource"
    [ "$(grep -c RT_GROUP_ICON <<<"$rc") $(grep -c RT_ICON <<<"$rc")" = "1 4" ] || fail "not one icon group of four"
    grep -q '^1 24 ' <<<"$rc" || fail "no manifest"
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
    files="./LICENSE.txt ./README.txt ./collect.cmd ./sysreport-table.exe ./sysreport.exe ./sysreport64.exe"
    [ "$contents" = "$files" ] ||
      fail "the package holds: $contents"
    # Notepad on Windows 95 to XP, and cmd: every line ended by CR LF, no UTF-8; the README plain text in 78 columns.
    for text in LICENSE.txt README.txt collect.cmd; do
      if grep -qv $'\r$' "$text"; then fail "$text: a line not ended by CR LF"; fi
      if LC_ALL=C grep -qP '[\xC2-\xF4][\x80-\xBF]' "$text"; then fail "$text: UTF-8 left in it"; fi
    done
    if tr -d '\r' <README.txt | grep -nE '.{79}|^ *\||\]\(|`' >&2; then fail "README.txt: Markdown or too wide"; fi
    ;;
  *) fail "no check $check" ;;
esac
exit $status
