// The hardware section: the machine, its firmware, processors and memory.
#pragma once

// Prints the "Hardware Information" section. Returns 0.
int report_hardware(void);
