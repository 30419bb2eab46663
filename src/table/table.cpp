#include "table/table.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

#include "table/report_files.h"
#include "table/report_table.h"

struct TableRun {
  TableReader reader;
  int status;
};

// The read buffer: the reports pass through it piece by piece.
static char chunk[65536];

static void say(const char *path, const char *what, size_t length) {
  fprintf(stderr, "sysreport-table: %s: %.*s\n", path, (int)length, what);
}

// Adds the rows of one report; the computer is the file's name without ".txt".
static void table_file(const char *path, const char *name, void *context) {
  TableRun *run = (TableRun *)context;
  if (!path) {
    static const char kTooLong[] = "the path is too long";
    say(name, kTooLong, sizeof kTooLong - 1);
    run->status = 1;
    return;
  }
  if (ferror(stdout)) return;
  FILE *file = fopen(path, "rb");
  if (!file) {
    const char *reason = strerror(errno);
    say(path, reason, strlen(reason));
    run->status = 1;
    return;
  }
  size_t length = strlen(name);
  if (length >= 4 && name[length - 4] == '.' && (name[length - 3] | 0x20) == 't' && (name[length - 2] | 0x20) == 'x' &&
      (name[length - 1] | 0x20) == 't')
    length -= 4;
  TableReader *reader = &run->reader;
  table_begin(reader, name, length);
  size_t count;
  while ((count = fread(chunk, 1, sizeof chunk, file)) > 0) table_feed(reader, chunk, count);
  bool failed = ferror(file) != 0;
  fclose(file);
  if (failed) {
    static const char kUnreadable[] = "could not be read to its end";
    table_end(reader);
    say(path, kUnreadable, sizeof kUnreadable - 1);
    run->status = 1;
    return;
  }
  if (table_end(reader) != 0) {
    say(path, reader->problem.data, reader->problem.length);
    run->status = 1;
  }
}

// The file's name after the last folder separator.
static const char *file_name(const char *path) {
  const char *name = path;
  for (const char *p = path; *p; ++p)
    if (*p == '/' || *p == '\\' || *p == ':') name = p + 1;
  return name;
}

int run_table(int argc, char **argv) {
  set_binary_output();
  TableMode mode = kTableSummary;
  int first = 1;
  if (argc > 1 && strcmp(argv[1], "--drives") == 0) mode = kTableDrives;
  if (argc > 1 && strcmp(argv[1], "--accounts") == 0) mode = kTableAccounts;
  if (mode != kTableSummary) first = 2;
  if (first >= argc || argv[first][0] == '-') {
    fprintf(stderr, "Usage: sysreport-table [--drives | --accounts] FOLDER|FILE...\n");
    return 1;
  }
  static TableRun run;
  table_open(&run.reader, mode, stdout);
  run.status = 0;
  table_write_header(&run.reader);
  for (int i = first; i < argc; ++i) {
    if (!is_folder(argv[i])) {
      table_file(argv[i], file_name(argv[i]), &run);
    } else if (list_reports(argv[i], table_file, &run) != 0) {
      static const char kUnlisted[] = "the folder could not be listed";
      say(argv[i], kUnlisted, sizeof kUnlisted - 1);
      run.status = 1;
    }
  }
  table_release(&run.reader);
  // A failed write leaves the stream's error flag set, and the flush writes what is left.
  if (fflush(stdout) != 0 || ferror(stdout)) {
    char reason[512];
    write_failure_reason(reason, sizeof reason);
    fprintf(stderr, "sysreport-table: the table could not be written: %s\n", reason);
    return 2;
  }
  return run.status;
}
