#pragma once

// The details text of a selected row: one block per field, each a line "<name>-----" followed
// by the value. Service texts are read as UTF-8, ids and addresses in the ANSI code page.

#include "catalogue/Records.h"

#include <string>

// A user: the nickname, and the blog id, screenshot, video file address and description of the
// user's first video.
std::u16string UserDetailsText(const UserRecord& user, const VideoRecord& first_video);

// A video: its page address, its video file address and its intro, which stands in for the
// description that user pages do not carry.
std::u16string VideoDetailsText(const std::string& page_prefix, const VideoRecord& video);
