// The Windows entry of the MSVC build: the runtime's console start-up builds
// the argument vector and run_main does the rest.
#include <stdlib.h>

#include "main/driver.h"
#include "report/report.h"

// Expand * and ? in arguments against the current folder.
extern "C" {
int _dowildcard = -1;
}

void end_process(int status, const char *why) { exit(output_status(status, why)); }

int main(int argc, char **argv) { end_process(run_main(argc, argv), NULL); }
