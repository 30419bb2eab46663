// Text helpers shared by the report sections, and the program's one way to
// end the process early.
#pragma once

#include "platform.h"
#include "report/text.h"

// Prints a section heading: a row of asterisks as long as the title, the
// title, the row again, framed by line ends.
void print_heading(const char *title);

// Seconds since 1970-01-01 00:00:00 UTC for a UTC calendar time (the system
// clock's).
LONG systemtime_to_epoch(const SYSTEMTIME *time);

// The runtime's local-time text of t, 24 characters and a line feed, or
// kNoTimeText when the runtime cannot convert it (before 1970 in local time).
const char *ctime_text(__time32_t t);
extern const char kNoTimeText[];

// Flushes standard output and gives status back, after saying why on
// standard error where why is given; or 2 when some of the report could not
// be written, after saying so, with the runtime's reason, instead.
int output_status(int status, const char *why);

// Ends the process with output_status(status, why).
[[noreturn]] void end_process(int status, const char *why);

// Fills info from GetNativeSystemInfo, else GetSystemInfo (both bound at run
// time); a processor architecture of PROCESSOR_ARCHITECTURE_UNKNOWN and zeros
// where neither is there.
void read_system_info(SYSTEM_INFO *info);

// The machine's processor architecture (PROCESSOR_ARCHITECTURE_*), under
// WOW64 or emulation too; PROCESSOR_ARCHITECTURE_UNKNOWN where no call tells.
unsigned native_architecture(void);
