// The report reader over any bytes, in each of its modes, fed in two pieces split where the first byte says; after a
// banner and a section title, so that the section's lines are reached.
#include <stdint.h>
#include <string.h>

#include "table/report_table.h"

static const char *const kStarts[] = {"\n---\n QUORVEL v1\n\n***\nOperating System Information\n***\n",
                                      "\n---\n QUORVEL v1\n\n***\nDrive Information\n***\n",
                                      "\n---\n QUORVEL v1\n\n***\nUser Accounts\n***\n",
                                      "\n---\n QUORVEL v1\n\n***\nHardware Information\n***\n", ""};

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static FILE *sink = fopen("/dev/null", "wb");
  const char *bytes = (const char *)data;
  size_t split = size ? data[0] % size : 0;
  const char *start = kStarts[size ? data[0] % 5 : 4];
  for (int mode = kTableSummary; mode <= kTableAccounts; ++mode) {
    TableReader reader;
    table_open(&reader, (TableMode)mode, sink);
    table_begin(&reader, "fuzz", 4);
    table_feed(&reader, start, strlen(start));
    table_feed(&reader, bytes, split);
    table_feed(&reader, bytes + split, size - split);
    table_end(&reader);
    table_release(&reader);
  }
  return 0;
}
