// The table's modes over the reader's records: the summary accumulates a
// report's records into its one row, the list modes write a row per record
// of their kind. Plain values in, CSV text out: nothing here calls the
// operating system beyond the C runtime's memory functions.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "table/report_reader.h"

enum TableMode { kTableSummary, kTableDrives, kTableAccounts, kTablePrograms, kTableUpdates, kTableAdapters };

// The mode an option names ("--drives", ...); false for none.
bool table_mode(const char *option, TableMode *mode);

struct TableState {
  TableMode mode;
  ReportReader reader;
  Text computer;
  Text rows;      // the rows of the report being read
  Text kept;      // those of the last whole report of the file
  Text messages;  // what was wrong with the file, a line each
  Text problems;  // the report's own error lines, for the summary's Problems column
  Text scratch;
  int banners;
  bool complete;
  bool out_of_memory;
  bool os_error;
  bool users_error;
  bool drives_section;
  bool users_section;
  bool overflow;
  Text os[kOsFieldCount];
  Text hardware[kHardwareFieldCount];
  Text identity[kIdentityFieldCount];
  Text windows[kWindowsFieldCount];
  Text ipv4;
  Text macs;
  uint32_t fixed_drives;
  uint64_t fixed_total_kb;
  uint64_t fixed_free_kb;
  uint32_t lowest_free_ppm;  // free parts per million; kNoLowest: no fixed drive with a size yet
  uint64_t lowest_free_kb;
  uint64_t lowest_total_kb;
  char lowest_free_drive;
  uint32_t accounts;
  Text enabled;
  Text administrators;
  Text without_password;
  bool has_admin_age;
  uint64_t oldest_admin_age;
};

// Sets up a table of mode; table_release frees what it holds.
void table_open(TableState *table, TableMode mode);
void table_release(TableState *table);

// Appends the header row of the table's mode to out; false when memory ran out.
bool table_header(const TableState *table, Text *out);

// Starts a file of the computer named name (length bytes).
void table_begin(TableState *table, const char *name, size_t length);

// Reads the next length bytes of the file.
void table_feed(TableState *table, const char *bytes, size_t length);

// Ends the file and sets *rows to its rows (the last whole report's where it
// holds two, none where it is no report). Returns 0, or 1 with a line for
// each doubt in table->messages.
int table_end(TableState *table, const Text **rows);
