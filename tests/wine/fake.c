/* cfgmgr32, setupapi and netapi32 in one DLL, copied beside the program under each name: the machine below and
   nothing else. FAKE picks a variant: c<n> names the first class with n characters, d<n> its first device, u<n>
   makes NetUserEnum fail with status n. */
#define _CFGMGR32_
#define _SETUPAPI_
#include <windows.h>
#include <cfgmgr32.h>
#include <setupapi.h>
#include <lm.h>

static char variant, long_text[4100];
static WCHAR long_name[601];
static DWORD number, requests;
/* In index order; no name: an invalid entry. key: the HKCU key the class's setup key opens (none: it cannot be
   opened); shared: how many classes bear the name; devices: friendly name and description, either may be missing. */
static const struct { const char *name, *key; DWORD shared, count; const char *device[3][2]; } classes[] = {
    {"Display", "Software\\SysreportFake\\Display", 1, 1, {{"NVIDIA GeForce 6200"}}},
    {0},
    {"Net", "Software\\SysreportFake\\Net", 1, 3, {{0, "Realtek RTL8139"}, {0}, {"Intel PRO/100", "Ethernet"}}},
    {"Ports", "Software\\SysreportFake\\Net", 1, 0, {{0}}},
    {"Modem", 0, 1, 1, {{"Hayes Optima"}}},
    {"Shared", "Software\\SysreportFake\\Net", 3, 1, {{"Shared Device"}}}};
static const struct { const WCHAR *name; DWORD priv, flags, age, bad, logons, last, expired; } users[] = {
    {L"Administrator", USER_PRIV_ADMIN, UF_PASSWD_NOTREQD | UF_DONT_EXPIRE_PASSWD, 3725, 0, 412, 1000000000, 0},
    {L"Guest", USER_PRIV_GUEST, 0xFFFFFFFF, 0, 0xFFFFFFFF, 0xFFFFFFFF, 0, 1},
    {L"Jos\u00e9 \u4e2d", USER_PRIV_USER, UF_LOCKOUT | UF_TRUSTED_FOR_DELEGATION, 700000, 3, 7, 1234567890, 0},
    {long_name + 344, 7, UF_ACCOUNTDISABLE | UF_PASSWORD_EXPIRED, 59, 1, 2, 0, 0},
    {long_name, USER_PRIV_USER, UF_PASSWD_CANT_CHANGE | UF_TRUSTED_TO_AUTHENTICATE_FOR_DELEGATION, 86400, 0, 1, 0, 0}};
#define COUNT(table) (sizeof table / sizeof table[0])
#define CLASS(set) classes[(INT_PTR)(set) - 1]

BOOL WINAPI DllMainCRTStartup(HINSTANCE dll, DWORD reason, LPVOID reserved) {
  char fake[16] = "";
  DWORD n = 0;
  GetEnvironmentVariableA("FAKE", fake, sizeof fake);
  for (const char *digit = fake + 1; *digit >= '0' && *digit <= '9'; ++digit) n = n * 10 + (DWORD)(*digit - '0');
  variant = fake[0], number = n;
  for (DWORD i = 0; i < n && i + 1 < sizeof long_text; ++i) long_text[i] = 'x';
  for (int i = 0; i < 600; ++i) long_name[i] = L'n';
  return TRUE;
}

static int class_of(const GUID *guid) {
  DWORD index = guid->Data1 - 0x5EC0;
  return index < COUNT(classes) && classes[index].name ? (int)index : -1;
}

static BOOL give(const char *text, char *buffer, DWORD size, DWORD *required) {
  DWORD length = text ? (DWORD)lstrlenA(text) + 1 : 0;
  if (required) *required = length;
  if (!text || length > size) return SetLastError(text ? ERROR_INSUFFICIENT_BUFFER : ERROR_INVALID_DATA), FALSE;
  return lstrcpyA(buffer, text), TRUE;
}

CONFIGRET WINAPI CM_Enumerate_Classes(ULONG index, LPGUID guid, ULONG flags) {
  if (index >= COUNT(classes)) return CR_NO_SUCH_VALUE;
  return classes[index].name ? (guid->Data1 = 0x5EC0 + index, CR_SUCCESS) : CR_INVALID_DATA;
}

BOOL WINAPI SetupDiClassNameFromGuidA(const GUID *guid, PSTR name, DWORD size, PDWORD required) {
  int i = class_of(guid);
  return i >= 0 && give(i == 0 && variant == 'c' ? long_text : classes[i].name, name, size, required);
}

BOOL WINAPI SetupDiClassGuidsFromNameA(PCSTR name, LPGUID list, DWORD size, PDWORD required) {
  DWORD found = 0;
  for (DWORD i = 0; i < COUNT(classes); ++i)
    for (DWORD k = 0; classes[i].name && !lstrcmpiA(name, classes[i].name) && k < classes[i].shared; ++k, ++found)
      if (found < size) list[found].Data1 = 0x5EC0 + i;
  *required = found;
  return found <= size || (SetLastError(ERROR_INSUFFICIENT_BUFFER), FALSE);
}

HDEVINFO WINAPI SetupDiGetClassDevsA(const GUID *guid, PCSTR enumerator, HWND parent, DWORD flags) {
  int i = class_of(guid);
  return i < 0 || enumerator || flags != DIGCF_PRESENT ? INVALID_HANDLE_VALUE : (HDEVINFO)(INT_PTR)(i + 1);
}

HKEY WINAPI SetupDiOpenClassRegKeyExA(const GUID *guid, REGSAM access, DWORD flags, PCSTR machine, PVOID reserved) {
  int i = class_of(guid);
  HKEY key;
  if (i < 0 || !classes[i].key || flags != DIOCR_INSTALLER || RegOpenKeyExA(HKEY_CURRENT_USER, classes[i].key, 0,
                                                                              KEY_READ, &key))
    return (HKEY)INVALID_HANDLE_VALUE;
  return key;
}

BOOL WINAPI SetupDiEnumDeviceInfo(HDEVINFO set, DWORD index, PSP_DEVINFO_DATA device) {
  if (device->cbSize != sizeof *device || index >= CLASS(set).count) return SetLastError(ERROR_NO_MORE_ITEMS), FALSE;
  return device->DevInst = index, TRUE;
}

BOOL WINAPI SetupDiGetDeviceRegistryPropertyA(HDEVINFO set, PSP_DEVINFO_DATA device, DWORD property, PDWORD type,
                                              PBYTE buffer, DWORD size, PDWORD required) {
  const char *const *names = CLASS(set).device[device->DevInst];
  const char *text = property == SPDRP_FRIENDLYNAME ? names[0] : property == SPDRP_DEVICEDESC ? names[1] : 0;
  if (set == (HDEVINFO)1 && device->DevInst == 0 && variant == 'd' && property == SPDRP_FRIENDLYNAME) text = long_text;
  return give(text, (char *)buffer, size, required);
}

BOOL WINAPI SetupDiDestroyDeviceInfoList(HDEVINFO set) { return set != INVALID_HANDLE_VALUE; }

/* Two accounts a request, from where the last one ended; a program that never ends asking is stopped. */
NET_API_STATUS WINAPI NetUserEnum(LPCWSTR server, DWORD level, DWORD filter, LPBYTE *buffer, DWORD preferred,
                                  LPDWORD read, LPDWORD total, LPDWORD resume) {
  static USER_INFO_3 page[2];
  DWORD first = *resume, count = 0;
  if (variant == 'u') return number;
  if (level != 3 || ++requests > 9) return ERROR_INVALID_PARAMETER;
  for (USER_INFO_3 *out = page; count < 2 && first + count < COUNT(users); ++count, ++out) {
    DWORD i = first + count;
    out->usri3_name = (LPWSTR)users[i].name, out->usri3_priv = users[i].priv, out->usri3_flags = users[i].flags;
    out->usri3_password_age = users[i].age, out->usri3_bad_pw_count = users[i].bad;
    out->usri3_num_logons = users[i].logons, out->usri3_last_logon = users[i].last;
    out->usri3_password_expired = users[i].expired;
  }
  *buffer = (LPBYTE)page, *read = count, *total = COUNT(users), *resume = first + count;
  return *resume < COUNT(users) ? ERROR_MORE_DATA : NERR_Success;
}

NET_API_STATUS WINAPI NetApiBufferFree(LPVOID buffer) { return buffer ? NERR_Success : ERROR_INVALID_PARAMETER; }
