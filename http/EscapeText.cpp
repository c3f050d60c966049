#include "http/EscapeText.h"

#include <curl/curl.h>

#include <memory>

namespace {

struct EasyCleanup {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};

}  // namespace

std::string EscapeText(const std::string& text) {
  static const std::unique_ptr<CURL, EasyCleanup> handle(curl_easy_init());
  char* escaped = curl_easy_escape(handle.get(), text.data(), static_cast<int>(text.size()));
  if (!escaped) return {};
  std::string result(escaped);
  curl_free(escaped);
  return result;
}
