// The request threads: the details view asks for one picture that is not there yet.

#include "catalogue/PictureAddresses.h"
#include "catalogue/UserList.h"
#include "pictures/PictureWorkers.h"

#include <cstdint>
#include <memory>

namespace {

// The addresses are cut afresh from the screenshot address first: the cut that the top list
// and user pages get may miss the picture. The try is used up whether or not a download
// starts, so that a record that never arrives is not asked for without end.
void RequestPicture(const WorkerArgs& args, std::uint32_t video, void (*download)(WorkerArgs*)) {
  UserList& list = *args.m_list;
  const std::uint32_t user = args.m_user_index;
  auto record = list.Video(user, video);
  if (!record) return;
  if (RederivePictureAddresses(*record)) {
    list.SetPictureAddresses(user, video, record->m_video_3in1_url,
                             record->m_video_download_address);
  }
  if (list.TakePictureTry(user, video) && !record->m_video_3in1_url.empty()) {
    StartWorkerWith(download, {"", args.m_mode, &list, user, video});
  }
}

}  // namespace

void UserPictureRequestThread(WorkerArgs* args) {
  const std::unique_ptr<WorkerArgs> owned(args);
  RequestPicture(*owned, 0, UserPictureThread);
}

void VideoPictureRequestThread(WorkerArgs* args) {
  const std::unique_ptr<WorkerArgs> owned(args);
  RequestPicture(*owned, owned->m_video_index, VideoPictureThread);
}

bool StartUserPictureRequest(UserList* list, std::uint32_t user) {
  return StartWorkerWith(UserPictureRequestThread, {"", kUsersView, list, user, 0});
}

bool StartVideoPictureRequest(UserList* list, std::uint32_t user, std::uint32_t video) {
  return StartWorkerWith(VideoPictureRequestThread, {"", kVideosView, list, user, video});
}
