// Transfers that go wrong on the wire: what Perform hands back, what the workbench's result box
// shows, and that transfers which never finish end at their time-out or on shutdown.
// Shutdown is one way for the whole process; ctest runs each case in a process of its own.

#include "catalogue/ListWorkers.h"
#include "catalogue/ServiceRequests.h"
#include "catalogue/UserList.h"
#include "http/CreateRequest.h"
#include "http/ResponseText.h"
#include "http/Trace.h"
#include "http/TransferSwitches.h"
#include "http/Workbench.h"
#include "pictures/PictureWorkers.h"
#include "platform/Limits.h"
#include "platform/Notices.h"
#include "platform/Workers.h"
#include "tests/faults/RawServer.h"
#include "tests/support/Compression.h"
#include "tests/support/ListedUsers.h"
#include "tests/support/NoticeLog.h"
#include "tests/support/TestServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

using namespace std::chrono_literals;
using pagetap::test::PostedNotice;
using pagetap::test::RawEnding;
using pagetap::test::RawReply;
using pagetap::test::RawServer;
using pagetap::test::TestServer;

namespace {

// A type the test server sends as it is, never compressing it on its own.
constexpr const char* kUntouchedType = "application/octet-stream";

// Printable text that repeats every 251 bytes, a prime: a stretch cut out, lost or repeated
// anywhere shows. Built by doubling, as tests run unoptimised.
template <typename Text>
Text Pattern(std::size_t size) {
  Text text;
  text.reserve(size);
  for (int unit = 0; unit < 251; ++unit) {
    text.push_back(static_cast<typename Text::value_type>('!' + unit % 90));
  }
  while (text.size() < size) text.append(text, 0, std::min(text.size(), size - text.size()));
  text.resize(size);
  return text;
}

// What the result box shows after a workbench GET of `url`.
std::u16string WorkbenchText(const std::string& url) {
  std::string body;
  WorkbenchTransfer(RequestKind::Get, {url, "", ""}, body);
  return DecodeResponse(body, TraceLogText());
}

// A workbench GET of `workbench_url` whose result goes to *text, a top-list fetch, user 0's
// page fetch and user 0's first picture download, each on a worker of its own.
bool StartFourTransfers(UserList& list, const std::string& workbench_url, std::u16string* text) {
  return StartWorker([workbench_url, text] { *text = WorkbenchText(workbench_url); }) &&
         StartTopListThread(&list) && StartUserVideosThread(&list, 0) &&
         StartWorkerWith(UserPictureThread, {"", kUsersView, &list, 0, 0});
}

void ServeEncoded(TestServer& server, const std::string& path, const std::string& bytes,
                  const std::string& encoding) {
  server.Routes().Get(path,
                      [bytes, encoding](const httplib::Request&, httplib::Response& response) {
                        if (!encoding.empty()) response.set_header("Content-Encoding", encoding);
                        response.set_content(bytes, kUntouchedType);
                      });
}

class TransferFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    if (ShutdownRequested()) GTEST_SKIP() << "shutdown was already requested in this process";
    myCurl::TransferSwitches.Store({false, false, false, false});  // the form's boxes all clear
    myCurl::SetTransferTimeouts({});
  }

  // The body Perform appends to "kept ", and the status it reports (-7: none).
  static std::pair<std::string, long> Fetch(const std::string& url) {
    std::string body = "kept ";
    long status = -7;
    CreateRequest(RequestKind::Get, url)->Perform(&body, &status);
    return {body, status};
  }
};

TEST_F(TransferFaults, ConnectionResetMidBodyKeepsWhatArrived) {
  const std::string arrived = "<meta charset=\"utf-8\"><p>\xE4\xB8\xAD\xE6\x96\x87 the first half";
  RawServer server(RawReply(arrived, arrived.size() + 4000, "Content-Type: text/html\r\n"),
                   RawEnding::Reset);
  const auto [body, status] = Fetch(server.BaseUrl() + "/page");
  EXPECT_EQ(body, "kept " + arrived);
  EXPECT_EQ(status, -7) << "a transfer that was cut short did not complete";
  EXPECT_EQ(WorkbenchText(server.BaseUrl() + "/page"),
            u"<meta charset=\"utf-8\"><p>中文 the first half");
  EXPECT_EQ(server.Heads().size(), 2u);
}

TEST_F(TransferFaults, SixtyFourMegabyteBodyArrivesWhole) {
  constexpr std::size_t kSize = 64u << 20;
  TestServer server;
  ServeEncoded(server, "/big", Pattern<std::string>(kSize), "");
  server.Start();
  std::string body;
  WorkbenchTransfer(RequestKind::Get, {server.BaseUrl() + "/big", "", ""}, body);
  EXPECT_EQ(body.size(), kSize);
  EXPECT_TRUE(body == Pattern<std::string>(kSize));
  const std::u16string text = DecodeResponse(body, TraceLogText());
  ASSERT_EQ(text.size(), kSize);
  EXPECT_TRUE(text == Pattern<std::u16string>(kSize));
}

TEST_F(TransferFaults, TruncatedGzipBodyGivesWhatCouldBeUnpacked) {
  const std::string text = Pattern<std::string>(400000);
  const std::string packed = pagetap::test::GzipCompress(text);
  ASSERT_FALSE(packed.empty());
  TestServer server;
  ServeEncoded(server, "/cut", packed.substr(0, packed.size() / 2), "gzip");
  server.Start();

  // The cut falls on the gzip stream, not on the transfer: all the bytes the server announced
  // arrive, and what they unpack to is the result.
  const std::string body = Fetch(server.BaseUrl() + "/cut").first;
  ASSERT_GT(body.size(), 5u);
  EXPECT_LT(body.size(), 5 + text.size());
  EXPECT_EQ(body.substr(5), text.substr(0, body.size() - 5))
      << "the unpacked part comes out as it was";

  const std::u16string shown = WorkbenchText(server.BaseUrl() + "/cut");
  EXPECT_EQ(shown, std::u16string(body.begin() + 5, body.end()));
}

TEST_F(TransferFaults, BodyThatSaysGzipButIsPlainGivesNothing) {
  TestServer server;
  ServeEncoded(server, "/liar", "plain text, not gzip at all", "gzip");
  server.Start();
  const auto [body, status] = Fetch(server.BaseUrl() + "/liar");
  EXPECT_EQ(body, "kept ");
  EXPECT_EQ(status, -7);
  EXPECT_EQ(WorkbenchText(server.BaseUrl() + "/liar"), u"未收到任何信息!");
}

// Bodies that would never end, each through every kind of transfer: each stops at its kind's
// byte limit, keeps what arrived, and counts as not completed, so a picture stores nothing.
TEST_F(TransferFaults, BodiesWithoutEndStopAtTheLimitOfTheirKind) {
  constexpr std::size_t kUnpacked = 256u << 20;  // more than any limit
  TestServer server;
  const std::string bomb = pagetap::test::GzipOfRepeats(kUnpacked, ' ');
  ServeEncoded(server, "/bomb", bomb, "gzip");
  ServeEncoded(server, "/nested", pagetap::test::GzipCompress(bomb), "gzip, gzip");
  server.Routes().Get("/endless", [](const httplib::Request&, httplib::Response& response) {
    response.set_chunked_content_provider(kUntouchedType, [](std::size_t, httplib::DataSink& sink) {
      static const std::string piece(64 * 1024, 'x');
      return sink.write(piece.data(), piece.size());
    });
  });
  server.Start();
  ASSERT_LT(bomb.size(), 1u << 20);

  struct Kind {
    const char* m_name;
    std::size_t m_limit;
  };
  for (const Kind& kind :
       {Kind{"catalogue", kCatalogueBodyLimit}, Kind{"picture", kPictureBodyLimit},
        Kind{"workbench", kWorkbenchBodyLimit}}) {
    for (const char* path : {"/bomb", "/nested", "/endless"}) {
      SCOPED_TRACE(std::string(kind.m_name) + " " + path);
      const std::string url = server.BaseUrl() + path;
      const auto begin = std::chrono::steady_clock::now();
      std::size_t received = 0;
      if (kind.m_limit == kWorkbenchBodyLimit) {
        std::string body;
        WorkbenchTransfer(RequestKind::Get, {url, "", ""}, body);
        received = body.size();
      } else {
        bool completed = true;
        received = FetchBody(url, kind.m_limit, &completed).size();
        EXPECT_FALSE(completed);
      }
      const auto taken = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin);
      ::testing::Test::RecordProperty(std::string(kind.m_name) + path + "_seconds",
                                      std::to_string(taken.count()));
      EXPECT_LE(received, kind.m_limit);
      EXPECT_GT(received, kind.m_limit - (1u << 20)) << "the transfer ended before its limit";
    }
  }
}

// Every kind of transfer that can't finish, with the time-outs cut to 1 s: a workbench GET and
// a picture download whose bodies drip on for 20 s, and a top-list and a user-page fetch from a
// server that never answers.
TEST_F(TransferFaults, TransfersThatNeverFinishEndAtTheLimitKeepingWhatArrived) {
  myCurl::SetTransferTimeouts({.connect_seconds = 1, .whole_seconds = 1});
  TestServer drip;
  drip.ServeDrip("/drip", "piece ", 100, 200ms);
  drip.ServeDrip("/shots/ann.mov.3in1.jpg", "jpeg ", 100, 200ms);
  drip.Start();
  RawServer silent("", RawEnding::Hold);
  UserList list;
  pagetap::test::AddUser(list, "ann", {drip.BaseUrl() + "/shots/ann."});
  list.EndFirstFill();
  list.SetNextCursor(0, "earlier");
  ASSERT_TRUE(list.StorePicture(0, 0, {'h', 'e', 'l', 'd'}));
  pagetap::test::NoticeLog notices;
  setenv("PAGETAP_API_BASE", silent.BaseUrl().c_str(), 1);

  std::u16string text;
  ASSERT_TRUE(StartFourTransfers(list, drip.BaseUrl() + "/drip", &text));
  ASSERT_TRUE(WaitForWorkers(30s));
  unsetenv("PAGETAP_API_BASE");

  std::u16string whole;
  for (int piece = 0; piece < 100; ++piece) whole += u"piece ";
  EXPECT_FALSE(text.empty());
  EXPECT_LT(text.size(), whole.size()) << "the drip would have taken 20 s";
  EXPECT_EQ(text, whole.substr(0, text.size()));

  auto posted = notices.Notices();
  std::sort(posted.begin(), posted.end(),
            [](const auto& a, const auto& b) { return a.m_code < b.m_code; });
  EXPECT_EQ(posted, (std::vector<PostedNotice>{{0, VideosPageReady}, {0, TopListReady}}))
      << "the list workers announce their end; a failed picture download does not";
  EXPECT_EQ(pagetap::test::Nicknames(list), std::vector<std::string>{"ann"});
  EXPECT_EQ(list.VideoCount(0), 1u);
  EXPECT_EQ(list.NextCursor(0), "earlier");
  EXPECT_EQ(pagetap::test::PictureText(list, 0, 0), "held") << "part of a picture is no picture";
  EXPECT_EQ(silent.Heads().size(), 2u);
  EXPECT_EQ(drip.RequestCount(), 2u);
}

// The time-outs are far beyond the test's patience, so only shutdown can end the transfers.
TEST_F(TransferFaults, ShutdownEndsTransfersToAServerThatNeverAnswersAtOnce) {
  myCurl::SetTransferTimeouts({.connect_seconds = 600, .whole_seconds = 600});
  RawServer silent("", RawEnding::Hold);
  UserList list;
  pagetap::test::AddUser(list, "ann", {silent.BaseUrl() + "/shots/ann."});
  list.EndFirstFill();
  ASSERT_TRUE(list.StorePicture(0, 0, {'h', 'e', 'l', 'd'}));
  pagetap::test::NoticeLog notices;
  setenv("PAGETAP_API_BASE", silent.BaseUrl().c_str(), 1);

  std::u16string text;
  ASSERT_TRUE(StartFourTransfers(list, silent.BaseUrl() + "/page", &text));
  ASSERT_TRUE(silent.WaitForHeads(4, 10s)) << "every transfer is waiting for its answer";
  unsetenv("PAGETAP_API_BASE");

  const auto requested = std::chrono::steady_clock::now();
  RequestShutdown();
  ASSERT_TRUE(WaitForWorkers(60s));
  const std::chrono::duration<double, std::milli> ended =
      std::chrono::steady_clock::now() - requested;
  RecordProperty("ended_after_shutdown_ms", std::to_string(ended.count()));

  EXPECT_EQ(text, u"未收到任何信息!");
  auto posted = notices.Notices();
  std::sort(posted.begin(), posted.end(),
            [](const auto& a, const auto& b) { return a.m_code < b.m_code; });
  EXPECT_EQ(posted, (std::vector<PostedNotice>{{0, VideosPageReady}, {0, TopListReady}}));
  EXPECT_EQ(pagetap::test::Nicknames(list), std::vector<std::string>{"ann"});
  EXPECT_EQ(list.VideoCount(0), 1u);
  EXPECT_EQ(pagetap::test::PictureText(list, 0, 0), "held");
}

}  // namespace
