// The two download threads: one picture each, stored in its record, then announced.

#include "catalogue/ServiceRequests.h"
#include "catalogue/UserList.h"
#include "pictures/PictureWorkers.h"
#include "platform/Limits.h"
#include "platform/Notices.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

// The record is looked up by its indices before the transfer and again to store the bytes, so
// nothing of the catalogue is held while the transfer runs.
void DownloadPicture(UserList& list, std::size_t user, std::size_t video, std::uintptr_t wParam,
                     WorkerNoticeCode code) {
  const auto record = list.Video(user, video);
  if (!record || record->m_video_3in1_url.empty()) return;
  bool completed = false;
  const std::string body = FetchBody(record->m_video_3in1_url, kPictureBodyLimit, &completed);
  // A transfer cut short (a reset, the time limit, closing the window) brought part of a
  // picture at most, which must not replace a whole one held from before.
  if (!completed || body.empty()) return;
  if (list.StorePicture(user, video, std::vector<unsigned char>(body.begin(), body.end()))) {
    PostNotice(wParam, code);
  }
}

}  // namespace

void UserPictureThread(WorkerArgs* args) {
  const std::unique_ptr<WorkerArgs> owned(args);
  DownloadPicture(*owned->m_list, owned->m_user_index, 0, owned->m_user_index, UserPictureReady);
}

void VideoPictureThread(WorkerArgs* args) {
  const std::unique_ptr<WorkerArgs> owned(args);
  DownloadPicture(*owned->m_list, owned->m_user_index, owned->m_video_index, owned->m_video_index,
                  VideoPictureReady);
}
