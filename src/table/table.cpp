#include "table/table.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "table/report_files.h"
#include "table/report_table.h"

// The files and folders named on the command line, by identity: an open-addressed set that doubles when half full.
// The files of a listing are looked up in it but not kept, so that memory does not grow with the reports read.
struct FileSet {
  FileIdentity *slots;
  size_t size;
  size_t count;
};

struct TableRun {
  TableState table;
  FileSet named;
  bool listing;  // the files come from a folder's listing, not the command line
  int status;
};

// The read buffer: the reports pass through it piece by piece.
static char chunk[65536];

static void say(const char *path, const char *what, size_t length) {
  fprintf(stderr, "sysreport-table: %s: %.*s\n", path, (int)length, what);
}

static size_t slot_of(const FileSet *set, const FileIdentity *identity) {
  uint64_t hash = (identity->file ^ (identity->volume << 17)) * 0x9E3779B97F4A7C15ULL;
  size_t slot = (size_t)(hash >> 20) & (set->size - 1);
  while (set->slots[slot].volume | set->slots[slot].file) {
    if (set->slots[slot].volume == identity->volume && set->slots[slot].file == identity->file) break;
    slot = (slot + 1) & (set->size - 1);
  }
  return slot;
}

static const char kTwice[] = "named twice (or by two paths): read once";

static bool known(const FileIdentity *identity) { return (identity->volume | identity->file) != 0; }

static bool in_set(const FileSet *set, const FileIdentity *identity) {
  if (!set->size || !known(identity)) return false;
  size_t slot = slot_of(set, identity);
  return known(&set->slots[slot]);
}

// True when identity was not in the set (it is now). An identity the system
// could not give (all zero), or no memory to hold it, counts as new.
static bool first_time(FileSet *set, const FileIdentity *identity) {
  if (!known(identity)) return true;
  if (set->count * 2 >= set->size) {
    FileSet grown = {(FileIdentity *)calloc(set->size ? set->size * 2 : 64, sizeof(FileIdentity)),
                     set->size ? set->size * 2 : 64, 0};
    if (!grown.slots) return true;
    for (size_t i = 0; i < set->size; ++i)
      if (set->slots[i].volume | set->slots[i].file) grown.slots[slot_of(&grown, &set->slots[i])] = set->slots[i];
    grown.count = set->count;
    free(set->slots);
    *set = grown;
  }
  size_t slot = slot_of(set, identity);
  if (set->slots[slot].volume | set->slots[slot].file) return false;
  set->slots[slot] = *identity;
  ++set->count;
  return true;
}

// True for a name ending in ".txt", in any case.
static bool is_report_name(const char *name) {
  size_t length = strlen(name);
  return length >= 4 && name[length - 4] == '.' && (name[length - 3] | 0x20) == 't' &&
         (name[length - 2] | 0x20) == 'x' && (name[length - 1] | 0x20) == 't';
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
  char reason[512];
  FileIdentity identity = {0, 0};
  FILE *file = open_report(path, &identity, reason, sizeof reason);
  if (!file) {
    say(path, reason, strlen(reason));
    run->status = 1;
    return;
  }
  if (run->listing ? in_set(&run->named, &identity) : !first_time(&run->named, &identity)) {
    fclose(file);
    say(path, kTwice, sizeof kTwice - 1);
    run->status = 1;
    return;
  }
  size_t length = strlen(name) - (is_report_name(name) ? 4 : 0);
  TableState *table = &run->table;
  table_begin(table, name, length);
  size_t count;
  while ((count = fread(chunk, 1, sizeof chunk, file)) > 0) table_feed(table, chunk, count);
  bool failed = ferror(file) != 0;
  fclose(file);
  const Text *rows = NULL;
  int result = table_end(table, &rows);
  if (failed) {
    static const char kUnreadable[] = "could not be read to its end";
    say(path, kUnreadable, sizeof kUnreadable - 1);
    run->status = 1;
    return;
  }
  fwrite(rows->data, 1, rows->length, stdout);
  if (result == 0) return;
  run->status = 1;
  const Text *messages = &table->messages;
  for (size_t start = 0; start < messages->length;) {
    const char *end = (const char *)memchr(messages->data + start, '\n', messages->length - start);
    size_t line = end ? (size_t)(end - messages->data) - start : messages->length - start;
    say(path, messages->data + start, line);
    start += line + 1;
  }
}

// The file's name after the last folder separator.
static const char *file_name(const char *path) {
  const char *name = path;
  for (const char *p = path; *p; ++p)
    if (*p == '/' || *p == '\\' || *p == ':') name = p + 1;
  return name;
}

// True when path is a report of a folder that the command line named before it: read there already.
static bool listed_before(const TableRun *run, const char *path) {
  const char *name = file_name(path);
  char folder[4096] = ".";
  size_t length = (size_t)(name - path);
  // "C:\a.txt" and "/a.txt" keep their root's separator; "dir/a.txt" drops it.
  if (length > 1 && name[-1] != ':' && !(length == 3 && path[1] == ':')) --length;
  if (length >= sizeof folder || !is_report_name(name)) return false;
  if (length) {
    memcpy(folder, path, length);
    folder[length] = '\0';
  }
  FileIdentity identity = {0, 0};
  return path_identity(folder, &identity) && in_set(&run->named, &identity);
}

int run_table(int argc, char **argv) {
  set_binary_output();
  TableMode mode = kTableSummary;
  int first = 1;
  if (argc > 1 && table_mode(argv[1], &mode)) first = 2;
  if (first >= argc || argv[first][0] == '-') {
    fputs("Usage: sysreport-table [--drives | --accounts | --programs | --updates | --adapters] FOLDER|FILE...\n",
          stderr);
    return 1;
  }
  static TableRun run;
  table_open(&run.table, mode);
  run.status = 0;
  Text header = {NULL, 0, 0};
  if (table_header(&run.table, &header)) fwrite(header.data, 1, header.length, stdout);
  free(header.data);
  for (int i = first; i < argc; ++i) {
    char reason[512];
    FileIdentity identity = {0, 0};
    bool folder = is_folder(argv[i]);
    if ((folder && path_identity(argv[i], &identity) && !first_time(&run.named, &identity)) ||
        (!folder && listed_before(&run, argv[i]))) {
      say(argv[i], kTwice, sizeof kTwice - 1);
      run.status = 1;
      continue;
    }
    run.listing = folder;
    int listed = folder ? list_reports(argv[i], table_file, &run, reason, sizeof reason) : -1;
    if (listed < 0) table_file(argv[i], file_name(argv[i]), &run);
    if (listed <= 0) continue;
    fprintf(stderr, "sysreport-table: %s: the folder could not be listed%s: %s\n", argv[i],
            listed == 2 ? " to its end" : "", reason);
    run.status = 1;
  }
  table_release(&run.table);
  free(run.named.slots);
  // A failed write leaves the stream's error flag set, and the flush writes what is left.
  if (fflush(stdout) != 0 || ferror(stdout)) {
    char reason[512];
    write_failure_reason(reason, sizeof reason);
    fprintf(stderr, "sysreport-table: the table could not be written: %s\n", reason);
    return 2;
  }
  return run.status;
}
