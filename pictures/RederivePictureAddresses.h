#pragma once

#include "catalogue/Records.h"

// Cuts the screenshot address after its first "." at index 30 or later and sets the picture
// address to that prefix followed by "mov.3in1.jpg" and the video file address to the prefix
// followed by "mov". Without such a "." both addresses stay as they were; returns whether
// they were set.
bool RederivePictureAddresses(VideoRecord& video);
