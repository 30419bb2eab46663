#include "table/report_reader.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "os/os_names.h"
#include "report/words.h"

// A word of words.h (an array) as a span: its length known when compiled, not counted at every line.
template <size_t N>
constexpr Span word(const char (&text)[N]) {
  return Span{text, N - 1};
}

// How the rest of a line after its label becomes a field.
enum ValueKind { kAsIs, kNumber, kKilobytes, kMegabytes, kDuration, kTime, kList };

// A label as the OS and users sections print it (its own tabs), or one padded to kLabelWidth and ": ".
enum LabelStyle { kPrefix, kPadded };

struct LineRule {
  Span label;
  LabelStyle style;
  int field;
  ValueKind kind;
};

// The sections by their titles; a report holds each once.
static const Span kTitles[] = {word(kTitleOs),       word(kTitleDrives),  word(kTitleDevices), word(kTitleUsers),
                               word(kTitleHardware), word(kTitleNetwork), word(kTitlePrograms)};
enum Section { kOs, kDrives, kDevices, kUsers, kHardware, kNetwork, kPrograms, kSkipped = 100 };

// Blocks by their titles, in each section that has them.
static const Span kHardwareBlocks[] = {word(kBlockMachine), word(kBlockBios), word(kBlockBaseboard),
                                       word(kBlockProcessors), word(kBlockMemory)};
enum HardwareBlock { kMachine, kBios, kBaseboard, kProcessors, kMemory };
static const Span kNetworkBlocks[] = {word(kBlockIdentity), word(kBlockAdapters)};
enum NetworkBlock { kIdentity, kAdapters };
static const Span kProgramsBlocks[] = {word(kBlockWindows), word(kBlockPrograms), word(kBlockUpdates)};
enum ProgramsBlock { kWindows, kProgramList, kUpdateList };

static const LineRule kOsRules[] = {
    {word(kOsUptime), kPrefix, kOsUptimeField, kDuration},
    {word(kOsOwner), kPrefix, kOsOwnerField, kAsIs},
    {word(kOsOrganisation), kPrefix, kOsOrganisationField, kAsIs},
    {word(kOsProductId), kPrefix, kOsProductIdField, kAsIs},
    {word(kOsCurrentTime), kPrefix, kOsCurrentTimeField, kTime},
    {word(kOsInstallTime), kPrefix, kOsInstallTimeField, kTime},
};
static const LineRule kDriveRules[] = {
    {word(kDriveType), kPadded, 1, kAsIs},
    {word(kDriveLabel), kPadded, 2, kAsIs},
    {word(kDriveSerial), kPadded, 3, kAsIs},
    {word(kDriveFileSystem), kPadded, 4, kAsIs},
    {word(kDriveSectors), kPadded, 5, kNumber},
    {word(kDriveBytesPerSector), kPadded, 6, kNumber},
    {word(kDriveFreeClusters), kPadded, 7, kNumber},
    {word(kDriveUsedClusters), kPadded, 8, kNumber},
    {word(kDriveTotalClusters), kPadded, 9, kNumber},
    {word(kDriveSpaceFree), kPadded, 10, kKilobytes},
    {word(kDriveSpaceUsed), kPadded, 11, kKilobytes},
    {word(kDriveTotalSpace), kPadded, 12, kKilobytes},
};
static const LineRule kAccountRules[] = {
    {word(kAccountPasswordAge), kPrefix, kAccountPasswordAgeField, kDuration},
    {word(kAccountBadPasswords), kPrefix, 11, kNumber},
    {word(kAccountLogons), kPrefix, 12, kNumber},
    {word(kAccountLastLogon), kPrefix, 13, kTime},
};
static const LineRule kMachineRules[] = {{word(kHwManufacturer), kPadded, 0, kAsIs},
                                         {word(kHwModel), kPadded, 1, kAsIs},
                                         {word(kHwSerial), kPadded, 2, kAsIs}};
static const LineRule kProcessorRules[] = {{word(kHwProcessorName), kPadded, 3, kAsIs},
                                           {word(kHwLogical), kPadded, 4, kNumber}};
static const LineRule kMemoryRules[] = {{word(kHwInstalled), kPadded, 5, kMegabytes}};
static const LineRule kIdentityRules[] = {
    {word(kNetComputerName), kPadded, 0, kAsIs}, {word(kNetDnsHostName), kPadded, 1, kAsIs},
    {word(kNetDnsDomain), kPadded, 2, kAsIs},    {word(kNetDomain), kPadded, 3, kAsIs},
    {word(kNetJoinState), kPadded, 4, kAsIs},    {word(kNetRole), kPadded, 5, kAsIs},
    {word(kNetTimeZone), kPadded, 6, kAsIs},     {word(kNetUtcOffset), kPadded, 7, kAsIs},
    {word(kNetBootTime), kPadded, 8, kAsIs},     {word(kNetLastUser), kPadded, 9, kAsIs},
    {word(kNetCodePage), kPadded, 10, kAsIs},    {word(kNetSystemLocale), kPadded, 11, kAsIs},
};
static const LineRule kAdapterRules[] = {
    {word(kNetDescription), kPadded, 1, kAsIs}, {word(kNetType), kPadded, 2, kAsIs},
    {word(kNetStatus), kPadded, 3, kAsIs},      {word(kNetMac), kPadded, 4, kAsIs},
    {word(kNetSpeed), kPadded, 5, kAsIs},       {word(kNetIpv4), kPadded, 6, kList},
    {word(kNetIpv6), kPadded, 7, kList},        {word(kNetGateway), kPadded, 8, kList},
    {word(kNetDnsServer), kPadded, 9, kList},   {word(kNetDnsSuffix), kPadded, 10, kAsIs},
    {word(kNetDhcp), kPadded, 11, kAsIs},       {word(kNetDhcpServer), kPadded, 12, kAsIs},
};
static const LineRule kWindowsRules[] = {
    {word(kProgDisplayVersion), kPadded, 0, kAsIs}, {word(kProgBuild), kPadded, 1, kAsIs},
    {word(kProgServicePack), kPadded, 2, kAsIs},    {word(kProgPrograms), kPadded, 3, kNumber},
    {word(kProgUpdates), kPadded, 4, kNumber},      {word(kProgLatestUpdate), kPadded, 5, kAsIs},
};

// The flag lines of an account block, in the order of their fields.
static const Span kFlagTexts[] = {word(kFlagDisabled), word(kFlagNoPassword),    word(kFlagCannotChange),
                                  word(kFlagLocked),   word(kFlagNeverExpires),  word(kFlagDelegation),
                                  word(kFlagExpired),  word(kFlagAuthDelegation)};

static const char *const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

bool text_append(Text *text, const char *data, size_t length) {
  if (length == 0) return true;
  size_t needed = text->length + length;
  if (needed > text->size) {
    size_t size = text->size ? text->size : 64;
    while (size < needed) size *= 2;
    char *grown = (char *)realloc(text->data, size);
    if (!grown) return false;
    text->data = grown;
    text->size = size;
  }
  memcpy(text->data + text->length, data, length);
  text->length += length;
  return true;
}

static void append(ReportReader *reader, Text *text, const char *data, size_t length) {
  if (!text_append(text, data, length)) reader->out_of_memory = true;
}

static void set(ReportReader *reader, Text *text, const char *data, size_t length) {
  text->length = 0;
  append(reader, text, data, length);
}

static bool equal(Span span, Span word) {
  return span.length == word.length && memcmp(span.data, word.data, word.length) == 0;
}

// True when span begins with label; span then holds the rest.
static bool take_label(Span *span, Span label) {
  if (span->length < label.length || span->data[0] != label.data[0] ||
      memcmp(span->data, label.data, label.length) != 0)
    return false;
  span->data += label.length;
  span->length -= label.length;
  return true;
}

// True when span begins with label padded to kLabelWidth and ": ".
static bool take_padded(Span *span, Span label) {
  size_t width = (size_t)kLabelWidth;
  if (span->length < width + 2 || span->data[0] != label.data[0] || span->data[width] != ':' ||
      span->data[width + 1] != ' ' || memcmp(span->data, label.data, label.length) != 0)
    return false;
  for (size_t i = label.length; i < width; ++i)
    if (span->data[i] != ' ') return false;
  span->data += width + 2;
  span->length -= width + 2;
  return true;
}

static bool all_of(Span line, char c) {
  for (size_t i = 0; i < line.length; ++i)
    if (line.data[i] != c) return false;
  return line.length > 0;
}

static void note_problem(ReportReader *reader, const char *what) {
  if (reader->problem.length) return;
  char where[40];
  int length = sprintf(where, "line %lu: ", (unsigned long)reader->line_number);
  set(reader, &reader->problem, where, (size_t)length);
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

static void set_figure(ReportReader *reader, Text *text, uint64_t value) {
  char digits[21];
  int count = 0;
  do {
    digits[sizeof digits - 1 - count++] = (char)('0' + value % 10);
    value /= 10;
  } while (value);
  set(reader, text, digits + sizeof digits - count, (size_t)count);
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

// ctime's "Sat Jan 05 23:09:20 2008" (the day may also be " 5") as "2008-01-05T23:09:20".
static bool read_time(ReportReader *reader, Span span, Text *text) {
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
  if (year > 9999) return false;
  char iso[] = "YYYY-MM-DDThh:mm:ss";
  unsigned parts[] = {(unsigned)year / 100, (unsigned)year % 100, (unsigned)month + 1, (unsigned)fields[0],
                      (unsigned)fields[1],  (unsigned)fields[2],  (unsigned)fields[3]};
  static const int kIsoAt[] = {0, 2, 5, 8, 11, 14, 17};
  for (int i = 0; i < 7; ++i) {
    iso[kIsoAt[i]] = (char)('0' + parts[i] / 10);
    iso[kIsoAt[i] + 1] = (char)('0' + parts[i] % 10);
  }
  set(reader, text, iso, sizeof iso - 1);
  return true;
}

// Stores the rest of a line after its label as the rule says.
static void store(ReportReader *reader, Span value, ValueKind kind, Text *text) {
  uint64_t figure = 0;
  bool understood = true;
  Span number = value;
  if (kind == kKilobytes || kind == kMegabytes) {
    const char *unit = kind == kKilobytes ? " KB" : " MB";
    understood = number.length > 3 && memcmp(number.data + number.length - 3, unit, 3) == 0;
    number.length -= understood ? 3 : 0;
  }
  // A fact the program could not learn reads "Unknown"; times before 1970 too, logons that never were "Never".
  if (kind != kAsIs && kind != kList &&
      (equal(value, word(kUnknown)) || (kind == kTime && equal(value, word(kAccountNever))))) {
    set(reader, text, value.data, kind == kTime ? value.length : 0);
    return;
  }
  switch (kind) {
    case kAsIs: set(reader, text, value.data, value.length); return;
    case kList:
      if (equal(value, word(kNone))) return;
      if (text->length) append(reader, text, ";", 1);
      append(reader, text, value.data, value.length);
      return;
    case kNumber:
      // Counts the platform does not keep show as -1.
      understood = equal(value, word("-1")) || read_figure(value, &figure);
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

// Applies the first rule whose label begins line to the record being gathered; false when none does.
static bool apply_rules(ReportReader *reader, Span line, const LineRule *rules, size_t count) {
  if (!reader->open) return false;
  for (size_t i = 0; i < count; ++i) {
    Span value = line;
    if (!(rules[i].style == kPrefix ? take_label(&value, rules[i].label) : take_padded(&value, rules[i].label)))
      continue;
    store(reader, value, rules[i].kind, &reader->fields[rules[i].field]);
    return true;
  }
  return false;
}

static void emit(ReportReader *reader, RecordKind kind, const Span *fields, int count) {
  Record record = {kind, fields, count, reader->line_number};
  reader->sink(reader->context, &record);
}

// Hands on the record being gathered, if any.
static void close_record(ReportReader *reader) {
  if (!reader->open) return;
  reader->open = false;
  for (int i = 0; i < reader->open_count; ++i)
    reader->spans[i] = Span{reader->fields[i].data, reader->fields[i].length};
  emit(reader, reader->open_kind, reader->spans, reader->open_count);
}

static void open_record(ReportReader *reader, RecordKind kind, int count) {
  close_record(reader);
  reader->open = true;
  reader->open_kind = kind;
  reader->open_count = count;
  for (int i = 0; i < count; ++i) reader->fields[i].length = 0;
}

static void emit_error(ReportReader *reader, Span line) {
  Span fields[2] = {line, kTitles[reader->section]};
  emit(reader, kRecordError, fields, 2);
}

// "Windows XP Professional (5.1.2600)": the name (the longest of the naming rules' names that the text begins
// with, before a blank), the edition, the version and the build.
static void read_os_line(ReportReader *reader, Span value) {
  Text *fields = reader->fields;
  size_t open = value.length;
  while (open > 0 && !(value.data[open - 1] == ' ' && open < value.length && value.data[open] == '(')) --open;
  const char *dots[2] = {NULL, NULL};
  const char *numbers = value.data + open + 1;
  const char *end = value.data + value.length - 1;
  for (const char *p = numbers; open > 0 && p < end; ++p)
    if (*p == '.' && !dots[1]) dots[dots[0] ? 1 : 0] = p;
  if (open == 0 || *end != ')' || !dots[1]) {
    note_problem(reader, "an OS line not understood");
    set(reader, &fields[kOsNameField], value.data, value.length);
    return;
  }
  set(reader, &fields[kOsVersionField], numbers, (size_t)(dots[1] - numbers));
  set(reader, &fields[kOsBuildField], dots[1] + 1, (size_t)(end - dots[1] - 1));
  Span head = {value.data, open - 1};
  size_t name_length = 0;
  for (const char *name : kOsNames) {
    size_t length = strlen(name);
    if (length > name_length && length <= head.length && memcmp(head.data, name, length) == 0 &&
        (length == head.length || head.data[length] == ' '))
      name_length = length;
  }
  // A name that no rule gives: the whole text is taken as the name, unless it is empty.
  if (name_length == 0 && (head.length == 0 || head.data[0] != ' ')) name_length = head.length;
  set(reader, &fields[kOsNameField], head.data, name_length);
  size_t skip = name_length < head.length ? name_length + 1 : name_length;
  set(reader, &fields[kOsEditionField], head.data + skip, head.length - skip);
}

static void read_os(ReportReader *reader, Span line) {
  Span value = line;
  if (equal(line, word(kRegError))) return emit_error(reader, line);
  if (take_label(&value, word(kOsName))) return read_os_line(reader, value);
  if (take_label(&value, word(kOsServicePack))) {
    // "Service Pack 3 (3.0)": the text without the numbers.
    size_t length = value.length;
    while (length > 0 && value.data[length - 1] != '(') --length;
    set(reader, &reader->fields[kOsServicePackField], value.data, length > 1 ? length - 2 : value.length);
    return;
  }
  apply_rules(reader, line, kOsRules, sizeof kOsRules / sizeof kOsRules[0]);
}

static void read_drives(ReportReader *reader, Span line) {
  Span value = line;
  if (take_label(&value, word(kDriveTitle)) && value.length == 1) {
    open_record(reader, kRecordDrive, kDriveFieldCount);
    set(reader, &reader->fields[kDriveLetterField], value.data, 1);
    return;
  }
  if (!reader->open) return;
  if (take_label(&value, word(kDriveNoMedia)) && value.length && value.data[value.length - 1] == ')') {
    set(reader, &reader->fields[kDriveTypeField], value.data, value.length - 1);
    return;
  }
  apply_rules(reader, line, kDriveRules, sizeof kDriveRules / sizeof kDriveRules[0]);
}

static void read_devices(ReportReader *reader, Span line) {
  Span value = line;
  if (take_label(&value, word(kClassTooLong)) || equal(line, word(kBadClass))) emit_error(reader, line);
}

static void read_flag(ReportReader *reader, Span flag) {
  for (size_t i = 0; i < sizeof kFlagTexts / sizeof kFlagTexts[0]; ++i)
    if (equal(flag, kFlagTexts[i])) set(reader, &reader->fields[kAccountDisabledField + i], "1", 1);
}

static void start_account(ReportReader *reader, Span value) {
  open_record(reader, kRecordAccount, kAccountFieldCount);
  Text *fields = reader->fields;
  for (int i = kAccountDisabledField; i < kAccountPasswordAgeField; ++i) set(reader, &fields[i], "0", 1);
  set(reader, &fields[kAccountExpiredField], "0", 1);
  // "name (Admin)": the privilege is in the last parentheses, after a blank.
  size_t open = value.length;
  while (open > 1 && !(value.data[open - 1] == '(' && value.data[open - 2] == ' ')) --open;
  if (open <= 1 || value.data[value.length - 1] != ')') {
    note_problem(reader, "a user line not understood");
    set(reader, &fields[kAccountUserField], value.data, value.length);
    return;
  }
  set(reader, &fields[kAccountUserField], value.data, open - 2);
  set(reader, &fields[kAccountPrivilegeField], value.data + open, value.length - open - 1);
}

static void read_users(ReportReader *reader, Span line) {
  Span value = line;
  if (take_label(&value, word(kAccountUser))) return start_account(reader, value);
  if (take_label(&value, word(kNue))) {
    close_record(reader);
    return emit_error(reader, line);
  }
  if (!reader->open) return;
  if (take_label(&value, word(kAccountFlagsLabel))) {
    if (take_label(&value, word(kAccountFlagIndent))) read_flag(reader, value);
  } else if (take_label(&value, word(kAccountFlagIndent))) {
    read_flag(reader, value);
  } else if (equal(line, word(kAccountExpired))) {
    set(reader, &reader->fields[kAccountExpiredField], "1", 1);
  } else {
    apply_rules(reader, line, kAccountRules, sizeof kAccountRules / sizeof kAccountRules[0]);
  }
}

// The block a title line opens, or -1.
static int block_of(Span line, const Span *titles, int count) {
  for (int i = 0; i < count; ++i)
    if (equal(line, titles[i])) return i;
  return -1;
}

static void read_hardware(ReportReader *reader, Span line) {
  int block = block_of(line, kHardwareBlocks, 5);
  if (block >= 0) {
    reader->block = block;
    return;
  }
  if (reader->block == kMachine) apply_rules(reader, line, kMachineRules, sizeof kMachineRules / sizeof *kMachineRules);
  if (reader->block == kProcessors)
    apply_rules(reader, line, kProcessorRules, sizeof kProcessorRules / sizeof *kProcessorRules);
  if (reader->block == kMemory) apply_rules(reader, line, kMemoryRules, 1);
}

static void read_network(ReportReader *reader, Span line) {
  int block = block_of(line, kNetworkBlocks, 2);
  if (block >= 0) {
    close_record(reader);
    reader->block = block;
    if (block == kIdentity) open_record(reader, kRecordIdentity, kIdentityFieldCount);
    return;
  }
  if (reader->block == kIdentity) {
    apply_rules(reader, line, kIdentityRules, sizeof kIdentityRules / sizeof *kIdentityRules);
    return;
  }
  if (reader->block != kAdapters) return;
  Span value = line;
  if (take_padded(&value, word(kNetAdapter))) {
    close_record(reader);
    // "Adapter : Unknown" alone: this Windows cannot list them; "Adapter : None": it has none.
    if (equal(value, word(kUnknown)) || equal(value, word(kNone))) return;
    open_record(reader, kRecordAdapter, kAdapterFieldCount);
    set(reader, &reader->fields[0], value.data, value.length);
    return;
  }
  apply_rules(reader, line, kAdapterRules, sizeof kAdapterRules / sizeof *kAdapterRules);
}

// A line of the Programs or Updates list: its fields apart by tabs, handed on as they stand; the list's header line
// passed over.
static void read_list_line(ReportReader *reader, Span line) {
  RecordKind kind = reader->list_kind;
  Span header = kind == kRecordProgram ? word(kProgramsHeader) : word(kUpdatesHeader);
  int count = kind == kRecordProgram ? (int)kProgramFieldCount : (int)kUpdateFieldCount;
  bool wanted = (reader->wanted & (1u << kind)) != 0;
  // A list nobody takes is passed over to its end at once (see skip_list).
  reader->skipping = !wanted;
  if (!wanted || equal(line, header)) return;
  Span fields[kMostFields];
  int found = 0;
  const char *at = line.data;
  const char *end = line.data + line.length;
  while (found < count) {
    const char *tab = (const char *)memchr(at, kFieldSeparator, (size_t)(end - at));
    const char *stop = tab ? tab : end;
    fields[found++] = Span{at, (size_t)(stop - at)};
    if (!tab) break;
    at = tab + 1;
  }
  if (found != count || fields[count - 1].data + fields[count - 1].length != end) {
    note_problem(reader, "a list line without its fields");
    return;
  }
  emit(reader, kind, fields, count);
}

static void read_programs(ReportReader *reader, Span line) {
  int block = block_of(line, kProgramsBlocks, 3);
  if (block >= 0) {
    close_record(reader);
    reader->block = block;
    reader->list_kind = block == kProgramList ? kRecordProgram : block == kUpdateList ? kRecordUpdate : kRecordBanner;
    if (block == kWindows) open_record(reader, kRecordWindows, kWindowsFieldCount);
    return;
  }
  if (reader->block == kWindows) apply_rules(reader, line, kWindowsRules, sizeof kWindowsRules / sizeof *kWindowsRules);
}

static void start_section(ReportReader *reader, int section) {
  close_record(reader);
  reader->list_kind = kRecordBanner;
  reader->block = -1;
  reader->any_section = true;
  if (reader->seen & (1u << section)) {
    // -SS and -UU print their section twice: the first counts.
    reader->section = kSkipped;
    char what[80];
    sprintf(what, "the section \"%.*s\" again (a switch letter twice?): read once", (int)kTitles[section].length,
            kTitles[section].data);
    note_problem(reader, what);
    return;
  }
  reader->seen |= 1u << section;
  reader->section = section;
  emit(reader, kRecordSection, &kTitles[section], 1);
  if (section == kOs) open_record(reader, kRecordOs, kOsFieldCount);
  if (section == kHardware) open_record(reader, kRecordHardware, kHardwareFieldCount);
}

static void start_report(ReportReader *reader) {
  close_record(reader);
  reader->list_kind = kRecordBanner;
  reader->state = kReading;
  reader->section = -1;
  reader->seen = 0;
  reader->complete = false;
  emit(reader, kRecordBanner, NULL, 0);
}

// A line before the banner: the banner's rule, the banner, or what makes the file no report.
static void read_banner_line(ReportReader *reader, Span line) {
  if (line.length == 0 || all_of(line, '-')) return;
  Span rest = line;
  if (take_label(&rest, word(kBannerProduct))) return start_report(reader);
  // UTF-16 text of the banner's ASCII: every other byte a NUL, and only those.
  bool alternate = line.length >= 2;
  size_t nul_parity = line.length && line.data[0] == '\0' ? 0 : 1;
  for (size_t i = 0; i < line.length; ++i) {
    if ((unsigned char)line.data[i] < 0x20 && line.data[i] != '\t') reader->binary = true;
    if ((line.data[i] == '\0') != (i % 2 == nul_parity)) alternate = false;
  }
  reader->utf16 = alternate;
  reader->state = kRejected;
}

static void read_line(ReportReader *reader, Span line, bool ended) {
  ++reader->line_number;
  if (line.length && line.data[line.length - 1] == '\r')
    --line.length;
  else if (ended)
    reader->lf_ends = true;
  // The lists' lines, most of a report with -P, and the only lines of the section with a tab.
  if (reader->list_kind != kRecordBanner && !reader->complete && memchr(line.data, kFieldSeparator, line.length)) {
    reader->previous_dashes = false;
    reader->previous_stars = false;
    return read_list_line(reader, line);
  }
  if (reader->line_number == 1 && line.length >= 2) {
    unsigned char first = (unsigned char)line.data[0];
    unsigned char second = (unsigned char)line.data[1];
    if ((first == 0xFF && second == 0xFE) || (first == 0xFE && second == 0xFF)) {
      reader->utf16 = true;
      reader->state = kRejected;
      return;
    }
    if (line.length >= 3 && first == 0xEF && second == 0xBB && (unsigned char)line.data[2] == 0xBF) {
      reader->byte_order_mark = true;
      line.data += 3;
      line.length -= 3;
    }
  }
  bool dashes = all_of(line, '-');
  bool after_dashes = reader->previous_dashes;
  reader->previous_dashes = dashes;
  if (reader->state == kBeforeBanner) return read_banner_line(reader, line);
  if (reader->state == kRejected) return;
  Span value = line;
  // A second report in the same file (">>" instead of ">"): its banner starts it afresh.
  if (after_dashes && take_label(&value, word(kBannerProduct))) return start_report(reader);
  if (reader->complete) return;
  bool stars = all_of(line, '*');
  bool title = reader->previous_stars;
  reader->previous_stars = stars;
  if (stars) return;
  if (title) {
    for (int i = 0; i < (int)(sizeof kTitles / sizeof kTitles[0]); ++i)
      if (equal(line, kTitles[i])) return start_section(reader, i);
  }
  if (take_label(&value, word(kTotalTime))) {
    close_record(reader);
    reader->list_kind = kRecordBanner;
    reader->complete = true;
    reader->section = -1;
    emit(reader, kRecordEnd, NULL, 0);
    return;
  }
  switch (reader->section) {
    case kOs: return read_os(reader, line);
    case kDrives: return read_drives(reader, line);
    case kDevices: return read_devices(reader, line);
    case kUsers: return read_users(reader, line);
    case kHardware: return read_hardware(reader, line);
    case kNetwork: return read_network(reader, line);
    case kPrograms: return read_programs(reader, line);
    default: return;
  }
}

void reader_open(ReportReader *reader, RecordSink sink, void *context, unsigned wanted) {
  memset(reader, 0, sizeof *reader);
  reader->wanted = wanted;
  reader->sink = sink;
  reader->context = context;
}

void reader_release(ReportReader *reader) {
  free(reader->line.data);
  free(reader->problem.data);
  for (Text &text : reader->fields) free(text.data);
  memset(reader, 0, sizeof *reader);
}

void reader_begin(ReportReader *reader) {
  reader->line.length = 0;
  reader->problem.length = 0;
  reader->line_number = 0;
  reader->state = kBeforeBanner;
  reader->section = -1;
  reader->block = -1;
  reader->seen = 0;
  reader->previous_stars = false;
  reader->previous_dashes = false;
  reader->any_byte = false;
  reader->any_section = false;
  reader->complete = false;
  reader->binary = false;
  reader->utf16 = false;
  reader->byte_order_mark = false;
  reader->lf_ends = false;
  reader->out_of_memory = false;
  reader->open = false;
  reader->skipping = false;
  reader->list_kind = kRecordBanner;
}

// Longer than any line before the banner: a file without line ends is not held whole to find that out.
static const size_t kLongestBannerLine = 256;

// Passes over the lines of a list whose records nobody takes, from a line's start up to the empty line that ends the
// list (left to be read); returns the bytes passed over. Ends the skipping where the bytes end first, inside a line,
// or where they cannot tell whether the next line is empty: the lines there are read one at a time.
static size_t skip_list(ReportReader *reader, const char *bytes, size_t length) {
  const char *end = bytes + length;
  const char *at = bytes;
  reader->skipping = false;
  if (*at == '\n' || *at == '\r') return 0;
  for (;;) {
    const char *line_end = (const char *)memchr(at, '\n', (size_t)(end - at));
    if (!line_end) return (size_t)(at - bytes);
    ++reader->line_number;
    at = line_end + 1;
    if (end - at < 2 || *at == '\n' || *at == '\r') {
      reader->skipping = end - at < 2 && !(at < end && *at == '\n');
      return (size_t)(at - bytes);
    }
  }
}

void reader_feed(ReportReader *reader, const char *bytes, size_t length) {
  if (length) reader->any_byte = true;
  while (length && reader->state != kRejected) {
    if (reader->skipping && reader->line.length == 0) {
      size_t skipped = skip_list(reader, bytes, length);
      bytes += skipped;
      length -= skipped;
      if (!length) return;
    }
    const char *end = (const char *)memchr(bytes, '\n', length);
    if (!end && reader->state == kBeforeBanner && reader->line.length + length > kLongestBannerLine) {
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

void reader_end(ReportReader *reader) {
  if (reader->line.length) {
    // A last line without its line end.
    Text last = reader->line;
    reader->line = Text{NULL, 0, 0};
    read_line(reader, Span{last.data, last.length}, false);
    reader->line = last;
    reader->line.length = 0;
  }
  close_record(reader);
}
