#include "report/report.h"

#include <errno.h>

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

int output_status(int status, const char *why) {
  // A failed write leaves the stream's error flag set; errno still holds its reason.
  if (fflush(stdout) != 0 || ferror(stdout)) {
    fprintf(stderr, "sysreport: the report could not be written: %s\n", strerror(errno));
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
