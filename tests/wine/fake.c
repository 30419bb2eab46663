/* cfgmgr32, setupapi and netapi32 in one DLL, installed in the test prefix's system folder under each name: the
   machine below. FAKE picks a variant:
   c<n>        the first class's name of n characters;
   p<n>        n devices of class Ports (n > 3);
   u<n>        NetUserEnum failing with n;
   k           account names of U+4E2D;
   a           CM_Enumerate_Classes succeeding at every index;
   e           SetupDiEnumDeviceInfo finding a nameless device at every index of a class without devices;
   r           NetUserEnum answering "more data" without moving on. */
#define _CFGMGR32_
#define _SETUPAPI_
#include <windows.h>
#include <cfgmgr32.h>
#include <setupapi.h>
#include <lm.h>

#define COUNT(table) (sizeof table / sizeof table[0])

static char variant;
static DWORD number;
static char long_text[4100];
static WCHAR long_name[601];
static DWORD builds, left; /* device sets built, and not destroyed */

/* In index order; a class's GUID and device set carry its index + 1. No name: an invalid entry. key: the HKCU key
   standing in for its setup key (the first has a description, "Software" none; no key: it cannot be opened).
   shared: the installed classes of that name. device: the friendly name and description of each device; past three
   devices, a class's devices are its first name and their number. */
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
    {"Ports", "Software", 1, 0, {{"COM"}}},
    {"Modem", 0, 1, 1, {{"Hayes Optima"}}},
    {"Shared", "Software", 3, 1, {{"Shared Device"}}},
};

#define USER(name, priv, flags, age, bad, logons, last, expired)                                             \
  {                                                                                                          \
    .usri3_name = (LPWSTR)(name), .usri3_priv = (priv), .usri3_flags = (flags), .usri3_password_age = (age), \
    .usri3_bad_pw_count = (bad), .usri3_num_logons = (logons), .usri3_last_logon = (last),                   \
    .usri3_password_expired = (expired)                                                                      \
  }
static USER_INFO_3 users[] = {
    USER(L"Administrator", USER_PRIV_ADMIN, UF_PASSWD_NOTREQD | UF_DONT_EXPIRE_PASSWD, 3725, 0, 412, 1000000000, 0),
    USER(long_name + 344, USER_PRIV_GUEST, 0xFFFFFFFF, 0, 0xFFFFFFFF, 0xFFFFFFFF, 0, 1),
    USER(L"Jos\u00e9 \u4e2d", USER_PRIV_USER, UF_LOCKOUT | UF_PASSWORD_EXPIRED, 700000, 3, 7, 1234567890, 0),
    USER(long_name, 7, UF_PASSWD_CANT_CHANGE | UF_TRUSTED_TO_AUTHENTICATE_FOR_DELEGATION, 86400, 0, 1, 0, 0),
};

static BOOL known(DWORD class_number) {
  return class_number >= 1 && class_number <= COUNT(classes) && classes[class_number - 1].name;
}

/* Writes n in decimal at text, with a NUL; returns the end. */
static char *put_number(char *text, DWORD n) {
  DWORD digits = 1;
  for (DWORD rest = n; rest >= 10; rest /= 10) ++digits;
  for (DWORD i = digits; i-- > 0; n /= 10) text[i] = (char)('0' + n % 10);
  text[digits] = 0;
  return text + digits;
}

BOOL WINAPI DllMainCRTStartup(HINSTANCE dll, DWORD reason, LPVOID reserved) {
  char fake[16] = "";
  char line[48] = "fake: ";
  DWORD written;
  if (reason == DLL_PROCESS_DETACH && builds) { /* "fake: N set builds, N left" on standard error */
    lstrcpyA(put_number(line + 6, builds), " set builds, ");
    lstrcpyA(put_number(line + lstrlenA(line), left), " left\n");
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), line, lstrlenA(line), &written, 0);
  }
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  GetEnvironmentVariableA("FAKE", fake, sizeof fake);
  variant = fake[0];
  for (const char *digit = fake + 1; *digit >= '0' && *digit <= '9'; ++digit) number = number * 10 + *digit - '0';
  for (DWORD i = 0; i < number && i < 4096; ++i) long_text[i] = 'x';
  /* Names of 600 and 256 characters; the last one differs, so that a piece printed twice would show. */
  for (int i = 0; i < 599; ++i) long_name[i] = variant == 'k' ? 0x4E2D : L'n';
  long_name[599] = L'z';
  if (variant == 'c') classes[0].name = long_text;
  if (variant == 'p') classes[3].count = number;
  return RegSetValueA(HKEY_CURRENT_USER, classes[0].key, REG_SZ, "Display adapters", 16) == ERROR_SUCCESS;
}

static BOOL give(const char *text, char *buffer, DWORD size, DWORD *required) {
  DWORD length = text ? (DWORD)lstrlenA(text) + 1 : 0;
  if (required) *required = length;
  if (!text) {
    SetLastError(ERROR_INVALID_DATA);
    return FALSE;
  }
  if (length > size) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  lstrcpyA(buffer, text);
  return TRUE;
}

CONFIGRET WINAPI CM_Enumerate_Classes(ULONG index, LPGUID guid, ULONG flags) {
  if (index >= COUNT(classes) && variant != 'a') return CR_NO_SUCH_VALUE;
  if (index < COUNT(classes) && !classes[index].name) return CR_INVALID_DATA;
  guid->Data1 = index + 1; /* past the table: a class that no other call knows */
  return CR_SUCCESS;
}

BOOL WINAPI SetupDiClassNameFromGuidA(const GUID *guid, PSTR name, DWORD size, PDWORD required) {
  return known(guid->Data1) && give(classes[guid->Data1 - 1].name, name, size, required);
}

BOOL WINAPI SetupDiClassGuidsFromNameA(PCSTR name, LPGUID list, DWORD size, PDWORD required) {
  DWORD i = 0;
  while (i < COUNT(classes) && (!classes[i].name || lstrcmpiA(name, classes[i].name) != 0)) ++i;
  *required = i < COUNT(classes) ? classes[i].shared : 0;
  for (DWORD k = 0; k < *required && k < size; ++k) list[k].Data1 = i + 1;
  if (*required <= size) return TRUE;
  SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return FALSE;
}

HDEVINFO WINAPI SetupDiGetClassDevsA(const GUID *guid, PCSTR enumerator, HWND parent, DWORD flags) {
  ++builds;
  if (!known(guid->Data1) || flags != DIGCF_PRESENT) return INVALID_HANDLE_VALUE;
  ++left;
  return (HDEVINFO)(INT_PTR)guid->Data1;
}

HKEY WINAPI SetupDiOpenClassRegKeyExA(const GUID *guid, REGSAM access, DWORD flags, PCSTR machine, PVOID reserved) {
  HKEY key;
  if (!known(guid->Data1) || !classes[guid->Data1 - 1].key || flags != DIOCR_INSTALLER) return INVALID_HANDLE_VALUE;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, classes[guid->Data1 - 1].key, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return INVALID_HANDLE_VALUE;
  return key;
}

BOOL WINAPI SetupDiEnumDeviceInfo(HDEVINFO set, DWORD index, PSP_DEVINFO_DATA device) {
  DWORD count = classes[(INT_PTR)set - 1].count;
  if (variant == 'e' && count == 0) {
    device->DevInst = 1; /* a device without names (its second), at every index */
    return TRUE;
  }
  if (device->cbSize != sizeof *device || index >= count) {
    SetLastError(ERROR_NO_MORE_ITEMS);
    return FALSE;
  }
  device->DevInst = index;
  return TRUE;
}

BOOL WINAPI SetupDiGetDeviceRegistryPropertyA(HDEVINFO set, PSP_DEVINFO_DATA device, DWORD property, PDWORD type,
                                              PBYTE buffer, DWORD size, PDWORD required) {
  DWORD count = classes[(INT_PTR)set - 1].count;
  const char *const *names = classes[(INT_PTR)set - 1].device[count > 3 ? 0 : device->DevInst];
  const char *text = 0;
  char numbered[24];
  if (property == SPDRP_FRIENDLYNAME) text = names[0];
  if (property == SPDRP_DEVICEDESC) text = names[1];
  if (count > 3 && text) {
    put_number(numbered + lstrlenA(lstrcpyA(numbered, text)), device->DevInst + 1);
    text = numbered;
  }
  return give(text, (char *)buffer, size, required);
}

BOOL WINAPI SetupDiDestroyDeviceInfoList(HDEVINFO set) { return set != INVALID_HANDLE_VALUE && left-- > 0; }

/* One account, then two, then the last, each request going on where the one before ended. */
NET_API_STATUS WINAPI NetUserEnum(LPCWSTR server, DWORD level, DWORD filter, LPBYTE *buffer, DWORD preferred,
                                  LPDWORD read, LPDWORD total, LPDWORD resume) {
  if (variant == 'u') return number;
  if (level != 3) return ERROR_INVALID_LEVEL;
  *buffer = (LPBYTE)(users + *resume);
  *total = COUNT(users);
  *read = *resume == 1 ? 2 : 1;
  if (variant == 'r') return ERROR_MORE_DATA;
  *resume += *read;
  return *resume < COUNT(users) ? ERROR_MORE_DATA : NERR_Success;
}

NET_API_STATUS WINAPI NetApiBufferFree(LPVOID buffer) { return buffer ? NERR_Success : ERROR_INVALID_PARAMETER; }
