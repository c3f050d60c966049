#pragma once

#include <string>

// GETs `address` from the video service or its picture host: only http and https, since the
// addresses come from the service's own responses. The body as received, empty or partial when
// the transfer fails; the HTTP status is not looked at. `completed`, when given, tells whether
// the answer arrived whole, whatever its status.
std::string FetchBody(const std::string& address, bool* completed = nullptr);
