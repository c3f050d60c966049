// The picture download workers against a picture host that answers badly: what is stored and
// announced, and that a picture already held is never lost to a download that failed.

#include "catalogue/UserList.h"
#include "demo/Pictures.h"
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

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

using namespace std::chrono_literals;
using pagetap::test::AddUser;
using pagetap::test::PictureText;
using pagetap::test::PostedNotice;
using pagetap::test::RawEnding;
using pagetap::test::RawReply;
using pagetap::test::RawServer;

namespace {

class PictureFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    if (ShutdownRequested()) GTEST_SKIP() << "shutdown was already requested in this process";
    ASSERT_FALSE(m_jpeg.empty());
  }

  void TearDown() override { EXPECT_TRUE(WaitForWorkers(10s)); }

  // Answers GET /shots/<name>mov.3in1.jpg with `status` and `body` as `type`.
  void Serve(const std::string& name, int status, const std::string& body,
             const std::string& type) {
    m_server.Routes().Get(
        "/shots/" + name + "mov\\.3in1\\.jpg",
        [status, body, type](const httplib::Request&, httplib::Response& response) {
          response.status = status;
          if (!body.empty() || !type.empty()) response.set_content(body, type);
        });
  }

  // Two users with the same videos: user 0 holds `held` for every picture, user 1 none.
  void AddTwoUsers(const std::vector<std::string>& screenshots, const std::string& held) {
    AddUser(m_list, "holds pictures", screenshots);
    AddUser(m_list, "holds none", screenshots);
    for (std::size_t video = 0; video < screenshots.size(); ++video) {
      ASSERT_TRUE(
          m_list.StorePicture(0, video, std::vector<unsigned char>(held.begin(), held.end())));
    }
  }

  void DownloadEveryPicture() {
    for (std::uint32_t user = 0; user < m_list.UserCount(); ++user) {
      for (std::uint32_t video = 0; video < m_list.VideoCount(user); ++video) {
        VideoPictureThread(new WorkerArgs{"", 1, &m_list, user, video});
      }
    }
  }

  const std::string m_jpeg = pagetap::demo::MakePicture(7);
  UserList m_list;
  pagetap::test::NoticeLog m_notices;
  pagetap::test::TestServer m_server;
};

TEST_F(PictureFaults, DownloadsWithoutAWholeAnswerStoreNothingAndKeepTheHeldPicture) {
  Serve("missing.", 404, "", "");
  Serve("empty.", 200, "", "image/jpeg");
  // A picture past the limit of one picture, and one that unpacks without end.
  Serve("large.", 200, m_jpeg + std::string(kPictureBodyLimit, '\0'), "image/jpeg");
  m_server.Routes().Get("/shots/unpacks\\.mov\\.3in1\\.jpg", [](const httplib::Request&,
                                                                httplib::Response& response) {
    response.set_header("Content-Encoding", "gzip");
    response.set_content(pagetap::test::GzipOfRepeats(64u << 20, '\xFF'), "image/jpeg");
  });
  m_server.Start();
  // Half the picture, then the connection is reset.
  RawServer reset(
      RawReply(m_jpeg.substr(0, m_jpeg.size() / 2), m_jpeg.size(), "Content-Type: image/jpeg\r\n"),
      RawEnding::Reset);
  const std::string refused = "http://127.0.0.1:" + std::to_string(pagetap::test::ClosedPort());
  const std::string shots = m_server.BaseUrl() + "/shots/";
  AddTwoUsers({shots + "missing.", shots + "empty.", reset.BaseUrl() + "/shots/reset.",
               refused + "/shots/refused.", shots + "large.", shots + "unpacks."},
              m_jpeg);

  DownloadEveryPicture();
  for (std::size_t video = 0; video < 6; ++video) {
    SCOPED_TRACE(m_list.Video(0, video)->m_video_3in1_url);
    const auto held = m_list.Video(0, video);
    EXPECT_TRUE(PictureText(m_list, 0, video) == m_jpeg);
    EXPECT_EQ(held->m_picture_size, static_cast<std::int32_t>(m_jpeg.size()));
    EXPECT_EQ(held->m_picture_ready, 1);
    const auto none = m_list.Video(1, video);
    EXPECT_TRUE(PictureText(m_list, 1, video).empty());
    EXPECT_EQ(none->m_picture_size, 0);
    EXPECT_EQ(none->m_picture_ready, 0);
    EXPECT_EQ(none->m_picture_tries, 5) << "downloads use up no tries";
  }
  EXPECT_EQ(m_notices.Notices(), std::vector<PostedNotice>{});
  EXPECT_EQ(m_server.RequestCount(), 8u);
  EXPECT_EQ(reset.Heads().size(), 2u);
}

TEST_F(PictureFaults, WholeAnswersThatAreNoPictureAreStoredAsTheyCame) {
  const std::string error_page = "<html><body><h1>404 Not Found</h1></body></html>";
  const std::string html_page = "<!DOCTYPE html><html><body>Please sign in</body></html>";
  const std::string truncated = m_jpeg.substr(0, m_jpeg.size() / 2);
  Serve("error-page.", 404, error_page, "text/html");
  Serve("html.", 200, html_page, "text/html");
  Serve("truncated.", 200, truncated, "image/jpeg");
  m_server.Start();
  const std::string shots = m_server.BaseUrl() + "/shots/";
  AddTwoUsers({shots + "error-page.", shots + "html.", shots + "truncated."}, m_jpeg);
  const auto reader = m_list.Video(0, 2);

  DownloadEveryPicture();
  const std::vector<std::string> served = {error_page, html_page, truncated};
  for (std::size_t user = 0; user < 2; ++user) {
    for (std::size_t video = 0; video < served.size(); ++video) {
      const auto record = m_list.Video(user, video);
      EXPECT_TRUE(PictureText(m_list, user, video) == served[video]);
      EXPECT_EQ(record->m_picture_size, static_cast<std::int32_t>(served[video].size()));
      EXPECT_EQ(record->m_picture_ready, 1);
    }
  }
  EXPECT_EQ(m_notices.Notices(), (std::vector<PostedNotice>{{0, VideoPictureReady},
                                                            {1, VideoPictureReady},
                                                            {2, VideoPictureReady},
                                                            {0, VideoPictureReady},
                                                            {1, VideoPictureReady},
                                                            {2, VideoPictureReady}}));
  EXPECT_TRUE(std::string(reader->m_picture_data->begin(), reader->m_picture_data->end()) == m_jpeg)
      << "a reader that took the picture before keeps it whole";
}

}  // namespace
