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

// Name of an NT family system from its version, build and product type (from
// 6.0 on a domain controller or server gets the server's name); "" where no
// rule names it.
const char *nt_name(uint32_t major, uint32_t minor, uint32_t build, unsigned product_type);

// Edition from GetProductInfo's product code where it names one (0 when there
// is none, as before 6.0), else from the extended version data's product type
// and suite mask. A domain controller gets a server's edition.
const char *nt_edition(unsigned product_type, uint32_t major, uint32_t minor, unsigned suite, uint32_t product);

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
