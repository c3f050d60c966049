#include "catalogue/ListWorkers.h"

#include "catalogue/FetchBody.h"
#include "catalogue/FetchInterval.h"
#include "catalogue/ServiceAddresses.h"
#include "catalogue/TopListMapping.h"
#include "catalogue/UserList.h"
#include "catalogue/UserPageMapping.h"
#include "catalogue/ViewMode.h"
#include "platform/Notices.h"
#include "platform/Workers.h"

#include <chrono>
#include <cstddef>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>

namespace {

constexpr int kMaxUserPages = 1000;

// Returns the cursor the page set; nullopt when it set none.
std::optional<std::string> FetchUserPage(UserList& list, std::size_t user, const std::string& address) {
  const std::string body = FetchBody(address);
  auto cursor = MapUserCursor(list, user, body);
  MapUserVideos(list, user, body);
  return cursor;
}

void FetchUserPages(UserList& list, std::size_t user, const std::string& prefix,
                    const std::string& nickname) {
  // The first page goes without the cursor an earlier fetch may have left.
  auto cursor = FetchUserPage(list, user, UserPageAddress(nickname, std::nullopt, prefix));
  std::unordered_set<std::string> sent;
  for (int pages = 1; pages < kMaxUserPages; ++pages) {
    // A cursor asked for before leads back into pages already fetched: one that stays where it
    // was, or that goes round A, B, A, B..., would only bring the same pages again.
    if (!cursor || cursor->empty() || !sent.insert(*cursor).second) return;
    cursor = FetchUserPage(list, user, UserPageAddress(nickname, *cursor, prefix));
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
  MapTopList(*owned->m_list, FetchBody(owned->m_text));
  owned->m_list->EndFirstFill();
  PostNotice(0, TopListReady);
}

void UserVideosThread(WorkerArgs* args) {
  const std::unique_ptr<WorkerArgs> owned(args);
  if (const auto user = owned->m_list->User(owned->m_user_index)) {
    FetchUserPages(*owned->m_list, owned->m_user_index, owned->m_text, user->m_nickname);
  }
  PostNotice(owned->m_user_index, VideosPageReady);
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
