// Simulated version query and registry access.
#include "sim.h"

using namespace sim;

namespace {

// An open registry key: a path into the machine's HKEY_LOCAL_MACHINE map, or
// a device class's setup key with contents of its own.
struct OpenKey {
  std::string path;  // lower case; "" is HKEY_LOCAL_MACHINE itself
  bool class_key = false;
  RegKey contents;   // a class key's
  REGSAM access = 0;
};

// Entries are written at every open and read only for handles still held, so
// entries left over from an earlier test do no harm.
std::map<HKEY, OpenKey> g_keys;

bool is_predefined(HKEY key) {
  return key == HKEY_CLASSES_ROOT || key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE;
}

OpenKey *open_key(HKEY key) {
  if (!is_held(key, "HKEY")) return nullptr;
  auto it = g_keys.find(key);
  return it == g_keys.end() ? nullptr : &it->second;
}

std::string key_text(HKEY key) {
  if (key == HKEY_CLASSES_ROOT) return "HKEY_CLASSES_ROOT";
  if (key == HKEY_CURRENT_USER) return "HKEY_CURRENT_USER";
  if (key == HKEY_LOCAL_MACHINE) return "HKEY_LOCAL_MACHINE";
  if (OpenKey *open = open_key(key)) return open->class_key ? "[class key]" : "[" + open->path + "]";
  return "[not open]";
}

// A key exists when it is in the map or some key lies below it.
bool key_exists(const std::string &path) {
  if (path.empty()) return true;
  const std::map<std::string, RegKey> &hklm = machine().hklm;
  if (hklm.count(path)) return true;
  auto below = hklm.lower_bound(path + "\\");
  return below != hklm.end() && below->first.compare(0, path.size() + 1, path + "\\") == 0;
}

// The key that sub_key names below parent, as RegOpenKeyExA finds it.
LONG resolve(HKEY parent, LPCSTR sub_key, OpenKey *found) {
  std::string sub = lower(sub_key ? sub_key : "");
  if (parent == HKEY_LOCAL_MACHINE) {
    found->path = sub;
  } else if (is_predefined(parent)) {
    return ERROR_FILE_NOT_FOUND;  // nothing is stored outside HKEY_LOCAL_MACHINE
  } else {
    const OpenKey *open = open_key(parent);
    if (!open) return ERROR_INVALID_HANDLE;
    if (sub.empty()) {
      *found = *open;
      return ERROR_SUCCESS;
    }
    if (open->class_key) return ERROR_FILE_NOT_FOUND;
    found->path = open->path.empty() ? sub : open->path + "\\" + sub;
  }
  return key_exists(found->path) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

HKEY hand_out(const OpenKey &key) {
  HKEY handle = static_cast<HKEY>(acquire("HKEY"));
  g_keys[handle] = key;
  return handle;
}

// The value name in key; NULL and "" name the default value.
std::optional<RegValue> find_value(const OpenKey &key, LPCSTR name) {
  const RegKey *contents = &key.contents;
  if (!key.class_key) {
    auto it = machine().hklm.find(key.path);
    if (it == machine().hklm.end()) return std::nullopt;
    contents = &it->second;
  }
  std::string wanted = lower(name ? name : "");
  auto it = contents->values.find(wanted);
  if (it != contents->values.end()) return it->second;
  if (wanted.empty() && contents->default_value) return RegValue{REG_SZ, *contents->default_value + '\0', std::nullopt};
  return std::nullopt;
}

bool may_query(const OpenKey &key) { return (key.access & (KEY_QUERY_VALUE | MAXIMUM_ALLOWED)) != 0; }

// Hands value to the caller as RegQueryValueExA does. A buffer too small gets
// ERROR_MORE_DATA, the size needed, and contents nobody may rely on.
LONG deliver(const RegValue &value, LPDWORD type, LPBYTE data, DWORD *size) {
  if (type) *type = value.type;
  DWORD needed = static_cast<DWORD>(value.data.size());
  DWORD reported = value.reported_size.value_or(needed);
  if (!data) {
    if (size) *size = reported;
    return ERROR_SUCCESS;
  }
  DWORD room = *size;
  *size = reported;
  if (room < needed) {
    memset(data, 0xCD, room);
    return ERROR_MORE_DATA;
  }
  memcpy(data, value.data.data(), needed);
  return ERROR_SUCCESS;
}

}  // namespace

namespace sim {

HKEY open_class_key(const std::optional<std::string> &default_value, REGSAM access) {
  RegKey contents;
  contents.default_value = default_value;
  return open_class_key(contents, access);
}

HKEY open_class_key(const RegKey &contents, REGSAM access) {
  OpenKey key;
  key.class_key = true;
  key.contents = contents;
  key.access = access;
  return hand_out(key);
}

}  // namespace sim

BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA info) {
  if (!info) {
    record("GetVersionExA", "NULL");
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DWORD size = info->dwOSVersionInfoSize;
  record("GetVersionExA", std::to_string(size));
  const Machine &m = machine();
  bool accepted = (size == sizeof(OSVERSIONINFOEXA) && m.version_ex_ok) ||
                  (size == sizeof(OSVERSIONINFOA) && m.version_basic_ok);
  if (!accepted || should_fail("GetVersionExA")) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  OSVERSIONINFOEXA version = m.version;
  version.dwOSVersionInfoSize = size;
  memcpy(info, &version, size);
  return TRUE;
}

LONG WINAPI RegOpenKeyExA(HKEY parent, LPCSTR sub_key, DWORD options, REGSAM access, PHKEY result) {
  record("RegOpenKeyExA",
         key_text(parent) + ", " + quote(sub_key) + ", " + std::to_string(options) + ", " + std::to_string(access));
  if (!result) return ERROR_INVALID_PARAMETER;
  OpenKey key;
  LONG status = resolve(parent, sub_key, &key);
  if (status != ERROR_SUCCESS) return status;
  if (should_fail("RegOpenKeyExA")) return ERROR_ACCESS_DENIED;
  key.access = access;
  *result = hand_out(key);
  return ERROR_SUCCESS;
}

LONG WINAPI RegQueryValueExA(HKEY handle, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                             LPDWORD size) {
  record("RegQueryValueExA", key_text(handle) + ", " + quote(name) + ", " + (reserved ? "reserved" : "NULL") +
                                 ", " + (type ? "type" : "NULL") + ", " + (data ? "data" : "NULL") + ", " +
                                 (size ? std::to_string(*size) : "NULL"));
  const OpenKey *key = open_key(handle);
  if (!key) return ERROR_INVALID_HANDLE;
  if (reserved || (data && !size)) return ERROR_INVALID_PARAMETER;
  if (!may_query(*key) || should_fail("RegQueryValueExA")) return ERROR_ACCESS_DENIED;
  std::optional<RegValue> value = find_value(*key, name);
  if (!value) return ERROR_FILE_NOT_FOUND;
  return deliver(*value, type, data, size);
}

// The default value of handle's key, or of its sub_key. A default value that
// was never set reads as the empty text.
LONG WINAPI RegQueryValueA(HKEY handle, LPCSTR sub_key, LPSTR data, PLONG count) {
  record("RegQueryValueA", key_text(handle) + ", " + quote(sub_key) + ", " + (data ? "data" : "NULL") + ", " +
                               (count ? std::to_string(*count) : "NULL"));
  OpenKey key;
  LONG status = resolve(handle, sub_key, &key);
  if (status != ERROR_SUCCESS) return status;
  if (data && !count) return ERROR_INVALID_PARAMETER;
  // A sub-key is opened for querying; the key itself needs that access.
  if (sub_key && *sub_key) key.access = KEY_QUERY_VALUE;
  if (!may_query(key) || should_fail("RegQueryValueA")) return ERROR_ACCESS_DENIED;
  RegValue value = find_value(key, nullptr).value_or(RegValue{REG_SZ, std::string(1, '\0'), std::nullopt});
  DWORD size = count && *count > 0 ? static_cast<DWORD>(*count) : 0;
  status = deliver(value, nullptr, reinterpret_cast<LPBYTE>(data), &size);
  if (count) *count = static_cast<LONG>(size);
  return status;
}

LONG WINAPI RegCloseKey(HKEY handle) {
  record("RegCloseKey", key_text(handle));
  if (is_predefined(handle)) return ERROR_SUCCESS;
  if (!release(handle, "HKEY")) {
    note_problem("RegCloseKey of a key that is not open");
    return ERROR_INVALID_HANDLE;
  }
  g_keys.erase(handle);
  return ERROR_SUCCESS;
}
