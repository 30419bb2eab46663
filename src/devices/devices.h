// The devices section: every installed device setup class with the names of
// its present devices, and the queries it is built on.
#pragma once

#include "platform.h"

// Size of every class-name, description and device-name buffer: at most 4095
// characters and the terminating NUL.
static const DWORD kDeviceTextSize = 4096;

// The present-device set of the class being walked: built once by the class
// query, used by every member query of the walk, destroyed at its end.
struct ClassMembers {
  GUID guid;     // the class whose devices the set lists
  HDEVINFO set;  // INVALID_HANDLE_VALUE when no set is held
};

// Where the class walk takes its classes from: the configuration manager's
// enumeration by index, or, where that lists no class at all, the list that
// SetupDiBuildClassInfoList gives (Wine's case).
struct ClassList {
  GUID *guids;  // NULL until the list is needed; the caller releases it with release_class_list
  DWORD count;
};

// Frees the list that the walk may have built.
void release_class_list(ClassList *list);

// Asks for the setup class at class_index. Returns 0 with the name in
// setup_class_name, and with listable 1, the description (or "") in
// class_description and the class's present-device set in members when the
// class's devices can be listed; -1 past the last class, -2 for an invalid
// entry, -3 for another failure. members holds a set only with listable 1;
// that set is the caller's to release with release_class_members. A class
// name needing more than 4096 bytes ends the process with status 1.
int query_device_class(ClassList *list, DWORD class_index, char *setup_class_name, char *class_description,
                       int *listable, ClassMembers *members);

// Writes the display name of the present device at device_index of the class
// named setup_class_name into device_name ("" unless the result is 0). The
// name is looked up at every call; the set in members serves when it lists
// the class found, else the class found gets its set built into members (the
// set held before is destroyed), to serve the rest of the walk. Returns 0, -1
// past the last device or when the set cannot be built, -2 when no class
// bears the name, -4 when the device has no readable name.
int query_class_member(DWORD device_index, const char *setup_class_name, ClassMembers *members, char *device_name);

// Destroys the set that members holds, if any; members then holds none.
void release_class_members(ClassMembers *members);

// Prints the "Devices" section. Returns 0.
int report_devices(void);
