// The devices section on classes, keys and devices from the input.
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
  fuzz::describe_devices(in);
  fuzz::run_and_check({"-D"});
  return 0;
}
