#include "network/network.h"

#include "report/report.h"
#include "report/words.h"

int report_network(void) {
  print_heading(kTitleNetwork);
  return 0;
}
