#pragma once

// The catalogue as the user-videos worker finds it: one user from the top list, with the one
// video the top list named.

#include "catalogue/UserList.h"

#include <memory>
#include <utility>

inline void AddOneUser(UserList& list) {
  auto entry = std::make_unique<UserEntry>();
  entry->m_user = std::make_unique<UserRecord>();
  entry->m_user->m_nickname = "ann";
  auto video = std::make_unique<VideoRecord>();
  video->m_video_blog_id = "b1";
  entry->m_videos.push_back(std::move(video));
  list.AppendUser(std::move(entry));
}
