#include "demo/StopSignal.h"

namespace pagetap::demo {

void StopSignal::Raise() {
  {
    const std::lock_guard lock(m_mutex);
    m_raised = true;
  }
  m_raised_signal.notify_all();
}

bool StopSignal::WaitFor(std::chrono::milliseconds limit) const {
  std::unique_lock lock(m_mutex);
  return m_raised_signal.wait_for(lock, limit, [this] { return m_raised; });
}

}  // namespace pagetap::demo
