#include "hardware/hardware.h"

#include "hardware/hardware_text.h"
#include "report/binding.h"
#include "report/report.h"
#include "report/words.h"

// GetSystemFirmwareTable's provider of the raw SMBIOS table.
static const DWORD kRawSmbiosProvider = ((DWORD)'R' << 24) | ((DWORD)'S' << 16) | ((DWORD)'M' << 8) | 'B';
// Far beyond any firmware table or processor list: a larger answer is taken as a fault.
static const DWORD kMaxBufferBytes = 16u << 20;
static const char kProcessorKey[] = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";

static HMODULE kernel32(void) { return GetModuleHandleA(kKernel32Dll); }

// A buffer of at least size bytes from the heap, or NULL.
static BYTE *take_buffer(DWORD size) {
  return size > 0 && size <= kMaxBufferBytes ? (BYTE *)LocalAlloc(LMEM_FIXED, size) : NULL;
}

// The raw SMBIOS table, in one read: GetSystemFirmwareTable (Vista, XP x64,
// Server 2003 SP1 on), else the copy that XP and Server 2003 keep in the
// registry. NULL where neither has one; the caller frees it.
static BYTE *read_smbios(DWORD *size) {
  typedef UINT(WINAPI * FirmwareTableFunction)(DWORD, DWORD, PVOID, DWORD);
  FirmwareTableFunction firmware_table;
  look_up(kernel32(), "GetSystemFirmwareTable", &firmware_table);
  BYTE *table = NULL;
  *size = firmware_table ? firmware_table(kRawSmbiosProvider, 0, NULL, 0) : 0;
  if (*size > 0 && (table = take_buffer(*size)) != NULL && firmware_table(kRawSmbiosProvider, 0, table, *size) == *size)
    return table;
  if (table) LocalFree(table);
  table = NULL;
  HKEY key;
  *size = 0;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\mssmbios\\Data", 0, KEY_QUERY_VALUE,
                    &key) != ERROR_SUCCESS)
    return NULL;
  DWORD wanted = 0;
  if (RegQueryValueExA(key, "SMBiosData", NULL, NULL, NULL, &wanted) == ERROR_SUCCESS &&
      (table = take_buffer(wanted)) != NULL) {
    *size = wanted;
    if (RegQueryValueExA(key, "SMBiosData", NULL, NULL, table, size) != ERROR_SUCCESS || *size > wanted) {
      LocalFree(table);
      table = NULL;
    }
  }
  RegCloseKey(key);
  return table;
}

// Reads a text value into text (kFirmwareTextSize bytes) where text is still
// empty; the first string of a multi-string value.
static void fill_text(HKEY key, const char *value_name, char *text) {
  if (text[0] != '\0') return;
  DWORD size = kFirmwareTextSize - 1;
  if (RegQueryValueExA(key, value_name, NULL, NULL, (LPBYTE)text, &size) != ERROR_SUCCESS) size = 0;
  text[size] = '\0';
}

// The BIOS facts that the registry keeps, where the table gave none: NT's
// description of the system, and the PnP BIOS node of Windows 95 to ME.
static void read_bios_values(MachineFacts *machine) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\System", 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
    fill_text(key, "SystemBiosVersion", machine->bios_version);
    fill_text(key, "SystemBiosDate", machine->bios_date);
    RegCloseKey(key);
  }
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Enum\\Root\\*PNP0C01\\0000", 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
    fill_text(key, "BIOSName", machine->bios_vendor);
    fill_text(key, "BIOSVersion", machine->bios_version);
    fill_text(key, "BIOSDate", machine->bios_date);
    RegCloseKey(key);
  }
}

// The processor's name and speed as Windows recorded them at start.
static void read_processor_values(char *name, uint32_t *mhz) {
  HKEY key;
  name[0] = '\0';
  *mhz = 0;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProcessorKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return;
  fill_text(key, "ProcessorNameString", name);
  fill_text(key, "Identifier", name);
  DWORD value = 0;
  DWORD size = sizeof value;
  if (RegQueryValueExA(key, "~MHz", NULL, NULL, (LPBYTE)&value, &size) == ERROR_SUCCESS && size == sizeof value)
    *mhz = value;
  RegCloseKey(key);
}

static uint32_t count_bits(ULONG_PTR mask) {
  uint32_t count = 0;
  for (; mask; mask &= mask - 1) ++count;
  return count;
}

// Packages, cores and logical processors: across every processor group where
// Windows has them (7 on), else within the program's group (XP SP3 on).
static void count_processors(SystemFacts *system) {
  typedef BOOL(WINAPI * ProcessorsExFunction)(LOGICAL_PROCESSOR_RELATIONSHIP, PVOID, PDWORD);
  typedef BOOL(WINAPI * ProcessorsFunction)(PVOID, PDWORD);
  ProcessorsExFunction processors_ex;
  ProcessorsFunction processors;
  look_up(kernel32(), "GetLogicalProcessorInformationEx", &processors_ex);
  look_up(kernel32(), "GetLogicalProcessorInformation", &processors);
  DWORD size = 0;
  if (processors_ex)
    processors_ex(RelationAll, NULL, &size);
  else if (processors)
    processors(NULL, &size);
  BYTE *records = take_buffer(size);
  if (records && processors_ex && processors_ex(RelationAll, records, &size)) {
    for (DWORD at = 0; at + 8 <= size;) {
      const SYSTEM_LOGICAL_PROCESSOR_INFORMATION_EX *record =
          (const SYSTEM_LOGICAL_PROCESSOR_INFORMATION_EX *)(records + at);
      if (record->Size < 8 || record->Size > size - at) break;
      if (record->Relationship == RelationProcessorPackage) ++system->packages;
      if (record->Relationship == RelationProcessorCore) {
        ++system->cores;
        for (WORD group = 0; group < record->Processor.GroupCount; ++group)
          system->logical_processors += count_bits(record->Processor.GroupMask[group].Mask);
      }
      at += record->Size;
    }
  } else if (records && !processors_ex && processors && processors(records, &size)) {
    const SYSTEM_LOGICAL_PROCESSOR_INFORMATION *record = (const SYSTEM_LOGICAL_PROCESSOR_INFORMATION *)records;
    for (DWORD i = 0; i < size / sizeof *record; ++i) {
      if (record[i].Relationship == RelationProcessorPackage) ++system->packages;
      if (record[i].Relationship == RelationProcessorCore) {
        ++system->cores;
        system->logical_processors += count_bits(record[i].ProcessorMask);
      }
    }
  }
  if (records) LocalFree(records);
}

// Installed and usable physical memory in MB.
static void read_memory(SystemFacts *system) {
  typedef BOOL(WINAPI * StatusExFunction)(LPMEMORYSTATUSEX);
  typedef void(WINAPI * StatusFunction)(LPMEMORYSTATUS);
  typedef BOOL(WINAPI * InstalledFunction)(PULONGLONG);
  StatusExFunction status_ex;
  StatusFunction status;
  InstalledFunction installed;
  look_up(kernel32(), "GlobalMemoryStatusEx", &status_ex);
  look_up(kernel32(), "GlobalMemoryStatus", &status);
  look_up(kernel32(), "GetPhysicallyInstalledSystemMemory", &installed);
  MEMORYSTATUSEX wide;
  memset(&wide, 0, sizeof wide);
  wide.dwLength = sizeof wide;
  MEMORYSTATUS narrow;
  memset(&narrow, 0, sizeof narrow);
  narrow.dwLength = sizeof narrow;
  if (status_ex && status_ex(&wide))
    system->usable_mb = wide.ullTotalPhys >> 20;
  else if (status) {
    status(&narrow);
    system->usable_mb = narrow.dwTotalPhys >> 20;
  }
  ULONGLONG kilobytes = 0;
  if (installed && installed(&kilobytes)) system->installed_mb = kilobytes >> 10;
}

int report_hardware(void) {
  print_heading(kTitleHardware);
  MachineFacts machine;
  memset(&machine, 0, sizeof machine);
  DWORD size = 0;
  BYTE *raw = read_smbios(&size);
  SmbiosTable table;
  bool have_table = raw && open_smbios(raw, size, &table) == 0;
  if (have_table) read_machine_facts(&table, &machine);
  read_bios_values(&machine);

  SystemFacts system;
  memset(&system, 0, sizeof system);
  char processor_name[kFirmwareTextSize];
  read_processor_values(processor_name, &system.processor_mhz);
  system.processor_name = processor_name;
  system.architecture = native_architecture();
  count_processors(&system);
  typedef DWORD(WINAPI * ActiveCountFunction)(WORD);
  ActiveCountFunction active_count;
  look_up(kernel32(), "GetActiveProcessorCount", &active_count);
  SYSTEM_INFO info;
  read_system_info(&info);
  // ALL_PROCESSOR_GROUPS: every group's processors (7 on).
  if (active_count) system.logical_processors = active_count(0xFFFF);
  if (system.logical_processors == 0) system.logical_processors = info.dwNumberOfProcessors;
  read_memory(&system);

  // GetPhysicallyInstalledSystemMemory is missing before Vista SP1 (XP, Server 2003): the modules tell there.
  uint64_t modules_kb = 0;
  int counted = have_table ? add_up_memory_modules(&table, &modules_kb) : 0;
  system.installed_mb = installed_memory_mb(system.installed_mb, counted, modules_kb);

  char head[kHardwareHeadSize];
  format_hardware_head(head, &machine, &system);
  printf("%s", head);
  char line[kModuleLineSize];
  ModuleFacts module;
  size_t offset = 0;
  int modules = 0;
  for (; have_table && next_memory_module(&table, &offset, &module); ++modules) {
    format_module_line(line, &module);
    printf("%s", line);
  }
  if (modules == 0) {
    format_module_line(line, NULL);
    printf("%s", line);
  }
  if (raw) LocalFree(raw);
  return 0;
}
