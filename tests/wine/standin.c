/* Stands in for sysreport64.exe in collect.cmd's test, and holds a report open as a reader would.
 *   standin [ARGS]            ends with status 5, which the program never gives; with STANDIN=cut in the
 *                             environment, writes a report without its last line and ends with 0 instead
 *   standin hold FILE MS      opens FILE for reading, sharing it for reading only (so that it can be neither
 *                             replaced nor deleted), says "held", and closes it after MS milliseconds */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

int main(int argc, char **argv) {
  if (argc == 4 && strcmp(argv[1], "hold") == 0) {
    HANDLE file = CreateFileA(argv[2], GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) {
      fprintf(stderr, "stand-in: cannot open %s: %lu\n", argv[2], GetLastError());
      return 1;
    }
    puts("held");
    fflush(stdout);
    Sleep(atoi(argv[3]));
    CloseHandle(file);
    return 0;
  }
  const char *mode = getenv("STANDIN");
  if (mode && strcmp(mode, "cut") == 0) {
    fputs("\n---------------------------------------------------------\n QUORVEL v1.01\n", stdout);
    fputs("\n*****************\nDrive Information\n*****************\n\n", stdout);
    return 0;
  }
  fputs("stand-in: refused\n", stderr);
  return 5;
}
