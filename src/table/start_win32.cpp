// The table program's console start-up, as sysreport's (src/main/start.cpp):
// msvcrt's arguments, wildcards expanded, without MinGW's start-up code.
#include <stdlib.h>

#include "table/table.h"

extern "C" {
void __cdecl __set_app_type(int type);
int __cdecl __getmainargs(int *argc, char ***argv, char ***envp, int expand_wildcards, int *new_mode);
}

extern "C" [[noreturn]] void table_start(void) {
  __set_app_type(1);  // console application
  int argc = 0;
  char **argv = nullptr;
  char **envp = nullptr;
  int new_mode = 0;
  __getmainargs(&argc, &argv, &envp, 1, &new_mode);
  exit(run_table(argc, argv));
}
