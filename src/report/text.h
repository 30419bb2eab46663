// Text and time rules shared by the report sections. Plain values in, text
// out: nothing here calls Windows.
#pragma once

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
