#include "catalogue/PictureAddresses.h"

#include <cstddef>

namespace {

// How much of a screenshot address the picture and video file addresses keep.
constexpr std::size_t kScreenshotPrefixBytes = 72;

}  // namespace

void DerivePictureAddresses(VideoRecord& video) {
  const std::string prefix = video.m_video_screenshot.substr(0, kScreenshotPrefixBytes);
  video.m_video_3in1_url = prefix + "mov.3in1.jpg";
  video.m_video_download_address = prefix + "mov";
}
