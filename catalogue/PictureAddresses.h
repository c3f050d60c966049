#pragma once

#include "catalogue/Records.h"

// Sets a new video's picture address (m_video_3in1_url) and video file address
// (m_video_download_address) from the first 72 bytes of its screenshot address, or all of it
// when shorter, followed by "mov.3in1.jpg" and "mov".
void DerivePictureAddresses(VideoRecord& video);
