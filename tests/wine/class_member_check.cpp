// Runs the program's device query against Wine's real device-installation
// calls: argument sizes and structure layouts that the simulated layer cannot
// prove. Prints one line per check and exits 0 only when all hold.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "devices/devices.h"
#include "report/report.h"

static int failures = 0;

static void check(bool ok, const char *what, const char *class_name, int result, const char *name) {
  printf("%s %s: %s result %d name [%s]\n", ok ? "ok" : "FAIL", class_name, what, result, name);
  if (!ok) ++failures;
}

static void check_class(const char *class_name) {
  static char name[kDeviceTextSize];
  int result = query_class_member(0, class_name, name);
  check(result == 0 && name[0] != '\0', "index 0", class_name, result, name);

  int index = 1;
  while (index < 1000 && (result = query_class_member((DWORD)index, class_name, name)) == 0) ++index;
  check(result == -1 && name[0] == '\0', "past the last device", class_name, result, name);
}

int main(void) {
  check_class("Display");
  check_class("Monitor");
  static char name[kDeviceTextSize];
  int result = query_class_member(0, "NoSuchSetupClassAnywhere", name);
  check(result == -2 && name[0] == '\0', "unknown class", "NoSuchSetupClassAnywhere", result, name);
  return failures ? 1 : 0;
}

// The program's process ending, as in the real program.
void end_process(int status) {
  fflush(stdout);
  exit(status);
}
