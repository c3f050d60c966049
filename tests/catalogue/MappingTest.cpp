#include "catalogue/TopListMapping.h"
#include "catalogue/UserList.h"
#include "catalogue/UserPageMapping.h"
#include "tests/support/ListedUsers.h"
#include "tests/support/ServiceDocuments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using pagetap::test::BlogIds;
using pagetap::test::Nicknames;
using pagetap::test::PageVideo;
using pagetap::test::TopListElement;
using pagetap::test::TopListText;
using pagetap::test::UserPageText;

namespace {

std::string Nested(int depth) { return std::string(depth, '[') + std::string(depth, ']'); }

TEST(TopListMapping, FirstFillKeepsRepeatsLaterFillsAddEachNewNicknameOnce) {
  UserList list;
  MapTopList(list, TopListText({TopListElement("ann", "b1"), TopListElement("ann", "b2"),
                                TopListElement("bob", "b3")}));
  EXPECT_EQ(Nicknames(list), (std::vector<std::string>{"ann", "ann", "bob"}));
  EXPECT_TRUE(list.FirstFill()) << "only the top-list worker ends the first fill";

  list.EndFirstFill();
  auto without_nickname = TopListElement("ignored", "b9");
  without_nickname.removeMember("nickname");
  MapTopList(list, TopListText({TopListElement("ann", "b4"), TopListElement("cy", "b5"),
                                TopListElement("cy", "b6"), TopListElement("Cy", "b7"),
                                TopListElement("cy ", "b8"), without_nickname}));
  EXPECT_EQ(Nicknames(list), (std::vector<std::string>{"ann", "ann", "bob", "cy", "Cy", "cy "}));
  EXPECT_EQ(BlogIds(list, 0), std::vector<std::string>{"b1"}) << "a known user gets no new video";
  EXPECT_EQ(BlogIds(list, 3), std::vector<std::string>{"b5"});
}

TEST(TopListMapping, RecordsCarryEveryKeyAndTheDerivedAddresses) {
  UserList list;
  auto full = TopListElement("ann", "b1");
  full["video_screenshots"] = "http://pictures.test/2024/05/01/abc.";
  auto no_screenshot = TopListElement("bob", "b2");
  no_screenshot.removeMember("video_screenshots");
  auto long_screenshot = TopListElement("cy", "b3");
  const std::string seventy_two(72, 'x');
  long_screenshot["video_screenshots"] = seventy_two + "tail.jpg";
  Json::Value bare(Json::objectValue);  // the first fill takes even an element without keys
  MapTopList(list, TopListText({full, no_screenshot, long_screenshot, bare}));
  ASSERT_EQ(list.UserCount(), 4u);

  const UserRecord user = *list.User(0);
  EXPECT_EQ(user.m_user_id, "user_id of ann");
  EXPECT_EQ(user.m_username, "username of ann");
  EXPECT_EQ(user.m_nickname, "ann");
  EXPECT_EQ(user.m_avatar, "avatar of ann");
  EXPECT_EQ(user.m_user_intro, "user_intro of ann");
  EXPECT_EQ(user.m_video_num, "video_num of ann");
  EXPECT_EQ(user.m_mood, "mood of ann");
  EXPECT_EQ(user.m_liked, "liked of ann");

  const VideoRecord video = *list.Video(0, 0);
  EXPECT_EQ(video.m_video_blog_id, "b1");
  EXPECT_EQ(video.m_video_id, "video_id of ann");
  EXPECT_EQ(video.m_video_release_time, "video_release_time of ann");
  EXPECT_EQ(video.m_video_screenshot, "http://pictures.test/2024/05/01/abc.");
  EXPECT_EQ(video.m_video_3in1_url, "http://pictures.test/2024/05/01/abc.mov.3in1.jpg");
  EXPECT_EQ(video.m_video_download_address, "http://pictures.test/2024/05/01/abc.mov");
  EXPECT_EQ(video.m_video_intro, "video_intro of ann");
  EXPECT_EQ(video.m_video_desc, "video_desc of ann");
  EXPECT_EQ(video.m_video_duration, "video_duration of ann");
  EXPECT_EQ(video.m_s_receive, "s_receive of ann");
  EXPECT_EQ(video.m_picture_data, nullptr);
  EXPECT_EQ(video.m_picture_size, 0);
  EXPECT_EQ(video.m_picture_ready, 0);
  EXPECT_EQ(video.m_picture_tries, 5);

  const VideoRecord missing = *list.Video(1, 0);
  EXPECT_EQ(missing.m_video_screenshot, "");
  EXPECT_EQ(missing.m_video_3in1_url, "mov.3in1.jpg");
  EXPECT_EQ(missing.m_video_download_address, "mov");

  EXPECT_EQ(list.Video(2, 0)->m_video_3in1_url, seventy_two + "mov.3in1.jpg");
  EXPECT_EQ(list.User(3)->m_nickname, "");
  EXPECT_EQ(list.Video(3, 0)->m_video_download_address, "mov");
}

TEST(JsonReading, NumbersAndBooleansAreTheirTextOtherTypesAreAbsent) {
  UserList list;
  Json::Value element(Json::objectValue);
  element["nickname"] = 12;
  element["user_id"] = -7;
  element["username"] = true;
  element["avatar"] = 1.5;
  element["video_num"] = 12.0;
  element["liked"] = Json::UInt64(18446744073709551615ull);
  element["mood"] = 0.1;
  element["user_intro"] = Json::Value(Json::nullValue);
  element["blog_id"] = Json::Value(Json::arrayValue);
  element["video_id"] = Json::Value(Json::objectValue);
  element["video_intro"] = false;
  MapTopList(list, TopListText({element}));
  // A literal decimal text rather than a written-out double, to pin what the service sends.
  MapTopList(list, R"({"video_list": [{"nickname": "exp", "mood": 1e21, "liked": 2.50}]})");

  ASSERT_EQ(list.UserCount(), 2u);
  const UserRecord user = *list.User(0);
  EXPECT_EQ(user.m_nickname, "12");
  EXPECT_EQ(user.m_user_id, "-7");
  EXPECT_EQ(user.m_username, "true");
  EXPECT_EQ(user.m_avatar, "1.5");
  EXPECT_EQ(user.m_video_num, "12");
  EXPECT_EQ(user.m_liked, "18446744073709551615");
  EXPECT_EQ(user.m_mood, "0.1");
  EXPECT_EQ(user.m_user_intro, "");
  const VideoRecord video = *list.Video(0, 0);
  EXPECT_EQ(video.m_video_blog_id, "");
  EXPECT_EQ(video.m_video_id, "");
  EXPECT_EQ(video.m_video_intro, "false");
  EXPECT_EQ(list.User(1)->m_mood, "1e+21");
  EXPECT_EQ(list.User(1)->m_liked, "2.5");

  // After the first fill a nickname that is null or an array is no nickname at all.
  list.EndFirstFill();
  MapTopList(list,
             R"({"video_list": [{"nickname": null}, {"nickname": ["x"]}, {"nickname": 12}]})");
  EXPECT_EQ(list.UserCount(), 2u);
}

TEST(JsonReading, DocumentsThatAreNotTheExpectedShapeAddNothing) {
  const std::vector<std::string> top_lists = {
      "",
      "<html>502 Bad Gateway</html>",
      R"({"video_list": [{"nickname": "ann"})",
      R"({"video_list": [{"nickname": "ann", "mood": )" + Nested(100000) + "}]}",
      R"({"video_list": [{"nickname": "ann", "mood": )" + Nested(1500) + "}]}",
      R"([{"video_list": [{"nickname": "ann"}]}])",
      R"("video_list")",
      R"({"video_list": {"0": {"nickname": "ann"}}})",
      R"({"video_list": "ann"})",
      R"({"video_list": null})",
      R"({"users": [{"nickname": "ann"}]})",
      // A trailing comma or a leading byte-order mark is no JSON document.
      R"({"video_list": [{"nickname": "ann"},]})",
      R"({"video_list": [{"nickname": "ann", "mood": "x",}]})",
      "\xEF\xBB\xBF"
      R"({"video_list": [{"nickname": "ann"}]})",
  };
  for (const auto& text : top_lists) {
    UserList list;
    MapTopList(list, text);
    EXPECT_EQ(list.UserCount(), 0u) << text.substr(0, 80);
  }

  // Elements that are not objects are passed over; comments and text after the root are let
  // through.
  UserList list;
  MapTopList(list,
             "// weekly\n"
             R"({"video_list": [1, "ann", null, [], {"nickname": "bob"}]} trailing)");
  EXPECT_EQ(Nicknames(list), std::vector<std::string>{"bob"});

  const std::vector<std::string> user_pages = {
      "",
      "not json",
      R"({"next_cursor": "x", "diary_list": )" + Nested(100000) + "}",
      R"([{"next_cursor": "x"}])",
      R"({"next_cursor": ["x"], "diary_list": {"video_list": [{"blog_id": "b2"}]}})",
      R"({"next_cursor": {"at": "x"}, "diary_list": [1, "x", {"video_list": {"blog_id": "b2"}}]})",
      R"({"next_cursor": null, "diary_list": [{"video_list": [2, "b2", null]}]})",
  };
  for (const auto& text : user_pages) {
    list.SetNextCursor(0, "kept");
    EXPECT_EQ(MapUserCursor(list, 0, text), std::nullopt) << text.substr(0, 80);
    MapUserVideos(list, 0, text);
    EXPECT_EQ(list.NextCursor(0), "kept") << text.substr(0, 80);
    EXPECT_EQ(list.VideoCount(0), 1u) << text.substr(0, 80);
  }
}

TEST(UserPageMapping, SkipsKnownBlogIdsTheTopListVideoIncluded) {
  UserList list;
  MapTopList(list, TopListText({TopListElement("ann", "b1")}));
  const std::string page = UserPageText(
      "c1", {{PageVideo("b1"), PageVideo("b2")}, {}, {PageVideo("b3"), PageVideo("b2")}});
  MapUserVideos(list, 0, page);
  EXPECT_EQ(BlogIds(list, 0), (std::vector<std::string>{"b1", "b2", "b3"}));
  MapUserVideos(list, 0, page);
  EXPECT_EQ(list.VideoCount(0), 3u) << "a page of known videos adds nothing";

  const VideoRecord video = *list.Video(0, 1);
  EXPECT_EQ(video.m_video_id, "id of b2");
  EXPECT_EQ(video.m_video_screenshot, "http://pictures.test/b2.");
  EXPECT_EQ(video.m_video_3in1_url, "http://pictures.test/b2.mov.3in1.jpg");
  EXPECT_EQ(video.m_video_download_address, "http://pictures.test/b2.mov");
  EXPECT_EQ(video.m_video_intro, "intro of b2");
  EXPECT_EQ(video.m_video_desc, "");
  EXPECT_EQ(video.m_video_release_time, "");
  EXPECT_EQ(video.m_video_duration, "");
  EXPECT_EQ(video.m_s_receive, "");

  // A user page names its screenshot "video_screenshot"; the top list's key means nothing here.
  auto other_key = PageVideo("b4");
  other_key.removeMember("video_screenshot");
  other_key["video_screenshots"] = "http://pictures.test/b4.";
  MapUserVideos(list, 0, UserPageText("", {{other_key}}));
  EXPECT_EQ(list.Video(0, 3)->m_video_screenshot, "");
  EXPECT_EQ(list.Video(0, 3)->m_video_3in1_url, "mov.3in1.jpg");
}

TEST(UserPageMapping, VideoWithoutBlogIdIsJudgedByTheLastBlogIdAcrossDiaries) {
  UserList list;
  MapTopList(list, TopListText({TopListElement("ann", "b1")}));
  MapUserVideos(
      list, 0,
      UserPageText("c1", {{PageVideo(std::nullopt), PageVideo("b5")}, {PageVideo(std::nullopt)}}));
  EXPECT_EQ(BlogIds(list, 0), (std::vector<std::string>{"b1", "", "b5"}))
      << "the first goes in under the empty blog id, the last is taken for b5";
  EXPECT_EQ(list.Video(0, 1)->m_video_id, "id of no blog id");

  MapUserVideos(list, 0, UserPageText("c2", {{PageVideo(std::nullopt)}}));
  EXPECT_EQ(list.VideoCount(0), 3u) << "at most one video with an empty blog id";

  // The key is the last blog id read, not the last one added: b1 is known, so the element
  // after it is judged as b1 and skipped too.
  MapUserVideos(list, 0,
                UserPageText("c3", {{PageVideo("b1"), PageVideo(std::nullopt), PageVideo("b6")}}));
  EXPECT_EQ(BlogIds(list, 0), (std::vector<std::string>{"b1", "", "b5", "b6"}));
}

TEST(UserPageMapping, CursorIsSetOnlyByANextCursorValue) {
  UserList list;
  MapTopList(list, TopListText({TopListElement("ann", "b1")}));

  EXPECT_EQ(MapUserCursor(list, 0, UserPageText("c1", {})), "c1");
  EXPECT_EQ(list.NextCursor(0), "c1");
  EXPECT_EQ(MapUserCursor(list, 0, UserPageText(std::nullopt, {})), std::nullopt);
  EXPECT_EQ(list.NextCursor(0), "c1") << "a page without a cursor keeps the last one";
  EXPECT_EQ(MapUserCursor(list, 0, R"({"next_cursor": 42})"), "42");
  EXPECT_EQ(list.NextCursor(0), "42");
  EXPECT_EQ(MapUserCursor(list, 0, UserPageText("", {})), "");
  EXPECT_EQ(list.NextCursor(0), "") << "the empty cursor: no further page";

  MapUserCursor(list, 7, UserPageText("c9", {}));
  MapUserVideos(list, 7, UserPageText("c9", {{PageVideo("b2")}}));
  EXPECT_EQ(list.UserCount(), 1u) << "an index out of range changes nothing";
  EXPECT_EQ(list.NextCursor(0), "");
}

}  // namespace
