#pragma once

// A worker's notice on its way to the dialog: an event of type 1124 carrying the notice's
// index and code, queued for the UI thread with QCoreApplication::postEvent.

#include "platform/Notices.h"

#include <QEvent>

#include <atomic>
#include <cstdint>

class QObject;

class WorkerNoticeEvent : public QEvent {
 public:
  static constexpr QEvent::Type kType = static_cast<QEvent::Type>(kWorkerNoticeMessage);

  WorkerNoticeEvent(std::uintptr_t wParam, int code);

  std::uintptr_t WParam() const { return m_wparam.load(std::memory_order_acquire); }
  int Code() const { return m_code.load(std::memory_order_acquire); }

 private:
  // Qt's event queue orders the hand-over, but inside Qt where the thread checker cannot see
  // it. Publishing the fields with release and reading them with acquire makes everything the
  // worker wrote before posting visible to the reader, in a way the checker can follow.
  std::atomic<std::uintptr_t> m_wparam;
  std::atomic<int> m_code;
};

// The NoticeWindow sink for `dialog`: callable on any thread, it queues one event per notice.
NoticeSink NoticeSinkFor(QObject* dialog);
