#include "catalogue/WorkerArgs.h"

#include "platform/Workers.h"

#include <exception>
#include <memory>
#include <utility>

bool StartWorkerWith(void (*thread)(WorkerArgs*), WorkerArgs args) {
  if (!args.m_list) return false;
  try {
    auto owned = std::make_unique<WorkerArgs>(std::move(args));
    WorkerArgs* handed = owned.get();
    if (!StartWorker([handed, thread] { thread(handed); })) return false;
    owned.release();  // the thread deletes them
    return true;
  } catch (const std::exception&) {
    return false;
  }
}
