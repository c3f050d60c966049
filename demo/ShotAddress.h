#pragma once

// The layout of screenshot and picture addresses. The client finds a video's picture by
// cutting its screenshot address in one of two ways: after the first 72 bytes, or after the
// first "." at index 30 or later; either way it appends "mov.3in1.jpg". Every screenshot
// address the demo service hands out is built so that both cuts fall in the same place:
//
//   <base>/shots/<blog id, padded with leading zeros>.mov.jpg
//   |<------------------ 72 bytes ------------------>|
//
// The padding makes the part before that "." exactly 71 bytes, whatever the base address.

#include <cstddef>
#include <optional>
#include <string>

namespace pagetap::demo {

inline constexpr std::size_t kShotPrefixLength = 72;
inline constexpr std::size_t kDotSearchStart = 30;

// True when `base` ("http://host:port") leaves room for a blog id of `id_length` digits and
// has no "." at index 30 or later, which would end the second cut early.
bool FitsShotLayout(const std::string& base, std::size_t id_length);

// The 72 bytes both cuts keep: base, "/shots/", the padded blog id and the ".".
std::string ShotPrefix(const std::string& base, const std::string& blog_id);

std::string ScreenshotAddress(const std::string& base, const std::string& blog_id);
std::string PictureAddress(const std::string& base, const std::string& blog_id);

// The picture route, whose one capture is the padded blog id.
inline constexpr const char* kPicturePattern = R"(/shots/(\d+)\.mov\.3in1\.jpg)";

// The blog id in a padded name; nothing when the name is all zeros.
std::optional<std::string> BlogIdFromShotName(const std::string& padded);

}  // namespace pagetap::demo
