#pragma once

#include <cstddef>
#include <string>

// GETs `address` from the video service or its picture host: only http and https, since the
// addresses come from the service's own responses, and at most `limit` bytes of body. The body
// as received, empty or partial when the transfer fails or passes the limit; the HTTP status is
// not looked at. `completed`, when given, tells whether the answer arrived whole, whatever its
// status.
std::string FetchBody(const std::string& address, std::size_t limit, bool* completed = nullptr);
