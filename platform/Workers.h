#pragma once

// Every worker thread of the program starts here, detached and counted, so that closing the
// window can stop them: a shutdown request refuses new workers, wakes their pauses, lets
// running transfers end, and Run waits a bounded time for the count to reach zero.

#include <chrono>
#include <cstddef>
#include <functional>

// Runs `job` on a new detached thread. False, and `job` never runs, when shutdown was
// requested or no thread could be made.
bool StartWorker(std::function<void()> job);

std::size_t RunningWorkers();

// One way: once requested, shutdown stays requested for the rest of the process.
void RequestShutdown();
bool ShutdownRequested();

// Pauses the calling worker. False when the pause ended early because of shutdown.
bool SleepFor(std::chrono::milliseconds duration);

// True when every worker has ended within `limit`.
bool WaitForWorkers(std::chrono::milliseconds limit);
