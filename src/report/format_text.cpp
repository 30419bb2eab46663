#include "report/text.h"

#include <stdio.h>
#include <string.h>

#include "report/words.h"

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

void clean_text(char *out, size_t size, const char *text) {
  size_t k = 0;
  for (; text && text[k] && k + 1 < size; ++k) {
    unsigned char c = (unsigned char)text[k];
    out[k] = c < 0x20 || c == 0x7F ? '.' : (char)c;
  }
  out[k] = '\0';
}

char *format_block_title(char *out, const char *title) {
  return out + sprintf(out, "%s\n%.*s\n\n", title, (int)strlen(title), "----------");
}

char *format_fact_line(char *out, const char *label, const char *value) {
  return out + sprintf(out, "%-*s: %s\n", kLabelWidth, label, value && *value ? value : kUnknown);
}

// Howard Hinnant's method: eras of 400 years, each year starting on 1 March.
int32_t days_from_civil(int32_t year, unsigned month, unsigned day) {
  year -= month <= 2;
  int32_t era = (year >= 0 ? year : year - 399) / 400;
  uint32_t year_of_era = (uint32_t)(year - era * 400);
  uint32_t day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  uint32_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + (int32_t)day_of_era - 719468;
}

void civil_from_days(int32_t days, int32_t *year, unsigned *month, unsigned *day) {
  days += 719468;
  int32_t era = (days >= 0 ? days : days - 146096) / 146097;
  uint32_t day_of_era = (uint32_t)(days - era * 146097);
  uint32_t year_of_era = (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  uint32_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  uint32_t shifted_month = (5 * day_of_year + 2) / 153;
  *day = day_of_year - (153 * shifted_month + 2) / 5 + 1;
  *month = shifted_month < 10 ? shifted_month + 3 : shifted_month - 9;
  *year = (int32_t)year_of_era + era * 400 + (*month <= 2);
}
