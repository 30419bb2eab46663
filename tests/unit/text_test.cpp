// The text rules, each a table of plain values and the exact text expected.
#include <gtest/gtest.h>
#include <time.h>

#include <string>

#include "os/os_text.h"
#include "report/text.h"
#include "storage/drive_text.h"
#include "users/account_text.h"

TEST(Text, DurationLadder) {
  const struct { uint32_t seconds; const char *text; } rows[] = {
      {0, "0s"}, {59, "59s"}, {60, "1m 0s"}, {3599, "59m 59s"}, {3600, "1h 0m 0s"},
      {86399, "23h 59m 59s"}, {86400, "1d 0h 0m 0s"}, {604799, "6d 23h 59m 59s"},
      {604800, "1w 0d 0h 0m 0s"}, {694861, "1w 1d 1h 1m 1s"}, {4294967295u, "7101w 3d 6h 28m 15s"}};
  for (const auto &row : rows) {
    char text[21];
    format_duration(text, row.seconds);
    EXPECT_STREQ(row.text, text) << row.seconds;
  }
}

TEST(Text, CalendarToEpochAgreesWithTheCalendar) {
  EXPECT_EQ(68169600, calendar_to_epoch(1972, 2, 29, 0, 0, 0));
  EXPECT_EQ(951868800, calendar_to_epoch(2000, 3, 1, 0, 0, 0));
  EXPECT_EQ(2147483647, calendar_to_epoch(2038, 1, 19, 3, 14, 7));
  // Every day from 1970 to 2038 at 23:59:59, against the C library.
  for (time_t day = 86399; day < 2147483647 - 86400; day += 86400) {
    struct tm utc;
    gmtime_r(&day, &utc);
    ASSERT_EQ(day, calendar_to_epoch(utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min,
                                     utc.tm_sec));
  }
}

TEST(Text, DriveBlock) {
  static const char mounted[] =
      "\n=======\nDrive C\n=======\n\n"
      "Type                  : Hard Drive\nVolume Label          : (No Label)\n"
      "Volume Serial         : 12ABCD\nFile System           : NTFS\n"
      "\nClusters\n--------\n\n"
      "Sectors per cluster   : 8\nBytes per sector      : 512\nFree clusters         : 1\n"
      "Used clusters         : 4294967294\nTotal clusters        : 4294967295\n"
      "\nStorage Space\n-------------\n\n"
      "Space free            : 1 KB\nSpace used            : 4294967297 KB\n"
      "Total space           : 4294967299 KB\n\n\n";
  const struct { DriveFigures drive; const char *text; } rows[] = {
      // 2^42 + 3072 bytes total, 1536 free (512 of them the caller's): the
      // used figure divides the byte difference; cluster counts of 2^31 and
      // more stay unsigned.
      {{'C', 3, "", 0x0012ABCD, "NTFS", 1, (1ull << 42) + 3072, 1536, 512, 8, 512, 1, 0xFFFFFFFFu},
       mounted},
      {{'A', 2, "", 0, "", 0, 0, 0, 0, 0, 0, 0, 0}, "\n=======\nDrive A\n=======\n\nNo media present (Removable)\n\n"},
      {{'D', 9, "", 0, "", 0, 0, 0, 0, 0, 0, 0, 0}, "\n=======\nDrive D\n=======\n\nNo media present (Unknown)\n\n"},
      {{'E', 4, "SHARE", 0xDEADBEEF, "FAT", 0, 0, 0, 0, 0, 0, 0, 0},
       "\n=======\nDrive E\n=======\n\nType                  : Network Drive\nVolume Label          : SHARE\n"
       "Volume Serial         : DEADBEEF\nFile System           : FAT\n"},
      // A quota of 1 GiB with 700 MiB of it left, on a disk with 50 GiB free:
      // used is the quota less what it leaves.
      {{'H', 4, "HOME", 0x1234, "NTFS", 1, 1ull << 30, 50ull << 30, 700ull << 20, 8, 512, 179200, 262144},
       "\n=======\nDrive H\n=======\n\nType                  : Network Drive\nVolume Label          : HOME\n"
       "Volume Serial         : 1234\nFile System           : NTFS\n"
       "\nClusters\n--------\n\n"
       "Sectors per cluster   : 8\nBytes per sector      : 512\nFree clusters         : 179200\n"
       "Used clusters         : 82944\nTotal clusters        : 262144\n"
       "\nStorage Space\n-------------\n\n"
       "Space free            : 52428800 KB\nSpace used            : 331776 KB\n"
       "Total space           : 1048576 KB\n\n\n"},
  };
  for (const auto &row : rows) {
    char text[kDriveBlockSize];
    format_drive_block(&row.drive, text);
    EXPECT_STREQ(row.text, text);
  }
  EXPECT_STREQ("Optical Drive", drive_type_text(5));
  EXPECT_STREQ("RAM Disk", drive_type_text(6));
}

TEST(Text, NtEditions) {
  const struct { unsigned product, major, minor, suite; uint32_t code; const char *edition; } rows[] = {
      {1, 4, 0, 0x200, 0, "Workstation 4.0"}, {1, 5, 1, 0x200, 0, "Home Edition"}, {1, 5, 1, 0, 0, "Professional"},
      {1, 6, 0, 0, 0, "Professional"}, {1, 5, 2, 0x200, 0, "Home Edition"}, {1, 10, 0, 0x200, 0x99, "Home Edition"},
      {3, 5, 2, 0x82, 0, "Datacenter Edition"}, {3, 5, 2, 0x2, 0, "Enterprise Edition"},
      {3, 5, 2, 0x400, 0, "Web Edition"}, {3, 5, 2, 0x410, 0, "Standard Edition"}, {3, 5, 2, 0, 0, "Standard Edition"},
      {3, 5, 0, 0x82, 0, "Datacenter Edition"}, {3, 5, 0, 0x2, 0, "Advanced Server"}, {3, 5, 0, 0x400, 0, "Server"},
      {3, 4, 0, 0x2, 0, "Server 4.0, Enterprise Edition"}, {3, 5, 1, 0x80, 0, "Server 4.0"},
      {3, 5, 3, 0, 0, "Server 4.0"}, {3, 6, 0, 0x82, 0, "Datacenter"}, {3, 10, 0, 0x2, 0, "Enterprise"},
      {3, 6, 1, 0x400, 0xABCDABCD, "Standard"}, {0, 5, 1, 0, 0, ""},
      // A domain controller gets the server's edition.
      {2, 4, 0, 0, 0, "Server 4.0"}, {2, 5, 0, 0x2, 0, "Advanced Server"}, {2, 5, 2, 0x400, 0, "Web Edition"},
      {2, 6, 2, 0x80, 0, "Datacenter"},
      // From 6.0 on the product code decides, before the product type and suite.
      {3, 6, 0, 0x80, 0x07, "Standard"}, {2, 10, 0, 0, 0x1C, "Ultimate N"}, {1, 6, 0, 0x200, 0x01, "Ultimate"},
      {1, 6, 0, 0, 0x02, "Home Basic"}, {1, 6, 0, 0, 0x03, "Home Premium"}, {1, 6, 0, 0, 0x04, "Enterprise"},
      {1, 6, 0, 0, 0x06, "Business"}, {3, 6, 0, 0, 0x08, "Datacenter"}, {3, 6, 0, 0, 0x0A, "Enterprise"},
      {1, 6, 0, 0, 0x0B, "Starter"}, {3, 6, 0, 0, 0x0C, "Datacenter"}, {1, 6, 0, 0, 0x0D, "Standard"},
      {3, 6, 0, 0, 0x0E, "Enterprise"}, {3, 6, 0, 0, 0x11, "Web Server"}, {1, 6, 0, 0x200, 0x30, "Professional"},
      {1, 6, 1, 0x200, 0x30, "Professional"}, {1, 6, 2, 0, 0x30, "Pro"}, {1, 10, 0, 0, 0x30, "Pro"},
      {3, 6, 3, 0, 0x48, "Enterprise Evaluation"}, {3, 6, 3, 0, 0x4F, "Standard Evaluation"},
      {3, 6, 3, 0, 0x50, "Datacenter Evaluation"}, {1, 6, 2, 0, 0x64, "Home Single Language"},
      {1, 10, 0, 0, 0x65, "Home"}, {1, 10, 0, 0, 0x79, "Education"}, {1, 10, 0, 0, 0x7D, "Enterprise LTSC"},
      {1, 10, 0, 0, 0xA1, "Pro for Workstations"}};
  for (const auto &row : rows)
    EXPECT_STREQ(row.edition, nt_edition(row.product, row.major, row.minor, row.suite, row.code))
        << row.product << " " << row.major << "." << row.minor << " " << row.suite << " " << row.code;
}

TEST(Text, SystemNames) {
  const struct { uint32_t major, minor, build; unsigned product; const char *name; } nt_rows[] = {
      {5, 2, 3790, 1, "Windows Server 2003 family"}, {5, 1, 2600, 3, "Windows XP"}, {5, 0, 2195, 2, "Windows 2000"},
      {4, 0, 1381, 3, "Windows NT"}, {3, 51, 1057, 1, "Windows NT"}, {5, 3, 0, 1, ""},
      {6, 0, 6002, 1, "Windows Vista"}, {6, 0, 6002, 2, "Windows Server 2008"}, {6, 1, 7601, 1, "Windows 7"},
      {6, 1, 7601, 3, "Windows Server 2008 R2"}, {6, 2, 9200, 1, "Windows 8"}, {6, 2, 9200, 3, "Windows Server 2012"},
      {6, 3, 9600, 1, "Windows 8.1"}, {6, 3, 9600, 2, "Windows Server 2012 R2"}, {6, 4, 9841, 1, ""},
      {10, 0, 21999, 1, "Windows 10"}, {10, 0, 22000, 1, "Windows 11"}, {10, 0, 17762, 3, "Windows Server 2016"},
      {10, 0, 17763, 2, "Windows Server 2019"}, {10, 0, 20347, 3, "Windows Server 2019"},
      {10, 0, 20348, 3, "Windows Server 2022"}, {10, 0, 26099, 2, "Windows Server 2022"},
      {10, 0, 26100, 3, "Windows Server 2025"}, {10, 1, 0, 1, ""}, {7, 0, 0, 3, ""}};
  for (const auto &row : nt_rows)
    EXPECT_STREQ(row.name, nt_name(row.major, row.minor, row.build, row.product))
        << row.major << "." << row.minor << "." << row.build << " " << row.product;
  const struct { uint32_t major, minor; char release; const char *name, *edition; } rows[] = {
      {4, 0, 'C', "Windows 95", "OSR2"}, {4, 0, 'B', "Windows 95", "OSR2"}, {4, 0, 'A', "Windows 95", ""},
      {4, 10, 'A', "Windows 98", "SE"}, {4, 10, 'C', "Windows 98", ""}, {4, 90, 'A', "Windows Millennium Edition", ""},
      {5, 0, 'C', "", ""}, {4, 3, 'C', "", ""}};
  for (const auto &row : rows) {
    const char *name, *edition;
    name_9x(row.major, row.minor, row.release, &name, &edition);
    EXPECT_STREQ(row.name, name) << row.minor << row.release;
    EXPECT_STREQ(row.edition, edition) << row.minor << row.release;
  }
  EXPECT_STREQ("Workstation", product_type_edition("winnt"));
  EXPECT_STREQ("Server", product_type_edition("LanmanNT"));
  EXPECT_STREQ("Advanced Server", product_type_edition("SERVERNT"));
  EXPECT_STREQ("", product_type_edition("WINNTX"));
  EXPECT_TRUE(may_be_service_pack_6a(4, "service PACK 6"));
  EXPECT_FALSE(may_be_service_pack_6a(5, "Service Pack 6"));
  EXPECT_FALSE(may_be_service_pack_6a(4, "Service Pack 6a"));
}

TEST(Text, RegistryTextIsTerminatedWithinItsField) {
  char value[256], field[260];
  memset(value, 'x', sizeof value);
  copy_text(field, sizeof field, value, sizeof value);
  EXPECT_EQ(std::string(256, 'x'), field);
  copy_text(field, 4, "abcdef", 7);
  EXPECT_STREQ("abc", field);
}

TEST(Text, OsBlockLines) {
  OsInfo os = {"Windows NT", "Workstation 4.0", "Service Pack 6a", 1381, 4, 0, 1, 0, 6, 0,
               "C:\\WINNT", "Uniprocessor Free", "PID", "Org", "Owner", 0};
  char text[kOsBlockSize];
  format_os_block(text, &os, "admin", "1m 0s", "Now\n", "Then\n", "2s");
  EXPECT_STREQ(
      "Current User:\t\tadmin\nSystem Uptime:\t\t1m 0s\n"
      "Operating System:\tWindows NT Workstation 4.0 (4.0.1381)\nService Pack:\t\tService Pack 6a (6.0)\n"
      "Build Type:\t\tUniprocessor Free\nReg Name:\t\tOwner\nReg Org.:\t\tOrg\nProduct ID:\t\tPID\n"
      "System Root:\t\tC:\\WINNT\n\nCurrent Time:\t\tNow\nInstall Time:\t\tThen\n\t\t\t2s ago\n",
      text);
  os.sp_major = 0;  // no service pack: its line goes, the build type stays
  format_os_block(text, &os, "", "", "", "", "");
  EXPECT_EQ(nullptr, strstr(text, "Service Pack:"));
  EXPECT_NE(nullptr, strstr(text, "Build Type:"));
  os.is_nt = 0;
  os.sp_major = 1;
  format_os_block(text, &os, "", "", "", "", "");
  EXPECT_EQ(nullptr, strstr(text, "Service Pack:"));
  EXPECT_EQ(nullptr, strstr(text, "Build Type:"));
}

TEST(Text, AccountBlock) {
  const struct { AccountFigures account; const char *text; } rows[] = {
      {{2, 0xFFFFFFFF, 59, 0xFFFFFFFF, 7, "Sun Sep 09 01:46:40 2001\n", 0},
       "(Admin)\nFlags: \t\tAccount is disabled\n\t\tAccount has no password\n"
       "\t\tPassword cannot be changed by user\n\t\tAccount is locked\n\t\tAccount password does not expire\n"
       "\t\tTrusted for delegation\n\t\tAccount password has expired\n\t\tTrusted to authenticate for delegation\n"
       "\nPassword Age:\t59s\nBad Passwords:\t-1\nTotal Logons:\t7\nLast Logon:\tSun Sep 09 01:46:40 2001\n\n\n"},
      {{0, 0x201, 60, 0, 0, NULL, 0},
       "(Guest)\nFlags: \nPassword Age:\t1m 0s\nBad Passwords:\t0\nTotal Logons:\t0\nLast Logon:\tNever\n\n\n"},
      {{1, 0x10002, 0, 3, 0xFFFFFFFF, NULL, 1},
       "(User)\nFlags: \t\tAccount is disabled\n\t\tAccount password does not expire\n\nPassword Age:\t0s\n"
       "Bad Passwords:\t3\nTotal Logons:\t-1\nLast Logon:\tNever\n*** Password has expired ***\n\n\n"},
  };
  for (const auto &row : rows) {
    char text[kAccountBlockSize];
    format_account_block(text, &row.account);
    EXPECT_STREQ(row.text, text);
  }
}

TEST(Text, NamePiecesKeepSurrogatePairsWhole) {
  std::u16string name(600, u'x');
  const struct { size_t remaining, high_surrogate_at, piece; } rows[] = {
      {256, 600, 256},  // the longest local name: one piece, whole
      {257, 600, 256}, {600, 255, 255}, {257, 254, 256}, {256, 255, 256}};
  for (const auto &row : rows) {
    std::u16string text = name;
    if (row.high_surrogate_at < text.size()) text[row.high_surrogate_at] = 0xD83D;
    EXPECT_EQ(row.piece, name_piece_length(text.data(), row.remaining)) << row.remaining;
  }
}
