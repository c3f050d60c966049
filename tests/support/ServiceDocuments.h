#pragma once

// Response documents of the video service, built for tests.

#include <json/value.h>

#include <optional>
#include <string>
#include <vector>

namespace pagetap::test {

// A top-list element with every user and video key as text.
Json::Value TopListElement(const std::string& nickname, const std::string& blog_id);
std::string TopListText(const std::vector<Json::Value>& elements);

// A user-page video element; without a blog id when `blog_id` is nullopt.
Json::Value PageVideo(const std::optional<std::string>& blog_id);
// One diary per inner list; no "next_cursor" key when `next_cursor` is nullopt.
std::string UserPageText(const std::optional<std::string>& next_cursor,
                         const std::vector<std::vector<Json::Value>>& diaries);

std::string Text(const Json::Value& document);

}  // namespace pagetap::test
