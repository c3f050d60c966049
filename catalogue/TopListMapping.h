#pragma once

#include "catalogue/UserList.h"

#include <string>

// Maps a weekly top-list response into the catalogue: each element of "video_list" becomes a
// user with that element's video. During the first fill every element is added; afterwards an
// element is added only when no listed user has its nickname, and one without a nickname adds
// nothing. Anything that isn't such a document adds nothing.
void MapTopList(UserList& list, const std::string& text);
