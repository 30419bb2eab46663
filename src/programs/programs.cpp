#include "programs/programs.h"

#include "report/report.h"
#include "report/words.h"

int report_programs(void) {
  print_heading(kTitlePrograms);
  return 0;
}
