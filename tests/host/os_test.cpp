#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "os/os.h"
#include "sim_fixture.h"

namespace {

const char kCurrentVersion[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
const char kProductOptions[] = "SYSTEM\\CurrentControlSet\\Control\\ProductOptions";
const char kHotfix[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix\\Q246009";
const char kEpochText[] = "Thu Jan 01 00:00:00 1970\n";
const char kEpochAge[] = "1782w 3d 12h 0m 0s";  // from 1970 to the machine's clock

// One expected section: the machine's clock reads 2004-02-29 12:00:00 UTC, it
// was installed 2001-09-09 01:46:40 UTC and is up 1d 2h 3m 4s.
struct Expected {
  std::string system;  // after "Operating System:\t"
  std::optional<std::string> service_pack = "Service Pack 1 (1.0)";
  std::optional<std::string> build_type = "Uniprocessor Free";
  std::string owner = "Ada Lovelace", org = "Analytical Engines Ltd", product_id = "55274-640-1011873-23081",
              root = "C:\\WINNT";
  std::string user = "operator", uptime = "1d 2h 3m 4s";
  std::string now = "Sun Feb 29 12:00:00 2004\n", install = "Sun Sep 09 01:46:40 2001\n", age = "129w 0d 10h 13m 20s";
};

std::string text_of(const Expected &e, const std::string &messages = "") {
  std::string text = heading("Operating System Information") + messages + "Current User:\t\t" + e.user +
                     "\nSystem Uptime:\t\t" + e.uptime + "\nOperating System:\t" + e.system + "\n";
  if (e.service_pack) text += "Service Pack:\t\t" + *e.service_pack + "\n";
  if (e.build_type) text += "Build Type:\t\t" + *e.build_type + "\n";
  return text + "Reg Name:\t\t" + e.owner + "\nReg Org.:\t\t" + e.org + "\nProduct ID:\t\t" + e.product_id +
         "\nSystem Root:\t\t" + e.root + "\n\nCurrent Time:\t\t" + e.now + "Install Time:\t\t" + e.install +
         "\t\t\t" + e.age + " ago\n";
}

Expected nt_section(const std::string &system) {
  Expected e;
  e.system = system;
  return e;
}

// Without registry facts: the 9x family, or an identification that stopped.
Expected bare_section(const std::string &system) {
  Expected e;
  e.system = system;
  e.service_pack.reset();
  e.build_type.reset();
  e.owner = e.org = e.product_id = e.root = "";
  e.install = kEpochText;
  e.age = kEpochAge;
  return e;
}

class OsTest : public SimTest {
 protected:
  void SetUp() override { fresh_machine(); }

  void fresh_machine() {
    sim::reset();
    machine().utc_now = {2004, 2, 0, 29, 12, 0, 0, 0};
    machine().ticks = {93784000};
  }

  void version(DWORD platform, DWORD major, DWORD minor, DWORD build, const char *csd) {
    OSVERSIONINFOEXA &v = machine().version;
    v.dwPlatformId = platform;
    v.dwMajorVersion = major;
    v.dwMinorVersion = minor;
    v.dwBuildNumber = build;
    strcpy(v.szCSDVersion, csd);
  }

  // An NT system with its registry facts.
  void nt(DWORD major, DWORD minor, BYTE product_type, WORD suite, const char *csd = "Service Pack 1",
          WORD sp_major = 1, WORD sp_minor = 0) {
    version(VER_PLATFORM_WIN32_NT, major, minor, 2600, csd);
    OSVERSIONINFOEXA &v = machine().version;
    v.wProductType = product_type;
    v.wSuiteMask = suite;
    v.wServicePackMajor = sp_major;
    v.wServicePackMinor = sp_minor;
    sim::set_reg_string(kCurrentVersion, "SystemRoot", "C:\\WINNT");
    sim::set_reg_string(kCurrentVersion, "CurrentType", "Uniprocessor Free");
    sim::set_reg_string(kCurrentVersion, "ProductId", "55274-640-1011873-23081");
    sim::set_reg_string(kCurrentVersion, "RegisteredOrganization", "Analytical Engines Ltd");
    sim::set_reg_string(kCurrentVersion, "RegisteredOwner", "Ada Lovelace");
    sim::set_reg_dword(kCurrentVersion, "InstallDate", 1000000000);
  }

  void me() { version(VER_PLATFORM_WIN32_WINDOWS, 4, 90, 3000, ""); }

  static std::string section() { return sim::run([] { report_os(); return 0; }).out; }
  static int identify() { return sim::run(identify_os).status; }

  // For loops, where the fixture's own check at the end comes too late.
  static void expect_released(const std::string &where) {
    EXPECT_EQ(std::vector<std::string>(), sim::held()) << where;
  }
};

TEST_F(OsTest, EditionTableNamesEveryNtSystem) {
  const char *k2003 = "Windows Server 2003 family";
  struct Row {
    DWORD major, minor;
    BYTE type;
    WORD suite;
    const char *name, *edition;
  } rows[] = {
      {4, 0, VER_NT_WORKSTATION, VER_SUITE_PERSONAL, "Windows NT", "Workstation 4.0"},
      {5, 1, VER_NT_WORKSTATION, VER_SUITE_PERSONAL, "Windows XP", "Home Edition"},
      {5, 1, VER_NT_WORKSTATION, 0x100, "Windows XP", "Professional"},
      {5, 0, VER_NT_WORKSTATION, 0, "Windows 2000", "Professional"},
      {5, 2, VER_NT_WORKSTATION, 0, k2003, "Professional"},
      {5, 2, VER_NT_WORKSTATION, VER_SUITE_PERSONAL, k2003, "Home Edition"},
      {6, 0, VER_NT_WORKSTATION, 0, "", "Professional"},
      {5, 3, VER_NT_WORKSTATION, 0, "", "Professional"},
      {5, 2, VER_NT_SERVER, VER_SUITE_DATACENTER, k2003, "Datacenter Edition"},
      {5, 2, VER_NT_SERVER, 0x82, k2003, "Datacenter Edition"},
      {5, 2, VER_NT_SERVER, VER_SUITE_ENTERPRISE, k2003, "Enterprise Edition"},
      {5, 2, VER_NT_SERVER, 0x402, k2003, "Enterprise Edition"},
      {5, 2, VER_NT_SERVER, VER_SUITE_BLADE, k2003, "Web Edition"},
      {5, 2, VER_NT_SERVER, 0x410, k2003, "Standard Edition"},
      {5, 2, VER_NT_SERVER, 0, k2003, "Standard Edition"},
      {5, 0, VER_NT_SERVER, VER_SUITE_DATACENTER, "Windows 2000", "Datacenter Edition"},
      {5, 0, VER_NT_SERVER, 0x82, "Windows 2000", "Datacenter Edition"},
      {5, 0, VER_NT_SERVER, VER_SUITE_ENTERPRISE, "Windows 2000", "Advanced Server"},
      {5, 0, VER_NT_SERVER, VER_SUITE_BLADE, "Windows 2000", "Server"},
      {4, 0, VER_NT_SERVER, VER_SUITE_ENTERPRISE, "Windows NT", "Server 4.0, Enterprise Edition"},
      {4, 0, VER_NT_SERVER, VER_SUITE_DATACENTER, "Windows NT", "Server 4.0"},
      {3, 51, VER_NT_SERVER, 0, "Windows NT", "Server 4.0"},
      {5, 1, VER_NT_SERVER, VER_SUITE_ENTERPRISE, "Windows XP", "Server 4.0, Enterprise Edition"},
      {6, 1, VER_NT_SERVER, 0x82, "", "Server 4.0, Enterprise Edition"},
      {6, 1, VER_NT_SERVER, VER_SUITE_BLADE, "", "Server 4.0"},
      {5, 2, VER_NT_DOMAIN_CONTROLLER, VER_SUITE_ENTERPRISE, k2003, ""},
      {5, 0, 0, 0, "Windows 2000", ""},
  };
  for (const Row &row : rows) {
    std::string numbers = std::to_string(row.major) + "." + std::to_string(row.minor);
    std::string where = numbers + " type " + std::to_string(row.type) + " suite " + std::to_string(row.suite);
    fresh_machine();
    nt(row.major, row.minor, row.type, row.suite, "Service Pack 2", 2, 1);
    Expected e = nt_section(std::string(row.name) + " " + row.edition + " (" + numbers + ".2600)");
    e.service_pack = "Service Pack 2 (2.1)";
    EXPECT_EQ(text_of(e), section()) << where;
    EXPECT_EQ(row.suite, os_info.suite_mask) << where;
    expect_released(where);
  }
}

TEST_F(OsTest, NineXFamilyNamesFromMinorVersionAndSecondCsdCharacter) {
  struct Row {
    DWORD major, minor;
    const char *csd, *system;
  } rows[] = {
      {4, 0, " C", "Windows 95 OSR2 (4.0.1111)"},  {4, 0, " B", "Windows 95 OSR2 (4.0.1111)"},
      {4, 0, "C ", "Windows 95  (4.0.1111)"},      {4, 0, " A", "Windows 95  (4.0.1111)"},
      {4, 10, " A ", "Windows 98 SE (4.10.1111)"}, {4, 10, "A", "Windows 98  (4.10.1111)"},
      {4, 10, " C", "Windows 98  (4.10.1111)"},    {4, 90, " A", "Windows Millennium Edition  (4.90.1111)"},
      {4, 3, " C", "  (4.3.1111)"},                {5, 0, " C", "  (5.0.1111)"},
  };
  for (const Row &row : rows) {
    fresh_machine();
    nt(5, 0, VER_NT_WORKSTATION, 0);  // registry facts there, but not read
    // The high word of the build number repeats the version.
    version(VER_PLATFORM_WIN32_WINDOWS, row.major, row.minor, (row.major << 24) | (row.minor << 16) | 1111, row.csd);
    EXPECT_EQ(text_of(bare_section(row.system)), section()) << row.system << " from \"" << row.csd << "\"";
    EXPECT_EQ(1, identify());
    EXPECT_EQ(0u, sim::count_calls("RegOpenKeyExA")) << row.system;
  }
}

TEST_F(OsTest, BasicStructureTakesTheEditionFromProductType) {
  struct Row {
    std::string bytes, edition;
  } rows[] = {
      {std::string("winnt", 6), "Workstation"},         {"WinNT", "Workstation"},  // no terminator
      {std::string("LanmanNT", 9), "Server"},           {std::string("SERVERNT", 9), "Advanced Server"},
      {std::string("ServerNT ", 10), ""},               {std::string(256, 'W'), ""},  // fills the buffer
  };
  for (const Row &row : rows) {
    fresh_machine();
    // NT 4.0 before Service Pack 6: the extended fields never arrive.
    nt(4, 0, VER_NT_SERVER, VER_SUITE_DATACENTER, "Service Pack 5", 5, 2);
    machine().version_ex_ok = false;
    sim::set_reg_raw(kProductOptions, "ProductType", REG_SZ, row.bytes);
    Expected e = nt_section("Windows NT " + row.edition + " (4.0.2600)");
    e.service_pack.reset();
    EXPECT_EQ(text_of(e), section()) << row.edition;
    EXPECT_EQ("Service Pack 5", std::string(os_info.service_pack));
    EXPECT_EQ(0u, os_info.suite_mask + os_info.sp_major + os_info.sp_minor);

    std::vector<sim::Call> queries = sim::calls_named("GetVersionExA");
    ASSERT_EQ(2u, queries.size());
    EXPECT_EQ("156", queries[0].args);
    EXPECT_EQ("148", queries[1].args);
    EXPECT_EQ("HKEY_LOCAL_MACHINE, \"" + std::string(kProductOptions) + "\", 0, " + std::to_string(KEY_QUERY_VALUE),
              sim::calls_named("RegOpenKeyExA").at(0).args);
    expect_released(row.edition);
  }
}

TEST_F(OsTest, BasicStructureWithoutProductTypeStopsEarly) {
  for (int failure = 0; failure < 4; ++failure) {
    fresh_machine();
    nt(4, 0, VER_NT_WORKSTATION, 0, "Service Pack 3", 3, 0);
    machine().version_ex_ok = false;
    if (failure == 1) sim::add_reg_key(kProductOptions);  // key without the value
    if (failure == 2) sim::set_reg_string(kProductOptions, "ProductType", std::string(256, 'W'));  // 257 bytes
    if (failure == 3) {
      sim::set_reg_string(kProductOptions, "ProductType", "WinNT");
      machine().fail.insert("RegQueryValueExA");
    }
    memset(&os_info, 0x55, sizeof os_info);
    sim::Result r = sim::run(identify_os);
    EXPECT_EQ(0, r.status) << failure;
    EXPECT_EQ("", r.out) << failure;
    EXPECT_EQ("Windows NT", std::string(os_info.os_name));
    EXPECT_EQ(1, os_info.is_nt);
    EXPECT_EQ(4u, os_info.major_version);
    EXPECT_EQ(2600, os_info.build);
    EXPECT_EQ("", std::string(os_info.edition) + os_info.service_pack + os_info.system_root + os_info.registered_owner);
    EXPECT_EQ(0, os_info.install_time);
    EXPECT_EQ(1u, sim::count_calls("RegOpenKeyExA")) << failure;
    expect_released(std::to_string(failure));
  }
  Expected e = bare_section("Windows NT  (4.0.2600)");
  e.build_type = "";
  EXPECT_EQ(text_of(e), section());
}

TEST_F(OsTest, FailedQueryOrUnknownPlatformNamesNothing) {
  nt(5, 1, VER_NT_WORKSTATION, 0);
  machine().fail.insert("GetVersionExA");
  memset(&os_info, 0x55, sizeof os_info);
  EXPECT_EQ(0, identify());
  const OsInfo zero = {};
  EXPECT_EQ(0, memcmp(&zero, &os_info, sizeof zero));
  EXPECT_EQ(2u, sim::count_calls("GetVersionExA"));
  EXPECT_EQ(text_of(bare_section("  (0.0.0)")), section());

  machine().fail.clear();
  machine().version.dwPlatformId = 3;
  EXPECT_EQ(1, identify());
  EXPECT_EQ(text_of(bare_section("  (5.1.2600)")), section());
  EXPECT_EQ(0u, sim::count_calls("RegOpenKeyExA"));
}

TEST_F(OsTest, ServicePack6aIsKnownByItsHotfixKey) {
  struct Row {
    DWORD major;
    const char *csd;
    bool hotfix;
    const char *shown;
  } rows[] = {
      {4, "service PACK 6", true, "Service Pack 6a"}, {4, "SERVICE pack 6", false, "SERVICE pack 6"},
      {4, "Service Pack 6", true, "Service Pack 6a"}, {4, "Service Pack 6 ", true, "Service Pack 6 "},
      {4, "Service Pack 5", true, "Service Pack 5"},  {5, "Service Pack 6", true, "Service Pack 6"},
  };
  for (const Row &row : rows) {
    fresh_machine();
    nt(row.major, 0, VER_NT_WORKSTATION, 0, row.csd, 6, 0);
    if (row.hotfix) sim::add_reg_key(kHotfix);
    Expected e = nt_section(row.major == 4 ? "Windows NT Workstation 4.0 (4.0.2600)"
                                           : "Windows 2000 Professional (5.0.2600)");
    e.service_pack = std::string(row.shown) + " (6.0)";
    EXPECT_EQ(text_of(e), section()) << row.csd;
    expect_released(row.csd);
  }
}

TEST_F(OsTest, RegistryTextFillsAtMost256BytesAndIsAlwaysTerminated) {
  struct Row {
    DWORD type;
    std::string bytes, text, out;
  } rows[] = {
      {REG_SZ, std::string(255, 'r') + '\0', std::string(255, 'r'), ""},
      {REG_SZ, std::string(256, 'r'), std::string(256, 'r'), ""},
      {REG_SZ, std::string(256, 'r') + '\0', "", "Reg Error XR1\n"},
      {REG_SZ, "abc", "abc", ""},
      {REG_EXPAND_SZ, std::string("a\0b", 4), "a", ""},
      {REG_DWORD, std::string("ABC\0", 4), "ABC", ""},
      {REG_BINARY, "", "", ""},
  };
  for (const Row &row : rows) {
    sim::reset();
    sim::set_reg_raw(kCurrentVersion, "RegisteredOwner", row.type, row.bytes);
    char destination[MAX_PATH + 8];
    memset(destination, '#', sizeof destination);
    sim::Result r = sim::run([&] {
      read_hklm_string(destination, kCurrentVersion, "RegisteredOwner");
      return 0;
    });
    EXPECT_EQ(row.out, r.out) << row.bytes.size();
    ASSERT_LT(strnlen(destination, MAX_PATH), size_t(MAX_PATH));
    EXPECT_EQ(row.text, std::string(destination)) << row.bytes.size();
    EXPECT_EQ(std::string(8, '#'), std::string(destination + MAX_PATH, 8));
    EXPECT_EQ("[" + sim::lower(kCurrentVersion) + "], \"RegisteredOwner\", NULL, NULL, data, 256",
              sim::calls_named("RegQueryValueExA").at(0).args);
    expect_released(std::to_string(row.bytes.size()));
  }
}

TEST_F(OsTest, RegistryFactsMissingOrOdd) {
  std::string values = sim::lower(kCurrentVersion);
  auto erase = [&](const char *name) { machine().hklm[values].values.erase(name); };
  struct Row {
    const char *what;
    std::function<void()> change;
    std::function<void(Expected &)> expect;
    std::string messages;
  } rows[] = {
      {"no key", [&] { machine().hklm.erase(values); },
       [](Expected &e) {
         e.build_type = e.owner = e.org = e.product_id = e.root = "Unknown";
         e.install = kEpochText;
         e.age = kEpochAge;
       },
       ""},
      {"no organisation", [&] { erase("registeredorganization"); }, [](Expected &e) { e.org = ""; },
       "Reg Error XR1\n"},
      {"no root, no organisation", [&] {
         erase("systemroot");
         erase("registeredorganization");
       },
       [](Expected &e) { e.root = e.org = ""; }, "Reg Error XR1\nReg Error XR1\n"},
      {"no install date", [&] { erase("installdate"); },
       [](Expected &e) {
         e.install = kEpochText;
         e.age = kEpochAge;
       },
       ""},
      {"install date too long", [&] { sim::set_reg_raw(kCurrentVersion, "InstallDate", REG_BINARY, "12345678"); },
       [](Expected &e) {
         e.install = kEpochText;
         e.age = kEpochAge;
       },
       ""},
      {"installed after now", [&] { sim::set_reg_dword(kCurrentVersion, "InstallDate", 1100000000); },
       [](Expected &e) {
         e.install = "Tue Nov 09 11:33:20 2004\n";
         e.age = "7065w 1d 6h 54m 56s";
       },
       ""},
  };
  for (const Row &row : rows) {
    fresh_machine();
    nt(5, 1, VER_NT_WORKSTATION, 0);
    row.change();
    Expected e = nt_section("Windows XP Professional (5.1.2600)");
    row.expect(e);
    EXPECT_EQ(text_of(e, row.messages), section()) << row.what;
    expect_released(row.what);
  }
}

TEST_F(OsTest, FailedUserNameLeavesTheLineEmpty) {
  me();
  Expected e = bare_section("Windows Millennium Edition  (4.90.3000)");
  EXPECT_EQ(text_of(e), section());
  // The buffer still holds the name from the run before.
  machine().fail.insert("GetUserNameA");
  e.user = "";
  EXPECT_EQ(text_of(e), section());
  for (const sim::Call &call : sim::calls_named("GetUserNameA")) EXPECT_EQ("256", call.args);
}

TEST_F(OsTest, UptimeComesFromTheTickCount) {
  me();
  const struct {
    DWORD ticks;
    const char *uptime;
  } rows[] = {{999, "0s"}, {60000, "1m 0s"}, {0xFFFFFFFF, "7w 0d 17h 2m 47s"}};
  for (const auto &row : rows) {
    machine().ticks = {row.ticks};
    Expected e = bare_section("Windows Millennium Edition  (4.90.3000)");
    e.uptime = row.uptime;
    EXPECT_EQ(text_of(e), section()) << row.ticks;
  }
}

TEST_F(OsTest, TimesBefore1970InLocalTimePrintUnknown) {
  // Five hours west of Greenwich, three hours after the epoch in UTC.
  me();
  machine().local_offset = -5 * 3600;
  machine().utc_now = {1970, 1, 0, 1, 3, 0, 0, 0};
  Expected e = bare_section("Windows Millennium Edition  (4.90.3000)");
  e.now = e.install = "Unknown\n";
  e.age = "3h 0m 0s";
  EXPECT_EQ(text_of(e), section());
}

TEST_F(OsTest, RegistryIsOnlyQueriedAndEveryKeyIsClosed) {
  nt(4, 0, VER_NT_SERVER, 0, "Service Pack 6", 6, 0);
  sim::add_reg_key(kHotfix);
  EXPECT_EQ(1, identify());
  EXPECT_EQ(1u, sim::count_calls("GetVersionExA"));

  std::vector<sim::Call> opens = sim::calls_named("RegOpenKeyExA");
  ASSERT_EQ(7u, opens.size());  // hotfix, five texts, install date
  for (const sim::Call &call : opens) {
    EXPECT_EQ(0u, call.args.find("HKEY_LOCAL_MACHINE, \"")) << call.args;
    EXPECT_EQ(", 0, " + std::to_string(KEY_QUERY_VALUE), call.args.substr(call.args.rfind(", 0, "))) << call.args;
  }
  EXPECT_EQ(opens.size(), sim::count_calls("RegCloseKey"));

  const char *names[] = {"SystemRoot", "CurrentType", "ProductID", "RegisteredOrganization", "RegisteredOwner",
                         "InstallDate"};
  std::vector<sim::Call> queries = sim::calls_named("RegQueryValueExA");
  ASSERT_EQ(6u, queries.size());
  for (size_t i = 0; i < 6; ++i)
    EXPECT_EQ("[" + sim::lower(kCurrentVersion) + "], \"" + names[i] + "\", NULL, NULL, data, " + (i < 5 ? "256" : "4"),
              queries[i].args);
}

// The simulated registry's edges that the device report relies on.
using SimRegistryTest = SimTest;

TEST_F(SimRegistryTest, DefaultValueQueryAndDoubleClose) {
  HKEY set = sim::open_class_key(std::string("Display adapters"));
  HKEY unset = sim::open_class_key(std::nullopt);
  char text[8];
  LONG size = sizeof text;
  EXPECT_EQ(ERROR_MORE_DATA, RegQueryValueA(set, nullptr, text, &size));
  EXPECT_EQ(17, size);
  size = sizeof text;
  memset(text, '#', sizeof text);
  EXPECT_EQ(ERROR_SUCCESS, RegQueryValueA(unset, nullptr, text, &size));
  EXPECT_EQ(1, size);
  EXPECT_EQ('\0', text[0]);
  EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(set));
  EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(unset));
  EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(unset));
  EXPECT_EQ(1u, sim::held().size());  // the second close is a misuse
  sim::reset();
}

}  // namespace
