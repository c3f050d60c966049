#include "catalogue/UserList.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <numeric>
#include <utility>

namespace {

std::size_t TextBytes(const UserRecord& user) {
  return user.m_user_id.size() + user.m_username.size() + user.m_nickname.size() +
         user.m_avatar.size() + user.m_user_intro.size() + user.m_video_num.size() +
         user.m_mood.size() + user.m_liked.size();
}

std::size_t TextBytes(const VideoRecord& video) {
  return video.m_video_blog_id.size() + video.m_video_id.size() +
         video.m_video_release_time.size() + video.m_video_screenshot.size() +
         video.m_video_3in1_url.size() + video.m_video_download_address.size() +
         video.m_video_intro.size() + video.m_video_desc.size() + video.m_video_duration.size() +
         video.m_s_receive.size();
}

}  // namespace

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
  const std::size_t bytes =
      std::accumulate(entry->m_videos.begin(), entry->m_videos.end(), TextBytes(*entry->m_user),
                      [](std::size_t sum, const auto& video) { return sum + TextBytes(*video); });
  std::lock_guard lock(m_mutex);
  if (m_first_fill == 0 && m_nicknames.contains(nickname)) return false;
  if (m_users.size() >= m_bounds.m_users || !HasTextRoom(bytes)) return false;
  m_users.push_back(std::move(entry));
  m_nicknames.insert(nickname);
  m_text_bytes += bytes;
  return true;
}

bool UserList::AppendVideo(std::size_t user, std::unique_ptr<VideoRecord> video) {
  if (!video) return false;
  const std::size_t bytes = TextBytes(*video);
  std::lock_guard lock(m_mutex);
  if (user >= m_users.size()) return false;
  UserEntry& entry = *m_users[user];
  if (entry.m_videos.size() >= m_bounds.m_videos_per_user) return false;
  if (!HasTextRoom(bytes)) return false;
  const auto [slot, new_blog_id] = entry.m_blog_ids.insert(video->m_video_blog_id);
  if (!new_blog_id) return false;
  try {
    entry.m_videos.push_back(std::move(video));
  } catch (...) {
    entry.m_blog_ids.erase(slot);  // the video is not listed, so neither is its blog id
    throw;
  }
  m_text_bytes += bytes;
  return true;
}

void UserList::ReserveVideos(std::size_t user, std::size_t more) {
  std::lock_guard lock(m_mutex);
  if (user >= m_users.size()) return;
  UserEntry& entry = *m_users[user];
  const std::size_t held = entry.m_videos.size();
  const std::size_t most = m_bounds.m_videos_per_user;
  const std::size_t room = held >= most ? held : held + std::min(more, most - held);
  try {
    entry.m_videos.reserve(room);
    entry.m_blog_ids.reserve(room);
  } catch (const std::exception&) {
    // Without the memory the appends grow the list as they go.
  }
}

bool UserList::StorePicture(std::size_t user, std::size_t video, std::vector<unsigned char> bytes) {
  if (bytes.empty() ||
      bytes.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    return false;
  }
  const auto size = static_cast<std::int32_t>(bytes.size());
  auto data = std::make_shared<const std::vector<unsigned char>>(std::move(bytes));
  std::lock_guard lock(m_mutex);
  VideoRecord* record = FindVideo(user, video);
  if (!record) return false;
  // The bytes a second download replaces are given back first.
  const std::size_t others =
      m_picture_bytes - (record->m_picture_data ? record->m_picture_data->size() : 0);
  if (data->size() > m_bounds.m_picture_bytes - std::min(others, m_bounds.m_picture_bytes))
    return false;
  m_picture_bytes = others + data->size();
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

bool UserList::HasTextRoom(std::size_t bytes) const {
  return bytes <= m_bounds.m_text_bytes - std::min(m_text_bytes, m_bounds.m_text_bytes);
}

VideoRecord* UserList::FindVideo(std::size_t user, std::size_t video) const {
  if (user >= m_users.size()) return nullptr;
  const auto& videos = m_users[user]->m_videos;
  return video < videos.size() ? videos[video].get() : nullptr;
}
