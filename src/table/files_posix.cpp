#include "table/report_files.h"

#include <dirent.h>
#include <errno.h>
#include <stdio.h>
#include <string.h>
#include <strings.h>
#include <sys/stat.h>

static const size_t kPathSize = 4096;

int list_reports(const char *folder, EachReport each, void *context) {
  DIR *listing = opendir(folder);
  if (!listing) return -1;
  size_t folder_length = strlen(folder);
  while (const struct dirent *entry = readdir(listing)) {
    size_t length = strlen(entry->d_name);
    if (length < 4 || strcasecmp(entry->d_name + length - 4, ".txt") != 0) continue;
    char path[kPathSize];
    if (folder_length + 1 + length >= kPathSize) {
      each(NULL, entry->d_name, context);
      continue;
    }
    sprintf(path, "%s/%s", folder, entry->d_name);
    struct stat status;
    if (stat(path, &status) == 0 && S_ISDIR(status.st_mode)) continue;
    each(path, entry->d_name, context);
  }
  closedir(listing);
  return 0;
}

bool is_folder(const char *path) {
  struct stat status;
  return stat(path, &status) == 0 && S_ISDIR(status.st_mode);
}

void set_binary_output(void) {}

void write_failure_reason(char *text, unsigned size) { snprintf(text, size, "%s", strerror(errno)); }
