#include "http/AppendBody.h"
#include "http/CreateRequest.h"
#include "http/HttpGetRequest.h"
#include "http/HttpPostRequest.h"
#include "http/Trace.h"
#include "http/TransferSwitches.h"
#include "platform/Workers.h"
#include "tests/support/TempCurrentDirectory.h"
#include "tests/support/TestServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

using namespace std::chrono_literals;
using pagetap::test::RecordedRequest;
using pagetap::test::Scheme;
using pagetap::test::TempCurrentDirectory;
using pagetap::test::TestServer;

namespace {

std::string Fetch(RequestKind kind, const std::string& url, long* status = nullptr) {
  std::string body;
  CreateRequest(kind, url)->Perform(&body, status);
  return body;
}

std::string Header(const RecordedRequest& request, const std::string& name) {
  const auto found = request.headers.find(name);
  return found == request.headers.end() ? std::string("<absent>") : found->second;
}

void SetSwitches(bool debug, bool head, bool send_cookie, bool save_cookie) {
  myCurl::TransferSwitches.Store({debug, head, send_cookie, save_cookie});
}

bool SwitchesAtRest() {
  const auto now = myCurl::TransferSwitches.Load();
  return !now.debug && !now.head && now.send_cookie && now.save_cookie;
}

class HttpRequestTest : public ::testing::Test {
 protected:
  void SetUp() override { SetSwitches(false, false, false, false); }
  TestServer m_server;
};

TEST_F(HttpRequestTest, SendsTheFixedHeadersAndAppendsTheBody) {
  m_server.ServeText("/page", "hello");
  m_server.Routes().Get("/missing", [](const httplib::Request&, httplib::Response& res) {
    res.status = 404;
    res.set_content("no such page", "text/plain");
  });
  m_server.Start();

  std::string body = "kept ";
  long status = 0;
  CreateRequest(RequestKind::Get, m_server.BaseUrl() + "/page")->Perform(&body, &status);
  EXPECT_EQ(body, "kept hello");
  EXPECT_EQ(status, 200);

  const auto seen = m_server.Requests().at(0);
  EXPECT_EQ(seen.method, "GET");
  EXPECT_EQ(Header(seen, "User-Agent"),
            "Mozilla/5.0 (Windows NT 5.1; rv:26.0) Gecko/20100101 Firefox/26.0");
  EXPECT_EQ(Header(seen, "Accept-Encoding"), "gzip, deflate");
  EXPECT_EQ(Header(seen, "Referer"), "<absent>");
  EXPECT_EQ(Header(seen, "Cookie"), "<absent>");

  EXPECT_EQ(Fetch(RequestKind::Get, m_server.BaseUrl() + "/missing", &status), "no such page");
  EXPECT_EQ(status, 404) << "an error status is no failure: its body is the result";
}

TEST_F(HttpRequestTest, EncodedBodiesArriveDecoded) {
  const std::string text(5000, 'z');
  m_server.ServeGzip("/gzip", "gzip " + text);
  m_server.ServeDeflate("/deflate", "deflate " + text);
  m_server.Start();
  EXPECT_EQ(Fetch(RequestKind::Get, m_server.BaseUrl() + "/gzip"), "gzip " + text);
  EXPECT_EQ(Fetch(RequestKind::Get, m_server.BaseUrl() + "/deflate"), "deflate " + text);
}

// Long bodies come in many pieces: with an announced length the string makes room once, with
// a compressed one the announcement is short of the decoded text and the string grows on.
TEST_F(HttpRequestTest, LongBodiesArriveWholeAfterWhatTheStringHeld) {
  std::string text;
  for (int line = 0; text.size() < (3u << 20); ++line)
    text += "line " + std::to_string(line) + "\n";
  m_server.ServeText("/long", text);
  m_server.ServeGzip("/long-gzip", text);
  m_server.Start();
  for (const char* path : {"/long", "/long-gzip"}) {
    std::string body = "kept ";
    CreateRequest(RequestKind::Get, m_server.BaseUrl() + path)->Perform(&body, nullptr);
    EXPECT_EQ(body.size(), text.size() + 5) << path;
    EXPECT_TRUE(body == "kept " + text) << path;
  }
}

TEST_F(HttpRequestTest, RedirectIsNotFollowed) {
  m_server.ServeText("/target", "the target");
  m_server.ServeRedirect("/moved", "/target", 302, "moved away");
  m_server.Start();
  long status = 0;
  EXPECT_EQ(Fetch(RequestKind::Get, m_server.BaseUrl() + "/moved", &status), "moved away");
  EXPECT_EQ(status, 302);
  EXPECT_EQ(m_server.RequestCount(), 1u);
}

TEST_F(HttpRequestTest, RefererIsSentOnlyWhenSet) {
  m_server.ServeText("/page", "ok");
  m_server.Start();
  std::string body;
  auto request = CreateRequest(RequestKind::Get, m_server.BaseUrl() + "/page");
  request->SetReferer("http://example.invalid/from?a=1&b=2");
  request->Perform(&body, nullptr);
  Fetch(RequestKind::Get, m_server.BaseUrl() + "/page");

  const auto seen = m_server.Requests();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(Header(seen[0], "Referer"), "http://example.invalid/from?a=1&b=2");
  EXPECT_EQ(Header(seen[1], "Referer"), "<absent>");
}

TEST_F(HttpRequestTest, PostSendsItsDataOrGoesOutWithoutABody) {
  m_server.ServeText("/form", "posted");
  m_server.Start();

  std::string body;
  auto with_data = CreateRequest(RequestKind::Post, m_server.BaseUrl() + "/form");
  with_data->SetPostData("a=1&b=\xE4\xB8\xAD");
  with_data->Perform(&body, nullptr);
  EXPECT_EQ(body, "posted");
  EXPECT_EQ(Fetch(RequestKind::Post, m_server.BaseUrl() + "/form"), "posted");

  const auto seen = m_server.Requests();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].method, "POST");
  EXPECT_EQ(seen[0].body, "a=1&b=\xE4\xB8\xAD");
  EXPECT_EQ(seen[1].method, "POST");
  EXPECT_EQ(seen[1].body, "");
  EXPECT_EQ(Header(seen[1], "Content-Length"), "0");
}

TEST_F(HttpRequestTest, HeadSwitchPutsTheResponseHeadInFrontOfTheBody) {
  m_server.ServeText("/page", "the body");
  m_server.Start();
  SetSwitches(false, true, false, false);
  std::string body;
  auto request = CreateRequest(RequestKind::Get, m_server.BaseUrl() + "/page");
  request->FollowTransferSwitches();
  request->Perform(&body, nullptr);

  EXPECT_EQ(body.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << body;
  EXPECT_NE(body.find("\r\nContent-Type: text/plain\r\n"), std::string::npos) << body;
  EXPECT_EQ(body.substr(body.size() - 12), "\r\n\r\nthe body");
}

TEST_F(HttpRequestTest, SwitchesApplyOnlyToTheWorkbenchTransferAndComeBackToRest) {
  m_server.ServeText("/page", "plain");
  m_server.Start();

  // A transfer that does not follow the switches neither applies nor resets them.
  SetSwitches(true, true, false, false);
  ClearTraceLog();
  EXPECT_EQ(Fetch(RequestKind::Get, m_server.BaseUrl() + "/page"), "plain");
  EXPECT_EQ(TraceLogText(), "");
  const auto untouched = myCurl::TransferSwitches.Load();
  EXPECT_TRUE(untouched.debug && untouched.head && !untouched.send_cookie &&
              !untouched.save_cookie);

  // The workbench's transfer puts them back to rest after Perform...
  std::string body;
  auto request = CreateRequest(RequestKind::Get, m_server.BaseUrl() + "/page");
  request->FollowTransferSwitches();
  request->Perform(&body, nullptr);
  EXPECT_TRUE(SwitchesAtRest());
  EXPECT_NE(body.find("HTTP/1.1 200"), std::string::npos);
  EXPECT_NE(TraceLogText().find("[HEADER_OUT]\r\nGET /page HTTP/1.1\r\n"), std::string::npos);

  // ...and again when it is destroyed.
  SetSwitches(true, true, false, false);
  request.reset();
  EXPECT_TRUE(SwitchesAtRest());
}

TEST_F(HttpRequestTest, PerformWithoutABodyDoesNothing) {
  m_server.ServeText("/page", "ok");
  m_server.Start();
  SetSwitches(true, true, false, false);
  auto request = CreateRequest(RequestKind::Get, m_server.BaseUrl() + "/page");
  request->FollowTransferSwitches();
  long status = -7;
  request->Perform(nullptr, &status);
  EXPECT_EQ(status, -7);
  EXPECT_EQ(m_server.RequestCount(), 0u);
  EXPECT_TRUE(myCurl::TransferSwitches.Head) << "the switches are reset only after a transfer";
}

TEST(HttpRequestFailures, RefusedConnectionLeavesTheBodyAndStatusAlone) {
  long status = -7;
  EXPECT_EQ(Fetch(RequestKind::Get,
                  "http://127.0.0.1:" + std::to_string(pagetap::test::ClosedPort()) + "/", &status),
            "");
  EXPECT_EQ(status, -7);
}

TEST(HttpRequestFailures, StallPastTheTransferLimitKeepsWhatArrived) {
  myCurl::SetTransferTimeouts({.connect_seconds = 1, .whole_seconds = 1});
  TestServer server;
  server.ServeStall("/stall", "first part", 30s);
  server.Start();
  long status = -7;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Fetch(RequestKind::Get, server.BaseUrl() + "/stall", &status), "first part");
  EXPECT_GE(std::chrono::steady_clock::now() - start, 990ms)
      << "the 1 s limit, give or take libcurl's timer";
  EXPECT_EQ(status, -7) << "a transfer that timed out did not complete";
  myCurl::SetTransferTimeouts({});
}

// The write callback itself ends a transfer, keeping what arrived: past the body's limit, past
// the deadline, and once shutdown is requested (last, as shutdown is for good).
TEST(HttpRequestFailures, WriteCallbackEndsTheTransferPastItsBounds) {
  CURL* easy = curl_easy_init();
  ASSERT_NE(easy, nullptr);
  std::string body = "held";
  const auto later = std::chrono::steady_clock::now() + 1h;
  char bytes[] = "abcdef";
  BodySink sink{&body, easy, 10, later};
  EXPECT_EQ(AppendBody(bytes, 1, 6, &sink), 6u);
  EXPECT_EQ(AppendBody(bytes, 1, 1, &sink), 0u) << "eleven bytes would pass the limit";
  sink.limit = 11;
  EXPECT_EQ(AppendBody(bytes, 1, 1, &sink), 1u);
  EXPECT_EQ(body, "heldabcdefa");

  sink.limit = 100;
  sink.deadline = std::chrono::steady_clock::now() - 1ms;
  EXPECT_EQ(AppendBody(bytes, 1, 1, &sink), 0u);
  sink.deadline = later;
  RequestShutdown();
  EXPECT_EQ(AppendBody(bytes, 1, 1, &sink), 0u);
  EXPECT_EQ(body, "heldabcdefa");
  curl_easy_cleanup(easy);
}

TEST(HttpsRequest, SelfSignedCertificateIsAccepted) {
  TestServer server(Scheme::Https);
  server.ServeText("/secure", "over tls");
  server.Start();
  long status = 0;
  EXPECT_EQ(Fetch(RequestKind::Get, server.BaseUrl() + "/secure", &status), "over tls");
  EXPECT_EQ(status, 200);
}

TEST(HttpRequestProtocols, LimitedRequestsReadNoLocalFiles) {
  const TempCurrentDirectory directory;
  { std::ofstream("secret.txt") << "local data"; }
  const std::string url = "file://" + (directory.Path() / "secret.txt").string();

  EXPECT_EQ(Fetch(RequestKind::Get, url), "local data") << "the workbench keeps every scheme";
  std::string body;
  auto limited = CreateRequest(RequestKind::Get, url);
  limited->LimitToWebProtocols();
  limited->Perform(&body, nullptr);
  EXPECT_EQ(body, "");
}

TEST(HttpRequestCookies, TransfersAtRestKeepNoCookieFile) {
  const TempCurrentDirectory directory;
  TestServer server;
  server.ServeSetCookie("/login", "session=abc; Path=/");
  server.Start();
  Fetch(RequestKind::Get, server.BaseUrl() + "/login");
  EXPECT_TRUE(std::filesystem::is_empty(directory.Path()));
}

// The program's own transfers never add query parameters, header lines or an upload file;
// a request that does must still send them the way libcurl expects.
class FullGetRequest : public myCurl::HttpGetRequest {
 public:
  FullGetRequest(const std::string& url) : HttpGetRequest(url) {
    m_params = {{"b key", "2&3"}, {"a", "\xE4\xB8\xAD~"}};
    m_headers = {{"X-Second", "2"}, {"X-First", "1"}};
  }
};

class UploadPostRequest : public myCurl::HttpPostRequest {
 public:
  UploadPostRequest(const std::string& url, const std::string& file) : HttpPostRequest(url) {
    m_upload_file = file;
  }
};

TEST_F(HttpRequestTest, QueryParametersHeadersAndUploadsAreSent) {
  m_server.ServeText("/q", "ok");
  m_server.Start();

  std::string body;
  FullGetRequest(m_server.BaseUrl() + "/q").Perform(&body, nullptr);
  FullGetRequest(m_server.BaseUrl() + "/q?x=1").Perform(&body, nullptr);
  auto seen = m_server.Requests().at(0);
  EXPECT_EQ(seen.target, "/q?a=%E4%B8%AD~&b%20key=2%263");
  EXPECT_EQ(Header(seen, "X-First"), "1");
  EXPECT_EQ(Header(seen, "X-Second"), "2");
  EXPECT_EQ(m_server.Requests().at(1).target, "/q?x=1?a=%E4%B8%AD~&b%20key=2%263")
      << "a second '?' is appended as it is";

  const TempCurrentDirectory directory;
  { std::ofstream("upload.txt") << "file contents"; }
  UploadPostRequest("http://127.0.0.1:" + std::to_string(m_server.Port()) + "/q", "upload.txt")
      .Perform(&body, nullptr);
  seen = m_server.Requests().at(2);
  EXPECT_EQ(seen.method, "POST");
  EXPECT_EQ(Header(seen, "Content-Type").rfind("multipart/form-data", 0), 0u);
  EXPECT_NE(seen.body.find("name=\"file\""), std::string::npos);
  EXPECT_NE(seen.body.find("file contents"), std::string::npos);
}

}  // namespace
