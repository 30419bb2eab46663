#include "os/os.h"

OsInfo os_info;

// Registry texts are read through a buffer of this size.
static const DWORD kRegTextBytes = 256;

static const char kCurrentVersionKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
static const char kProductOptionsKey[] = "SYSTEM\\CurrentControlSet\\Control\\ProductOptions";
static const char kHotfixQ246009Key[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix\\Q246009";

// Copies data up to its first NUL, at most data_size bytes, and terminates it
// within destination_size: registry data that fills its buffer, and a string
// stored without a terminator, arrive without one.
static void copy_text(char *destination, size_t destination_size, const char *data, size_t data_size) {
  size_t length = 0;
  while (length < data_size && length + 1 < destination_size && data[length]) ++length;
  memcpy(destination, data, length);
  destination[length] = '\0';
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
  copy_text(text, text_size, data, size);
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
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows NT\\CurrentVersion", 0, KEY_QUERY_VALUE,
                    &key) == ERROR_SUCCESS) {
    DWORD size = sizeof install_date;
    // A failed query leaves the variable undefined (a longer value overwrites
    // it with nothing usable).
    if (RegQueryValueExA(key, "InstallDate", NULL, NULL, (LPBYTE)&install_date, &size) != ERROR_SUCCESS)
      install_date = 0;
    RegCloseKey(key);
  }
  return (__time32_t)install_date;
}

static void identify_9x(const OSVERSIONINFOEXA *version) {
  if (os_info.major_version != 4) return;
  // Only the second character tells the releases apart: " C" is OSR2.
  char release = version->szCSDVersion[1];
  if (os_info.minor_version == 0) {
    strcpy(os_info.os_name, "Windows 95");
    if (release == 'C' || release == 'B') strcpy(os_info.edition, "OSR2");
  }
  if (os_info.minor_version == 10) {
    strcpy(os_info.os_name, "Windows 98");
    if (release == 'A') strcpy(os_info.edition, "SE");
  }
  if (os_info.minor_version == 90) strcpy(os_info.os_name, "Windows Millennium Edition");
}

static const char *nt_name(DWORD major, DWORD minor) {
  if (major == 5 && minor == 2) return "Windows Server 2003 family";
  if (major == 5 && minor == 1) return "Windows XP";
  if (major == 5 && minor == 0) return "Windows 2000";
  if (major <= 4) return "Windows NT";
  return "";
}

// The edition from the extended structure. The datacenter bit is tested
// before the enterprise bit: a datacenter server sets both.
static const char *nt_edition(BYTE product_type, DWORD major, DWORD minor, WORD suite) {
  if (product_type == VER_NT_WORKSTATION) {
    if (major == 4) return "Workstation 4.0";
    if (suite & VER_SUITE_PERSONAL) return "Home Edition";
    return "Professional";
  }
  if (product_type != VER_NT_SERVER) return "";
  if (major == 5 && minor == 2) {
    if (suite & VER_SUITE_DATACENTER) return "Datacenter Edition";
    if (suite & VER_SUITE_ENTERPRISE) return "Enterprise Edition";
    if (suite == VER_SUITE_BLADE) return "Web Edition";
    return "Standard Edition";
  }
  if (major == 5 && minor == 0) {
    if (suite & VER_SUITE_DATACENTER) return "Datacenter Edition";
    if (suite & VER_SUITE_ENTERPRISE) return "Advanced Server";
    return "Server";
  }
  if (suite & VER_SUITE_ENTERPRISE) return "Server 4.0, Enterprise Edition";
  return "Server 4.0";
}

// The edition when only the basic structure was filled: the product type
// word from the registry. FALSE when it cannot be read.
static BOOL read_product_type_edition(void) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductOptionsKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return FALSE;
  char product_type[kRegTextBytes + 1];
  BOOL read = query_text(key, "ProductType", product_type, sizeof product_type);
  RegCloseKey(key);
  if (!read) return FALSE;
  if (lstrcmpiA(product_type, "WINNT") == 0) strcpy(os_info.edition, "Workstation");
  if (lstrcmpiA(product_type, "LANMANNT") == 0) strcpy(os_info.edition, "Server");
  if (lstrcmpiA(product_type, "SERVERNT") == 0) strcpy(os_info.edition, "Advanced Server");
  return TRUE;
}

static void set_service_pack(const char *csd_version) {
  copy_text(os_info.service_pack, sizeof os_info.service_pack, csd_version, sizeof os_info.service_pack);
  if (os_info.major_version != 4 || lstrcmpiA(os_info.service_pack, "Service Pack 6") != 0) return;
  // Service Pack 6a still calls itself "Service Pack 6"; it leaves the key of
  // hotfix Q246009 behind.
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kHotfixQ246009Key, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
    strcpy(os_info.service_pack, "Service Pack 6a");
    RegCloseKey(key);
  }
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
  os_info.build = (LONG)(version.dwBuildNumber & 0xFFFF);
  os_info.suite_mask = version.wSuiteMask;
  os_info.sp_major = version.wServicePackMajor;
  os_info.sp_minor = version.wServicePackMinor;

  if (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) identify_9x(&version);

  if (version.dwPlatformId == VER_PLATFORM_WIN32_NT) {
    os_info.is_nt = 1;
    strcpy(os_info.os_name, nt_name(os_info.major_version, os_info.minor_version));
    if (extended)
      strcpy(os_info.edition,
             nt_edition(version.wProductType, os_info.major_version, os_info.minor_version, version.wSuiteMask));
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
