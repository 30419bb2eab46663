// The user section on account batches from the input.
#include "fuzz_machine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  return fuzz::run_section(data, size, fuzz::describe_users, "-U");
}
