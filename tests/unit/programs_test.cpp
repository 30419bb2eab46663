// The programs section's rules, one row per rule and boundary, with the exact value expected.
#include <gtest/gtest.h>
#include <time.h>

#include <algorithm>
#include <string>
#include <vector>

#include "programs/programs_text.h"

// Programs and Features: no name or a system component hidden, a parent or an update release type an update.
TEST(Programs, EntryKind) {
  const struct {
    const char *name;
    uint32_t system_component;
    int has_parent;
    const char *release_type;
    EntryKind kind;
  } rows[] = {
      {"7-Zip", 0, 0, "", kEntryProgram},
      {"", 0, 0, "", kEntryHidden},
      {NULL, 0, 0, NULL, kEntryHidden},
      {"Driver", 1, 0, "", kEntryHidden},
      {"Driver", 2, 0, "", kEntryProgram},
      {"Fix", 1, 1, "Update", kEntryHidden},
      {"Office fix", 0, 1, "", kEntryUpdate},
      {"Fix", 0, 0, "security update", kEntryUpdate},
      {"Fix", 0, 0, "Hotfix", kEntryUpdate},
      {"Fix", 0, 0, "Update Rollup", kEntryProgram},
      {"Pack", 0, 0, "Service Pack", kEntryProgram},
  };
  for (const auto &row : rows)
    EXPECT_EQ(row.kind, entry_kind(row.name, row.system_component, row.has_parent, row.release_type)) << row.name;
}

TEST(Programs, KbNumber) {
  const struct {
    const char *text;
    int q_number;
    uint32_t kb;
  } rows[] = {
      {"Package_for_KB5034122~31bf3856ad364e35~amd64~~19041.3803.1.1", 0, 5034122},
      {"Security Update for Windows XP (KB958644)", 0, 958644},
      {"{90160000-0011-0000-0000-0000000FF1CE}_Office16_{1A}.kb4484104", 0, 4484104},
      {"KB123456789", 0, 123456789},  // nine digits, the most
      {"KB1234567890", 0, 0},
      {"KB", 0, 0},
      {"KB0", 0, 0},
      {"NOKB12", 0, 0},  // inside a word
      {"KBX KB77", 0, 77},
      {"Q246009", 1, 246009},
      {"Q246009", 0, 0},
      {"Q246009a", 1, 0},
      {"Q2 KB5", 1, 2},
  };
  for (const auto &row : rows) EXPECT_EQ(row.kb, kb_number(row.text, row.q_number)) << row.text;
}

TEST(Programs, CbsPackages) {
  const struct {
    const char *package;
    uint32_t state;
    int installed;
    const char *name;
  } rows[] = {
      {"Package_for_KB5034122~31bf3856ad364e35~amd64~~19041.3803.1.1", 0x70, 1, "Package_for_KB5034122"},
      {"Package_1_for_KB5034122~31bf3856ad364e35~amd64~~19041.3803.1.1", 0x80, 1, "Package_1_for_KB5034122"},
      {"Package_for_KB5034122~31bf3856ad364e35~amd64~~19041.3803.1.1", 0x50, 0, NULL},  // superseded
      {"Package_for_KB5034122~31bf3856ad364e35~amd64~~19041.3803.1.1", 0x40, 0, NULL},  // staged
      {"Package_for_KB5034122~31bf3856ad364e35~amd64~~19041.3803.1.1", 0x71, 0, NULL},
      {"Package_for_RollupFix~31bf3856ad364e35~amd64~~19041.3803.1.7", 0x70, 1, "Package_for_RollupFix 19041.3803.1.7"},
      {"Package_for_RollupFix", 0x70, 1, "Package_for_RollupFix"},
      {"Package_for_RollupFixes~31bf3856ad364e35~amd64~~1.0", 0x70, 0, NULL},
      {"Package_for_ServicingStack_3800~31bf3856ad364e35~amd64~~19041.3800.1.0", 0x70, 0, NULL},
      {"Microsoft-Windows-Client-Features-Package~31bf3856ad364e35~amd64~~KB77", 0x70, 0, NULL},
      {"Package_for_KB\x01"
       "5~x",
       0x70, 0, NULL},
      {"Package_for_KB5\t~x", 0x70, 1, "Package_for_KB5."},
  };
  for (const auto &row : rows) {
    EXPECT_EQ(row.installed, cbs_package_installed(row.package, row.state)) << row.package;
    char name[kValueTextSize];
    cbs_update_name(row.package, name);
    if (row.name) EXPECT_STREQ(row.name, name);
  }
}

static std::string install_date(const char *text) {
  char date[11];
  install_date_text(text, date);
  return date;
}

TEST(Programs, InstallDate) {
  EXPECT_EQ("2024-01-09", install_date("20240109"));
  EXPECT_EQ("2024-02-29", install_date("20240229"));
  EXPECT_EQ("", install_date("20230229"));
  EXPECT_EQ("2000-02-29", install_date("20000229"));
  EXPECT_EQ("", install_date("21000229"));
  EXPECT_EQ("1980-01-01", install_date("19800101"));
  EXPECT_EQ("", install_date("19791231"));
  EXPECT_EQ("", install_date("20241301"));
  EXPECT_EQ("", install_date("20240431"));
  EXPECT_EQ("", install_date("20240100"));
  EXPECT_EQ("", install_date("2024-01-09"));
  EXPECT_EQ("", install_date("202401091"));
  EXPECT_EQ("", install_date("2024010"));
  EXPECT_EQ("", install_date("1/9/2024"));
  EXPECT_EQ("", install_date(""));
  EXPECT_EQ("", install_date(NULL));
}

// Every 11th day from 1601 to 9999 (each month and leap day in turn), at its last 100 ns and now and then at noon,
// against the C library's calendar.
TEST(Programs, FiletimeDateAgreesWithTheCalendar) {
  const uint64_t day = 864000000000ull;
  const int64_t days_1601_to_1970 = 134774;
  char date[11];
  for (int64_t n = 0; n < 3067671; n += n + 11 < 3067671 ? 11 : 1) {
    time_t seconds = (time_t)((n - days_1601_to_1970) * 86400);
    struct tm utc;
    gmtime_r(&seconds, &utc);
    char expected[16];
    snprintf(expected, sizeof expected, "%04d-%02d-%02d", utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday);
    filetime_date_text((uint64_t)n * day + day - 1, date);
    ASSERT_STREQ(expected, date);
    if (n % 97 == 1) {
      filetime_date_text((uint64_t)n * day + day / 2, date);
      ASSERT_STREQ(expected, date);
    }
  }
  filetime_date_text(3067671 * day, date);  // 10000-01-01
  EXPECT_STREQ("", date);
  filetime_date_text(0, date);
  EXPECT_STREQ("", date);
  filetime_date_text(~0ull, date);
  EXPECT_STREQ("", date);
}

TEST(Programs, CleanTextAndLines) {
  std::string long_name(1500, 'n');
  char text[kValueTextSize];
  clean_text(long_name.c_str(), text);
  EXPECT_EQ(std::string(1023, 'n'), text);
  clean_text("a\tb\r\n\x7f\x1f\xe9 ok", text);
  EXPECT_STREQ("a.b....\xe9 ok", text);
  char line[6 * kValueTextSize];
  format_program_line(line, "7-Zip 23.01 (x64)", "23.01", "Igor Pavlov", "2024-01-09", "64-bit", "Machine");
  EXPECT_STREQ("7-Zip 23.01 (x64)\t23.01\tIgor Pavlov\t2024-01-09\t64-bit\tMachine", line);
  format_program_line(line, "Tool, \"v2\"; (beta)", "", NULL, "", "32-bit", "PC\\anna");
  EXPECT_STREQ("Tool, \"v2\"; (beta)\tUnknown\tUnknown\tUnknown\t32-bit\tPC\\anna", line);
  format_update_line(line, 5034122, "2024-01-09", "CBS", "Package_for_KB5034122");
  EXPECT_STREQ("KB5034122\t2024-01-09\tCBS\tPackage_for_KB5034122", line);
  format_update_line(line, 0, "", "Uninstall", "");
  EXPECT_STREQ("Unknown\tUnknown\tUninstall\tUnknown", line);
}

TEST(Programs, UserHivesAndScopes) {
  EXPECT_TRUE(user_hive_listed("S-1-5-21-1-2-3-1001"));
  EXPECT_TRUE(user_hive_listed("S-1-5-18"));
  EXPECT_FALSE(user_hive_listed("S-1-5-21-1-2-3-1001_Classes"));
  EXPECT_FALSE(user_hive_listed("S-1-5-21-1-2-3-1001_CLASSES"));
  EXPECT_FALSE(user_hive_listed(".DEFAULT"));
  EXPECT_FALSE(user_hive_listed(".Default"));
  EXPECT_TRUE(user_hive_listed("_Classes.x"));
  char scope[kValueTextSize];
  scope_text("PC", "anna", "S-1-5-21-1-2-3-1001", scope);
  EXPECT_STREQ("PC\\anna", scope);
  scope_text("", "Everyone", "S-1-1-0", scope);
  EXPECT_STREQ("Everyone", scope);
  scope_text("PC", "", "S-1-5-21-1-2-3-1001", scope);
  EXPECT_STREQ("S-1-5-21-1-2-3-1001", scope);
}

static const char kPool[] = "B\0a";

static int compare_in_pool(const void *entries, uint32_t a, uint32_t b) {
  return compare_entries((const ListEntry *)entries + a, (const ListEntry *)entries + b, kPool);
}

// Programs by name whatever the case, ties by every byte; updates by KB as a number, unknown last, then name, then
// source.
TEST(Programs, Order) {
  EXPECT_LT(compare_program_lines("apple\tz", "Banana\ta"), 0);
  EXPECT_LT(compare_program_lines("App\t2", "app\t1"), 0);
  EXPECT_LT(compare_program_lines("app\t1", "app\t2"), 0);
  EXPECT_LT(compare_program_lines("app\t9", "apple\t1"), 0);
  EXPECT_EQ(compare_program_lines("same\tx", "same\tx"), 0);
  const ListEntry entries[] = {
      {0, 99, "", kFromUninstall}, {2, 100, "", kFromCbs},    {0, 0, "", kFromUninstall}, {2, 0, "", kFromHotfix},
      {0, 100, "", kFromCbs},      {2, 100, "", kFromHotfix}, {0, 7, "", kProgramLine},
  };
  uint32_t order[7] = {0, 1, 2, 3, 4, 5, 6};
  sort_order(order, 7, compare_in_pool, entries);
  const uint32_t expected[7] = {6, 0, 1, 5, 4, 3, 2};
  for (int k = 0; k < 7; ++k) EXPECT_EQ(expected[k], order[k]) << k;
}

static int compare_numbers(const void *, uint32_t a, uint32_t b) { return a < b ? -1 : a > b; }

// The sort against the C++ library's, on lengths 0 to 300 of pseudo-random numbers.
TEST(Programs, SortAgreesWithTheLibrary) {
  uint32_t seed = 1;
  for (size_t count = 0; count <= 300; ++count) {
    std::vector<uint32_t> numbers(count);
    for (auto &number : numbers) number = (seed = seed * 1103515245 + 12345) >> 8;
    std::vector<uint32_t> expected = numbers;
    std::sort(expected.begin(), expected.end());
    sort_order(numbers.data(), count, compare_numbers, NULL);
    ASSERT_EQ(expected, numbers) << count;
  }
}
