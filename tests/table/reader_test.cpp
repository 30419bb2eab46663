// The table's reader over report text: the OS lines that the naming rules print, split back into the name and the
// edition they were made of; the programs section as its layout prints it; the summary's counts of drives and
// accounts where two of them compete.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "os/os_text.h"
#include "table/report_table.h"

struct Table {
  std::string csv;
  std::string messages;
};

// The table of one file holding text, its line feeds made CR LF as sysreport writes them.
static Table table_of(TableMode mode, const std::string &text) {
  std::string report;
  for (char c : text) report += c == '\n' ? std::string("\r\n") : std::string(1, c);
  static TableState table;
  table_open(&table, mode);
  Text header = {NULL, 0, 0};
  table_header(&table, &header);
  table_begin(&table, "PC", 2);
  table_feed(&table, report.data(), report.size());
  const Text *rows = NULL;
  table_end(&table, &rows);
  Table result = {std::string(header.data, header.length) + std::string(rows->data, rows->length),
                  std::string(table.messages.data ? table.messages.data : "", table.messages.length)};
  free(header.data);
  table_release(&table);
  return result;
}

static const char kBanner[] = "\n-----\n QUORVEL v1.01\n-----\n\n";

static std::string section(const char *title, const std::string &lines) {
  std::string stars(strlen(title), '*');
  return "\n" + stars + "\n" + title + "\n" + stars + "\n\n" + lines;
}

static std::string report(const std::string &sections) { return kBanner + sections + "\nTotal time taken: 5 ms\n"; }

// The summary's column of that name in its first row (the test's summaries hold no comma or quote).
static std::string column(const std::string &csv, const std::string &name) {
  std::stringstream lines(csv);
  std::string header, row, field;
  std::getline(lines, header, '\r');
  lines.ignore(1);
  std::getline(lines, row, '\r');
  std::stringstream names(header), fields(row);
  while (std::getline(names, header, ',') && std::getline(fields, field, ','))
    if (header == name) return field;
  return "(no column " + name + ")";
}

static std::string os_report(const char *name, const char *edition) {
  OsInfo os = {};
  snprintf(os.os_name, sizeof os.os_name, "%s", name);
  snprintf(os.edition, sizeof os.edition, "%s", edition);
  os.major_version = 6;
  os.minor_version = 1;
  os.build = 7601;
  char block[kOsBlockSize];
  format_os_block(block, &os, "alice", "1s", "Unknown\n", "Unknown\n", "?");
  return report(section("Operating System Information", block));
}

// Every name the rules give, with the editions they give it, reads back as that name and edition.
TEST(Reader, OsLineSplitsAsTheNamingRulesMadeIt) {
  static const uint32_t kVersions[][2] = {{4, 0}, {5, 0}, {5, 1}, {5, 2},  {6, 0},
                                          {6, 1}, {6, 2}, {6, 3}, {10, 0}, {11, 0}};
  static const uint32_t kProducts[] = {0, 0x7, 0x8, 0xD, 0x30, 0x79, 0xAF, 0x196, 0x197, 0x198};
  static const uint32_t kBuilds[] = {7601, 14393, 17763, 19045, 20348, 22631, 25398, 26100};
  int checked = 0;
  for (const auto &version : kVersions)
    for (unsigned type = 1; type <= 3; ++type)
      for (uint32_t product : kProducts)
        for (uint32_t build : kBuilds)
          for (const char *core : {"", "Server Core"}) {
            NtFacts nt = {version[0], version[1], build, type, 0x110, product, "", core, 9};
            char edition[kEditionSize];
            nt_edition(edition, &nt);
            const char *name = nt_name(&nt);
            std::string csv = table_of(kTableSummary, os_report(name, edition)).csv;
            ASSERT_EQ(name, column(csv, "OSName")) << name << " " << edition;
            ASSERT_EQ(edition, column(csv, "Edition")) << name << " " << edition;
            ++checked;
          }
  for (uint32_t minor : {0u, 10u, 90u})
    for (char release : {' ', 'A', 'B', 'C'}) {
      const char *name;
      const char *edition;
      name_9x(4, minor, release, &name, &edition);
      std::string csv = table_of(kTableSummary, os_report(name, edition)).csv;
      ASSERT_EQ(name, column(csv, "OSName"));
      ASSERT_EQ(edition, column(csv, "Edition"));
    }
  EXPECT_GT(checked, 4000);
  // The names that once split wrong, whole.
  std::string r2 = table_of(kTableSummary, os_report("Windows Server 2012 R2", "Datacenter")).csv;
  EXPECT_EQ("Windows Server 2012 R2|Datacenter", column(r2, "OSName") + "|" + column(r2, "Edition"));
  std::string hci = table_of(kTableSummary, os_report("Azure Stack HCI", "(Server Core)")).csv;
  EXPECT_EQ("Azure Stack HCI|(Server Core)", column(hci, "OSName") + "|" + column(hci, "Edition"));
}

// A drive block as the drive section prints it.
static std::string drive(char letter, const std::string &lines) {
  return std::string("\n=======\nDrive ") + letter + "\n=======\n\n" + lines + "\n\n";
}

// A drive without media keeps nothing of the drive before it; of two drives in the same tenth of a percent, and the
// same millionth, 4 KB apart in a terabyte, the emptier is named.
TEST(Reader, DrivesStandApart) {
  std::string text = report(section(
      "Drive Information",
      drive('C',
            "Type                  : Hard Drive\nVolume Label          : SYSTEM\n\nStorage Space\n-------------\n\n"
            "Space free            : 300000004 KB\nTotal space           : 1000000000 KB\n") +
          drive('A', "No media present (Removable)\n") +
          drive('D',
                "Type                  : Hard Drive\n\nStorage Space\n-------------\n\n"
                "Space free            : 300000000 KB\nTotal space           : 1000000000 KB\n")));
  EXPECT_EQ(
      "Computer,Drive,Type,VolumeLabel,VolumeSerial,FileSystem,SectorsPerCluster,BytesPerSector,FreeClusters,"
      "UsedClusters,TotalClusters,FreeKB,UsedKB,TotalKB\r\n"
      "PC,C,Hard Drive,SYSTEM,,,,,,,,300000004,,1000000000\r\n"
      "PC,A,Removable,,,,,,,,,,,\r\n"
      "PC,D,Hard Drive,,,,,,,,,300000000,,1000000000\r\n",
      table_of(kTableDrives, text).csv);
  std::string csv = table_of(kTableSummary, text).csv;
  EXPECT_EQ("2|2000000000|600000004|30.0|D", column(csv, "FixedDrives") + "|" + column(csv, "FixedTotalKB") + "|" +
                                                 column(csv, "FixedFreeKB") + "|" + column(csv, "LowestFreePercent") +
                                                 "|" + column(csv, "LowestFreeDrive"));
}

// The oldest password of several enabled administrators is the one of the largest age, whatever their order; a
// disabled one cannot log on and does not count.
TEST(Reader, OldestAdministratorPassword) {
  std::string users =
      "User:\t\tone (Admin)\nFlags: \n\nPassword Age:\t1d 0h 0m 0s\n\n\n"
      "User:\t\ttwo (Admin)\nFlags: \t\tAccount password does not expire\n\nPassword Age:\t3w 0d 0h 0m 0s\n\n\n"
      "User:\t\tthree (Admin)\nFlags: \n\nPassword Age:\t5s\n\n\n"
      "User:\t\tfour (Admin)\nFlags: \t\tAccount is disabled\n\nPassword Age:\t9w 0d 0h 0m 0s\n\n\n";
  std::string csv = table_of(kTableSummary, report(section("User Accounts", users))).csv;
  EXPECT_EQ("1814400", column(csv, "OldestAdminPasswordAgeSeconds"));
  EXPECT_EQ("4|one;two;three|one;two;three;four",
            column(csv, "Accounts") + "|" + column(csv, "EnabledAccounts") + "|" + column(csv, "Administrators"));
}

// The network section of a Windows that cannot list its adapters: no adapter, no address. (Real -N reports are
// tabled under Wine, tests/wine/table.sh.)
TEST(Reader, NetworkAdaptersUnknown) {
  std::string text = report(section("Network Information", "Adapters\n--------\n\nAdapter               : Unknown\n"));
  EXPECT_EQ(
      "Computer,Adapter,Description,Type,Status,MAC,Speed,IPv4,IPv6,Gateways,DNSServers,DNSSuffix,DHCP,"
      "DHCPServer\r\n",
      table_of(kTableAdapters, text).csv);
  EXPECT_EQ("|", column(table_of(kTableSummary, text).csv, "IPv4Addresses") + "|" +
                     column(table_of(kTableSummary, text).csv, "MACAddresses"));
}

static const char kPrograms[] =
    "Windows\n-------\n\n"
    "Display Version       : 22H2\n"
    "Build                 : 19045.3803\n"
    "Service Pack          : None\n"
    "Programs              : 3\n"
    "Updates               : 2\n"
    "Latest Update         : 2024-01-09\n\n"
    "Programs\n--------\n\n"
    "Name\tVersion\tPublisher\tInstalled\tBits\tScope\n"
    "7-Zip 23.01 (x64)\t23.01\tIgor Pavlov\t2023-07-01\t64-bit\tMachine\n"
    "Notepad++, \"portable\"\t8.6\tDon Ho\tUnknown\t32-bit\tMachine\n"
    "Zoom\t5.17.0\tZoom Video Communications, Inc.\t2024-01-02\t32-bit\tCORP\\alice\n\n"
    "Updates\n-------\n\n"
    "KB\tInstalled\tSource\tName\n"
    "KB5034122\t2024-01-09\tCBS\t\n"
    "KB890830\tUnknown\tUninstall\tWindows Malicious Software Removal Tool\n";

TEST(Reader, ProgramsSection) {
  std::string text = report(section("Programs and Updates", kPrograms));
  EXPECT_EQ(
      "Computer,Name,Version,Publisher,InstallDate,Architecture,Scope\r\n"
      "PC,7-Zip 23.01 (x64),23.01,Igor Pavlov,2023-07-01,64-bit,Machine\r\n"
      "PC,\"Notepad++, \"\"portable\"\"\",8.6,Don Ho,Unknown,32-bit,Machine\r\n"
      "PC,Zoom,5.17.0,\"Zoom Video Communications, Inc.\",2024-01-02,32-bit,CORP\\alice\r\n",
      table_of(kTablePrograms, text).csv);
  EXPECT_EQ(
      "Computer,KB,InstalledOn,Source,Name\r\n"
      "PC,KB5034122,2024-01-09,CBS,\r\n"
      "PC,KB890830,Unknown,Uninstall,Windows Malicious Software Removal Tool\r\n",
      table_of(kTableUpdates, text).csv);
  std::string csv = table_of(kTableSummary, text).csv;
  EXPECT_EQ("22H2|19045.3803|3|2|2024-01-09", column(csv, "DisplayVersion") + "|" + column(csv, "FullBuild") + "|" +
                                                  column(csv, "Programs") + "|" + column(csv, "Updates") + "|" +
                                                  column(csv, "LatestUpdate"));
  // Lines after the lists keep their numbers, whether the lists were read (--programs) or passed over (the summary).
  std::string after =
      report(section("Programs and Updates", kPrograms) + section("Operating System Information", "Reg Error XR1\n"));
  size_t line = 1 + std::count(after.begin(), after.begin() + after.find("Reg Error"), '\n');
  std::string said = "line " + std::to_string(line) + ": Reg Error XR1 (the report's own error line)\n";
  EXPECT_EQ(said, table_of(kTableSummary, after).messages);
  EXPECT_EQ(said, table_of(kTablePrograms, after).messages);
  // A list line without its six fields is named, not taken.
  Table cut = table_of(kTablePrograms, report(section("Programs and Updates", "Programs\n--------\n\nZoom\t5.17\n")));
  EXPECT_EQ("Computer,Name,Version,Publisher,InstallDate,Architecture,Scope\r\n", cut.csv);
  EXPECT_EQ("line 14: a list line without its fields\n", cut.messages);
}
