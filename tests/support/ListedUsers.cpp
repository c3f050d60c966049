#include "tests/support/ListedUsers.h"

#include "catalogue/PictureAddresses.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>

namespace pagetap::test {

void AddUser(UserList& list, const std::string& nickname,
             const std::vector<std::string>& screenshots) {
  auto entry = std::make_unique<UserEntry>();
  entry->m_user = std::make_unique<UserRecord>();
  entry->m_user->m_nickname = nickname;
  for (const std::string& screenshot : screenshots) {
    auto video = std::make_unique<VideoRecord>();
    video->m_video_blog_id = nickname + " " + std::to_string(entry->m_videos.size());
    video->m_video_screenshot = screenshot;
    DerivePictureAddresses(*video);
    entry->m_videos.push_back(std::move(video));
  }
  EXPECT_TRUE(list.AppendUser(std::move(entry)));
}

std::vector<std::string> Nicknames(const UserList& list) {
  std::vector<std::string> nicknames;
  for (std::size_t user = 0; user < list.UserCount(); ++user) {
    nicknames.push_back(list.User(user)->m_nickname);
  }
  return nicknames;
}

std::vector<std::string> BlogIds(const UserList& list, std::size_t user) {
  std::vector<std::string> blog_ids;
  for (std::size_t video = 0; video < list.VideoCount(user); ++video) {
    blog_ids.push_back(list.Video(user, video)->m_video_blog_id);
  }
  return blog_ids;
}

std::string PictureText(const UserList& list, std::size_t user, std::size_t video) {
  const auto record = list.Video(user, video);
  if (!record || !record->m_picture_data) return {};
  return std::string(record->m_picture_data->begin(), record->m_picture_data->end());
}

}  // namespace pagetap::test
