#include "demo/ShotAddress.h"

namespace pagetap::demo {
namespace {

constexpr const char* kShotsPath = "/shots/";
constexpr std::size_t kShotsPathLength = 7;

}  // namespace

bool FitsShotLayout(const std::string& base, std::size_t id_length) {
  if (base.size() + kShotsPathLength + id_length + 1 > kShotPrefixLength) return false;
  return base.find('.', kDotSearchStart) == std::string::npos;
}

std::string ShotPrefix(const std::string& base, const std::string& blog_id) {
  std::string prefix = base + kShotsPath;
  if (prefix.size() + blog_id.size() < kShotPrefixLength - 1) {
    prefix.append(kShotPrefixLength - 1 - prefix.size() - blog_id.size(), '0');
  }
  return prefix + blog_id + '.';
}

std::string ScreenshotAddress(const std::string& base, const std::string& blog_id) {
  return ShotPrefix(base, blog_id) + "mov.jpg";
}

std::string PictureAddress(const std::string& base, const std::string& blog_id) {
  return ShotPrefix(base, blog_id) + "mov.3in1.jpg";
}

std::optional<std::string> BlogIdFromShotName(const std::string& padded) {
  const auto first = padded.find_first_not_of('0');
  if (first == std::string::npos) return std::nullopt;
  return padded.substr(first);
}

}  // namespace pagetap::demo
