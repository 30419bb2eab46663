#include "os/os_text.h"

#include <stdio.h>
#include <string.h>

// Product type and suite bits of the extended version data.
static const unsigned kWorkstation = 1;
static const unsigned kDomainController = 2;
static const unsigned kServer = 3;
static const unsigned kSuiteEnterprise = 0x2;
static const unsigned kSuiteDatacenter = 0x80;
static const unsigned kSuitePersonal = 0x200;
static const unsigned kSuiteBlade = 0x400;

// Case-insensitive in the ASCII letters, which is all the words compared hold.
static bool equal_ignoring_case(const char *a, const char *b) {
  for (;; ++a, ++b) {
    char x = (*a >= 'a' && *a <= 'z') ? (char)(*a - 32) : *a;
    char y = (*b >= 'a' && *b <= 'z') ? (char)(*b - 32) : *b;
    if (x != y) return false;
    if (!x) return true;
  }
}

void name_9x(uint32_t major, uint32_t minor, char release, const char **name, const char **edition) {
  *name = "";
  *edition = "";
  if (major != 4) return;
  // " C" and " B" mark Windows 95 OSR2, " A" Windows 98 Second Edition.
  if (minor == 0) {
    *name = "Windows 95";
    if (release == 'C' || release == 'B') *edition = "OSR2";
  }
  if (minor == 10) {
    *name = "Windows 98";
    if (release == 'A') *edition = "SE";
  }
  if (minor == 90) *name = "Windows Millennium Edition";
}

// Names from 6.0 on, by minor version: workstation, server.
static const char *const kNt6Names[][2] = {{"Windows Vista", "Windows Server 2008"},
                                           {"Windows 7", "Windows Server 2008 R2"},
                                           {"Windows 8", "Windows Server 2012"},
                                           {"Windows 8.1", "Windows Server 2012 R2"}};

const char *nt_name(uint32_t major, uint32_t minor, uint32_t build, unsigned product_type) {
  if (major == 5 && minor == 2) return "Windows Server 2003 family";
  if (major == 5 && minor == 1) return "Windows XP";
  if (major == 5 && minor == 0) return "Windows 2000";
  if (major <= 4) return "Windows NT";
  bool server = product_type == kServer || product_type == kDomainController;
  if (major == 6 && minor <= 3) return kNt6Names[minor][server];
  // Windows 10 and 11, and the servers since 2016, share version 10.0; the
  // build tells them apart.
  if (major != 10 || minor != 0) return "";
  if (!server) return build < 22000 ? "Windows 10" : "Windows 11";
  if (build < 17763) return "Windows Server 2016";
  if (build < 20348) return "Windows Server 2019";
  if (build < 26100) return "Windows Server 2022";
  return "Windows Server 2025";
}

// GetProductInfo's product codes and their editions. Professional (0x30) is
// named by version: it became "Pro" with 6.2.
static const struct {
  uint32_t product;
  const char *edition;
} kProductEditions[] = {{0x01, "Ultimate"},
                        {0x02, "Home Basic"},
                        {0x03, "Home Premium"},
                        {0x04, "Enterprise"},
                        {0x06, "Business"},
                        {0x07, "Standard"},
                        {0x08, "Datacenter"},
                        {0x0A, "Enterprise"},
                        {0x0B, "Starter"},
                        {0x0C, "Datacenter"},
                        {0x0D, "Standard"},
                        {0x0E, "Enterprise"},
                        {0x11, "Web Server"},
                        {0x1C, "Ultimate N"},
                        {0x48, "Enterprise Evaluation"},
                        {0x4F, "Standard Evaluation"},
                        {0x50, "Datacenter Evaluation"},
                        {0x64, "Home Single Language"},
                        {0x65, "Home"},
                        {0x79, "Education"},
                        {0x7D, "Enterprise LTSC"},
                        {0xA1, "Pro for Workstations"}};
static const uint32_t kProductProfessional = 0x30;

// "" for a code not in the table.
static const char *product_edition(uint32_t product, uint32_t major, uint32_t minor) {
  if (product == kProductProfessional) return (major == 6 && minor <= 1) ? "Professional" : "Pro";
  for (const auto &row : kProductEditions)
    if (row.product == product) return row.edition;
  return "";
}

// The datacenter bit is tested before the enterprise bit: a datacenter
// server sets both.
const char *nt_edition(unsigned product_type, uint32_t major, uint32_t minor, unsigned suite, uint32_t product) {
  const char *edition = product_edition(product, major, minor);
  if (*edition) return edition;
  if (product_type == kWorkstation) {
    if (major == 4) return "Workstation 4.0";
    if (suite & kSuitePersonal) return "Home Edition";
    return "Professional";
  }
  if (product_type != kServer && product_type != kDomainController) return "";
  if (major == 5 && minor == 2) {
    if (suite & kSuiteDatacenter) return "Datacenter Edition";
    if (suite & kSuiteEnterprise) return "Enterprise Edition";
    if (suite == kSuiteBlade) return "Web Edition";
    return "Standard Edition";
  }
  if (major == 5 && minor == 0) {
    if (suite & kSuiteDatacenter) return "Datacenter Edition";
    if (suite & kSuiteEnterprise) return "Advanced Server";
    return "Server";
  }
  if (major >= 6) {
    if (suite & kSuiteDatacenter) return "Datacenter";
    if (suite & kSuiteEnterprise) return "Enterprise";
    return "Standard";
  }
  if (suite & kSuiteEnterprise) return "Server 4.0, Enterprise Edition";
  return "Server 4.0";
}

const char *product_type_edition(const char *word) {
  if (equal_ignoring_case(word, "WINNT")) return "Workstation";
  if (equal_ignoring_case(word, "LANMANNT")) return "Server";
  if (equal_ignoring_case(word, "SERVERNT")) return "Advanced Server";
  return "";
}

bool may_be_service_pack_6a(uint32_t major, const char *csd_version) {
  return major == 4 && equal_ignoring_case(csd_version, "Service Pack 6");
}

void copy_text(char *destination, int destination_size, const char *text, int text_size) {
  int length = 0;
  while (length < text_size && length + 1 < destination_size && text[length]) ++length;
  memcpy(destination, text, length);
  destination[length] = '\0';
}

void format_os_block(char *buffer, const OsInfo *os, const char *user_name, const char *uptime,
                     const char *current_time, const char *install_time, const char *install_age) {
  char *out = buffer;
  out += sprintf(out, "Current User:\t\t%s\n", user_name);
  out += sprintf(out, "System Uptime:\t\t%s\n", uptime);
  out += sprintf(out, "Operating System:\t%s %s (%d.%d.%d)\n", os->os_name, os->edition, (int)os->major_version,
                 (int)os->minor_version, (int)os->build);
  if (os->is_nt == 1 && os->sp_major != 0)
    out += sprintf(out, "Service Pack:\t\t%s (%d.%d)\n", os->service_pack, (int)os->sp_major, (int)os->sp_minor);
  if (os->is_nt == 1) out += sprintf(out, "Build Type:\t\t%s\n", os->build_type);
  out += sprintf(out, "Reg Name:\t\t%s\n", os->registered_owner);
  out += sprintf(out, "Reg Org.:\t\t%s\n", os->registered_org);
  out += sprintf(out, "Product ID:\t\t%s\n", os->product_id);
  out += sprintf(out, "System Root:\t\t%s\n", os->system_root);
  // ctime's text ends in its own line feed; the age stands on the next line.
  out += sprintf(out, "\nCurrent Time:\t\t%s", current_time);
  sprintf(out, "Install Time:\t\t%s\t\t\t%s ago\n", install_time, install_age);
}
