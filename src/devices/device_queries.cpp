#include "devices/devices.h"

#include "report/report.h"
#include "report/words.h"

// Larger GUID counts would overflow the byte size of their list in 32 bits.
static const DWORD kMaxGuidCount = 0xFFFFFFFFu / sizeof(GUID);

void release_class_list(ClassList *list) {
  if (list->guids) LocalFree(list->guids);
  list->guids = NULL;
  list->count = 0;
}

// Fills list from SetupDiBuildClassInfoList. FALSE when there is no list.
static BOOL build_class_list(ClassList *list) {
  DWORD count = 0;
  SetupDiBuildClassInfoList(0, NULL, 0, &count);
  if (count == 0 || count > kMaxGuidCount) return FALSE;
  list->guids = (GUID *)LocalAlloc(LPTR, count * sizeof(GUID));
  if (list->guids && SetupDiBuildClassInfoList(0, list->guids, count, &list->count) && list->count <= count)
    return TRUE;
  release_class_list(list);
  return FALSE;
}

// The class at class_index: from the list once there is one, else from the
// enumeration, which on real Windows always has a class at index 0.
static CONFIGRET class_at(ClassList *list, DWORD class_index, GUID *class_guid) {
  if (!list->guids) {
    CONFIGRET status = CM_Enumerate_Classes(class_index, class_guid, 0);
    if (status != CR_NO_SUCH_VALUE || class_index != 0 || !build_class_list(list)) return status;
  }
  if (class_index >= list->count) return CR_NO_SUCH_VALUE;
  *class_guid = list->guids[class_index];
  return CR_SUCCESS;
}

int query_device_class(ClassList *list, DWORD class_index, char *setup_class_name, char *class_description,
                       int *listable, ClassMembers *members) {
  *listable = 0;
  members->set = INVALID_HANDLE_VALUE;
  GUID class_guid;
  memset(&class_guid, 0, sizeof class_guid);
  CONFIGRET status = class_at(list, class_index, &class_guid);
  if (status == CR_NO_SUCH_VALUE) return -1;
  if (status == CR_INVALID_DATA) return -2;
  if (status != CR_SUCCESS) return -3;

  char class_name[kDeviceTextSize];
  DWORD required = kDeviceTextSize;
  memset(class_name, 0, sizeof class_name);
  BOOL named = SetupDiClassNameFromGuidA(&class_guid, class_name, kDeviceTextSize, &required);
  if (required > kDeviceTextSize) {
    printf("%s%d\n", kClassTooLong, (int)required);
    sprintf(class_name, "a device class name was too long (%d bytes)", (int)required);
    end_process(1, class_name);
  }
  // After any other failure the buffer holds nothing defined: the class goes
  // on nameless, and a later member query on "" finds no class.
  if (!named) class_name[0] = '\0';
  class_name[kDeviceTextSize - 1] = '\0';

  // The set that the member queries of the class's walk will use.
  HDEVINFO set = SetupDiGetClassDevsA(&class_guid, NULL, NULL, DIGCF_PRESENT);
  if (set == INVALID_HANDLE_VALUE) {
    strcpy(setup_class_name, class_name);
    return 0;
  }
  HKEY key = SetupDiOpenClassRegKeyExA(&class_guid, MAXIMUM_ALLOWED, DIOCR_INSTALLER, NULL, NULL);
  if (key == (HKEY)INVALID_HANDLE_VALUE) {
    SetupDiDestroyDeviceInfoList(set);
    strcpy(setup_class_name, class_name);
    return 0;
  }

  // Cleared first, so a stored value without a NUL still ends in the buffer.
  memset(class_description, 0, kDeviceTextSize);
  LONG description_size = (LONG)kDeviceTextSize;
  if (RegQueryValueA(key, NULL, class_description, &description_size) != ERROR_SUCCESS) class_description[0] = '\0';
  class_description[kDeviceTextSize - 1] = '\0';

  strcpy(setup_class_name, class_name);
  *listable = 1;
  members->guid = class_guid;
  members->set = set;
  RegCloseKey(key);
  return 0;
}

// Finds the first class GUID that the name lookup gives for name. Returns 0,
// or -2 when no installed class bears the name or the lookup cannot be done.
static int find_class_guid(const char *name, GUID *class_guid) {
  GUID short_list[2];
  DWORD count = 2;
  memset(short_list, 0, sizeof short_list);
  BOOL found = SetupDiClassGuidsFromNameA(name, short_list, 2, &count);
  if (count == 0) return -2;
  if (found) {
    *class_guid = short_list[0];
    return 0;
  }

  // More classes bear the name than the short list holds: ask again with
  // room for all of them.
  printf("Required Size %d\n", (int)count);
  GUID *full_list = NULL;
  if (count <= kMaxGuidCount) full_list = (GUID *)LocalAlloc(LPTR, count * sizeof(GUID));
  DWORD listed = count;
  BOOL refound = full_list != NULL && SetupDiClassGuidsFromNameA(name, full_list, count, &listed);
  int result = -2;
  if (refound && listed != 0) {
    *class_guid = full_list[0];
    result = 0;
  }
  if (full_list != NULL) LocalFree(full_list);
  if (result != 0) printf("%s\n", kBadClass);
  return result;
}

// Reads the display name of the device at device_index of set into
// device_name: the friendly name, else the device description. Returns 0,
// -1 past the last device, -4 when neither name can be read.
static int read_member_name(HDEVINFO set, DWORD device_index, char *device_name) {
  SP_DEVINFO_DATA device;
  memset(&device, 0, sizeof device);
  device.cbSize = sizeof(SP_DEVINFO_DATA);
  if (!SetupDiEnumDeviceInfo(set, device_index, &device)) return -1;

  // Cleared first, so a property without a NUL still ends in the buffer.
  memset(device_name, 0, kDeviceTextSize);
  if (!SetupDiGetDeviceRegistryPropertyA(set, &device, SPDRP_FRIENDLYNAME, NULL, (PBYTE)device_name, kDeviceTextSize,
                                         NULL) &&
      !SetupDiGetDeviceRegistryPropertyA(set, &device, SPDRP_DEVICEDESC, NULL, (PBYTE)device_name, kDeviceTextSize,
                                         NULL))
    return -4;
  device_name[kDeviceTextSize - 1] = '\0';
  return 0;
}

static bool same_guid(const GUID *a, const GUID *b) {
  bool same = a->Data1 == b->Data1 && a->Data2 == b->Data2 && a->Data3 == b->Data3;
  for (int i = 0; i < 8; ++i) same = same && a->Data4[i] == b->Data4[i];
  return same;
}

void release_class_members(ClassMembers *members) {
  if (members->set != INVALID_HANDLE_VALUE) SetupDiDestroyDeviceInfoList(members->set);
  members->set = INVALID_HANDLE_VALUE;
}

int query_class_member(DWORD device_index, const char *setup_class_name, ClassMembers *members, char *device_name) {
  GUID class_guid;
  int result = find_class_guid(setup_class_name, &class_guid);
  if (result == 0 && (members->set == INVALID_HANDLE_VALUE || !same_guid(&class_guid, &members->guid))) {
    // No set yet, or the set of another class than the name leads to: the
    // class found gets its own, kept for the rest of the walk.
    release_class_members(members);
    members->guid = class_guid;
    members->set = SetupDiGetClassDevsA(&class_guid, NULL, NULL, DIGCF_PRESENT);
  }
  if (result == 0 && members->set == INVALID_HANDLE_VALUE) result = -1;
  if (result == 0) result = read_member_name(members->set, device_index, device_name);
  if (result != 0) device_name[0] = '\0';
  return result;
}
