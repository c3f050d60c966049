#include "catalogue/UserList.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

std::unique_ptr<VideoRecord> MakeVideo(const std::string& blog_id) {
  auto video = std::make_unique<VideoRecord>();
  video->m_video_blog_id = blog_id;
  return video;
}

std::unique_ptr<UserEntry> MakeEntry(const std::string& nickname, const std::string& blog_id) {
  auto entry = std::make_unique<UserEntry>();
  entry->m_user = std::make_unique<UserRecord>();
  entry->m_user->m_nickname = nickname;
  entry->m_videos.push_back(MakeVideo(blog_id));
  return entry;
}

TEST(UserList, IndicesKeepNamingTheSameRecordsWhileTheListGrows) {
  UserList list;
  EXPECT_TRUE(list.FirstFill());
  EXPECT_EQ(list.UserCount(), 0u);
  EXPECT_EQ(list.User(0), std::nullopt);
  EXPECT_EQ(list.Video(0, 0), std::nullopt);
  EXPECT_EQ(list.VideoCount(0), 0u);
  EXPECT_EQ(list.NextCursor(0), "");

  ASSERT_TRUE(list.AppendUser(MakeEntry("user 0", "first")));
  ASSERT_TRUE(list.AppendVideo(0, MakeVideo("second")));
  for (int user = 1; user < 2000; ++user) {
    ASSERT_TRUE(
        list.AppendUser(MakeEntry("user " + std::to_string(user), "b" + std::to_string(user))));
  }
  EXPECT_EQ(list.UserCount(), 2000u);
  EXPECT_EQ(list.User(0)->m_nickname, "user 0");
  EXPECT_EQ(list.Video(0, 1)->m_video_blog_id, "second");
  EXPECT_EQ(list.User(1999)->m_nickname, "user 1999");
  EXPECT_EQ(list.User(2000), std::nullopt);
  EXPECT_EQ(list.Video(0, 2), std::nullopt);
  EXPECT_EQ(list.Video(2000, 0), std::nullopt);

  // Only complete entries go in, and a user never gets a blog id twice.
  EXPECT_FALSE(list.AppendUser(nullptr));
  auto no_videos = MakeEntry("no videos", "x");
  no_videos->m_videos.clear();
  EXPECT_FALSE(list.AppendUser(std::move(no_videos)));
  auto no_user = MakeEntry("no user", "x");
  no_user->m_user.reset();
  EXPECT_FALSE(list.AppendUser(std::move(no_user)));
  EXPECT_FALSE(list.AppendVideo(0, MakeVideo("second")));
  EXPECT_FALSE(list.AppendVideo(0, MakeVideo("first"))) << "the entry's own videos count too";
  EXPECT_TRUE(list.HasBlogId(0, "first"));
  EXPECT_FALSE(list.HasBlogId(0, "third"));
  EXPECT_FALSE(list.AppendVideo(2000, MakeVideo("third")));
  EXPECT_EQ(list.UserCount(), 2000u);
  EXPECT_EQ(list.VideoCount(0), 2u);

  list.EndFirstFill();
  EXPECT_FALSE(list.FirstFill());
  EXPECT_FALSE(list.AppendUser(MakeEntry("user 7", "new")));
  EXPECT_TRUE(list.AppendUser(MakeEntry("User 7", "new")));
}

TEST(UserList, StoredPictureLeavesEarlierReadersTheirBytesAndEveryTryCounts) {
  UserList list;
  ASSERT_TRUE(list.AppendUser(MakeEntry("ann", "b1")));

  ASSERT_TRUE(list.StorePicture(0, 0, {1, 2, 3}));
  const VideoRecord first = *list.Video(0, 0);
  EXPECT_EQ(first.m_picture_ready, 1);
  EXPECT_EQ(first.m_picture_size, 3);
  ASSERT_NE(first.m_picture_data, nullptr);

  ASSERT_TRUE(list.StorePicture(0, 0, std::vector<unsigned char>(5000, 9)));
  const VideoRecord second = *list.Video(0, 0);
  EXPECT_EQ(second.m_picture_size, 5000);
  EXPECT_EQ(second.m_picture_data->size(), 5000u);
  EXPECT_EQ(*first.m_picture_data, (std::vector<unsigned char>{1, 2, 3}));

  EXPECT_FALSE(list.StorePicture(0, 0, {}));
  EXPECT_FALSE(list.StorePicture(0, 1, {1}));
  EXPECT_EQ(list.Video(0, 0)->m_picture_size, 5000) << "nothing stored is no change";

  list.SetPictureAddresses(0, 0, "http://p.test/a.mov.3in1.jpg", "http://p.test/a.mov");
  EXPECT_EQ(list.Video(0, 0)->m_video_3in1_url, "http://p.test/a.mov.3in1.jpg");
  EXPECT_EQ(list.Video(0, 0)->m_video_download_address, "http://p.test/a.mov");

  // Every try counts, also one taken when none was left.
  for (int taken = 0; taken < 5; ++taken) EXPECT_TRUE(list.TakePictureTry(0, 0));
  EXPECT_FALSE(list.TakePictureTry(0, 0));
  EXPECT_FALSE(list.TakePictureTry(0, 0));
  EXPECT_EQ(list.Video(0, 0)->m_picture_tries, -2);
  EXPECT_FALSE(list.TakePictureTry(0, 1));
}

// Past a bound the catalogue stores nothing more of that kind and keeps what it holds.
TEST(UserList, HoldsNoMoreThanItsBoundsAllow) {
  UserList list(CatalogueBounds{
      .m_picture_bytes = 10, .m_text_bytes = 40, .m_users = 3, .m_videos_per_user = 2});
  ASSERT_TRUE(list.AppendUser(MakeEntry("ann", "a1")));  // 5 bytes of text
  list.ReserveVideos(0, SIZE_MAX);  // what a page may claim makes room for two at most
  ASSERT_TRUE(list.AppendVideo(0, MakeVideo("a2")));
  EXPECT_FALSE(list.AppendVideo(0, MakeVideo("a3"))) << "ann holds as many videos as a user may";
  ASSERT_TRUE(list.AppendUser(MakeEntry("bob", "b1")));
  EXPECT_FALSE(list.AppendUser(MakeEntry("carl", std::string(30, 'c')))) << "past the text budget";
  ASSERT_TRUE(list.AppendUser(MakeEntry("dora", std::string(24, 'd'))));  // 40 bytes in all
  EXPECT_FALSE(list.AppendVideo(1, MakeVideo("e"))) << "the text budget is used up";
  EXPECT_FALSE(list.AppendUser(MakeEntry("", ""))) << "the catalogue holds as many users as it may";
  EXPECT_EQ(list.UserCount(), 3u);
  EXPECT_EQ(list.VideoCount(0), 2u);
  EXPECT_EQ(list.VideoCount(1), 1u);

  ASSERT_TRUE(list.StorePicture(0, 0, std::vector<unsigned char>(6, 1)));
  EXPECT_FALSE(list.StorePicture(1, 0, std::vector<unsigned char>(5, 2))) << "11 bytes in all";
  EXPECT_EQ(list.Video(1, 0)->m_picture_ready, 0);
  ASSERT_TRUE(list.StorePicture(1, 0, std::vector<unsigned char>(4, 2)));
  ASSERT_TRUE(list.StorePicture(0, 0, std::vector<unsigned char>(2, 3)))
      << "a replaced picture gives its bytes back";
  ASSERT_TRUE(list.StorePicture(0, 1, std::vector<unsigned char>(4, 4)));
  EXPECT_EQ(list.Video(0, 0)->m_picture_size, 2);
  EXPECT_EQ(list.Video(0, 1)->m_picture_size, 4);
}

}  // namespace
