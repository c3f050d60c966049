#pragma once

// The worker threads that fill the catalogue from the video service. Each runs one job, posts
// one notice once the catalogue holds what the job brought, and ends.

#include "catalogue/WorkerArgs.h"

#include <cstdint>

class UserList;

// Fetches the top list from m_text into m_list, ends the list's first fill (also when the
// transfer failed) and posts TopListReady with 0. Deletes `args`.
void TopListThread(WorkerArgs* args);

// Pages through the videos of user m_user_index of m_list, m_text being the user-page address
// up to "nickname=". Stops at a page without a further cursor, at a page that leaves the cursor
// where it was or gives back one it was already asked with, after 1000 pages, or on shutdown;
// then posts VideosPageReady with the user index, whatever ended it. Deletes `args`.
void UserVideosThread(WorkerArgs* args);

// Starts TopListThread for the service's top list. False, and nothing started, without a list
// or when no thread could be made.
bool StartTopListThread(UserList* list);

// Starts UserVideosThread for one user. False, and nothing started (so no notice will come),
// without a list or when no thread could be made.
bool StartUserVideosThread(UserList* list, std::uint32_t user_index);
