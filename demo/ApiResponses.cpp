#include "demo/ApiResponses.h"

#include "demo/ShotAddress.h"

#include <json/json.h>

#include <charconv>
#include <cstdint>

namespace pagetap::demo {
namespace {

// Cursors look like the time stamps services page by: the start of a day, counting back.
constexpr std::uint64_t kCursorEpoch = 1'719'705'600;  // 2024-06-30 00:00 UTC
constexpr std::uint64_t kCursorStep = 86'400;

// The top list escapes every character beyond ASCII (emoji as surrogate pairs), the user
// pages send plain UTF-8: services do either, and a client has to read both.
std::string Write(const Json::Value& root, bool plain_utf8) {
  Json::StreamWriterBuilder builder;
  builder["indentation"] = "";
  builder["emitUTF8"] = plain_utf8;
  return Json::writeString(builder, root);
}

Json::Value TopListElement(const DemoUser& user, const DemoVideo& video, const TopEntry& entry,
                           const std::string& base) {
  Json::Value element(Json::objectValue);
  element["user_id"] = user.user_id;
  element["username"] = user.username;
  element["nickname"] = user.nickname;
  element["avatar"] = PictureAddress(base, user.videos.front().blog_id);
  element["user_intro"] = user.user_intro;
  element["video_num"] = std::to_string(user.videos.size());
  element["mood"] = user.mood;
  element["liked"] = user.liked;
  element["blog_id"] = video.blog_id;
  element["video_id"] = video.video_id;
  if (!entry.without_screenshot) {
    element["video_screenshots"] = ScreenshotAddress(base, video.blog_id);
  }
  element["video_intro"] = video.intro;
  element["video_desc"] = video.desc;
  element["video_release_time"] = video.release_time;
  element["video_duration"] = video.duration;
  element["s_receive"] = video.receive;
  for (const std::string& key : entry.null_keys) element[key] = Json::Value();
  return element;
}

Json::Value PageVideo(const DemoVideo& video, const std::string& base) {
  Json::Value element(Json::objectValue);
  element["blog_id"] = video.blog_id;
  element["video_id"] = video.video_id;
  element["video_screenshot"] = ScreenshotAddress(base, video.blog_id);
  element["video_intro"] = video.intro;
  return element;
}

Json::Value Diary() {
  Json::Value diary(Json::objectValue);
  diary["video_list"] = Json::Value(Json::arrayValue);
  return diary;
}

}  // namespace

std::string TopListJson(const DemoData& data, int request_number, const std::string& base) {
  Json::Value list(Json::arrayValue);
  for (const TopEntry& entry : data.TopList()) {
    if (entry.first_request > request_number) continue;
    const DemoUser& user = data.Users()[entry.user];
    list.append(TopListElement(user, user.videos[entry.video], entry, base));
  }
  Json::Value root(Json::objectValue);
  root["video_list"] = std::move(list);
  return Write(root, false);
}

std::string UserPageJson(const DemoUser& user, std::size_t page, const std::string& base) {
  const std::size_t begin = page == 0 ? 0 : user.page_ends[page - 1];
  const std::size_t end = user.page_ends[page];
  const bool last = page + 1 == user.page_ends.size();

  // One diary per day, newest first, as a user's page groups them.
  Json::Value diaries(Json::arrayValue);
  for (std::size_t i = begin; i < end; ++i) {
    if (i == begin || user.videos[i].day != user.videos[i - 1].day) diaries.append(Diary());
    diaries[diaries.size() - 1]["video_list"].append(PageVideo(user.videos[i], base));
  }
  if (last && user.empty_day_on_last_page) diaries.append(Diary());

  Json::Value root(Json::objectValue);
  root["next_cursor"] = last ? std::string() : CursorForPage(page + 1);
  root["diary_list"] = std::move(diaries);
  return Write(root, true);
}

std::string EmptyUserPageJson() {
  Json::Value root(Json::objectValue);
  root["next_cursor"] = "";
  root["diary_list"] = Json::Value(Json::arrayValue);
  return Write(root, true);
}

std::string CursorForPage(std::size_t page) {
  return std::to_string(kCursorEpoch - page * kCursorStep);
}

std::optional<std::size_t> PageFromCursor(const std::string& cursor) {
  std::uint64_t stamp = 0;
  const char* end = cursor.data() + cursor.size();
  const auto [stop, error] = std::from_chars(cursor.data(), end, stamp);
  if (cursor.empty() || error != std::errc() || stop != end || stamp > kCursorEpoch ||
      (kCursorEpoch - stamp) % kCursorStep != 0) {
    return std::nullopt;
  }
  return static_cast<std::size_t>((kCursorEpoch - stamp) / kCursorStep);
}

}  // namespace pagetap::demo
