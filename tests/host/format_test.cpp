#include <gtest/gtest.h>

#include <time.h>

#include "report/report.h"
#include "sim_fixture.h"

TEST(FormatDuration, Ladder) {
  struct Case {
    DWORD seconds;
    const char *text;
  } cases[] = {
      {0, "0s"},
      {59, "59s"},
      {60, "1m 0s"},
      {3599, "59m 59s"},
      {3600, "1h 0m 0s"},
      {86399, "23h 59m 59s"},
      {86400, "1d 0h 0m 0s"},
      {604799, "6d 23h 59m 59s"},
      {604800, "1w 0d 0h 0m 0s"},
      {694861, "1w 1d 1h 1m 1s"},
      {4294967295u, "7101w 3d 6h 28m 15s"},
  };
  for (const Case &c : cases) {
    char buffer[21];
    memset(buffer, 'x', sizeof buffer);
    format_duration(buffer, c.seconds);
    EXPECT_STREQ(c.text, buffer) << c.seconds;
  }
}

static SYSTEMTIME utc(int year, int month, int day, int hour, int minute, int second, int ms = 0) {
  SYSTEMTIME t = {};
  t.wYear = (WORD)year;
  t.wMonth = (WORD)month;
  t.wDay = (WORD)day;
  t.wHour = (WORD)hour;
  t.wMinute = (WORD)minute;
  t.wSecond = (WORD)second;
  t.wMilliseconds = (WORD)ms;
  t.wDayOfWeek = 3;
  return t;
}

TEST(SystemtimeToEpoch, KnownInstants) {
  struct Case {
    SYSTEMTIME time;
    LONG seconds;
  } cases[] = {
      {utc(1970, 1, 1, 0, 0, 0), 0},
      {utc(1970, 1, 1, 0, 0, 0, 999), 0},
      {utc(1972, 2, 29, 0, 0, 0), 68169600},
      {utc(1972, 3, 1, 0, 0, 0), 68256000},
      {utc(1973, 1, 1, 0, 0, 0), 94694400},
      {utc(2000, 3, 1, 0, 0, 0), 951868800},
      {utc(2004, 2, 29, 12, 0, 0), 1078056000},
      {utc(2005, 3, 1, 0, 0, 0), 1109635200},
      {utc(2038, 1, 19, 3, 14, 7), 2147483647},
  };
  for (const Case &c : cases)
    EXPECT_EQ(c.seconds, systemtime_to_epoch(&c.time)) << c.time.wYear << "-" << c.time.wMonth << "-" << c.time.wDay;
}

TEST(SystemtimeToEpoch, AgreesWithTheCalendarOverTheWholeRange) {
  // Every day at a varying time of day, 1970 to 2038.
  for (time_t t = 0; t <= 2147483647 - 86400; t += 86400 + 3607) {
    struct tm parts;
    gmtime_r(&t, &parts);
    SYSTEMTIME s = utc(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec);
    ASSERT_EQ((LONG)t, systemtime_to_epoch(&s)) << t;
  }
}

TEST(SystemtimeToEpoch, MonthOutsideTheYearReadsNoTable) {
  SYSTEMTIME zero = utc(2000, 0, 1, 0, 0, 0);
  SYSTEMTIME thirteen = utc(2000, 13, 1, 0, 0, 0);
  SYSTEMTIME january = utc(2000, 1, 1, 0, 0, 0);
  EXPECT_EQ(systemtime_to_epoch(&january), systemtime_to_epoch(&zero));
  EXPECT_EQ(systemtime_to_epoch(&january) + 86400, systemtime_to_epoch(&thirteen));
}

TEST(FormatU64, WholeRange) {
  char buffer[21];
  format_u64(buffer, 0);
  EXPECT_STREQ("0", buffer);
  format_u64(buffer, 4294967296ull);
  EXPECT_STREQ("4294967296", buffer);
  format_u64(buffer, 18446744073709551615ull);
  EXPECT_STREQ("18446744073709551615", buffer);
}

class HelpersTest : public SimTest {};

TEST_F(HelpersTest, HeadingRowsAsWideAsTheTitle) {
  EXPECT_EQ("\n*************\nUser Accounts\n*************\n\n",
            sim::run([] { print_heading("User Accounts"); return 0; }).out);
  EXPECT_EQ("\n\n\n\n\n", sim::run([] { print_heading(""); return 0; }).out);
}

TEST_F(HelpersTest, CtimeTextLikeMsvcrt) {
  EXPECT_EQ("Thu Jan 01 00:00:00 1970\n", std::string(ctime_text(0)));
  EXPECT_EQ("Tue Jan 19 03:14:07 2038\n", std::string(ctime_text(2147483647)));
  // West of Greenwich, time 0 lies before 1970 in local time: msvcrt gives
  // NULL, and the text must still be defined.
  machine().local_offset = -5 * 3600;
  EXPECT_EQ(std::string(kNoTimeText), ctime_text(0));
  EXPECT_EQ('\n', kNoTimeText[strlen(kNoTimeText) - 1]) << "the line layout needs the line feed";
  EXPECT_EQ(std::string(kNoTimeText), ctime_text(-1));
}
