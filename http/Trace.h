#pragma once

// The workbench's trace: what libcurl sends, collected as text in the process-wide TraceLog
// while the Debug switch is on, and shown above the response.

#include <curl/curl.h>

#include <cstddef>
#include <string>

// libcurl's debug callback. Keeps informational lines, the request head and the request
// body as sent; nothing of the response. Never stops a transfer.
int AppendTrace(CURL* handle, curl_infotype type, char* data, std::size_t size, void* userptr);

void ClearTraceLog();
std::string TraceLogText();
