#include "report/text.h"

#include <stdio.h>

static const int kDaysBeforeMonth[13] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};

void format_duration(char *buffer, uint32_t seconds) {
  uint32_t weeks = seconds / 604800;
  uint32_t rest = seconds - weeks * 604800;
  uint32_t days = rest / 86400;
  rest -= days * 86400;
  uint32_t hours = rest / 3600;
  rest -= hours * 3600;
  uint32_t minutes = rest / 60;
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

int32_t calendar_to_epoch(unsigned year, unsigned month, unsigned day, unsigned hour, unsigned minute,
                          unsigned second) {
  // Unsigned 32-bit arithmetic: the same bits as the signed sum, without
  // overflow for years the clock cannot hold in 32 bits.
  uint32_t years = year - 1970;
  uint32_t leap_days = (year - 1969) / 4;
  uint32_t seconds = (365 * years + leap_days) * 86400;
  if (month > 2 && year % 4 == 0) seconds += 86400;
  if (month >= 1 && month <= 12) seconds += (uint32_t)kDaysBeforeMonth[month - 1] * 86400;
  seconds += (day - 1) * 86400 + hour * 3600 + minute * 60 + second;
  return (int32_t)seconds;
}

void format_u64(char *buffer, uint64_t value) {
  char digits[21];
  int count = 0;
  do {
    digits[count++] = (char)('0' + value % 10);
    value /= 10;
  } while (value);
  for (int i = 0; i < count; ++i) buffer[i] = digits[count - 1 - i];
  buffer[count] = '\0';
}

unsigned machine_architecture(unsigned machine) {
  switch (machine) {
    case 0x14C: return 0;    // i386: PROCESSOR_ARCHITECTURE_INTEL
    case 0x8664: return 9;   // AMD64
    case 0xAA64: return 12;  // ARM64
    case 0x200: return 6;    // IA64
    case 0x1C4: return 5;    // ARMNT: ARM
    default: return 0xFFFF;
  }
}
