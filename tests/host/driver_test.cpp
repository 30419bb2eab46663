#include <gtest/gtest.h>

#include <algorithm>

#include "sim_fixture.h"

class DriverTest : public SimTest {
 protected:
  // Which sections ran, in order, read off their headings.
  static std::string sections(const std::string &out) {
    static const char *titles[] = {"Drive Information", "Operating System Information", "Devices",
                                   "User Accounts"};
    static const char letters[] = "SODU";
    std::string order;
    size_t at = 0;
    for (;;) {
      size_t best = std::string::npos;
      int which = -1;
      for (int i = 0; i < 4; ++i) {
        size_t found = out.find("\n" + std::string(titles[i]) + "\n", at);
        if (found < best) best = found, which = i;
      }
      if (which < 0) return order;
      order += letters[which];
      at = best + 1;
    }
  }
};

TEST_F(DriverTest, UsageEndings) {
  for (const std::vector<std::string> &args :
       std::vector<std::vector<std::string>>{{}, {"?"}, {"?S"}, {"-"}, {"?", "-S"}}) {
    sim::Result r = sim::run_program(args);
    EXPECT_TRUE(r.ended);
    EXPECT_EQ(1, r.status);
    EXPECT_EQ(kBanner + kUsage, r.out) << (args.empty() ? "(none)" : args[0]);
  }
  EXPECT_EQ(0u, sim::count_calls("GetDriveTypeA"));
}

TEST_F(DriverTest, UnknownSwitchEndsAfterEarlierSections) {
  struct Case {
    std::string arg;
    char bad;
    std::string ran;
  } cases[] = {{"-s", 's', ""}, {"-?", '?', ""}, {"--", '-', ""}, {"-1", '1', ""}, {"-SX", 'X', "S"},
               {"-OxS", 'x', "O"}};
  for (const Case &c : cases) {
    sim::reset();
    sim::Result r = sim::run_program({c.arg});
    EXPECT_TRUE(r.ended) << c.arg;
    EXPECT_EQ(1, r.status) << c.arg;
    std::string tail = "Unknown switch - " + std::string(1, c.bad) + "\n\n" + kUsage;
    ASSERT_GE(r.out.size(), tail.size());
    EXPECT_EQ(tail, r.out.substr(r.out.size() - tail.size())) << c.arg;
    EXPECT_EQ(c.ran, sections(r.out)) << c.arg;
    EXPECT_EQ(std::string::npos, r.out.find("Total time taken")) << c.arg;
  }
}

TEST_F(DriverTest, ArgumentWithoutDashRunsNothing) {
  for (const std::string arg : {"", "S", "/S", "OSDU"}) {
    sim::reset();
    machine().ticks = {100, 105};
    sim::Result r = sim::run_program({arg});
    EXPECT_FALSE(r.ended);
    EXPECT_EQ(0, r.status);
    EXPECT_EQ(kBanner + "\nTotal time taken: 5 ms\n", r.out) << "[" << arg << "]";
  }
}

TEST_F(DriverTest, DispatchOrderAndRunOnceRule) {
  struct Case {
    std::string arg;
    std::string ran;
  } cases[] = {{"-DD", "D"},       {"-DOD", "DO"},   {"-OO", "O"},        {"-SS", "SS"},
               {"-UU", "UU"},      {"-OSDU", "OSDU"}, {"-UDSODUS", "UDSOUS"}, {"-S", "S"}};
  for (const Case &c : cases) {
    sim::reset();
    sim::Result r = sim::run_program({c.arg});
    EXPECT_FALSE(r.ended) << c.arg;
    EXPECT_EQ(0, r.status) << c.arg;
    EXPECT_EQ(c.ran, sections(r.out)) << c.arg;
    EXPECT_EQ(26 * std::count(c.ran.begin(), c.ran.end(), 'S'), (long)sim::count_calls("GetDriveTypeA")) << c.arg;
  }
}

TEST_F(DriverTest, OnlyTheFirstArgumentCounts) {
  sim::Result r = sim::run_program({"-O", "-S"});
  EXPECT_EQ("O", sections(r.out));
  EXPECT_EQ(0u, sim::count_calls("GetDriveTypeA"));
}

TEST_F(DriverTest, ElapsedTimeSpansTheRunAndSurvivesTheWrap) {
  // The counter wraps between the two readings: the unsigned difference holds.
  machine().ticks = {0xFFFFFFF0u, 0x10u};
  sim::Result r = sim::run_program({"-S"});
  EXPECT_EQ(kBanner + heading("Drive Information") + "\nTotal time taken: 32 ms\n", r.out);
  // The first reading comes before anything is printed, the last after the
  // last report.
  const std::vector<sim::Call> &calls = sim::calls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ("GetTickCount", calls.front().name);
  EXPECT_EQ("GetTickCount", calls.back().name);
}
