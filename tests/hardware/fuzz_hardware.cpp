// Any bytes as the raw table Windows hands over: nothing read outside them, and the whole section. With PRINT_SECTION
// set in the environment, prints the section.
#include <stdio.h>
#include <stdlib.h>

#include <string>

#include "hardware/hardware_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  SmbiosTable table;
  MachineFacts machine;
  ModuleFacts module;
  SystemFacts system = {"", 0, kUnknownArchitecture, 0, 0, 0, 0, 0};
  static char text[kHardwareHeadSize];
  open_smbios(data, size, &table);
  read_machine_facts(&table, &machine);
  // Installed as on XP and Server 2003, where Windows has no figure of its own: the modules'.
  uint64_t modules_kb;
  int counted = add_up_memory_modules(&table, &modules_kb);
  system.installed_mb = installed_memory_mb(0, counted, modules_kb);
  format_hardware_head(text, &machine, &system);
  std::string section = text;
  size_t offset = 0;
  size_t modules = 0;
  for (; next_memory_module(&table, &offset, &module); ++modules) {
    format_module_line(text, &module);
    section += text;
  }
  format_module_line(text, NULL);
  if (modules == 0) section += text;
  // Whole: 38 lines up to the modules, 19 of them labelled with a value, then a line a module; no control character.
  size_t module_lines = modules ? modules : 1;
  size_t lines = 0;
  size_t labelled = 0;
  for (size_t start = 0, end; (end = section.find('\n', start)) != std::string::npos; start = end + 1) {
    std::string line = section.substr(start, end - start);
    labelled += line.size() > 24 && line.compare(22, 2, ": ") == 0;
    ++lines;
    for (unsigned char c : line) {
      if (c < 0x20 || c == 0x7F) abort();
    }
  }
  if (lines != 38 + module_lines || labelled != 19 + module_lines || section.back() != '\n') abort();
  if (getenv("PRINT_SECTION")) fputs(section.c_str(), stdout);
  return 0;
}
