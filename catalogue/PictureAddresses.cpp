#include "catalogue/PictureAddresses.h"

#include <cstddef>
#include <string>

namespace {

// How much of a screenshot address the mapping's cut keeps.
constexpr std::size_t kScreenshotPrefixBytes = 72;
// The dots of the picture host's name come before this index.
constexpr std::size_t kDotSearchStart = 30;

void SetAddresses(VideoRecord& video, const std::string& prefix) {
  video.m_video_3in1_url = prefix + "mov.3in1.jpg";
  video.m_video_download_address = prefix + "mov";
}

}  // namespace

void DerivePictureAddresses(VideoRecord& video) {
  SetAddresses(video, video.m_video_screenshot.substr(0, kScreenshotPrefixBytes));
}

bool RederivePictureAddresses(VideoRecord& video) {
  const std::size_t dot = video.m_video_screenshot.find('.', kDotSearchStart);
  if (dot == std::string::npos) return false;
  SetAddresses(video, video.m_video_screenshot.substr(0, dot + 1));
  return true;
}
