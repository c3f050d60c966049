#include "http/AppendBody.h"

#include <string>

std::size_t AppendBody(char* data, std::size_t size, std::size_t count, void* userdata) {
  const std::size_t length = size * count;
  static_cast<std::string*>(userdata)->append(data, length);
  return length;
}
