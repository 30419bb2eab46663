#include "os/os.h"
#include "report/binding.h"

OsInfo os_info;

// Registry texts are read through a buffer of this size.
static const DWORD kRegTextBytes = 256;

static const char kCurrentVersionKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
static const char kProductOptionsKey[] = "SYSTEM\\CurrentControlSet\\Control\\ProductOptions";
static const char kHotfixQ246009Key[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix\\Q246009";

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
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key_path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    strcpy(destination, "Unknown");
    return;
  }
  if (!query_text(key, value_name, destination, MAX_PATH)) printf("Reg Error XR1\n");
  RegCloseKey(key);
}

__time32_t read_install_date(void) {
  DWORD install_date = 0;
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows NT\\CurrentVersion", 0, KEY_QUERY_VALUE, &key) ==
      ERROR_SUCCESS) {
    DWORD size = sizeof install_date;
    // A failed query leaves the variable undefined (a longer value overwrites
    // it with nothing usable).
    if (RegQueryValueExA(key, "InstallDate", NULL, NULL, (LPBYTE)&install_date, &size) != ERROR_SUCCESS)
      install_date = 0;
    RegCloseKey(key);
  }
  return (__time32_t)install_date;
}

// The edition when only the basic structure was filled: the product type
// word from the registry. FALSE when it cannot be read.
static BOOL read_product_type_edition(void) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductOptionsKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return FALSE;
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
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kHotfixQ246009Key, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
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
  look_up(GetModuleHandleA("kernel32.dll"), "GetProductInfo", &get_product_info);
  DWORD product = 0;
  if (!get_product_info || !get_product_info(version->dwMajorVersion, version->dwMinorVersion,
                                             version->wServicePackMajor, version->wServicePackMinor, &product))
    return 0;
  return product;
}

int identify_os(void) {
  memset(&os_info, 0, sizeof os_info);
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
    strcpy(os_info.os_name,
           nt_name(os_info.major_version, os_info.minor_version, (uint32_t)os_info.build, version.wProductType));
    if (extended)
      strcpy(os_info.edition, nt_edition(version.wProductType, os_info.major_version, os_info.minor_version,
                                         version.wSuiteMask, query_product_code(&version)));
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
