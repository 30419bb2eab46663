// The table program's console start-up, as sysreport's (src/main/start.cpp).
#include <stdlib.h>

#include "main/console_start.h"
#include "table/table.h"

extern "C" [[noreturn]] void table_start(void) {
  char **argv;
  int argc = console_arguments(&argv);
  exit(run_table(argc, argv));
}
