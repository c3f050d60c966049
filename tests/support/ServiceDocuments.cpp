#include "tests/support/ServiceDocuments.h"

#include <json/writer.h>

namespace pagetap::test {

Json::Value TopListElement(const std::string& nickname, const std::string& blog_id) {
  Json::Value element(Json::objectValue);
  for (const char* key :
       {"user_id", "username", "avatar", "user_intro", "video_num", "mood", "liked", "video_id",
        "video_intro", "video_desc", "video_release_time", "video_duration", "s_receive"}) {
    element[key] = std::string(key) + " of " + nickname;
  }
  element["nickname"] = nickname;
  element["blog_id"] = blog_id;
  element["video_screenshots"] = "http://pictures.test/" + blog_id + ".";
  return element;
}

std::string TopListText(const std::vector<Json::Value>& elements) {
  Json::Value root(Json::objectValue);
  root["video_list"] = Json::Value(Json::arrayValue);
  for (const auto& element : elements) root["video_list"].append(element);
  return Text(root);
}

Json::Value PageVideo(const std::optional<std::string>& blog_id) {
  const std::string name = blog_id.value_or("no blog id");
  Json::Value video(Json::objectValue);
  if (blog_id) video["blog_id"] = *blog_id;
  video["video_id"] = "id of " + name;
  video["video_screenshot"] = "http://pictures.test/" + name + ".";
  video["video_intro"] = "intro of " + name;
  return video;
}

std::string UserPageText(const std::optional<std::string>& next_cursor,
                         const std::vector<std::vector<Json::Value>>& diaries) {
  Json::Value root(Json::objectValue);
  if (next_cursor) root["next_cursor"] = *next_cursor;
  root["diary_list"] = Json::Value(Json::arrayValue);
  for (const auto& videos : diaries) {
    Json::Value diary(Json::objectValue);
    diary["video_list"] = Json::Value(Json::arrayValue);
    for (const auto& video : videos) diary["video_list"].append(video);
    root["diary_list"].append(diary);
  }
  return Text(root);
}

std::string Text(const Json::Value& document) {
  Json::StreamWriterBuilder writer;
  writer["indentation"] = "";
  return Json::writeString(writer, document);
}

}  // namespace pagetap::test
