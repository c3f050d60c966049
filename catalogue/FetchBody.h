#pragma once

#include <string>

// GETs `address` from the video service or its picture host: only http and https, since the
// addresses come from the service's own responses. The body as received, empty or partial when
// the transfer fails; the HTTP status is not looked at.
std::string FetchBody(const std::string& address);
