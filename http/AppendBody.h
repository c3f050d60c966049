#pragma once

#include <curl/curl.h>

#include <cstddef>
#include <string>

// Where a transfer's body goes: the caller's string, and the transfer that fills it.
struct BodySink {
  std::string* body;
  CURL* easy;
};

// libcurl's write callback: appends the bytes to the string of the BodySink that `userdata`
// points to. When the response announces its length, the string makes room for the rest of it
// at the first write that needs room, rather than growing (and copying itself) step by step.
std::size_t AppendBody(char* data, std::size_t size, std::size_t count, void* userdata);
