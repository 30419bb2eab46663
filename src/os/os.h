// The operating-system section: identification of the running Windows, the
// registry facts of the NT family, and the printed report.
#pragma once

#include "os/os_text.h"
#include "platform.h"

extern OsInfo os_info;

// Clears os_info and fills it from the version query, the naming rules and,
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
