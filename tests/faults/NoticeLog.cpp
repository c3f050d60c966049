#include "tests/faults/NoticeLog.h"

#include "platform/Notices.h"

namespace pagetap::test {

NoticeLog::NoticeLog() {
  RegisterNoticeWindow([this](std::uintptr_t wParam, int code) {
    {
      const std::lock_guard lock(m_mutex);
      m_notices.push_back({wParam, code});
    }
    m_arrived.notify_all();
  });
}

NoticeLog::~NoticeLog() { UnregisterNoticeWindow(); }

std::vector<PostedNotice> NoticeLog::WaitFor(std::size_t count, std::chrono::milliseconds limit) {
  std::unique_lock lock(m_mutex);
  m_arrived.wait_for(lock, limit, [&] { return m_notices.size() >= count; });
  return m_notices;
}

std::vector<PostedNotice> NoticeLog::Notices() const {
  const std::lock_guard lock(m_mutex);
  return m_notices;
}

}  // namespace pagetap::test
