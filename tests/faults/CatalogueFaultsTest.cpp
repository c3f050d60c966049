// The catalogue's fetch workers against a video service that answers badly: every fetch still
// ends and announces itself, what the catalogue held stays, and large but sound answers are
// mapped whole.

#include "catalogue/ListWorkers.h"
#include "catalogue/UserList.h"
#include "platform/Limits.h"
#include "platform/Notices.h"
#include "platform/Workers.h"
#include "tests/faults/RawServer.h"
#include "tests/support/Compression.h"
#include "tests/support/ListedUsers.h"
#include "tests/support/NoticeLog.h"
#include "tests/support/ServiceDocuments.h"
#include "tests/support/TestServer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

using namespace std::chrono_literals;
using pagetap::test::AddUser;
using pagetap::test::BlogIds;
using pagetap::test::Nicknames;
using pagetap::test::PageVideo;
using pagetap::test::PostedNotice;
using pagetap::test::RawEnding;
using pagetap::test::RawReply;
using pagetap::test::RawServer;
using pagetap::test::TopListElement;
using pagetap::test::TopListText;
using pagetap::test::UserPageText;

namespace {

const std::string kUserPagePath = "/home_user?day_count=7&relative=after&nickname=";

// What a server sends for one bad answer: the body's bytes and the Content-Encoding it claims.
struct BadAnswer {
  std::string m_body;
  std::string m_encoding;
};

// Four bad answers in place of `document`, a JSON object: the document gzipped and the gzip cut
// in half, the plain document claiming gzip, a page of HTML, and the document with one more
// member nested 100 000 levels deep.
std::map<std::string, BadAnswer> BadAnswers(const std::string& document) {
  const std::string packed = pagetap::test::GzipCompress(document);
  std::string deep = document.substr(0, document.size() - 1) + ",\"deep\":";
  deep += std::string(100000, '[') + std::string(100000, ']') + "}";
  return {{"truncated-gzip", {packed.substr(0, packed.size() / 2), "gzip"}},
          {"wrong-encoding", {document, "gzip"}},
          {"not-json", {"<html><body><h1>502 Bad Gateway</h1></body></html>", ""}},
          {"deep", {deep, ""}}};
}

void Send(httplib::Response& response, const BadAnswer& answer) {
  if (!answer.m_encoding.empty()) response.set_header("Content-Encoding", answer.m_encoding);
  // A type the test server sends as it is, never compressing it on its own.
  response.set_content(answer.m_body, "application/octet-stream");
}

class CatalogueFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    if (ShutdownRequested()) GTEST_SKIP() << "shutdown was already requested in this process";
  }

  void TearDown() override {
    // A worker must never outlive the catalogue it fills.
    if (!WaitForWorkers(10s)) {
      ADD_FAILURE() << "a fetch worker is still running";
      RequestShutdown();
      WaitForWorkers(20s);
    }
    unsetenv("PAGETAP_API_BASE");
  }

  static void UseService(const std::string& base) { setenv("PAGETAP_API_BASE", base.c_str(), 1); }

  // The first fill done with ann and bob, one top-list video each.
  void ListAnnAndBob() {
    AddUser(m_list, "ann", {"http://pictures.test/ann."});
    AddUser(m_list, "bob", {"http://pictures.test/bob."});
    m_list.EndFirstFill();
  }

  UserList m_list;
  pagetap::test::NoticeLog m_notices;
  pagetap::test::TestServer m_server;
};

TEST_F(CatalogueFaults, BadTopListAnswersAddNothingAndKeepTheListedUsers) {
  ListAnnAndBob();
  std::vector<Json::Value> newcomers;
  for (int user = 0; user < 300; ++user) {
    newcomers.push_back(TopListElement("new " + std::to_string(user), "b"));
  }
  const std::string top_list = TopListText(newcomers);
  std::vector<std::string> bases;
  for (const auto& [name, answer] : BadAnswers(top_list)) {
    m_server.Routes().Get(
        "/" + name + "/top_video",
        [answer](const httplib::Request&, httplib::Response& response) { Send(response, answer); });
    bases.push_back(name);
  }
  m_server.Start();
  for (std::string& base : bases) base = m_server.BaseUrl() + "/" + base;
  RawServer reset(RawReply(top_list.substr(0, top_list.size() / 2), top_list.size()),
                  RawEnding::Reset);
  bases.push_back(reset.BaseUrl());

  for (std::size_t fetch = 0; fetch < bases.size(); ++fetch) {
    SCOPED_TRACE(bases[fetch]);
    UseService(bases[fetch]);
    ASSERT_TRUE(StartTopListThread(&m_list));
    const auto notices = m_notices.WaitFor(fetch + 1, 10s);
    ASSERT_EQ(notices.size(), fetch + 1);
    EXPECT_EQ(notices.back(), (PostedNotice{0, TopListReady}));
    EXPECT_EQ(Nicknames(m_list), (std::vector<std::string>{"ann", "bob"}));
    EXPECT_EQ(BlogIds(m_list, 0), std::vector<std::string>{"ann 0"});
    EXPECT_EQ(BlogIds(m_list, 1), std::vector<std::string>{"bob 0"});
  }
  EXPECT_EQ(m_server.RequestCount(), 4u);
  EXPECT_EQ(reset.Heads().size(), 1u);
}

TEST_F(CatalogueFaults, BadUserPagesEndTheFetchKeepingWhatEarlierPagesBrought) {
  // Each user's second page is bad in its own way; the first page brought one video and a cursor.
  const auto answers = BadAnswers(UserPageText("p3", {{PageVideo("from page 2")}}));
  std::vector<std::string> bases;
  for (const auto& [name, answer] : answers) {
    AddUser(m_list, name, {"http://pictures.test/" + name + "."});
    m_server.Routes().Get("/" + name + "/home_user", [answer](const httplib::Request& request,
                                                              httplib::Response& response) {
      if (request.has_param("cursor")) return Send(response, answer);
      response.set_content(UserPageText("p2", {{PageVideo("from page 1")}}), "application/json");
    });
    bases.push_back(name);
  }
  m_server.Start();
  for (std::string& base : bases) base = m_server.BaseUrl() + "/" + base;
  // The last user's very first page is cut off by a reset: the cursor an earlier fetch left stays.
  RawServer reset(RawReply(UserPageText("p9", {{PageVideo("never")}}).substr(0, 40), 500),
                  RawEnding::Reset);
  AddUser(m_list, "cut off", {"http://pictures.test/cut."});
  m_list.SetNextCursor(4, "left earlier");
  bases.push_back(reset.BaseUrl());
  m_list.EndFirstFill();

  for (std::uint32_t user = 0; user < bases.size(); ++user) {
    SCOPED_TRACE(bases[user]);
    UseService(bases[user]);
    ASSERT_TRUE(StartUserVideosThread(&m_list, user));
    const auto notices = m_notices.WaitFor(user + 1, 10s);
    ASSERT_EQ(notices.size(), user + 1);
    EXPECT_EQ(notices.back(), (PostedNotice{user, VideosPageReady}));
    const std::string nickname = m_list.User(user)->m_nickname;
    if (user < 4) {
      EXPECT_EQ(BlogIds(m_list, user), (std::vector<std::string>{nickname + " 0", "from page 1"}));
      EXPECT_EQ(m_list.NextCursor(user), "p2");
    } else {
      EXPECT_EQ(BlogIds(m_list, user), std::vector<std::string>{"cut off 0"});
      EXPECT_EQ(m_list.NextCursor(user), "left earlier");
    }
  }
  EXPECT_EQ(m_server.RequestCount(), 8u) << "two pages for each of the first four users";
  EXPECT_EQ(reset.Heads().size(), 1u);
}

TEST_F(CatalogueFaults, CursorThatLoopsBetweenTwoValuesEndsTheFetch) {
  ListAnnAndBob();
  const std::string first = kUserPagePath + "bob";
  m_server.Routes().Get(
      "/home_user", [](const httplib::Request& request, httplib::Response& response) {
        const std::string cursor = request.get_param_value("cursor");
        const std::string next = cursor == "A" ? "B" : "A";
        response.set_content(
            UserPageText(next, {{PageVideo("after " + (cursor.empty() ? "none" : cursor))}}),
            "application/json");
      });
  m_server.Start();
  UseService(m_server.BaseUrl());

  ASSERT_TRUE(StartUserVideosThread(&m_list, 1));
  const auto notices = m_notices.WaitFor(1, 10s);
  ASSERT_EQ(notices, (std::vector<PostedNotice>{{1, VideosPageReady}})) << "the fetch never ended";
  std::vector<std::string> targets;
  for (const auto& request : m_server.Requests()) targets.push_back(request.target);
  EXPECT_EQ(targets, (std::vector<std::string>{first, first + "&cursor=A", first + "&cursor=B"}))
      << "the third page leads back to a cursor already asked for";
  EXPECT_EQ(BlogIds(m_list, 1),
            (std::vector<std::string>{"bob 0", "after none", "after A", "after B"}));
  EXPECT_EQ(m_list.NextCursor(1), "A");
  EXPECT_EQ(BlogIds(m_list, 0), std::vector<std::string>{"ann 0"});
}

// A service that pages on without end: one whose pages each bring new videos stops at the
// videos a user may hold, one whose pages bring nothing new stops after a few such pages. Both
// fetches announce their end.
TEST_F(CatalogueFaults, UserPagesWithoutEndStopAtTheVideoOrTimeBoundOrWhenNothingNewComes) {
  struct Endless {
    const char* m_path;
    bool m_new_videos;
    std::chrono::milliseconds m_fetch_time;
    std::size_t m_requests;
    std::size_t m_videos;
  };
  const Endless cases[] = {{"/fresh", true, kUserFetchTimeLimit, 3, 50},
                           {"/same", false, kUserFetchTimeLimit, 1 + kMaxPagesWithoutNewVideos, 2},
                           {"/timed", true, 0ms, 1, 21}};
  for (const Endless& endless : cases) {
    m_server.Routes().Get(std::string(endless.m_path) + "/home_user",
                          [endless](const httplib::Request& request, httplib::Response& response) {
                            const int page = std::atoi(request.get_param_value("cursor").c_str());
                            std::vector<Json::Value> videos;
                            for (int video = 0; video < (endless.m_new_videos ? 20 : 1); ++video) {
                              videos.push_back(PageVideo(
                                  std::to_string(endless.m_new_videos ? page * 20 + video : 0)));
                            }
                            response.set_content(UserPageText(std::to_string(page + 1), {videos}),
                                                 "application/json");
                          });
  }
  m_server.Start();
  for (std::size_t user = 0; user < std::size(cases); ++user) {
    SCOPED_TRACE(cases[user].m_path);
    UserList list(
        CatalogueBounds{.m_videos_per_user = 50, .m_user_fetch_time = cases[user].m_fetch_time});
    AddUser(list, "ann", {"http://pictures.test/ann."});
    list.EndFirstFill();
    const std::size_t requests_before = m_server.RequestCount();
    UseService(m_server.BaseUrl() + cases[user].m_path);
    ASSERT_TRUE(StartUserVideosThread(&list, 0));
    const auto notices = m_notices.WaitFor(user + 1, 30s);
    ASSERT_EQ(notices.size(), user + 1) << "the fetch never ended";
    EXPECT_EQ(notices.back(), (PostedNotice{0, VideosPageReady}));
    ASSERT_TRUE(WaitForWorkers(10s));
    EXPECT_EQ(m_server.RequestCount() - requests_before, cases[user].m_requests);
    EXPECT_EQ(list.VideoCount(0), cases[user].m_videos);
  }
}

// Each answer repeats every user of the one before and names one more; the catalogue holds
// kMaxUsers users and takes no more.
TEST_F(CatalogueFaults, TopListsOfManyUsersAreMappedWholeOnceAndUpToTheCatalogueBound) {
  constexpr int kUsers = static_cast<int>(kMaxUsers) - 1;
  auto top_list = [](int users) {
    std::string text = "{\"video_list\":[";
    for (int user = 0; user < users; ++user) {
      const std::string number = std::to_string(user);
      text += "{\"nickname\":\"user " + number + "\",\"blog_id\":\"b" + number + "\"},";
    }
    text.back() = ']';
    return text + "}";
  };
  std::atomic<int> fetches{0};
  m_server.Routes().Get("/top_video", [&](const httplib::Request&, httplib::Response& response) {
    response.set_content(top_list(kUsers + fetches++), "application/json");
  });
  m_server.Start();
  UseService(m_server.BaseUrl());

  ASSERT_TRUE(StartTopListThread(&m_list));
  ASSERT_EQ(m_notices.WaitFor(1, 30s).size(), 1u);
  ASSERT_TRUE(WaitForWorkers(10s));
  ASSERT_EQ(m_list.UserCount(), static_cast<std::size_t>(kUsers));
  for (int user = 0; user < kUsers; ++user) {
    const auto video = m_list.Video(user, 0);
    ASSERT_EQ(m_list.User(user)->m_nickname, "user " + std::to_string(user));
    ASSERT_EQ(video->m_video_blog_id, "b" + std::to_string(user));
  }

  for (std::size_t fetch = 2; fetch <= 3; ++fetch) {
    ASSERT_TRUE(StartTopListThread(&m_list));
    ASSERT_EQ(m_notices.WaitFor(fetch, 30s).size(), fetch);
    ASSERT_EQ(m_list.UserCount(), kMaxUsers) << "after fetch " << fetch;
  }
  EXPECT_EQ(m_list.User(kUsers)->m_nickname, "user " + std::to_string(kUsers));
  EXPECT_EQ(m_list.VideoCount(0), 1u);
}

TEST_F(CatalogueFaults, MegabyteNicknameIsListedOnceAndItsUnsendablePageFetchEnds) {
  std::string nickname;
  while (nickname.size() < (1u << 20)) nickname += "\xE4\xB8\xAD";  // one CJK character in UTF-8
  ListAnnAndBob();
  Json::Value element(Json::objectValue);
  element["nickname"] = nickname;
  element["blog_id"] = "long one";
  const std::string top_list = TopListText({element});
  m_server.Routes().Get("/top_video", [&](const httplib::Request&, httplib::Response& response) {
    response.set_content(top_list, "application/json");
  });
  m_server.Routes().Get("/home_user", [](const httplib::Request&, httplib::Response& response) {
    response.set_content(UserPageText("", {{PageVideo("page video")}}), "application/json");
  });
  m_server.Start();
  UseService(m_server.BaseUrl());
  for (std::size_t fetch = 1; fetch <= 2; ++fetch) {
    ASSERT_TRUE(StartTopListThread(&m_list));
    ASSERT_EQ(m_notices.WaitFor(fetch, 10s).size(), fetch);
  }
  ASSERT_EQ(m_list.UserCount(), 3u) << "the second fetch finds the nickname listed";
  EXPECT_TRUE(m_list.User(2)->m_nickname == nickname) << "the nickname is kept byte for byte";

  // Encoded, the nickname makes a 3 MB request line; libcurl builds no request over 1 MB, so
  // the page is never asked for. The fetch ends as for any failed transfer.
  ASSERT_TRUE(StartUserVideosThread(&m_list, 2));
  const auto notices = m_notices.WaitFor(3, 10s);
  ASSERT_EQ(notices.size(), 3u);
  EXPECT_EQ(notices[2], (PostedNotice{2, VideosPageReady}));
  EXPECT_EQ(m_server.RequestCount(), 2u);
  EXPECT_EQ(BlogIds(m_list, 2), std::vector<std::string>{"long one"});
  EXPECT_EQ(Nicknames(m_list).size(), 3u);
}

}  // namespace
