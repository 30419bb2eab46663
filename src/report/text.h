// Text and time rules shared by the report sections. Plain values in, text
// out: nothing here calls Windows.
#pragma once

#include <stddef.h>
#include <stdint.h>

// Writes "%dw %dd %dh %dm %ds", starting at the largest unit that is not zero,
// into buffer (at least 21 bytes).
void format_duration(char *buffer, uint32_t seconds);

// Seconds since 1970-01-01 00:00:00 UTC for a UTC calendar time, with every
// year divisible by 4 a leap year (true from 1901 to 2099). Months outside 1
// to 12 count no days for the month.
int32_t calendar_to_epoch(unsigned year, unsigned month, unsigned day, unsigned hour, unsigned minute, unsigned second);

// Writes value as unsigned decimal into buffer (at least 21 bytes); the old
// msvcrt of Windows 95 and NT 4.0 has no printf conversion for 64 bits.
void format_u64(char *buffer, uint64_t value);

// The PROCESSOR_ARCHITECTURE_* code of an IMAGE_FILE_MACHINE_* code (x86,
// x64, ARM64, IA-64, ARM); 0xFFFF for any other.
unsigned machine_architecture(unsigned machine);

// Copies text (NULL reads "") into out (size bytes, at least 1) with control
// characters as '.', so that every fact stays on its line; cut to fit.
void clean_text(char *out, size_t size, const char *text);

// Writes a block's title, a row of '-' under it (titles of up to 10
// characters) and an empty line; returns the end of what it wrote.
char *format_block_title(char *out, const char *title);

// Writes a block line, the label padded to the labels' width, ": " and value,
// "Unknown" where value is NULL or ""; returns the end of what it wrote.
char *format_fact_line(char *out, const char *label, const char *value);

// Days since 1970-01-01 of a day of the Gregorian calendar (also before its
// time), and the day of such a count.
int32_t days_from_civil(int32_t year, unsigned month, unsigned day);
void civil_from_days(int32_t days, int32_t *year, unsigned *month, unsigned *day);
