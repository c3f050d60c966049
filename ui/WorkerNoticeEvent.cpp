#include "ui/WorkerNoticeEvent.h"

#include <QCoreApplication>

#include <atomic>

namespace {

// Only the release and acquire on it matter, not the count.
std::atomic<std::uint64_t> PublishedEvents{0};

}  // namespace

WorkerNoticeEvent::WorkerNoticeEvent(std::uintptr_t wParam, int code)
    : QEvent(kType), m_wparam(wParam), m_code(code) {}

NoticeSink NoticeSinkFor(QObject* dialog) {
  return [dialog](std::uintptr_t wParam, int code) {
    PostFromWorker(dialog, new WorkerNoticeEvent(wParam, code));
  };
}

void PostFromWorker(QObject* receiver, QEvent* event) {
  PublishedEvents.fetch_add(1, std::memory_order_release);
  QCoreApplication::postEvent(receiver, event);
}

void AcquirePostedEvents() { PublishedEvents.load(std::memory_order_acquire); }
