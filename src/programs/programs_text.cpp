#include "programs/programs_text.h"

#include <stdio.h>
#include <string.h>

static const char kUnknownText[] = "Unknown";
// 100-nanosecond intervals in a day, and the days from 1601-01-01 to 1970-01-01.
static const uint64_t kFiletimeDay = 864000000000ull;
static const int32_t kDays1601To1970 = 134774;

static int fold(int c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

static int is_digit(int c) { return c >= '0' && c <= '9'; }

static int is_alnum(int c) {
  c = fold(c);
  return is_digit(c) || (c >= 'a' && c <= 'z');
}

// Whether text begins with prefix, without regard to ASCII case.
static int starts_with(const char *text, const char *prefix) {
  for (; *prefix; ++text, ++prefix)
    if (fold((unsigned char)*text) != fold((unsigned char)*prefix)) return 0;
  return 1;
}

static int same_text(const char *a, const char *b) { return starts_with(a, b) && a[strlen(b)] == '\0'; }

EntryKind entry_kind(const char *display_name, uint32_t system_component, int has_parent, const char *release_type) {
  if (!display_name || !*display_name || system_component == 1) return kEntryHidden;
  if (has_parent) return kEntryUpdate;
  if (release_type && (same_text(release_type, "Update") || same_text(release_type, "Hotfix") ||
                       same_text(release_type, "Security Update")))
    return kEntryUpdate;
  return kEntryProgram;
}

// The number of 1 to 9 digits at text, ended by a character that is not a
// digit; 0 otherwise.
static uint32_t digits_value(const char *text) {
  uint32_t value = 0;
  int count = 0;
  for (; is_digit(text[count]); ++count) {
    if (count == 9) return 0;
    value = value * 10 + (uint32_t)(text[count] - '0');
  }
  return value;
}

uint32_t kb_number(const char *text, int q_number) {
  if (q_number && fold(text[0]) == 'q' && digits_value(text + 1)) {
    const char *end = text + 1;
    while (is_digit(*end)) ++end;
    if (!is_alnum((unsigned char)*end)) return digits_value(text + 1);
  }
  for (const char *p = text; *p; ++p) {
    if (p != text && is_alnum((unsigned char)p[-1])) continue;
    if (fold(p[0]) == 'k' && fold(p[1]) == 'b') {
      uint32_t value = digits_value(p + 2);
      if (value) return value;
    }
  }
  return 0;
}

static const char kRollupStem[] = "Package_for_RollupFix";

// Whether the package name's part before its first '~' is the rollup's.
static int is_rollup(const char *package) {
  return starts_with(package, kRollupStem) &&
         (package[sizeof kRollupStem - 1] == '~' || !package[sizeof kRollupStem - 1]);
}

int cbs_package_installed(const char *package, uint32_t current_state) {
  return (current_state == 0x70 || current_state == 0x80) && cbs_update_package(package);
}

int cbs_update_package(const char *package) {
  // The parts after the first '~' are a key token, a processor, a language
  // and a version: none holds a KB number.
  return starts_with(package, "Package_") && (is_rollup(package) || kb_number(package, 0));
}

void cbs_update_name(const char *package, char *name) {
  char text[kValueTextSize];
  size_t length = 0;
  for (; package[length] && package[length] != '~' && length < sizeof text - 1; ++length)
    text[length] = package[length];
  text[length] = '\0';
  const char *version = NULL;
  for (const char *p = package; *p; ++p)
    if (*p == '~') version = p;
  if (is_rollup(package) && version && version[1] && length + strlen(version) < sizeof text) {
    text[length] = ' ';
    strcpy(text + length + 1, version + 1);
  }
  clean_text(name, kValueTextSize, text);
}

void install_date_text(const char *install_date, char *date) {
  date[0] = '\0';
  if (!install_date || strlen(install_date) != 8) return;
  // Eight digits from 1980 on, or digits_value gives less.
  uint32_t value = digits_value(install_date);
  unsigned year = value / 10000;
  unsigned month = value / 100 % 100;
  unsigned day = value % 100;
  // A day that does not exist comes back from the count as another.
  int32_t same_year;
  unsigned same_month;
  unsigned same_day;
  civil_from_days(days_from_civil((int32_t)year, month, day), &same_year, &same_month, &same_day);
  if (year < 1980 || month < 1 || month > 12 || day < 1 || same_month != month || same_day != day) return;
  sprintf(date, "%04u-%02u-%02u", year, month, day);
}

void filetime_date_text(uint64_t filetime, char *date) {
  date[0] = '\0';
  int32_t year;
  unsigned month;
  unsigned day;
  civil_from_days((int32_t)(filetime / kFiletimeDay) - kDays1601To1970, &year, &month, &day);
  if (filetime == 0 || year > 9999) return;
  sprintf(date, "%04d-%02u-%02u", (int)year, month, day);
}

static const char *known(const char *text) { return text && *text ? text : kUnknownText; }

size_t format_program_line(char *line, const char *name, const char *version, const char *publisher,
                           const char *installed, const char *bits, const char *scope) {
  return (size_t)sprintf(line, "%s\t%s\t%s\t%s\t%s\t%s", known(name), known(version), known(publisher),
                         known(installed), known(bits), known(scope));
}

size_t format_update_line(char *line, uint32_t kb, const char *installed, const char *source, const char *name) {
  char number[16] = "";
  if (kb) sprintf(number, "KB%u", (unsigned)kb);
  return (size_t)sprintf(line, "%s\t%s\t%s\t%s", known(number), known(installed), source, known(name));
}

// Compares the texts up to their first tab or NUL without regard to ASCII
// case.
static int compare_folded(const char *a, const char *b) {
  for (;; ++a, ++b) {
    int x = *a == '\t' ? 0 : fold((unsigned char)*a);
    int y = *b == '\t' ? 0 : fold((unsigned char)*b);
    if (x != y || !x) return x - y;
  }
}

int compare_program_lines(const char *a, const char *b) {
  int order = compare_folded(a, b);
  for (; !order && *a; ++a, ++b) order = (unsigned char)*a - (unsigned char)*b;
  return order ? order : (unsigned char)*a - (unsigned char)*b;
}

int compare_entries(const ListEntry *a, const ListEntry *b, const char *pool) {
  if ((a->source == kProgramLine) != (b->source == kProgramLine)) return a->source == kProgramLine ? -1 : 1;
  if (a->kb != b->kb) {
    if (!a->kb || !b->kb) return a->kb ? -1 : 1;
    return a->kb < b->kb ? -1 : 1;
  }
  int order = compare_program_lines(pool + a->text, pool + b->text);
  return order ? order : (int)a->source - (int)b->source;
}

void sort_order(uint32_t *order, size_t count, int (*compare)(const void *, uint32_t, uint32_t), const void *context) {
  // Heapsort: first the heap, from the last parent up, then the largest
  // moved to the end, one at a time.
  for (size_t end = count, start = count / 2; end > 1;) {
    uint32_t value;
    if (start > 0) {
      value = order[--start];
    } else {
      value = order[--end];
      order[end] = order[0];
    }
    size_t parent = start;
    for (size_t child; (child = 2 * parent + 1) < end; parent = child) {
      if (child + 1 < end && compare(context, order[child], order[child + 1]) < 0) ++child;
      if (compare(context, value, order[child]) >= 0) break;
      order[parent] = order[child];
    }
    order[parent] = value;
  }
}

int user_hive_listed(const char *key_name) {
  size_t length = strlen(key_name);
  static const char kClasses[] = "_Classes";
  if (length >= sizeof kClasses - 1 && same_text(key_name + length - (sizeof kClasses - 1), kClasses)) return 0;
  return !same_text(key_name, ".DEFAULT");
}

void scope_text(const char *domain, const char *name, const char *sid, char *scope) {
  char text[2 * kValueTextSize];
  if (!name || !*name)
    clean_text(scope, kValueTextSize, sid);
  else {
    sprintf(text, "%.1000s%s%.1000s", domain ? domain : "", domain && *domain ? "\\" : "", name);
    clean_text(scope, kValueTextSize, text);
  }
}
