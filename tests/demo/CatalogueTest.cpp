// The demo service read the way the program reads it: its own client, mapping and paging.

#include "catalogue/ListWorkers.h"
#include "catalogue/TopListMapping.h"
#include "catalogue/UserList.h"
#include "catalogue/UserPageMapping.h"
#include "platform/Notices.h"
#include "platform/Workers.h"
#include "tests/demo/RunningService.h"
#include "tests/support/NoticeLog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <set>
#include <string>

using pagetap::test::Get;
using pagetap::test::RunningService;
using pagetap::test::TopListUrl;

namespace {

std::multiset<std::string> Nicknames(const UserList& list) {
  std::multiset<std::string> nicknames;
  for (std::size_t user = 0; user < list.UserCount(); ++user) {
    nicknames.insert(list.User(user)->m_nickname);
  }
  return nicknames;
}

TEST(DemoCatalogue, TopListMapsIntoUsersWithTheAwkwardNicknames) {
  RunningService service;
  UserList list;
  MapTopList(list, Get(TopListUrl(service)).body);
  list.EndFirstFill();
  ASSERT_GE(list.UserCount(), 100u);

  const auto nicknames = Nicknames(list);
  for (const std::string awkward : {"MoonRiver", "moonriver", "Night Owl", "Night Owl ",
                                    "Tom & Jerry", "C++ Fan", "100% real"}) {
    EXPECT_EQ(nicknames.count(awkward), 1u) << awkward;
  }
  EXPECT_EQ(nicknames.count("Double Feature"), 2u) << "the first fill keeps a repeated nickname";

  // A second press brings a few new users and no second copy of anyone.
  const std::size_t first = list.UserCount();
  MapTopList(list, Get(TopListUrl(service)).body);
  EXPECT_GT(list.UserCount(), first);
  EXPECT_EQ(Nicknames(list).count("MoonRiver"), 1u);
}

TEST(DemoCatalogue, EveryUsersPagesEndAndAddTheirVideos) {
  RunningService service;
  setenv("PAGETAP_API_BASE", service.Url("").c_str(), 1);
  UserList list;
  MapTopList(list, Get(TopListUrl(service)).body);
  list.EndFirstFill();

  const pagetap::test::NoticeLog notices;
  // A handful of users with awkward nicknames and their paging, the way a double-click fetches.
  const std::size_t users = std::min<std::size_t>(list.UserCount(), 12);
  for (std::uint32_t user = 0; user < users; ++user)
    ASSERT_TRUE(StartUserVideosThread(&list, user));
  ASSERT_TRUE(WaitForWorkers(std::chrono::seconds(60)));

  std::set<std::uintptr_t> finished;
  for (const auto& notice : notices.Notices()) {
    if (notice.m_code == VideosPageReady) finished.insert(notice.m_wparam);
  }
  EXPECT_EQ(finished.size(), users);
  std::size_t with_more_videos = 0;
  for (std::size_t user = 0; user < users; ++user) {
    EXPECT_EQ(list.NextCursor(user), "") << list.User(user)->m_nickname;
    if (list.VideoCount(user) > 1) ++with_more_videos;
  }
  EXPECT_EQ(with_more_videos, users) << "every first page brings at least one more video";
}

}  // namespace
