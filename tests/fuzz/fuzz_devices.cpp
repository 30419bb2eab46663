// The devices section on classes, keys and devices from the input.
#include "fuzz_machine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  return fuzz::run_section(data, size, fuzz::describe_devices, "-D");
}
