// Simulated device-installation services over machine().classes. Only the
// entries that the class enumeration answers with CR_SUCCESS are installed
// classes; the others exist for the enumeration alone.
#include <stdio.h>

#include <map>

#include "sim.h"

using namespace sim;

namespace {

const char kSetKind[] = "device information set";

struct DeviceSet {
  GUID guid;
  std::vector<Device> devices;
};

// The sets handed out, by handle; a handle counts only while it is held.
std::map<void *, DeviceSet> g_sets;

bool same_guid(const GUID &a, const GUID &b) { return memcmp(&a, &b, sizeof(GUID)) == 0; }

DeviceClass *installed_class(const GUID *guid) {
  if (!guid) return nullptr;
  for (DeviceClass &c : machine().classes)
    if (c.enum_result == CR_SUCCESS && same_guid(c.guid, *guid)) return &c;
  return nullptr;
}

std::string guid_arg(const GUID *guid) { return guid ? guid_text(*guid) : "NULL"; }

std::string pointer_arg(const void *p) { return p ? "non-NULL" : "NULL"; }

DeviceSet *held_set(HDEVINFO set) {
  if (!is_held(set, kSetKind)) return nullptr;
  auto it = g_sets.find(set);
  return it == g_sets.end() ? nullptr : &it->second;
}

// The device a record filled by SetupDiEnumDeviceInfo stands for.
const Device *device_of(DeviceSet &set, const SP_DEVINFO_DATA *data) {
  if (!data || data->cbSize != sizeof(SP_DEVINFO_DATA)) return nullptr;
  if (data->Reserved == 0 || data->Reserved > set.devices.size()) return nullptr;
  return &set.devices[data->Reserved - 1];
}

}  // namespace

namespace sim {
std::string guid_text(const GUID &guid) {
  char text[40];
  snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", (unsigned)guid.Data1,
           (unsigned)guid.Data2, (unsigned)guid.Data3, guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3],
           guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
  return text;
}
}  // namespace sim

CONFIGRET WINAPI sim::dll::CM_Enumerate_Classes(ULONG index, LPGUID guid, ULONG flags) {
  record("CM_Enumerate_Classes", std::to_string(index) + ", " + std::to_string(flags));
  if (!guid) return CR_INVALID_POINTER;
  if (should_fail("CM_Enumerate_Classes")) return CR_FAILURE;
  const std::vector<DeviceClass> &classes = machine().classes;
  if (index >= classes.size()) return CR_NO_SUCH_VALUE;
  if (classes[index].enum_result == CR_SUCCESS) *guid = classes[index].guid;
  return classes[index].enum_result;
}

BOOL WINAPI sim::dll::SetupDiClassNameFromGuidA(const GUID *guid, LPSTR name, DWORD size, PDWORD required) {
  record("SetupDiClassNameFromGuidA", guid_arg(guid) + ", " + std::to_string(size));
  DeviceClass *c = installed_class(guid);
  if (!c) {
    SetLastError(ERROR_INVALID_CLASS);
    return FALSE;
  }
  if (required && c->required_size) *required = *c->required_size;
  if (c->name_fails || should_fail("SetupDiClassNameFromGuidA")) {
    // What the buffer holds after such a failure is not defined: leave
    // something no caller may take for a name.
    if (name) memset(name, '?', size);
    SetLastError(ERROR_INVALID_CLASS);
    return FALSE;
  }
  DWORD needed = static_cast<DWORD>(c->name.size() + 1);
  if (required) *required = c->required_size.value_or(needed);
  if (name && size < needed && machine().unterminated_texts) {
    memcpy(name, c->name.data(), size);
    return TRUE;
  }
  if (!name || size < needed) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  memcpy(name, c->name.c_str(), needed);
  return TRUE;
}

BOOL WINAPI sim::dll::SetupDiClassGuidsFromNameA(LPCSTR name, LPGUID list, DWORD list_size, PDWORD required) {
  record("SetupDiClassGuidsFromNameA", quote(name) + ", " + std::to_string(list_size));
  if (!name || !required) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (should_fail("SetupDiClassGuidsFromNameA")) {
    SetLastError(ERROR_INVALID_DATA);
    return FALSE;
  }
  std::vector<GUID> found;
  for (const DeviceClass &c : machine().classes)
    if (c.enum_result == CR_SUCCESS && lower(c.name) == lower(name)) found.push_back(c.guid);
  *required = machine().class_guid_count.value_or(static_cast<DWORD>(found.size()));
  // A list that is too small receives nothing.
  if (found.size() > list_size) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  for (size_t i = 0; i < found.size(); ++i) list[i] = found[i];
  return TRUE;
}

HDEVINFO WINAPI sim::dll::SetupDiGetClassDevsA(const GUID *guid, LPCSTR enumerator, HWND parent, DWORD flags) {
  record("SetupDiGetClassDevsA", guid_arg(guid) + ", " + quote(enumerator) + ", " + pointer_arg(parent) + ", " +
                                     std::to_string(flags));
  if (!guid && !(flags & DIGCF_ALLCLASSES)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  DeviceClass *c = installed_class(guid);
  if ((c && c->set_fails) || should_fail("SetupDiGetClassDevsA")) {
    SetLastError(ERROR_INVALID_DATA);
    return INVALID_HANDLE_VALUE;
  }
  // A GUID that no installed class has gives an empty set.
  DeviceSet set = {guid ? *guid : GUID{}, {}};
  if (c) {
    for (const Device &d : c->devices)
      if (d.present || !(flags & DIGCF_PRESENT)) set.devices.push_back(d);
  }
  void *handle = acquire(kSetKind);
  g_sets[handle] = set;
  return handle;
}

HKEY WINAPI sim::dll::SetupDiOpenClassRegKeyExA(const GUID *guid, REGSAM sam, DWORD flags, LPCSTR machine_name,
                                                PVOID reserved) {
  char sam_text[16];
  snprintf(sam_text, sizeof sam_text, "0x%08X", (unsigned)sam);
  record("SetupDiOpenClassRegKeyExA", guid_arg(guid) + ", " + sam_text + ", " + std::to_string(flags) + ", " +
                                          quote(machine_name) + ", " + pointer_arg(reserved));
  if (flags != DIOCR_INSTALLER && flags != DIOCR_INTERFACE) {
    SetLastError(ERROR_INVALID_FLAGS);
    return (HKEY)INVALID_HANDLE_VALUE;
  }
  DeviceClass *c = installed_class(guid);
  if (!c || c->key_fails || should_fail("SetupDiOpenClassRegKeyExA")) {
    SetLastError(c ? ERROR_ACCESS_DENIED : ERROR_INVALID_CLASS);
    return (HKEY)INVALID_HANDLE_VALUE;
  }
  // The interface-class key is another key, without the setup class's
  // description.
  if (flags == DIOCR_INSTALLER && c->stored_description) {
    RegKey contents;
    contents.values[""] = *c->stored_description;
    return open_class_key(contents, sam);
  }
  return open_class_key(flags == DIOCR_INSTALLER ? c->description : std::nullopt, sam);
}

BOOL WINAPI sim::dll::SetupDiEnumDeviceInfo(HDEVINFO handle, DWORD index, PSP_DEVINFO_DATA data) {
  record("SetupDiEnumDeviceInfo",
         std::to_string(index) + ", " + (data ? std::to_string(data->cbSize) : std::string("NULL")));
  DeviceSet *set = held_set(handle);
  if (!set) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!data) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (data->cbSize != sizeof(SP_DEVINFO_DATA)) {
    SetLastError(ERROR_INVALID_USER_BUFFER);
    return FALSE;
  }
  if (should_fail("SetupDiEnumDeviceInfo")) {
    SetLastError(ERROR_INVALID_DATA);
    return FALSE;
  }
  if (index >= set->devices.size()) {
    SetLastError(ERROR_NO_MORE_ITEMS);
    return FALSE;
  }
  data->ClassGuid = set->guid;
  data->DevInst = 0x100 + index;
  data->Reserved = index + 1;
  return TRUE;
}

BOOL WINAPI sim::dll::SetupDiGetDeviceRegistryPropertyA(HDEVINFO handle, PSP_DEVINFO_DATA data, DWORD property,
                                                        PDWORD type, PBYTE buffer, DWORD size, PDWORD required) {
  record("SetupDiGetDeviceRegistryPropertyA", std::to_string(property) + ", " + pointer_arg(type) + ", " +
                                                  std::to_string(size) + ", " + pointer_arg(required));
  DeviceSet *set = held_set(handle);
  if (!set) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  const Device *device = device_of(*set, data);
  if (!device) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::optional<std::string> *text = nullptr;
  if (property == SPDRP_FRIENDLYNAME) text = &device->friendly_name;
  if (property == SPDRP_DEVICEDESC) text = &device->description;
  if (!text || !text->has_value() || should_fail("SetupDiGetDeviceRegistryPropertyA")) {
    SetLastError(ERROR_INVALID_DATA);
    return FALSE;
  }
  DWORD needed = static_cast<DWORD>((*text)->size() + 1);
  if (type) *type = REG_SZ;
  if (required) *required = needed;
  if (buffer && size < needed && machine().unterminated_texts) {
    memcpy(buffer, (*text)->data(), size);
    return TRUE;
  }
  if (!buffer || size < needed) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  memcpy(buffer, (*text)->c_str(), needed);
  return TRUE;
}

BOOL WINAPI sim::dll::SetupDiDestroyDeviceInfoList(HDEVINFO handle) {
  record("SetupDiDestroyDeviceInfoList", "");
  if (!release(handle, kSetKind)) {
    note_problem("SetupDiDestroyDeviceInfoList of a set that is not held");
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  g_sets.erase(handle);
  return TRUE;
}
