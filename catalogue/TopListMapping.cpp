#include "catalogue/TopListMapping.h"

#include "catalogue/JsonText.h"
#include "catalogue/PictureAddresses.h"

#include <exception>
#include <memory>
#include <utility>

namespace {

std::unique_ptr<UserEntry> EntryFrom(const Json::Value& element) {
  auto user = std::make_unique<UserRecord>();
  ReadText(element, "user_id", user->m_user_id);
  ReadText(element, "username", user->m_username);
  ReadText(element, "nickname", user->m_nickname);
  ReadText(element, "avatar", user->m_avatar);
  ReadText(element, "user_intro", user->m_user_intro);
  ReadText(element, "video_num", user->m_video_num);
  ReadText(element, "mood", user->m_mood);
  ReadText(element, "liked", user->m_liked);

  auto video = std::make_unique<VideoRecord>();
  ReadText(element, "video_release_time", video->m_video_release_time);
  ReadText(element, "video_duration", video->m_video_duration);
  ReadText(element, "s_receive", video->m_s_receive);
  ReadText(element, "blog_id", video->m_video_blog_id);
  ReadText(element, "video_id", video->m_video_id);
  ReadText(element, "video_screenshots", video->m_video_screenshot);
  DerivePictureAddresses(*video);
  ReadText(element, "video_intro", video->m_video_intro);
  ReadText(element, "video_desc", video->m_video_desc);

  auto entry = std::make_unique<UserEntry>();
  entry->m_user = std::move(user);
  entry->m_videos.push_back(std::move(video));
  return entry;
}

}  // namespace

void MapTopList(UserList& list, const std::string& text) {
  try {
    WithDocument(text, [&](const Json::Value& root) {
      ForEachObjectIn(root, "video_list", [&](const Json::Value& element) {
        if (!list.FirstFill()) {
          // Only a cheap early skip: AppendUser decides again under the catalogue's lock.
          std::string nickname;
          if (!ReadText(element, "nickname", nickname) || list.HasNickname(nickname)) return;
        }
        list.AppendUser(EntryFrom(element));
      });
    });
  } catch (const std::exception&) {
    // Out of memory while building a record: it was never appended, the catalogue stays whole.
  }
}
