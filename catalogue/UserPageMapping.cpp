#include "catalogue/UserPageMapping.h"

#include "catalogue/JsonText.h"
#include "catalogue/PictureAddresses.h"

#include <exception>
#include <memory>
#include <utility>

namespace {

std::unique_ptr<VideoRecord> VideoFrom(const Json::Value& element) {
  auto video = std::make_unique<VideoRecord>();
  ReadText(element, "blog_id", video->m_video_blog_id);
  ReadText(element, "video_id", video->m_video_id);
  ReadText(element, "video_screenshot", video->m_video_screenshot);
  DerivePictureAddresses(*video);
  ReadText(element, "video_intro", video->m_video_intro);
  return video;
}

}  // namespace

std::optional<std::string> MapUserCursor(UserList& list, std::size_t user,
                                         const std::string& text) {
  try {
    std::optional<std::string> cursor;
    WithDocument(text, [&](const Json::Value& root) {
      std::string read;
      if (ReadText(root, "next_cursor", read)) cursor = std::move(read);
    });
    if (cursor) list.SetNextCursor(user, *cursor);
    return cursor;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

void MapUserVideos(UserList& list, std::size_t user, const std::string& text) {
  try {
    WithDocument(text, [&](const Json::Value& root) {
      std::size_t elements = 0;
      ForEachObjectIn(root, "diary_list", [&](const Json::Value& diary) {
        const Json::Value& videos = diary["video_list"];
        if (videos.isArray()) elements += videos.size();
      });
      list.ReserveVideos(user, elements);
      std::string key;
      ForEachObjectIn(root, "diary_list", [&](const Json::Value& diary) {
        ForEachObjectIn(diary, "video_list", [&](const Json::Value& element) {
          ReadText(element, "blog_id", key);
          if (!list.HasBlogId(user, key)) list.AppendVideo(user, VideoFrom(element));
        });
      });
    });
  } catch (const std::exception&) {
    // Out of memory while building a record: it was never appended, the entry stays whole.
  }
}
