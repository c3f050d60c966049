#pragma once

// Stands in for the dialog as the NoticeWindow for the life of the object: keeps every notice
// the workers post, and lets a test wait for a number of them.
//
// NoticeLog keeps each notice as it came. A test that must know what held at the moment of
// posting uses NoticeLogOf<Entry> with a recorder: it runs in the sink, on the posting thread,
// and makes the entry that is kept (say, the notice with the catalogue's counts then).

#include "platform/Notices.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <ostream>
#include <utility>
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

template <typename Entry>
class NoticeLogOf {
 public:
  // Makes the entry kept for one notice; called on the posting thread, one call at a time.
  using Recorder = std::function<Entry(std::uintptr_t wParam, int code)>;

  explicit NoticeLogOf(Recorder record) {
    RegisterNoticeWindow([this, record = std::move(record)](std::uintptr_t wParam, int code) {
      Entry entry = record(wParam, code);
      {
        const std::lock_guard lock(m_mutex);
        m_entries.push_back(std::move(entry));
      }
      m_arrived.notify_all();
    });
  }
  ~NoticeLogOf() { UnregisterNoticeWindow(); }
  NoticeLogOf(const NoticeLogOf&) = delete;
  NoticeLogOf& operator=(const NoticeLogOf&) = delete;

  // The notices so far, once there are `count` of them or `limit` has passed.
  std::vector<Entry> WaitFor(std::size_t count, std::chrono::milliseconds limit) {
    std::unique_lock lock(m_mutex);
    m_arrived.wait_for(lock, limit, [&] { return m_entries.size() >= count; });
    return m_entries;
  }

  std::vector<Entry> Notices() const {
    const std::lock_guard lock(m_mutex);
    return m_entries;
  }

 private:
  mutable std::mutex m_mutex;
  std::condition_variable m_arrived;
  std::vector<Entry> m_entries;
};

class NoticeLog : public NoticeLogOf<PostedNotice> {
 public:
  NoticeLog()
      : NoticeLogOf([](std::uintptr_t wParam, int code) {
          return PostedNotice{wParam, code};
        }) {}
};

}  // namespace pagetap::test
