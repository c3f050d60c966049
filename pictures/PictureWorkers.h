#pragma once

// The workers that download screenshot pictures into the catalogue. A user's picture is the
// picture of the user's first video. Download threads fetch one picture each and post
// UserPictureReady or VideoPictureReady once its bytes are stored; sweeps pace downloads over
// a whole list; request threads fetch one picture that the details view asked for. Every
// thread deletes its WorkerArgs when it ends.

#include "catalogue/WorkerArgs.h"

#include <cstdint>

class UserList;

// Downloads the picture of the first video of user m_user_index; posts UserPictureReady with
// the user index after the bytes are stored. A failed or empty download stores nothing.
void UserPictureThread(WorkerArgs* args);
// The same for video m_video_index of that user; posts VideoPictureReady with the video index.
void VideoPictureThread(WorkerArgs* args);

// Start a download for every user, then every video of user m_user_index, whose picture is
// not there yet, one per FetchIntervalMs, resting 3 * FetchIntervalMs after every 15 entries
// looked at. The entries present at the start are the ones visited.
void UserPictureSweepThread(WorkerArgs* args);
void VideoPictureSweepThread(WorkerArgs* args);

// Re-derive the record's addresses, use up one of its tries and, if one was left, start its
// download.
void UserPictureRequestThread(WorkerArgs* args);
void VideoPictureRequestThread(WorkerArgs* args);

// Starters. Each returns whether its thread was started; without a list, or when no thread
// can be made (shutdown included), nothing starts.
bool StartUserPictureSweep(UserList* list);
// Starts nothing, and returns false, unless `user` names a user with videos.
bool StartVideoPictureSweep(UserList* list, std::int32_t user);
bool StartUserPictureRequest(UserList* list, std::uint32_t user);
bool StartVideoPictureRequest(UserList* list, std::uint32_t user, std::uint32_t video);
