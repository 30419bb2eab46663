#include "report/binding.h"
#include "report/report.h"

void read_system_info(SYSTEM_INFO *info) {
  typedef void(WINAPI * SystemInfoFunction)(LPSYSTEM_INFO);
  HMODULE kernel32 = GetModuleHandleA(kKernel32Dll);
  SystemInfoFunction system_info;
  // GetNativeSystemInfo (XP on) tells a 32-bit program under WOW64 the
  // machine's processor, not its own.
  look_up(kernel32, "GetNativeSystemInfo", &system_info);
  if (!system_info) look_up(kernel32, "GetSystemInfo", &system_info);
  memset(info, 0, sizeof *info);
  info->wProcessorArchitecture = PROCESSOR_ARCHITECTURE_UNKNOWN;
  if (system_info) system_info(info);
}

unsigned native_architecture(void) {
  typedef BOOL(WINAPI * IsWow64Process2Function)(HANDLE, USHORT *, USHORT *);
  IsWow64Process2Function is_wow64_process2;
  look_up(GetModuleHandleA(kKernel32Dll), "IsWow64Process2", &is_wow64_process2);
  USHORT process_machine = 0;
  USHORT native_machine = 0;
  // Only IsWow64Process2 (Windows 10 1709 on) names ARM64 to an emulated x86
  // program; GetCurrentProcess's handle is -1 and needs no import.
  if (is_wow64_process2 && is_wow64_process2((HANDLE)(LONG_PTR)-1, &process_machine, &native_machine)) {
    unsigned architecture = machine_architecture(native_machine);
    if (architecture != PROCESSOR_ARCHITECTURE_UNKNOWN) return architecture;
  }
  SYSTEM_INFO info;
  read_system_info(&info);
  return info.wProcessorArchitecture;
}
