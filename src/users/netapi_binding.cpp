// The account enumeration of netapi32, which the Windows 9x family lacks.
#include "report/binding.h"

static struct {
  bool looked_up;
  decltype(&NetUserEnum) user_enum;
  decltype(&NetApiBufferFree) buffer_free;
} g_netapi32;

// True when both functions are there: a buffer that could not be released
// is never asked for.
static bool bind_netapi32(void) {
  if (!g_netapi32.looked_up) {
    g_netapi32.looked_up = true;
    HMODULE dll = load_system_dll("netapi32.dll");
    look_up(dll, "NetUserEnum", &g_netapi32.user_enum);
    look_up(dll, "NetApiBufferFree", &g_netapi32.buffer_free);
  }
  return g_netapi32.user_enum && g_netapi32.buffer_free;
}

NET_API_STATUS NET_API_FUNCTION NetUserEnum(LPCWSTR server_name, DWORD level, DWORD filter, LPBYTE *buffer,
                                            DWORD preferred_length, LPDWORD entries_read, LPDWORD total_entries,
                                            LPDWORD resume_handle) {
  if (!bind_netapi32()) return absent_function<NET_API_STATUS>(ERROR_PROC_NOT_FOUND);
  return g_netapi32.user_enum(server_name, level, filter, buffer, preferred_length, entries_read, total_entries,
                              resume_handle);
}

NET_API_STATUS NET_API_FUNCTION NetApiBufferFree(LPVOID buffer) {
  if (!bind_netapi32()) return absent_function<NET_API_STATUS>(ERROR_PROC_NOT_FOUND);
  return g_netapi32.buffer_free(buffer);
}
