#pragma once

// The demo service running inside the test's process on 127.0.0.1 and a free port, with its
// request log kept, and the client calls the tests make to it: the project's own requests.

#include "demo/DemoService.h"

#include <json/json.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace pagetap::test {

class RunningService {
 public:
  RunningService();  // a failure to start fails the test
  RunningService(const RunningService&) = delete;
  RunningService& operator=(const RunningService&) = delete;

  std::string Url(const std::string& path_and_query) const;
  int Port() const { return m_service.Port(); }
  void Stop() { m_service.Stop(); }

  // The service logs a request after its response has gone out, so a test that counts
  // lines waits for them first. False when fewer arrived within `limit`.
  bool WaitForLogLines(std::size_t count, std::chrono::seconds limit);
  std::vector<std::string> LogLines() const;

 private:
  mutable std::mutex m_mutex;
  std::condition_variable m_line_added;
  std::vector<std::string> m_lines;
  demo::DemoService m_service;  // last, so it stops before the log goes
};

struct Answer {
  std::string body;
  long status = 0;  // 0 when the transfer failed
};

Answer Get(const std::string& url);
Answer Post(const std::string& url, const std::string& data);

// Nothing when the text is not JSON.
std::optional<Json::Value> ParseJson(const std::string& text);

std::string TopListUrl(const RunningService& service);
// The first page's address, the nickname encoded as the program encodes it.
std::string UserPageUrl(const RunningService& service, const std::string& nickname);

// The picture address a client makes of a screenshot address: cut after the first 72 bytes,
// or after the first "." at index 30 or later (empty when there is none), then
// "mov.3in1.jpg".
std::string PictureByLength(const std::string& screenshot);
std::string PictureByDot(const std::string& screenshot);

// A top list fetched and parsed; an empty array, after a test failure, when that went wrong.
Json::Value FetchTopList(const RunningService& service);

}  // namespace pagetap::test
