// The drive section on drives whose every answer comes from the input.
#include "fuzz_machine.h"
#include "sim.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  fuzz::silence_output();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzedDataProvider in(data, size);
  sim::reset();
  fuzz::describe_platform(in);
  fuzz::describe_drives(in);
  fuzz::run_and_check({"-S"});
  return 0;
}
