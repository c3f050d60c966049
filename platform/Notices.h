#pragma once

// Worker threads never call the dialog: they write what they report, then post a notice.
// The dialog registers itself as the NoticeWindow; until it does, and after it is gone,
// posting does nothing.

#include <cstdint>
#include <functional>

// The dialog's private message that carries every notice.
constexpr int kWorkerNoticeMessage = 1124;

enum WorkerNoticeCode : int {
  ShowResult = 0,
  EnableSend = 1,
  ClearResult = 2,
  VideoPictureReady = 7,
  VideosPageReady = 8,
  TopListReady = 9,
  UserPictureReady = 10,
};

// Called on the posting thread; must only queue the notice for the UI thread.
using NoticeSink = std::function<void(std::uintptr_t wParam, int code)>;

void RegisterNoticeWindow(NoticeSink sink);
// Once this returns, no sink call is running and none will start.
void UnregisterNoticeWindow();

void PostNotice(std::uintptr_t wParam, int code);
