#include "report/report.h"

const int kDaysBeforeMonth[13] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};

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

void format_duration(char *buffer, DWORD seconds) {
  DWORD weeks = seconds / 604800;
  DWORD rest = seconds - weeks * 604800;
  DWORD days = rest / 86400;
  rest -= days * 86400;
  DWORD hours = rest / 3600;
  rest -= hours * 3600;
  DWORD minutes = rest / 60;
  rest -= minutes * 60;

  if (weeks)
    sprintf(buffer, "%dw %dd %dh %dm %ds", (int)weeks, (int)days, (int)hours, (int)minutes, (int)rest);
  else if (days)
    sprintf(buffer, "%dd %dh %dm %ds", (int)days, (int)hours, (int)minutes, (int)rest);
  else if (hours)
    sprintf(buffer, "%dh %dm %ds", (int)hours, (int)minutes, (int)rest);
  else if (minutes)
    sprintf(buffer, "%dm %ds", (int)minutes, (int)rest);
  else
    sprintf(buffer, "%ds", (int)rest);
}

LONG systemtime_to_epoch(const SYSTEMTIME *time) {
  // Unsigned 32-bit arithmetic: the same bits as the signed sum, without
  // overflow for years the clock cannot hold in 32 bits.
  DWORD year = time->wYear;
  DWORD years = year - 1970;
  DWORD leap_days = (year - 1969) / 4;
  DWORD seconds = (365 * years + leap_days) * 86400;
  if (time->wMonth > 2 && year % 4 == 0) seconds += 86400;
  if (time->wMonth >= 1 && time->wMonth <= 12) seconds += (DWORD)kDaysBeforeMonth[time->wMonth - 1] * 86400;
  seconds += ((DWORD)time->wDay - 1) * 86400;
  seconds += (DWORD)time->wHour * 3600 + (DWORD)time->wMinute * 60 + time->wSecond;
  return (LONG)seconds;
}

void format_u64(char *buffer, ULONGLONG value) {
  char digits[21];
  int count = 0;
  do {
    digits[count++] = (char)('0' + value % 10);
    value /= 10;
  } while (value);
  for (int i = 0; i < count; ++i) buffer[i] = digits[count - 1 - i];
  buffer[count] = '\0';
}

const char *ctime_text(__time32_t t) {
  const char *text = ctime(&t);
  return text ? text : kNoTimeText;
}
