// The simulated machine's state, the call record, handle tracking, output
// capture and process endings, and the small kernel32/user32/runtime services.
#include "sim.h"

#include <setjmp.h>
#include <stdarg.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>

#include "main/driver.h"
#include "report/binding.h"
#include "report/report.h"

namespace sim {
namespace {

struct Held {
  std::string kind;
  int serial;
};

Machine g_machine;
std::vector<Call> g_calls;
std::map<std::string, int> g_call_counts;
std::map<void *, Held> g_held;
int g_next_handle = 1;
DWORD g_last_error = 0;
UINT g_error_mode = 0;
size_t g_tick_index = 0;
jmp_buf *g_jump = nullptr;
int g_end_status = 0;
std::vector<std::string> g_problems;

}  // namespace

void reset() {
  for (auto &entry : g_held) {
    if (entry.second.kind == "LocalAlloc" || entry.second.kind == "NetApiBuffer")
      free(entry.first);
  }
  g_machine = Machine();
  g_calls.clear();
  g_call_counts.clear();
  g_held.clear();
  g_problems.clear();
  g_next_handle = 1;
  g_last_error = 0;
  g_error_mode = 0;
  g_tick_index = 0;
  reset_loader();
  reset_kernel32_binding();
  reset_device_binding();
  reset_netapi32_binding();
}

Machine &machine() { return g_machine; }

const std::vector<Call> &calls() { return g_calls; }

std::vector<Call> calls_named(const std::string &name) {
  std::vector<Call> found;
  for (const Call &call : g_calls)
    if (call.name == name) found.push_back(call);
  return found;
}

size_t count_calls(const std::string &name) { return calls_named(name).size(); }

void record(const char *name, const std::string &args) {
  g_calls.push_back(Call{name, args});
  ++g_call_counts[name];
}

bool should_fail(const char *name) {
  if (g_machine.fail.count(name)) return true;
  auto it = g_machine.fail_nth.find(name);
  return it != g_machine.fail_nth.end() && it->second.count(g_call_counts[name]);
}

void *acquire(const std::string &kind) {
  void *handle;
  if (kind == "LocalAlloc" || kind == "NetApiBuffer") {
    handle = nullptr;  // memory blocks are registered by their owner
  } else {
    // Opaque handles: distinct addresses that nothing dereferences.
    handle = reinterpret_cast<void *>(static_cast<intptr_t>(0x10000 + 16 * g_next_handle));
  }
  g_held[handle] = Held{kind, g_next_handle++};
  return handle;
}

static void hold_block(void *block, const std::string &kind) {
  g_held[block] = Held{kind, g_next_handle++};
}

bool release(void *handle, const std::string &kind) {
  auto it = g_held.find(handle);
  if (it == g_held.end() || it->second.kind != kind) return false;
  g_held.erase(it);
  return true;
}

bool is_held(void *handle, const std::string &kind) {
  auto it = g_held.find(handle);
  return it != g_held.end() && it->second.kind == kind;
}

void note_problem(const std::string &text) { g_problems.push_back(text); }

std::vector<std::string> held() {
  std::vector<std::string> out = g_problems;
  for (const auto &entry : g_held) out.push_back(entry.second.kind + " #" + std::to_string(entry.second.serial));
  return out;
}

std::string quote(const char *text) {
  if (!text) return "NULL";
  return std::string("\"") + text + "\"";
}

std::string lower(const std::string &text) {
  std::string out = text;
  std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
  return out;
}

void add_reg_key(const std::string &key) { g_machine.hklm[lower(key)]; }

void set_reg_raw(const std::string &key, const std::string &value, DWORD type, const std::string &bytes) {
  g_machine.hklm[lower(key)].values[lower(value)] = RegValue{type, bytes, std::nullopt};
}

void set_reg_string(const std::string &key, const std::string &value, const std::string &text) {
  set_reg_raw(key, value, REG_SZ, text + std::string(1, '\0'));
}

void set_reg_dword(const std::string &key, const std::string &value, DWORD data) {
  std::string bytes(4, '\0');
  memcpy(&bytes[0], &data, 4);
  set_reg_raw(key, value, REG_DWORD, bytes);
}

GUID make_guid(DWORD n) {
  GUID guid = {n, 0x1234, 0x5678, {0x9a, 0xbc, 0xde, 0xf0, 0x11, 0x22, 0x33, 0x44}};
  return guid;
}

Result run_uncaptured(const std::function<int()> &fn) {
  Result result;
  jmp_buf jump;
  g_jump = &jump;
  if (setjmp(jump) == 0) {
    result.status = fn();
  } else {
    result.ended = true;
    result.status = g_end_status;
  }
  g_jump = nullptr;
  return result;
}

Result run(const std::function<int()> &fn) {
  fflush(stdout);
  int saved = dup(1);
  FILE *capture = tmpfile();
  dup2(fileno(capture), 1);

  Result result = run_uncaptured(fn);

  fflush(stdout);
  dup2(saved, 1);
  close(saved);
  long size = ftell(capture);
  if (size < 0) size = lseek(fileno(capture), 0, SEEK_END);
  result.out.resize(static_cast<size_t>(size));
  if (size > 0) {
    fseek(capture, 0, SEEK_SET);
    lseek(fileno(capture), 0, SEEK_SET);
    size_t got = read(fileno(capture), &result.out[0], static_cast<size_t>(size));
    result.out.resize(got);
  }
  fclose(capture);
  return result;
}

Result run_program(const std::vector<std::string> &args) {
  std::vector<std::string> strings;
  strings.push_back("sysreport.exe");
  strings.insert(strings.end(), args.begin(), args.end());
  std::vector<char *> argv;
  for (std::string &s : strings) argv.push_back(&s[0]);
  argv.push_back(nullptr);
  return run([&] { return run_main(static_cast<int>(strings.size()), argv.data()); });
}

}  // namespace sim

using namespace sim;

// The program's one way to end the process: here it ends the code that
// sim::run started, keeping the status.
void end_process(int status) {
  record("end_process", std::to_string(status));
  fflush(stdout);
  if (!g_jump) abort();
  g_end_status = status;
  longjmp(*g_jump, 1);
}

DWORD WINAPI GetLastError(void) { return g_last_error; }
void WINAPI SetLastError(DWORD code) { g_last_error = code; }

UINT WINAPI SetErrorMode(UINT mode) {
  record("SetErrorMode", std::to_string(mode));
  UINT previous = g_error_mode;
  g_error_mode = mode;
  return previous;
}

namespace sim {
UINT error_mode() { return g_error_mode; }
}  // namespace sim

DWORD WINAPI GetTickCount(void) {
  record("GetTickCount", "");
  const std::vector<DWORD> &ticks = g_machine.ticks;
  if (ticks.empty()) return 0;
  DWORD value = ticks[std::min(g_tick_index, ticks.size() - 1)];
  ++g_tick_index;
  return value;
}

void WINAPI GetSystemTime(LPSYSTEMTIME out) {
  record("GetSystemTime", "");
  *out = g_machine.utc_now;
}

int WINAPI lstrcmpiA(LPCSTR a, LPCSTR b) {
  record("lstrcmpiA", quote(a) + ", " + quote(b));
  for (;; ++a, ++b) {
    int ca = std::tolower(static_cast<unsigned char>(*a));
    int cb = std::tolower(static_cast<unsigned char>(*b));
    if (ca != cb) return ca < cb ? -1 : 1;
    if (!ca) return 0;
  }
}

int wsprintfA(LPSTR out, LPCSTR format, ...) {
  record("wsprintfA", quote(format));
  // wsprintfA writes at most 1024 characters, terminator included.
  char buffer[1025];
  va_list args;
  va_start(args, format);
  int n = vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (n > 1024) n = 1024;
  if (n < 0) n = 0;
  memcpy(out, buffer, static_cast<size_t>(n));
  out[n] = '\0';
  return n;
}

BOOL WINAPI GetComputerNameA(LPSTR buffer, LPDWORD size) {
  record("GetComputerNameA", std::to_string(*size));
  if (should_fail("GetComputerNameA")) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  DWORD length = static_cast<DWORD>(g_machine.computer_name.size());
  if (length + 1 > *size && g_machine.unterminated_texts) {
    memcpy(buffer, g_machine.computer_name.data(), *size);
    return TRUE;
  }
  if (length + 1 > *size) {
    *size = length + 1;
    SetLastError(ERROR_BUFFER_OVERFLOW);
    return FALSE;
  }
  memcpy(buffer, g_machine.computer_name.c_str(), length + 1);
  *size = length;
  return TRUE;
}

BOOL WINAPI GetUserNameA(LPSTR buffer, LPDWORD size) {
  record("GetUserNameA", std::to_string(*size));
  if (should_fail("GetUserNameA")) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  DWORD length = static_cast<DWORD>(g_machine.user_name.size());
  if (length + 1 > *size && g_machine.unterminated_texts) {
    memcpy(buffer, g_machine.user_name.data(), *size);
    return TRUE;
  }
  if (length + 1 > *size) {
    *size = length + 1;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  memcpy(buffer, g_machine.user_name.c_str(), length + 1);
  *size = length + 1;
  return TRUE;
}

HLOCAL WINAPI LocalAlloc(UINT flags, size_t bytes) {
  record("LocalAlloc", std::to_string(flags) + ", " + std::to_string(bytes));
  if (should_fail("LocalAlloc") || bytes > g_machine.memory_limit) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  void *block = (flags & LMEM_ZEROINIT) ? calloc(1, bytes ? bytes : 1) : malloc(bytes ? bytes : 1);
  sim::hold_block(block, "LocalAlloc");
  return block;
}

HLOCAL WINAPI LocalFree(HLOCAL block) {
  record("LocalFree", "");
  if (!block) return nullptr;
  if (!release(block, "LocalAlloc")) {
    sim::note_problem("LocalFree of a block that is not held");
    return block;
  }
  free(block);
  return nullptr;
}

// Windows code page 1252, 0x80 to 0x9F; 0 marks the five holes.
static const char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

static int to_cp1252(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
  for (int i = 0; i < 32; ++i)
    if (kCp1252High[i] && kCp1252High[i] == c) return 0x80 + i;
  return -1;
}

// The system's ANSI code page is 1252 here.
int WINAPI WideCharToMultiByte(UINT code_page, DWORD, LPCWSTR wide, int wide_count, LPSTR out,
                               int out_size, LPCSTR default_char, LPBOOL used_default) {
  record("WideCharToMultiByte", std::to_string(code_page) + ", " + std::to_string(wide_count) + ", " +
                                    std::to_string(out_size));
  if (code_page != CP_ACP || !wide || out_size < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  int count = wide_count;
  if (count < 0) {
    count = 0;
    while (wide[count]) ++count;
    ++count;  // the terminator is converted too
  }
  char fallback = default_char ? default_char[0] : '?';
  if (used_default) *used_default = FALSE;
  if (out_size != 0 && out_size < count) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (out_size == 0) return count;
  for (int i = 0; i < count; ++i) {
    int c = to_cp1252(wide[i]);
    if (c < 0) {
      c = static_cast<unsigned char>(fallback);
      if (used_default) *used_default = TRUE;
    }
    out[i] = static_cast<char>(c);
  }
  return count;
}

// msvcrt's ctime: a 32-bit time in local time; NULL before 1970 there.
char *ctime(const __time32_t *timer) {
  static char text[64];
  record("ctime", std::to_string(*timer));
  long long local = static_cast<long long>(*timer) + g_machine.local_offset;
  if (local < 0) return nullptr;
  time_t t = static_cast<time_t>(local);
  struct tm parts;
  gmtime_r(&t, &parts);
  static const char kDays[] = "SunMonTueWedThuFriSat";
  static const char kMonths[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
  snprintf(text, sizeof text, "%.3s %.3s %02d %02d:%02d:%02d %d\n", kDays + 3 * parts.tm_wday,
           kMonths + 3 * parts.tm_mon, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec,
           parts.tm_year + 1900);
  return text;
}
