// The programs section: the Windows build in detail, every installed program
// as Programs and Features lists it, and every installed update.
#pragma once

// Prints the "Programs and Updates" section. Returns 0.
int report_programs(void);
