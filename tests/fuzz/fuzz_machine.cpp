#include "fuzz_machine.h"

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <algorithm>
#include <initializer_list>

#include "main/driver.h"
#include "sim.h"

namespace fuzz {
namespace {

// Lengths at and next to the buffers the program hands over (127, 128, 256,
// 260, 4096 bytes), and some well past them.
const size_t kEdgeLengths[] = {0,   1,   2,   20,  32,   126,  127,  128,  129,  254,  255,  256,  257,
                               258, 259, 260, 261, 4092, 4093, 4094, 4095, 4096, 4097, 4098, 8191, 8193};

// Texts the program compares with.
const char *const kWords[] = {"WinNT", "LanmanNT", "ServerNT", "Service Pack 6", " A", " B", " C", "Ports", ""};

const char *const kFailable[] = {"GetVolumeInformationA",
                                 "GetDiskFreeSpaceExA",
                                 "GetDiskFreeSpaceA",
                                 "GetVersionExA",
                                 "GetComputerNameA",
                                 "GetUserNameA",
                                 "LocalAlloc",
                                 "RegOpenKeyExA",
                                 "RegQueryValueExA",
                                 "RegQueryValueA",
                                 "CM_Enumerate_Classes",
                                 "SetupDiClassNameFromGuidA",
                                 "SetupDiClassGuidsFromNameA",
                                 "SetupDiGetClassDevsA",
                                 "SetupDiOpenClassRegKeyExA",
                                 "SetupDiEnumDeviceInfo",
                                 "SetupDiGetDeviceRegistryPropertyA",
                                 "NetUserEnum"};

// The DLLs and functions that some systems lack and the program binds at run
// time.
const char *const kOptional[] = {"cfgmgr32.dll",
                                 "setupapi.dll",
                                 "netapi32.dll",
                                 "GetDiskFreeSpaceExA",
                                 "CM_Enumerate_Classes",
                                 "SetupDiClassNameFromGuidA",
                                 "SetupDiClassGuidsFromNameA",
                                 "SetupDiGetClassDevsA",
                                 "SetupDiOpenClassRegKeyExA",
                                 "SetupDiEnumDeviceInfo",
                                 "SetupDiGetDeviceRegistryPropertyA",
                                 "SetupDiDestroyDeviceInfoList",
                                 "NetUserEnum",
                                 "NetApiBufferFree"};

const char *const kRegistryKeys[] = {
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "SYSTEM\\CurrentControlSet\\Control\\ProductOptions",
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix\\Q246009", "SOFTWARE\\Microsoft\\Windows NT"};

const char *const kRegistryValues[] = {"SystemRoot",      "CurrentType", "ProductID",   "RegisteredOrganization",
                                       "RegisteredOwner", "InstallDate", "ProductType", ""};

// Seconds since 1970 that matter: the epoch, the last second of signed 32
// bits and the first one past it (2038, or before 1970 read as signed).
const std::initializer_list<DWORD> kTimes = {0, 1, 946684800, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};

template <typename T, size_t N>
const T &one_of(FuzzedDataProvider &in, const T (&table)[N]) {
  return table[in.ConsumeIntegralInRange<size_t>(0, N - 1)];
}

// The first of common when the input runs out, else one of them or any value.
DWORD value(FuzzedDataProvider &in, std::initializer_list<DWORD> common) {
  size_t pick = in.ConsumeIntegralInRange<size_t>(0, common.size());
  return pick < common.size() ? common.begin()[pick] : in.ConsumeIntegral<DWORD>();
}

// Any bytes, NULs included: a word, a pattern repeated to a length at a
// buffer's edge (longer than the input itself may be), or the input's bytes.
std::string text(FuzzedDataProvider &in) {
  switch (in.ConsumeIntegralInRange<int>(0, 2)) {
    case 0:
      return one_of(in, kWords);
    case 1: {
      std::string pattern = in.ConsumeRandomLengthString(8);
      if (pattern.empty()) pattern = "x";
      size_t length = one_of(in, kEdgeLengths);
      std::string out;
      while (out.size() < length) out += pattern;
      out.resize(length);
      return out;
    }
    default:
      return in.ConsumeRandomLengthString(300);
  }
}

std::optional<std::string> maybe_text(FuzzedDataProvider &in) {
  if (in.ConsumeBool()) return std::nullopt;
  return text(in);
}

// UTF-16 from the bytes of a text: unpaired surrogates and NULs included.
std::u16string wide_text(FuzzedDataProvider &in) {
  std::string bytes = text(in);
  std::u16string out(bytes.size() / 2, u'\0');
  if (!out.empty()) memcpy(&out[0], bytes.data(), out.size() * sizeof(char16_t));
  return out;
}

// Registry data: a text with its NUL, a text as it comes (perhaps without
// one), or a 32-bit number such as a time.
sim::RegValue registry_value(FuzzedDataProvider &in) {
  sim::RegValue stored;
  stored.type = value(in, {REG_SZ, REG_DWORD, REG_EXPAND_SZ, REG_BINARY, REG_MULTI_SZ, REG_NONE});
  switch (in.ConsumeIntegralInRange<int>(0, 2)) {
    case 0:
      stored.data = text(in) + '\0';
      break;
    case 1:
      stored.data = text(in);
      break;
    default: {
      DWORD number = value(in, kTimes);
      stored.data.assign(reinterpret_cast<const char *>(&number), sizeof number);
    }
  }
  if (in.ConsumeBool()) stored.reported_size = value(in, {0, 1, 4, 255, 256, 257, 4095, 4096, 4097, 0xFFFFFFFF});
  return stored;
}

}  // namespace

void silence_output() {
  fflush(stdout);
  int null = open("/dev/null", O_WRONLY);
  if (null < 0 || dup2(null, STDOUT_FILENO) < 0) {
    perror("/dev/null");
    abort();
  }
  close(null);
}

void describe_platform(FuzzedDataProvider &in) {
  sim::Machine &m = sim::machine();
  // Far below libFuzzer's memory limit; the program must cope with refusals.
  m.memory_limit = 16 << 20;
  m.unterminated_texts = in.ConsumeBool();
  m.computer_name = text(in);
  m.user_name = text(in);

  m.ticks.clear();
  for (size_t n = in.ConsumeIntegralInRange<size_t>(0, 4); n > 0; --n)
    m.ticks.push_back(value(in, {0, 999, 1000, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF}));

  SYSTEMTIME &now = m.utc_now;
  now.wYear = static_cast<WORD>(value(in, {2026, 1601, 1969, 1970, 1972, 2038, 2039, 2100, 2106, 2107, 30827}));
  now.wMonth = static_cast<WORD>(value(in, {12, 0, 1, 2, 3, 13}));
  now.wDayOfWeek = static_cast<WORD>(value(in, {0, 6, 7}));
  now.wDay = static_cast<WORD>(value(in, {6, 0, 1, 28, 29, 31, 32}));
  now.wHour = static_cast<WORD>(value(in, {12, 0, 23, 24}));
  now.wMinute = static_cast<WORD>(value(in, {0, 59, 60}));
  now.wSecond = static_cast<WORD>(value(in, {0, 59, 60}));
  now.wMilliseconds = static_cast<WORD>(value(in, {0, 999, 1000}));
  m.local_offset =
      static_cast<int32_t>(value(in, {0, 3600, static_cast<DWORD>(-3600), 50400, static_cast<DWORD>(-50400)}));

  for (size_t n = in.ConsumeIntegralInRange<size_t>(0, 3); n > 0; --n) {
    const char *name = one_of(in, kFailable);
    if (in.ConsumeBool())
      m.fail.insert(name);
    else
      m.fail_nth[name].insert(in.ConsumeIntegralInRange<int>(1, 8));
  }
  for (size_t n = in.ConsumeIntegralInRange<size_t>(0, 2); n > 0; --n) m.absent.insert(one_of(in, kOptional));
}

void describe_drives(FuzzedDataProvider &in) {
  sim::Machine &m = sim::machine();
  for (size_t n = in.ConsumeIntegralInRange<size_t>(0, 26); n > 0; --n) {
    sim::Drive &drive = m.drives[in.ConsumeIntegralInRange<size_t>(0, 25)];
    drive.type = value(
        in, {DRIVE_FIXED, DRIVE_UNKNOWN, DRIVE_NO_ROOT_DIR, DRIVE_REMOVABLE, DRIVE_REMOTE, DRIVE_CDROM, DRIVE_RAMDISK});
    drive.mounted = !in.ConsumeBool();
    drive.label = text(in);
    drive.serial = value(in, {1, 0, 0x80000000, 0xFFFFFFFF});
    drive.file_system = text(in);
    drive.space_ok = !in.ConsumeBool();
    drive.total_bytes = in.ConsumeIntegral<ULONGLONG>();
    drive.free_bytes = in.ConsumeIntegral<ULONGLONG>();
    drive.available_bytes = in.ConsumeIntegral<ULONGLONG>();
    drive.clusters_ok = !in.ConsumeBool();
    drive.sectors_per_cluster = value(in, {8, 0, 1, 0xFFFFFFFF});
    drive.bytes_per_sector = value(in, {512, 0, 4096, 0xFFFFFFFF});
    drive.free_clusters = value(in, {0, 1, 0x80000000, 0xFFFFFFFF});
    drive.total_clusters = value(in, {0, 1, 0x80000000, 0xFFFFFFFF});
  }
}

void describe_os(FuzzedDataProvider &in) {
  sim::Machine &m = sim::machine();
  OSVERSIONINFOEXA &version = m.version;
  version.dwMajorVersion = value(in, {5, 3, 4, 6});
  version.dwMinorVersion = value(in, {1, 0, 2, 10, 51, 90});
  // The 9x family keeps the major and minor version in the high word.
  version.dwBuildNumber = value(in, {2600, 950, 1381, 2195, 3790, 0x040A08AE});
  version.dwPlatformId = value(in, {VER_PLATFORM_WIN32_NT, VER_PLATFORM_WIN32s, VER_PLATFORM_WIN32_WINDOWS});
  // All 128 bytes may be text: no NUL then.
  std::string csd = text(in);
  memset(version.szCSDVersion, 0, sizeof version.szCSDVersion);
  memcpy(version.szCSDVersion, csd.data(), std::min(csd.size(), sizeof version.szCSDVersion));
  version.wServicePackMajor = static_cast<WORD>(value(in, {0, 1, 6, 0xFFFF}));
  version.wServicePackMinor = static_cast<WORD>(value(in, {0, 1, 0xFFFF}));
  version.wSuiteMask =
      static_cast<WORD>(value(in, {0, VER_SUITE_ENTERPRISE, VER_SUITE_DATACENTER,
                                   VER_SUITE_ENTERPRISE | VER_SUITE_DATACENTER, VER_SUITE_PERSONAL, VER_SUITE_BLADE}));
  version.wProductType = static_cast<BYTE>(value(in, {VER_NT_WORKSTATION, 0, VER_NT_DOMAIN_CONTROLLER, VER_NT_SERVER}));
  version.wReserved = in.ConsumeIntegral<BYTE>();
  m.version_ex_ok = !in.ConsumeBool();
  m.version_basic_ok = !in.ConsumeBool();

  for (size_t n = in.ConsumeIntegralInRange<size_t>(0, 12); n > 0; --n) {
    std::string key = sim::lower(one_of(in, kRegistryKeys));
    if (in.ConsumeBool()) {
      sim::add_reg_key(key);
      continue;
    }
    std::string name = sim::lower(one_of(in, kRegistryValues));
    m.hklm[key].values[name] = registry_value(in);
  }
}

void describe_devices(FuzzedDataProvider &in) {
  sim::Machine &m = sim::machine();
  if (in.ConsumeBool()) m.class_guid_count = value(in, {0, 1, 2, 3, 0x0FFFFFFF, 0x10000000, 0xFFFFFFFF});
  for (size_t n = in.ConsumeIntegralInRange<size_t>(0, 10); n > 0; --n) {
    sim::DeviceClass c;
    c.enum_result = value(in, {CR_SUCCESS, CR_INVALID_DATA, CR_NO_SUCH_VALUE, CR_FAILURE});
    // Few GUIDs and short names: classes that share them happen.
    c.guid = sim::make_guid(in.ConsumeIntegralInRange<DWORD>(0, 7));
    c.name = text(in);
    c.name_fails = in.ConsumeBool();
    c.set_fails = in.ConsumeBool();
    c.key_fails = in.ConsumeBool();
    if (in.ConsumeBool()) c.required_size = value(in, {0, 1, 4095, 4096, 4097, 0x80000000, 0xFFFFFFFF});
    switch (in.ConsumeIntegralInRange<int>(0, 2)) {
      case 0:
        c.description = maybe_text(in);
        break;
      default:
        c.stored_description = registry_value(in);
    }
    for (size_t d = in.ConsumeIntegralInRange<size_t>(0, 6); d > 0; --d) {
      sim::Device device;
      device.friendly_name = maybe_text(in);
      device.description = maybe_text(in);
      device.present = !in.ConsumeBool();
      c.devices.push_back(device);
    }
    m.classes.push_back(c);
  }
}

void describe_users(FuzzedDataProvider &in) {
  sim::Machine &m = sim::machine();
  for (size_t n = in.ConsumeIntegralInRange<size_t>(0, 5); n > 0; --n) {
    sim::UserBatch batch;
    batch.status = value(in, {NERR_Success, ERROR_MORE_DATA, ERROR_ACCESS_DENIED, ERROR_INVALID_LEVEL,
                              2221 /* NERR_UserNotFound */, 2351 /* NERR_InvalidComputer */});
    batch.hands_buffer = in.ConsumeBool();
    batch.withholds_buffer = in.ConsumeBool();
    if (in.ConsumeBool()) batch.entries_read = in.ConsumeIntegralInRange<DWORD>(0, 64);
    for (size_t u = in.ConsumeIntegralInRange<size_t>(0, 6); u > 0; --u) {
      sim::User user;
      user.name = wide_text(in);
      user.priv = value(in, {USER_PRIV_USER, USER_PRIV_GUEST, USER_PRIV_ADMIN, 3});
      user.flags = in.ConsumeIntegral<DWORD>();
      user.password_age = value(in, {0, 59, 604800, 0x7FFFFFFF, 0xFFFFFFFF});
      user.last_logon = value(in, kTimes);
      user.bad_pw_count = value(in, {0, 0xFFFFFFFF});
      user.num_logons = value(in, {0, 0xFFFFFFFF});
      user.password_expired = value(in, {0, 1});
      batch.users.push_back(user);
    }
    m.user_batches.push_back(batch);
  }
}

std::vector<std::string> arguments(FuzzedDataProvider &in) {
  std::vector<std::string> args;
  switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0: {
      // Mostly switch letters, now and then any byte.
      std::string letters = in.ConsumeRandomLengthString(8);
      for (char &letter : letters)
        if (static_cast<unsigned char>(letter) < 0xF0) letter = "DOSU"[static_cast<unsigned char>(letter) % 4];
      args.push_back("-" + letters);
      break;
    }
    case 1:
      break;
    default:
      for (size_t n = in.ConsumeIntegralInRange<size_t>(1, 3); n > 0; --n)
        args.push_back(in.ConsumeRandomLengthString(16));
  }
  return args;
}

void run_and_check(const std::vector<std::string> &args) {
  std::vector<std::string> strings = {"sysreport.exe"};
  strings.insert(strings.end(), args.begin(), args.end());
  std::vector<char *> argv;
  for (std::string &s : strings) argv.push_back(&s[0]);
  argv.push_back(nullptr);

  sim::Result result = sim::run_uncaptured([&] { return run_main(static_cast<int>(strings.size()), argv.data()); });
  bool clean_end = result.ended ? result.status == 1 : result.status == 0;
  std::vector<std::string> held = sim::held();
  if (!clean_end || !held.empty()) {
    fprintf(stderr, "the run %s with status %d\n", result.ended ? "ended the process" : "returned", result.status);
    for (const std::string &item : held) fprintf(stderr, "still held: %s\n", item.c_str());
    abort();
  }
  sim::reset();
}

int run_section(const uint8_t *data, size_t size, void (*describe)(FuzzedDataProvider &),
                const char *switch_argument) {
  FuzzedDataProvider in(data, size);
  sim::reset();
  describe_platform(in);
  describe(in);
  run_and_check({switch_argument});
  return 0;
}

}  // namespace fuzz

// Every harness prints into nothing: the output is not what is checked.
extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  fuzz::silence_output();
  return 0;
}
