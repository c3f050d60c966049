#pragma once

// The argument block of every catalogue and picture worker. The starter makes it with new and
// hands it to the thread, which owns it from then on and deletes it when it ends.

#include <cstdint>
#include <string>

class UserList;

struct WorkerArgs {
  std::string m_text;             // a list worker's request address; empty for picture workers
  std::int32_t m_mode = 0;        // the ViewMode the job belongs to: 0 users, 1 one user's videos
  UserList* m_list = nullptr;     // the dialog's catalogue, not owned
  std::uint32_t m_user_index = 0;
  std::uint32_t m_video_index = 0;
};
