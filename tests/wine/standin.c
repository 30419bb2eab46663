/* Stands in for sysreport64.exe in collect.cmd's test: a status the program never gives. */
#include <stdio.h>

int main(void) {
  fputs("stand-in: refused\n", stderr);
  return 5;
}
