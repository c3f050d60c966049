#pragma once

// The request workbench's transfers. The UI thread copies its form into the FormSnapshot and
// sets the TransferSwitches, then a worker runs WorkbenchGet or WorkbenchPost followed by
// DecodeResponseText; the UI thread reads ResultText once the worker's ShowResult arrives.

#include <string>

struct FormSnapshotTexts {
  std::string url;        // never empty when a transfer starts
  std::string referer;    // empty: no Referer header
  std::string post_data;  // empty: a POST without a body
};

// These exist once, so one workbench transfer at a time uses them.
extern FormSnapshotTexts FormSnapshot;
extern std::string ResponseBody;

// Where libcurl keeps the workbench's cookies, in the current directory.
inline constexpr const char* kCookieFile = "testcookie.txt";

void WorkbenchGet();
void WorkbenchPost();

// One workbench transfer at a time. The UI thread claims the workbench when GET or POST is
// pressed and releases it when the EnableSend that ends the press is handled (the worker's,
// after its ShowResult has been read, or the one an empty URL posts), or at once when no
// worker could be started.
bool ClaimWorkbench();
void ReleaseWorkbench();
