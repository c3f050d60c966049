#include "tests/demo/RunningService.h"

#include <QByteArray>
#include <QImage>
#include <gtest/gtest.h>

#include <set>
#include <string>

using pagetap::test::FetchTopList;
using pagetap::test::Get;
using pagetap::test::PictureByDot;
using pagetap::test::PictureByLength;
using pagetap::test::RunningService;

namespace {

// Every top-list picture, fetched as the program fetches it, is a three-frame JPEG of its
// own, except a few that answer 404 or an HTML page instead, as real services do.
TEST(DemoPictures, TopListPicturesDecodeExceptAFewDeliberateFailures) {
  RunningService service;
  int pictures = 0;
  int missing = 0;
  int html_pages = 0;
  std::set<std::string> distinct;
  for (const Json::Value& element : FetchTopList(service)) {
    const std::string screenshot = element["video_screenshots"].asString();
    if (screenshot.empty()) continue;
    const std::string address = PictureByLength(screenshot);
    ASSERT_EQ(address, PictureByDot(screenshot));

    const auto answer = Get(address);
    QImage image;
    if (answer.status == 200 && image.loadFromData(QByteArray::fromStdString(answer.body), "JPG")) {
      ++pictures;
      EXPECT_EQ(image.width(), 480) << address;
      EXPECT_EQ(image.height(), 120) << address;
      EXPECT_LT(answer.body.size(), 50'000u) << address;
      distinct.insert(answer.body);
    } else if (answer.status == 404) {
      ++missing;
    } else if (answer.status == 200 && answer.body.find("<html") != std::string::npos) {
      ++html_pages;
    } else {
      ADD_FAILURE() << address << " answered " << answer.status << " with " << answer.body.size()
                    << " bytes that are neither a JPEG nor a page";
    }
  }
  EXPECT_GE(pictures, 90);
  EXPECT_EQ(distinct.size(), static_cast<std::size_t>(pictures)) << "two videos share a picture";
  EXPECT_GE(missing, 1);
  EXPECT_GE(html_pages, 1);
  EXPECT_LE(missing + html_pages, 8);
}

TEST(DemoPictures, AddressesOfUnknownVideosAnswer404) {
  RunningService service;
  const std::string prefix = service.Url("/shots/");
  for (const std::string name : {"0000000", "0000099999", "7100001x"}) {
    EXPECT_EQ(Get(prefix + name + ".mov.3in1.jpg").status, 404) << name;
  }
}

}  // namespace
