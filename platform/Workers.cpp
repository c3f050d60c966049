#include "platform/Workers.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace {

struct WorkerRegistry {
  std::mutex mutex;
  std::condition_variable changed;  // a worker ended, or shutdown was requested
  std::size_t running = 0;
  std::atomic<bool> shutdown{false};
};

// Never destroyed: a detached worker may still be leaving it while the process exits.
WorkerRegistry& Registry() {
  static auto* registry = new WorkerRegistry;
  return *registry;
}

void CountOut() {
  auto& registry = Registry();
  std::lock_guard lock(registry.mutex);
  --registry.running;
  registry.changed.notify_all();
}

}  // namespace

bool StartWorker(std::function<void()> job) {
  auto& registry = Registry();
  {
    std::lock_guard lock(registry.mutex);
    if (registry.shutdown) return false;
    ++registry.running;
  }
  try {
    std::thread([job = std::move(job)]() mutable {
      try {
        job();
      } catch (...) {
        // A failed job only loses its own result; the program goes on.
      }
      job = nullptr;  // the job's captures go before the count says it has ended
      CountOut();
    }).detach();
  } catch (const std::system_error&) {
    CountOut();
    return false;
  }
  return true;
}

std::size_t RunningWorkers() {
  auto& registry = Registry();
  std::lock_guard lock(registry.mutex);
  return registry.running;
}

void RequestShutdown() {
  auto& registry = Registry();
  std::lock_guard lock(registry.mutex);
  registry.shutdown = true;
  registry.changed.notify_all();
}

bool ShutdownRequested() { return Registry().shutdown.load(); }

bool SleepFor(std::chrono::milliseconds duration) {
  auto& registry = Registry();
  std::unique_lock lock(registry.mutex);
  return !registry.changed.wait_for(lock, duration, [&] { return registry.shutdown.load(); });
}

bool WaitForWorkers(std::chrono::milliseconds limit) {
  auto& registry = Registry();
  std::unique_lock lock(registry.mutex);
  return registry.changed.wait_for(lock, limit, [&] { return registry.running == 0; });
}
