#pragma once

// Users put straight into a catalogue, as a top-list fetch would have left them.

#include "catalogue/UserList.h"

#include <string>
#include <vector>

namespace pagetap::test {

// Appends a user whose videos have the given screenshot addresses and the blog ids
// "<nickname> 0", "<nickname> 1", ...; the picture addresses are derived as the mapping does.
void AddUser(UserList& list, const std::string& nickname,
             const std::vector<std::string>& screenshots);

std::vector<std::string> Nicknames(const UserList& list);
std::vector<std::string> BlogIds(const UserList& list, std::size_t user);
// The video's picture bytes as text; empty when it has none.
std::string PictureText(const UserList& list, std::size_t user, std::size_t video);

}  // namespace pagetap::test
