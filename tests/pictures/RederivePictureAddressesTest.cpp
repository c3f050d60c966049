#include "catalogue/PictureAddresses.h"

#include <gtest/gtest.h>

#include <string>

namespace {

VideoRecord WithScreenshot(const std::string& screenshot) {
  VideoRecord video;
  video.m_video_screenshot = screenshot;
  video.m_video_3in1_url = "as mapped";
  video.m_video_download_address = "as mapped too";
  return video;
}

}  // namespace

TEST(RederivePictureAddresses, CutsAfterTheFirstDotAtIndex30OrLater) {
  // Dots at 8, 12 and 29 come too early; the one at 42 is the cut, not those at 51 and 56.
  const std::string source = "http://a.b/c.d/0123456789abcd.fghijklmnopq.stuvwxyz.next.jpg";
  VideoRecord video = WithScreenshot(source);
  EXPECT_TRUE(RederivePictureAddresses(video));
  EXPECT_EQ(video.m_video_3in1_url, "http://a.b/c.d/0123456789abcd.fghijklmnopq.mov.3in1.jpg");
  EXPECT_EQ(video.m_video_download_address, "http://a.b/c.d/0123456789abcd.fghijklmnopq.mov");
  EXPECT_EQ(video.m_video_screenshot, source);

  VideoRecord at_30 = WithScreenshot(std::string(30, 'x') + ".y.z");
  EXPECT_TRUE(RederivePictureAddresses(at_30));
  EXPECT_EQ(at_30.m_video_3in1_url, std::string(30, 'x') + ".mov.3in1.jpg");
}

TEST(RederivePictureAddresses, WithoutSuchADotLeavesBothAddressesAsTheyWere) {
  for (const std::string& source : {std::string(29, 'x') + ".", std::string(80, 'x'),
                                    std::string("http://a.b/c.d"), std::string()}) {
    VideoRecord video = WithScreenshot(source);
    EXPECT_FALSE(RederivePictureAddresses(video)) << source;
    EXPECT_EQ(video.m_video_3in1_url, "as mapped");
    EXPECT_EQ(video.m_video_download_address, "as mapped too");
  }
}
