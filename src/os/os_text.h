// The naming rules of the operating-system section and the text of its
// block, over plain values.
#pragma once

#include <stdint.h>

// The identified system. Texts are NUL-terminated; whatever no rule sets is
// "" or 0.
struct OsInfo {
  char os_name[128];
  char edition[128];
  char service_pack[128];
  int32_t build;
  uint32_t major_version;
  uint32_t minor_version;
  int32_t is_nt;
  uint32_t suite_mask;
  uint16_t sp_major;
  uint16_t sp_minor;
  char system_root[260];
  char build_type[260];
  char product_id[260];
  char registered_org[260];
  char registered_owner[260];
  int32_t install_time;
};

// Name and edition of a Windows 95 family system; release is the second
// character of its CSD text. Both stay "" where no rule names it.
void name_9x(uint32_t major, uint32_t minor, char release, const char **name, const char **edition);

// What names an NT family system and its edition.
struct NtFacts {
  uint32_t major;
  uint32_t minor;
  uint32_t build;
  unsigned product_type;          // of the extended version data; 0 without it
  unsigned suite;                 // its suite mask
  uint32_t product;               // GetProductInfo's code; 0 where there is none (before 6.0)
  const char *edition_id;         // the CurrentVersion value EditionID, or ""
  const char *installation_type;  // the CurrentVersion value InstallationType, or ""
  unsigned architecture;          // the machine's PROCESSOR_ARCHITECTURE_* code
};

// Name of an NT family system (from 6.0 on a domain controller or server
// gets the server's name, Enterprise multi-session the workstation's; a 10.0
// server is named by its release build); "Windows" for a version newer than
// every rule.
const char *nt_name(const NtFacts *nt);

// Room for an edition, as OsInfo holds it.
static const int kEditionSize = 128;

// Writes the edition into edition (kEditionSize bytes): from 6.0 on the
// product code's, else EditionID where the code is unknown; else, and before
// 6.0, from the product type and suite mask. A domain controller gets a
// server's edition; a Server Core installation ends in " (Server Core)".
void nt_edition(char *edition, const NtFacts *nt);

// Whole seconds of a 64-bit millisecond count, as a duration.
uint32_t uptime_seconds(uint64_t milliseconds);

// Edition from the registry's product type word, for systems that fill only
// the basic version data.
const char *product_type_edition(const char *word);

// True for NT 4.0 reporting "Service Pack 6", which may really be 6a.
bool may_be_service_pack_6a(uint32_t major, const char *csd_version);

// Copies text up to its first NUL, at most text_size bytes, and terminates it
// within destination_size: registry data that fills its buffer arrives
// without a NUL.
void copy_text(char *destination, int destination_size, const char *text, int text_size);

// Room for the longest block of the section.
static const int kOsBlockSize = 4096;

// Writes the lines of the section after its heading into buffer
// (kOsBlockSize bytes). The time texts are ctime's, with their own line feed.
void format_os_block(char *buffer, const OsInfo *os, const char *user_name, const char *uptime,
                     const char *current_time, const char *install_time, const char *install_age);
