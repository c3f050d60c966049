// A top-list response from a hostile server, mapped during the first fill and again after it.

#include "catalogue/TopListMapping.h"
#include "catalogue/UserList.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  UserList list;
  MapTopList(list, text);
  const std::size_t first_fill_users = list.UserCount();
  for (std::size_t user = 0; user < first_fill_users; ++user) {
    if (list.VideoCount(user) != 1) std::abort();  // every top-list entry brings one video
  }

  // The first fill listed every nickname of the response, so the same response adds nobody.
  list.EndFirstFill();
  MapTopList(list, text);
  if (list.UserCount() != first_fill_users) std::abort();
  return 0;
}
