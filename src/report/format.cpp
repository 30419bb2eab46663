#include "report/report.h"

#include <errno.h>

#include "report/binding.h"

const char kNoTimeText[] = "Unknown\n";

static void print_row(size_t length) {
  for (size_t i = 0; i < length; ++i) putchar('*');
}

void print_heading(const char *title) {
  size_t length = strlen(title);
  printf("\n");
  print_row(length);
  printf("\n%s\n", title);
  print_row(length);
  printf("\n\n");
}

LONG systemtime_to_epoch(const SYSTEMTIME *time) {
  return calendar_to_epoch(time->wYear, time->wMonth, time->wDay, time->wHour, time->wMinute, time->wSecond);
}

// Windows' own text for error, in the system's language, without its line
// end; FALSE when there is none.
static BOOL system_message(DWORD error, char *text, DWORD size) {
  typedef DWORD(WINAPI * FormatMessageFunction)(DWORD, LPCVOID, DWORD, DWORD, LPSTR, DWORD, va_list *);
  FormatMessageFunction format_message;
  look_up(GetModuleHandleA(kKernel32Dll), "FormatMessageA", &format_message);
  DWORD length = 0;
  if (error != 0 && format_message)
    length =
        format_message(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, error, 0, text, size, NULL);
  if (length >= size) length = 0;
  while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == ' ')) --length;
  text[length] = '\0';
  return length > 0;
}

int output_status(int status, const char *why) {
  typedef DWORD(WINAPI * GetLastErrorFunction)(void);
  typedef unsigned long *(__cdecl * DosErrnoFunction)(void);
  GetLastErrorFunction get_last_error;
  DosErrnoFunction dos_errno;
  // Looked up first: the last error must be the failed write's.
  look_up(GetModuleHandleA(kKernel32Dll), "GetLastError", &get_last_error);
  look_up(GetModuleHandleA("msvcrt.dll"), "__doserrno", &dos_errno);
  int flushed = fflush(stdout);
  // The runtime keeps Windows' error of the write that failed, which may have
  // been long before this flush; the last error, that of the flush.
  DWORD error = dos_errno ? (DWORD)*dos_errno() : 0;
  if (error == 0 && get_last_error) error = get_last_error();
  // A failed write leaves the stream's error flag set, and the flush writes
  // what is left. msvcrt maps Windows' reason onto errno coarsely (a share
  // that went away reads "Invalid argument"): Windows' own text instead.
  if (flushed != 0 || ferror(stdout)) {
    char reason[512];
    if (!system_message(error, reason, sizeof reason)) strcpy(reason, strerror(errno));
    fprintf(stderr, "sysreport: the report could not be written: %s\n", reason);
    return 2;
  }
  // A run that ends early says why where the console shows it, also when
  // standard output goes to a file.
  if (why) fprintf(stderr, "sysreport: %s\n", why);
  return status;
}

const char *ctime_text(__time32_t t) {
  const char *text = ctime(&t);
  return text ? text : kNoTimeText;
}
