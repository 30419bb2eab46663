// The text rules that the real program under Wine cannot show, each a table of plain values and the exact text
// expected.
#include <gtest/gtest.h>
#include <time.h>

#include <string>

#include "os/os_text.h"
#include "report/text.h"
#include "storage/drive_text.h"
#include "users/account_text.h"

TEST(Text, DurationLadder) {
  const struct {
    uint32_t seconds;
    const char *text;
  } rows[] = {
      {59, "59s"},
      {60, "1m 0s"},
      {3599, "59m 59s"},
      {3600, "1h 0m 0s"},
      {86399, "23h 59m 59s"},
      {86400, "1d 0h 0m 0s"},
      {604799, "6d 23h 59m 59s"},
      {604800, "1w 0d 0h 0m 0s"},
      {4294967295u, "7101w 3d 6h 28m 15s"},
  };
  for (const auto &row : rows) {
    char text[21];
    format_duration(text, row.seconds);
    EXPECT_STREQ(row.text, text) << row.seconds;
  }
}

TEST(Text, CalendarToEpochAgreesWithTheCalendar) {
  EXPECT_EQ(2147483647, calendar_to_epoch(2038, 1, 19, 3, 14, 7));
  // Every day from 1970 to 2038 at 23:59:59, against the C library.
  for (time_t day = 86399; day < 2147483647 - 86400; day += 86400) {
    struct tm utc;
    gmtime_r(&day, &utc);
    int year = utc.tm_year + 1900;
    ASSERT_EQ(day, calendar_to_epoch(year, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec));
  }
}

// The whole block of a mounted drive shows under Wine; these are the figures and types that Wine cannot make.
TEST(Text, DriveBlockFigures) {
  // 2^42 + 3072 bytes total, 1536 free: the used figure divides the byte difference.
  const DriveFigures huge = {'C',  6,   "", 1,   "NTFS",      1,          (1ull << 42) + 3072,
                             1536, 512, 8,  512, 0x80000000u, 0xFFFFFFFFu};
  // A quota of 1 GiB with 700 MiB of it left, on a disk with 50 GiB free: used is the quota less what it leaves.
  const DriveFigures quota = {'H', 4, "", 1, "NTFS", 1, 1ull << 30, 50ull << 30, 700ull << 20, 8, 512, 1, 2};
  const DriveFigures no_space = {'E', 5, "CD", 0xDEADBEEF, "CDFS", 0, 0, 0, 0, 0, 0, 0, 0};
  const DriveFigures removable = {'A', 2, "", 0, "", 0, 0, 0, 0, 0, 0, 0, 0};
  const DriveFigures unknown = {'D', 9, "", 0, "", 0, 0, 0, 0, 0, 0, 0, 0};
  const struct {
    const DriveFigures *drive;
    const char *lines;
    bool last;  // the block ends with them
  } rows[] = {
      {&huge, "Type                  : RAM Disk\n", false},
      {&huge, "Free clusters         : 2147483648\nUsed clusters         : 2147483647\n", false},
      {&huge, "Total clusters        : 4294967295\n", false},
      {&huge, "Space used            : 4294967297 KB\nTotal space           : 4294967299 KB\n", false},
      {&quota, "Space used            : 331776 KB\n", false},
      {&no_space, "Type                  : Optical Drive\n", false},
      {&no_space, "Volume Serial         : DEADBEEF\nFile System           : CDFS\n", true},
      {&removable, "\n=======\nDrive A\n=======\n\nNo media present (Removable)\n\n", true},
      {&unknown, "No media present (Unknown)\n\n", true},
  };
  for (const auto &row : rows) {
    char text[kDriveBlockSize];
    format_drive_block(row.drive, text);
    const char *found = strstr(text, row.lines);
    ASSERT_NE(nullptr, found) << row.lines << " not in:\n" << text;
    if (row.last) {
      EXPECT_STREQ(row.lines, found);
    }
  }
}

// The editions that Wine's versions and its GetProductInfo (0x1C or 0x07 only) cannot make.
TEST(Text, NtEditions) {
  const struct {
    unsigned product, major, minor, suite;
    uint32_t code;
    const char *edition;
  } rows[] = {
      {1, 5, 1, 0x200, 0, "Home Edition"},
      {1, 6, 0, 0, 0, "Professional"},
      {1, 5, 2, 0x200, 0, "Home Edition"},
      {1, 10, 0, 0x200, 0x99, "Home Edition"},
      {3, 5, 2, 0x82, 0, "Datacenter Edition"},
      {3, 5, 2, 0x2, 0, "Enterprise Edition"},
      {3, 5, 2, 0x400, 0, "Web Edition"},
      {3, 5, 2, 0x410, 0, "Standard Edition"},
      {3, 5, 0, 0x82, 0, "Datacenter Edition"},
      {3, 5, 0, 0x2, 0, "Advanced Server"},
      {3, 5, 0, 0x400, 0, "Server"},
      {3, 4, 0, 0x2, 0, "Server 4.0, Enterprise Edition"},
      {3, 5, 1, 0x80, 0, "Server 4.0"},
      {3, 5, 3, 0, 0, "Server 4.0"},
      {3, 6, 0, 0x82, 0, "Datacenter"},
      {3, 10, 0, 0x2, 0, "Enterprise"},
      {3, 6, 1, 0x400, 0xABCDABCD, "Standard"},
      {0, 5, 1, 0, 0, ""},
      // A domain controller gets the server's edition.
      {2, 5, 2, 0x400, 0, "Web Edition"},
      {2, 6, 2, 0x80, 0, "Datacenter"},
      // From 6.0 on the product code decides, before the product type and suite.
      {3, 6, 0, 0x80, 0x07, "Standard"},
      {1, 6, 0, 0x200, 0x01, "Ultimate"},
      {1, 6, 0, 0, 0x02, "Home Basic"},
      {1, 6, 0, 0, 0x03, "Home Premium"},
      {1, 6, 0, 0, 0x04, "Enterprise"},
      {1, 6, 0, 0, 0x06, "Business"},
      {3, 6, 0, 0, 0x08, "Datacenter"},
      {3, 6, 0, 0, 0x0A, "Enterprise"},
      {1, 6, 0, 0, 0x0B, "Starter"},
      {3, 6, 0, 0, 0x0C, "Datacenter"},
      {1, 6, 0, 0, 0x0D, "Standard"},
      {3, 6, 0, 0, 0x0E, "Enterprise"},
      {3, 6, 0, 0, 0x11, "Web Server"},
      {1, 6, 0, 0x200, 0x30, "Professional"},
      {1, 6, 1, 0x200, 0x30, "Professional"},
      {1, 6, 2, 0, 0x30, "Pro"},
      {1, 10, 0, 0, 0x30, "Pro"},
      {3, 6, 3, 0, 0x48, "Enterprise Evaluation"},
      {3, 6, 3, 0, 0x4F, "Standard Evaluation"},
      {3, 6, 3, 0, 0x50, "Datacenter Evaluation"},
      {1, 6, 2, 0, 0x64, "Home Single Language"},
      {1, 10, 0, 0, 0x65, "Home"},
      {1, 10, 0, 0, 0x79, "Education"},
      {1, 10, 0, 0, 0x7D, "Enterprise LTSC"},
      {1, 10, 0, 0, 0xA1, "Pro for Workstations"},
  };
  for (const auto &row : rows) {
    const char *edition = nt_edition(row.product, row.major, row.minor, row.suite, row.code);
    EXPECT_STREQ(row.edition, edition) << row.product << " " << row.major << "." << row.minor << " " << row.code;
  }
  EXPECT_STREQ("Workstation", product_type_edition("winnt"));
  EXPECT_STREQ("Server", product_type_edition("LanmanNT"));
  EXPECT_STREQ("Advanced Server", product_type_edition("SERVERNT"));
  EXPECT_STREQ("", product_type_edition("WINNTX"));
  EXPECT_TRUE(may_be_service_pack_6a(4, "service PACK 6"));
  EXPECT_FALSE(may_be_service_pack_6a(5, "Service Pack 6"));
}

// The names that Wine's presets and registry-defined versions cannot make.
TEST(Text, SystemNames) {
  const struct {
    uint32_t major, minor, build;
    unsigned product;
    const char *name;
  } nt_rows[] = {
      {3, 51, 1057, 1, "Windows NT"},
      {5, 3, 0, 1, ""},
      {6, 2, 9200, 3, "Windows Server 2012"},
      {6, 3, 9600, 2, "Windows Server 2012 R2"},
      {6, 4, 9841, 1, ""},
      {10, 0, 21999, 1, "Windows 10"},
      {10, 0, 17762, 3, "Windows Server 2016"},
      {10, 0, 20347, 3, "Windows Server 2019"},
      {10, 0, 26099, 2, "Windows Server 2022"},
      {10, 1, 0, 1, ""},
      {7, 0, 0, 3, ""},
  };
  for (const auto &row : nt_rows) {
    const char *name = nt_name(row.major, row.minor, row.build, row.product);
    EXPECT_STREQ(row.name, name) << row.major << "." << row.minor << "." << row.build << " " << row.product;
  }
  const struct {
    uint32_t major, minor;
    char release;
    const char *name, *edition;
  } rows[] = {
      {4, 0, 'C', "Windows 95", "OSR2"},
      {4, 0, 'B', "Windows 95", "OSR2"},
      {4, 10, 'C', "Windows 98", ""},
      {5, 0, 'C', "", ""},
      {4, 3, 'C', "", ""},
  };
  for (const auto &row : rows) {
    const char *name;
    const char *edition;
    name_9x(row.major, row.minor, row.release, &name, &edition);
    EXPECT_STREQ(row.name, name) << row.minor << row.release;
    EXPECT_STREQ(row.edition, edition) << row.minor << row.release;
  }
}

TEST(Text, NamePiecesKeepSurrogatePairsWhole) {
  std::u16string name(600, u'x');
  const struct {
    size_t remaining, high_surrogate_at, piece;
  } rows[] = {
      {256, 600, 256},  // the longest local name: one piece, whole
      {257, 600, 256}, {600, 255, 255}, {257, 254, 256}, {256, 255, 256},
  };
  for (const auto &row : rows) {
    std::u16string text = name;
    if (row.high_surrogate_at < text.size()) text[row.high_surrogate_at] = 0xD83D;
    EXPECT_EQ(row.piece, name_piece_length(text.data(), row.remaining)) << row.remaining;
  }
}
