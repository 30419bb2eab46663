// Reads sysreport's reports line by line and hands on plain records: the OS
// facts, a drive, an account, the hardware facts, the network identity, an
// adapter, the Windows facts of -P, a program, an update, and the report's
// own error lines. Plain values in and out: nothing here calls the operating
// system beyond the C runtime's memory functions.
#pragma once

#include <stddef.h>
#include <stdint.h>

// A text of any length on the heap, kept and reused from one report to the
// next, so that memory follows the longest line seen, not the reports read.
struct Text {
  char *data;
  size_t length;
  size_t size;
};

// A piece of a line or a text: its bytes and their count.
struct Span {
  const char *data;
  size_t length;
};

// Appends length bytes to text; false (text unchanged) when memory ran out.
bool text_append(Text *text, const char *data, size_t length);

enum RecordKind {
  kRecordBanner,   // a report begins (a file may hold two)
  kRecordSection,  // a section begins: its title
  kRecordOs,
  kRecordDrive,
  kRecordAccount,
  kRecordHardware,
  kRecordIdentity,
  kRecordAdapter,
  kRecordWindows,
  kRecordProgram,
  kRecordUpdate,
  kRecordError,  // a line the report printed about its own failure, then the section's title
  kRecordEnd,    // the "Total time taken" line: the report is whole
};

// The fields of each record, in order. Times are YYYY-MM-DDTHH:MM:SS,
// durations seconds, sizes figures without their unit; "Unknown" and "Never"
// stay as they are; a field the report did not print is empty.
enum OsField {
  kOsCurrentTimeField,
  kOsNameField,
  kOsEditionField,
  kOsVersionField,
  kOsBuildField,
  kOsServicePackField,
  kOsUptimeField,
  kOsInstallTimeField,
  kOsOwnerField,
  kOsOrganisationField,
  kOsProductIdField,
  kOsFieldCount
};
enum DriveField {
  kDriveLetterField,
  kDriveTypeField,
  kDriveFreeKbField = 10,
  kDriveTotalKbField = 12,
  kDriveFieldCount = 13
};
// An account: user, privilege, the eight flags (1 or 0) in the report's order, password age, bad passwords, logons,
// last logon, expired (1 or 0).
enum AccountField {
  kAccountUserField,
  kAccountPrivilegeField,
  kAccountDisabledField,
  kAccountNoPasswordField,
  kAccountPasswordAgeField = 10,
  kAccountExpiredField = 14,
  kAccountFieldCount = 15
};
enum HardwareField { kHardwareFieldCount = 6 };
enum IdentityField {
  kIdentityComputerField,
  kIdentityDnsHostField,
  kIdentityDnsDomainField,
  kIdentityDomainField,
  kIdentityJoinStateField,
  kIdentityRoleField,
  kIdentityTimeZoneField,
  kIdentityUtcOffsetField,
  kIdentityBootTimeField,
  kIdentityLastUserField,
  kIdentityCodePageField,
  kIdentityLocaleField,
  kIdentityFieldCount
};
// An adapter's IPv4, IPv6, gateway and DNS server fields join their lines' values by ';'.
enum AdapterField { kAdapterMacField = 4, kAdapterIpv4Field = 6, kAdapterFieldCount = 13 };
enum WindowsField {
  kWindowsDisplayVersionField,
  kWindowsBuildField,
  kWindowsServicePackField,
  kWindowsProgramsField,
  kWindowsUpdatesField,
  kWindowsLatestUpdateField,
  kWindowsFieldCount
};
enum ProgramField { kProgramFieldCount = 6 };
enum UpdateField { kUpdateFieldCount = 4 };

struct Record {
  RecordKind kind;
  const Span *fields;
  int count;
  uint32_t line;  // the line it ended on
};

typedef void (*RecordSink)(void *context, const Record *record);

enum ReaderState { kBeforeBanner, kReading, kRejected };

static const int kMostFields = 16;

struct ReportReader {
  RecordSink sink;
  void *context;
  Text line;     // a line that spans two pieces fed
  Text problem;  // the first thing not understood, for standard error
  uint32_t line_number;
  ReaderState state;
  int section;  // index of the section being read, or -1
  int block;    // the block of the section, by its title's index
  unsigned seen;
  bool previous_stars;
  bool previous_dashes;
  bool any_byte;
  bool any_section;
  bool complete;
  bool binary;
  bool utf16;
  bool byte_order_mark;
  bool lf_ends;  // a line ended in LF alone
  bool out_of_memory;
  unsigned wanted;       // the list records handed on, by 1 << kind
  RecordKind list_kind;  // of the Programs or Updates list being read; kRecordBanner outside them
  bool skipping;         // passing over a list nobody takes
  bool open;             // a record is being gathered
  RecordKind open_kind;
  int open_count;
  Text fields[kMostFields];
  Span spans[kMostFields];
};

// Sets up a reader handing its records to sink; of the program and update records only those whose bit (1 << kind)
// is set in wanted, since a report may hold thousands. reader_release frees what it holds.
void reader_open(ReportReader *reader, RecordSink sink, void *context, unsigned wanted);
void reader_release(ReportReader *reader);

// Starts a file.
void reader_begin(ReportReader *reader);

// Reads the next length bytes; lines may end in CR LF or LF and may be split
// anywhere between two calls.
void reader_feed(ReportReader *reader, const char *bytes, size_t length);

// Ends the file: its last line, and the record being gathered.
void reader_end(ReportReader *reader);
