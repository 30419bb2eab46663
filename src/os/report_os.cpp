#include "os/os.h"

#include "report/report.h"

// Kept for the whole run, outside the record that identification clears.
static char user_name[256];

void report_os(void) {
  print_heading("Operating System Information");
  identify_os();

  SYSTEMTIME utc;
  GetSystemTime(&utc);
  __time32_t now = systemtime_to_epoch(&utc);
  __time32_t install_time = os_info.install_time;

  // An install time after the current time shows as the unsigned count that
  // the same bits form.
  char install_age[512];
  format_duration(install_age, (DWORD)now - (DWORD)install_time);
  char uptime[512];
  format_duration(uptime, GetTickCount() / 1000);

  DWORD size = sizeof user_name;
  if (!GetUserNameA(user_name, &size)) user_name[0] = '\0';
  // A name that fills the buffer may arrive without its NUL.
  user_name[sizeof user_name - 1] = '\0';

  printf("Current User:\t\t%s\n", user_name);
  printf("System Uptime:\t\t%s\n", uptime);
  printf("Operating System:\t%s %s (%d.%d.%d)\n", os_info.os_name, os_info.edition, (int)os_info.major_version,
         (int)os_info.minor_version, (int)os_info.build);
  if (os_info.is_nt == 1 && os_info.sp_major != 0)
    printf("Service Pack:\t\t%s (%d.%d)\n", os_info.service_pack, (int)os_info.sp_major, (int)os_info.sp_minor);
  if (os_info.is_nt == 1) printf("Build Type:\t\t%s\n", os_info.build_type);
  printf("Reg Name:\t\t%s\n", os_info.registered_owner);
  printf("Reg Org.:\t\t%s\n", os_info.registered_org);
  printf("Product ID:\t\t%s\n", os_info.product_id);
  printf("System Root:\t\t%s\n", os_info.system_root);
  printf("\n");
  // ctime's text ends in its own line feed; the age stands on the next line.
  printf("Current Time:\t\t%s", ctime_text(now));
  printf("Install Time:\t\t%s\t\t\t%s ago\n", ctime_text(install_time), install_age);
}
