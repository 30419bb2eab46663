// The table program's entry where the C runtime's own start-up is used: Linux, and MSVC.
#include "table/table.h"

int main(int argc, char **argv) { return run_table(argc, argv); }
