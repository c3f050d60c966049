#include "catalogue/ListWorkers.h"
#include "catalogue/TopListMapping.h"
#include "catalogue/UserList.h"
#include "platform/Notices.h"
#include "platform/Workers.h"
#include "tests/support/NoticeLog.h"
#include "tests/support/ServiceDocuments.h"
#include "tests/support/TestServer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
using pagetap::test::PageVideo;
using pagetap::test::RecordedRequest;
using pagetap::test::TestServer;
using pagetap::test::TopListElement;
using pagetap::test::TopListText;
using pagetap::test::UserPageText;

namespace {

const std::string kTopListTarget = "/top_video?count=100&relative=after&type=top_week";
const std::string kUserPageTarget = "/home_user?day_count=7&relative=after&nickname=";

// A notice with what the catalogue held at the moment it was posted.
struct RecordedNotice {
  std::uintptr_t m_wparam = 0;
  int m_code = 0;
  std::size_t m_users = 0;   // the catalogue's user count then
  std::size_t m_videos = 0;  // the video count of user m_wparam then
  bool m_first_fill = true;
};

struct Reply {
  int m_status = 200;
  std::string m_body;
};

// Answers GET `path` by the request's whole target, exactly as sent; any other target gets 404.
void ServeTargets(TestServer& server, const std::string& path,
                  std::map<std::string, Reply> replies) {
  server.Routes().Get(
      path, [replies](const httplib::Request& request, httplib::Response& response) {
        const auto found = replies.find(request.target);
        response.status = found == replies.end() ? 404 : found->second.m_status;
        response.set_content(found == replies.end() ? "no such page" : found->second.m_body,
                             "application/json");
      });
}

std::vector<std::string> Targets(const std::vector<RecordedRequest>& requests) {
  std::vector<std::string> targets;
  for (const auto& request : requests) targets.push_back(request.target);
  return targets;
}

class ListWorkers : public ::testing::Test {
 protected:
  void TearDown() override {
    EXPECT_TRUE(WaitForWorkers(10s));
    unsetenv("PAGETAP_API_BASE");
  }

  static void UseService(const std::string& base) { setenv("PAGETAP_API_BASE", base.c_str(), 1); }

  // The first fill done, with the given users listed, each with one top-list video "top of ...".
  void ListUsers(const std::vector<std::string>& nicknames) {
    std::vector<Json::Value> elements;
    for (const auto& nickname : nicknames)
      elements.push_back(TopListElement(nickname, "top of " + nickname));
    MapTopList(m_list, TopListText(elements));
    m_list.EndFirstFill();
  }

  std::vector<std::string> BlogIds(std::size_t user) const {
    std::vector<std::string> blog_ids;
    for (std::size_t video = 0; video < m_list.VideoCount(user); ++video) {
      blog_ids.push_back(m_list.Video(user, video)->m_video_blog_id);
    }
    return blog_ids;
  }

  UserList m_list;
  pagetap::test::NoticeLogOf<RecordedNotice> m_notices{[this](std::uintptr_t wParam, int code) {
    return RecordedNotice{wParam, code, m_list.UserCount(), m_list.VideoCount(wParam),
                          m_list.FirstFill()};
  }};
  TestServer m_server;
};

TEST_F(ListWorkers, TopListIsFetchedMappedAndAnnouncedOnceItsRecordsAreThere) {
  ServeTargets(m_server, "/top_video",
               {{kTopListTarget,
                 {200, TopListText({TopListElement("ann", "b1"), TopListElement("ann", "b2"),
                                    TopListElement("bob", "b3")})}}});
  m_server.Start();
  UseService(m_server.BaseUrl());

  EXPECT_FALSE(StartTopListThread(nullptr)) << "without a catalogue nothing starts";
  ASSERT_TRUE(StartTopListThread(&m_list));

  const auto notices = m_notices.WaitFor(1, 10s);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].m_code, TopListReady);
  EXPECT_EQ(notices[0].m_wparam, 0u);
  EXPECT_EQ(notices[0].m_users, 3u) << "the first fill keeps the repeated nickname";
  EXPECT_FALSE(notices[0].m_first_fill);
  EXPECT_EQ(Targets(m_server.Requests()), std::vector<std::string>{kTopListTarget});
}

TEST_F(ListWorkers, FailedTopListTransferStillEndsTheFirstFillAndAnnounces) {
  UseService("http://127.0.0.1:" + std::to_string(pagetap::test::ClosedPort()));
  ASSERT_TRUE(StartTopListThread(&m_list));
  auto notices = m_notices.WaitFor(1, 10s);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].m_code, TopListReady);
  EXPECT_EQ(notices[0].m_users, 0u);
  EXPECT_FALSE(notices[0].m_first_fill);

  // So the next fetch already de-duplicates.
  ServeTargets(m_server, "/top_video",
               {{kTopListTarget,
                 {200, TopListText({TopListElement("ann", "b1"), TopListElement("ann", "b2"),
                                    TopListElement("bob", "b3")})}}});
  m_server.Start();
  UseService(m_server.BaseUrl());
  ASSERT_TRUE(StartTopListThread(&m_list));
  notices = m_notices.WaitFor(2, 10s);
  ASSERT_EQ(notices.size(), 2u);
  EXPECT_EQ(notices[1].m_users, 2u);
}

TEST_F(ListWorkers, UserVideosArePagedWithTheEncodedNicknameAndTheCursorAsReceived) {
  const std::string nickname = "a b&c\xE4\xB8\xAD";
  ListUsers({"someone else", nickname});
  const std::string first = kUserPageTarget + "a%20b%26c%E4%B8%AD";
  ServeTargets(
      m_server, "/home_user",
      {{first,
        {200, UserPageText("c1+x/%41", {{PageVideo("top of " + nickname), PageVideo("b2")}})}},
       {first + "&cursor=c1+x/%41", {200, UserPageText("c2", {{PageVideo("b3")}})}},
       {first + "&cursor=c2", {200, UserPageText("c3", {{PageVideo("b4")}, {PageVideo("b2")}})}},
       {first + "&cursor=c3", {200, UserPageText("", {{PageVideo("b5")}})}}});
  m_server.Start();
  UseService(m_server.BaseUrl());

  ASSERT_TRUE(StartUserVideosThread(&m_list, 1));
  const auto notices = m_notices.WaitFor(1, 10s);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].m_code, VideosPageReady);
  EXPECT_EQ(notices[0].m_wparam, 1u);
  EXPECT_EQ(notices[0].m_videos, 5u) << "the notice follows the last page's videos";

  const auto requests = m_server.Requests();
  EXPECT_EQ(Targets(requests),
            (std::vector<std::string>{first, first + "&cursor=c1+x/%41", first + "&cursor=c2",
                                      first + "&cursor=c3"}));
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_GE(requests[2].received - requests[1].received, 100ms);
  EXPECT_GE(requests[3].received - requests[2].received, 100ms);
  EXPECT_EQ(BlogIds(1), (std::vector<std::string>{"top of " + nickname, "b2", "b3", "b4", "b5"}));
  EXPECT_EQ(m_list.NextCursor(1), "");
  EXPECT_EQ(m_list.VideoCount(0), 1u);
}

TEST_F(ListWorkers, FirstPageWithoutAFurtherCursorEndsTheFetch) {
  ListUsers({"ann"});
  m_list.SetNextCursor(0, "left by an earlier fetch");
  const std::string first = kUserPageTarget + "ann";
  ServeTargets(m_server, "/home_user", {{first, {200, UserPageText("", {{PageVideo("b2")}})}}});
  m_server.Start();
  UseService(m_server.BaseUrl());

  ASSERT_TRUE(StartUserVideosThread(&m_list, 0));
  const auto notices = m_notices.WaitFor(1, 10s);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].m_code, VideosPageReady);
  EXPECT_EQ(notices[0].m_videos, 2u);
  ASSERT_TRUE(WaitForWorkers(10s));
  EXPECT_EQ(Targets(m_server.Requests()), std::vector<std::string>{first});
  EXPECT_EQ(m_list.NextCursor(0), "");
}

TEST_F(ListWorkers, PageThatLeavesTheCursorWhereItWasEndsTheFetch) {
  ListUsers({"repeats", "breaks", "says nothing"});
  m_list.SetNextCursor(2, "stale");
  const std::string repeats = kUserPageTarget + "repeats";
  const std::string breaks = kUserPageTarget + "breaks";
  const std::string says_nothing = kUserPageTarget + "says%20nothing";
  ServeTargets(m_server, "/home_user",
               {{repeats, {200, UserPageText("r1", {{PageVideo("b1")}})}},
                {repeats + "&cursor=r1", {200, UserPageText("r1", {{PageVideo("b2")}})}},
                {breaks, {200, UserPageText("k1", {{PageVideo("b3")}})}},
                {breaks + "&cursor=k1", {500, "<html>Internal Server Error</html>"}},
                {says_nothing, {200, UserPageText(std::nullopt, {{PageVideo("b4")}})}}});
  m_server.Start();
  UseService(m_server.BaseUrl());

  for (std::uint32_t user = 0; user < 3; ++user) {
    ASSERT_TRUE(StartUserVideosThread(&m_list, user));
    const auto notices = m_notices.WaitFor(user + 1, 10s);
    ASSERT_EQ(notices.size(), user + 1);
    EXPECT_EQ(notices[user].m_code, VideosPageReady);
    EXPECT_EQ(notices[user].m_wparam, user);
  }
  ASSERT_TRUE(StartUserVideosThread(&m_list, 99));
  const auto notices = m_notices.WaitFor(4, 10s);
  ASSERT_EQ(notices.size(), 4u);
  EXPECT_EQ(notices[3].m_wparam, 99u) << "a user who isn't there is announced all the same";

  ASSERT_TRUE(WaitForWorkers(10s));
  EXPECT_EQ(Targets(m_server.Requests()),
            (std::vector<std::string>{repeats, repeats + "&cursor=r1", breaks,
                                      breaks + "&cursor=k1", says_nothing}));
  EXPECT_EQ(BlogIds(0), (std::vector<std::string>{"top of repeats", "b1", "b2"}));
  EXPECT_EQ(m_list.NextCursor(1), "k1");
  EXPECT_EQ(m_list.NextCursor(2), "stale");
  EXPECT_EQ(m_list.VideoCount(2), 2u);
}

TEST_F(ListWorkers, CatalogueCanBeWalkedWhileFetchesFillIt) {
  std::vector<std::string> listed;
  for (int user = 0; user < 50; ++user) listed.push_back("user " + std::to_string(user));
  ListUsers(listed);

  std::vector<Json::Value> weekly;  // half of them known already
  for (int user = 25; user < 125; ++user) {
    weekly.push_back(
        TopListElement("user " + std::to_string(user), "weekly " + std::to_string(user)));
  }
  auto page = [](int from, const std::optional<std::string>& next_cursor) {
    std::vector<Json::Value> videos;
    for (int video = from; video < from + 10; ++video)
      videos.push_back(PageVideo("v" + std::to_string(video)));
    return UserPageText(next_cursor, {videos});
  };
  const std::string first = kUserPageTarget + "user%200";
  ServeTargets(m_server, "/top_video", {{kTopListTarget, {200, TopListText(weekly)}}});
  ServeTargets(m_server, "/home_user",
               {{first, {200, page(0, "p1")}},
                {first + "&cursor=p1", {200, page(5, "p2")}},
                {first + "&cursor=p2", {200, page(10, "")}}});
  m_server.Start();
  UseService(m_server.BaseUrl());

  std::atomic<bool> stop{false};
  std::atomic<int> walks{0};
  std::atomic<int> incomplete{0};
  std::thread walker([&] {
    while (!stop) {
      for (std::size_t user = 0; user < m_list.UserCount(); ++user) {
        const auto record = m_list.User(user);
        if (!record || record->m_nickname.empty() || m_list.VideoCount(user) == 0) ++incomplete;
        for (std::size_t video = 0; video < m_list.VideoCount(user); ++video) {
          const auto found = m_list.Video(user, video);
          if (!found || !found->m_video_3in1_url.ends_with("mov.3in1.jpg")) ++incomplete;
        }
      }
      ++walks;
    }
  });

  ASSERT_TRUE(StartTopListThread(&m_list));
  ASSERT_TRUE(StartUserVideosThread(&m_list, 0));
  ASSERT_TRUE(StartTopListThread(&m_list));
  ASSERT_TRUE(StartUserVideosThread(&m_list, 0));
  EXPECT_EQ(m_notices.WaitFor(4, 10s).size(), 4u);
  EXPECT_TRUE(WaitForWorkers(10s));
  stop = true;
  walker.join();

  EXPECT_GT(walks, 0);
  EXPECT_EQ(incomplete, 0);
  std::set<std::string> nicknames;
  for (std::size_t user = 0; user < m_list.UserCount(); ++user)
    nicknames.insert(m_list.User(user)->m_nickname);
  EXPECT_EQ(m_list.UserCount(), 125u);
  EXPECT_EQ(nicknames.size(), 125u) << "two top-list fetches never add one nickname twice";
  const auto blog_ids = BlogIds(0);
  EXPECT_EQ(blog_ids.size(), 21u);
  EXPECT_EQ(std::set<std::string>(blog_ids.begin(), blog_ids.end()).size(), 21u)
      << "two fetches of one user never add one blog id twice";
}

}  // namespace
