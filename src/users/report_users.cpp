#include "users/users.h"

#include "report/report.h"

int report_users(void) {
  print_heading("User Accounts");
  return 0;
}
