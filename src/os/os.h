// The operating-system section.
#pragma once

// Prints the "Operating System Information" section.
void report_os(void);
