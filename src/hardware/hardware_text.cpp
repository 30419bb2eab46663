#include "hardware/hardware_text.h"

#include <stdio.h>
#include <string.h>

#include "hardware/smbios_names.h"
#include "report/text.h"
#include "report/words.h"

static const unsigned kEndOfTable = 127;

static const char *code_name(const char *const *names, size_t count, unsigned code) {
  return code < count ? names[code] : "";
}

// One structure of the walk: its formatted part and its string set.
struct Structure {
  const uint8_t *data;
  size_t length;
  const uint8_t *strings;  // NULL when the set has no double NUL in the table
  size_t strings_length;   // up to and with the last string's NUL
  size_t next;             // where the next structure starts; the table's length when the walk ends here
};

// Reads the structure at offset. Returns 0 at the end of the walk: the table's
// end, the end-of-table type, a header or formatted part that does not fit.
static int read_structure(const SmbiosTable *table, size_t offset, Structure *s) {
  size_t end = table->length;
  if (offset >= end || end - offset < 4) return 0;
  const uint8_t *p = table->structures + offset;
  if (p[0] == kEndOfTable || p[1] < 4 || p[1] > end - offset) return 0;
  s->data = p;
  s->length = p[1];
  size_t i = offset + p[1];
  while (i + 1 < end && (table->structures[i] || table->structures[i + 1])) ++i;
  if (i + 1 < end) {
    s->strings = p + p[1];
    s->strings_length = i + 1 - (offset + p[1]);
    s->next = i + 2;
  } else {
    s->strings = NULL;
    s->strings_length = 0;
    s->next = end;
  }
  return 1;
}

static unsigned read_word(const uint8_t *p) { return p[0] | p[1] << 8; }

static uint32_t read_dword(const uint8_t *p) { return read_word(p) | (uint32_t)read_word(p + 2) << 16; }

// The string whose number is in the byte at field; "" when that byte lies past
// the formatted part, is 0, or names no string of the set.
static void copy_string(const Structure *s, size_t field, char *out) {
  out[0] = '\0';
  if (field >= s->length || !s->strings) return;
  const uint8_t *p = s->strings;
  const uint8_t *end = p + s->strings_length;
  // The set's last byte is a NUL, so each strlen stays inside it.
  for (unsigned n = s->data[field]; n > 1 && p < end && *p; --n) p += strlen((const char *)p) + 1;
  if (s->data[field] && p < end) clean_text(out, kFirmwareTextSize, (const char *)p);
}

static void format_uuid(const uint8_t *uuid, int little_endian, char *out) {
  static const uint8_t kLittleEndianOrder[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
  int zeros = 0;
  int ones = 0;
  for (int i = 0; i < 16; ++i) {
    zeros += uuid[i] == 0;
    ones += uuid[i] == 0xFF;
  }
  out[0] = '\0';
  if (zeros == 16 || ones == 16) return;
  for (int i = 0; i < 16; ++i) {
    out += sprintf(out, "%02X", uuid[little_endian ? kLittleEndianOrder[i] : i]);
    if (i == 3 || i == 5 || i == 7 || i == 9) *out++ = '-';
  }
}

int open_smbios(const uint8_t *raw, size_t raw_length, SmbiosTable *table) {
  memset(table, 0, sizeof *table);
  table->structures = raw;
  if (!raw || raw_length < 8) return -1;
  uint32_t length = read_dword(raw + 4);
  table->structures = raw + 8;
  table->length = length < raw_length - 8 ? length : raw_length - 8;
  table->major = raw[1];
  table->minor = raw[2];
  return 0;
}

void read_machine_facts(const SmbiosTable *table, MachineFacts *facts) {
  memset(facts, 0, sizeof *facts);
  int seen = 0;
  Structure s;
  for (size_t offset = 0; read_structure(table, offset, &s); offset = s.next) {
    unsigned type = s.data[0];
    if (type > 3 || seen & 1 << type) continue;
    seen |= 1 << type;
    if (type == 0) {
      copy_string(&s, 4, facts->bios_vendor);
      copy_string(&s, 5, facts->bios_version);
      copy_string(&s, 8, facts->bios_date);
    } else if (type == 1) {
      copy_string(&s, 4, facts->manufacturer);
      copy_string(&s, 5, facts->model);
      copy_string(&s, 7, facts->serial);
      // From 2.6 on the first three fields are little-endian.
      int little_endian = table->major > 2 || (table->major == 2 && table->minor >= 6);
      if (s.length >= 0x18) format_uuid(s.data + 8, little_endian, facts->uuid);
    } else if (type == 2) {
      copy_string(&s, 4, facts->board_maker);
      copy_string(&s, 5, facts->board_product);
      copy_string(&s, 7, facts->board_serial);
    } else if (s.length > 5) {
      strcpy(facts->chassis, code_name(kChassisNames, sizeof kChassisNames / sizeof *kChassisNames, s.data[5] & 0x7F));
    }
  }
}

int next_memory_module(const SmbiosTable *table, size_t *offset, ModuleFacts *module) {
  memset(module, 0, sizeof *module);
  Structure s;
  while (read_structure(table, *offset, &s)) {
    *offset = s.next;
    const uint8_t *p = s.data;
    if (p[0] != 17 || s.length < 0x0E) continue;
    unsigned size = read_word(p + 0x0C);
    if (size == 0) continue;  // an empty slot
    // Bit 15 set: the size is in KB. 0x7FFF: in the extended field, in MB.
    if (size == 0x7FFF && s.length >= 0x20)
      module->size_kb = (uint64_t)(read_dword(p + 0x1C) & 0x7FFFFFFF) << 10;
    else if (size != 0xFFFF)
      module->size_kb = size & 0x8000 ? size & 0x7FFF : (uint64_t)size << 10;
    copy_string(&s, 0x10, module->locator);
    if (s.length > 0x12)
      strcpy(module->type, code_name(kMemoryTypeNames, sizeof kMemoryTypeNames / sizeof *kMemoryTypeNames, p[0x12]));
    if (s.length >= 0x17) module->speed_mts = read_word(p + 0x15);
    // The extended speed's bit 31 is reserved.
    if (module->speed_mts == 0xFFFF) module->speed_mts = s.length >= 0x58 ? read_dword(p + 0x54) & 0x7FFFFFFF : 0;
    copy_string(&s, 0x17, module->manufacturer);
    copy_string(&s, 0x1A, module->part_number);
    return 1;
  }
  return 0;
}

int add_up_memory_modules(const SmbiosTable *table, uint64_t *kb) {
  ModuleFacts module;
  size_t offset = 0;
  int modules = 0;
  bool unknown = false;
  *kb = 0;
  for (; next_memory_module(table, &offset, &module); ++modules) {
    unknown = unknown || module.size_kb == 0;
    *kb += module.size_kb;
  }
  return unknown ? -1 : modules;
}

uint64_t installed_memory_mb(uint64_t windows_mb, int modules, uint64_t modules_kb) {
  if (windows_mb) return windows_mb;
  // A module of unknown size would make the sum too small: no figure rather than a wrong one.
  return modules > 0 ? modules_kb >> 10 : 0;
}

static const char *known(const char *text) { return text && *text ? text : kUnknown; }

// A figure and its unit, or Unknown for 0.
static char *figure_line(char *out, const char *label, uint64_t value, const char *unit) {
  char text[32] = "";
  if (value) {
    format_u64(text, value);
    strcpy(text + strlen(text), unit);
  }
  return format_fact_line(out, label, text);
}

static const char *architecture_name(unsigned code) {
  switch (code) {
    case 0: return "x86";
    case 5: return "ARM";
    case 6: return "IA-64";
    case 9: return "x64";
    case 12: return "ARM64";
    default: return "";
  }
}

void format_hardware_head(char *buffer, const MachineFacts *machine, const SystemFacts *system) {
  char processor[kFirmwareTextSize] = "";
  clean_text(processor, sizeof processor, system->processor_name);
  char *out = format_block_title(buffer, kBlockMachine);
  out = format_fact_line(out, kHwManufacturer, machine->manufacturer);
  out = format_fact_line(out, kHwModel, machine->model);
  out = format_fact_line(out, kHwSerial, machine->serial);
  out = format_fact_line(out, "UUID", machine->uuid);
  out = format_fact_line(out, "Chassis Type", machine->chassis);
  out = format_block_title(out + sprintf(out, "\n"), kBlockBios);
  out = format_fact_line(out, "Vendor", machine->bios_vendor);
  out = format_fact_line(out, "Version", machine->bios_version);
  out = format_fact_line(out, "Release Date", machine->bios_date);
  out = format_block_title(out + sprintf(out, "\n"), kBlockBaseboard);
  out = format_fact_line(out, kHwManufacturer, machine->board_maker);
  out = format_fact_line(out, "Product", machine->board_product);
  out = format_fact_line(out, "Serial Number", machine->board_serial);
  out = format_block_title(out + sprintf(out, "\n"), kBlockProcessors);
  out = format_fact_line(out, kHwProcessorName, processor);
  out = figure_line(out, "Speed", system->processor_mhz, " MHz");
  out = format_fact_line(out, "Architecture", architecture_name(system->architecture));
  out = figure_line(out, "Packages", system->packages, "");
  out = figure_line(out, "Cores", system->cores, "");
  out = figure_line(out, kHwLogical, system->logical_processors, "");
  out = format_block_title(out + sprintf(out, "\n"), kBlockMemory);
  out = figure_line(out, kHwInstalled, system->installed_mb, " MB");
  figure_line(out, "Usable", system->usable_mb, " MB");
}

void format_module_line(char *buffer, const ModuleFacts *module) {
  if (!module) {
    format_fact_line(buffer, "Module", "");
    return;
  }
  char size[32] = "";
  char speed[32] = "";
  // Whole MB, as nearly every table gives them; KB where the table counts in KB and the MB are not whole.
  if (module->size_kb) {
    format_u64(size, module->size_kb % 1024 ? module->size_kb : module->size_kb >> 10);
    strcpy(size + strlen(size), module->size_kb % 1024 ? " KB" : " MB");
  }
  if (module->speed_mts) sprintf(speed, "%u MT/s", (unsigned)module->speed_mts);
  sprintf(buffer, "%-22s: %s, %s, %s, %s, %s, %s\n", "Module", known(module->locator), known(size), known(module->type),
          known(speed), known(module->manufacturer), known(module->part_number));
}
