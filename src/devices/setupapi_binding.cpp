// The device-installation services: cfgmgr32's class enumeration and the
// setupapi functions. Windows 95 has neither DLL, NT 4.0 not all of the
// functions.
#include "report/binding.h"

static struct {
  bool looked_up;
  decltype(&CM_Enumerate_Classes) enumerate_classes;
} g_cfgmgr32;

static struct {
  bool looked_up;
  decltype(&SetupDiClassNameFromGuidA) class_name_from_guid;
  decltype(&SetupDiClassGuidsFromNameA) class_guids_from_name;
  decltype(&SetupDiGetClassDevsA) get_class_devs;
  decltype(&SetupDiOpenClassRegKeyExA) open_class_key;
  decltype(&SetupDiEnumDeviceInfo) enum_device_info;
  decltype(&SetupDiGetDeviceRegistryPropertyA) get_device_property;
  decltype(&SetupDiDestroyDeviceInfoList) destroy_device_info_list;
  decltype(&SetupDiBuildClassInfoList) build_class_info_list;  // needed only where the enumeration lists nothing
} g_setupapi;

static bool bind_cfgmgr32(void) {
  if (!g_cfgmgr32.looked_up) {
    g_cfgmgr32.looked_up = true;
    look_up(load_system_dll("cfgmgr32.dll"), "CM_Enumerate_Classes", &g_cfgmgr32.enumerate_classes);
  }
  return g_cfgmgr32.enumerate_classes != NULL;
}

// True when all seven setupapi functions are there. The queries use them
// only together: a set that could be built but not destroyed would leak, a
// class that could be found but not named would mislead.
static bool bind_setupapi(void) {
  if (!g_setupapi.looked_up) {
    g_setupapi.looked_up = true;
    HMODULE dll = load_system_dll("setupapi.dll");
    look_up(dll, "SetupDiClassNameFromGuidA", &g_setupapi.class_name_from_guid);
    look_up(dll, "SetupDiClassGuidsFromNameA", &g_setupapi.class_guids_from_name);
    look_up(dll, "SetupDiGetClassDevsA", &g_setupapi.get_class_devs);
    look_up(dll, "SetupDiOpenClassRegKeyExA", &g_setupapi.open_class_key);
    look_up(dll, "SetupDiEnumDeviceInfo", &g_setupapi.enum_device_info);
    look_up(dll, "SetupDiGetDeviceRegistryPropertyA", &g_setupapi.get_device_property);
    look_up(dll, "SetupDiDestroyDeviceInfoList", &g_setupapi.destroy_device_info_list);
    look_up(dll, "SetupDiBuildClassInfoList", &g_setupapi.build_class_info_list);
  }
  return g_setupapi.class_name_from_guid && g_setupapi.class_guids_from_name && g_setupapi.get_class_devs &&
         g_setupapi.open_class_key && g_setupapi.enum_device_info && g_setupapi.get_device_property &&
         g_setupapi.destroy_device_info_list;
}

CONFIGRET WINAPI CM_Enumerate_Classes(ULONG class_index, LPGUID class_guid, ULONG flags) {
  // Without the services no class can be listed: every index lies past the
  // last class, and the walk ends at once.
  if (!bind_cfgmgr32() || !bind_setupapi()) return absent_function<CONFIGRET>(CR_NO_SUCH_VALUE);
  return g_cfgmgr32.enumerate_classes(class_index, class_guid, flags);
}

BOOL WINAPI SetupDiClassNameFromGuidA(const GUID *class_guid, LPSTR class_name, DWORD class_name_size,
                                      PDWORD required_size) {
  if (!bind_setupapi()) return absent_function<BOOL>(FALSE);
  return g_setupapi.class_name_from_guid(class_guid, class_name, class_name_size, required_size);
}

BOOL WINAPI SetupDiClassGuidsFromNameA(LPCSTR class_name, LPGUID guid_list, DWORD guid_list_size,
                                       PDWORD required_size) {
  if (!bind_setupapi()) {
    // No installed class bears any name: there is nothing to ask again for.
    if (required_size) *required_size = 0;
    return absent_function<BOOL>(FALSE);
  }
  return g_setupapi.class_guids_from_name(class_name, guid_list, guid_list_size, required_size);
}

HDEVINFO WINAPI SetupDiGetClassDevsA(const GUID *class_guid, LPCSTR enumerator, HWND parent, DWORD flags) {
  if (!bind_setupapi()) return absent_function<HDEVINFO>(INVALID_HANDLE_VALUE);
  return g_setupapi.get_class_devs(class_guid, enumerator, parent, flags);
}

HKEY WINAPI SetupDiOpenClassRegKeyExA(const GUID *class_guid, REGSAM access, DWORD flags, LPCSTR machine_name,
                                      PVOID reserved) {
  if (!bind_setupapi()) return absent_function<HKEY>((HKEY)INVALID_HANDLE_VALUE);
  return g_setupapi.open_class_key(class_guid, access, flags, machine_name, reserved);
}

BOOL WINAPI SetupDiEnumDeviceInfo(HDEVINFO set, DWORD member_index, PSP_DEVINFO_DATA device) {
  if (!bind_setupapi()) return absent_function<BOOL>(FALSE);
  return g_setupapi.enum_device_info(set, member_index, device);
}

BOOL WINAPI SetupDiGetDeviceRegistryPropertyA(HDEVINFO set, PSP_DEVINFO_DATA device, DWORD property, PDWORD value_type,
                                              PBYTE buffer, DWORD buffer_size, PDWORD required_size) {
  if (!bind_setupapi()) return absent_function<BOOL>(FALSE);
  return g_setupapi.get_device_property(set, device, property, value_type, buffer, buffer_size, required_size);
}

BOOL WINAPI SetupDiDestroyDeviceInfoList(HDEVINFO set) {
  if (!bind_setupapi()) return absent_function<BOOL>(FALSE);
  return g_setupapi.destroy_device_info_list(set);
}

BOOL WINAPI SetupDiBuildClassInfoList(DWORD flags, LPGUID guid_list, DWORD guid_list_size, PDWORD required_size) {
  if (!bind_setupapi() || !g_setupapi.build_class_info_list) {
    if (required_size) *required_size = 0;
    return absent_function<BOOL>(FALSE);
  }
  return g_setupapi.build_class_info_list(flags, guid_list, guid_list_size, required_size);
}
