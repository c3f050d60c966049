#pragma once

// The dialog's process-wide state, used on the UI thread only.

#include <mutex>
#include <string>

// Orders the UI thread's own work on notices and appends; re-entrant, because ShowResult
// appends while it holds it. Workers never take it.
inline std::recursive_mutex DialogLock;

// The details text of the selected row, on its way into the result box.
inline std::wstring DisplayText;
