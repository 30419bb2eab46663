// The console start-up of the MinGW builds (main/console_start.h). The entry
// is not named main because GCC would put a call to __main, which only
// MinGW's start-up provides, at its top.
#include <stdlib.h>

#include "main/console_start.h"
#include "main/driver.h"
#include "report/report.h"

void end_process(int status, const char *why) { exit(output_status(status, why)); }

extern "C" [[noreturn]] void sysreport_start(void) {
  char **argv;
  int argc = console_arguments(&argv);
  end_process(run_main(argc, argv), NULL);
}
