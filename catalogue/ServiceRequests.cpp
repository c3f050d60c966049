#include "catalogue/ServiceRequests.h"

#include "http/CreateRequest.h"
#include "http/URLEncode.h"

#include <cstdlib>

namespace {

// The environment variable's address without the slashes it may end in, else `fallback`.
std::string BaseAddress(const char* variable, const std::string& fallback) {
  const char* configured = std::getenv(variable);
  std::string base = configured && *configured ? configured : fallback;
  while (!base.empty() && base.back() == '/') base.pop_back();
  return base;
}

}  // namespace

std::string ApiBase() { return BaseAddress("PAGETAP_API_BASE", "http://127.0.0.1:8765"); }

std::string TopListAddress() {
  return ApiBase() + "/top_video?count=100&relative=after&type=top_week";
}

std::string UserPagePrefix() {
  return ApiBase() + "/home_user?day_count=7&relative=after&nickname=";
}

std::string UserPageAddress(const std::string& nickname, const std::optional<std::string>& cursor,
                            const std::string& prefix) {
  std::string address = prefix + CURLEncode().Encode(nickname);
  if (cursor) address += "&cursor=" + *cursor;
  return address;
}

std::string VideoPagePrefix() { return BaseAddress("PAGETAP_SITE_BASE", ApiBase()) + "/video/"; }

std::string FetchBody(const std::string& address, std::size_t limit, bool* completed) {
  std::string body;
  long status = 0;  // Perform sets it only for a transfer that completed
  const auto request = CreateRequest(RequestKind::Get, address);
  request->LimitToWebProtocols();
  request->LimitBody(limit);
  request->Perform(&body, &status);
  if (completed) *completed = status != 0;
  return body;
}
