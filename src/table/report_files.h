// The platform's part of the table program: listing a folder's reports,
// opening them, and standard output as bytes. One file per platform
// implements it.
#pragma once

#include <stdint.h>
#include <stdio.h>

// Called with a report's path and file name; path is NULL when the two do
// not fit in a path of the platform.
typedef void (*EachReport)(const char *path, const char *name, void *context);

// Calls each for every file of folder whose name ends in ".txt" (in any case),
// in the order the platform lists them. Returns 0 (an empty folder too), 1
// when the folder cannot be listed, 2 when its listing failed before its
// end; then with the system's reason in reason (size bytes).
int list_reports(const char *folder, EachReport each, void *context, char *reason, unsigned size);

// What tells one file apart from every other of the machine, whatever the
// path that named it.
struct FileIdentity {
  uint64_t volume;
  uint64_t file;
};

// Opens path to be read as bytes, letting others read, write, replace and
// delete it meanwhile where the system allows, and fills identity; NULL with
// the system's reason in reason (size bytes) when it cannot.
FILE *open_report(const char *path, FileIdentity *identity, char *reason, unsigned size);

// Fills identity for path, a file or a folder, without reading it; false
// where the system cannot tell it.
bool path_identity(const char *path, FileIdentity *identity);

// True when path names a folder.
bool is_folder(const char *path);

// Makes standard output take bytes as they are: no CR added before a LF.
void set_binary_output(void);

// Writes the system's reason for the write that just failed into text
// (size bytes), in its own words and language.
void write_failure_reason(char *text, unsigned size);
