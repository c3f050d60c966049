#include "http/Workbench.h"

#include "http/ResponseText.h"
#include "http/Trace.h"

#include <atomic>

FormSnapshotTexts FormSnapshot;
std::string ResponseBody;
std::u16string ResultText;

namespace {
std::atomic<bool> workbench_busy{false};
}

bool ClaimWorkbench() { return !workbench_busy.exchange(true); }

void ReleaseWorkbench() { workbench_busy = false; }

void WorkbenchTransfer(RequestKind kind, const FormSnapshotTexts& form, std::string& body) {
  auto request = CreateRequest(kind, form.url);
  request->FollowTransferSwitches();
  ClearTraceLog();
  request->SetCookieFile(kCookieFile);
  if (!form.referer.empty()) request->SetReferer(form.referer);
  if (kind == RequestKind::Post && !form.post_data.empty()) request->SetPostData(form.post_data);
  body.clear();
  request->Perform(&body, nullptr);
  // Dropping the request writes the cookie file when SaveCookie was on.
}

void WorkbenchGet() { WorkbenchTransfer(RequestKind::Get, FormSnapshot, ResponseBody); }

void WorkbenchPost() { WorkbenchTransfer(RequestKind::Post, FormSnapshot, ResponseBody); }

void DecodeResponseText() { ResultText = DecodeResponse(ResponseBody, TraceLogText()); }
