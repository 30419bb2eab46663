// msvcrt's console start-up, shared by the MinGW builds of both programs in
// place of MinGW's own: that one imports more than they need, and its 32-bit
// form comes prebuilt for the Pentium Pro (it uses cmov), while this one is
// compiled for the 80386 with the rest of the program.
#pragma once

extern "C" {
void __cdecl __set_app_type(int type);
int __cdecl __getmainargs(int *argc, char ***argv, char ***envp, int expand_wildcards, int *new_mode);
}

// Sets up a console application and gives its argument count, the vector in
// *argv; * and ? in arguments expand against the current folder.
inline int console_arguments(char ***argv) {
  __set_app_type(1);  // console application
  int argc = 0;
  char **envp = nullptr;
  int new_mode = 0;
  *argv = nullptr;
  __getmainargs(&argc, argv, &envp, 1, &new_mode);
  return argc;
}
