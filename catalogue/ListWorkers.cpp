#include "catalogue/ListWorkers.h"

#include "catalogue/FetchBody.h"
#include "catalogue/FetchInterval.h"
#include "catalogue/ServiceAddresses.h"
#include "catalogue/TopListMapping.h"
#include "catalogue/UserList.h"
#include "catalogue/UserPageMapping.h"
#include "catalogue/ViewMode.h"
#include "platform/Limits.h"
#include "platform/Notices.h"
#include "platform/ScopeExit.h"
#include "platform/Workers.h"

#include <chrono>
#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>

namespace {

// Returns the cursor the page set; nullopt when it set none.
std::optional<std::string> FetchUserPage(UserList& list, std::size_t user, const std::string& address) {
  const std::string body = FetchBody(address, kCatalogueBodyLimit);
  auto cursor = MapUserCursor(list, user, body);
  MapUserVideos(list, user, body);
  return cursor;
}

// Ends at a page without a further cursor and at a cursor asked for before: one that stays
// where it was, or that goes round A, B, A, B..., would only bring the same pages again. A
// service that never stops paging is bounded by the pages, the pages in a row that bring no
// new video, the videos a user may hold and the time since the first page.
void FetchUserPages(UserList& list, std::size_t user, const std::string& prefix,
                    const std::string& nickname) {
  const auto give_up = std::chrono::steady_clock::now() + kUserFetchTimeLimit;
  // The first page goes without the cursor an earlier fetch may have left.
  auto cursor = FetchUserPage(list, user, UserPageAddress(nickname, std::nullopt, prefix));
  // Cursors come from the server and may be long, so only their hashes are kept.
  std::unordered_set<std::size_t> sent;
  int pages_without_new_videos = 0;
  for (int pages = 1; pages < kMaxUserPages; ++pages) {
    if (!cursor || cursor->empty() || !sent.insert(std::hash<std::string>{}(*cursor)).second) return;
    if (list.VideoCount(user) >= list.Bounds().m_videos_per_user) return;
    if (std::chrono::steady_clock::now() >= give_up) return;
    const std::size_t videos_before = list.VideoCount(user);
    cursor = FetchUserPage(list, user, UserPageAddress(nickname, *cursor, prefix));
    pages_without_new_videos = list.VideoCount(user) > videos_before ? 0 : pages_without_new_videos + 1;
    if (pages_without_new_videos >= kMaxPagesWithoutNewVideos) return;
    if (!SleepFor(std::chrono::milliseconds(FetchIntervalMs))) return;
  }
}

// On success the thread owns `args`; otherwise they are deleted here.
bool StartListWorker(std::unique_ptr<WorkerArgs> args, void (*thread)(WorkerArgs*)) {
  WorkerArgs* handed = args.get();
  if (!StartWorker([handed, thread] { thread(handed); })) return false;
  args.release();
  return true;
}

}  // namespace

void TopListThread(WorkerArgs* args) {
  const std::unique_ptr<WorkerArgs> owned(args);
  const ScopeExit announce([&owned] {
    owned->m_list->EndFirstFill();
    PostNotice(0, TopListReady);
  });
  MapTopList(*owned->m_list, FetchBody(owned->m_text, kCatalogueBodyLimit));
}

void UserVideosThread(WorkerArgs* args) {
  const std::unique_ptr<WorkerArgs> owned(args);
  const ScopeExit announce([&owned] { PostNotice(owned->m_user_index, VideosPageReady); });
  if (const auto user = owned->m_list->User(owned->m_user_index)) {
    FetchUserPages(*owned->m_list, owned->m_user_index, owned->m_text, user->m_nickname);
  }
}

bool StartTopListThread(UserList* list) {
  if (!list) return false;
  try {
    auto args = std::make_unique<WorkerArgs>();
    args->m_text = TopListAddress();
    args->m_mode = 0;
    args->m_list = list;
    ViewMode = 0;
    return StartListWorker(std::move(args), TopListThread);
  } catch (const std::exception&) {
    return false;
  }
}

bool StartUserVideosThread(UserList* list, std::uint32_t user_index) {
  if (!list) return false;
  try {
    auto args = std::make_unique<WorkerArgs>();
    args->m_text = UserPagePrefix();
    args->m_mode = 1;
    args->m_list = list;
    args->m_user_index = user_index;
    return StartListWorker(std::move(args), UserVideosThread);
  } catch (const std::exception&) {
    return false;
  }
}
