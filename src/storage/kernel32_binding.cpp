// GetDiskFreeSpaceExA, which Windows 95 before OSR2 lacks.
#include "report/binding.h"

static struct {
  bool looked_up;
  decltype(&GetDiskFreeSpaceExA) free_space;
} g_kernel32;

static void bind_kernel32(void) {
  if (g_kernel32.looked_up) return;
  g_kernel32.looked_up = true;
  // kernel32 is loaded into every process.
  look_up(GetModuleHandleA(kKernel32Dll), "GetDiskFreeSpaceExA", &g_kernel32.free_space);
}

BOOL WINAPI GetDiskFreeSpaceExA(LPCSTR directory, PULARGE_INTEGER available_to_caller, PULARGE_INTEGER total_bytes,
                                PULARGE_INTEGER free_bytes) {
  bind_kernel32();
  if (!g_kernel32.free_space) return absent_function<BOOL>(FALSE);
  return g_kernel32.free_space(directory, available_to_caller, total_bytes, free_bytes);
}
