#include "tests/demo/RunningService.h"

#include "http/CreateRequest.h"
#include "http/URLEncode.h"

#include <gtest/gtest.h>

#include <memory>

namespace pagetap::test {

RunningService::RunningService()
    : m_service([this](const std::string& line) {
        {
          const std::lock_guard lock(m_mutex);
          m_lines.push_back(line);
        }
        m_line_added.notify_all();
      }) {
  const std::string error = m_service.Start("127.0.0.1", 0);
  if (!error.empty()) ADD_FAILURE() << "the demo service did not start: " << error;
}

std::string RunningService::Url(const std::string& path_and_query) const {
  return m_service.BaseUrl() + path_and_query;
}

bool RunningService::WaitForLogLines(std::size_t count, std::chrono::seconds limit) {
  std::unique_lock lock(m_mutex);
  return m_line_added.wait_for(lock, limit, [&] { return m_lines.size() >= count; });
}

std::vector<std::string> RunningService::LogLines() const {
  const std::lock_guard lock(m_mutex);
  return m_lines;
}

Answer Get(const std::string& url) {
  Answer answer;
  CreateRequest(RequestKind::Get, url)->Perform(&answer.body, &answer.status);
  return answer;
}

Answer Post(const std::string& url, const std::string& data) {
  Answer answer;
  const auto request = CreateRequest(RequestKind::Post, url);
  request->SetPostData(data);
  request->Perform(&answer.body, &answer.status);
  return answer;
}

std::optional<Json::Value> ParseJson(const std::string& text) {
  const std::unique_ptr<Json::CharReader> reader(Json::CharReaderBuilder().newCharReader());
  Json::Value root;
  std::string errors;
  if (!reader->parse(text.data(), text.data() + text.size(), &root, &errors)) return std::nullopt;
  return root;
}

std::string TopListUrl(const RunningService& service) {
  return service.Url("/top_video?count=100&relative=after&type=top_week");
}

std::string UserPageUrl(const RunningService& service, const std::string& nickname) {
  return service.Url("/home_user?day_count=7&relative=after&nickname=") +
         CURLEncode().Encode(nickname);
}

std::string PictureByLength(const std::string& screenshot) {
  return screenshot.substr(0, 72) + "mov.3in1.jpg";
}

std::string PictureByDot(const std::string& screenshot) {
  const auto dot = screenshot.find('.', 30);
  return dot == std::string::npos ? std::string() : screenshot.substr(0, dot + 1) + "mov.3in1.jpg";
}

Json::Value FetchTopList(const RunningService& service) {
  const Answer answer = Get(TopListUrl(service));
  EXPECT_EQ(answer.status, 200);
  const std::optional<Json::Value> root = ParseJson(answer.body);
  if (!root || !root->isObject() || !(*root)["video_list"].isArray()) {
    ADD_FAILURE() << "the top list is not a JSON object with a \"video_list\" array";
    return Json::Value(Json::arrayValue);
  }
  return (*root)["video_list"];
}

}  // namespace pagetap::test
