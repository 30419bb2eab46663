// The console start-up of the MinGW builds, in place of MinGW's own: that one
// imports more than the program needs, and its 32-bit form comes prebuilt for
// the Pentium Pro (it uses cmov), while this one is compiled for the 80386
// with the rest of the program. The entry is not named main because GCC would
// put a call to __main, which only MinGW's start-up provides, at its top.
#include <stdlib.h>

#include "main/driver.h"
#include "report/report.h"

extern "C" {
void __cdecl __set_app_type(int type);
int __cdecl __getmainargs(int *argc, char ***argv, char ***envp, int expand_wildcards, int *new_mode);
}

void end_process(int status, const char *why) { exit(output_status(status, why)); }

extern "C" [[noreturn]] void sysreport_start(void) {
  __set_app_type(1);  // console application
  int argc = 0;
  char **argv = nullptr;
  char **envp = nullptr;
  int new_mode = 0;
  // 1: * and ? in arguments expand against the current folder.
  __getmainargs(&argc, &argv, &envp, 1, &new_mode);
  end_process(run_main(argc, argv), NULL);
}
