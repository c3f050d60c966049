#include "catalogue/ServiceAddresses.h"

#include "http/URLEncode.h"

#include <cstdlib>

std::string ApiBase() {
  const char* configured = std::getenv("PAGETAP_API_BASE");
  std::string base = configured && *configured ? configured : "http://127.0.0.1:8765";
  while (!base.empty() && base.back() == '/') base.pop_back();
  return base;
}

std::string TopListAddress() { return ApiBase() + "/top_video?count=100&relative=after&type=top_week"; }

std::string UserPagePrefix() { return ApiBase() + "/home_user?day_count=7&relative=after&nickname="; }

std::string UserPageAddress(const std::string& nickname, const std::optional<std::string>& cursor,
                            const std::string& prefix) {
  std::string address = prefix + CURLEncode().Encode(nickname);
  if (cursor) address += "&cursor=" + *cursor;
  return address;
}
