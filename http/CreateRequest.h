#pragma once

#include "http/HttpRequest.h"

#include <memory>
#include <string>

enum class RequestKind { Get = 0, Post = 1 };

// A GET or a POST request on `url`; any other kind gives a GET.
std::shared_ptr<myCurl::HttpRequest> CreateRequest(RequestKind kind, const std::string& url);
