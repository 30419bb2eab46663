// The report reader over any bytes, in each of the table's modes, fed in two pieces split where the first byte says;
// after a banner and a section title, so that the section's lines are reached.
#include <stdint.h>
#include <string.h>

#include "table/report_table.h"

static const char *const kStarts[] = {"\n---\n QUORVEL v1\n\n***\nOperating System Information\n***\n",
                                      "\n---\n QUORVEL v1\n\n***\nDrive Information\n***\n",
                                      "\n---\n QUORVEL v1\n\n***\nUser Accounts\n***\n",
                                      "\n---\n QUORVEL v1\n\n***\nHardware Information\n***\n",
                                      "\n---\n QUORVEL v1\n\n***\nNetwork Information\n***\nAdapters\n",
                                      "\n---\n QUORVEL v1\n\n***\nPrograms and Updates\n***\nPrograms\n",
                                      "\n---\n QUORVEL v1\n\n***\nDevices\n***\n",
                                      ""};
static const int kStartCount = sizeof kStarts / sizeof kStarts[0];

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const char *bytes = (const char *)data;
  size_t split = size ? data[0] % size : 0;
  const char *start = kStarts[size ? data[0] % kStartCount : kStartCount - 1];
  for (int mode = kTableSummary; mode <= kTableAdapters; ++mode) {
    static TableState table;
    table_open(&table, (TableMode)mode);
    table_begin(&table, "fuzz", 4);
    table_feed(&table, start, strlen(start));
    table_feed(&table, bytes, split);
    table_feed(&table, bytes + split, size - split);
    const Text *rows = NULL;
    table_end(&table, &rows);
    table_release(&table);
  }
  return 0;
}
