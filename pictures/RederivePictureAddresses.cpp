#include "pictures/RederivePictureAddresses.h"

#include <cstddef>
#include <string>

namespace {

// The dots of the picture host's name come before this index.
constexpr std::size_t kDotSearchStart = 30;

}  // namespace

bool RederivePictureAddresses(VideoRecord& video) {
  const std::size_t dot = video.m_video_screenshot.find('.', kDotSearchStart);
  if (dot == std::string::npos) return false;
  const std::string prefix = video.m_video_screenshot.substr(0, dot + 1);
  video.m_video_3in1_url = prefix + "mov.3in1.jpg";
  video.m_video_download_address = prefix + "mov";
  return true;
}
