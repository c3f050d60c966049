#pragma once

// Mapping one page of a user's videos into that user's entry. The user-videos worker calls
// both for every page, MapUserCursor first.

#include "catalogue/UserList.h"

#include <cstddef>
#include <optional>
#include <string>

// Stores the page's "next_cursor" (the empty text: no further page) as the user's cursor and
// returns it. nullopt, and the cursor kept, when the page has none or isn't such a document.
std::optional<std::string> MapUserCursor(UserList& list, std::size_t user, const std::string& text);

// Appends the videos of every diary of "diary_list" that the user doesn't have yet, judged by
// blog id. An element without a blog id is judged by the last blog id seen before it in the
// same response, across diaries.
void MapUserVideos(UserList& list, std::size_t user, const std::string& text);
