#include "tests/demo/RunningService.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

using pagetap::test::FetchTopList;
using pagetap::test::Get;
using pagetap::test::ParseJson;
using pagetap::test::PictureByDot;
using pagetap::test::PictureByLength;
using pagetap::test::RunningService;
using pagetap::test::UserPageUrl;

namespace {

constexpr int kMostPages = 6;

struct UserVideos {
  int pages = 0;
  std::vector<std::string> first_page;  // blog ids
  std::vector<std::string> all;         // blog ids, every page
  bool ended = false;                   // a page brought an empty cursor
};

// Follows the cursors as the program does: each further page is the first page's address
// with "&cursor=" and the cursor as given. Stops after one page more than the most expected.
UserVideos WalkPages(const RunningService& service, const std::string& nickname) {
  const std::string first = UserPageUrl(service, nickname);
  UserVideos videos;
  std::string address = first;
  while (videos.pages <= kMostPages) {
    const auto answer = Get(address);
    EXPECT_EQ(answer.status, 200) << address;
    const auto root = ParseJson(answer.body);
    if (!root || !(*root)["next_cursor"].isString() || !(*root)["diary_list"].isArray()) {
      ADD_FAILURE() << "not a user page: " << address << "\n" << answer.body;
      return videos;
    }
    ++videos.pages;
    for (const Json::Value& diary : (*root)["diary_list"]) {
      EXPECT_TRUE(diary["video_list"].isArray()) << address;
      for (const Json::Value& video : diary["video_list"]) {
        for (const char* key : {"blog_id", "video_id", "video_screenshot", "video_intro"}) {
          EXPECT_TRUE(video[key].isString()) << key << " in " << address;
        }
        const std::string screenshot = video["video_screenshot"].asString();
        EXPECT_EQ(PictureByLength(screenshot), PictureByDot(screenshot)) << screenshot;
        videos.all.push_back(video["blog_id"].asString());
        if (videos.pages == 1) videos.first_page.push_back(videos.all.back());
      }
    }
    const std::string cursor = (*root)["next_cursor"].asString();
    if (cursor.empty()) {
      videos.ended = true;
      return videos;
    }
    address = first + "&cursor=" + cursor;
  }
  return videos;
}

// Every nickname is sent encoded, so this also shows that "Night Owl" and "Night Owl ", or
// two nicknames that differ in case, reach two different users.
TEST(DemoUserPages, EveryUserEndsWithAnEmptyCursorAndRepeatsTheTopListVideo) {
  RunningService service;
  std::map<std::string, std::vector<std::string>> listed;  // nickname -> top-list blog ids
  for (const Json::Value& element : FetchTopList(service)) {
    listed[element["nickname"].asString()].push_back(element["blog_id"].asString());
  }
  ASSERT_GE(listed.size(), 100u);

  std::set<int> page_counts;
  for (const auto& [nickname, blog_ids] : listed) {
    const UserVideos videos = WalkPages(service, nickname);
    EXPECT_TRUE(videos.ended) << "\"" << nickname << "\" still had a cursor after " << videos.pages
                              << " pages";
    page_counts.insert(videos.pages);
    ASSERT_FALSE(videos.first_page.empty()) << nickname;
    EXPECT_EQ(videos.first_page.front(), blog_ids.front()) << nickname;
    for (const std::string& blog_id : blog_ids) {
      EXPECT_NE(std::find(videos.first_page.begin(), videos.first_page.end(), blog_id),
                videos.first_page.end())
          << "\"" << nickname << "\": top-list video " << blog_id << " not on the first page";
    }
    const std::set<std::string> distinct(videos.all.begin(), videos.all.end());
    EXPECT_EQ(distinct.size(), videos.all.size()) << "a video listed twice for " << nickname;
  }
  EXPECT_EQ(*page_counts.begin(), 1);
  EXPECT_EQ(*page_counts.rbegin(), kMostPages);
}

TEST(DemoUserPages, UnknownUserOrCursorGetsAnEmptyLastPage) {
  RunningService service;
  const std::string known = FetchTopList(service)[0]["nickname"].asString();
  for (const std::string& address :
       {UserPageUrl(service, "nobody by this name"), UserPageUrl(service, known) + "&cursor=x1",
        UserPageUrl(service, known) + "&cursor=1"}) {
    const auto root = ParseJson(Get(address).body);
    ASSERT_TRUE(root) << address;
    EXPECT_EQ((*root)["next_cursor"], "") << address;
    EXPECT_EQ((*root)["diary_list"].size(), 0u) << address;
  }
}

}  // namespace
