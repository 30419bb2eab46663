// Reads sysreport's reports, one at a time and line by line, and writes their
// rows of a CSV table. Plain values in, CSV out: nothing here calls the
// operating system beyond the C runtime's stdio and memory.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

// A text of any length on the heap, kept and reused from one report to the
// next, so that memory follows the longest line seen, not the reports read.
struct Text {
  char *data;
  size_t length;
  size_t size;
};

enum TableMode { kTableSummary, kTableDrives, kTableAccounts };

// Fields of one drive block and of one account block, in their CSV order.
static const int kDriveFieldCount = 12;
static const int kAccountFieldCount = 15;
// Fields of the summary row that are copied from the report.
static const int kSummaryTextCount = 17;

enum ReportSection { kBeforeBanner, kOutside, kOs, kDrives, kDevices, kUsers, kHardware, kRejected };

struct TableReader {
  TableMode mode;
  FILE *out;
  Text line;  // a line that spans two pieces fed
  Text computer;
  Text problem;  // the first thing not understood, for standard error
  uint32_t line_number;
  ReportSection section;
  int hardware_block;
  bool previous_stars;
  bool complete;
  bool binary;
  bool any_byte;
  bool lf_ends;  // a line ended in LF alone
  bool out_of_memory;
  Text summary[kSummaryTextCount];
  uint32_t fixed_drives;
  uint64_t fixed_total_kb;
  uint64_t fixed_free_kb;
  uint32_t lowest_free_ppm;  // free parts per million; 1000001: no fixed drive with a size yet
  char lowest_free_drive;
  uint32_t accounts;
  Text enabled;
  Text administrators;
  Text without_password;
  bool has_admin_age;
  uint64_t oldest_admin_age;
  bool in_drive;
  char drive_letter;
  Text drive[kDriveFieldCount];
  bool in_account;
  Text account[kAccountFieldCount];
};

// Sets up a reader writing rows of mode to out; table_release frees what it holds.
void table_open(TableReader *reader, TableMode mode, FILE *out);
void table_release(TableReader *reader);

// Writes the header row of the reader's mode.
void table_write_header(TableReader *reader);

// Starts a report of the computer named name (length bytes).
void table_begin(TableReader *reader, const char *name, size_t length);

// Reads the next length bytes of the report; lines may end in CR LF or LF and
// may be split anywhere between two calls.
void table_feed(TableReader *reader, const char *bytes, size_t length);

// Ends the report and writes its row (in the summary mode). Returns 0 for a
// whole report, or 1 with what was wrong in reader->problem (a truncated report
// still has its row, a file that is no report has none).
int table_end(TableReader *reader);
