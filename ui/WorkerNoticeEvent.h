#pragma once

// A worker's notice on its way to the dialog: an event of type 1124 carrying the notice's
// index and code, queued for the UI thread with QCoreApplication::postEvent.

#include "platform/Notices.h"

#include <QEvent>

#include <cstdint>

class QObject;

class WorkerNoticeEvent : public QEvent {
 public:
  static constexpr QEvent::Type kType = static_cast<QEvent::Type>(kWorkerNoticeMessage);

  WorkerNoticeEvent(std::uintptr_t wParam, int code);

  std::uintptr_t WParam() const { return m_wparam; }
  int Code() const { return m_code; }

 private:
  std::uintptr_t m_wparam;
  int m_code;
};

// The NoticeWindow sink for `dialog`: callable on any thread, it queues one event per notice.
NoticeSink NoticeSinkFor(QObject* dialog);

// Queues `event` for `receiver` from a worker thread. Qt's event queue orders the hand-over,
// but inside Qt, where the thread checker cannot see it, so the event is published first.
void PostFromWorker(QObject* receiver, QEvent* event);

// The UI thread calls this before it first reads an event that a worker may have posted, so
// that the event and everything the worker wrote before posting it are ordered before the
// reads in a way the checker follows.
void AcquirePostedEvents();
