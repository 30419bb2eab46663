#include "devices/devices.h"

#include "report/report.h"
#include "report/words.h"

static const DWORD kComputerNameSize = 260;

// The platform answers "no such value" past the last class. Should it instead
// keep failing, the walk gives up after this many failed indexes in a row;
// real machines have a few hundred classes at most, nearly all valid.
static const DWORD kMaxFailedClassesInARow = 1024;

// Should the platform never say "past the last", the walks stop here.
// Far above the few hundred setup classes of any machine.
static const DWORD kMaxClassIndexes = 65536;
// Far above the devices of one class on any machine.
static const DWORD kMaxDeviceIndexes = 65536;

// Room for the longest header ("\n+", 4095 characters, "\n") and its NUL.
static const size_t kBlockStartSize = kDeviceTextSize + 3;

// A class's block as it is collected: in start until it outgrows it, then on
// the heap. Every buffer it has holds any one text given to append_to_block.
struct ClassBlock {
  char *text;
  size_t length;
  size_t size;
  char start[kBlockStartSize];
};

// Moves the block to a buffer of at least needed bytes on the heap. When no
// memory is left, prints what is collected and empties the block instead, so
// that nothing is lost.
static void grow_block(ClassBlock *block, size_t needed) {
  size_t size = block->size;
  while (size < needed && size <= (size_t)-1 / 2) size *= 2;
  char *text = size >= needed ? (char *)LocalAlloc(LMEM_FIXED, size) : NULL;
  if (text == NULL) {
    printf("%s", block->text);
    block->text[0] = '\0';
    block->length = 0;
    return;
  }
  strcpy(text, block->text);
  if (block->text != block->start) LocalFree(block->text);
  block->text = text;
  block->size = size;
}

// Appends text, of at most kDeviceTextSize - 1 characters, to the block.
static void append_to_block(ClassBlock *block, const char *text) {
  size_t length = strlen(text);
  if (block->length + length >= block->size) grow_block(block, block->length + length + 1);
  strcpy(block->text + block->length, text);
  block->length += length;
}

// Collects the member lines of one listable class and prints its block when
// it has any. Releases the class's set.
static void report_class(const char *setup_class_name, const char *class_description, ClassMembers *members) {
  ClassBlock block;
  block.text = block.start;
  block.text[0] = '\0';
  block.length = 0;
  block.size = kBlockStartSize;
  append_to_block(&block, "\n+");
  append_to_block(&block, class_description[0] != '\0' ? class_description : setup_class_name);
  append_to_block(&block, "\n");

  char device_name[kDeviceTextSize];
  memset(device_name, 0, sizeof device_name);
  int devices_listed = 0;
  for (DWORD device_index = 0; device_index < kMaxDeviceIndexes; ++device_index) {
    int result = query_class_member(device_index, setup_class_name, members, device_name);
    if (result == -1) break;
    // -2 comes from the class-name lookup, not from the index: every further
    // index would answer the same.
    if (result == -2) break;
    if (result != 0) continue;

    append_to_block(&block, "...");
    append_to_block(&block, device_name);
    append_to_block(&block, "\n");
    ++devices_listed;
  }
  release_class_members(members);
  if (devices_listed > 0) printf("%s", block.text);
  if (block.text != block.start) LocalFree(block.text);
}

int report_devices(void) {
  print_heading(kTitleDevices);

  char computer_name[kComputerNameSize];
  DWORD computer_name_size = kComputerNameSize;
  if (!GetComputerNameA(computer_name, &computer_name_size)) strcpy(computer_name, "Unknown");
  computer_name[kComputerNameSize - 1] = '\0';
  printf("%s\n", computer_name);

  char setup_class_name[kDeviceTextSize] = "";
  char class_description[kDeviceTextSize] = "";
  int listable = 0;
  ClassMembers members;
  ClassList list = {NULL, 0};
  DWORD failed_in_a_row = 0;
  for (DWORD class_index = 0; class_index < kMaxClassIndexes && failed_in_a_row < kMaxFailedClassesInARow;
       ++class_index) {
    int result = query_device_class(&list, class_index, setup_class_name, class_description, &listable, &members);
    if (result == -1) break;
    if (result != 0) {
      ++failed_in_a_row;
      continue;
    }
    failed_in_a_row = 0;
    if (listable == 1) report_class(setup_class_name, class_description, &members);
  }
  release_class_list(&list);
  return 0;
}
