#include "table/report_files.h"

#include <errno.h>
#include <fcntl.h>
#include <io.h>
#include <stdlib.h>

#include "platform.h"

int list_reports(const char *folder, EachReport each, void *context) {
  char path[MAX_PATH];
  size_t folder_length = strlen(folder);
  // "folder\*.txt" also matches longer extensions through their short names: the name is checked again below.
  if (folder_length + 7 >= MAX_PATH) return -1;
  strcpy(path, folder);
  strcpy(path + folder_length, "\\*.txt");
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path, &found);
  if (search == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND ? 0 : -1;
  do {
    size_t length = strlen(found.cFileName);
    if (length < 4 || lstrcmpiA(found.cFileName + length - 4, ".txt") != 0) continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (folder_length + 1 + length >= MAX_PATH) {
      each(NULL, found.cFileName, context);
      continue;
    }
    strcpy(path + folder_length + 1, found.cFileName);
    each(path, found.cFileName, context);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return 0;
}

bool is_folder(const char *path) {
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void set_binary_output(void) { _setmode(_fileno(stdout), _O_BINARY); }

void write_failure_reason(char *text, unsigned size) {
  // msvcrt maps Windows' reason onto errno coarsely (a share that went away
  // reads "Invalid argument"): Windows' own text where it has one. The
  // runtime keeps the failed write's error; the last error may be a later
  // call's.
  DWORD error = _doserrno;
  DWORD length = error ? FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, error, 0,
                                        text, size, NULL)
                       : 0;
  if (length >= size) length = 0;
  while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == ' ')) --length;
  text[length] = '\0';
  if (length == 0) strcpy(text, strerror(errno));
}
