#include <dirent.h>
#include <errno.h>
#include <stdio.h>
#include <string.h>
#include <strings.h>
#include <sys/stat.h>

#include "table/report_files.h"

static const size_t kPathSize = 4096;

int list_reports(const char *folder, EachReport each, void *context, char *reason, unsigned size) {
  DIR *listing = opendir(folder);
  if (!listing) {
    snprintf(reason, size, "%s", strerror(errno));
    return 1;
  }
  size_t folder_length = strlen(folder);
  int result = 0;
  for (;;) {
    // readdir tells its end from a failure by errno alone.
    errno = 0;
    const struct dirent *entry = readdir(listing);
    if (!entry) {
      if (errno != 0) {
        snprintf(reason, size, "%s", strerror(errno));
        result = 2;
      }
      break;
    }
    size_t length = strlen(entry->d_name);
    if (length < 4 || strcasecmp(entry->d_name + length - 4, ".txt") != 0) continue;
    char path[kPathSize];
    if (folder_length + 1 + length >= kPathSize) {
      each(NULL, entry->d_name, context);
      continue;
    }
    sprintf(path, "%s/%s", folder, entry->d_name);
    // The listing's own type where the file system gives one: a stat of every report would cost a call each.
    struct stat status;
    if (entry->d_type == DT_DIR || (entry->d_type == DT_UNKNOWN && stat(path, &status) == 0 && S_ISDIR(status.st_mode)))
      continue;
    each(path, entry->d_name, context);
  }
  closedir(listing);
  return result;
}

FILE *open_report(const char *path, FileIdentity *identity, char *reason, unsigned size) {
  FILE *file = fopen(path, "rb");
  struct stat status;
  if (file && fstat(fileno(file), &status) == 0) {
    identity->volume = (uint64_t)status.st_dev;
    identity->file = (uint64_t)status.st_ino;
    // The reader takes 64 KB at a time: a buffer of the stream's own would cost a second fstat for its size.
    setvbuf(file, NULL, _IONBF, 0);
    return file;
  }
  snprintf(reason, size, "%s", strerror(errno));
  if (file) fclose(file);
  return NULL;
}

bool path_identity(const char *path, FileIdentity *identity) {
  struct stat status;
  if (stat(path, &status) != 0) return false;
  identity->volume = (uint64_t)status.st_dev;
  identity->file = (uint64_t)status.st_ino;
  return true;
}

bool is_folder(const char *path) {
  struct stat status;
  return stat(path, &status) == 0 && S_ISDIR(status.st_mode);
}

void set_binary_output(void) {}

void write_failure_reason(char *text, unsigned size) { snprintf(text, size, "%s", strerror(errno)); }
