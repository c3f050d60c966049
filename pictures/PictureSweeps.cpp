// The sweeps: a download for every picture of a list that is not there yet, paced so that the
// picture host sees at most one new request per FetchIntervalMs.

#include "catalogue/UserList.h"
#include "pictures/PictureWorkers.h"
#include "platform/Workers.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace {

constexpr std::size_t kSweepBatch = 15;
constexpr std::chrono::milliseconds kInterval{FetchIntervalMs};
constexpr std::chrono::milliseconds kBatchPause = 3 * kInterval;

// Visits entries 0 to count - 1: `record` gives an entry's picture record, `start` starts its
// download. A record without an address costs the pause all the same; a ready one costs none
// but counts toward the batch. Shutdown ends the sweep within its pause.
void Sweep(std::size_t count, const std::function<std::optional<VideoRecord>(std::size_t)>& record,
           const std::function<void(std::size_t)>& start) {
  std::size_t entry = 0;
  while (entry < count) {
    for (std::size_t looked = 0; looked < kSweepBatch && entry < count; ++looked, ++entry) {
      const auto video = record(entry);
      if (!video || video->m_picture_ready) continue;
      if (!video->m_video_3in1_url.empty()) start(entry);
      if (!SleepFor(kInterval)) return;
    }
    if (!SleepFor(kBatchPause)) return;
  }
}

}  // namespace

void UserPictureSweepThread(WorkerArgs* args) {
  const std::unique_ptr<WorkerArgs> owned(args);
  UserList* list = owned->m_list;
  Sweep(
      list->UserCount(), [list](std::size_t user) { return list->Video(user, 0); },
      [list](std::size_t user) {
        StartWorkerWith(UserPictureThread,
                        {"", kUsersView, list, static_cast<std::uint32_t>(user), 0});
      });
}

void VideoPictureSweepThread(WorkerArgs* args) {
  const std::unique_ptr<WorkerArgs> owned(args);
  UserList* list = owned->m_list;
  const std::uint32_t user = owned->m_user_index;
  Sweep(
      list->VideoCount(user), [list, user](std::size_t video) { return list->Video(user, video); },
      [list, user](std::size_t video) {
        StartWorkerWith(VideoPictureThread,
                        {"", kVideosView, list, user, static_cast<std::uint32_t>(video)});
      });
}

bool StartUserPictureSweep(UserList* list) {
  return StartWorkerWith(UserPictureSweepThread, {"", kUsersView, list, 0, 0});
}

bool StartVideoPictureSweep(UserList* list, std::int32_t user) {
  if (!list || user < 0 || list->VideoCount(static_cast<std::size_t>(user)) == 0) return false;
  return StartWorkerWith(VideoPictureSweepThread,
                         {"", kVideosView, list, static_cast<std::uint32_t>(user), 0});
}
