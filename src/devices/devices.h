// The devices section: every installed device setup class with the names of
// its present devices, and the two queries it is built on.
#pragma once

#include "platform.h"

// Size of every class-name, description and device-name buffer: at most 4095
// characters and the terminating NUL.
static const DWORD kDeviceTextSize = 4096;

// Asks for the setup class at class_index. Returns 0 with the name in
// setup_class_name, and with listable 1 and the description (or "") in
// class_description when the class's present devices can be listed; -1 past
// the last class, -2 for an invalid entry, -3 for another failure. A class
// name needing more than 4096 bytes ends the process with status 1.
int query_device_class(DWORD class_index, char *setup_class_name, char *class_description, int *listable);

// Writes the display name of the present device at device_index of the class
// named setup_class_name into device_name ("" unless the result is 0).
// Returns 0, -1 past the last device, -2 when no class bears the name, -4
// when the device has no readable name.
int query_class_member(DWORD device_index, const char *setup_class_name, char *device_name);

// Prints the "Devices" section. Returns 0.
int report_devices(void);
