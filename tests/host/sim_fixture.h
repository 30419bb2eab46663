// Common ground of the report tests: a fresh simulated machine per test, and
// a check that every key, set and buffer obtained was released.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "sim.h"

class SimTest : public ::testing::Test {
 protected:
  void SetUp() override { sim::reset(); }
  void TearDown() override {
    std::string held;
    for (const std::string &item : sim::held()) held += item + "\n";
    EXPECT_EQ("", held) << "still held when the test ended";
    sim::reset();
  }
  sim::Machine &machine() { return sim::machine(); }
};

// The banner every run prints first.
inline const std::string kBanner =
    "\n---------------------------------------------------------\n"
    " QUORVEL v1.01\n"
    " Copyright (C) 2026 The Quorvel developers\n"
    " Updates and error reports: https://quorvel.example.org/\n"
    "---------------------------------------------------------\n\n";

inline const std::string kUsage =
    "Usage: [-<switch options>]\n\n"
    "The following switch options can be combined:\n\n"
    "-D Device information\n"
    "-O OS information\n"
    "-S Storage Media information\n"
    "-U Users (2000/XP/2003 only)\n"
    "\n\n";

inline std::string heading(const std::string &title) {
  std::string row(title.size(), '*');
  return "\n" + row + "\n" + title + "\n" + row + "\n\n";
}
