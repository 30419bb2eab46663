// The platform seam on Windows: the system's own headers.
#pragma once

#include <windows.h>
#include <cfgmgr32.h>
#include <lm.h>
#include <setupapi.h>
#include <stdio.h>
#include <string.h>

#if defined(__GNUC__)
// msvcrt's plain ctime, which takes a 32-bit time: it is the one that
// Windows 95 and NT 4.0 export (_ctime32 and _ctime64 came later).
extern "C" char *__cdecl sysreport_msvcrt_ctime(const __time32_t *timer) __asm__("_ctime");
inline char *ctime(const __time32_t *timer) { return sysreport_msvcrt_ctime(timer); }
#else
#include <time.h>
// MSVC links its own runtime, whose 32-bit form has the newer name.
inline char *ctime(const __time32_t *timer) { return _ctime32(timer); }
#endif
