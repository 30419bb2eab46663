// The text rules that the real program under Wine cannot show, each a table of plain values and the exact text
// expected.
#include <gtest/gtest.h>
#include <time.h>

#include <string>

#include "hardware/hardware_text.h"
#include "os/os_text.h"
#include "report/text.h"
#include "storage/drive_text.h"
#include "users/account_text.h"

// The duration text of seconds.
static std::string duration(uint32_t seconds) {
  char text[21];
  format_duration(text, seconds);
  return text;
}

TEST(Text, DurationLadder) {
  EXPECT_EQ("59s", duration(59));
  EXPECT_EQ("59m 59s", duration(3599));
  EXPECT_EQ("1h 0m 0s", duration(3600));
  EXPECT_EQ("1d 0h 0m 0s", duration(86400));
  EXPECT_EQ("1w 0d 0h 0m 0s", duration(604800));
  EXPECT_EQ("7101w 3d 6h 28m 15s", duration(4294967295u));
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
  char text[kDriveBlockSize];
  // 2^42 + 3072 bytes total, 1536 free: the used figure divides the byte difference.
  const DriveFigures huge = {'C',  6,   "", 1,   "NTFS",      1,          (1ull << 42) + 3072,
                             1536, 512, 8,  512, 0x80000000u, 0xFFFFFFFFu};
  format_drive_block(&huge, text);
  EXPECT_NE(nullptr, strstr(text, "Free clusters         : 2147483648\nUsed clusters         : 2147483647\n")) << text;
  EXPECT_NE(nullptr, strstr(text, "Total clusters        : 4294967295\n")) << text;
  EXPECT_NE(nullptr, strstr(text, "Space used            : 4294967297 KB\nTotal space           : 4294967299 KB\n"));
  // A quota of 1 GiB with 700 MiB of it left, on a disk with 50 GiB free: used is the quota less what it leaves.
  const DriveFigures quota = {'H', 4, "", 1, "NTFS", 1, 1ull << 30, 50ull << 30, 700ull << 20, 8, 512, 1, 2};
  format_drive_block(&quota, text);
  EXPECT_NE(nullptr, strstr(text, "Space used            : 331776 KB\n")) << text;
  // No space figures: the block ends after the file system.
  const DriveFigures no_space = {'E', 5, "CD", 0xDEADBEEF, "CDFS", 0, 0, 0, 0, 0, 0, 0, 0};
  format_drive_block(&no_space, text);
  EXPECT_STREQ("Volume Serial         : DEADBEEF\nFile System           : CDFS\n", strstr(text, "Volume Serial"));
}

// The names and editions that Wine's versions and its GetProductInfo (0x1C or 0x07 only) cannot make: one row per
// rule. The facts: major, minor, build, product type, suite, product code, EditionID, InstallationType, architecture.
TEST(Text, NtNamesAndEditions) {
  const struct {
    NtFacts nt;
    const char *name, *edition;
  } rows[] = {
      {{5, 1, 2600, 1, 0x200, 0, "Professional", ""}, "Windows XP", "Home Edition"},
      {{5, 2, 3790, 3, 0x82, 0, "", ""}, "Windows Server 2003 family", "Datacenter Edition"},
      {{5, 2, 3790, 2, 0x410, 0, "", ""}, "Windows Server 2003 family", "Web Edition"},
      {{5, 2, 3790, 3, 0x2012, 0, "", ""}, "Windows Server 2003 family", "Storage Server"},
      {{5, 2, 3790, 3, 0x4010, 0, "", ""}, "Windows Server 2003 family", "Compute Cluster Edition"},
      {{5, 2, 3790, 3, 0x31, 0, "", ""}, "Windows Server 2003 family", "Small Business Server"},
      {{5, 2, 3790, 3, 0x111, 0, "", ""}, "Windows Server 2003 family", "Standard Edition"},
      {{5, 0, 2195, 3, 0x2, 0, "", ""}, "Windows 2000", "Advanced Server"},
      {{6, 1, 7601, 1, 0, 0x31, "", ""}, "Windows 7", "Professional N"},
      {{6, 2, 9200, 1, 0, 0x30, "", ""}, "Windows 8", "Pro"},
      {{6, 2, 9200, 1, 0, 0x65, "Core", ""}, "Windows 8", ""},
      {{6, 3, 9600, 1, 0, 0x64, "", ""}, "Windows 8.1", "Single Language"},
      {{10, 0, 19045, 1, 0, 0x64, "", ""}, "Windows 10", "Home Single Language"},
      {{6, 3, 9600, 2, 0, 0x0D, "", "Server Core"}, "Windows Server 2012 R2", "Standard (Server Core)"},
      {{10, 0, 17763, 3, 0, 0x08, "", "server core"}, "Windows Server 2019", "Datacenter (Server Core)"},
      {{10, 0, 21999, 3, 0, 0xAF, "", ""}, "Windows 10", "Enterprise multi-session"},
      {{10, 0, 22000, 3, 0, 0xAF, "", ""}, "Windows 11", "Enterprise multi-session"},
      {{10, 0, 26100, 1, 0, 0xCAFE, "IoTEnterpriseK", ""}, "Windows 11", "IoTEnterpriseK"},
      {{10, 0, 20347, 3, 0x80, 0xABCDABCD, "", "Server Core"}, "Windows Server", "Datacenter (Server Core)"},
      {{10, 0, 20349, 3, 0, 0x196, "", "Server Core"}, "Azure Stack HCI", "(Server Core)"},
      {{6, 1, 7601, 3, 0, 0x32, "", ""}, "Windows Server 2008 R2", "Small Business Server Essentials"},
      {{6, 2, 9200, 3, 0, 0x32, "", ""}, "Windows Server 2012", "Essentials"},
      {{10, 0, 14393, 1, 0, 0x7D, "", ""}, "Windows 10", "Enterprise LTSB"},
      {{10, 0, 17763, 1, 0, 0x7E, "", ""}, "Windows 10", "Enterprise N LTSC"},
      {{6, 4, 9841, 1, 0, 0x30, "", ""}, "Windows", "Pro"},
      {{5, 2, 3790, 1, 0, 0, "", "", 6}, "Windows XP", "64-Bit Edition"},
      {{5, 1, 2600, 1, 0, 0, "", "", 6}, "Windows XP", "64-Bit Edition"},
      {{10, 0, 14393, 3, 0x10, 0x07, "", ""}, "Windows Server 2016", "Standard"},
      {{6, 0, 6002, 2, 0x2, 0, "", ""}, "Windows Server 2008", "Enterprise"},
  };
  for (const auto &row : rows) {
    char edition[kEditionSize];
    nt_edition(edition, &row.nt);
    const char *name = nt_name(&row.nt);
    EXPECT_STREQ(row.name, name) << row.nt.major << "." << row.nt.minor << "." << row.nt.build;
    EXPECT_STREQ(row.edition, edition) << row.nt.product_type << " " << row.nt.suite << " " << row.nt.product;
  }
  // 2^32 + 5000 ms: past the 49.7 days where the 32-bit tick count wraps.
  EXPECT_EQ(4294972u, uptime_seconds((1ull << 32) + 5000));
}

// Installed memory: Windows' own figure where it has one (Vista SP1 on), else the modules' sum (XP, Server 2003), which
// a module of unknown size would make too small. The facts: Windows' MB, the modules counted, their KB.
TEST(Text, InstalledMemory) {
  EXPECT_EQ(16384u, installed_memory_mb(16384, 2, 8ull << 20));
  EXPECT_EQ(24576u, installed_memory_mb(0, 3, 24ull << 20));
  EXPECT_EQ(0u, installed_memory_mb(0, -1, 16ull << 20));
  EXPECT_EQ(0u, installed_memory_mb(0, 0, 0));
}
