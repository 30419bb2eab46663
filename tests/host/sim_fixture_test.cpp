// The check every report test ends with: a key, device information set, GUID
// list or account buffer still held when the test ends fails it, and so does
// releasing something twice.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "sim_fixture.h"

namespace {

// Ends a test as SimTest does, on whatever the code before it left held.
class TestEnd : public SimTest {
 public:
  void TestBody() override {}
  static void now() { TestEnd().TearDown(); }
};

void end_holding_a_key() {
  sim::add_reg_key("SOFTWARE\\Quorvel");
  HKEY key;
  RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Quorvel", 0, KEY_QUERY_VALUE, &key);
  TestEnd::now();
}

void end_holding_a_device_set() {
  sim::DeviceClass ports;
  ports.guid = sim::make_guid(1);
  ports.name = "Ports";
  sim::machine().classes.push_back(ports);
  SetupDiGetClassDevsA(&ports.guid, NULL, NULL, DIGCF_PRESENT);
  TestEnd::now();
}

void end_holding_a_guid_list() {
  LocalAlloc(LPTR, 3 * sizeof(GUID));
  TestEnd::now();
}

void end_holding_an_account_buffer() {
  sim::machine().user_batches.push_back(sim::UserBatch());
  LPBYTE buffer = NULL;
  DWORD read = 0, total = 0, resume = 0;
  NetUserEnum(NULL, 3, 0, &buffer, 1024, &read, &total, &resume);
  TestEnd::now();
}

void end_after_closing_a_key_twice() {
  HKEY key = sim::open_class_key(std::nullopt);
  RegCloseKey(key);
  RegCloseKey(key);
  TestEnd::now();
}

void end_holding_nothing() {
  HKEY key = sim::open_class_key(std::nullopt);
  RegCloseKey(key);
  TestEnd::now();
}

}  // namespace

using SimFixtureTest = SimTest;

TEST_F(SimFixtureTest, HeldKeyFailsTheTest) {
  EXPECT_NONFATAL_FAILURE(end_holding_a_key(), "HKEY #1");
}

TEST_F(SimFixtureTest, HeldDeviceInformationSetFailsTheTest) {
  EXPECT_NONFATAL_FAILURE(end_holding_a_device_set(), "device information set #1");
}

TEST_F(SimFixtureTest, HeldGuidListFailsTheTest) {
  EXPECT_NONFATAL_FAILURE(end_holding_a_guid_list(), "LocalAlloc #1");
}

TEST_F(SimFixtureTest, HeldAccountBufferFailsTheTest) {
  EXPECT_NONFATAL_FAILURE(end_holding_an_account_buffer(), "NetUserEnum buffer #1");
}

TEST_F(SimFixtureTest, SecondCloseFailsTheTest) {
  EXPECT_NONFATAL_FAILURE(end_after_closing_a_key_twice(), "RegCloseKey of a key that is not open");
}

TEST_F(SimFixtureTest, NothingHeldPasses) { end_holding_nothing(); }
