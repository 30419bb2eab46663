// The operating-system section: identification of the running Windows, the
// registry facts of the NT family, and the printed report.
#pragma once

#include "platform.h"

// The identified system. Texts are NUL-terminated; whatever no rule sets is
// "" or 0.
struct OsInfo {
  char os_name[128];
  char edition[128];
  char service_pack[128];
  LONG build;
  DWORD major_version;
  DWORD minor_version;
  LONG is_nt;
  DWORD suite_mask;
  WORD sp_major;
  WORD sp_minor;
  char system_root[MAX_PATH];
  char build_type[MAX_PATH];
  char product_id[MAX_PATH];
  char registered_org[MAX_PATH];
  char registered_owner[MAX_PATH];
  __time32_t install_time;
};

extern OsInfo os_info;

// Clears os_info and fills it from the version query, the naming tables and,
// on the NT family, the registry. Returns 1 when it ran to the end, 0 when it
// stopped early (os_info then keeps what was stored so far).
int identify_os(void);

// Copies the text of value_name under HKEY_LOCAL_MACHINE\key_path into
// destination (MAX_PATH bytes): "Unknown" when the key cannot be opened; ""
// after printing "Reg Error XR1\n" when the value is missing, unreadable or
// longer than 256 bytes.
void read_hklm_string(char *destination, const char *key_path, const char *value_name);

// The "InstallDate" of the NT family, seconds since 1970 UTC; 0 when the key or
// the value cannot be read.
__time32_t read_install_date(void);

// Prints the "Operating System Information" section.
void report_os(void);
