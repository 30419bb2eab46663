// The programs section's rules over plain values: which Uninstall entries are
// programs and which updates, KB numbers from names, dates, and the text of
// the section's lines.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "report/text.h"

// A registry text is read up to this many bytes; a longer one is cut here.
// Names of 255 characters and more stay whole.
static const int kValueTextSize = 1024;

// What an Uninstall entry is, as Programs and Features decides it.
enum EntryKind { kEntryHidden, kEntryProgram, kEntryUpdate };

// The kind of an entry from its values: display_name "" or NULL where it has
// none, system_component the DWORD value (0 where absent), has_parent whether
// it has a ParentKeyName, release_type "" or NULL where absent.
EntryKind entry_kind(const char *display_name, uint32_t system_component, int has_parent, const char *release_type);

// The KB number in text: "KB" (either case) and 1 to 9 digits, not preceded by
// a letter or digit; 0 where there is none. A leading "Q" and digits count too
// where q_number is set (Windows 2000's hotfix keys, Q246009).
uint32_t kb_number(const char *text, int q_number);

// Whether a Component Based Servicing package is an update by its name:
// Package_..._for_KB<n>~... or Package_for_RollupFix~....
int cbs_update_package(const char *package);

// Whether such a package counts as installed: its CurrentState is 0x70
// (installed) or 0x80 (permanent).
int cbs_package_installed(const char *package, uint32_t current_state);

// Writes the update's name of a CBS package into name (kValueTextSize bytes):
// the package name up to its first '~'; a rollup's followed by a blank and the
// version from its last '~' on ("Package_for_RollupFix 19041.3803.1.7").
void cbs_update_name(const char *package, char *name);

// Writes an Uninstall InstallDate (YYYYMMDD, a real calendar day from 1980 on)
// as YYYY-MM-DD into date (11 bytes); "" for anything else.
void install_date_text(const char *install_date, char *date);

// Writes the calendar day of a FILETIME (100 ns since 1601, already in local
// time) as YYYY-MM-DD into date (11 bytes); "" for 0 or a day past 9999.
void filetime_date_text(uint64_t filetime, char *date);

// Writes one Programs line (without its line end) into line, fields apart by
// a tab in the header's order; each field "" or NULL reads "Unknown". Returns
// its length. line holds at least 6 * kValueTextSize bytes.
size_t format_program_line(char *line, const char *name, const char *version, const char *publisher,
                           const char *installed, const char *bits, const char *scope);

// Writes one Updates line (without its line end) into line (kValueTextSize +
// 40 bytes): KB<n> or "Unknown" for kb 0, the date, the source and the name.
size_t format_update_line(char *line, uint32_t kb, const char *installed, const char *source, const char *name);

// Orders two Programs lines by name without regard to ASCII case, then by
// every byte: <0, 0 or >0.
int compare_program_lines(const char *a, const char *b);

// A program or an update as collected. An update's source ranks which of
// several lines for one KB is printed.
enum EntrySource { kFromCbs, kFromUninstall, kFromHotfix, kProgramLine };
struct ListEntry {
  uint32_t text;  // offset in the section's text pool: a program's whole line, an update's name
  uint32_t kb;    // 0 where unknown
  char installed[11];
  unsigned char source;  // an EntrySource
};

// Orders programs before updates; programs as compare_program_lines does,
// updates by KB (unknown last), then name as programs, then source.
int compare_entries(const ListEntry *a, const ListEntry *b, const char *pool);

// Sorts order[0..count) (indices or offsets) by compare(context, x, y) in
// place; compare must be a total order (no two values equal) for the result
// to be one order only.
void sort_order(uint32_t *order, size_t count, int (*compare)(const void *, uint32_t, uint32_t), const void *context);

// Whether a key of HKEY_USERS is a user's loaded hive to list: not .DEFAULT
// (LocalSystem's hive again, as S-1-5-18) and not a *_Classes hive.
int user_hive_listed(const char *key_name);

// Writes the scope of a user's hive into scope (kValueTextSize bytes):
// DOMAIN\name, or name where the domain is "", or the SID's text where the
// account has no name (name NULL or "").
void scope_text(const char *domain, const char *name, const char *sid, char *scope);
