/* cfgmgr32, setupapi and netapi32 in one DLL, serving the machine below; at its end the copy that built device sets
   says on standard error how many, and how many were never destroyed: "fake: N set builds, N left". */
#define _CFGMGR32_
#define _SETUPAPI_
#include <windows.h>
#include <cfgmgr32.h>
#include <setupapi.h>
#include <lm.h>
int __cdecl sprintf(char *buffer, const char *format, ...); /* msvcrt's */

#define COUNT(table) (sizeof table / sizeof table[0])

/* A class's GUID and device set carry its index + 1. No name: an invalid entry. key: the HKCU key standing in for its
   setup key ("Software" has no description; none: it cannot be opened). shared: the installed classes of that name,
   the first of them, in a name lookup's list, Display.
   device: friendly name and description of each device; past three, the first name and the device's number. */
static struct {
  const char *name;
  const char *key;
  DWORD shared;
  DWORD count;
  const char *device[3][2];
} classes[] = {
    {"Display", "Software\\SysreportFake", 1, 1, {{"NVIDIA GeForce 6200"}}},
    {0},
    {"Net", "Software", 1, 3, {{0, "Realtek RTL8139"}, {0}, {"Intel PRO/100", "Ethernet"}}},
    {"Modem", 0, 1, 1, {{"Hayes Optima"}}},
    {"Shared", "Software", 3, 1, {{"Shared Device"}}},
    {"Ports", "Software", 1, 0, {{"COM"}}},
};

/* FAKE=<letter><n> (n = 1 if none) sets a figure: c the first class's name length (x's); p the devices of Ports, COM1
   to COMn (n > 3); u the status NetUserEnum fails with; r NetUserEnum answering "more data" without moving on. */
static DWORD name_length, failure, stuck, builds, left;
static const char letters[] = "cpur";
static DWORD *const figures[] = {&name_length, &classes[5].count, &failure, &stuck};
static char long_text[4100];
static WCHAR long_name[601];

#define USER(name, priv, flags, age, bad, logons, last, expired)                                             \
  {                                                                                                          \
    .usri3_name = (LPWSTR)(name), .usri3_priv = (priv), .usri3_flags = (flags), .usri3_password_age = (age), \
    .usri3_bad_pw_count = (bad), .usri3_num_logons = (logons), .usri3_last_logon = (last),                   \
    .usri3_password_expired = (expired)                                                                      \
  }
static USER_INFO_3 users[] = {
    USER(long_name, USER_PRIV_ADMIN, UF_PASSWD_NOTREQD | UF_DONT_EXPIRE_PASSWD, 3725, 0, 412, 1000000000, 0),
    USER(long_name + 344, USER_PRIV_GUEST, UF_PASSWD_CANT_CHANGE | UF_LOCKOUT | 0xFE76FF8D, 0, -1, -1, 0, 1),
    USER(L"Jos\u00e9 \u4e2d", USER_PRIV_USER, UF_LOCKOUT | UF_PASSWORD_EXPIRED, 700000, 3, 7, 1234567890, 0),
};

BOOL WINAPI DllMainCRTStartup(HINSTANCE dll, DWORD reason, LPVOID reserved) {
  char text[64] = "";
  DWORD i = 0, length = 0;
  if (reason == DLL_PROCESS_DETACH && builds) length = sprintf(text, "fake: %lu set builds, %lu left\n", builds, left);
  if (length) WriteFile(GetStdHandle(STD_ERROR_HANDLE), text, length, &length, 0);
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  GetEnvironmentVariableA("FAKE", text, sizeof text);
  while (letters[i] && letters[i] != text[0]) ++i;
  if (letters[i]) *figures[i] = text[1] ? atol(text + 1) : 1;
  for (i = 0; i < name_length && i < 4096; ++i) long_text[i] = 'x';
  if (name_length) classes[0].name = long_text;
  /* Names of 600 and 256 characters; the last one differs, so that a piece printed twice would show. */
  for (i = 0; i < 599; ++i) long_name[i] = L'n';
  long_name[599] = L'z';
  return RegSetValueA(HKEY_CURRENT_USER, classes[0].key, REG_SZ, "Display adapters", 16) == ERROR_SUCCESS;
}

static BOOL known(DWORD class_number) {
  return class_number >= 1 && class_number <= COUNT(classes) && classes[class_number - 1].name;
}
static BOOL give(const char *text, char *buffer, DWORD size, DWORD *required) {
  DWORD length = text ? (DWORD)lstrlenA(text) + 1 : 0;
  if (required) *required = length;
  SetLastError(text ? ERROR_INSUFFICIENT_BUFFER : ERROR_INVALID_DATA);
  return text && length <= size && lstrcpyA(buffer, text);
}

CONFIGRET WINAPI CM_Enumerate_Classes(ULONG index, LPGUID guid, ULONG flags) {
  if (index >= COUNT(classes)) return CR_NO_SUCH_VALUE;
  if (!classes[index].name) return CR_INVALID_DATA;
  guid->Data1 = index + 1;
  return CR_SUCCESS;
}
BOOL WINAPI SetupDiClassNameFromGuidA(const GUID *guid, PSTR name, DWORD size, PDWORD required) {
  return known(guid->Data1) && give(classes[guid->Data1 - 1].name, name, size, required);
}
BOOL WINAPI SetupDiClassGuidsFromNameA(PCSTR name, LPGUID list, DWORD size, PDWORD required) {
  DWORD i = 0;
  while (i < COUNT(classes) && (!classes[i].name || lstrcmpiA(name, classes[i].name) != 0)) ++i;
  *required = i < COUNT(classes) ? classes[i].shared : 0;
  for (DWORD k = 0; k < *required && k < size; ++k) list[k].Data1 = classes[i].shared > 1 ? 1 : i + 1;
  SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return *required <= size;
}
HDEVINFO WINAPI SetupDiGetClassDevsA(const GUID *guid, PCSTR enumerator, HWND parent, DWORD flags) {
  ++builds;
  if (!known(guid->Data1) || flags != DIGCF_PRESENT) return INVALID_HANDLE_VALUE;
  ++left;
  return (HDEVINFO)(INT_PTR)guid->Data1;
}
HKEY WINAPI SetupDiOpenClassRegKeyExA(const GUID *guid, REGSAM access, DWORD flags, PCSTR machine, PVOID reserved) {
  HKEY key = INVALID_HANDLE_VALUE;
  if (known(guid->Data1) && classes[guid->Data1 - 1].key && flags == DIOCR_INSTALLER)
    RegOpenKeyExA(HKEY_CURRENT_USER, classes[guid->Data1 - 1].key, 0, KEY_READ, &key);
  return key;
}
BOOL WINAPI SetupDiEnumDeviceInfo(HDEVINFO set, DWORD index, PSP_DEVINFO_DATA device) {
  SetLastError(ERROR_NO_MORE_ITEMS);
  device->DevInst = index;
  return device->cbSize == sizeof *device && index < classes[(INT_PTR)set - 1].count;
}
BOOL WINAPI SetupDiGetDeviceRegistryPropertyA(HDEVINFO set, PSP_DEVINFO_DATA device, DWORD property, PDWORD type,
                                              PBYTE buffer, DWORD size, PDWORD required) {
  DWORD count = classes[(INT_PTR)set - 1].count;
  const char *const *names = classes[(INT_PTR)set - 1].device[count > 3 ? 0 : device->DevInst];
  const char *text = property == SPDRP_FRIENDLYNAME ? names[0] : property == SPDRP_DEVICEDESC ? names[1] : 0;
  char numbered[24];
  if (count > 3 && text && sprintf(numbered, "%s%lu", text, device->DevInst + 1)) text = numbered;
  return give(text, (char *)buffer, size, required);
}
BOOL WINAPI SetupDiDestroyDeviceInfoList(HDEVINFO set) { return set != INVALID_HANDLE_VALUE && left-- > 0; }

/* One account, then the other two, each request going on where the one before ended; stuck: all, "more data". */
NET_API_STATUS WINAPI NetUserEnum(LPCWSTR server, DWORD level, DWORD filter, LPBYTE *buffer, DWORD preferred,
                                  LPDWORD read, LPDWORD total, LPDWORD resume) {
  if (failure) return failure;
  if (level != 3) return ERROR_INVALID_LEVEL;
  *buffer = (LPBYTE)(users + *resume);
  *total = COUNT(users);
  *read = stuck ? COUNT(users) : *resume == 1 ? 2 : 1;
  if (stuck) return ERROR_MORE_DATA;
  *resume += *read;
  return *resume < COUNT(users) ? ERROR_MORE_DATA : NERR_Success;
}
NET_API_STATUS WINAPI NetApiBufferFree(LPVOID buffer) { return buffer ? NERR_Success : ERROR_INVALID_PARAMETER; }
