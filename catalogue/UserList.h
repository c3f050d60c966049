#pragma once

// The catalogue: every user the top list named, in the order they were added, with their
// videos. Worker threads append to it while the UI thread reads it, so every operation takes
// the one lock and readers get copies. Records are appended complete and never moved, changed
// in identity or removed, so a user index or a video index names the same record for good.

#include "catalogue/Records.h"
#include "platform/Limits.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

// What one catalogue holds at most, and how long one user's paging may go on; tests give
// smaller bounds.
struct CatalogueBounds {
  std::size_t m_picture_bytes = kPictureBudget;     // all pictures together
  std::size_t m_text_bytes = kCatalogueTextBudget;  // all texts of all records together
  std::size_t m_users = kMaxUsers;
  std::size_t m_videos_per_user = kMaxVideosPerUser;
  std::chrono::milliseconds m_user_fetch_time = kUserFetchTimeLimit;  // one user's paging
};

class UserList {
 public:
  explicit UserList(CatalogueBounds bounds = {}) : m_bounds(bounds) {}
  UserList(const UserList&) = delete;
  UserList& operator=(const UserList&) = delete;

  // True until the first top-list response has been mapped, then false for good.
  bool FirstFill() const;
  void EndFirstFill();

  std::size_t UserCount() const;
  std::size_t VideoCount(std::size_t user) const;  // 0 for an index out of range

  // Copies; nullopt for an index out of range.
  std::optional<UserRecord> User(std::size_t user) const;
  std::optional<VideoRecord> Video(std::size_t user, std::size_t video) const;

  std::string NextCursor(std::size_t user) const;  // empty for an index out of range
  void SetNextCursor(std::size_t user, const std::string& cursor);

  // Byte-for-byte comparisons: no case folding, no trimming.
  bool HasNickname(const std::string& nickname) const;
  bool HasBlogId(std::size_t user, const std::string& blog_id) const;

  const CatalogueBounds& Bounds() const { return m_bounds; }

  // Appends a complete entry (a user and at least one video). During the first fill every
  // entry goes in, repeated nicknames too; afterwards only one whose nickname no listed user
  // has. The flag, the lookup and the append happen under one lock hold, so two top-list
  // workers can't both add the same nickname. Nothing is appended past the users a catalogue
  // may hold or the text budget. Returns whether it was appended.
  bool AppendUser(std::unique_ptr<UserEntry> entry);
  // Appends unless the user already has a video with the same blog id, holds as many videos as
  // a user may, or the texts would pass the budget.
  bool AppendVideo(std::size_t user, std::unique_ptr<VideoRecord> video);
  // Makes room for `more` videos of the user at once, within what a user may hold, so that a
  // long page is appended without regrowing the list and its index.
  void ReserveVideos(std::size_t user, std::size_t more);

  // Picture fields of one video. StorePicture replaces earlier bytes (a reader holding them
  // keeps its copy) and marks the picture ready; false, and nothing stored, when the indices
  // name no video, there are no bytes, or the pictures held would pass their budget.
  bool StorePicture(std::size_t user, std::size_t video, std::vector<unsigned char> bytes);
  void SetPictureAddresses(std::size_t user, std::size_t video, const std::string& url_3in1,
                           const std::string& download_address);
  // Uses up one of the video's tries, also when none was left (the count may go below 0).
  // Returns whether one was left.
  bool TakePictureTry(std::size_t user, std::size_t video);

 private:
  VideoRecord* FindVideo(std::size_t user, std::size_t video) const;  // lock held
  bool HasTextRoom(std::size_t bytes) const;                          // lock held

  const CatalogueBounds m_bounds;
  mutable std::mutex m_mutex;
  std::vector<std::unique_ptr<UserEntry>> m_users;
  std::int32_t m_first_fill = 1;
  std::unordered_set<std::string> m_nicknames;  // every m_nickname in m_users
  std::size_t m_text_bytes = 0;                 // of every record in m_users
  std::size_t m_picture_bytes = 0;              // of every picture in m_users
};
