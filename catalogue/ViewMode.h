#pragma once

// What the list view is meant to show: 0 the users, 1 one user's videos. Starting a top-list
// fetch sets it to 0; the catalogue views move it between the two.

#include <atomic>
#include <cstdint>

extern std::atomic<std::int32_t> ViewMode;
