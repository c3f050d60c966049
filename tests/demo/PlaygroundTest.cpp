#include "http/CreateRequest.h"
#include "http/TextConversions.h"
#include "tests/demo/RunningService.h"
#include "tests/support/TempCurrentDirectory.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>

using pagetap::test::Get;
using pagetap::test::Post;
using pagetap::test::RunningService;
using pagetap::test::TempCurrentDirectory;

namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(DemoPlayground, EchoShowsTheRequestLineHeadersAndBody) {
  RunningService service;
  const auto posted = Post(service.Url("/echo?x=1"), "name=pagetap&text=a b");
  EXPECT_EQ(posted.status, 200);
  EXPECT_EQ(posted.body.rfind("POST /echo?x=1 HTTP/1.1\n", 0), 0u) << posted.body;
  EXPECT_TRUE(Has(posted.body, "Content-Type: application/x-www-form-urlencoded\n"));
  EXPECT_TRUE(Has(posted.body, "\n\nname=pagetap&text=a b")) << posted.body;
  EXPECT_FALSE(Has(posted.body, "REMOTE_ADDR")) << "httplib's own entries are not headers";

  const auto got = Get(service.Url("/echo"));
  EXPECT_EQ(got.body.rfind("GET /echo HTTP/1.1\n", 0), 0u) << got.body;
  EXPECT_TRUE(Has(got.body, "User-Agent: "));
}

// The program keeps cookies in a file; a cookie the playground sets comes back on the next
// request, where the echo shows it.
TEST(DemoPlayground, CookiesAreSetAndComeBack) {
  TempCurrentDirectory directory;
  RunningService service;
  for (const std::string path : {"/cookie/set?flavour=oatmeal", "/cookie/set", "/echo"}) {
    std::string body;
    const auto request = CreateRequest(RequestKind::Get, service.Url(path));
    request->SetCookieFile("cookies.txt");
    request->Perform(&body, nullptr);
    if (path == "/echo") {
      EXPECT_TRUE(Has(body, "Cookie: ")) << body;
      EXPECT_TRUE(Has(body, "flavour=oatmeal")) << body;
      EXPECT_TRUE(Has(body, "demo_session=")) << body;
    }
  }
  const std::string jar = ReadFile(directory.Path() / "cookies.txt");
  EXPECT_TRUE(Has(jar, "flavour\toatmeal")) << jar;
  EXPECT_TRUE(Has(jar, "demo_session\t")) << jar;
}

TEST(DemoPlayground, RedirectIsA302WithABodyOfItsOwn) {
  RunningService service;
  const auto answer = Get(service.Url("/redirect"));
  EXPECT_EQ(answer.status, 302);
  EXPECT_TRUE(Has(answer.body, "<a href=\"/echo\">")) << answer.body;
}

TEST(DemoPlayground, GzipBodyTravelsEncodedAndArrivesDecoded) {
  RunningService service;
  const auto decoded = Get(service.Url("/gzip"));
  EXPECT_EQ(decoded.status, 200);
  EXPECT_TRUE(Has(decoded.body, "gzip-encoded")) << decoded.body;
  EXPECT_TRUE(Has(decoded.body, "压缩")) << decoded.body;

  // A client that does not decode sees the gzip bytes and one Content-Encoding.
  httplib::Client raw("127.0.0.1", service.Port());
  raw.set_decompress(false);
  const auto result = raw.Get("/gzip");
  ASSERT_TRUE(result);
  EXPECT_EQ(result->get_header_value_count("Content-Encoding"), 1u);
  EXPECT_EQ(result->get_header_value("Content-Encoding"), "gzip");
  EXPECT_EQ(result->body.substr(0, 2), "\x1f\x8b");
}

TEST(DemoPlayground, Gb2312PageDeclaresItsCharsetAndIsInGb2312) {
  RunningService service;
  const auto answer = Get(service.Url("/charset/gb2312"));
  EXPECT_EQ(answer.status, 200);
  EXPECT_TRUE(Has(answer.body, "content=\"text/html; charset=gb2312\"")) << answer.body;
  EXPECT_FALSE(Has(answer.body, "简体中文")) << "the page is in UTF-8";
  std::u16string text;
  GbkToWide(answer.body, text);
  EXPECT_NE(text.find(u"简体中文页面"), std::u16string::npos);
}

TEST(DemoPlayground, SlowDripsALineASecond) {
  RunningService service;
  const auto started = std::chrono::steady_clock::now();
  const auto answer = Get(service.Url("/slow?seconds=2"));
  EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
  EXPECT_EQ(answer.status, 200);
  EXPECT_TRUE(Has(answer.body, "drip 1 of 2\n")) << answer.body;
  EXPECT_TRUE(Has(answer.body, "drip 2 of 2\n")) << answer.body;
  EXPECT_EQ(answer.body.substr(answer.body.size() - 5), "done\n");
}

// A drip of five minutes must not hold up a stop: once stopped, the client has the part
// that arrived and no end.
TEST(DemoPlayground, StoppingCutsASlowDripShort) {
  RunningService service;
  std::mutex mutex;
  std::condition_variable arrived;
  std::string received;
  bool finished = false;
  std::thread reader([&] {
    httplib::Client client("127.0.0.1", service.Port());
    client.Get("/slow?seconds=300", [&](const char* data, std::size_t length) {
      {
        const std::lock_guard lock(mutex);
        received.append(data, length);
      }
      arrived.notify_all();
      return true;
    });
    {
      const std::lock_guard lock(mutex);
      finished = true;
    }
    arrived.notify_all();
  });
  {
    std::unique_lock lock(mutex);
    arrived.wait(lock, [&] { return !received.empty() || finished; });
  }
  service.Stop();
  reader.join();
  EXPECT_TRUE(Has(received, "drip 1 of 300\n"));
  EXPECT_FALSE(Has(received, "done")) << received;
}

}  // namespace
