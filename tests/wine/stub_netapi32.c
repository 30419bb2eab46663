/* A netapi32.dll that has NetApiBufferFree but no NetUserEnum, as a system
   without the account enumeration might have it. Placed beside the program,
   it shows that the program still starts and that its users section reports
   the missing function. No runtime: the DLL imports nothing. */
#include <windows.h>

BOOL WINAPI DllMainCRTStartup(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)instance;
  (void)reason;
  (void)reserved;
  return TRUE;
}

DWORD WINAPI NetApiBufferFree(LPVOID buffer) {
  (void)buffer;
  return 0;
}
