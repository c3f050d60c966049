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
      if (!root.isObject()) return;
      const Json::Value& diaries = root["diary_list"];
      if (!diaries.isArray()) return;
      std::string key;
      for (Json::ArrayIndex d = 0; d < diaries.size(); ++d) {
        const Json::Value& diary = diaries[d];
        if (!diary.isObject()) continue;
        const Json::Value& elements = diary["video_list"];
        if (!elements.isArray()) continue;
        for (Json::ArrayIndex e = 0; e < elements.size(); ++e) {
          const Json::Value& element = elements[e];
          if (!element.isObject()) continue;
          ReadText(element, "blog_id", key);
          if (list.HasBlogId(user, key)) continue;
          list.AppendVideo(user, VideoFrom(element));
        }
      }
    });
  } catch (const std::exception&) {
    // Out of memory while building a record: it was never appended, the entry stays whole.
  }
}
