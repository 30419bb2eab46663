#include "os/os.h"

#include "report/binding.h"
#include "report/report.h"
#include "report/words.h"

// Kept for the whole run, outside the record that identification clears.
static char user_name[256];

// Milliseconds since the system started. GetTickCount64 came with Vista;
// the 32-bit count before it wraps after 49.7 days.
static uint64_t tick_count(void) {
  typedef ULONGLONG(WINAPI * GetTickCount64Function)(void);
  GetTickCount64Function get_tick_count64;
  look_up(GetModuleHandleA(kKernel32Dll), "GetTickCount64", &get_tick_count64);
  return get_tick_count64 ? get_tick_count64() : GetTickCount();
}

void report_os(void) {
  print_heading(kTitleOs);
  identify_os();

  SYSTEMTIME utc;
  GetSystemTime(&utc);
  __time32_t now = systemtime_to_epoch(&utc);

  // An install time after the current time shows as the unsigned count that
  // the same bits form.
  char install_age[512];
  format_duration(install_age, (DWORD)now - (DWORD)os_info.install_time);
  char uptime[512];
  format_duration(uptime, uptime_seconds(tick_count()));

  DWORD size = sizeof user_name;
  if (!GetUserNameA(user_name, &size)) user_name[0] = '\0';
  // A name that fills the buffer may arrive without its NUL.
  user_name[sizeof user_name - 1] = '\0';

  // ctime keeps its text in one buffer: each is copied before the next call.
  char current_time[32];
  char install_time[32];
  copy_text(current_time, sizeof current_time, ctime_text(now), sizeof current_time);
  copy_text(install_time, sizeof install_time, ctime_text(os_info.install_time), sizeof install_time);

  char block[kOsBlockSize];
  format_os_block(block, &os_info, user_name, uptime, current_time, install_time, install_age);
  printf("%s", block);
}
