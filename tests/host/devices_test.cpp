#include <gtest/gtest.h>

#include "devices/devices.h"
#include "sim_fixture.h"

namespace {

const char kUntouched[] = "untouched";

sim::Device friendly(const std::string &name, const std::string &description = "Generic device") {
  return sim::Device{name, description, true};
}
sim::Device described(const std::string &description) { return sim::Device{std::nullopt, description, true}; }
sim::Device nameless() { return sim::Device{std::nullopt, std::nullopt, true}; }
sim::Device absent(const std::string &name) { return sim::Device{name, std::nullopt, false}; }

struct ClassAnswer {
  int result;
  int listable;
  std::string name;
  std::string description;
  sim::Result run;
};

struct MemberAnswer {
  int result;
  std::string name;
  sim::Result run;
};

}  // namespace

class DevicesTest : public SimTest {
 protected:
  // Adds an installed class with its own GUID; returns its index.
  size_t add_class(const std::string &name, std::optional<std::string> description,
                   std::vector<sim::Device> devices = {}) {
    sim::DeviceClass c;
    c.guid = sim::make_guid(static_cast<DWORD>(machine().classes.size() + 1));
    c.name = name;
    c.description = description;
    c.devices = devices;
    machine().classes.push_back(c);
    return machine().classes.size() - 1;
  }

  // Adds an index that the class enumeration answers with result.
  void add_entry(CONFIGRET result) {
    sim::DeviceClass c;
    c.enum_result = result;
    machine().classes.push_back(c);
  }

  sim::DeviceClass &at(size_t index) { return machine().classes[index]; }

  static ClassAnswer query_class(DWORD index) {
    static char name[4096];
    static char description[4096];
    strcpy(name, kUntouched);
    strcpy(description, kUntouched);
    ClassAnswer answer = {99, 7, "", "", {}};
    answer.run = sim::run([&] {
      answer.result = query_device_class(index, name, description, &answer.listable);
      return 0;
    });
    answer.name = name;
    answer.description = description;
    return answer;
  }

  static MemberAnswer query_member(DWORD index, const std::string &class_name) {
    static char name[4096];
    strcpy(name, kUntouched);
    MemberAnswer answer = {99, "", {}};
    answer.run = sim::run([&] {
      answer.result = query_class_member(index, class_name.c_str(), name);
      return 0;
    });
    answer.name = name;
    return answer;
  }

  static std::string section() { return sim::run(report_devices).out; }

  static std::string section_with(const std::string &classes) {
    return heading("Devices") + "SIMBOX\n" + classes;
  }

  // A run of -SD on a machine without drives, up to the device classes.
  static std::string run_prefix() {
    return kBanner + heading("Drive Information") + heading("Devices") + "SIMBOX\n";
  }
};

// Class queries

TEST_F(DevicesTest, ClassWithDescriptionIsListable) {
  add_class("Display", std::string("Display adapters"));
  ClassAnswer a = query_class(0);
  EXPECT_EQ(0, a.result);
  EXPECT_EQ(1, a.listable);
  EXPECT_EQ("Display", a.name);
  EXPECT_EQ("Display adapters", a.description);
  EXPECT_EQ("", a.run.out);

  std::string guid = sim::guid_text(at(0).guid);
  EXPECT_EQ("0, 0", sim::calls_named("CM_Enumerate_Classes").at(0).args);
  EXPECT_EQ(guid + ", 4096", sim::calls_named("SetupDiClassNameFromGuidA").at(0).args);
  EXPECT_EQ(guid + ", NULL, NULL, 2", sim::calls_named("SetupDiGetClassDevsA").at(0).args);
  EXPECT_EQ(guid + ", 0x02000000, 1, NULL, NULL", sim::calls_named("SetupDiOpenClassRegKeyExA").at(0).args);
  EXPECT_EQ("[class key], NULL, data, 4096", sim::calls_named("RegQueryValueA").at(0).args);
  EXPECT_EQ(1u, sim::count_calls("SetupDiDestroyDeviceInfoList"));
  EXPECT_EQ(1u, sim::count_calls("RegCloseKey"));
}

TEST_F(DevicesTest, FailedAndMissingEntriesLeaveTheBuffersAlone) {
  add_class("Display", std::string("Display adapters"));
  add_entry(CR_INVALID_DATA);
  add_entry(CR_FAILURE);
  add_class("Mouse", std::string("Mice"));
  struct Case {
    DWORD index;
    int result;
  } cases[] = {{1, -2}, {2, -3}, {4, -1}};
  for (const Case &c : cases) {
    ClassAnswer a = query_class(c.index);
    EXPECT_EQ(c.result, a.result) << c.index;
    EXPECT_EQ(0, a.listable) << c.index;
    EXPECT_EQ(kUntouched, a.name) << c.index;
    EXPECT_EQ(kUntouched, a.description) << c.index;
  }
  // An entry after the failed ones is still answered.
  ClassAnswer after = query_class(3);
  EXPECT_EQ(0, after.result);
  EXPECT_EQ("Mouse", after.name);
  EXPECT_EQ(1, after.listable);
}

TEST_F(DevicesTest, ClassThatCannotBeListedKeepsItsDescriptionBuffer) {
  at(add_class("Net", std::string("Network adapters"))).key_fails = true;
  at(add_class("Tape", std::string("Tape drives"))).set_fails = true;
  for (DWORD index : {0u, 1u}) {
    ClassAnswer a = query_class(index);
    EXPECT_EQ(0, a.result) << index;
    EXPECT_EQ(0, a.listable) << index;
    EXPECT_EQ(at(index).name, a.name) << index;
    EXPECT_EQ(kUntouched, a.description) << index;
  }
  // The set built for the class whose key failed was destroyed.
  EXPECT_EQ(1u, sim::count_calls("SetupDiDestroyDeviceInfoList"));
  EXPECT_EQ(1u, sim::count_calls("SetupDiOpenClassRegKeyExA"));
  EXPECT_EQ(0u, sim::count_calls("RegQueryValueA"));
}

TEST_F(DevicesTest, MissingOrOverlongDefaultValueGivesEmptyDescription) {
  add_class("Ports", std::nullopt);
  add_class("Modem", std::string(4096, 'd'));  // 4097 bytes with the NUL
  for (DWORD index : {0u, 1u}) {
    ClassAnswer a = query_class(index);
    EXPECT_EQ(1, a.listable) << index;
    EXPECT_EQ(at(index).name, a.name) << index;
    EXPECT_EQ("", a.description) << index;
  }
}

TEST_F(DevicesTest, ClassNameOf4095CharactersFitsAndOneNeeding4097BytesEndsTheRun) {
  std::string fits(4095, 'n');
  add_class(fits, std::string("Gadgets"), {friendly("VGA")});
  add_class(std::string(4096, 'n'), std::string("Long"), {friendly("Gadget")});
  add_class("Mouse", std::string("Mice"), {friendly("Wheel mouse")});
  sim::Result r = sim::run_program({"-SD"});
  // The 4095-character name reaches the member queries whole.
  EXPECT_EQ(sim::quote(fits.c_str()) + ", 2", sim::calls_named("SetupDiClassGuidsFromNameA").at(0).args);
  EXPECT_EQ(run_prefix() + "\n+Gadgets\n...VGA\nNot enough...Required size is 4097\n", r.out);
  EXPECT_TRUE(r.ended);
  EXPECT_EQ(1, r.status);
}

// Member queries

TEST_F(DevicesTest, MemberNamesFallBackFromFriendlyNameToDescription) {
  add_class("Disk", std::string("Disk drives"),
            {friendly("Boot disk", "Disk drive"), described("Disk drive"), nameless(), friendly("Spare")});
  struct Case {
    DWORD index;
    int result;
    const char *name;
  } cases[] = {{0, 0, "Boot disk"}, {1, 0, "Disk drive"}, {2, -4, ""}, {3, 0, "Spare"}, {4, -1, ""}};
  for (const Case &c : cases) {
    MemberAnswer a = query_member(c.index, "Disk");
    EXPECT_EQ(c.result, a.result) << c.index;
    EXPECT_EQ(c.name, a.name) << c.index;
    EXPECT_EQ("", a.run.out) << c.index;
  }
}

TEST_F(DevicesTest, MemberQueryCalls) {
  add_class("Disk", std::string("Disk drives"), {described("Disk drive")});
  query_member(0, "disk");  // the name lookup ignores case
  std::string guid = sim::guid_text(at(0).guid);
  EXPECT_EQ("\"disk\", 2", sim::calls_named("SetupDiClassGuidsFromNameA").at(0).args);
  EXPECT_EQ(guid + ", NULL, NULL, 2", sim::calls_named("SetupDiGetClassDevsA").at(0).args);
  EXPECT_EQ("0, 28", sim::calls_named("SetupDiEnumDeviceInfo").at(0).args);
  std::vector<sim::Call> reads = sim::calls_named("SetupDiGetDeviceRegistryPropertyA");
  ASSERT_EQ(2u, reads.size());
  EXPECT_EQ("12, NULL, 4096, NULL", reads[0].args);
  EXPECT_EQ("0, NULL, 4096, NULL", reads[1].args);
  EXPECT_EQ(1u, sim::count_calls("SetupDiDestroyDeviceInfoList"));
  EXPECT_EQ(0u, sim::count_calls("LocalAlloc"));
}

TEST_F(DevicesTest, OnlyPresentDevicesAreMembers) {
  add_class("Monitor", std::string("Monitors"), {absent("Old monitor"), friendly("New monitor")});
  add_class("Printer", std::string("Printers"), {absent("Gone")});
  EXPECT_EQ("New monitor", query_member(0, "Monitor").name);
  EXPECT_EQ(-1, query_member(1, "Monitor").result);
  // No present devices: still listable, with nothing to list.
  EXPECT_EQ(1, query_class(1).listable);
  MemberAnswer none = query_member(0, "Printer");
  EXPECT_EQ(-1, none.result);
  EXPECT_EQ("", none.name);
}

TEST_F(DevicesTest, NameNoClassBearsGivesMinusTwoSilently) {
  add_class("Disk", std::string("Disk drives"), {friendly("Boot disk")});
  MemberAnswer a = query_member(0, "Floppy");
  EXPECT_EQ(-2, a.result);
  EXPECT_EQ("", a.name);
  EXPECT_EQ("", a.run.out);
  EXPECT_EQ(0u, sim::count_calls("SetupDiGetClassDevsA"));
}

TEST_F(DevicesTest, MemberSetThatCannotBeBuiltEndsTheMembers) {
  at(add_class("Disk", std::string("Disk drives"), {friendly("Boot disk")})).set_fails = true;
  MemberAnswer a = query_member(0, "Disk");
  EXPECT_EQ(-1, a.result);
  EXPECT_EQ("", a.name);
}

TEST_F(DevicesTest, PropertyTooLongForTheBufferCountsAsUnreadable) {
  std::string fits(4095, 'f');
  add_class("Disk", std::string("Disk drives"),
            {friendly(fits), friendly(std::string(4096, 'x'), "Fallback"),
             sim::Device{std::string(4096, 'x'), std::string(4096, 'y'), true}});
  EXPECT_EQ(fits, query_member(0, "Disk").name);
  EXPECT_EQ("Fallback", query_member(1, "Disk").name);
  MemberAnswer neither = query_member(2, "Disk");
  EXPECT_EQ(-4, neither.result);
  EXPECT_EQ("", neither.name);
}

TEST_F(DevicesTest, NameSharedByThreeClassesUsesTheFirstOfTheFullList) {
  add_class("Ports", std::string("Serial ports"), {friendly("COM1")});
  add_class("Disk", std::string("Disk drives"), {friendly("Boot disk")});
  add_class("PORTS", std::string("Parallel ports"), {friendly("LPT1")});
  add_class("ports", std::string("Modem ports"), {friendly("COM3")});
  MemberAnswer a = query_member(0, "Ports");
  EXPECT_EQ(0, a.result);
  EXPECT_EQ("COM1", a.name);
  EXPECT_EQ("Required Size 3\n", a.run.out);

  std::vector<sim::Call> lookups = sim::calls_named("SetupDiClassGuidsFromNameA");
  ASSERT_EQ(2u, lookups.size());
  EXPECT_EQ("\"Ports\", 2", lookups[0].args);
  EXPECT_EQ("\"Ports\", 3", lookups[1].args);
  EXPECT_EQ(std::to_string(LPTR) + ", " + std::to_string(3 * sizeof(GUID)), sim::calls_named("LocalAlloc").at(0).args);
  EXPECT_EQ(1u, sim::count_calls("LocalFree"));
  EXPECT_EQ(sim::guid_text(at(0).guid) + ", NULL, NULL, 2", sim::calls_named("SetupDiGetClassDevsA").at(0).args);
}

TEST_F(DevicesTest, RepeatedLookupThatFailsIsABadClass) {
  add_class("Ports", std::string("Serial ports"), {friendly("COM1")});
  add_class("Ports", std::string("Parallel ports"), {friendly("LPT1")});
  add_class("Ports", std::string("Modem ports"), {friendly("COM3")});
  machine().fail_nth["SetupDiClassGuidsFromNameA"] = {2};
  MemberAnswer a = query_member(0, "Ports");
  EXPECT_EQ(-2, a.result);
  EXPECT_EQ("", a.name);
  EXPECT_EQ("Required Size 3\nBad class...\n", a.run.out);
  EXPECT_EQ(1u, sim::count_calls("LocalFree"));  // the list is released on this path too
  EXPECT_EQ(0u, sim::count_calls("SetupDiGetClassDevsA"));
}

TEST_F(DevicesTest, ListThatCannotBeAllocatedIsABadClass) {
  add_class("Ports", std::string("Serial ports"), {friendly("COM1")});
  add_class("Ports", std::string("Parallel ports"));
  add_class("Ports", std::string("Modem ports"));
  machine().fail.insert("LocalAlloc");
  MemberAnswer a = query_member(0, "Ports");
  EXPECT_EQ(-2, a.result);
  EXPECT_EQ("Required Size 3\nBad class...\n", a.run.out);
  EXPECT_EQ(1u, sim::count_calls("SetupDiClassGuidsFromNameA"));
}

// The section

TEST_F(DevicesTest, NoClassesGivesHeadingAndComputerName) {
  EXPECT_EQ(section_with(""), section());
  EXPECT_EQ("260", sim::calls_named("GetComputerNameA").at(0).args);
  EXPECT_EQ(1u, sim::count_calls("CM_Enumerate_Classes"));
}

TEST_F(DevicesTest, ComputerNameThatCannotBeReadShowsUnknown) {
  machine().fail.insert("GetComputerNameA");
  add_class("Display", std::string("Display adapters"), {friendly("VGA")});
  EXPECT_EQ(heading("Devices") + "Unknown\n\n+Display adapters\n...VGA\n", section());
}

TEST_F(DevicesTest, WholeSection) {
  add_class("Display", std::string("Display adapters"), {friendly("Standard VGA"), absent("Old card")});
  add_class("Net", std::string("Network adapters"), {friendly("Ethernet")});
  at(1).key_fails = true;
  add_entry(CR_INVALID_DATA);
  add_class("Ports", std::nullopt, {described("Communications Port"), nameless(), friendly("Printer Port")});
  add_class("Printer", std::string("Printers"));
  add_class("Unknown", std::string("Other devices"), {nameless(), nameless()});
  add_entry(CR_FAILURE);
  add_class("Disk", std::string("Disk drives"), {friendly("Boot disk")});
  at(add_class("Tape", std::string("Tape drives"), {friendly("Streamer")})).set_fails = true;
  machine().computer_name = "WORKSTATION7";

  std::string expected = heading("Devices") +
                         "WORKSTATION7\n"
                         "\n+Display adapters\n...Standard VGA\n"
                         "\n+Ports\n...Communications Port\n...Printer Port\n"
                         "\n+Disk drives\n...Boot disk\n";
  EXPECT_EQ(expected, section());
  // Every class was asked for, and past the last one once.
  EXPECT_EQ(machine().classes.size() + 1, sim::count_calls("CM_Enumerate_Classes"));
  // One member query per device and one past the last, for listable classes.
  EXPECT_EQ(2u + 4u + 1u + 3u + 2u, sim::count_calls("SetupDiClassGuidsFromNameA"));
}

TEST_F(DevicesTest, ClassesSharingANameListTheFirstClassesDevices) {
  add_class("Ports", std::string("Serial ports"), {friendly("COM1"), friendly("COM2")});
  add_class("Ports", std::string("Parallel ports"), {friendly("LPT1")});
  add_class("Ports", std::nullopt, {friendly("COM3")});
  std::string required = "Required Size 3\n";
  std::string thrice = required + required + required;
  std::string block = "...COM1\n...COM2\n";
  EXPECT_EQ(section_with(thrice + "\n+Serial ports\n" + block + thrice + "\n+Parallel ports\n" + block + thrice +
                         "\n+Ports\n" + block),
            section());
  EXPECT_EQ(9u, sim::count_calls("LocalAlloc"));
  EXPECT_EQ(9u, sim::count_calls("LocalFree"));
}

TEST_F(DevicesTest, MemberWalkOfAnUnknownNameEndsAtOnce) {
  // A name lookup that fails gives the class no name; its member query can
  // find no class and would answer the same at every index.
  at(add_class("Ports", std::string("Ports (COM & LPT)"), {friendly("COM1")})).name_fails = true;
  add_class("Disk", std::string("Disk drives"), {friendly("Boot disk")});
  EXPECT_EQ(section_with("\n+Disk drives\n...Boot disk\n"), section());
  std::vector<sim::Call> lookups = sim::calls_named("SetupDiClassGuidsFromNameA");
  ASSERT_EQ(3u, lookups.size());
  EXPECT_EQ("\"\", 2", lookups[0].args);
}

TEST_F(DevicesTest, MemberWalkOfABadClassEndsAtOnce) {
  add_class("Disk", std::string("Disk drives"), {friendly("Boot disk"), friendly("Spare")});
  add_class("Ports", std::string("Ports (COM & LPT)"), {friendly("COM1")});
  // The first lookup of each member query fails, and so does every repeat
  // for the second class.
  machine().fail_nth["SetupDiClassGuidsFromNameA"] = {1, 3, 5, 7, 8};
  EXPECT_EQ(section_with("Required Size 2\nRequired Size 2\nRequired Size 2\n"
                         "\n+Disk drives\n...Boot disk\n...Spare\n"
                         "Required Size 2\nBad class...\n"),
            section());
  EXPECT_EQ(8u, sim::count_calls("SetupDiClassGuidsFromNameA"));
}

TEST_F(DevicesTest, MemberLineFillingTheBlockExactlyIsKept) {
  std::string header = "\n+Disk drives\n";
  std::string first = "...Boot disk\n";
  std::string name(4095 - header.size() - first.size() - 4, 'z');
  add_class("Disk", std::string("Disk drives"), {friendly("Boot disk"), friendly(name)});
  std::string block = header + first + "..." + name + "\n";
  ASSERT_EQ(4095u, block.size());
  EXPECT_EQ(section_with(block), section());
}

TEST_F(DevicesTest, MemberLineOneCharacterTooLongEndsTheRun) {
  add_class("Display", std::string("Display adapters"), {friendly("VGA")});
  std::string header = "\n+Disk drives\n";
  std::string first = "...Boot disk\n";
  std::string name(4095 - header.size() - first.size() - 4 + 1, 'z');
  add_class("Disk", std::string("Disk drives"), {friendly("Boot disk"), friendly(name)});
  add_class("Mouse", std::string("Mice"), {friendly("Wheel mouse")});
  sim::Result r = sim::run_program({"-SD"});
  EXPECT_EQ(run_prefix() + "\n+Display adapters\n...VGA\nYikes!...\n\n", r.out);
  EXPECT_TRUE(r.ended);
  EXPECT_EQ(1, r.status);
}

TEST_F(DevicesTest, HeaderTooLongForTheBlock) {
  // A header is "\n+", the text and "\n": 4092 characters of text fill the
  // block, leaving no room for the shortest member line (a name of "").
  add_class("Empty", std::string(4093, 'd'));
  add_class("Display", std::string("Display adapters"), {friendly("VGA")});
  add_class("Long", std::string(4092, 'd'), {friendly("")});
  sim::Result r = sim::run(report_devices);
  EXPECT_EQ(section_with("\n+Display adapters\n...VGA\nYikes!...\n\n"), r.out);
  EXPECT_EQ(1, r.status);

  sim::reset();
  add_class(std::string(4095, 'n'), std::nullopt, {friendly("X")});
  EXPECT_EQ(section_with("Yikes!...\n\n"), sim::run(report_devices).out);
}

TEST_F(DevicesTest, ClassWalkGivesUpAfter1024FailedIndexesInARow) {
  add_class("Display", std::string("Display adapters"), {friendly("VGA")});
  for (int i = 0; i < 1023; ++i) add_entry(i % 2 ? CR_INVALID_DATA : CR_FAILURE);
  add_class("Disk", std::string("Disk drives"), {friendly("Boot disk")});
  for (int i = 0; i < 1024; ++i) add_entry(CR_INVALID_DATA);
  add_class("Mouse", std::string("Mice"), {friendly("Wheel mouse")});
  EXPECT_EQ(section_with("\n+Display adapters\n...VGA\n\n+Disk drives\n...Boot disk\n"), section());
  EXPECT_EQ(1u + 1023u + 1u + 1024u, sim::count_calls("CM_Enumerate_Classes"));
}

