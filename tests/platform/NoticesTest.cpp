#include "platform/Notices.h"
#include "platform/Workers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <set>
#include <thread>
#include <utility>

using namespace std::chrono_literals;

namespace {

TEST(Notices, ReachTheRegisteredWindowFromAnyThreadAndNothingElse) {
  PostNotice(1, TopListReady);  // no window yet: dropped

  std::mutex mutex;
  std::multiset<std::pair<std::uintptr_t, int>> received;
  RegisterNoticeWindow([&](std::uintptr_t wParam, int code) {
    std::lock_guard lock(mutex);
    received.emplace(wParam, code);
  });
  for (std::uintptr_t index = 0; index < 8; ++index) {
    ASSERT_TRUE(StartWorker([index] { PostNotice(index, UserPictureReady); }));
  }
  ASSERT_TRUE(WaitForWorkers(5s));
  UnregisterNoticeWindow();
  PostNotice(99, TopListReady);  // window gone: dropped

  std::multiset<std::pair<std::uintptr_t, int>> expected;
  for (std::uintptr_t index = 0; index < 8; ++index) expected.emplace(index, UserPictureReady);
  EXPECT_EQ(received, expected);
}

TEST(Notices, UnregisterWaitsForASinkCallInProgress) {
  // The dialog unregisters before it is destroyed; a sink call still running then would
  // post into a dead window.
  std::promise<void> sink_entered;
  std::promise<void> let_sink_finish;
  auto finish = let_sink_finish.get_future().share();
  std::atomic<bool> sink_done{false};
  RegisterNoticeWindow([&, finish](std::uintptr_t, int) {
    sink_entered.set_value();
    finish.wait();
    sink_done = true;
  });
  ASSERT_TRUE(StartWorker([] { PostNotice(0, ShowResult); }));
  sink_entered.get_future().wait();

  // Whether the sink call had ended when UnregisterNoticeWindow returned: the check itself,
  // which no timing can upset.
  std::promise<bool> sink_done_at_return;
  auto unregistered = sink_done_at_return.get_future();
  std::thread closer([&] {
    UnregisterNoticeWindow();
    sink_done_at_return.set_value(sink_done);
  });
  // There is no event for "Unregister is blocked", only for its return; an Unregister that
  // did not wait would return within this while, and then before the sink call ended.
  EXPECT_EQ(unregistered.wait_for(50ms), std::future_status::timeout)
      << "UnregisterNoticeWindow returned while the sink call was still running";
  let_sink_finish.set_value();
  closer.join();
  EXPECT_TRUE(unregistered.get());
  EXPECT_TRUE(sink_done);
  ASSERT_TRUE(WaitForWorkers(5s));
}

}  // namespace
