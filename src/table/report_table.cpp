#include "table/report_table.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "report/words.h"
#include "table/csv.h"

static const char *const kSummaryHeader[] = {"Computer",
                                             "CurrentTime",
                                             "OSName",
                                             "Edition",
                                             "Version",
                                             "Build",
                                             "ServicePack",
                                             "UptimeSeconds",
                                             "InstallTime",
                                             "RegisteredOwner",
                                             "RegisteredOrganization",
                                             "ProductID",
                                             "Manufacturer",
                                             "Model",
                                             "SerialNumber",
                                             "Processor",
                                             "LogicalProcessors",
                                             "InstalledMemoryMB",
                                             "FixedDrives",
                                             "FixedTotalKB",
                                             "FixedFreeKB",
                                             "LowestFreePercent",
                                             "LowestFreeDrive",
                                             "Accounts",
                                             "EnabledAccounts",
                                             "Administrators",
                                             "EnabledWithoutPasswordRequirement",
                                             "OldestAdminPasswordAgeSeconds",
                                             "Domain",
                                             "JoinState",
                                             "DomainRole",
                                             "DNSName",
                                             "TimeZone",
                                             "UTCOffset",
                                             "BootTime",
                                             "LastUser",
                                             "CodePage",
                                             "IPv4Addresses",
                                             "MACAddresses",
                                             "DisplayVersion",
                                             "FullBuild",
                                             "Programs",
                                             "Updates",
                                             "LatestUpdate",
                                             "Problems",
                                             "Complete"};
static const char *const kDriveHeader[] = {"Computer",
                                           "Drive",
                                           "Type",
                                           "VolumeLabel",
                                           "VolumeSerial",
                                           "FileSystem",
                                           "SectorsPerCluster",
                                           "BytesPerSector",
                                           "FreeClusters",
                                           "UsedClusters",
                                           "TotalClusters",
                                           "FreeKB",
                                           "UsedKB",
                                           "TotalKB"};
static const char *const kAccountHeader[] = {"Computer",
                                             "User",
                                             "Privilege",
                                             "Disabled",
                                             "PasswordNotRequired",
                                             "PasswordCannotChange",
                                             "Locked",
                                             "PasswordNeverExpires",
                                             "TrustedForDelegation",
                                             "PasswordExpiredFlag",
                                             "TrustedToAuthenticateForDelegation",
                                             "PasswordAgeSeconds",
                                             "BadPasswords",
                                             "TotalLogons",
                                             "LastLogon",
                                             "PasswordExpired"};
static const char *const kProgramHeader[] = {"Computer",    "Name",         "Version", "Publisher",
                                             "InstallDate", "Architecture", "Scope"};
static const char *const kUpdateHeader[] = {"Computer", "KB", "InstalledOn", "Source", "Name"};
static const char *const kAdapterHeader[] = {"Computer",   "Adapter",   "Description", "Type",      "Status",
                                             "MAC",        "Speed",     "IPv4",        "IPv6",      "Gateways",
                                             "DNSServers", "DNSSuffix", "DHCP",        "DHCPServer"};

// Each mode: its option, the record kind a list mode writes a row of (its fields in order after the computer), and
// its header.
static const struct {
  const char *option;
  RecordKind kind;
  const char *const *header;
  int columns;
} kModes[] = {
    {"", kRecordEnd, kSummaryHeader, sizeof kSummaryHeader / sizeof *kSummaryHeader},
    {"--drives", kRecordDrive, kDriveHeader, sizeof kDriveHeader / sizeof *kDriveHeader},
    {"--accounts", kRecordAccount, kAccountHeader, sizeof kAccountHeader / sizeof *kAccountHeader},
    {"--programs", kRecordProgram, kProgramHeader, sizeof kProgramHeader / sizeof *kProgramHeader},
    {"--updates", kRecordUpdate, kUpdateHeader, sizeof kUpdateHeader / sizeof *kUpdateHeader},
    {"--adapters", kRecordAdapter, kAdapterHeader, sizeof kAdapterHeader / sizeof *kAdapterHeader},
};

static const uint32_t kNoLowest = 1000001;

bool table_mode(const char *option, TableMode *mode) {
  for (size_t i = 1; i < sizeof kModes / sizeof *kModes; ++i) {
    if (strcmp(option, kModes[i].option) != 0) continue;
    *mode = (TableMode)i;
    return true;
  }
  return false;
}

static void keep(TableState *table, bool written) {
  if (!written) table->out_of_memory = true;
}

static void set(TableState *table, Text *text, Span span) {
  text->length = 0;
  keep(table, text_append(text, span.data, span.length));
}

static void add_name(TableState *table, Text *list, Span name) {
  if (list->length) keep(table, text_append(list, ";", 1));
  keep(table, text_append(list, name.data, name.length));
}

static void say(TableState *table, const char *what) {
  keep(table, text_append(&table->messages, what, strlen(what)) && text_append(&table->messages, "\n", 1));
}

static bool equal(Span span, const char *word) {
  size_t length = strlen(word);
  return span.length == length && memcmp(span.data, word, length) == 0;
}

// Digits of an unsigned figure below 10^19, into *value.
static bool read_figure(Span span, uint64_t *value) {
  *value = 0;
  if (span.length == 0 || span.length > 19) return false;
  for (size_t i = 0; i < span.length; ++i) {
    if (span.data[i] < '0' || span.data[i] > '9') return false;
    *value = *value * 10 + (uint64_t)(span.data[i] - '0');
  }
  return true;
}

// a + b into *sum, false where it would pass 2^64.
static bool add(uint64_t *sum, uint64_t value) {
  if (*sum > UINT64_MAX - value) return false;
  *sum += value;
  return true;
}

// a * b as its high and low 64 bits.
static void multiply(uint64_t a, uint64_t b, uint64_t *high, uint64_t *low) {
  uint64_t a0 = (uint32_t)a;
  uint64_t a1 = a >> 32;
  uint64_t b0 = (uint32_t)b;
  uint64_t b1 = b >> 32;
  uint64_t middle = ((a0 * b0) >> 32) + (uint32_t)(a0 * b1) + (uint32_t)(a1 * b0);
  *low = (middle << 32) | (uint32_t)(a0 * b0);
  *high = a1 * b1 + ((a0 * b1) >> 32) + ((a1 * b0) >> 32) + (middle >> 32);
}

// True when free_a of total_a is a smaller share than free_b of total_b, exactly: drives a few KB apart in a
// terabyte still compare.
static bool emptier(uint64_t free_a, uint64_t total_a, uint64_t free_b, uint64_t total_b) {
  uint64_t left_high, left_low, right_high, right_low;
  multiply(free_a, total_b, &left_high, &left_low);
  multiply(free_b, total_a, &right_high, &right_low);
  return left_high < right_high || (left_high == right_high && left_low < right_low);
}

static void count_drive(TableState *table, const Span *drive) {
  table->drives_section = true;
  if (!equal(drive[kDriveTypeField], kDriveHard)) return;
  ++table->fixed_drives;
  uint64_t free_kb = 0;
  uint64_t total_kb = 0;
  if (!read_figure(drive[kDriveTotalKbField], &total_kb) || !read_figure(drive[kDriveFreeKbField], &free_kb)) return;
  if (!add(&table->fixed_total_kb, total_kb) || !add(&table->fixed_free_kb, free_kb)) table->overflow = true;
  if (total_kb == 0) return;
  if (table->lowest_free_ppm != kNoLowest && !emptier(free_kb, total_kb, table->lowest_free_kb, table->lowest_total_kb))
    return;
  table->lowest_free_kb = free_kb;
  table->lowest_total_kb = total_kb;
  table->lowest_free_drive = drive[kDriveLetterField].length ? drive[kDriveLetterField].data[0] : '?';
  // Parts per million in whole numbers (the 32-bit program has no floating point); figures of 16 PB and more are
  // scaled down first, so none overflows.
  uint64_t free_part = free_kb;
  while (total_kb >= (uint64_t)1 << 44) {
    free_part >>= 10;
    total_kb >>= 10;
  }
  table->lowest_free_ppm = free_part >= total_kb ? 1000000 : (uint32_t)(free_part * 1000000 / total_kb);
}

static void count_account(TableState *table, const Span *account) {
  ++table->accounts;
  bool admin = equal(account[kAccountPrivilegeField], kAccountAdmin);
  if (admin) add_name(table, &table->administrators, account[kAccountUserField]);
  if (equal(account[kAccountDisabledField], "1")) return;
  add_name(table, &table->enabled, account[kAccountUserField]);
  if (equal(account[kAccountNoPasswordField], "1"))
    add_name(table, &table->without_password, account[kAccountUserField]);
  uint64_t age = 0;
  if (!admin || !read_figure(account[kAccountPasswordAgeField], &age)) return;
  // The oldest password is the one of the largest age.
  if (!table->has_admin_age || age > table->oldest_admin_age) table->oldest_admin_age = age;
  table->has_admin_age = true;
}

static void copy_fields(TableState *table, Text *texts, const Record *record) {
  for (int i = 0; i < record->count; ++i) set(table, &texts[i], record->fields[i]);
}

// The summary's share of one record.
static void gather(TableState *table, const Record *record) {
  const Span *fields = record->fields;
  switch (record->kind) {
    case kRecordSection:
      if (equal(fields[0], kTitleDrives)) table->drives_section = true;
      if (equal(fields[0], kTitleUsers)) table->users_section = true;
      return;
    case kRecordOs: return copy_fields(table, table->os, record);
    case kRecordHardware: return copy_fields(table, table->hardware, record);
    case kRecordIdentity: return copy_fields(table, table->identity, record);
    case kRecordWindows: return copy_fields(table, table->windows, record);
    case kRecordDrive: return count_drive(table, fields);
    case kRecordAccount: return count_account(table, fields);
    case kRecordAdapter:
      if (fields[kAdapterIpv4Field].length) add_name(table, &table->ipv4, fields[kAdapterIpv4Field]);
      if (fields[kAdapterMacField].length && !equal(fields[kAdapterMacField], kUnknown))
        add_name(table, &table->macs, fields[kAdapterMacField]);
      return;
    case kRecordError:
      if (equal(fields[1], kTitleOs)) table->os_error = true;
      if (equal(fields[1], kTitleUsers)) table->users_error = true;
      add_name(table, &table->problems, fields[0]);
      return;
    default: return;
  }
}

static void reset_summary(TableState *table) {
  for (Text &text : table->os) text.length = 0;
  for (Text &text : table->hardware) text.length = 0;
  for (Text &text : table->identity) text.length = 0;
  for (Text &text : table->windows) text.length = 0;
  Text *lists[] = {&table->ipv4,    &table->macs, &table->enabled, &table->administrators, &table->without_password,
                   &table->problems};
  for (Text *text : lists) text->length = 0;
  table->os_error = false;
  table->users_error = false;
  table->drives_section = false;
  table->users_section = false;
  table->overflow = false;
  table->fixed_drives = 0;
  table->fixed_total_kb = 0;
  table->fixed_free_kb = 0;
  table->lowest_free_ppm = kNoLowest;
  table->lowest_free_drive = 0;
  table->accounts = 0;
  table->has_admin_age = false;
  table->oldest_admin_age = 0;
}

static void field(TableState *table, const char *data, size_t length) {
  keep(table, csv_field(&table->rows, data, length, false));
}

static void text_field(TableState *table, const Text *text) { field(table, text->data, text->length); }

static void figure_field(TableState *table, bool known, uint64_t value) {
  char digits[24] = "";
  if (known) {
    int count = 0;
    char reversed[24];
    do {
      reversed[count++] = (char)('0' + value % 10);
      value /= 10;
    } while (value);
    for (int i = 0; i < count; ++i) digits[i] = reversed[count - 1 - i];
    digits[count] = '\0';
  }
  field(table, digits, strlen(digits));
}

static bool is_word(const Text *text, const char *word) { return equal(Span{text->data, text->length}, word); }

static void write_summary(TableState *table) {
  Text *out = &table->rows;
  keep(table, csv_field(out, table->computer.data, table->computer.length, true));
  // A registry text that could not be read: which one the report does not say, so none of them is trusted.
  for (int i = 0; i < kOsFieldCount; ++i) {
    bool registry = i == kOsOwnerField || i == kOsOrganisationField || i == kOsProductIdField;
    if (registry && table->os_error)
      field(table, "", 0);
    else
      text_field(table, &table->os[i]);
  }
  for (const Text &text : table->hardware) text_field(table, &text);
  bool drives = table->drives_section;
  figure_field(table, drives, table->fixed_drives);
  figure_field(table, drives && !table->overflow, table->fixed_total_kb);
  figure_field(table, drives && !table->overflow, table->fixed_free_kb);
  char percent[16] = "";
  uint32_t ppm = table->lowest_free_ppm;
  if (ppm != kNoLowest) sprintf(percent, "%u.%u", (unsigned)(ppm / 10000), (unsigned)(ppm / 1000 % 10));
  keep(table, csv_text(out, percent, false));
  field(table, &table->lowest_free_drive, ppm != kNoLowest ? 1 : 0);
  // Accounts the enumeration could not list are not "no accounts".
  bool users = table->users_section && !table->users_error;
  figure_field(table, users, table->accounts);
  static const Text kEmpty = {NULL, 0, 0};
  text_field(table, users ? &table->enabled : &kEmpty);
  text_field(table, users ? &table->administrators : &kEmpty);
  text_field(table, users ? &table->without_password : &kEmpty);
  figure_field(table, users && table->has_admin_age, table->oldest_admin_age);
  static const int kIdentityColumns[] = {kIdentityDomainField, kIdentityJoinStateField, kIdentityRoleField};
  for (int i : kIdentityColumns) text_field(table, &table->identity[i]);
  // The DNS name: the host's, and its domain's where it has one.
  const Text *host = &table->identity[kIdentityDnsHostField];
  const Text *domain = &table->identity[kIdentityDnsDomainField];
  Text *name = &table->scratch;
  name->length = 0;
  keep(table, text_append(name, host->data, host->length));
  if (host->length && domain->length && !is_word(domain, kNone) && !is_word(domain, kUnknown) &&
      !is_word(host, kUnknown))
    keep(table, text_append(name, ".", 1) && text_append(name, domain->data, domain->length));
  text_field(table, name);
  static const int kPlaceColumns[] = {kIdentityTimeZoneField, kIdentityUtcOffsetField, kIdentityBootTimeField,
                                      kIdentityLastUserField, kIdentityCodePageField};
  for (int i : kPlaceColumns) text_field(table, &table->identity[i]);
  text_field(table, &table->ipv4);
  text_field(table, &table->macs);
  static const int kWindowsColumns[] = {kWindowsDisplayVersionField, kWindowsBuildField, kWindowsProgramsField,
                                        kWindowsUpdatesField, kWindowsLatestUpdateField};
  for (int i : kWindowsColumns) text_field(table, &table->windows[i]);
  text_field(table, &table->problems);
  keep(table, csv_text(out, table->complete ? "1" : "0", false));
  keep(table, csv_end_row(out));
}

static void take_record(void *context, const Record *record) {
  TableState *table = (TableState *)context;
  if (record->kind == kRecordBanner) {
    // A report before this one that did not end is dropped; a whole one is kept.
    ++table->banners;
    table->rows.length = 0;
    table->complete = false;
    reset_summary(table);
    return;
  }
  if (record->kind == kRecordError) {
    char line[32];
    sprintf(line, "line %lu: ", (unsigned long)record->line);
    keep(table, text_append(&table->messages, line, strlen(line)) &&
                    text_append(&table->messages, record->fields[0].data, record->fields[0].length) &&
                    text_append(&table->messages, " (the report's own error line)\n", 31));
  }
  if (table->mode == kTableSummary) {
    if (record->kind != kRecordEnd) return gather(table, record);
    table->complete = true;
    write_summary(table);
  } else if (record->kind == kModes[table->mode].kind) {
    keep(table, csv_field(&table->rows, table->computer.data, table->computer.length, true));
    for (int i = 0; i < record->count; ++i) field(table, record->fields[i].data, record->fields[i].length);
    keep(table, csv_end_row(&table->rows));
  }
  if (record->kind != kRecordEnd) return;
  table->complete = true;
  Text whole = table->rows;
  table->rows = table->kept;
  table->kept = whole;
  table->rows.length = 0;
}

void table_open(TableState *table, TableMode mode) {
  memset(table, 0, sizeof *table);
  table->mode = mode;
  reader_open(&table->reader, take_record, table, 1u << kModes[mode].kind);
}

void table_release(TableState *table) {
  reader_release(&table->reader);
  Text *texts[] = {&table->computer,        &table->scratch, &table->rows, &table->kept,    &table->messages,
                   &table->problems,        &table->ipv4,    &table->macs, &table->enabled, &table->administrators,
                   &table->without_password};
  for (Text *text : texts) free(text->data);
  for (Text &text : table->os) free(text.data);
  for (Text &text : table->hardware) free(text.data);
  for (Text &text : table->identity) free(text.data);
  for (Text &text : table->windows) free(text.data);
  memset(table, 0, sizeof *table);
}

bool table_header(const TableState *table, Text *out) {
  bool written = true;
  for (int i = 0; i < kModes[table->mode].columns; ++i)
    written = csv_text(out, kModes[table->mode].header[i], i == 0) && written;
  return csv_end_row(out) && written;
}

void table_begin(TableState *table, const char *name, size_t length) {
  table->computer.length = 0;
  keep(table, text_append(&table->computer, name, length));
  table->rows.length = 0;
  table->kept.length = 0;
  table->messages.length = 0;
  table->banners = 0;
  table->complete = false;
  table->out_of_memory = false;
  reset_summary(table);
  reader_begin(&table->reader);
}

void table_feed(TableState *table, const char *bytes, size_t length) { reader_feed(&table->reader, bytes, length); }

int table_end(TableState *table, const Text **rows) {
  ReportReader *reader = &table->reader;
  reader_end(reader);
  *rows = &table->kept;
  if (reader->state != kReading) {
    table->kept.length = 0;
    // sysreport writes its code page's bytes: an editor's Unicode is two bytes a character.
    say(table, !reader->any_byte ? "empty file, no report"
               : reader->utf16   ? "UTF-16 text, no report: saved by an editor as Unicode?"
               : reader->binary  ? "binary data, no report"
                                 : "no sysreport banner at its start, no report");
    return 1;
  }
  if (!reader->any_section) {
    table->kept.length = 0;
    say(table, "no section: the switches typed without '-'?");
    return 1;
  }
  bool whole = reader->complete;
  if (!whole && table->kept.length == 0) {
    // The row of what was read, marked incomplete.
    if (table->mode == kTableSummary) write_summary(table);
    *rows = &table->rows;
  }
  if (table->banners > 1)
    say(table, whole ? "two reports in one file (\">>\" for \">\"?): the row is the last one's"
                     : "two reports in one file (\">>\" for \">\"?), the last cut: the row is the last whole one's");
  else if (!whole)
    say(table, "incomplete report (no \"Total time taken\" line)");
  // sysreport ends every line in CR LF: LF alone means an editor or a copy changed the report.
  if (reader->byte_order_mark) say(table, "UTF-8 with a byte-order mark: saved again by an editor?");
  if (reader->lf_ends) say(table, "LF line ends, not sysreport's CR LF: changed since it was written?");
  if (table->overflow) say(table, "the fixed drives' sizes pass 2^64 KB: FixedTotalKB and FixedFreeKB left empty");
  if (reader->out_of_memory || table->out_of_memory) say(table, "out of memory, fields cut");
  if (reader->problem.length) {
    keep(table, text_append(&table->messages, reader->problem.data, reader->problem.length) &&
                    text_append(&table->messages, "\n", 1));
  }
  return table->messages.length ? 1 : 0;
}
