// The functions bound at run time: what each section prints when the system
// lacks them, what the calls give back, and that each DLL is looked up once.
#include <gtest/gtest.h>

#include "devices/devices.h"
#include "report/binding.h"
#include "sim_fixture.h"
#include "storage/storage.h"
#include "users/users.h"

namespace {

const char *const kSetupapiFunctions[] = {
    "SetupDiClassNameFromGuidA", "SetupDiClassGuidsFromNameA",        "SetupDiGetClassDevsA",
    "SetupDiOpenClassRegKeyExA", "SetupDiEnumDeviceInfo",             "SetupDiGetDeviceRegistryPropertyA",
    "SetupDiDestroyDeviceInfoList"};

const char kDriveC[] =
    "\n=======\nDrive C\n=======\n\n"
    "Type                  : Hard Drive\n"
    "Volume Label          : SYSTEM\n"
    "Volume Serial         : 12ABCD\n"
    "File System           : NTFS\n";

const char kDriveCSpace[] =
    "\nClusters\n--------\n\n"
    "Sectors per cluster   : 8\n"
    "Bytes per sector      : 512\n"
    "Free clusters         : 1000\n"
    "Used clusters         : 1500\n"
    "Total clusters        : 2500\n"
    "\nStorage Space\n-------------\n\n"
    "Space free            : 4000 KB\n"
    "Space used            : 6000 KB\n"
    "Total space           : 10000 KB\n"
    "\n\n";

}  // namespace

class BindingTest : public SimTest {
 protected:
  // Drive C with a volume and both space queries answered; a machine with
  // two listable classes and one account.
  void describe_machine() {
    sim::Drive &c = machine().drives['C' - 'A'];
    c.type = DRIVE_FIXED;
    c.mounted = true;
    c.label = "SYSTEM";
    c.serial = 0x0012ABCD;
    c.file_system = "NTFS";
    c.sectors_per_cluster = 8;
    c.bytes_per_sector = 512;
    c.free_clusters = 1000;
    c.total_clusters = 2500;
    c.total_bytes = 10000 * 1024;
    c.free_bytes = 4000 * 1024;
    c.available_bytes = 3000 * 1024;

    add_class(1, "Display", "Display adapters", "Standard VGA");
    add_class(2, "Mouse", "Mice", "PS/2 mouse");

    sim::UserBatch batch;
    sim::User user;
    user.name = u"alpha";
    batch.users.push_back(user);
    machine().user_batches.push_back(batch);
  }

  void add_class(DWORD n, const std::string &name, const std::string &description, const std::string &device) {
    sim::DeviceClass c;
    c.guid = sim::make_guid(n);
    c.name = name;
    c.description = description;
    c.devices.push_back(sim::Device{device, std::nullopt, true});
    machine().classes.push_back(c);
  }

  static size_t device_calls() {
    size_t count = sim::count_calls("CM_Enumerate_Classes");
    for (const char *name : kSetupapiFunctions) count += sim::count_calls(name);
    return count;
  }

  // The GetProcAddress calls for name, whichever DLL they asked.
  static size_t lookups_of(const std::string &name) {
    const std::string quoted = ", \"" + name + "\"";
    size_t count = 0;
    for (const sim::Call &call : sim::calls_named("GetProcAddress"))
      if (call.args.size() > quoted.size() && call.args.compare(call.args.size() - quoted.size(), quoted.size(), quoted) == 0)
        ++count;
    return count;
  }

  static std::string held_text() {
    std::string text;
    for (const std::string &item : sim::held()) text += item + "\n";
    return text;
  }

  const std::string devices_head = heading("Devices") + "SIMBOX\n";
  const std::string devices_listed = "\n+Display adapters\n...Standard VGA\n\n+Mice\n...PS/2 mouse\n";
  const std::string users_head = heading("User Accounts");
};

// Drives

TEST_F(BindingTest, FreeSpaceAbsentEndsTheBlockAsAFailingQueryDoes) {
  describe_machine();
  EXPECT_EQ(heading("Drive Information") + kDriveC + kDriveCSpace, sim::run(report_drives).out);

  sim::reset();
  describe_machine();
  machine().drives['C' - 'A'].space_ok = false;
  std::string failing = sim::run(report_drives).out;
  EXPECT_EQ(heading("Drive Information") + kDriveC, failing);

  sim::reset();
  describe_machine();
  machine().absent = {"GetDiskFreeSpaceExA"};
  EXPECT_EQ(failing, sim::run(report_drives).out);
  // The system's function was never reached, and the block ended before
  // the cluster query.
  EXPECT_EQ(0u, sim::count_calls("GetDiskFreeSpaceExA"));
  EXPECT_EQ(0u, sim::count_calls("GetDiskFreeSpaceA"));
}

TEST_F(BindingTest, FreeSpaceCallForwardsOrFails) {
  describe_machine();
  ULARGE_INTEGER available, total, free_bytes;
  available.QuadPart = total.QuadPart = free_bytes.QuadPart = 7;
  ASSERT_TRUE(GetDiskFreeSpaceExA("C:\\", &available, &total, &free_bytes));
  EXPECT_EQ(3000u * 1024, available.QuadPart);
  EXPECT_EQ(10000u * 1024, total.QuadPart);
  EXPECT_EQ(4000u * 1024, free_bytes.QuadPart);
  EXPECT_EQ("\"C:\\\"", sim::calls_named("GetDiskFreeSpaceExA").at(0).args);

  sim::reset();
  describe_machine();
  machine().absent = {"GetDiskFreeSpaceExA"};
  available.QuadPart = total.QuadPart = free_bytes.QuadPart = 7;
  SetLastError(0);
  EXPECT_FALSE(GetDiskFreeSpaceExA("C:\\", &available, &total, &free_bytes));
  EXPECT_EQ((DWORD)ERROR_PROC_NOT_FOUND, GetLastError());
  EXPECT_EQ(7u, available.QuadPart);
  EXPECT_EQ(7u, total.QuadPart);
  EXPECT_EQ(7u, free_bytes.QuadPart);
}

// Devices

TEST_F(BindingTest, DeviceServicesAbsentEndTheClassWalkAtOnce) {
  describe_machine();
  ASSERT_EQ(devices_head + devices_listed, sim::run(report_devices).out);

  std::vector<std::string> absences = {"cfgmgr32.dll", "setupapi.dll", "CM_Enumerate_Classes"};
  absences.insert(absences.end(), std::begin(kSetupapiFunctions), std::end(kSetupapiFunctions));
  for (const std::string &absent : absences) {
    sim::reset();
    describe_machine();
    machine().absent = {absent};
    sim::Result r = sim::run(report_devices);
    EXPECT_FALSE(r.ended) << absent;
    EXPECT_EQ(devices_head, r.out) << absent;
    // Not one class was asked for, so nothing was obtained to release.
    EXPECT_EQ(0u, device_calls()) << absent;
    EXPECT_EQ("", held_text()) << absent;
  }
}

TEST_F(BindingTest, DeviceQueriesWithoutSetupapiFindNothing) {
  for (const char *absent : {"setupapi.dll", "SetupDiDestroyDeviceInfoList", "SetupDiClassGuidsFromNameA"}) {
    sim::reset();
    describe_machine();
    machine().absent = {absent};
    static char name[kDeviceTextSize];
    static char description[kDeviceTextSize];
    int listable = 7;
    strcpy(name, "untouched");
    sim::Result r = sim::run([&] { return query_device_class(0, name, description, &listable); });
    EXPECT_EQ(-1, r.status) << absent;
    EXPECT_EQ(0, listable) << absent;
    EXPECT_STREQ("untouched", name) << absent;

    // A class looked up by name is not there; no second lookup, no message.
    r = sim::run([&] { return query_class_member(0, "Display", name); });
    EXPECT_EQ(-2, r.status) << absent;
    EXPECT_STREQ("", name) << absent;
    EXPECT_EQ("", r.out) << absent;
    EXPECT_EQ(0u, sim::count_calls("LocalAlloc")) << absent;
    EXPECT_EQ(0u, device_calls()) << absent;
  }
}

TEST_F(BindingTest, DeviceFunctionsAbsentGiveTheirFailures) {
  describe_machine();
  machine().absent = {"setupapi.dll"};
  GUID guid = sim::make_guid(1);
  char text[64] = "untouched";
  DWORD size = 99;
  SP_DEVINFO_DATA device;
  memset(&device, 0, sizeof device);
  device.cbSize = sizeof device;
  HDEVINFO set = reinterpret_cast<HDEVINFO>(static_cast<intptr_t>(0x1234));

  SetLastError(0);
  EXPECT_EQ((CONFIGRET)CR_NO_SUCH_VALUE, CM_Enumerate_Classes(0, &guid, 0));
  EXPECT_EQ((DWORD)ERROR_PROC_NOT_FOUND, GetLastError());

  struct Case {
    const char *name;
    bool failed;
  } cases[] = {
      {"SetupDiClassNameFromGuidA", !SetupDiClassNameFromGuidA(&guid, text, sizeof text, &size)},
      {"SetupDiGetClassDevsA", SetupDiGetClassDevsA(&guid, NULL, NULL, DIGCF_PRESENT) == INVALID_HANDLE_VALUE},
      {"SetupDiOpenClassRegKeyExA", SetupDiOpenClassRegKeyExA(&guid, MAXIMUM_ALLOWED, DIOCR_INSTALLER, NULL, NULL) ==
                                        (HKEY)INVALID_HANDLE_VALUE},
      {"SetupDiEnumDeviceInfo", !SetupDiEnumDeviceInfo(set, 0, &device)},
      {"SetupDiGetDeviceRegistryPropertyA",
       !SetupDiGetDeviceRegistryPropertyA(set, &device, SPDRP_FRIENDLYNAME, NULL, (PBYTE)text, sizeof text, NULL)},
      {"SetupDiDestroyDeviceInfoList", !SetupDiDestroyDeviceInfoList(set)},
  };
  for (const Case &c : cases) EXPECT_TRUE(c.failed) << c.name;
  EXPECT_EQ((DWORD)ERROR_PROC_NOT_FOUND, GetLastError());
  EXPECT_STREQ("untouched", text);
  EXPECT_EQ(99u, size);

  // The name lookup says how many classes bear the name: none.
  GUID list[2];
  EXPECT_FALSE(SetupDiClassGuidsFromNameA("Display", list, 2, &size));
  EXPECT_EQ(0u, size);
  EXPECT_EQ(0u, device_calls());
}

// Users

TEST_F(BindingTest, AccountEnumerationAbsentPrintsProcNotFound) {
  describe_machine();
  ASSERT_EQ(users_head +
                "User:\t\talpha (User)\nFlags: \nPassword Age:\t0s\nBad Passwords:\t0\nTotal Logons:\t0\n"
                "Last Logon:\tNever\n\n\n",
            sim::run(report_users).out);

  // Without NetApiBufferFree a buffer could not be released: the
  // enumeration is not asked for at all.
  for (const char *absent : {"netapi32.dll", "NetUserEnum", "NetApiBufferFree"}) {
    sim::reset();
    describe_machine();
    machine().absent = {absent};
    sim::Result r = sim::run(report_users);
    EXPECT_FALSE(r.ended) << absent;
    EXPECT_EQ(users_head + "NUE() returned 127\n", r.out) << absent;
    EXPECT_EQ(0u, sim::count_calls("NetUserEnum")) << absent;
    EXPECT_EQ(0u, sim::count_calls("NetApiBufferFree")) << absent;
    EXPECT_EQ("", held_text()) << absent;
  }
}

TEST_F(BindingTest, BufferReleaseAbsentFailsWithoutTouchingTheBuffer) {
  machine().absent = {"NetApiBufferFree"};
  char block[8] = "buffer";
  SetLastError(0);
  EXPECT_EQ((NET_API_STATUS)ERROR_PROC_NOT_FOUND, NetApiBufferFree(block));
  EXPECT_EQ((DWORD)ERROR_PROC_NOT_FOUND, GetLastError());
  EXPECT_STREQ("buffer", block);
  EXPECT_EQ(0u, sim::count_calls("NetApiBufferFree"));
}

// The whole program

TEST_F(BindingTest, WholeRunWithEveryOptionalFunctionAbsent) {
  describe_machine();
  machine().absent = {"GetDiskFreeSpaceExA", "cfgmgr32.dll", "setupapi.dll", "netapi32.dll"};
  machine().ticks = {1000, 1250};
  sim::Result r = sim::run_program({"-SDU"});
  EXPECT_FALSE(r.ended);
  EXPECT_EQ(0, r.status);
  EXPECT_EQ(kBanner + heading("Drive Information") + kDriveC + devices_head + users_head + "NUE() returned 127\n" +
                "\nTotal time taken: 250 ms\n",
            r.out);
}

TEST_F(BindingTest, EachDllIsLookedUpOnceAndOnlyWhenNeeded) {
  describe_machine();
  machine().drives['D' - 'A'] = machine().drives['C' - 'A'];
  sim::Result r = sim::run_program({"-SS"});
  EXPECT_EQ(4u, sim::count_calls("GetDiskFreeSpaceExA"));
  EXPECT_EQ(1u, lookups_of("GetDiskFreeSpaceExA"));
  EXPECT_EQ(1u, sim::count_calls("GetModuleHandleA"));
  // Neither device nor account functions were needed.
  EXPECT_EQ(0u, sim::count_calls("LoadLibraryA"));

  for (bool present : {true, false}) {
    sim::reset();
    describe_machine();
    if (!present) machine().absent = {"netapi32.dll", "setupapi.dll"};
    r = sim::run_program({"-UDU"});
    std::vector<sim::Call> loads = sim::calls_named("LoadLibraryA");
    ASSERT_EQ(3u, loads.size()) << present;
    EXPECT_EQ("\"netapi32.dll\"", loads[0].args) << present;
    EXPECT_EQ("\"cfgmgr32.dll\"", loads[1].args) << present;
    EXPECT_EQ("\"setupapi.dll\"", loads[2].args) << present;
    // A DLL that is not there has nothing to look up in.
    EXPECT_EQ(present ? 1u : 0u, lookups_of("NetUserEnum")) << present;
    EXPECT_EQ(present ? 1u : 0u, lookups_of("NetApiBufferFree")) << present;
    EXPECT_EQ(1u, lookups_of("CM_Enumerate_Classes")) << present;
    EXPECT_EQ(present ? 1u : 0u, lookups_of("SetupDiGetClassDevsA")) << present;
    EXPECT_EQ(present ? 2u : 0u, sim::count_calls("NetUserEnum")) << present;
  }
}

TEST_F(BindingTest, DllsAreLoadedWithTheLoaderMessageBoxOff) {
  describe_machine();
  machine().absent = {"netapi32.dll"};
  SetErrorMode(SEM_NOOPENFILEERRORBOX);
  sim::Result r = sim::run(report_users);
  EXPECT_EQ(users_head + "NUE() returned 127\n", r.out);
  std::string sequence;
  for (const sim::Call &call : sim::calls())
    if (call.name == "SetErrorMode" || call.name == "LoadLibraryA") sequence += call.name + "(" + call.args + ")\n";
  EXPECT_EQ("SetErrorMode(32768)\nSetErrorMode(32769)\nLoadLibraryA(\"netapi32.dll\")\nSetErrorMode(32768)\n",
            sequence);
  // The mode the program found is back.
  EXPECT_EQ((UINT)SEM_NOOPENFILEERRORBOX, sim::error_mode());
}
