// The programs section's rules at their boundaries, which the run under Wine (tests/wine/programs.sh) does not reach.
#include <gtest/gtest.h>
#include <time.h>

#include <algorithm>
#include <string>
#include <vector>

#include "programs/programs_text.h"

TEST(Programs, EntryKindAndUserHives) {
  EXPECT_EQ(kEntryProgram, entry_kind("Driver", 2, 0, "Update Rollup"));
  EXPECT_EQ(kEntryHidden, entry_kind("Fix", 1, 1, "Update"));
  EXPECT_EQ(kEntryUpdate, entry_kind("Fix", 0, 0, "hotfix"));
  EXPECT_FALSE(user_hive_listed("S-1-5-21-1-2-3-1001_CLASSES"));
  EXPECT_FALSE(user_hive_listed(".Default"));
  EXPECT_TRUE(user_hive_listed("S-1-5-18"));
}

TEST(Programs, KbNumber) {
  const struct {
    const char *text;
    int q_number;
    uint32_t kb;
  } rows[] = {
      {"KB123456789", 0, 123456789}, {"KB1234567890", 0, 0}, {"KB0", 0, 0},     {"NOKB12 kb7", 0, 7},
      {"KBX KB77", 0, 77},           {"Q246009", 1, 246009}, {"Q246009", 0, 0}, {"Q246009a", 1, 0},
  };
  for (const auto &row : rows) EXPECT_EQ(row.kb, kb_number(row.text, row.q_number)) << row.text;
}

TEST(Programs, CbsPackages) {
  const char *kb = "Package_for_KB5034122~31bf3856ad364e35~amd64~~19041.3803.1.1";
  EXPECT_TRUE(cbs_package_installed(kb, 0x80));
  EXPECT_FALSE(cbs_package_installed(kb, 0x50));  // superseded
  EXPECT_FALSE(cbs_package_installed(kb, 0x71));
  EXPECT_TRUE(cbs_update_package("Package_for_RollupFix"));
  EXPECT_FALSE(cbs_update_package("Package_for_RollupFixes~31bf3856ad364e35~amd64~~1.0"));
  EXPECT_FALSE(cbs_update_package("Microsoft-Windows-Foo-Package~31bf3856ad364e35~amd64~~KB77"));
  char name[kValueTextSize];
  cbs_update_name("Package_for_KB5\t~x~1.0", name);
  EXPECT_STREQ("Package_for_KB5.", name);
}

TEST(Programs, InstallDate) {
  const char *rows[][2] = {
      {"20240229", "2024-02-29"}, {"20230229", ""}, {"20000229", "2000-02-29"}, {"21000229", ""},
      {"19800101", "1980-01-01"}, {"19791231", ""}, {"20241301", ""},           {"20240431", ""},
      {"20240100", ""},           {"2024010", ""},  {"202401091", ""},          {"2024-1-9", ""},
  };
  char date[11];
  for (const auto &row : rows) {
    install_date_text(row[0], date);
    EXPECT_STREQ(row[1], date) << row[0];
  }
}

// Every 11th day from 1601 to 9999 (each month and leap day in turn) at its last 100 ns, against the C library.
TEST(Programs, FiletimeDateAgreesWithTheCalendar) {
  const uint64_t day = 864000000000ull;
  const int64_t last = 3067670;  // 9999-12-31
  char date[11];
  char expected[16];
  for (int64_t n = 0; n <= last; n += n + 11 <= last ? 11 : 1) {
    time_t seconds = (time_t)((n - 134774) * 86400);
    struct tm utc;
    gmtime_r(&seconds, &utc);
    snprintf(expected, sizeof expected, "%04d-%02d-%02d", utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday);
    filetime_date_text((uint64_t)n * day + day - 1, date);
    ASSERT_STREQ(expected, date);
  }
  filetime_date_text((last + 1) * day, date);
  EXPECT_STREQ("", date);
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
