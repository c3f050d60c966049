#pragma once

// The screenshot pictures: three frames of a made-up clip side by side, drawn from the
// video's number so that no two videos look alike, encoded as JPEG with Qt (no display needed).

#include <string>

namespace pagetap::demo {

inline constexpr int kFrameWidth = 160;
inline constexpr int kFrameHeight = 120;
inline constexpr int kFrames = 3;

// The JPEG file's bytes; empty if encoding failed.
std::string MakePicture(int number);

}  // namespace pagetap::demo
