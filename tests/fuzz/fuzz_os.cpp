// The operating-system section on a version query, registry and clock from the input.
#include "fuzz_machine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  return fuzz::run_section(data, size, fuzz::describe_os, "-O");
}
