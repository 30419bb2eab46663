// The devices section.
#pragma once

// Prints the "Devices" section. Returns 0.
int report_devices(void);
