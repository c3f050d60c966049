#include "platform/Workers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <stdexcept>
#include <thread>

using namespace std::chrono_literals;

namespace {

TEST(Workers, JobRunsOnItsOwnThreadAndIsCountedInAndOut) {
  std::promise<std::thread::id> ran_on;
  std::promise<void> release;
  auto released = release.get_future().share();

  ASSERT_TRUE(StartWorker([&, released] {
    ran_on.set_value(std::this_thread::get_id());
    released.wait();
  }));
  EXPECT_NE(ran_on.get_future().get(), std::this_thread::get_id());
  EXPECT_EQ(RunningWorkers(), 1u);
  EXPECT_FALSE(WaitForWorkers(50ms)) << "the worker is still waiting to be released";

  release.set_value();
  EXPECT_TRUE(WaitForWorkers(5s));
  EXPECT_EQ(RunningWorkers(), 0u);
}

TEST(Workers, CapturesAreGoneOnceTheCountSaysTheWorkersEnded) {
  // Run destroys the catalogue as soon as the count reaches zero, so nothing a job holds
  // may outlive that moment.
  auto arguments = std::make_shared<int>(42);
  const std::weak_ptr<int> watch = arguments;
  for (int i = 0; i < 20; ++i) {
    ASSERT_TRUE(StartWorker([arguments] { std::this_thread::sleep_for(1ms); }));
  }
  arguments.reset();
  ASSERT_TRUE(WaitForWorkers(5s));
  EXPECT_TRUE(watch.expired());
}

TEST(Workers, AThrowingJobIsCountedOutAndOthersGoOn) {
  std::atomic<int> finished{0};
  ASSERT_TRUE(StartWorker([] { throw std::runtime_error("bad data"); }));
  ASSERT_TRUE(StartWorker([&] { ++finished; }));
  ASSERT_TRUE(WaitForWorkers(5s));
  EXPECT_EQ(finished, 1);
  EXPECT_EQ(RunningWorkers(), 0u);
}

TEST(Workers, SleepForWaitsTheWholeTimeWithoutShutdown) {
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(SleepFor(60ms));
  EXPECT_GE(std::chrono::steady_clock::now() - start, 60ms);
  EXPECT_FALSE(ShutdownRequested());
}

}  // namespace
