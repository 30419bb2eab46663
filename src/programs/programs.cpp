#include "programs/programs.h"

#include "programs/programs_text.h"
#include "report/binding.h"
#include "report/report.h"
#include "report/words.h"

// A user's hive's key, after its name; HKLM's without the first backslash.
static constexpr const char *kUserUninstallPath = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
static constexpr const char *kPackagesPath =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based Servicing\\Packages";
static constexpr const char *kHotfixPath = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix";
static constexpr const char *kCurrentVersionPath = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
// Registry key names have at most 255 characters.
static const DWORD kKeyNameSize = 256;
// Far beyond any machine: the walk stops there, and the collection's memory too.
static const DWORD kMaxSubkeys = 1000000;
static const DWORD kMaxPoolBytes = 256u << 20;
// A text value longer than this is not read at all: a fault, not a name.
static const DWORD kMaxValueBytes = 16u << 20;

typedef LONG(WINAPI *EnumKeyFunction)(HKEY, DWORD, LPSTR, LPDWORD, LPDWORD, LPSTR, LPDWORD, PFILETIME);
typedef HLOCAL(WINAPI *ReAllocFunction)(HLOCAL, SIZE_T, UINT);
typedef BOOL(WINAPI *StringToSidFunction)(LPCSTR, PSID *);
typedef BOOL(WINAPI *LookUpSidFunction)(LPCSTR, PSID, LPSTR, LPDWORD, LPSTR, LPDWORD, PSID_NAME_USE);
typedef BOOL(WINAPI *LocalTimeFunction)(const FILETIME *, LPFILETIME);

// The export name of dll, one the program loads with; NULL where it has none.
static void (*bound(const char *dll, const char *name))(void) {
  void (*function)(void);
  look_up(GetModuleHandleA(dll), name, &function);
  return function;
}

// What the section gathers before it prints: the programs' lines and the
// updates' names in one pool of text, and one entry each.
static EnumKeyFunction enum_key;
static ReAllocFunction re_alloc;
static StringToSidFunction string_to_sid;
static LookUpSidFunction look_up_sid;
static LocalTimeFunction to_local;
static char *pool;
static DWORD pool_used;
static DWORD pool_size;
static ListEntry *entries;
static DWORD entry_count;
static DWORD entry_bytes;

// Makes room for need more bytes in *block (of *size), doubling it; 0 where
// the bound or the memory runs out.
static int make_room(void **block, DWORD *size, DWORD used, DWORD need) {
  if (used + need <= *size) return 1;
  DWORD wanted = *size ? *size : 65536;
  while (wanted < used + need && wanted <= kMaxPoolBytes) wanted *= 2;
  if (wanted > kMaxPoolBytes) return 0;
  void *grown = *block ? re_alloc(*block, wanted, LMEM_MOVEABLE) : LocalAlloc(LMEM_FIXED, wanted);
  if (!grown) return 0;
  *block = grown;
  *size = wanted;
  return 1;
}

// Keeps a program's line or an update's name (text) and its entry.
static void keep(const char *text, uint32_t kb, const char *installed, unsigned source) {
  DWORD length = (DWORD)strlen(text) + 1;
  if (!make_room((void **)&entries, &entry_bytes, entry_count * sizeof(ListEntry), sizeof(ListEntry)) ||
      !make_room((void **)&pool, &pool_size, pool_used, length))
    return;
  ListEntry *entry = &entries[entry_count++];
  entry->text = pool_used;
  entry->kb = kb;
  strcpy(entry->installed, installed);
  entry->source = (unsigned char)source;
  strcpy(pool + pool_used, text);
  pool_used += length;
}

// Reads the text value name of key into text (kValueTextSize bytes), cleaned
// and cut there; "" where it is missing or not text. A longer value is read
// whole into a buffer of its own, then cut.
static void read_text(HKEY key, const char *name, char *text) {
  char data[kValueTextSize];
  char *buffer = data;
  DWORD type = 0;
  DWORD size = sizeof data - 1;
  LONG status = RegQueryValueExA(key, name, NULL, &type, (LPBYTE)data, &size);
  if (status == ERROR_MORE_DATA && size < kMaxValueBytes && (buffer = (char *)LocalAlloc(LMEM_FIXED, size + 1)))
    status = RegQueryValueExA(key, name, NULL, &type, (LPBYTE)buffer, &size);
  text[0] = '\0';
  if (status == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) {
    buffer[size] = '\0';
    clean_text(text, kValueTextSize, buffer);
  }
  if (buffer && buffer != data) LocalFree(buffer);
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

typedef void (*EntryFunction)(HKEY entry, const char *key_name, const void *context);

// Calls visit for every subkey of root\path that is wanted (every one where
// wanted is NULL) and opens with access, by index, passing over one that
// vanished or is refused.
static void walk_subkeys(HKEY root, const char *path, REGSAM access, EntryFunction visit, const void *context,
                         int (*wanted)(const char *) = NULL) {
  HKEY key;
  if (!enum_key || RegOpenKeyExA(root, path, 0, access, &key) != ERROR_SUCCESS) return;
  for (DWORD index = 0; index < kMaxSubkeys; ++index) {
    char name[kKeyNameSize];
    DWORD length = kKeyNameSize;
    LONG status = enum_key(key, index, name, &length, NULL, NULL, NULL, NULL);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS) break;
    name[length < kKeyNameSize ? length : kKeyNameSize - 1] = '\0';
    HKEY entry;
    if ((wanted && !wanted(name)) || RegOpenKeyExA(key, name, 0, access, &entry) != ERROR_SUCCESS) continue;
    visit(entry, name, context);
    RegCloseKey(entry);
  }
  RegCloseKey(key);
}

// The bits and scope of the programs of one Uninstall key.
struct UninstallPlace {
  const char *bits;
  const char *scope;
};

static void visit_uninstall(HKEY entry, const char *key_name, const void *context) {
  const UninstallPlace *place = (const UninstallPlace *)context;
  char name[kValueTextSize];
  char text[kValueTextSize];
  char installed[kValueTextSize];
  BOOL present;
  read_text(entry, "DisplayName", name);
  // Without a name an entry is hidden whatever else it holds: one value read
  // instead of eight (each a server round trip under Wine).
  if (entry_kind(name, 0, 0, NULL) == kEntryHidden) return;
  read_text(entry, "ReleaseType", text);
  EntryKind kind =
      entry_kind(name, read_dword(entry, "SystemComponent", &present), has_value(entry, "ParentKeyName"), text);
  read_text(entry, "InstallDate", text);
  install_date_text(text, installed);
  if (kind == kEntryUpdate) {
    uint32_t kb = kb_number(key_name, 0);
    keep(name, kb ? kb : kb_number(name, 0), installed, kFromUninstall);
  } else if (kind == kEntryProgram) {
    char version[kValueTextSize];
    char line[6 * kValueTextSize];
    read_text(entry, "DisplayVersion", version);
    read_text(entry, "Publisher", text);
    format_program_line(line, name, version, text, installed, place->bits, place->scope);
    keep(line, 0, "", kProgramLine);
  }
}

static void visit_package(HKEY entry, const char *key_name, const void *) {
  BOOL present;
  BOOL high;
  BOOL low;
  if (!cbs_package_installed(key_name, read_dword(entry, "CurrentState", &present))) return;
  char name[kValueTextSize];
  char installed[11] = "";
  FILETIME utc;
  FILETIME local;
  utc.dwHighDateTime = read_dword(entry, "InstallTimeHigh", &high);
  utc.dwLowDateTime = read_dword(entry, "InstallTimeLow", &low);
  if (high && low && to_local && to_local(&utc, &local))
    filetime_date_text((uint64_t)local.dwHighDateTime << 32 | local.dwLowDateTime, installed);
  uint32_t kb = kb_number(key_name, 0);
  // A rollup's name carries no KB number; the file it came from may.
  if (!kb) {
    read_text(entry, "InstallLocation", name);
    kb = kb_number(name, 0);
  }
  cbs_update_name(key_name, name);
  keep(name, kb, installed, kFromCbs);
}

static void visit_hotfix(HKEY entry, const char *key_name, const void *) {
  BOOL present;
  char name[kValueTextSize];
  // A DWORD on 2000 to 2003; NT 4.0's text.
  read_text(entry, "Installed", name);
  if (read_dword(entry, "Installed", &present) != 1 && (name[0] != '1' || name[1])) return;
  read_text(entry, "Description", name);
  if (!name[0]) read_text(entry, "Fix Description", name);
  if (!name[0]) clean_text(name, kValueTextSize, key_name);
  keep(name, kb_number(key_name, 1), "", kFromHotfix);
}

// How the programs of the users' hives are read: their bits (kUnknown on
// 64-bit Windows, where HKEY_USERS keeps one view for programs of both), and
// the view flag of the native view.
struct UserPlace {
  const char *bits;
  REGSAM view;
};

static void visit_user(HKEY, const char *key_name, const void *context) {
  const UserPlace *user = (const UserPlace *)context;
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
  char path[kKeyNameSize + 64];
  sprintf(path, "%s%s", key_name, kUserUninstallPath);
  const UninstallPlace place = {user->bits, scope};
  walk_subkeys(HKEY_USERS, path, KEY_READ | user->view, visit_uninstall, &place);
}

// Entries alike in every field compared keep the order they were found in:
// the sort is not stable by itself.
static int compare_entry(const void *, uint32_t a, uint32_t b) {
  int order = compare_entries(&entries[a], &entries[b], pool);
  return order ? order : (int)a - (int)b;
}

// The sorted updates from order[at] on that make one line: every entry of one
// KB, or of one name and source where the KB is unknown. Sets *best to the
// entry to print (the first of the best source) and *date to its install
// date, else the first among them; returns where the next line starts.
static DWORD update_line(const uint32_t *order, DWORD at, const ListEntry **best, const char **date) {
  const ListEntry *first = &entries[order[at]];
  *best = first;
  *date = first->installed;
  DWORD next = at + 1;
  for (; next < entry_count; ++next) {
    const ListEntry *entry = &entries[order[next]];
    if (entry->kb != first->kb) break;
    if (!first->kb && (entry->source != first->source || compare_program_lines(pool + entry->text, pool + first->text)))
      break;
    if (entry->source < (*best)->source) *best = entry;
    if (!**date) *date = entry->installed;
  }
  if ((*best)->installed[0]) *date = (*best)->installed;
  return next;
}

static void print_fact(const char *label, const char *value) {
  char line[kValueTextSize + 64];
  format_fact_line(line, label, value);
  printf("%s", line);
}

static void print_block_title(const char *title) {
  char text[64];
  format_block_title(text, title);
  printf("%s", text);
}

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
    // CurrentBuild before Vista reads "1.511.1 () (Obsolete data - do not use)".
    read_text(key, "CurrentBuildNumber", build);
    if (!build[0]) read_text(key, "CurrentBuild", build);
    revision = read_dword(key, "UBR", &has_revision);
    read_text(key, "CSDVersion", pack);
    RegCloseKey(key);
  }
  if (!build[0]) sprintf(build, "%u", (unsigned)(version->dwBuildNumber & 0xFFFF));
  if (has_revision) sprintf(build + strlen(build), ".%u", (unsigned)revision);
  if (!pack[0] && version->dwPlatformId == VER_PLATFORM_WIN32_NT)
    clean_text(pack, kValueTextSize, version->szCSDVersion);
  print_fact(kProgDisplayVersion, display);
  print_fact(kProgBuild, build);
  print_fact(kProgServicePack, pack[0] ? pack : kNone);
}

// Whether this Windows keeps a 32-bit and a 64-bit view of HKLM\Software:
// a 64-bit one's, whichever of the two programs asks.
static BOOL has_two_views(void) {
  unsigned machine = native_architecture();
  return machine == PROCESSOR_ARCHITECTURE_AMD64 || machine == PROCESSOR_ARCHITECTURE_IA64 ||
         machine == PROCESSOR_ARCHITECTURE_ARM64;
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

  enum_key = (EnumKeyFunction)bound(kAdvapi32Dll, "RegEnumKeyExA");
  re_alloc = (ReAllocFunction)bound(kKernel32Dll, "LocalReAlloc");
  string_to_sid = (StringToSidFunction)bound(kAdvapi32Dll, "ConvertStringSidToSidA");
  look_up_sid = (LookUpSidFunction)bound(kAdvapi32Dll, "LookupAccountSidA");
  to_local = (LocalTimeFunction)bound(kKernel32Dll, "FileTimeToLocalFileTime");
  const UninstallPlace machine = {two_views ? kBits64 : kBits32, kScopeMachine};
  walk_subkeys(HKEY_LOCAL_MACHINE, kUserUninstallPath + 1, KEY_READ | native, visit_uninstall, &machine);
  if (two_views) {
    const UninstallPlace wow = {kBits32, kScopeMachine};
    walk_subkeys(HKEY_LOCAL_MACHINE, kUserUninstallPath + 1, KEY_READ | KEY_WOW64_32KEY, visit_uninstall, &wow);
  }
  if (nt) {
    const UserPlace user = {two_views ? kUnknown : kBits32, native};
    walk_subkeys(HKEY_USERS, "", KEY_READ, visit_user, &user, user_hive_listed);
  }
  if (nt && version.dwMajorVersion >= 6) {
    walk_subkeys(HKEY_LOCAL_MACHINE, kPackagesPath, KEY_READ | native, visit_package, NULL, cbs_update_package);
  } else if (nt) {
    walk_subkeys(HKEY_LOCAL_MACHINE, kHotfixPath, KEY_READ | native, visit_hotfix, NULL);
  }

  // Programs first, then updates; nothing to print where there is no memory
  // for their order.
  uint32_t *order = entry_count ? (uint32_t *)LocalAlloc(LMEM_FIXED, entry_count * sizeof(uint32_t)) : NULL;
  if (!order) entry_count = 0;
  DWORD programs = 0;
  for (DWORD k = 0; k < entry_count; ++k) {
    order[k] = k;
    programs += entries[k].source == kProgramLine;
  }
  sort_order(order, entry_count, compare_entry, NULL);
  DWORD lines = 0;
  const char *latest = "";
  const ListEntry *best;
  const char *date;
  for (DWORD at = programs; at < entry_count; ++lines) {
    at = update_line(order, at, &best, &date);
    if (compare_program_lines(date, latest) > 0) latest = date;
  }

  print_block_title(kBlockWindows);
  print_windows_detail(&version, native);
  printf("%-*s: %u\n%-*s: %u\n", kLabelWidth, kProgPrograms, (unsigned)programs, kLabelWidth, kProgUpdates,
         (unsigned)lines);
  print_fact(kProgLatestUpdate, lines ? latest : kNone);
  printf("\n");
  print_block_title(kBlockPrograms);
  printf("%s\n", kProgramsHeader);
  for (DWORD k = 0; k < programs; ++k) printf("%s\n", pool + entries[order[k]].text);
  printf("\n");
  print_block_title(kBlockUpdates);
  printf("%s\n", kUpdatesHeader);
  for (DWORD at = programs; at < entry_count;) {
    static const char *const kSources[] = {kSourceCbs, kSourceUninstall, kSourceHotfix};
    char line[kValueTextSize + 40];
    at = update_line(order, at, &best, &date);
    format_update_line(line, best->kb, date, kSources[best->source], pool + best->text);
    printf("%s\n", line);
  }

  if (order) LocalFree(order);
  if (pool) LocalFree(pool);
  if (entries) LocalFree(entries);
  pool = NULL;
  entries = NULL;
  pool_used = pool_size = entry_count = entry_bytes = 0;
  return 0;
}
