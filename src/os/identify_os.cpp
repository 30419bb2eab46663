#include "os/os.h"
#include "report/binding.h"
#include "report/report.h"
#include "report/words.h"

OsInfo os_info;

// Registry texts are read through a buffer of this size.
static const DWORD kRegTextBytes = 256;

static const char kCurrentVersionKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
static const char kProductOptionsKey[] = "SYSTEM\\CurrentControlSet\\Control\\ProductOptions";
static const char kHotfixQ246009Key[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix\\Q246009";

// How the version keys are opened. Under WOW64 a 32-bit program would see the
// copy of the Software keys that 64-bit Windows keeps for old programs, which
// can lack or lag values: it asks for the native ones. Windows 2000 and older
// know no such flag.
static REGSAM version_key_access = KEY_QUERY_VALUE;

// GetCurrentProcess's answer, which needs no import.
static const HANDLE kCurrentProcess = (HANDLE)(LONG_PTR)-1;

static REGSAM choose_version_key_access(void) {
  typedef BOOL(WINAPI * IsWow64ProcessFunction)(HANDLE, PBOOL);
  IsWow64ProcessFunction is_wow64_process;
  look_up(GetModuleHandleA(kKernel32Dll), "IsWow64Process", &is_wow64_process);
  BOOL wow64 = FALSE;
  if (is_wow64_process && is_wow64_process(kCurrentProcess, &wow64) && wow64) return KEY_QUERY_VALUE | KEY_WOW64_64KEY;
  return KEY_QUERY_VALUE;
}

static LONG open_version_key(const char *path, HKEY *key) {
  return RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, version_key_access, key);
}

// Reads value_name of key as text into text; "" and FALSE when the value is
// missing, unreadable or longer than kRegTextBytes.
static BOOL query_text(HKEY key, const char *value_name, char *text, size_t text_size) {
  char data[kRegTextBytes];
  DWORD size = kRegTextBytes;
  LONG status = RegQueryValueExA(key, value_name, NULL, NULL, (LPBYTE)data, &size);
  if (status != ERROR_SUCCESS || size > kRegTextBytes) {
    text[0] = '\0';
    return FALSE;
  }
  copy_text(text, (int)text_size, data, (int)size);
  return TRUE;
}

void read_hklm_string(char *destination, const char *key_path, const char *value_name) {
  HKEY key;
  if (open_version_key(key_path, &key) != ERROR_SUCCESS) {
    strcpy(destination, "Unknown");
    return;
  }
  if (!query_text(key, value_name, destination, MAX_PATH)) printf("%s\n", kRegError);
  RegCloseKey(key);
}

__time32_t read_install_date(void) {
  DWORD install_date = 0;
  HKEY key;
  if (open_version_key("Software\\Microsoft\\Windows NT\\CurrentVersion", &key) == ERROR_SUCCESS) {
    DWORD size = sizeof install_date;
    // A failed query leaves the variable undefined (a longer value overwrites
    // it with nothing usable).
    if (RegQueryValueExA(key, "InstallDate", NULL, NULL, (LPBYTE)&install_date, &size) != ERROR_SUCCESS)
      install_date = 0;
    RegCloseKey(key);
  }
  return (__time32_t)install_date;
}

// Reads a value that not every version has into text (kRegTextBytes + 1
// bytes): "" when it cannot be read, without a message.
static void read_optional_text(const char *value_name, char *text) {
  HKEY key;
  text[0] = '\0';
  if (open_version_key(kCurrentVersionKey, &key) != ERROR_SUCCESS) return;
  query_text(key, value_name, text, kRegTextBytes + 1);
  RegCloseKey(key);
}

// The edition when only the basic structure was filled: the product type
// word from the registry. FALSE when it cannot be read.
static BOOL read_product_type_edition(void) {
  HKEY key;
  if (open_version_key(kProductOptionsKey, &key) != ERROR_SUCCESS) return FALSE;
  char product_type[kRegTextBytes + 1];
  BOOL read = query_text(key, "ProductType", product_type, sizeof product_type);
  RegCloseKey(key);
  if (!read) return FALSE;
  strcpy(os_info.edition, product_type_edition(product_type));
  return TRUE;
}

static void set_service_pack(const char *csd_version) {
  copy_text(os_info.service_pack, sizeof os_info.service_pack, csd_version, sizeof os_info.service_pack);
  if (!may_be_service_pack_6a(os_info.major_version, os_info.service_pack)) return;
  // Service Pack 6a still calls itself "Service Pack 6"; it leaves the key of
  // hotfix Q246009 behind.
  HKEY key;
  if (open_version_key(kHotfixQ246009Key, &key) == ERROR_SUCCESS) {
    strcpy(os_info.service_pack, "Service Pack 6a");
    RegCloseKey(key);
  }
}

// GetProductInfo came with Vista; the headers declare it only for Vista and
// later.
typedef BOOL(WINAPI *GetProductInfoFunction)(DWORD, DWORD, DWORD, DWORD, PDWORD);

// GetProductInfo's product code from 6.0 on; 0 before, or when it fails.
static DWORD query_product_code(const OSVERSIONINFOEXA *version) {
  if (version->dwMajorVersion < 6) return 0;
  GetProductInfoFunction get_product_info;
  // kernel32 is loaded into every process.
  look_up(GetModuleHandleA(kKernel32Dll), "GetProductInfo", &get_product_info);
  DWORD product = 0;
  if (!get_product_info || !get_product_info(version->dwMajorVersion, version->dwMinorVersion,
                                             version->wServicePackMajor, version->wServicePackMinor, &product))
    return 0;
  return product;
}

int identify_os(void) {
  memset(&os_info, 0, sizeof os_info);
  version_key_access = choose_version_key_access();
  OSVERSIONINFOEXA version;
  memset(&version, 0, sizeof version);

  // The 9x family and NT 4.0 before Service Pack 6 reject the extended size.
  version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);
  BOOL extended = GetVersionExA((LPOSVERSIONINFOA)&version);
  if (!extended) {
    version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    if (!GetVersionExA((LPOSVERSIONINFOA)&version)) return 0;
  }

  os_info.major_version = version.dwMajorVersion;
  os_info.minor_version = version.dwMinorVersion;
  // The 9x family keeps the version numbers in the high word.
  os_info.build = (int32_t)(version.dwBuildNumber & 0xFFFF);
  os_info.suite_mask = version.wSuiteMask;
  os_info.sp_major = version.wServicePackMajor;
  os_info.sp_minor = version.wServicePackMinor;

  if (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
    const char *name;
    const char *edition;
    name_9x(os_info.major_version, os_info.minor_version, version.szCSDVersion[1], &name, &edition);
    strcpy(os_info.os_name, name);
    strcpy(os_info.edition, edition);
  }

  if (version.dwPlatformId == VER_PLATFORM_WIN32_NT) {
    os_info.is_nt = 1;
    char edition_id[kRegTextBytes + 1] = "";
    char installation_type[kRegTextBytes + 1] = "";
    if (os_info.major_version >= 6) {
      read_optional_text("EditionID", edition_id);
      read_optional_text("InstallationType", installation_type);
    }
    NtFacts nt = {os_info.major_version,
                  os_info.minor_version,
                  (uint32_t)os_info.build,
                  version.wProductType,
                  version.wSuiteMask,
                  query_product_code(&version),
                  edition_id,
                  installation_type,
                  native_architecture()};
    strcpy(os_info.os_name, nt_name(&nt));
    if (extended)
      nt_edition(os_info.edition, &nt);
    else if (!read_product_type_edition())
      return 0;
    set_service_pack(version.szCSDVersion);

    read_hklm_string(os_info.system_root, kCurrentVersionKey, "SystemRoot");
    read_hklm_string(os_info.build_type, kCurrentVersionKey, "CurrentType");
    read_hklm_string(os_info.product_id, kCurrentVersionKey, "ProductID");
    read_hklm_string(os_info.registered_org, kCurrentVersionKey, "RegisteredOrganization");
    read_hklm_string(os_info.registered_owner, kCurrentVersionKey, "RegisteredOwner");
    os_info.install_time = read_install_date();
  }
  return 1;
}
