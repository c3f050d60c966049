#pragma once

// The addresses of the video service's JSON API. The base address comes from the environment
// variable PAGETAP_API_BASE, else the bundled demo service on this machine.

#include <optional>
#include <string>

std::string ApiBase();  // never ends in '/'

std::string TopListAddress();

// A user page's address up to and including "nickname=".
std::string UserPagePrefix();

// A page of one user's videos: `prefix` followed by the URL-encoded nickname and, for a further
// page, "&cursor=" and the cursor exactly as the previous page gave it. Every page is built from
// the first page's address, so cursors never pile up.
std::string UserPageAddress(const std::string& nickname,
                            const std::optional<std::string>& cursor = std::nullopt,
                            const std::string& prefix = UserPagePrefix());
