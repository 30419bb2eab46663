// The platform's part of the table program: listing a folder's reports and
// standard output as bytes. One file per platform implements it.
#pragma once

// Called with a report's path and file name; path is NULL when the two do
// not fit in a path of the platform.
typedef void (*EachReport)(const char *path, const char *name, void *context);

// Calls each for every file of folder whose name ends in ".txt" (in any case),
// in the order the platform lists them. Returns 0, or -1 when the folder
// cannot be listed.
int list_reports(const char *folder, EachReport each, void *context);

// True when path names a folder.
bool is_folder(const char *path);

// Makes standard output take bytes as they are: no CR added before a LF.
void set_binary_output(void);

// Writes the system's reason for the write that just failed into text
// (size bytes), in its own words and language.
void write_failure_reason(char *text, unsigned size);
