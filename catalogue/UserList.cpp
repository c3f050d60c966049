#include "catalogue/UserList.h"

#include <limits>
#include <utility>

bool UserList::FirstFill() const {
  std::lock_guard lock(m_mutex);
  return m_first_fill != 0;
}

void UserList::EndFirstFill() {
  std::lock_guard lock(m_mutex);
  m_first_fill = 0;
}

std::size_t UserList::UserCount() const {
  std::lock_guard lock(m_mutex);
  return m_users.size();
}

std::size_t UserList::VideoCount(std::size_t user) const {
  std::lock_guard lock(m_mutex);
  return user < m_users.size() ? m_users[user]->m_videos.size() : 0;
}

std::optional<UserRecord> UserList::User(std::size_t user) const {
  std::lock_guard lock(m_mutex);
  if (user >= m_users.size()) return std::nullopt;
  return *m_users[user]->m_user;
}

std::optional<VideoRecord> UserList::Video(std::size_t user, std::size_t video) const {
  std::lock_guard lock(m_mutex);
  const VideoRecord* record = FindVideo(user, video);
  if (!record) return std::nullopt;
  return *record;
}

std::string UserList::NextCursor(std::size_t user) const {
  std::lock_guard lock(m_mutex);
  return user < m_users.size() ? m_users[user]->m_next_cursor : std::string();
}

void UserList::SetNextCursor(std::size_t user, const std::string& cursor) {
  std::lock_guard lock(m_mutex);
  if (user < m_users.size()) m_users[user]->m_next_cursor = cursor;
}

bool UserList::HasNickname(const std::string& nickname) const {
  std::lock_guard lock(m_mutex);
  return m_nicknames.contains(nickname);
}

bool UserList::HasBlogId(std::size_t user, const std::string& blog_id) const {
  std::lock_guard lock(m_mutex);
  return user < m_users.size() && m_users[user]->m_blog_ids.contains(blog_id);
}

bool UserList::AppendUser(std::unique_ptr<UserEntry> entry) {
  if (!entry || !entry->m_user || entry->m_videos.empty()) return false;
  entry->m_blog_ids.clear();
  for (const auto& video : entry->m_videos) entry->m_blog_ids.insert(video->m_video_blog_id);
  const std::string& nickname = entry->m_user->m_nickname;
  std::lock_guard lock(m_mutex);
  if (m_first_fill == 0 && m_nicknames.contains(nickname)) return false;
  m_users.push_back(std::move(entry));
  m_nicknames.insert(nickname);
  return true;
}

bool UserList::AppendVideo(std::size_t user, std::unique_ptr<VideoRecord> video) {
  if (!video) return false;
  std::lock_guard lock(m_mutex);
  if (user >= m_users.size()) return false;
  UserEntry& entry = *m_users[user];
  const auto [slot, added] = entry.m_blog_ids.insert(video->m_video_blog_id);
  if (!added) return false;
  try {
    entry.m_videos.push_back(std::move(video));
  } catch (...) {
    entry.m_blog_ids.erase(slot);  // the video is not listed, so neither is its blog id
    throw;
  }
  return true;
}

bool UserList::StorePicture(std::size_t user, std::size_t video, std::vector<unsigned char> bytes) {
  if (bytes.empty() || bytes.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    return false;
  }
  const auto size = static_cast<std::int32_t>(bytes.size());
  auto data = std::make_shared<const std::vector<unsigned char>>(std::move(bytes));
  std::lock_guard lock(m_mutex);
  VideoRecord* record = FindVideo(user, video);
  if (!record) return false;
  record->m_picture_size = size;
  record->m_picture_data = std::move(data);
  record->m_picture_ready = 1;
  return true;
}

void UserList::SetPictureAddresses(std::size_t user, std::size_t video, const std::string& url_3in1,
                                   const std::string& download_address) {
  std::lock_guard lock(m_mutex);
  VideoRecord* record = FindVideo(user, video);
  if (!record) return;
  record->m_video_3in1_url = url_3in1;
  record->m_video_download_address = download_address;
}

bool UserList::TakePictureTry(std::size_t user, std::size_t video) {
  std::lock_guard lock(m_mutex);
  VideoRecord* record = FindVideo(user, video);
  if (!record) return false;
  const bool was_left = record->m_picture_tries > 0;
  if (record->m_picture_tries > std::numeric_limits<std::int32_t>::min()) --record->m_picture_tries;
  return was_left;
}

VideoRecord* UserList::FindVideo(std::size_t user, std::size_t video) const {
  if (user >= m_users.size()) return nullptr;
  const auto& videos = m_users[user]->m_videos;
  return video < videos.size() ? videos[video].get() : nullptr;
}
