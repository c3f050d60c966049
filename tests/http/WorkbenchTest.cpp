#include "http/CreateRequest.h"
#include "http/Trace.h"
#include "http/TransferSwitches.h"
#include "http/Workbench.h"
#include "tests/support/TempCurrentDirectory.h"
#include "tests/support/TestServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

using namespace std::chrono_literals;
using pagetap::test::RecordedRequest;
using pagetap::test::TempCurrentDirectory;
using pagetap::test::TestServer;

namespace {

struct Switches {
  bool debug = false;
  bool head = false;
  bool send_cookie = false;
  bool save_cookie = false;
};

std::string Header(const RecordedRequest& request, const std::string& name) {
  const auto found = request.headers.find(name);
  return found == request.headers.end() ? std::string("<absent>") : found->second;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// Every case runs in a fresh current directory, where the cookie file lands.
class WorkbenchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_server.ServeText("/page", "the page");
    m_server.ServeSetCookie("/login", "session=abc; Path=/");
    m_server.ServeSetCookie("/other", "theme=dark; Path=/");
    m_server.ServeDrip("/slow", "drip ", 4, 150ms);
    m_server.Start();
  }

  void Run(RequestKind kind, const std::string& path, Switches switches,
           const std::string& referer = "", const std::string& post_data = "") {
    myCurl::TransferSwitches.Store(
        {switches.debug, switches.head, switches.send_cookie, switches.save_cookie});
    WorkbenchTransfer(kind, {m_server.BaseUrl() + path, referer, post_data}, m_body);
  }

  RecordedRequest Last() const { return m_server.Requests().back(); }

  TempCurrentDirectory m_directory;
  TestServer m_server;
  std::string m_body = "left from an earlier transfer";
};

TEST_F(WorkbenchTest, FormTextsBecomeTheRequest) {
  Run(RequestKind::Get, "/page", {});
  EXPECT_EQ(m_body, "the page");
  EXPECT_EQ(Last().method, "GET");
  EXPECT_EQ(Header(Last(), "Referer"), "<absent>");

  Run(RequestKind::Post, "/page", {}, "http://from.invalid/?a=b", "name=\xD6\xD0&x=1 2");
  EXPECT_EQ(Last().method, "POST");
  EXPECT_EQ(Last().body, "name=\xD6\xD0&x=1 2");
  EXPECT_EQ(Header(Last(), "Referer"), "http://from.invalid/?a=b");

  Run(RequestKind::Post, "/page", {});
  EXPECT_EQ(Last().method, "POST");
  EXPECT_EQ(Last().body, "");
  EXPECT_EQ(Header(Last(), "Content-Length"), "0");
}

TEST_F(WorkbenchTest, EachTransferStartsWithAnEmptyBodyAndTrace) {
  Run(RequestKind::Get, "/page", {.debug = true});
  EXPECT_NE(TraceLogText(), "");
  Run(RequestKind::Get, "/page", {});
  EXPECT_EQ(TraceLogText(), "");
  EXPECT_EQ(m_body, "the page");
}

TEST_F(WorkbenchTest, TraceShowsWhatWasSentAndNothingOfTheResponse) {
  Run(RequestKind::Get, "/page", {.debug = true});
  const std::string get_trace = TraceLogText();
  EXPECT_EQ(get_trace.rfind("[TEXT]\r\n", 0), 0u) << get_trace;
  EXPECT_EQ(Count(get_trace, "[HEADER_OUT]\r\n"), 1u) << get_trace;
  EXPECT_NE(get_trace.find("[HEADER_OUT]\r\nGET /page HTTP/1.1\r\nHost: 127.0.0.1:"),
            std::string::npos);
  EXPECT_NE(get_trace.find("\r\nUser-Agent: Mozilla/5.0 (Windows NT 5.1; rv:26.0) Gecko/20100101 "
                           "Firefox/26.0\r\n"),
            std::string::npos);
  EXPECT_EQ(get_trace.find("[DATA_OUT]"), std::string::npos);
  EXPECT_EQ(get_trace.find("the page"), std::string::npos);

  Run(RequestKind::Post, "/page", {.debug = true}, "", "a=1&b=2");
  const std::string post_trace = TraceLogText();
  EXPECT_NE(post_trace.find("[HEADER_OUT]\r\nPOST /page HTTP/1.1\r\n"), std::string::npos);
  EXPECT_NE(post_trace.find("[DATA_OUT]\r\na=1&b=2\r\n\r\n"), std::string::npos) << post_trace;
}

TEST_F(WorkbenchTest, SavedCookiesAreSentByTheNextTransfer) {
  Run(RequestKind::Get, "/page", {.send_cookie = true});
  EXPECT_EQ(Header(Last(), "Cookie"), "<absent>") << "no cookie file yet";
  EXPECT_FALSE(std::filesystem::exists(kCookieFile));

  Run(RequestKind::Post, "/login", {.save_cookie = true});
  ASSERT_TRUE(std::filesystem::exists(m_directory.Path() / "testcookie.txt"));
  EXPECT_NE(ReadFile(kCookieFile).find("session\tabc"), std::string::npos);

  Run(RequestKind::Get, "/page", {.send_cookie = true});
  EXPECT_EQ(Header(Last(), "Cookie"), "session=abc");
  Run(RequestKind::Post, "/page", {.send_cookie = true});
  EXPECT_EQ(Header(Last(), "Cookie"), "session=abc");
}

TEST_F(WorkbenchTest, TheCookieFileChangesOnlyWhenSavingWithCookiesInHand) {
  Run(RequestKind::Get, "/login", {.save_cookie = true});
  const std::string saved = ReadFile(kCookieFile);

  Run(RequestKind::Get, "/other", {.send_cookie = true});
  EXPECT_EQ(ReadFile(kCookieFile), saved) << "SaveCookie off leaves the file alone";

  Run(RequestKind::Get, "/page", {.save_cookie = true});
  EXPECT_EQ(ReadFile(kCookieFile), saved) << "nothing to save: the file stays as it was";

  Run(RequestKind::Get, "/other", {.save_cookie = true});
  const std::string replaced = ReadFile(kCookieFile);
  EXPECT_NE(replaced.find("theme\tdark"), std::string::npos);
  EXPECT_EQ(replaced.find("session"), std::string::npos) << "only this transfer's cookies";

  Run(RequestKind::Get, "/login", {.send_cookie = true, .save_cookie = true});
  const std::string merged = ReadFile(kCookieFile);
  EXPECT_NE(merged.find("theme\tdark"), std::string::npos);
  EXPECT_NE(merged.find("session\tabc"), std::string::npos);
}

TEST_F(WorkbenchTest, AConcurrentCatalogueTransferIgnoresTheWorkbenchSwitches) {
  std::thread workbench([&] { Run(RequestKind::Get, "/slow", {.debug = true, .head = true}); });
  EXPECT_TRUE(m_server.WaitForRequests(1, 10s));

  std::string body;
  auto other = CreateRequest(RequestKind::Get, m_server.BaseUrl() + "/page");
  other->Perform(&body, nullptr);
  other.reset();
  workbench.join();

  EXPECT_EQ(body, "the page");
  EXPECT_EQ(m_body.rfind("HTTP/1.1 200 OK\r\n", 0), 0u);
  EXPECT_EQ(m_body.substr(m_body.size() - 20), "drip drip drip drip ");
  const std::string trace = TraceLogText();
  EXPECT_NE(trace.find("GET /slow HTTP/1.1"), std::string::npos);
  EXPECT_EQ(trace.find("GET /page HTTP/1.1"), std::string::npos);
}

TEST(WorkbenchClaim, OnlyOneTransferAtATime) {
  ASSERT_TRUE(ClaimWorkbench());
  EXPECT_FALSE(ClaimWorkbench());
  ReleaseWorkbench();
  EXPECT_TRUE(ClaimWorkbench());
  ReleaseWorkbench();
}

}  // namespace
