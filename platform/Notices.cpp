#include "platform/Notices.h"

#include <mutex>
#include <utility>

namespace {

struct NoticeWindow {
  std::mutex mutex;
  NoticeSink sink;
};

// Never destroyed: a worker may still post while the process exits.
NoticeWindow& Window() {
  static auto* window = new NoticeWindow;
  return *window;
}

}  // namespace

void RegisterNoticeWindow(NoticeSink sink) {
  auto& window = Window();
  std::lock_guard lock(window.mutex);
  window.sink = std::move(sink);
}

void UnregisterNoticeWindow() {
  auto& window = Window();
  std::lock_guard lock(window.mutex);
  window.sink = nullptr;
}

void PostNotice(std::uintptr_t wParam, int code) {
  auto& window = Window();
  std::lock_guard lock(window.mutex);
  if (window.sink) window.sink(wParam, code);
}
