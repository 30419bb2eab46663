// Functions that some of the Windows versions the program runs on lack
// (GetDiskFreeSpaceExA, the device-installation services, the account
// enumeration) are not imported when the program loads: each section's
// *_binding.cpp defines them under their own names and forwards to the
// system's function, looked up at the first call. Where the system lacks one,
// it gives that function's documented failure with ERROR_PROC_NOT_FOUND.
#pragma once

#include "platform.h"

// The names of the DLLs that every Windows loads with the program: one copy
// each for every section.
inline constexpr char kKernel32Dll[] = "kernel32.dll";
inline constexpr char kAdvapi32Dll[] = "advapi32.dll";

// Loads the DLL name from the system folder, or gives NULL when the system
// has none there. A bare name would also be looked for beside the program, in
// the current folder and on PATH, where anyone may have put a DLL of that name.
inline HMODULE load_system_dll(const char *name) {
  char path[MAX_PATH];
  UINT folder_length = GetSystemDirectoryA(path, MAX_PATH);
  // 0 when the folder is unknown, MAX_PATH or more when it does not fit.
  if (folder_length == 0 || folder_length + 1 + strlen(name) >= MAX_PATH) return NULL;
  path[folder_length] = '\\';
  strcpy(path + folder_length + 1, name);
  // Windows 9x would otherwise show a message box for a DLL that it cannot
  // load. The altered search path looks for the DLL's own imports in its
  // folder first.
  UINT previous_mode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE dll = LoadLibraryExA(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
  SetErrorMode(previous_mode);
  return dll;
}

// Sets *function to the export name of dll, or to NULL (also when dll is).
template <typename Function>
void look_up(HMODULE dll, const char *name, Function *function) {
  // Through void (*)(void), the one function type any other converts from
  // and to without a warning.
  *function = dll ? reinterpret_cast<Function>(reinterpret_cast<void (*)(void)>(GetProcAddress(dll, name))) : NULL;
}

// The failure result of a function that the system lacks.
template <typename Result>
Result absent_function(Result failure) {
  SetLastError(ERROR_PROC_NOT_FOUND);
  return failure;
}
