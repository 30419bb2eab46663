// The platform seam on Windows: the system's own headers.
#pragma once

// The runtime's headers before the system's: <windows.h> brings in the C++
// library's configuration, which switches MinGW's own printf on for every
// later <stdio.h>; msvcrt's printf is the one wanted (MinGW's pulls in locale
// and wide-character code that imports functions Windows 95 lacks).
#include <stdio.h>
#include <string.h>

// GetDiskFreeSpaceExA and the cfgmgr32 and setupapi functions are defined by
// the program itself, which binds them at run time (report/binding.h): these
// switches drop the DLL-import attribute from their declarations, which would
// otherwise import them when the program loads. netapi32's carry none.
#define _KERNEL32_
#define _CFGMGR32_
#define _SETUPAPI_
#include <windows.h>
#include <cfgmgr32.h>
#include <lm.h>
#include <setupapi.h>

#if defined(_WIN64) && defined(__GNUC__)
// On x64, msvcrt's plain ctime takes a 64-bit time: the same import as the
// 32-bit program's. The sign is kept, so a time before 1970
// still gets no text.
extern "C" char *__cdecl sysreport_msvcrt_ctime(const __time64_t *timer) __asm__("ctime");
inline char *ctime(const __time32_t *timer) {
  __time64_t wide = *timer;
  return sysreport_msvcrt_ctime(&wide);
}
#elif defined(_WIN64)
#include <time.h>
inline char *ctime(const __time32_t *timer) {
  __time64_t wide = *timer;
  return _ctime64(&wide);
}
#elif defined(__GNUC__)
// msvcrt's plain ctime, which takes a 32-bit time: it is the one that
// Windows 95 and NT 4.0 export (_ctime32 and _ctime64 came later).
extern "C" char *__cdecl sysreport_msvcrt_ctime(const __time32_t *timer) __asm__("_ctime");
inline char *ctime(const __time32_t *timer) { return sysreport_msvcrt_ctime(timer); }
#else
#include <time.h>
// MSVC links its own runtime, whose 32-bit form has the newer name.
inline char *ctime(const __time32_t *timer) { return _ctime32(timer); }
#endif
