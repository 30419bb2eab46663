// The hardware section's rules over plain values: the walk of a raw SMBIOS
// table, the names of its codes, and the text of the section's lines.
#pragma once

#include <stddef.h>
#include <stdint.h>

// Room for one firmware text as the section prints it; a longer one is cut.
static const int kFirmwareTextSize = 256;

// The firmware's facts of SMBIOS types 0 to 3 (the first structure of each):
// "" where the table gives none, or where a string cannot be read. Control
// characters in a string show as '.', so that every fact stays on its line.
struct MachineFacts {
  char manufacturer[kFirmwareTextSize];  // type 1
  char model[kFirmwareTextSize];
  char serial[kFirmwareTextSize];
  char uuid[40];                        // 8-4-4-4-12 upper-case hex; "" when absent, all 00 or all FF
  char chassis[40];                     // type 3's chassis type, by name
  char bios_vendor[kFirmwareTextSize];  // type 0
  char bios_version[kFirmwareTextSize];
  char bios_date[kFirmwareTextSize];
  char board_maker[kFirmwareTextSize];  // type 2
  char board_product[kFirmwareTextSize];
  char board_serial[kFirmwareTextSize];
};

// One populated memory module (type 17): "" or 0 where the table does not
// tell.
struct ModuleFacts {
  char locator[kFirmwareTextSize];
  char type[32];  // DDR4, ...
  char manufacturer[kFirmwareTextSize];
  char part_number[kFirmwareTextSize];
  uint64_t size_kb;    // in KB whatever the unit of the field; the extended field for modules of 32 GB and more
  uint32_t speed_mts;  // MT/s
};

// A table as Windows hands it (GetSystemFirmwareTable('RSMB'), the mssmbios
// SMBiosData value): an 8-byte header (calling method, major, minor, DMI
// revision, 32-bit table length), then the structures.
struct SmbiosTable {
  const uint8_t *structures;
  size_t length;  // the header's length, bounded by the bytes that came
  unsigned major;
  unsigned minor;
};

// Reads the header of raw (raw_length bytes) into table. Returns 0, or -1
// when raw is too short to hold a header. Nothing is read outside raw.
int open_smbios(const uint8_t *raw, size_t raw_length, SmbiosTable *table);

// Fills facts from the table; every field it cannot read stays "".
void read_machine_facts(const SmbiosTable *table, MachineFacts *facts);

// Fills module from the first populated memory module whose structure starts
// at or after *offset (0 at first), and moves *offset past it. Returns 1, or
// 0 when no further module can be read.
int next_memory_module(const SmbiosTable *table, size_t *offset, ModuleFacts *module);

// Adds up the sizes of the table's populated modules into *kb. Returns the
// number of modules, or -1 when the size of one of them is unknown.
int add_up_memory_modules(const SmbiosTable *table, uint64_t *kb);

// The installed memory in MB: Windows' own figure where it has one (not 0),
// else the modules' sum (modules as add_up_memory_modules returned); 0, for
// Unknown, where neither tells.
uint64_t installed_memory_mb(uint64_t windows_mb, int modules, uint64_t modules_kb);

// Architecture code meaning "not known".
static const unsigned kUnknownArchitecture = 0xFFFF;

// The facts from outside the table; 0 or "" where unknown.
struct SystemFacts {
  const char *processor_name;
  uint32_t processor_mhz;
  unsigned architecture;  // PROCESSOR_ARCHITECTURE_*, or kUnknownArchitecture
  uint32_t packages;
  uint32_t cores;
  uint32_t logical_processors;
  uint64_t installed_mb;
  uint64_t usable_mb;
};

// Room for the section's lines up to the modules.
static const int kHardwareHeadSize = 8192;

// Writes the Machine, BIOS, Baseboard and Processors blocks and the Memory
// block's first two lines into buffer (kHardwareHeadSize bytes); every fact
// that is "" or 0 reads "Unknown".
void format_hardware_head(char *buffer, const MachineFacts *machine, const SystemFacts *system);

// Room for one module line.
static const int kModuleLineSize = 1200;

// Writes the line of one module into buffer (kModuleLineSize bytes); module
// NULL writes the line saying that no module is known.
void format_module_line(char *buffer, const ModuleFacts *module);
