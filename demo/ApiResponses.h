#pragma once

// The video service's JSON answers: the weekly top list, and one user's videos page by page,
// with the cursors that lead from one page to the next.

#include "demo/DemoData.h"

#include <cstddef>
#include <optional>
#include <string>

namespace pagetap::demo {

// The list as the `request_number`th request (from 1) sees it: later requests list a few
// newcomers too. Addresses in it start with `base`.
std::string TopListJson(const DemoData& data, int request_number, const std::string& base);

// Page `page` (from 0) of the user's videos; the last one has an empty "next_cursor".
std::string UserPageJson(const DemoUser& user, std::size_t page, const std::string& base);

// For an unknown user or cursor: no videos and no further page.
std::string EmptyUserPageJson();

std::string CursorForPage(std::size_t page);
std::optional<std::size_t> PageFromCursor(const std::string& cursor);

}  // namespace pagetap::demo
