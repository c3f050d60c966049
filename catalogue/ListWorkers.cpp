#include "catalogue/ListWorkers.h"

#include "catalogue/JsonText.h"
#include "catalogue/ServiceRequests.h"
#include "catalogue/TopListMapping.h"
#include "catalogue/UserList.h"
#include "catalogue/UserPageMapping.h"
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
std::optional<std::string> FetchUserPage(UserList& list, std::size_t user,
                                         const std::string& address) {
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
  const auto give_up = std::chrono::steady_clock::now() + list.Bounds().m_user_fetch_time;
  // The first page goes without the cursor an earlier fetch may have left.
  auto cursor = FetchUserPage(list, user, UserPageAddress(nickname, std::nullopt, prefix));
  // Cursors come from the server and may be long, so only their hashes are kept.
  std::unordered_set<std::size_t> sent;
  int pages_without_new_videos = 0;
  for (int pages = 1; pages < kMaxUserPages; ++pages) {
    if (!cursor || cursor->empty() || !sent.insert(std::hash<std::string>{}(*cursor)).second)
      return;
    if (list.VideoCount(user) >= list.Bounds().m_videos_per_user) return;
    if (std::chrono::steady_clock::now() >= give_up) return;
    const std::size_t videos_before = list.VideoCount(user);
    cursor = FetchUserPage(list, user, UserPageAddress(nickname, *cursor, prefix));
    pages_without_new_videos =
        list.VideoCount(user) > videos_before ? 0 : pages_without_new_videos + 1;
    if (pages_without_new_videos >= kMaxPagesWithoutNewVideos) return;
    if (!SleepFor(std::chrono::milliseconds(FetchIntervalMs))) return;
  }
}

}  // namespace

void TopListThread(WorkerArgs* args) {
  const std::unique_ptr<WorkerArgs> owned(args);
  const ScopeExit give_back(ReturnDocumentMemory);  // last, after the notice
  const ScopeExit announce([&owned] {
    owned->m_list->EndFirstFill();
    PostNotice(0, TopListReady);
  });
  MapTopList(*owned->m_list, FetchBody(owned->m_text, kCatalogueBodyLimit));
}

void UserVideosThread(WorkerArgs* args) {
  const std::unique_ptr<WorkerArgs> owned(args);
  const ScopeExit give_back(ReturnDocumentMemory);  // last, after the notice
  const ScopeExit announce([&owned] { PostNotice(owned->m_user_index, VideosPageReady); });
  if (const auto user = owned->m_list->User(owned->m_user_index)) {
    FetchUserPages(*owned->m_list, owned->m_user_index, owned->m_text, user->m_nickname);
  }
}

// Without memory for the address nothing starts.
bool StartTopListThread(UserList* list) {
  try {
    return StartWorkerWith(TopListThread, {TopListAddress(), kUsersView, list});
  } catch (const std::exception&) {
    return false;
  }
}

bool StartUserVideosThread(UserList* list, std::uint32_t user_index) {
  try {
    return StartWorkerWith(UserVideosThread, {UserPagePrefix(), kVideosView, list, user_index});
  } catch (const std::exception&) {
    return false;
  }
}
