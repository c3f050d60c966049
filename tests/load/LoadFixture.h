#pragma once

// What the load tests share: waiting in the event loop as the program's own loop runs, and
// counting the notices on their way from the workers to the dialog.

#include "platform/Notices.h"
#include "ui/CMainDlg.h"
#include "ui/WorkerNoticeEvent.h"

#include <QEventLoop>
#include <QObject>
#include <QTimer>

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>

namespace pagetap::test {

// Runs the event loop until `done` holds or `limit` passes. QTest's waits sleep between their
// passes, which a test that measures how the loop answers would count against the program.
inline bool RunLoopUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  if (done()) return true;
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (done()) loop.quit();
  });
  poll.start(std::chrono::milliseconds(2));
  QTimer::singleShot(limit, &loop, &QEventLoop::quit);
  loop.exec();
  return done();
}

inline void RunLoopFor(std::chrono::milliseconds duration) {
  RunLoopUntil([] { return false; }, duration);
}

// Notices by code: those the workers post, counted on their way to the dialog's own sink, and
// those that reach the dialog, whose handler takes every one while its window lives. Counting
// synchronises nothing, so that it cannot hide a hand-over the thread checker would miss.
class NoticeCounter : public QObject {
 public:
  // Stands between the workers and the dialog from now on; the dialog must have been created.
  explicit NoticeCounter(CMainDlg& dialog) {
    RegisterNoticeWindow(
        [posted = m_posted, forward = NoticeSinkFor(&dialog)](std::uintptr_t wParam, int code) {
          posted->Add(code);
          forward(wParam, code);
        });
    dialog.installEventFilter(this);
  }

  std::map<int, int> Posted() const { return m_posted->Read(); }
  std::map<int, int> Handled() const { return m_handled.Read(); }

  bool eventFilter(QObject*, QEvent* event) override {
    AcquirePostedEvents();
    if (event->type() == WorkerNoticeEvent::kType) {
      m_handled.Add(static_cast<WorkerNoticeEvent*>(event)->Code());
    }
    return false;
  }

 private:
  class Counts {
   public:
    void Add(int code) {
      const bool known = code >= 0 && code < static_cast<int>(m_known.size());
      (known ? m_known[static_cast<std::size_t>(code)] : m_unknown)
          .fetch_add(1, std::memory_order_relaxed);
    }
    // The codes counted so far; -1 stands for every code the program does not have.
    std::map<int, int> Read() const {
      std::map<int, int> counts;
      for (std::size_t code = 0; code < m_known.size(); ++code) {
        if (const int count = m_known[code].load(std::memory_order_relaxed)) {
          counts[static_cast<int>(code)] = count;
        }
      }
      if (const int count = m_unknown.load(std::memory_order_relaxed)) counts[-1] = count;
      return counts;
    }

   private:
    std::array<std::atomic<int>, UserPictureReady + 1> m_known{};
    std::atomic<int> m_unknown{0};
  };

  // Shared with the sink, which may outlive the counter until the dialog goes.
  std::shared_ptr<Counts> m_posted = std::make_shared<Counts>();
  Counts m_handled;
};

}  // namespace pagetap::test
