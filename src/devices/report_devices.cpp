#include "devices/devices.h"

#include "report/report.h"

static const DWORD kComputerNameSize = 260;

// A class block holds at most this many characters and its NUL.
static const size_t kMaxBlockLength = kDeviceTextSize - 1;

// The header "\n+%s\n" adds 3 characters to its text.
static const int kMaxHeaderText = (int)kMaxBlockLength - 3;

// The platform answers "no such value" past the last class. Should it instead
// keep failing, the walk gives up after this many failed indexes in a row;
// real machines have a few hundred classes at most, nearly all valid.
static const DWORD kMaxFailedClassesInARow = 1024;

// Should the platform never say "past the last", the walks stop here.
// Far above the few hundred setup classes of any machine.
static const DWORD kMaxClassIndexes = 65536;
// Far above the thousand or so member lines that a class's block can hold.
static const DWORD kMaxDeviceIndexes = 65536;

// Collects the member lines of one listable class and prints its block when
// it has any. Releases the class's set.
static void report_class(const char *setup_class_name, const char *class_description, ClassMembers *members) {
  char class_block[kDeviceTextSize];
  char device_name[kDeviceTextSize];
  memset(class_block, 0, sizeof class_block);
  const char *title = class_description[0] != '\0' ? class_description : setup_class_name;
  // A title too long for the block is cut so that the header fills it
  // exactly; the first member line then cannot fit and ends the run.
  sprintf(class_block, "\n+%.*s\n", kMaxHeaderText, title);
  size_t block_length = strlen(class_block);

  memset(device_name, 0, sizeof device_name);
  int devices_listed = 0;
  for (DWORD device_index = 0; device_index < kMaxDeviceIndexes; ++device_index) {
    int result = query_class_member(device_index, setup_class_name, members, device_name);
    if (result == -1) break;
    // -2 comes from the class-name lookup, not from the index: every further
    // index would answer the same.
    if (result == -2) break;
    if (result != 0) continue;

    size_t name_length = strlen(device_name);
    if (block_length + name_length + 4 > kMaxBlockLength) {
      release_class_members(members);
      printf("Yikes!...\n\n");
      end_process(1);
    }
    strcat(class_block, "...");
    strcat(class_block, device_name);
    strcat(class_block, "\n");
    block_length += name_length + 4;
    ++devices_listed;
  }
  release_class_members(members);
  if (devices_listed > 0) printf("%s", class_block);
}

int report_devices(void) {
  print_heading("Devices");

  char computer_name[kComputerNameSize];
  DWORD computer_name_size = kComputerNameSize;
  if (!GetComputerNameA(computer_name, &computer_name_size)) strcpy(computer_name, "Unknown");
  computer_name[kComputerNameSize - 1] = '\0';
  printf("%s\n", computer_name);

  char setup_class_name[kDeviceTextSize] = "";
  char class_description[kDeviceTextSize] = "";
  int listable = 0;
  ClassMembers members;
  DWORD failed_in_a_row = 0;
  for (DWORD class_index = 0; class_index < kMaxClassIndexes && failed_in_a_row < kMaxFailedClassesInARow;
       ++class_index) {
    int result = query_device_class(class_index, setup_class_name, class_description, &listable, &members);
    if (result == -1) break;
    if (result != 0) {
      ++failed_in_a_row;
      continue;
    }
    failed_in_a_row = 0;
    if (listable == 1) report_class(setup_class_name, class_description, &members);
  }
  return 0;
}
