#include "programs/programs.h"

#include "programs/programs_text.h"
#include "report/binding.h"
#include "report/report.h"
#include "report/words.h"

static const char kUninstallPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
static const char kUserUninstallPath[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
static const char kPackagesPath[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based Servicing\\Packages";
static const char kHotfixPath[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix";
static const char kCurrentVersionPath[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
// Registry key names have at most 255 characters.
static const DWORD kKeyNameSize = 256;
// Far beyond any machine: the walk stops there, and the collection's memory too.
static const DWORD kMaxSubkeys = 1000000;
static const DWORD kMaxPoolBytes = 256u << 20;
// A text value longer than this is not read at all: a fault, not a name.
static const DWORD kMaxValueBytes = 16u << 20;

typedef LONG(WINAPI *EnumKeyFunction)(HKEY, DWORD, LPSTR, LPDWORD, LPDWORD, LPSTR, LPDWORD, PFILETIME);
typedef HLOCAL(WINAPI *ReAllocFunction)(HLOCAL, SIZE_T, UINT);

// What the section gathers before it prints: the Programs lines and the
// update names in one pool of text, the lines' offsets, the update records.
struct Collection {
  EnumKeyFunction enum_key;
  ReAllocFunction re_alloc;
  char *pool;
  DWORD pool_used;
  DWORD pool_size;
  uint32_t *programs;
  DWORD program_count;
  DWORD program_capacity;
  UpdateRecord *updates;
  DWORD update_count;
  DWORD update_capacity;
};

// Makes room for need more bytes in *block (of *size), doubling it; 0 where
// the bound or the memory runs out.
static int make_room(Collection *c, void **block, DWORD *size, DWORD used, DWORD need) {
  if (used + need <= *size) return 1;
  DWORD wanted = *size ? *size : 65536;
  while (wanted < used + need && wanted <= kMaxPoolBytes) wanted *= 2;
  if (wanted > kMaxPoolBytes) return 0;
  void *grown = *block ? c->re_alloc(*block, wanted, LMEM_MOVEABLE) : LocalAlloc(LMEM_FIXED, wanted);
  if (!grown) return 0;
  *block = grown;
  *size = wanted;
  return 1;
}

// Copies text into the pool; its offset, or -1 where there is no room.
static LONG keep_text(Collection *c, const char *text) {
  DWORD length = (DWORD)strlen(text) + 1;
  if (!make_room(c, (void **)&c->pool, &c->pool_size, c->pool_used, length)) return -1;
  LONG offset = (LONG)c->pool_used;
  strcpy(c->pool + offset, text);
  c->pool_used += length;
  return offset;
}

static void keep_program(Collection *c, const char *line) {
  DWORD bytes = c->program_capacity * sizeof(uint32_t);
  if (!make_room(c, (void **)&c->programs, &bytes, c->program_count * sizeof(uint32_t), sizeof(uint32_t))) return;
  c->program_capacity = bytes / sizeof(uint32_t);
  LONG offset = keep_text(c, line);
  if (offset >= 0) c->programs[c->program_count++] = (uint32_t)offset;
}

static void keep_update(Collection *c, uint32_t kb, const char *installed, unsigned source, const char *name) {
  DWORD bytes = c->update_capacity * sizeof(UpdateRecord);
  if (!make_room(c, (void **)&c->updates, &bytes, c->update_count * sizeof(UpdateRecord), sizeof(UpdateRecord))) return;
  c->update_capacity = bytes / sizeof(UpdateRecord);
  LONG offset = keep_text(c, name);
  if (offset < 0) return;
  UpdateRecord *record = &c->updates[c->update_count++];
  record->kb = kb;
  record->name = (uint32_t)offset;
  strcpy(record->installed, installed);
  record->source = (unsigned char)source;
}

// Reads the text value name of key into text (kValueTextSize bytes), cleaned
// and cut there; "" where it is missing or not text. A longer value is read
// whole into a buffer of its own, then cut.
static void read_text(HKEY key, const char *name, char *text) {
  char data[kValueTextSize];
  DWORD type = 0;
  DWORD size = sizeof data - 1;
  LONG status = RegQueryValueExA(key, name, NULL, &type, (LPBYTE)data, &size);
  text[0] = '\0';
  if (type != REG_SZ && type != REG_EXPAND_SZ) return;
  if (status == ERROR_SUCCESS) {
    data[size < sizeof data ? size : sizeof data - 1] = '\0';
    clean_text(data, text);
  } else if (status == ERROR_MORE_DATA && size < kMaxValueBytes) {
    char *whole = (char *)LocalAlloc(LMEM_FIXED, size + 1);
    DWORD whole_size = size;
    if (whole && RegQueryValueExA(key, name, NULL, &type, (LPBYTE)whole, &whole_size) == ERROR_SUCCESS &&
        whole_size <= size && (type == REG_SZ || type == REG_EXPAND_SZ)) {
      whole[whole_size] = '\0';
      clean_text(whole, text);
    }
    if (whole) LocalFree(whole);
  }
}

// The DWORD value name of key; 0 where it is missing or of another type.
static DWORD read_dword(HKEY key, const char *name, BOOL *present) {
  DWORD value = 0;
  DWORD type = 0;
  DWORD size = sizeof value;
  *present = RegQueryValueExA(key, name, NULL, &type, (LPBYTE)&value, &size) == ERROR_SUCCESS && type == REG_DWORD &&
             size == sizeof value;
  return *present ? value : 0;
}

static int has_value(HKEY key, const char *name) { return RegQueryValueExA(key, name, NULL, NULL, NULL, NULL) == 0; }

typedef void (*EntryFunction)(Collection *c, HKEY entry, const char *key_name, const void *context);

// Calls visit for every subkey of root\path that opens with access, by index,
// passing over one that vanished or is refused.
static void walk_subkeys(Collection *c, HKEY root, const char *path, REGSAM access, EntryFunction visit,
                         const void *context) {
  HKEY key;
  if (!c->enum_key || RegOpenKeyExA(root, path, 0, access, &key) != ERROR_SUCCESS) return;
  for (DWORD index = 0; index < kMaxSubkeys; ++index) {
    char name[kKeyNameSize];
    DWORD length = kKeyNameSize;
    LONG status = c->enum_key(key, index, name, &length, NULL, NULL, NULL, NULL);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS) break;
    name[length < kKeyNameSize ? length : kKeyNameSize - 1] = '\0';
    HKEY entry;
    if (RegOpenKeyExA(key, name, 0, access, &entry) != ERROR_SUCCESS) continue;
    visit(c, entry, name, context);
    RegCloseKey(entry);
  }
  RegCloseKey(key);
}

// The bits and scope of the programs of one Uninstall key.
struct UninstallPlace {
  const char *bits;
  const char *scope;
};

static void visit_uninstall(Collection *c, HKEY entry, const char *key_name, const void *context) {
  const UninstallPlace *place = (const UninstallPlace *)context;
  char name[kValueTextSize];
  char release_type[kValueTextSize];
  char text[kValueTextSize];
  char installed[kValueTextSize];
  BOOL present;
  read_text(entry, "DisplayName", name);
  read_text(entry, "ReleaseType", release_type);
  read_text(entry, "InstallDate", text);
  install_date_text(text, installed);
  EntryKind kind =
      entry_kind(name, read_dword(entry, "SystemComponent", &present), has_value(entry, "ParentKeyName"), release_type);
  if (kind == kEntryUpdate) {
    uint32_t kb = kb_number(key_name, 0);
    keep_update(c, kb ? kb : kb_number(name, 0), installed, 1, name);
  } else if (kind == kEntryProgram) {
    char version[kValueTextSize];
    char line[6 * kValueTextSize];
    read_text(entry, "DisplayVersion", version);
    read_text(entry, "Publisher", text);
    format_program_line(line, name, version, text, installed, place->bits, place->scope);
    keep_program(c, line);
  }
}

static void visit_package(Collection *c, HKEY entry, const char *key_name, const void *context) {
  typedef BOOL(WINAPI * LocalTimeFunction)(const FILETIME *, LPFILETIME);
  const LocalTimeFunction to_local = (LocalTimeFunction)context;
  BOOL present;
  if (!cbs_package_installed(key_name, read_dword(entry, "CurrentState", &present))) return;
  char name[kValueTextSize];
  char installed[11] = "";
  FILETIME utc;
  FILETIME local;
  utc.dwHighDateTime = read_dword(entry, "InstallTimeHigh", &present);
  utc.dwLowDateTime = read_dword(entry, "InstallTimeLow", &present);
  if (to_local && to_local(&utc, &local))
    filetime_date_text((uint64_t)local.dwHighDateTime << 32 | local.dwLowDateTime, installed);
  uint32_t kb = kb_number(key_name, 0);
  // A rollup's name carries no KB number; the file it came from may.
  read_text(entry, "InstallLocation", name);
  if (!kb) kb = kb_number(name, 0);
  cbs_update_name(key_name, name);
  keep_update(c, kb, installed, 0, name);
}

static void visit_hotfix(Collection *c, HKEY entry, const char *key_name, const void *) {
  BOOL present;
  if (read_dword(entry, "Installed", &present) != 1) return;
  char name[kValueTextSize];
  read_text(entry, "Description", name);
  if (!name[0]) read_text(entry, "Fix Description", name);
  if (!name[0]) clean_text(key_name, name);
  keep_update(c, kb_number(key_name, 1), "", 2, name);
}

// How the programs of the users' hives are read: their bits (kUnknown on
// 64-bit Windows, where HKEY_USERS keeps one view for programs of both), and
// the view flag of the native view.
struct UserPlace {
  const char *bits;
  REGSAM view;
};

static void visit_user(Collection *c, HKEY, const char *key_name, const void *context) {
  typedef BOOL(WINAPI * StringToSidFunction)(LPCSTR, PSID *);
  typedef BOOL(WINAPI * LookUpSidFunction)(LPCSTR, PSID, LPSTR, LPDWORD, LPSTR, LPDWORD, PSID_NAME_USE);
  const UserPlace *user = (const UserPlace *)context;
  if (!user_hive_listed(key_name)) return;
  HMODULE advapi32 = GetModuleHandleA("advapi32.dll");
  StringToSidFunction string_to_sid;
  LookUpSidFunction look_up_sid;
  look_up(advapi32, "ConvertStringSidToSidA", &string_to_sid);
  look_up(advapi32, "LookupAccountSidA", &look_up_sid);
  char account[kKeyNameSize] = "";
  char domain[kKeyNameSize] = "";
  PSID sid = NULL;
  if (string_to_sid && look_up_sid && string_to_sid(key_name, &sid)) {
    DWORD account_size = kKeyNameSize;
    DWORD domain_size = kKeyNameSize;
    SID_NAME_USE use;
    if (!look_up_sid(NULL, sid, account, &account_size, domain, &domain_size, &use)) account[0] = '\0';
    account[kKeyNameSize - 1] = domain[kKeyNameSize - 1] = '\0';
  }
  if (sid) LocalFree(sid);
  char scope[kValueTextSize];
  scope_text(domain, account, key_name, scope);
  char path[kKeyNameSize + sizeof kUserUninstallPath];
  strcpy(path, key_name);
  strcpy(path + strlen(path), kUserUninstallPath);
  const UninstallPlace place = {user->bits, scope};
  walk_subkeys(c, HKEY_USERS, path, KEY_READ | user->view, visit_uninstall, &place);
}

static int compare_program(const void *pool, uint32_t a, uint32_t b) {
  return compare_program_lines((const char *)pool + a, (const char *)pool + b);
}

static int compare_update(const void *context, uint32_t a, uint32_t b) {
  const Collection *c = (const Collection *)context;
  return compare_updates(&c->updates[a], &c->updates[b], c->pool);
}

// Sorts order[0..count) through a scratch array; leaves it as it is where
// there is no memory for one.
static void sort_list(uint32_t *order, DWORD count, int (*compare)(const void *, uint32_t, uint32_t),
                      const void *context) {
  uint32_t *scratch = count > 1 ? (uint32_t *)LocalAlloc(LMEM_FIXED, count * sizeof(uint32_t)) : NULL;
  if (!scratch) return;
  sort_order(order, scratch, count, compare, context);
  LocalFree(scratch);
}

// The sorted updates from order[at] on that make one line: every record of
// one KB, or of one name and source where the KB is unknown. Sets *best to
// the record to print (the first of the best source) and date to the first
// install date among them; returns where the next line's records start.
static DWORD update_line(const Collection *c, const uint32_t *order, DWORD count, DWORD at, const UpdateRecord **best,
                         const char **date) {
  const UpdateRecord *first = &c->updates[order[at]];
  *best = first;
  *date = first->installed;
  DWORD next = at + 1;
  for (; next < count; ++next) {
    const UpdateRecord *record = &c->updates[order[next]];
    if (record->kb != first->kb) break;
    if (!first->kb &&
        (record->source != first->source || compare_program_lines(c->pool + record->name, c->pool + first->name)))
      break;
    if (record->source < (*best)->source) *best = record;
    if (!**date) *date = record->installed;
  }
  if ((*best)->installed[0]) *date = (*best)->installed;
  return next;
}

static void print_fact(const char *label, const char *value) {
  printf("%-*s: %s\n", kLabelWidth, label, value && *value ? value : kUnknown);
}

static void print_block_title(const char *title) { printf("%s\n%.*s\n\n", title, (int)strlen(title), "----------"); }

// The Windows block's first three lines: the native view of CurrentVersion,
// else the version query.
static void print_windows_detail(const OSVERSIONINFOA *version, REGSAM view) {
  char display[kValueTextSize] = "";
  char build[kValueTextSize + 16] = "";
  char pack[kValueTextSize] = "";
  HKEY key;
  BOOL has_revision = FALSE;
  DWORD revision = 0;
  if (version->dwPlatformId == VER_PLATFORM_WIN32_NT &&
      RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCurrentVersionPath, 0, KEY_QUERY_VALUE | view, &key) == ERROR_SUCCESS) {
    if (version->dwMajorVersion >= 10) {
      read_text(key, "DisplayVersion", display);
      if (!display[0]) read_text(key, "ReleaseId", display);
    }
    read_text(key, "CurrentBuild", build);
    if (!build[0]) read_text(key, "CurrentBuildNumber", build);
    revision = read_dword(key, "UBR", &has_revision);
    read_text(key, "CSDVersion", pack);
    RegCloseKey(key);
  }
  if (!build[0]) sprintf(build, "%u", (unsigned)(version->dwBuildNumber & 0xFFFF));
  if (has_revision) sprintf(build + strlen(build), ".%u", (unsigned)revision);
  if (!pack[0] && version->dwPlatformId == VER_PLATFORM_WIN32_NT) clean_text(version->szCSDVersion, pack);
  print_fact(kProgDisplayVersion, display);
  print_fact(kProgBuild, build);
  print_fact(kProgServicePack, pack[0] ? pack : kNone);
}

// GetCurrentProcess's answer, which needs no import.
static const HANDLE kCurrentProcess = (HANDLE)(LONG_PTR)-1;

// Whether this Windows keeps a 32-bit and a 64-bit view of HKLM\Software.
static BOOL has_two_views(void) {
#ifdef _WIN64
  return TRUE;
#else
  typedef BOOL(WINAPI * IsWow64ProcessFunction)(HANDLE, PBOOL);
  IsWow64ProcessFunction is_wow64_process;
  look_up(GetModuleHandleA("kernel32.dll"), "IsWow64Process", &is_wow64_process);
  BOOL wow64 = FALSE;
  return is_wow64_process && is_wow64_process(kCurrentProcess, &wow64) && wow64;
#endif
}

int report_programs(void) {
  print_heading(kTitlePrograms);
  OSVERSIONINFOA version;
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExA(&version)) version.dwPlatformId = version.dwMajorVersion = version.dwBuildNumber = 0;
  version.szCSDVersion[sizeof version.szCSDVersion - 1] = '\0';
  BOOL nt = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
  BOOL two_views = has_two_views();
  // Windows 2000 and older know no view flag.
  REGSAM native = two_views ? KEY_WOW64_64KEY : 0;

  Collection c = {};
  look_up(GetModuleHandleA("advapi32.dll"), "RegEnumKeyExA", &c.enum_key);
  look_up(GetModuleHandleA("kernel32.dll"), "LocalReAlloc", &c.re_alloc);
  const UninstallPlace machine = {two_views ? kBits64 : kBits32, kScopeMachine};
  walk_subkeys(&c, HKEY_LOCAL_MACHINE, kUninstallPath, KEY_READ | native, visit_uninstall, &machine);
  if (two_views) {
    const UninstallPlace wow = {kBits32, kScopeMachine};
    walk_subkeys(&c, HKEY_LOCAL_MACHINE, kUninstallPath, KEY_READ | KEY_WOW64_32KEY, visit_uninstall, &wow);
  }
  if (nt) {
    const UserPlace user = {two_views ? kUnknown : kBits32, native};
    walk_subkeys(&c, HKEY_USERS, "", KEY_READ, visit_user, &user);
  }
  if (nt && version.dwMajorVersion >= 6) {
    typedef BOOL(WINAPI * LocalTimeFunction)(const FILETIME *, LPFILETIME);
    LocalTimeFunction to_local;
    look_up(GetModuleHandleA("kernel32.dll"), "FileTimeToLocalFileTime", &to_local);
    walk_subkeys(&c, HKEY_LOCAL_MACHINE, kPackagesPath, KEY_READ | native, visit_package, (const void *)to_local);
  } else if (nt) {
    walk_subkeys(&c, HKEY_LOCAL_MACHINE, kHotfixPath, KEY_READ | native, visit_hotfix, NULL);
  }

  sort_list(c.programs, c.program_count, compare_program, c.pool);
  uint32_t *order = c.update_count ? (uint32_t *)LocalAlloc(LMEM_FIXED, c.update_count * sizeof(uint32_t)) : NULL;
  DWORD updates = order ? c.update_count : 0;
  for (DWORD k = 0; k < updates; ++k) order[k] = k;
  sort_list(order, updates, compare_update, &c);
  DWORD lines = 0;
  const char *latest = "";
  const UpdateRecord *best;
  const char *date;
  for (DWORD at = 0; at < updates; ++lines) {
    at = update_line(&c, order, updates, at, &best, &date);
    if (compare_program_lines(date, latest) > 0) latest = date;
  }

  print_block_title(kBlockWindows);
  print_windows_detail(&version, native);
  printf("%-*s: %u\n%-*s: %u\n", kLabelWidth, kProgPrograms, (unsigned)c.program_count, kLabelWidth, kProgUpdates,
         (unsigned)lines);
  print_fact(kProgLatestUpdate, lines ? latest : kNone);
  printf("\n");
  print_block_title(kBlockPrograms);
  printf("%s\n", kProgramsHeader);
  for (DWORD k = 0; k < c.program_count; ++k) printf("%s\n", c.pool + c.programs[k]);
  printf("\n");
  print_block_title(kBlockUpdates);
  printf("%s\n", kUpdatesHeader);
  for (DWORD at = 0; at < updates;) {
    static const char *const kSources[] = {kSourceCbs, kSourceUninstall, kSourceHotfix};
    char line[kValueTextSize + 40];
    at = update_line(&c, order, updates, at, &best, &date);
    format_update_line(line, best->kb, date, kSources[best->source], c.pool + best->name);
    printf("%s\n", line);
  }

  if (order) LocalFree(order);
  if (c.pool) LocalFree(c.pool);
  if (c.programs) LocalFree(c.programs);
  if (c.updates) LocalFree(c.updates);
  return 0;
}
