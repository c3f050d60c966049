#include "demo/Playground.h"

#include "demo/Encodings.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <vector>

namespace pagetap::demo {
namespace {

constexpr const char* kTextType = "text/plain; charset=utf-8";

// httplib files the peer's and its own address among the request headers.
constexpr std::array<const char*, 4> kNotSentHeaders = {"REMOTE_ADDR", "REMOTE_PORT", "LOCAL_ADDR",
                                                        "LOCAL_PORT"};

constexpr const char* kGzipText =
    "This body left the demo service gzip-encoded (Content-Encoding: gzip).\n"
    "If you can read it, the client decoded it.\n"
    "这段文字是用 gzip 压缩后发送的。\n";

constexpr const char* kGb2312Page =
    "<!DOCTYPE html>\n<html><head>\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">\n"
    "<title>编码测试</title></head>\n"
    "<body><h1>简体中文页面</h1>\n"
    "<p>这一页的字节是 GB2312 编码，而不是 UTF-8。</p>\n"
    "</body></html>\n";

constexpr int kDefaultSlowSeconds = 5;
constexpr int kMostSlowSeconds = 300;

// A body whose length is known goes out as given: httplib neither chunks nor compresses it,
// so an encoded body keeps its one Content-Encoding and a drip is not held back.
void SetFixedBody(httplib::Response& response, const std::string& body, const char* content_type) {
  response.set_content_provider(
      body.size(), content_type,
      [body](std::size_t offset, std::size_t size, httplib::DataSink& sink) {
        return sink.write(body.data() + offset, size);
      });
}

std::string EchoText(const httplib::Request& request) {
  std::string text = request.method + " " + request.target + " " + request.version + "\n";
  for (const auto& [name, value] : request.headers) {
    const auto internal = std::find(kNotSentHeaders.begin(), kNotSentHeaders.end(), name);
    if (internal == kNotSentHeaders.end()) text += name + ": " + value + "\n";
  }
  text += "\n" + request.body;
  for (const auto& [name, part] : request.files) {
    text += "--- part \"" + name + "\" (file \"" + part.filename + "\", " + part.content_type +
            ", " + std::to_string(part.content.size()) + " bytes)\n" + part.content + "\n";
  }
  return text;
}

int SlowSeconds(const httplib::Request& request) {
  const std::string asked = request.get_param_value("seconds");
  int seconds = kDefaultSlowSeconds;
  const char* end = asked.data() + asked.size();
  if (std::from_chars(asked.data(), end, seconds).ptr != end) seconds = kDefaultSlowSeconds;
  return std::clamp(seconds, 1, kMostSlowSeconds);
}

}  // namespace

Playground::Playground(const StopSignal& stop)
    : m_stop(stop),
      m_gzip_body(GzipCompress(kGzipText)),
      m_gb2312_page(Utf8ToGb2312(kGb2312Page)) {}

void Playground::Register(httplib::Server& server) {
  const auto echo = [](const httplib::Request& request, httplib::Response& response) {
    response.set_content(EchoText(request), kTextType);
  };
  server.Get("/echo", echo).Post("/echo", echo).Put("/echo", echo).Patch("/echo", echo);
  server.Delete("/echo", echo).Options("/echo", echo);

  server.Get("/cookie/set",
             [this](const auto& request, auto& response) { ServeCookies(request, response); });
  server.Get("/redirect", [](const httplib::Request&, httplib::Response& response) {
    response.status = 302;
    response.set_header("Location", "/echo");
    response.set_content(
        "<!DOCTYPE html>\n<html><body><p>This page moved to <a href=\"/echo\">/echo</a>.</p>"
        "</body></html>\n",
        "text/html; charset=utf-8");
  });
  server.Get("/gzip", [this](const httplib::Request&, httplib::Response& response) {
    response.set_header("Content-Encoding", "gzip");
    SetFixedBody(response, m_gzip_body, kTextType);
  });
  server.Get("/charset/gb2312", [this](const httplib::Request&, httplib::Response& response) {
    response.set_content(m_gb2312_page, "text/html; charset=gb2312");
  });
  server.Get("/slow",
             [this](const auto& request, auto& response) { ServeSlow(request, response); });
}

// Each query parameter becomes a cookie; without any, a numbered session cookie.
void Playground::ServeCookies(const httplib::Request& request, httplib::Response& response) {
  std::vector<std::pair<std::string, std::string>> cookies(request.params.begin(),
                                                           request.params.end());
  if (cookies.empty()) cookies.emplace_back("demo_session", std::to_string(++m_sessions));
  std::string text = "Cookies set:\n";
  for (const auto& [name, value] : cookies) {
    response.set_header("Set-Cookie", name + "=" + value + "; Path=/");
    text += name + "=" + value + "\n";
  }
  response.set_content(text, kTextType);
}

// One line a second for ?seconds=N (default 5), then "done". Stopping the service cuts it off.
void Playground::ServeSlow(const httplib::Request& request, httplib::Response& response) const {
  const int seconds = SlowSeconds(request);
  std::string text;
  std::vector<std::size_t> line_starts;
  for (int i = 1; i <= seconds; ++i) {
    line_starts.push_back(text.size());
    text += "drip " + std::to_string(i) + " of " + std::to_string(seconds) + "\n";
  }
  line_starts.push_back(text.size());
  text += "done\n";
  line_starts.push_back(text.size());

  // httplib asks again from where the last write ended, which is always a line's start.
  response.set_content_provider(
      text.size(), kTextType,
      [this, line_starts, text](std::size_t offset, std::size_t, httplib::DataSink& sink) {
        if (offset > 0 && m_stop.WaitFor(std::chrono::seconds(1))) return false;
        const auto next = std::upper_bound(line_starts.begin(), line_starts.end(), offset);
        return sink.write(text.data() + offset, *next - offset);
      });
}

}  // namespace pagetap::demo
