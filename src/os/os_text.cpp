#include "os/os_text.h"

#include "os/os_names.h"
#include "os/product_editions.h"
#include "report/words.h"

#include <stdio.h>
#include <string.h>

// Product type and suite bits of the extended version data.
static const unsigned kWorkstation = 1;
static const unsigned kDomainController = 2;
static const unsigned kServer = 3;
static const unsigned kSuiteEnterprise = 0x2;
static const unsigned kSuiteDatacenter = 0x80;
static const unsigned kSuitePersonal = 0x200;
static const unsigned kArchitectureIa64 = 6;  // PROCESSOR_ARCHITECTURE_IA64

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
    *name = kWindows95;
    if (release == 'C' || release == 'B') *edition = "OSR2";
  }
  if (minor == 10) {
    *name = kWindows98;
    if (release == 'A') *edition = "SE";
  }
  if (minor == 90) *name = kWindowsMe;
}

// Names from 6.0 on, by minor version: workstation, server.
static const char *const kNt6Names[][2] = {{kWindowsVista, kWindowsServer2008},
                                           {kWindows7, kWindowsServer2008R2},
                                           {kWindows8, kWindowsServer2012},
                                           {kWindows81, kWindowsServer2012R2}};

// Enterprise multi-session reports a server's product type on purpose.
static const uint32_t kProductMultiSession = 0xAF;
// Azure Stack HCI (Azure Local) is a product of its own, whatever its build.
static const uint32_t kProductAzureStackHci = 0x196;
// Small Business Server 2011 Essentials; the same code is plain Essentials from Server 2012 on.
static const uint32_t kProductSbSolution = 0x32;

// The 10.0 servers by their release builds; other builds (Semi-Annual Channel, Server 23H2, previews) are plain
// "Windows Server", told apart by the build that the line shows.
static const struct {
  uint32_t build;
  const char *name;
} kServerReleases[] = {
    {14393, kWindowsServer2016},
    {17763, kWindowsServer2019},
    {20348, kWindowsServer2022},
    {26100, kWindowsServer2025},
};

const char *nt_name(const NtFacts *nt) {
  uint32_t major = nt->major;
  uint32_t minor = nt->minor;
  if (major == 5 && minor == 2) return nt->product_type == kWorkstation ? kWindowsXp : kWindowsServer2003;
  if (major == 5 && minor == 1) return kWindowsXp;
  if (major == 5 && minor == 0) return kWindows2000;
  if (major <= 4) return kWindowsNt;
  bool server =
      (nt->product_type == kServer || nt->product_type == kDomainController) && nt->product != kProductMultiSession;
  if (major == 6 && minor <= 3) return kNt6Names[minor][server];
  // A Windows newer than any rule here.
  if (major != 10 || minor != 0) return kWindowsNewer;
  if (nt->product == kProductAzureStackHci) return kAzureStackHci;
  // Windows 10 and 11, and the servers since 2016, share version 10.0; the
  // build tells them apart.
  if (!server) return nt->build < 22000 ? kWindows10 : kWindows11;
  for (const auto &release : kServerReleases)
    if (nt->build == release.build) return release.name;
  return kWindowsServer;
}

// Server 2003's editions by suite bit, tested in the order of Microsoft's
// version sample: a storage or home server may set the enterprise bit too, a
// datacenter server sets it always, and every server the terminal bit.
static const struct {
  unsigned bit;
  const char *edition;
} kServer2003Editions[] = {
    {0x2000, "Storage Server"},           // VER_SUITE_STORAGE_SERVER
    {0x8000, "Home Server"},              // VER_SUITE_WH_SERVER
    {0x4000, "Compute Cluster Edition"},  // VER_SUITE_COMPUTE_SERVER
    {0x80, "Datacenter Edition"},         // VER_SUITE_DATACENTER
    {0x2, "Enterprise Edition"},          // VER_SUITE_ENTERPRISE
    {0x400, "Web Edition"},               // VER_SUITE_BLADE
    {0x20, "Small Business Server"},      // VER_SUITE_SMALLBUSINESS_RESTRICTED
};

// The edition by product type and suite mask alone.
static const char *suite_edition(const NtFacts *nt) {
  uint32_t major = nt->major;
  uint32_t minor = nt->minor;
  unsigned suite = nt->suite;
  if (nt->product_type == kWorkstation) {
    if (major == 4) return "Workstation 4.0";
    // 5.2 workstations are the 64-bit XPs: x64, or Itanium's. Itanium's first, of 2001, was 5.1.
    if (major == 5 && minor == 2)
      return nt->architecture == kArchitectureIa64 ? "64-Bit Edition" : "Professional x64 Edition";
    if (major == 5 && minor == 1 && nt->architecture == kArchitectureIa64) return "64-Bit Edition";
    if (suite & kSuitePersonal) return "Home Edition";
    return "Professional";
  }
  if (nt->product_type != kServer && nt->product_type != kDomainController) return "";
  if (major == 5 && minor == 2) {
    for (const auto &row : kServer2003Editions)
      if (suite & row.bit) return row.edition;
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

// True when text begins with the word.
static bool begins_with_word(const char *text, const char *word) {
  for (; *word; ++text, ++word)
    if (*text != *word) return false;
  return *text == '\0' || *text == ' ';
}

// Appends text to edition, as much as fits in kEditionSize bytes.
static void append_edition(char *edition, const char *text) {
  size_t length = strlen(edition);
  copy_text(edition + length, kEditionSize - (int)length, text, kEditionSize);
}

static const char kServerCore[] = " (Server Core)";
static const char kCoreMark[] = "(Server Core)";

void nt_edition(char *edition, const NtFacts *nt) {
  edition[0] = '\0';
  const char *coded = NULL;
  for (const auto &row : kProductEditions)
    if (nt->major >= 6 && row.product == nt->product) coded = row.edition;
  bool early_six = nt->major == 6 && nt->minor <= 1;
  bool windows_8 = nt->major == 6 && (nt->minor == 2 || nt->minor == 3);
  if (coded && early_six && begins_with_word(coded, "Pro")) {
    // "Pro" was "Professional" until Windows 7.
    append_edition(edition, "Professional");
    coded += 3;
  } else if (coded && windows_8 && begins_with_word(coded, "Home")) {
    // Windows 8's core edition is plain "Windows 8".
    coded += *(coded + 4) == ' ' ? 5 : 4;
  }
  if (coded && nt->product == kProductSbSolution && early_six) coded = "Small Business Server Essentials";
  if (coded) {
    append_edition(edition, coded);
    // The long-term editions of Windows 10's first releases (10240, 14393)
    // were the LTSB; from 2019 (17763) on, the LTSC.
    for (char *at = edition; *at && nt->major == 10 && nt->build < 17763; ++at)
      if (at[0] == 'L' && at[1] == 'T' && at[2] == 'S' && at[3] == 'C') at[3] = 'B';
  } else if (nt->major >= 6 && nt->edition_id && *nt->edition_id)
    append_edition(edition, nt->edition_id);
  else
    append_edition(edition, suite_edition(nt));

  // From Server 2012 on, Server Core is no longer in the product code.
  size_t length = strlen(edition);
  size_t suffix = sizeof kCoreMark - 1;
  bool marked = length >= suffix && equal_ignoring_case(edition + length - suffix, kCoreMark);
  if (!marked && nt->installation_type && equal_ignoring_case(nt->installation_type, "Server Core"))
    append_edition(edition, kServerCore);
}

uint32_t uptime_seconds(uint64_t milliseconds) { return (uint32_t)(milliseconds / 1000); }

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
  out += sprintf(out, "%s%s\n", kOsCurrentUser, user_name);
  out += sprintf(out, "%s%s\n", kOsUptime, uptime);
  out += sprintf(out, "%s%s %s (%d.%d.%d)\n", kOsName, os->os_name, os->edition, (int)os->major_version,
                 (int)os->minor_version, (int)os->build);
  if (os->is_nt == 1 && os->sp_major != 0)
    out += sprintf(out, "%s%s (%d.%d)\n", kOsServicePack, os->service_pack, (int)os->sp_major, (int)os->sp_minor);
  if (os->is_nt == 1) out += sprintf(out, "%s%s\n", kOsBuildType, os->build_type);
  out += sprintf(out, "%s%s\n", kOsOwner, os->registered_owner);
  out += sprintf(out, "%s%s\n", kOsOrganisation, os->registered_org);
  out += sprintf(out, "%s%s\n", kOsProductId, os->product_id);
  out += sprintf(out, "%s%s\n", kOsSystemRoot, os->system_root);
  // ctime's text ends in its own line feed; the age stands on the next line.
  out += sprintf(out, "\n%s%s", kOsCurrentTime, current_time);
  sprintf(out, "%s%s\t\t\t%s ago\n", kOsInstallTime, install_time, install_age);
}
