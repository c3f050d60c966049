// A user page's "next_cursor" from a hostile server, for a listed user and for an index past
// the catalogue's end.

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
  list.SetNextCursor(0, "before");

  const auto cursor = MapUserCursor(list, 0, text);
  if (list.NextCursor(0) != cursor.value_or("before")) std::abort();

  // Nobody is stored past the end, and the listed user's cursor stays as it was.
  MapUserCursor(list, 1, text);
  if (list.UserCount() != 1 || !list.NextCursor(1).empty()) std::abort();
  if (list.NextCursor(0) != cursor.value_or("before")) std::abort();
  return 0;
}
