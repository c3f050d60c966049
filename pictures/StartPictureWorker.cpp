#include "pictures/StartPictureWorker.h"

#include <exception>
#include <memory>

#include "platform/Workers.h"

bool StartPictureWorker(void (*thread)(WorkerArgs*), UserList* list, std::int32_t mode,
                        std::uint32_t user, std::uint32_t video) {
  if (!list) return false;
  try {
    auto args = std::make_unique<WorkerArgs>();
    args->m_mode = mode;
    args->m_list = list;
    args->m_user_index = user;
    args->m_video_index = video;
    WorkerArgs* handed = args.get();
    if (!StartWorker([handed, thread] { thread(handed); })) return false;
    args.release();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}
