// Fuzz input turned into a simulated machine, and one checked run of the
// program on it. Every answer of the machine comes from the input: texts of
// any length around the program's buffers, with and without a NUL, registry
// values of every type and size, counts and sizes that disagree with what
// they describe, times on both sides of 1970 and 2038, failing and missing
// functions.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

namespace fuzz {

// Sends standard output to /dev/null for the rest of the process.
void silence_output();

// Each fills its part of sim::machine() from in.
void describe_platform(FuzzedDataProvider &in);  // clock, names, failing and missing functions
void describe_drives(FuzzedDataProvider &in);
void describe_os(FuzzedDataProvider &in);
void describe_devices(FuzzedDataProvider &in);
void describe_users(FuzzedDataProvider &in);

// The arguments after the program name: often one argument of switch
// letters, sometimes none or several of any bytes.
std::vector<std::string> arguments(FuzzedDataProvider &in);

// Runs run_main with args on the machine described, then resets the machine.
// Aborts (a finding) when the run neither returned 0 nor ended the process
// with status 1, or left a key, set, list or buffer held.
void run_and_check(const std::vector<std::string> &args);

// One input for one section: a fresh machine, the parts every section shares,
// the section's own part from describe, then a run with switch_argument.
int run_section(const uint8_t *data, size_t size, void (*describe)(FuzzedDataProvider &),
                const char *switch_argument);

}  // namespace fuzz
