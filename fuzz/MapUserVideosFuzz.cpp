// A page of a user's videos from a hostile server, mapped twice as a repeated page would be.

#include "catalogue/UserList.h"
#include "catalogue/UserPageMapping.h"
#include "fuzz/OneUserList.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  UserList list;
  AddOneUser(list);

  MapUserVideos(list, 0, text);
  const std::size_t videos = list.VideoCount(0);
  if (videos < 1 || !list.Video(0, 0) || list.Video(0, 0)->m_video_blog_id != "b1") std::abort();

  // Every video of the page is now known by its blog id, so the same page adds nothing.
  MapUserVideos(list, 0, text);
  if (list.VideoCount(0) != videos) std::abort();

  MapUserVideos(list, 1, text);
  if (list.UserCount() != 1) std::abort();
  return 0;
}
