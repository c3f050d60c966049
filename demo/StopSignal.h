#pragma once

// Raised once when the service stops, so that a response that takes its time (the slow
// drip) ends at once instead of holding the shutdown up.

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace pagetap::demo {

class StopSignal {
 public:
  void Raise();
  // Waits up to `limit`; true, early, once the signal is raised.
  bool WaitFor(std::chrono::milliseconds limit) const;

 private:
  mutable std::mutex m_mutex;
  mutable std::condition_variable m_raised_signal;
  bool m_raised = false;
};

}  // namespace pagetap::demo
