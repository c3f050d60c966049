#include "http/Workbench.h"

#include "http/CreateRequest.h"
#include "http/Trace.h"

#include <atomic>

FormSnapshotTexts FormSnapshot;
std::string ResponseBody;

namespace {

std::atomic<bool> workbench_busy{false};

void RunWorkbenchTransfer(RequestKind kind) {
  auto request = CreateRequest(kind, FormSnapshot.url);
  request->FollowTransferSwitches();
  ClearTraceLog();
  request->SetCookieFile(kCookieFile);
  if (!FormSnapshot.referer.empty()) request->SetReferer(FormSnapshot.referer);
  if (kind == RequestKind::Post && !FormSnapshot.post_data.empty()) {
    request->SetPostData(FormSnapshot.post_data);
  }
  ResponseBody.clear();
  request->Perform(&ResponseBody, nullptr);
  // Dropping the request writes the cookie file when SaveCookie was on.
}

}  // namespace

void WorkbenchGet() { RunWorkbenchTransfer(RequestKind::Get); }

void WorkbenchPost() { RunWorkbenchTransfer(RequestKind::Post); }

bool ClaimWorkbench() { return !workbench_busy.exchange(true); }

void ReleaseWorkbench() { workbench_busy = false; }
