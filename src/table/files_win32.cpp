#include <errno.h>
#include <fcntl.h>
#include <io.h>
#include <stdlib.h>

#include "platform.h"
#include "table/report_files.h"

// Windows' own text for error, without its line end; the runtime's text for
// errno where Windows has none.
static void system_reason(DWORD error, char *text, unsigned size) {
  DWORD length = error ? FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, error, 0,
                                        text, size, NULL)
                       : 0;
  if (length >= size) length = 0;
  while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == ' ')) --length;
  text[length] = '\0';
  if (length == 0) strcpy(text, strerror(errno));
}

int list_reports(const char *folder, EachReport each, void *context, char *reason, unsigned size) {
  char path[MAX_PATH];
  size_t folder_length = strlen(folder);
  // "folder\*.txt" also matches longer extensions through their short names: the name is checked again below.
  if (folder_length + 7 >= MAX_PATH) {
    system_reason(ERROR_FILENAME_EXCED_RANGE, reason, size);
    return 1;
  }
  strcpy(path, folder);
  strcpy(path + folder_length, "\\*.txt");
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path, &found);
  if (search == INVALID_HANDLE_VALUE) {
    // No report yet is an empty table, not a failure.
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) return 0;
    system_reason(error, reason, size);
    return 1;
  }
  int result = 0;
  for (;;) {
    size_t length = strlen(found.cFileName);
    bool report = length >= 4 && lstrcmpiA(found.cFileName + length - 4, ".txt") == 0 &&
                  !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    if (report && folder_length + 1 + length >= MAX_PATH) {
      each(NULL, found.cFileName, context);
    } else if (report) {
      strcpy(path + folder_length + 1, found.cFileName);
      each(path, found.cFileName, context);
    }
    if (FindNextFileA(search, &found)) continue;
    // A share that goes away mid-listing ends the listing too, with another error.
    DWORD error = GetLastError();
    if (error != ERROR_NO_MORE_FILES) {
      system_reason(error, reason, size);
      result = 2;
    }
    break;
  }
  FindClose(search);
  return result;
}

// Sharing as wide as this Windows allows: Windows 95 to ME refuse the delete flag.
static DWORD every_sharing(void) {
  DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
  if (!(GetVersion() & 0x80000000)) share |= FILE_SHARE_DELETE;
  return share;
}

static void identity_of(HANDLE handle, FileIdentity *identity) {
  BY_HANDLE_FILE_INFORMATION information;
  if (!GetFileInformationByHandle(handle, &information)) memset(&information, 0, sizeof information);
  identity->volume = information.dwVolumeSerialNumber;
  identity->file = (uint64_t)information.nFileIndexHigh << 32 | information.nFileIndexLow;
}

bool path_identity(const char *path, FileIdentity *identity) {
  // No access asked: the handle only tells which file or folder it is (a folder needs the backup flag).
  HANDLE handle = CreateFileA(path, 0, every_sharing(), NULL, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, NULL);
  if (handle == INVALID_HANDLE_VALUE) return false;
  identity_of(handle, identity);
  CloseHandle(handle);
  return true;
}

FILE *open_report(const char *path, FileIdentity *identity, char *reason, unsigned size) {
  // Delete sharing lets a report be moved away or deleted while it is read.
  HANDLE handle =
      CreateFileA(path, GENERIC_READ, every_sharing(), NULL, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, NULL);
  if (handle == INVALID_HANDLE_VALUE) {
    system_reason(GetLastError(), reason, size);
    return NULL;
  }
  identity_of(handle, identity);
  // The descriptor and the stream own the handle from here: fclose closes it.
  int descriptor = _open_osfhandle((intptr_t)handle, _O_RDONLY | _O_BINARY);
  FILE *file = descriptor != -1 ? _fdopen(descriptor, "rb") : NULL;
  if (!file) {
    strcpy(reason, strerror(errno));
    if (descriptor != -1)
      _close(descriptor);
    else
      CloseHandle(handle);
  }
  return file;
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
  system_reason(_doserrno, text, size);
}
