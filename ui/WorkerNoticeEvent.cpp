#include "ui/WorkerNoticeEvent.h"

#include <QCoreApplication>

#include <atomic>

namespace {

// Only the release and acquire on it matter, not the count.
std::atomic<std::uint64_t> PublishedNotices{0};

}  // namespace

WorkerNoticeEvent::WorkerNoticeEvent(std::uintptr_t wParam, int code)
    : QEvent(kType), m_wparam(wParam), m_code(code) {}

NoticeSink NoticeSinkFor(QObject* dialog) {
  return [dialog](std::uintptr_t wParam, int code) {
    auto* notice = new WorkerNoticeEvent(wParam, code);
    PublishedNotices.fetch_add(1, std::memory_order_release);
    QCoreApplication::postEvent(dialog, notice);
  };
}

void AcquirePostedNotices() { PublishedNotices.load(std::memory_order_acquire); }
