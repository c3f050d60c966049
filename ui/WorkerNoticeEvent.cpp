#include "ui/WorkerNoticeEvent.h"

#include <QCoreApplication>

WorkerNoticeEvent::WorkerNoticeEvent(std::uintptr_t wParam, int code) : QEvent(kType) {
  m_wparam.store(wParam, std::memory_order_release);
  m_code.store(code, std::memory_order_release);
}

NoticeSink NoticeSinkFor(QObject* dialog) {
  return [dialog](std::uintptr_t wParam, int code) {
    QCoreApplication::postEvent(dialog, new WorkerNoticeEvent(wParam, code));
  };
}
