#pragma once

// Stands in for the dialog as the NoticeWindow for the life of the object: keeps every notice
// the workers post.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <ostream>
#include <vector>

namespace pagetap::test {

struct PostedNotice {
  std::uintptr_t m_wparam = 0;
  int m_code = 0;
  bool operator==(const PostedNotice&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const PostedNotice& notice) {
  return out << "{code " << notice.m_code << ", wParam " << notice.m_wparam << "}";
}

class NoticeLog {
 public:
  NoticeLog();
  ~NoticeLog();
  NoticeLog(const NoticeLog&) = delete;
  NoticeLog& operator=(const NoticeLog&) = delete;

  // The notices so far, once there are `count` of them or `limit` has passed.
  std::vector<PostedNotice> WaitFor(std::size_t count, std::chrono::milliseconds limit);
  std::vector<PostedNotice> Notices() const;

 private:
  mutable std::mutex m_mutex;
  std::condition_variable m_arrived;
  std::vector<PostedNotice> m_notices;
};

}  // namespace pagetap::test
