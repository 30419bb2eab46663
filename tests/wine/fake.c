/* cfgmgr32, setupapi and netapi32 in one DLL, installed in the system folder under each name: the machine below. FAKE
   picks a variant: c<n>/d<n> the first class's name/device of n characters, u<n> NetUserEnum failing with n, k
   account names of U+4E2D; walks that the services never end: a CM_Enumerate_Classes succeeding at every index, e
   SetupDiEnumDeviceInfo finding a nameless device at every index of a class without devices, r NetUserEnum answering
   "more data" without moving on. */
#define _CFGMGR32_
#define _SETUPAPI_
#include <windows.h>
#include <cfgmgr32.h>
#include <setupapi.h>
#include <lm.h>
static char variant, long_text[4100]; static WCHAR long_name[601]; static DWORD number, requests;
/* In index order (GUID and set carry index + 1); no name: invalid. key: HKCU key of the setup key (the first has a
   description, Software none; none: cannot be opened); shared: classes of that name; devices: friendly name, description. */
static struct { const char *name, *key; DWORD shared, count; const char *device[3][2]; } classes[] = {
    {"Display", "Software\\SysreportFake", 1, 1, {{"NVIDIA GeForce 6200"}}}, {0},
    {"Net", "Software", 1, 3, {{0, "Realtek RTL8139"}, {0}, {"Intel PRO/100", "Ethernet"}}},
    {"Ports", "Software", 1, 0, {{0}}}, {"Modem", 0, 1, 1, {{"Hayes Optima"}}},
    {"Shared", "Software", 3, 1, {{"Shared Device"}}}};
#define USER(n, p, f, a, b, l, t, e) {.usri3_name = (LPWSTR)n, .usri3_priv = p, .usri3_flags = f, .usri3_password_age = a, \
  .usri3_bad_pw_count = b, .usri3_num_logons = l, .usri3_last_logon = t, .usri3_password_expired = e}
static USER_INFO_3 users[] = {
    USER(L"Administrator", USER_PRIV_ADMIN, UF_PASSWD_NOTREQD | UF_DONT_EXPIRE_PASSWD, 3725, 0, 412, 1000000000, 0),
    USER(long_name + 344, USER_PRIV_GUEST, 0xFFFFFFFF, 0, 0xFFFFFFFF, 0xFFFFFFFF, 0, 1),
    USER(L"Jos\u00e9 \u4e2d", USER_PRIV_USER, UF_LOCKOUT | UF_PASSWORD_EXPIRED, 700000, 3, 7, 1234567890, 0),
    USER(long_name, 7, UF_PASSWD_CANT_CHANGE | UF_TRUSTED_TO_AUTHENTICATE_FOR_DELEGATION, 86400, 0, 1, 0, 0)};
#define COUNT(table) (sizeof table / sizeof table[0])
#define CLASS(n) classes[(n) - 1]
#define KNOWN(n) ((n) - 1 < COUNT(classes) && CLASS(n).name)
BOOL WINAPI DllMainCRTStartup(HINSTANCE dll, DWORD reason, LPVOID reserved) {
  char fake[16] = "";
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  GetEnvironmentVariableA("FAKE", fake, sizeof fake);
  for (const char *digit = fake + 1; *digit >= '0' && *digit <= '9'; ++digit) number = number * 10 + *digit - '0';
  for (DWORD i = 0; i < number && i < 4096; ++i) long_text[i] = 'x';
  for (int i = 0; i < 599; ++i) long_name[i] = fake[0] == 'k' ? 0x4E2D : L'n';  /* k: names of U+4E2D */
  long_name[599] = L'z';  /* a piece printed twice would show */
  if ((variant = fake[0]) == 'c') classes[0].name = long_text;
  if (variant == 'd') classes[0].device[0][0] = long_text;
  return !RegSetValueA(HKEY_CURRENT_USER, classes[0].key, REG_SZ, "Display adapters", 16);
}
static BOOL give(const char *text, char *buffer, DWORD size, DWORD *required) {
  DWORD length = text ? (DWORD)lstrlenA(text) + 1 : 0;
  if (required) *required = length;
  if (!text || length > size) return SetLastError(text ? ERROR_INSUFFICIENT_BUFFER : ERROR_INVALID_DATA), FALSE;
  return lstrcpyA(buffer, text), TRUE;
}
CONFIGRET WINAPI CM_Enumerate_Classes(ULONG index, LPGUID guid, ULONG flags) {
  if (variant == 'a' && index >= COUNT(classes)) {
    guid->Data1 = index + 1;  /* a class that no other call knows */
    return CR_SUCCESS;
  }
  if (index >= COUNT(classes)) return CR_NO_SUCH_VALUE;
  return classes[index].name ? (guid->Data1 = index + 1, CR_SUCCESS) : CR_INVALID_DATA;
}
BOOL WINAPI SetupDiClassNameFromGuidA(const GUID *guid, PSTR name, DWORD size, PDWORD required) {
  return KNOWN(guid->Data1) && give(CLASS(guid->Data1).name, name, size, required);
}
BOOL WINAPI SetupDiClassGuidsFromNameA(PCSTR name, LPGUID list, DWORD size, PDWORD required) {
  DWORD i = 0, k = 0;
  while (i < COUNT(classes) && (!classes[i].name || lstrcmpiA(name, classes[i].name))) ++i;
  for (*required = i < COUNT(classes) ? classes[i].shared : 0; k < *required && k < size; ++k) list[k].Data1 = i + 1;
  return *required <= size || (SetLastError(ERROR_INSUFFICIENT_BUFFER), FALSE);
}
HDEVINFO WINAPI SetupDiGetClassDevsA(const GUID *guid, PCSTR enumerator, HWND parent, DWORD flags) {
  return !KNOWN(guid->Data1) || flags != DIGCF_PRESENT ? INVALID_HANDLE_VALUE : (HDEVINFO)(INT_PTR)guid->Data1;
}
HKEY WINAPI SetupDiOpenClassRegKeyExA(const GUID *guid, REGSAM access, DWORD flags, PCSTR machine, PVOID reserved) {
  HKEY key;
  return KNOWN(guid->Data1) && CLASS(guid->Data1).key && flags == DIOCR_INSTALLER &&
         !RegOpenKeyExA(HKEY_CURRENT_USER, CLASS(guid->Data1).key, 0, KEY_READ, &key) ? key : INVALID_HANDLE_VALUE;
}
BOOL WINAPI SetupDiEnumDeviceInfo(HDEVINFO set, DWORD index, PSP_DEVINFO_DATA device) {
  if (variant == 'e' && CLASS((INT_PTR)set).count == 0) {
    device->DevInst = 0;  /* no names */
    return TRUE;
  }
  if (device->cbSize == sizeof *device && index < CLASS((INT_PTR)set).count) return device->DevInst = index, TRUE;
  return SetLastError(ERROR_NO_MORE_ITEMS), FALSE;
}
BOOL WINAPI SetupDiGetDeviceRegistryPropertyA(HDEVINFO set, PSP_DEVINFO_DATA device, DWORD property, PDWORD type,
                                              PBYTE buffer, DWORD size, PDWORD required) {
  const char *const *names = CLASS((INT_PTR)set).device[device->DevInst];
  const char *text = property == SPDRP_FRIENDLYNAME ? names[0] : property == SPDRP_DEVICEDESC ? names[1] : 0;
  return give(text, (char *)buffer, size, required);
}
BOOL WINAPI SetupDiDestroyDeviceInfoList(HDEVINFO set) { return set != INVALID_HANDLE_VALUE; }
/* One account, then two, then the last, each request going on where the last ended; endless asking is stopped. */
NET_API_STATUS WINAPI NetUserEnum(LPCWSTR server, DWORD level, DWORD filter, LPBYTE *buffer, DWORD preferred,
                                  LPDWORD read, LPDWORD total, LPDWORD resume) {
  if (variant == 'u') return number;
  if (variant == 'r') {
    *buffer = (LPBYTE)users;
    *read = 1;
    *total = COUNT(users);
    return ERROR_MORE_DATA;
  }
  if (level != 3 || ++requests > 9) return ERROR_INVALID_PARAMETER;
  *buffer = (LPBYTE)(users + *resume), *total = COUNT(users), *read = *resume == 1 ? 2 : 1, *resume += *read;
  return *resume < COUNT(users) ? ERROR_MORE_DATA : NERR_Success;
}
NET_API_STATUS WINAPI NetApiBufferFree(LPVOID buffer) { return buffer ? NERR_Success : ERROR_INVALID_PARAMETER; }
