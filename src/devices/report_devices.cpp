#include "devices/devices.h"

#include "report/report.h"

int report_devices(void) {
  print_heading("Devices");
  return 0;
}
