#pragma once

// The argument block of every catalogue and picture worker, and what those workers share: the
// view a job belongs to, the pacing of the service's requests, and how a worker starts with
// its arguments.

#include <cstdint>
#include <string>

class UserList;

// What the list view shows, and so the view a job belongs to.
inline constexpr std::int32_t kUsersView = 0;
inline constexpr std::int32_t kVideosView = 1;

// The pause between a user's further pages and between the picture downloads of a sweep.
constexpr int FetchIntervalMs = 100;

// The starter makes it with new and hands it to the thread, which owns it from then on and
// deletes it when it ends.
struct WorkerArgs {
  std::string m_text;                // a list worker's request address; empty for picture workers
  std::int32_t m_mode = kUsersView;  // the view the job belongs to
  UserList* m_list = nullptr;        // the dialog's catalogue, not owned
  std::uint32_t m_user_index = 0;
  std::uint32_t m_video_index = 0;
};

// Starts `thread` on a worker with its own copy of `args`. False, and nothing started, without
// a catalogue, without memory, or when no worker could be started (shutdown included).
bool StartWorkerWith(void (*thread)(WorkerArgs*), WorkerArgs args);
