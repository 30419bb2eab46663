#include "os/os.h"

#include "report/report.h"

void report_os(void) { print_heading("Operating System Information"); }
