// Shutdown is one way for the whole process, so ctest runs each of these cases in a process
// of its own; run directly, every case after the first skips.

#include "http/CreateRequest.h"
#include "platform/Workers.h"
#include "tests/support/TestServer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <string>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

class Shutdown : public ::testing::Test {
 protected:
  void SetUp() override {
    if (ShutdownRequested()) GTEST_SKIP() << "shutdown was already requested in this process";
  }
};

TEST_F(Shutdown, WakesPausedWorkersAndRefusesNewOnes) {
  std::promise<bool> slept_through;
  ASSERT_TRUE(StartWorker([&] { slept_through.set_value(SleepFor(30s)); }));
  std::this_thread::sleep_for(50ms);

  RequestShutdown();
  EXPECT_TRUE(WaitForWorkers(5s)) << "a pause of 30 s should have ended at once";
  EXPECT_FALSE(slept_through.get_future().get());

  std::atomic<bool> ran{false};
  EXPECT_FALSE(StartWorker([&] { ran = true; }));
  EXPECT_TRUE(WaitForWorkers(1s));
  EXPECT_FALSE(ran);
  EXPECT_FALSE(SleepFor(10s));
}

TEST_F(Shutdown, EndsARunningTransferPromptlyKeepingWhatArrived) {
  pagetap::test::TestServer server;
  server.ServeStall("/stall", "first part", 30s);
  server.Start();

  std::promise<std::string> result;
  std::atomic<Clock::rep> ended_at{0};
  ASSERT_TRUE(StartWorker([&] {
    std::string body;
    CreateRequest(RequestKind::Get, server.BaseUrl() + "/stall")->Perform(&body, nullptr);
    ended_at = Clock::now().time_since_epoch().count();
    result.set_value(body);
  }));
  std::this_thread::sleep_for(500ms);  // the first part is in, the server now stalls

  const auto requested_at = Clock::now();
  RequestShutdown();
  ASSERT_TRUE(WaitForWorkers(5s));
  EXPECT_EQ(result.get_future().get(), "first part");
  const auto took = Clock::time_point(Clock::duration(ended_at.load())) - requested_at;
  EXPECT_LT(took, 200ms) << std::chrono::duration_cast<std::chrono::milliseconds>(took).count();
}

}  // namespace
