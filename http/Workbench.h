#pragma once

// The request workbench: its state, which exists once in the process, and the steps a worker
// runs over it. The UI thread claims the workbench, copies its form into the FormSnapshot and
// sets the TransferSwitches; a worker then runs WorkbenchGet or WorkbenchPost followed by
// DecodeResponseText, and the UI thread reads ResultText once the worker's ShowResult arrives.

#include "http/CreateRequest.h"

#include <string>

struct FormSnapshotTexts {
  std::string url;        // never empty when a transfer starts
  std::string referer;    // empty: no Referer header
  std::string post_data;  // empty: a POST without a body
};

extern FormSnapshotTexts FormSnapshot;
extern std::string ResponseBody;
extern std::u16string ResultText;  // replaced whole by every DecodeResponseText

// One workbench transfer at a time, since the state above exists once. The UI thread claims
// the workbench when GET or POST is pressed and releases it when the EnableSend that ends the
// press is handled (the worker's, after its ShowResult has been read, or the one an empty URL
// posts), or at once when no worker could be started.
bool ClaimWorkbench();
void ReleaseWorkbench();

// Where libcurl keeps the workbench's cookies, in the current directory.
inline constexpr const char* kCookieFile = "testcookie.txt";

// The worker's steps: the transfer of the FormSnapshot into ResponseBody, and its decoding,
// with the trace, into ResultText.
void WorkbenchGet();
void WorkbenchPost();
void DecodeResponseText();

// The transfer itself, for a form of the caller's own: replaces `body` with what arrived,
// reusing its room. The trace goes to the trace log.
void WorkbenchTransfer(RequestKind kind, const FormSnapshotTexts& form, std::string& body);
