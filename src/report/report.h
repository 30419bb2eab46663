// Text helpers shared by the report sections, and the program's one way to
// end the process early.
#pragma once

#include "platform.h"

// Days of a common year before each month (index: month - 1); the 13th entry
// is the length of the year.
extern const int kDaysBeforeMonth[13];

// Prints a section heading: a row of asterisks as long as the title, the
// title, the row again, framed by line ends.
void print_heading(const char *title);

// Writes "%dw %dd %dh %dm %ds", starting at the largest unit that is not zero,
// into buffer (at least 21 bytes).
void format_duration(char *buffer, DWORD seconds);

// Seconds since 1970-01-01 00:00:00 UTC for a UTC calendar time. Months
// outside 1 to 12 count no days for the month.
LONG systemtime_to_epoch(const SYSTEMTIME *time);

// Writes value as unsigned decimal into buffer (at least 21 bytes); the old
// msvcrt of Windows 95 and NT 4.0 has no printf conversion for 64 bits.
void format_u64(char *buffer, ULONGLONG value);

// The runtime's local-time text of t, 24 characters and a line feed, or
// kNoTimeText when the runtime cannot convert it (before 1970 in local time).
const char *ctime_text(__time32_t t);
extern const char kNoTimeText[];

// Ends the process with status, standard output flushed.
[[noreturn]] void end_process(int status);
