#pragma once

// The dialog's process-wide state, used on the UI thread only.

#include "catalogue/WorkerArgs.h"

#include <cstdint>
#include <mutex>
#include <string>

// Orders the UI thread's own work on notices and appends; re-entrant, because ShowResult
// appends while it holds it. Workers never take it.
inline std::recursive_mutex DialogLock;

// The details text of the selected row, on its way into the result box.
inline std::u16string DisplayText;

// What the list view is meant to show: kUsersView or kVideosView. A top-list fetch that starts
// sets it to kUsersView; the catalogue views move it between the two.
inline std::int32_t ViewMode = kUsersView;
