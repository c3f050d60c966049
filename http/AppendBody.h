#pragma once

#include <curl/curl.h>

#include <chrono>
#include <cstddef>
#include <string>

// Where a transfer's body goes: the caller's string, the transfer that fills it, and the bounds
// the body must stay within while it arrives.
struct BodySink {
  std::string* body;
  CURL* easy;
  std::size_t limit;                               // bytes the body may hold, what it had included
  std::chrono::steady_clock::time_point deadline;  // the end of the transfer's time
};

// libcurl's write callback: appends the bytes to the string of the BodySink that `userdata`
// points to. It ends the transfer, keeping what arrived before, when the bytes would take the
// body past its limit, after the deadline, or once shutdown is requested. Checking here rather
// than between libcurl's calls also stops a body that unpacks without end inside one call.
// When the response announces its length, the string makes room for the rest of it (up to the
// limit) at the first write that needs room, rather than growing step by step.
std::size_t AppendBody(char* data, std::size_t size, std::size_t count, void* userdata);
