#pragma once

// The video service's addresses and how a body is fetched from them. The API's base address
// comes from the environment variable PAGETAP_API_BASE, else the bundled demo service on this
// machine; the web site's from PAGETAP_SITE_BASE, else the API's.

#include <cstddef>
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

// A video's page on the web site without the blog id: the site's base followed by "/video/".
std::string VideoPagePrefix();

// GETs `address` from the video service or its picture host: only http and https, since the
// addresses come from the service's own responses, and at most `limit` bytes of body. The body
// as received, empty or partial when the transfer fails or passes the limit; the HTTP status is
// not looked at. `completed`, when given, tells whether the answer arrived whole, whatever its
// status.
std::string FetchBody(const std::string& address, std::size_t limit, bool* completed = nullptr);
