#include "table/report_table.h"

#include <stdlib.h>
#include <string.h>

#include "table/csv.h"

// The summary row's copied fields, in their order.
enum SummaryField {
  kCurrentTime,
  kOsName,
  kEdition,
  kVersion,
  kBuild,
  kServicePack,
  kUptime,
  kInstallTime,
  kOwner,
  kOrganisation,
  kProductId,
  kManufacturer,
  kModel,
  kSerialNumber,
  kProcessor,
  kLogicalProcessors,
  kInstalledMemory,
};

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

enum DriveField { kDriveType, kFreeKb = 9, kTotalKb = 11 };
enum AccountField { kUser, kPrivilege, kFirstFlag, kPasswordAge = 10, kExpired = 14 };
static const int kDisabledFlag = kFirstFlag;
static const int kNoPasswordFlag = kFirstFlag + 1;

// The flag lines of an account block, in the order of their columns.
static const char *const kFlagTexts[] = {"Account is disabled",
                                         "Account has no password",
                                         "Password cannot be changed by user",
                                         "Account is locked",
                                         "Account password does not expire",
                                         "Trusted for delegation",
                                         "Account password has expired",
                                         "Trusted to authenticate for delegation"};

// How the rest of a line after its label becomes a field.
enum ValueKind { kAsIs, kNumber, kKilobytes, kMegabytes, kDuration, kTime };

struct LineRule {
  int where;  // the section, or for the hardware section its block
  const char *label;
  int field;
  ValueKind kind;
};

// Blocks of the hardware section, by their title lines.
static const char *const kHardwareBlocks[] = {"Machine", "BIOS", "Baseboard", "Processors", "Memory"};
enum HardwareBlock { kMachine = 100, kProcessors = 103, kMemory = 104 };

static const LineRule kSummaryRules[] = {
    {kOs, "System Uptime:\t\t", kUptime, kDuration},
    {kOs, "Reg Name:\t\t", kOwner, kAsIs},
    {kOs, "Reg Org.:\t\t", kOrganisation, kAsIs},
    {kOs, "Product ID:\t\t", kProductId, kAsIs},
    {kOs, "Current Time:\t\t", kCurrentTime, kTime},
    {kOs, "Install Time:\t\t", kInstallTime, kTime},
    {kMachine, "Manufacturer          : ", kManufacturer, kAsIs},
    {kMachine, "Model                 : ", kModel, kAsIs},
    {kMachine, "Serial Number         : ", kSerialNumber, kAsIs},
    {kProcessors, "Name                  : ", kProcessor, kAsIs},
    {kProcessors, "Logical Processors    : ", kLogicalProcessors, kNumber},
    {kMemory, "Installed             : ", kInstalledMemory, kMegabytes},
};
static const LineRule kDriveRules[] = {
    {kDrives, "Type                  : ", 0, kAsIs},       {kDrives, "Volume Label          : ", 1, kAsIs},
    {kDrives, "Volume Serial         : ", 2, kAsIs},       {kDrives, "File System           : ", 3, kAsIs},
    {kDrives, "Sectors per cluster   : ", 4, kNumber},     {kDrives, "Bytes per sector      : ", 5, kNumber},
    {kDrives, "Free clusters         : ", 6, kNumber},     {kDrives, "Used clusters         : ", 7, kNumber},
    {kDrives, "Total clusters        : ", 8, kNumber},     {kDrives, "Space free            : ", 9, kKilobytes},
    {kDrives, "Space used            : ", 10, kKilobytes}, {kDrives, "Total space           : ", 11, kKilobytes},
};
static const LineRule kAccountRules[] = {
    {kUsers, "Password Age:\t", kPasswordAge, kDuration},
    {kUsers, "Bad Passwords:\t", 11, kNumber},
    {kUsers, "Total Logons:\t", 12, kNumber},
    {kUsers, "Last Logon:\t", 13, kTime},
};

static const char *const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// The names an OS line may begin with; the edition follows after a blank.
static const char *const kOsNames[] = {"Windows 95",
                                       "Windows 98",
                                       "Windows Millennium Edition",
                                       "Windows NT",
                                       "Windows 2000",
                                       "Windows XP",
                                       "Windows Server 2003 family",
                                       "Windows Vista",
                                       "Windows Server 2008",
                                       "Windows 7",
                                       "Windows Server 2008 R2",
                                       "Windows 8",
                                       "Windows Server 2012",
                                       "Windows 8.1",
                                       "Windows Server 2012 R2",
                                       "Windows 10",
                                       "Windows 11",
                                       "Windows Server 2016",
                                       "Windows Server 2019",
                                       "Windows Server 2022",
                                       "Windows Server 2025",
                                       "Windows Server",
                                       "Azure Stack HCI",
                                       "Windows"};

static const uint32_t kNoLowest = 1000001;

// A piece of a line: its bytes and their count.
struct Span {
  const char *data;
  size_t length;
};

static bool reserve(TableReader *reader, Text *text, size_t needed) {
  if (needed <= text->size) return true;
  size_t size = text->size ? text->size : 64;
  while (size < needed) size *= 2;
  char *data = (char *)realloc(text->data, size);
  if (!data) {
    reader->out_of_memory = true;
    return false;
  }
  text->data = data;
  text->size = size;
  return true;
}

static void append(TableReader *reader, Text *text, const char *data, size_t length) {
  if (length && reserve(reader, text, text->length + length)) {
    memcpy(text->data + text->length, data, length);
    text->length += length;
  }
}

static void set(TableReader *reader, Text *text, const char *data, size_t length) {
  text->length = 0;
  append(reader, text, data, length);
}

static void set_word(TableReader *reader, Text *text, const char *word) { set(reader, text, word, strlen(word)); }

static bool equal(Span span, const char *word) {
  size_t length = strlen(word);
  return span.length == length && memcmp(span.data, word, length) == 0;
}

// True when span begins with label; span then holds the rest.
static bool take_label(Span *span, const char *label) {
  size_t length = strlen(label);
  if (span->length < length || memcmp(span->data, label, length) != 0) return false;
  span->data += length;
  span->length -= length;
  return true;
}

static void note_problem(TableReader *reader, const char *what) {
  if (reader->problem.length) return;
  char where[40];
  sprintf(where, "line %lu: ", (unsigned long)reader->line_number);
  set_word(reader, &reader->problem, where);
  append(reader, &reader->problem, what, strlen(what));
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

// Writes value's digits into text.
static void set_figure(TableReader *reader, Text *text, uint64_t value) {
  char digits[21];
  int count = 0;
  do {
    digits[sizeof digits - 1 - count++] = (char)('0' + value % 10);
    value /= 10;
  } while (value);
  set(reader, text, digits + sizeof digits - count, count);
}

// "1w 2d 3h 4m 5s", from the largest unit that is not zero, in seconds.
static bool read_duration(Span span, uint64_t *seconds) {
  static const char kUnits[] = "wdhms";
  static const uint32_t kUnitSeconds[] = {604800, 86400, 3600, 60, 1};
  *seconds = 0;
  int next_unit = 0;
  size_t i = 0;
  while (i < span.length) {
    uint64_t count = 0;
    size_t digits = 0;
    for (; i < span.length && span.data[i] >= '0' && span.data[i] <= '9' && digits < 10; ++i, ++digits)
      count = count * 10 + (uint64_t)(span.data[i] - '0');
    if (digits == 0 || i == span.length) return false;
    const char *unit = strchr(kUnits + next_unit, span.data[i]);
    if (!unit || !*unit) return false;
    next_unit = (int)(unit - kUnits) + 1;
    *seconds += count * kUnitSeconds[next_unit - 1];
    if (++i == span.length) return next_unit == 5;
    if (span.data[i++] != ' ') return false;
  }
  return false;
}

// ctime's "Sat Jan 05 23:09:20 2008" (the day may also be " 5") as
// "2008-01-05T23:09:20".
static bool read_time(TableReader *reader, Span span, Text *text) {
  static const char kPattern[] = "www mmm dd hh:mm:ss y";
  if (span.length < sizeof kPattern - 1 || span.length > sizeof kPattern + 3 || span.data[3] != ' ' ||
      span.data[7] != ' ' || span.data[10] != ' ' || span.data[13] != ':' || span.data[16] != ':' ||
      span.data[19] != ' ')
    return false;
  int month = 0;
  while (month < 12 && memcmp(span.data + 4, kMonths[month], 3) != 0) ++month;
  uint64_t year = 0;
  uint64_t fields[4];
  static const int kAt[] = {8, 11, 14, 17};
  for (int i = 0; i < 4; ++i) {
    char pair[2] = {span.data[kAt[i]] == ' ' && i == 0 ? '0' : span.data[kAt[i]], span.data[kAt[i] + 1]};
    if (!read_figure(Span{pair, 2}, &fields[i])) return false;
  }
  if (month == 12 || !read_figure(Span{span.data + 20, span.length - 20}, &year)) return false;
  char iso[40];
  int length = sprintf(iso, "%04u-%02d-%02uT%02u:%02u:%02u", (unsigned)year, month + 1, (unsigned)fields[0],
                       (unsigned)fields[1], (unsigned)fields[2], (unsigned)fields[3]);
  set(reader, text, iso, length);
  return true;
}

// Stores the rest of a line after its label as the rule says.
static void store(TableReader *reader, Span value, ValueKind kind, Text *text) {
  uint64_t figure = 0;
  bool understood = true;
  Span number = value;
  if (kind == kKilobytes || kind == kMegabytes) {
    const char *unit = kind == kKilobytes ? " KB" : " MB";
    understood = number.length > 3 && memcmp(number.data + number.length - 3, unit, 3) == 0;
    number.length -= understood ? 3 : 0;
  }
  // A fact the program could not learn reads "Unknown"; times before 1970 too, logons that never were "Never".
  if (kind != kAsIs && (equal(value, "Unknown") || (kind == kTime && equal(value, "Never")))) {
    set(reader, text, kind == kTime ? value.data : "", kind == kTime ? value.length : 0);
    return;
  }
  switch (kind) {
    case kAsIs: set(reader, text, value.data, value.length); return;
    case kNumber:
      // Counts the platform does not keep show as -1.
      understood = equal(value, "-1") || read_figure(value, &figure);
      set(reader, text, value.data, value.length);
      break;
    case kKilobytes:
    case kMegabytes:
      understood = understood && read_figure(number, &figure);
      set(reader, text, number.data, number.length);
      break;
    case kDuration:
      understood = read_duration(value, &figure);
      if (understood) set_figure(reader, text, figure);
      if (!understood) set(reader, text, value.data, value.length);
      break;
    case kTime:
      understood = read_time(reader, value, text);
      if (!understood) set(reader, text, value.data, value.length);
      break;
  }
  if (!understood) note_problem(reader, "a figure or time not understood");
}

static bool apply_rules(TableReader *reader, Span line, int where, const LineRule *rules, size_t count, Text *fields) {
  for (size_t i = 0; i < count; ++i) {
    Span value = line;
    if (rules[i].where != where || !take_label(&value, rules[i].label)) continue;
    store(reader, value, rules[i].kind, &fields[rules[i].field]);
    return true;
  }
  return false;
}

static void write_texts(TableReader *reader, const Text *texts, int count) {
  for (int i = 0; i < count; ++i) csv_field(reader->out, texts[i].data, texts[i].length, false);
}

// "Windows XP Professional (5.1.2600)": the name, the edition, version and build.
static void read_os_line(TableReader *reader, Span value) {
  Text *summary = reader->summary;
  size_t open = value.length;
  while (open > 0 && !(value.data[open - 1] == ' ' && open < value.length && value.data[open] == '(')) --open;
  const char *dots[2] = {NULL, NULL};
  const char *numbers = value.data + open + 1;
  const char *end = value.data + value.length - 1;
  for (const char *p = numbers; open > 0 && p < end; ++p)
    if (*p == '.' && !dots[1]) dots[dots[0] ? 1 : 0] = p;
  if (open == 0 || *end != ')' || !dots[1]) {
    note_problem(reader, "an OS line not understood");
    set(reader, &summary[kOsName], value.data, value.length);
    return;
  }
  set(reader, &summary[kVersion], numbers, dots[1] - numbers);
  set(reader, &summary[kBuild], dots[1] + 1, end - dots[1] - 1);
  Span head = {value.data, open - 1};
  size_t name_length = 0;
  for (const char *name : kOsNames) {
    size_t length = strlen(name);
    if (length > name_length && length <= head.length && memcmp(head.data, name, length) == 0 &&
        (length == head.length || head.data[length] == ' '))
      name_length = length;
  }
  // An unknown name: the whole text is taken as the name, unless it is empty.
  if (name_length == 0 && (head.length == 0 || head.data[0] != ' ')) name_length = head.length;
  set(reader, &summary[kOsName], head.data, name_length);
  size_t skip = name_length < head.length ? name_length + 1 : name_length;
  set(reader, &summary[kEdition], head.data + skip, head.length - skip);
}

// Ends the drive block being read: its row, or its share of the summary.
static void end_drive(TableReader *reader) {
  if (!reader->in_drive) return;
  reader->in_drive = false;
  Text *drive = reader->drive;
  if (reader->mode == kTableDrives) {
    csv_field(reader->out, reader->computer.data, reader->computer.length, true);
    csv_field(reader->out, &reader->drive_letter, 1, false);
    write_texts(reader, drive, kDriveFieldCount);
    csv_end_row(reader->out);
    return;
  }
  if (!equal(Span{drive[kDriveType].data, drive[kDriveType].length}, "Hard Drive")) return;
  ++reader->fixed_drives;
  uint64_t free_kb = 0;
  uint64_t total_kb = 0;
  if (!read_figure(Span{drive[kTotalKb].data, drive[kTotalKb].length}, &total_kb) ||
      !read_figure(Span{drive[kFreeKb].data, drive[kFreeKb].length}, &free_kb))
    return;
  reader->fixed_total_kb += total_kb;
  reader->fixed_free_kb += free_kb;
  if (total_kb == 0) return;
  // Parts per million in whole numbers (the 32-bit program has no floating point), so that two drives of the same
  // tenth of a percent still compare; figures of 16 PB and more are scaled down first, so none overflows.
  uint64_t free_part = free_kb;
  while (total_kb >= (uint64_t)1 << 44) {
    free_part >>= 10;
    total_kb >>= 10;
  }
  uint64_t ppm = free_part >= total_kb ? 1000000 : free_part * 1000000 / total_kb;
  if (ppm < reader->lowest_free_ppm) {
    reader->lowest_free_ppm = (uint32_t)ppm;
    reader->lowest_free_drive = reader->drive_letter;
  }
}

static void add_name(TableReader *reader, Text *list, const Text *name) {
  if (list->length) append(reader, list, ";", 1);
  append(reader, list, name->data, name->length);
}

static bool is_set(const Text *flag) { return flag->length == 1 && flag->data[0] == '1'; }

static void end_account(TableReader *reader) {
  if (!reader->in_account) return;
  reader->in_account = false;
  Text *account = reader->account;
  if (reader->mode == kTableAccounts) {
    csv_field(reader->out, reader->computer.data, reader->computer.length, true);
    write_texts(reader, account, kAccountFieldCount);
    csv_end_row(reader->out);
    return;
  }
  ++reader->accounts;
  bool admin = equal(Span{account[kPrivilege].data, account[kPrivilege].length}, "Admin");
  if (admin) add_name(reader, &reader->administrators, &account[kUser]);
  if (is_set(&account[kDisabledFlag])) return;
  add_name(reader, &reader->enabled, &account[kUser]);
  if (is_set(&account[kNoPasswordFlag])) add_name(reader, &reader->without_password, &account[kUser]);
  if (!admin) return;
  uint64_t age = 0;
  if (!read_figure(Span{account[kPasswordAge].data, account[kPasswordAge].length}, &age)) return;
  if (!reader->has_admin_age || age > reader->oldest_admin_age) reader->oldest_admin_age = age;
  reader->has_admin_age = true;
}

static void start_account(TableReader *reader, Span value) {
  end_account(reader);
  reader->in_account = true;
  Text *account = reader->account;
  for (int i = 0; i < kAccountFieldCount; ++i) set_word(reader, &account[i], i >= kFirstFlag && i < 10 ? "0" : "");
  set_word(reader, &account[kExpired], "0");
  // "name (Admin)": the privilege is in the last parentheses, after a blank.
  size_t open = value.length;
  while (open > 1 && !(value.data[open - 1] == '(' && value.data[open - 2] == ' ')) --open;
  if (open <= 1 || value.data[value.length - 1] != ')') {
    note_problem(reader, "a user line not understood");
    set(reader, &account[kUser], value.data, value.length);
    return;
  }
  set(reader, &account[kUser], value.data, open - 2);
  set(reader, &account[kPrivilege], value.data + open, value.length - open - 1);
}

static void read_flag(TableReader *reader, Span flag) {
  for (size_t i = 0; i < sizeof kFlagTexts / sizeof kFlagTexts[0]; ++i)
    if (equal(flag, kFlagTexts[i])) set_word(reader, &reader->account[kFirstFlag + i], "1");
}

static void read_users_line(TableReader *reader, Span line) {
  Span value = line;
  if (take_label(&value, "User:\t\t")) return start_account(reader, value);
  if (!reader->in_account) return;
  if (take_label(&value, "Flags: ")) {
    if (take_label(&value, "\t\t")) read_flag(reader, value);
  } else if (take_label(&value, "\t\t")) {
    read_flag(reader, value);
  } else if (equal(line, "*** Password has expired ***")) {
    set_word(reader, &reader->account[kExpired], "1");
  } else {
    apply_rules(reader, line, kUsers, kAccountRules, sizeof kAccountRules / sizeof kAccountRules[0], reader->account);
  }
}

static void read_drives_line(TableReader *reader, Span line) {
  Span value = line;
  if (take_label(&value, "Drive ") && value.length == 1) {
    end_drive(reader);
    reader->in_drive = true;
    reader->drive_letter = value.data[0];
    for (int i = 0; i < kDriveFieldCount; ++i) reader->drive[i].length = 0;
    return;
  }
  if (!reader->in_drive) return;
  if (take_label(&value, "No media present (") && value.length && value.data[value.length - 1] == ')') {
    set(reader, &reader->drive[kDriveType], value.data, value.length - 1);
    return;
  }
  apply_rules(reader, line, kDrives, kDriveRules, sizeof kDriveRules / sizeof kDriveRules[0], reader->drive);
}

// Section titles, by the section they open.
static const struct {
  ReportSection section;
  const char *title;
} kTitles[] = {{kOs, "Operating System Information"},
               {kDrives, "Drive Information"},
               {kDevices, "Devices"},
               {kUsers, "User Accounts"},
               {kHardware, "Hardware Information"}};

static bool all_of(Span line, char c) {
  for (size_t i = 0; i < line.length; ++i)
    if (line.data[i] != c) return false;
  return line.length > 0;
}

static void read_banner_line(TableReader *reader, Span line) {
  if (line.length == 0 || all_of(line, '-')) return;
  Span rest = line;
  if (take_label(&rest, " QUORVEL v")) {
    reader->section = kOutside;
    return;
  }
  for (size_t i = 0; i < line.length; ++i)
    if ((unsigned char)line.data[i] < 0x20 && line.data[i] != '\t') reader->binary = true;
  reader->section = kRejected;
}

// Reads one line; ended: it came with its line feed.
static void read_line(TableReader *reader, Span line, bool ended) {
  ++reader->line_number;
  if (line.length && line.data[line.length - 1] == '\r')
    --line.length;
  else if (ended)
    reader->lf_ends = true;
  if (reader->section == kBeforeBanner) return read_banner_line(reader, line);
  if (reader->section == kRejected || reader->complete) return;
  bool stars = all_of(line, '*');
  bool title = reader->previous_stars;
  reader->previous_stars = stars;
  if (stars) return;
  for (size_t i = 0; title && i < sizeof kTitles / sizeof kTitles[0]; ++i) {
    if (!equal(line, kTitles[i].title)) continue;
    end_drive(reader);
    end_account(reader);
    reader->section = kTitles[i].section;
    reader->hardware_block = 0;
    return;
  }
  Span value = line;
  if (take_label(&value, "Total time taken: ")) {
    end_drive(reader);
    end_account(reader);
    reader->complete = true;
    return;
  }
  if (reader->mode == kTableDrives) {
    if (reader->section == kDrives) read_drives_line(reader, line);
    return;
  }
  if (reader->mode == kTableAccounts) {
    if (reader->section == kUsers) read_users_line(reader, line);
    return;
  }
  switch (reader->section) {
    case kOs:
      if (take_label(&value, "Operating System:\t")) return read_os_line(reader, value);
      if (take_label(&value, "Service Pack:\t\t")) {
        // "Service Pack 3 (3.0)": the text without the numbers.
        size_t length = value.length;
        while (length > 0 && value.data[length - 1] != '(') --length;
        set(reader, &reader->summary[kServicePack], value.data, length > 1 ? length - 2 : value.length);
        return;
      }
      apply_rules(reader, line, kOs, kSummaryRules, sizeof kSummaryRules / sizeof kSummaryRules[0], reader->summary);
      return;
    case kDrives: return read_drives_line(reader, line);
    case kUsers: return read_users_line(reader, line);
    case kHardware:
      for (int i = 0; i < 5; ++i)
        if (equal(line, kHardwareBlocks[i])) reader->hardware_block = kMachine + i;
      apply_rules(reader, line, reader->hardware_block, kSummaryRules, sizeof kSummaryRules / sizeof kSummaryRules[0],
                  reader->summary);
      return;
    default: return;
  }
}

void table_open(TableReader *reader, TableMode mode, FILE *out) {
  memset(reader, 0, sizeof *reader);
  reader->mode = mode;
  reader->out = out;
}

void table_release(TableReader *reader) {
  Text *texts[] = {&reader->line,    &reader->computer,       &reader->problem,
                   &reader->enabled, &reader->administrators, &reader->without_password};
  for (Text *text : texts) free(text->data);
  for (Text &text : reader->summary) free(text.data);
  for (Text &text : reader->drive) free(text.data);
  for (Text &text : reader->account) free(text.data);
  memset(reader, 0, sizeof *reader);
}

void table_write_header(TableReader *reader) {
  const char *const *names = kSummaryHeader;
  size_t count = sizeof kSummaryHeader / sizeof kSummaryHeader[0];
  if (reader->mode == kTableDrives) {
    names = kDriveHeader;
    count = sizeof kDriveHeader / sizeof kDriveHeader[0];
  } else if (reader->mode == kTableAccounts) {
    names = kAccountHeader;
    count = sizeof kAccountHeader / sizeof kAccountHeader[0];
  }
  for (size_t i = 0; i < count; ++i) csv_text(reader->out, names[i], i == 0);
  csv_end_row(reader->out);
}

void table_begin(TableReader *reader, const char *name, size_t length) {
  set(reader, &reader->computer, name, length);
  reader->line.length = 0;
  reader->problem.length = 0;
  reader->line_number = 0;
  reader->section = kBeforeBanner;
  reader->hardware_block = 0;
  reader->previous_stars = false;
  reader->complete = false;
  reader->binary = false;
  reader->any_byte = false;
  reader->lf_ends = false;
  reader->out_of_memory = false;
  for (Text &text : reader->summary) text.length = 0;
  reader->fixed_drives = 0;
  reader->fixed_total_kb = 0;
  reader->fixed_free_kb = 0;
  reader->lowest_free_ppm = kNoLowest;
  reader->lowest_free_drive = 0;
  reader->accounts = 0;
  reader->enabled.length = 0;
  reader->administrators.length = 0;
  reader->without_password.length = 0;
  reader->has_admin_age = false;
  reader->oldest_admin_age = 0;
  reader->in_drive = false;
  reader->in_account = false;
}

// Longer than any line before the banner: a file without line ends is not
// held whole to find that out.
static const size_t kLongestBannerLine = 256;

void table_feed(TableReader *reader, const char *bytes, size_t length) {
  if (length) reader->any_byte = true;
  while (length && reader->section != kRejected && !reader->complete) {
    const char *end = (const char *)memchr(bytes, '\n', length);
    if (!end && reader->section == kBeforeBanner && reader->line.length + length > kLongestBannerLine) {
      append(reader, &reader->line, bytes, length);
      read_line(reader, Span{reader->line.data, reader->line.length}, false);
      reader->line.length = 0;
      return;
    }
    if (!end) {
      append(reader, &reader->line, bytes, length);
      return;
    }
    size_t piece = (size_t)(end - bytes);
    if (reader->line.length) {
      append(reader, &reader->line, bytes, piece);
      read_line(reader, Span{reader->line.data, reader->line.length}, true);
      reader->line.length = 0;
    } else {
      read_line(reader, Span{bytes, piece}, true);
    }
    bytes = end + 1;
    length -= piece + 1;
  }
}

static void write_figure(TableReader *reader, bool known, uint64_t value) {
  Text *scratch = &reader->line;
  scratch->length = 0;
  if (known) set_figure(reader, scratch, value);
  csv_field(reader->out, scratch->data, scratch->length, false);
}

static void write_summary(TableReader *reader) {
  FILE *out = reader->out;
  csv_field(out, reader->computer.data, reader->computer.length, true);
  write_texts(reader, reader->summary, kSummaryTextCount);
  bool drives = reader->fixed_drives > 0;
  write_figure(reader, drives, reader->fixed_drives);
  write_figure(reader, drives, reader->fixed_total_kb);
  write_figure(reader, drives, reader->fixed_free_kb);
  char percent[16] = "";
  uint32_t ppm = reader->lowest_free_ppm;
  if (ppm != kNoLowest) sprintf(percent, "%u.%u", (unsigned)(ppm / 10000), (unsigned)(ppm / 1000 % 10));
  csv_text(out, percent, false);
  csv_field(out, &reader->lowest_free_drive, ppm != kNoLowest ? 1 : 0, false);
  bool users = reader->accounts > 0;
  write_figure(reader, users, reader->accounts);
  csv_field(out, reader->enabled.data, reader->enabled.length, false);
  csv_field(out, reader->administrators.data, reader->administrators.length, false);
  csv_field(out, reader->without_password.data, reader->without_password.length, false);
  write_figure(reader, reader->has_admin_age, reader->oldest_admin_age);
  csv_text(out, reader->complete ? "1" : "0", false);
  csv_end_row(out);
}

int table_end(TableReader *reader) {
  if (reader->line.length) {
    // A last line without its line end.
    Text last = reader->line;
    reader->line.length = 0;
    read_line(reader, Span{last.data, last.length}, false);
  }
  if (reader->section == kBeforeBanner || reader->section == kRejected) {
    const char *what = !reader->any_byte ? "empty file, no report"
                       : reader->binary  ? "binary data, no report"
                                         : "no sysreport banner at its start, no report";
    set_word(reader, &reader->problem, what);
    return 1;
  }
  end_drive(reader);
  end_account(reader);
  if (reader->mode == kTableSummary) write_summary(reader);
  if (reader->complete && !reader->out_of_memory && !reader->lf_ends && reader->problem.length == 0) return 0;
  Text detail = reader->problem;
  reader->problem = Text{NULL, 0, 0};
  // sysreport ends every line in CR LF: LF alone means an editor or a copy changed the report.
  const char *what = reader->out_of_memory ? "out of memory, fields cut"
                     : !reader->complete   ? "incomplete report (no \"Total time taken\" line)"
                     : reader->lf_ends     ? "LF line ends, not sysreport's CR LF: changed since it was written?"
                                           : "";
  set_word(reader, &reader->problem, what);
  if (detail.length && *what) append(reader, &reader->problem, "; ", 2);
  append(reader, &reader->problem, detail.data, detail.length);
  free(detail.data);
  return 1;
}
