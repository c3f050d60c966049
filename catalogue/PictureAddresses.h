#pragma once

// A video's picture address (m_video_3in1_url) and video file address
// (m_video_download_address): a prefix of its screenshot address followed by "mov.3in1.jpg" and
// "mov". The mapping cuts the prefix one way, the details view's picture requests another.

#include "catalogue/Records.h"

// The first 72 bytes of the screenshot address, or all of it when shorter; for every new video.
void DerivePictureAddresses(VideoRecord& video);

// The screenshot address up to and including its first "." at index 30 or later. Without such
// a "." both addresses stay as they were; returns whether they were set.
bool RederivePictureAddresses(VideoRecord& video);
