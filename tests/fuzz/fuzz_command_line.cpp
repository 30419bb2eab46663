// Any command line, on a whole machine from the input.
#include "fuzz_machine.h"
#include "sim.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzedDataProvider in(data, size);
  sim::reset();
  std::vector<std::string> args = fuzz::arguments(in);
  fuzz::describe_platform(in);
  fuzz::describe_drives(in);
  fuzz::describe_os(in);
  fuzz::describe_devices(in);
  fuzz::describe_users(in);
  fuzz::run_and_check(args);
  return 0;
}
