// The picture workers against a local picture host: what they download, store and announce.
// The sweeps' pacing shows in the catalogue views' tests.

#include "catalogue/PictureAddresses.h"
#include "catalogue/UserList.h"
#include "pictures/PictureWorkers.h"
#include "platform/Notices.h"
#include "platform/Workers.h"
#include "tests/support/NoticeLog.h"
#include "tests/support/TestServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

using namespace std::chrono_literals;

namespace {

struct Notice {
  std::uintptr_t m_wparam = 0;
  int m_code = 0;
  std::string m_stored;  // the named record's picture bytes when the notice was posted
};

struct Reply {
  int m_status = 200;
  std::string m_body;
};

std::string Bytes(const VideoRecord& video) {
  return video.m_picture_data
             ? std::string(video.m_picture_data->begin(), video.m_picture_data->end())
             : std::string();
}

class PictureWorkers : public ::testing::Test {
 protected:
  void SetUp() override {
    if (ShutdownRequested()) GTEST_SKIP() << "shutdown was already requested in this process";
    m_server.Routes().Get(R"(/shots/.+)",
                          [this](const httplib::Request& request, httplib::Response& response) {
                            std::lock_guard lock(m_mutex);
                            const auto found = m_replies.find(request.path);
                            if (found == m_replies.end()) {
                              response.status = 404;  // and no body
                              return;
                            }
                            response.status = found->second.m_status;
                            response.set_content(found->second.m_body, "image/jpeg");
                          });
    m_server.Start();
  }

  void TearDown() override { EXPECT_TRUE(WaitForWorkers(30s)); }

  // A user whose videos' screenshots are "<host>/shots/<name>." with the picture addresses the
  // lists' mapping makes of them.
  void AddUser(const std::vector<std::string>& screenshot_names) {
    const std::size_t user = m_list.UserCount();
    auto entry = std::make_unique<UserEntry>();
    entry->m_user = std::make_unique<UserRecord>();
    entry->m_user->m_nickname = "user " + std::to_string(user);
    for (const std::string& name : screenshot_names) {
      auto video = std::make_unique<VideoRecord>();
      video->m_video_blog_id = name;
      video->m_video_screenshot = m_server.BaseUrl() + "/shots/" + name;
      DerivePictureAddresses(*video);
      entry->m_videos.push_back(std::move(video));
    }
    ASSERT_TRUE(m_list.AppendUser(std::move(entry)));
  }

  void Serve(const std::string& path, Reply reply) {
    std::lock_guard lock(m_mutex);
    m_replies[path] = std::move(reply);
  }

  std::vector<std::string> Paths() const {
    std::vector<std::string> paths;
    for (const auto& request : m_server.Requests()) paths.push_back(request.path);
    return paths;
  }

  std::vector<Notice> Notices() const { return m_notices.Notices(); }

  UserList m_list;
  pagetap::test::TestServer m_server;
  std::mutex m_mutex;
  std::map<std::string, Reply> m_replies;
  // Video notices name only the video; the tests' videos all belong to user 0.
  pagetap::test::NoticeLogOf<Notice> m_notices{[this](std::uintptr_t wParam, int code) {
    const auto video = code == UserPictureReady ? m_list.Video(wParam, 0) : m_list.Video(0, wParam);
    return Notice{wParam, code, video ? Bytes(*video) : std::string()};
  }};
};

TEST_F(PictureWorkers, SweepsPassOverReadyPicturesAndEntriesAddedAfterTheyStarted) {
  AddUser({"a.", "b.", "c."});
  AddUser({"d."});
  AddUser({"e."});
  ASSERT_TRUE(m_list.StorePicture(1, 0, {1, 2, 3}));
  ASSERT_TRUE(StartUserPictureSweep(&m_list));
  ASSERT_TRUE(m_server.WaitForRequests(1, 10s));
  AddUser({"f."});
  ASSERT_TRUE(WaitForWorkers(30s));
  EXPECT_EQ(Paths(), (std::vector<std::string>{"/shots/a.mov.3in1.jpg", "/shots/e.mov.3in1.jpg"}));

  // User 0's first video has been tried by the user sweep; its third one is ready.
  ASSERT_TRUE(m_list.StorePicture(0, 2, {4, 5}));
  Serve("/shots/b.mov.3in1.jpg", {200, "b"});
  ASSERT_TRUE(StartVideoPictureSweep(&m_list, 0));
  ASSERT_TRUE(WaitForWorkers(30s));
  EXPECT_EQ(Paths().back(), "/shots/b.mov.3in1.jpg");
  EXPECT_EQ(Paths().size(), 4u) << "the first video again, as it is not there yet, and the second";
  ASSERT_EQ(Notices().size(), 1u);
  EXPECT_EQ(Notices()[0].m_code, VideoPictureReady);
  EXPECT_EQ(Notices()[0].m_wparam, 1u);
  EXPECT_EQ(Notices()[0].m_stored, "b");

  EXPECT_FALSE(StartVideoPictureSweep(&m_list, 4));
  EXPECT_FALSE(StartVideoPictureSweep(&m_list, -1));
  EXPECT_FALSE(StartVideoPictureSweep(nullptr, 0));
  EXPECT_FALSE(StartUserPictureSweep(nullptr));
}

TEST_F(PictureWorkers, AnEmptyAnswerStoresNothingAndAnErrorPageIsStoredAsItCame) {
  AddUser({"gone."});
  AddUser({"error."});
  Serve("/shots/error.mov.3in1.jpg", {500, "<html>server error</html>"});
  ASSERT_TRUE(StartUserPictureSweep(&m_list));
  ASSERT_TRUE(WaitForWorkers(30s));
  EXPECT_EQ(m_list.Video(0, 0)->m_picture_ready, 0);
  EXPECT_EQ(m_list.Video(0, 0)->m_picture_size, 0);
  EXPECT_EQ(Bytes(*m_list.Video(1, 0)), "<html>server error</html>");
  ASSERT_EQ(Notices().size(), 1u);
  EXPECT_EQ(Notices()[0].m_wparam, 1u);

  // The next sweep tries the missing picture again, and only that one.
  ASSERT_TRUE(StartUserPictureSweep(&m_list));
  ASSERT_TRUE(WaitForWorkers(30s));
  EXPECT_EQ(Paths(),
            (std::vector<std::string>{"/shots/gone.mov.3in1.jpg", "/shots/error.mov.3in1.jpg",
                                      "/shots/gone.mov.3in1.jpg"}));
  EXPECT_EQ(Notices().size(), 1u);
  EXPECT_EQ(m_list.Video(0, 0)->m_picture_tries, 5) << "sweeps use up no tries";
}

TEST_F(PictureWorkers, ASecondDownloadReplacesTheBytesThatAReaderStillHolds) {
  AddUser({"same."});
  Serve("/shots/same.mov.3in1.jpg", {200, "first"});
  UserPictureThread(new WorkerArgs{"", 0, &m_list, 0, 0});
  const auto reader = m_list.Video(0, 0);
  ASSERT_EQ(Bytes(*reader), "first");

  Serve("/shots/same.mov.3in1.jpg", {200, "second, longer"});
  VideoPictureThread(new WorkerArgs{"", 1, &m_list, 0, 0});
  EXPECT_EQ(Bytes(*reader), "first");
  EXPECT_EQ(reader->m_picture_size, 5);
  EXPECT_EQ(Bytes(*m_list.Video(0, 0)), "second, longer");
  EXPECT_EQ(m_list.Video(0, 0)->m_picture_size, 14);

  // Indices that name no record: no transfer, no notice.
  UserPictureThread(new WorkerArgs{"", 0, &m_list, 1, 0});
  VideoPictureThread(new WorkerArgs{"", 1, &m_list, 0, 1});
  EXPECT_EQ(m_server.RequestCount(), 2u);
  const auto notices = Notices();
  ASSERT_EQ(notices.size(), 2u);
  EXPECT_EQ(notices[0].m_code, UserPictureReady);
  EXPECT_EQ(notices[1].m_code, VideoPictureReady);
  EXPECT_EQ(notices[1].m_stored, "second, longer");
}

}  // namespace
