#pragma once

#include <cstddef>

// libcurl's write callback: appends the bytes to the std::string that `userdata` points to.
std::size_t AppendBody(char* data, std::size_t size, std::size_t count, void* userdata);
