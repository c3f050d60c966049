// Shutdown is one way for the whole process, so ctest runs each of these cases in a process
// of its own; run directly, every case after the first skips.
//
// Each case lets a worker wait far longer than the test's patience (an hour) unless shutdown
// ends the wait, so passing within the patience shows that shutdown ended it, however slow
// the machine. How long that took is recorded as a figure, not asserted.

#include "http/AppendBody.h"
#include "http/HttpGetRequest.h"
#include "http/HttpRequest.h"
#include "platform/Workers.h"
#include "tests/support/TestServer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <future>
#include <latch>
#include <memory>
#include <string>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// Far more than any run of these cases takes, far less than the waits shutdown must end.
constexpr auto kPatience = 30s;
constexpr auto kLongWait = std::chrono::hours(1);

void RecordMilliseconds(const char* name, Clock::duration duration) {
  ::testing::Test::RecordProperty(
      name,
      static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(duration).count()));
}

// The program's GET, which says when the first bytes of the body have been appended, through
// the program's own AppendBody.
class WatchedGet : public myCurl::HttpGetRequest {
 public:
  using HttpGetRequest::HttpGetRequest;

  std::future<void> FirstBytes() { return m_first_bytes.get_future(); }

 protected:
  void ApplyMethodOptions() override {
    HttpGetRequest::ApplyMethodOptions();
    s_performing = this;  // one transfer at a time in these cases
    curl_easy_setopt(m_curl, CURLOPT_WRITEFUNCTION, &Append);
  }

 private:
  static std::size_t Append(char* data, std::size_t size, std::size_t count, void* sink) {
    const std::size_t taken = AppendBody(data, size, count, sink);
    if (taken > 0 && !s_performing->m_told) {
      s_performing->m_told = true;
      s_performing->m_first_bytes.set_value();
    }
    return taken;
  }

  static inline WatchedGet* s_performing = nullptr;
  std::promise<void> m_first_bytes;
  bool m_told = false;
};

class Shutdown : public ::testing::Test {
 protected:
  void SetUp() override {
    if (ShutdownRequested()) GTEST_SKIP() << "shutdown was already requested in this process";
  }
};

TEST_F(Shutdown, WakesPausedWorkersAndRefusesNewOnes) {
  // Shared with the worker, which must find them even if the test gave up on it.
  auto started = std::make_shared<std::latch>(1);
  auto slept_through = std::make_shared<std::promise<bool>>();
  ASSERT_TRUE(StartWorker([started, slept_through] {
    started->count_down();
    slept_through->set_value(SleepFor(kLongWait));
  }));
  // Shutdown requested before the pause begins ends it as well: SleepFor looks at it first.
  started->wait();

  const auto requested_at = Clock::now();
  RequestShutdown();
  ASSERT_TRUE(WaitForWorkers(kPatience)) << "a pause of an hour did not end on shutdown";
  RecordMilliseconds("pause_end_ms", Clock::now() - requested_at);
  EXPECT_FALSE(slept_through->get_future().get());

  std::atomic<bool> ran{false};
  EXPECT_FALSE(StartWorker([&] { ran = true; }));
  EXPECT_EQ(RunningWorkers(), 0u) << "the refused worker was never counted";
  EXPECT_TRUE(WaitForWorkers(kPatience));
  EXPECT_FALSE(ran);
  EXPECT_FALSE(SleepFor(10s));
}

TEST_F(Shutdown, EndsARunningTransferPromptlyKeepingWhatArrived) {
  pagetap::test::TestServer server;
  server.ServeStall("/stall", "first part", kLongWait);
  server.Start();
  // Within the test's patience only shutdown can end the transfer, not its own time-out.
  const auto long_wait = static_cast<std::int32_t>(std::chrono::seconds(kLongWait).count());
  myCurl::SetTransferTimeouts({.whole_seconds = long_wait});

  // Shared with the worker, which must find them even if the test gave up on it.
  struct Transfer {
    std::string m_body;
    std::atomic<Clock::rep> m_ended_at{0};
  };
  auto transfer = std::make_shared<Transfer>();
  auto request = std::make_shared<WatchedGet>(server.BaseUrl() + "/stall");
  const std::future<void> first_bytes = request->FirstBytes();
  ASSERT_TRUE(StartWorker([transfer, request] {
    request->Perform(&transfer->m_body, nullptr);
    transfer->m_ended_at = Clock::now().time_since_epoch().count();
  }));
  // The first part is in the body; the server now stalls for an hour.
  ASSERT_EQ(first_bytes.wait_for(kPatience), std::future_status::ready);

  const auto requested_at = Clock::now();
  RequestShutdown();
  ASSERT_TRUE(WaitForWorkers(kPatience))
      << "a transfer stalled for an hour did not end on shutdown";
  EXPECT_EQ(transfer->m_body, "first part");
  RecordMilliseconds(
      "transfer_end_ms",
      Clock::time_point(Clock::duration(transfer->m_ended_at.load())) - requested_at);
}

}  // namespace
