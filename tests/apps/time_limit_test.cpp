#include "time_limit.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <sstream>
#include <thread>

namespace zr::host {
namespace {

using namespace std::chrono_literals;

// A run that stops when cancelled ends in the ordinary way: the run learns that the time was
// up, and nothing is forced.
TEST(TimeLimitTest, CancelsWhenTheTimeIsUpAndTellsTheRun) {
  std::ostringstream out;
  std::atomic<bool> cancelled = false;
  {
    TimeLimit limit(
        0.05, [&] { cancelled = true; }, out);
    const auto start = std::chrono::steady_clock::now();
    while (!cancelled && std::chrono::steady_clock::now() - start < 10s)
      std::this_thread::sleep_for(1ms);
    EXPECT_TRUE(cancelled);
    EXPECT_TRUE(limit.finish());
    EXPECT_EQ(limit.log_text(), "Time limit of 0.05 s reached");
  }
  EXPECT_EQ(out.str(), "");
}

TEST(TimeLimitTest, RunThatEndsInTimeIsLeftAlone) {
  std::ostringstream out;
  TimeLimit limit(
      3600, [] { ADD_FAILURE() << "cancelled"; }, out);
  EXPECT_FALSE(limit.finish());
  EXPECT_EQ(limit.log_text(), "Time limit of 3600 s reached");
}

}  // namespace
}  // namespace zr::host
