#pragma once

// One HTTP transfer over a libcurl easy handle: made by CreateRequest, configured, performed
// once on the calling worker thread, then dropped. Every transfer of the program goes here.

#include "platform/Limits.h"

#include <curl/curl.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

namespace myCurl {

// The time-outs every request made from now on takes, in whole seconds.
struct TransferTimeouts {
  std::int32_t connect_seconds = static_cast<std::int32_t>(kConnectTimeLimit.count());
  std::int32_t whole_seconds = static_cast<std::int32_t>(kTransferTimeLimit.count());
};
void SetTransferTimeouts(TransferTimeouts timeouts);

class HttpRequest {
 public:
  explicit HttpRequest(const std::string& url);
  virtual ~HttpRequest();
  HttpRequest(const HttpRequest&) = delete;
  HttpRequest& operator=(const HttpRequest&) = delete;

  void SetCookieFile(const std::string& path);
  void SetReferer(const std::string& referer);
  void SetPostData(const std::string& data);

  // The workbench's own transfer: applies the TransferSwitches the form set and puts them
  // back to rest afterwards. Every other request runs with the resting values.
  void FollowTransferSwitches();
  // Refuses every scheme but http and https, for addresses that come from a server.
  void LimitToWebProtocols();
  // The most bytes the body may hold once Perform is done; the workbench's limit until set.
  void LimitBody(std::size_t bytes);

  // Appends the response body to *body. *responseCode gets the status of a transfer that
  // completed. Ends early, keeping what arrived, when the body would pass its limit, at the
  // transfer's time-out or when shutdown is requested.
  void Perform(std::string* body, long* responseCode);

 protected:
  virtual void ApplyMethodOptions() = 0;

  void ApplyCommonOptions();
  void ApplyQueryParams();  // appends m_params to m_url
  void ResetSwitches();
  void ReleaseHandle();  // cleans the easy handle up, writing the cookie jar if one is set

  CURL* m_curl = nullptr;
  std::string m_url;
  // Extra query parameters and header lines, in key order. The program's own transfers leave
  // them, and m_upload_file, empty.
  std::map<std::string, std::string> m_params;
  std::map<std::string, std::string> m_headers;
  std::string m_upload_file;
  std::string m_referer;
  std::string m_cookie_file;
  std::string m_post_data;
  std::int32_t m_connect_timeout;  // seconds
  std::int32_t m_timeout;          // seconds, whole transfer

 private:
  bool HoldsCookies() const;

  curl_slist* m_header_list = nullptr;
  std::size_t m_body_limit = kWorkbenchBodyLimit;
  bool m_follows_switches = false;
  bool m_saves_cookies = false;
};

}  // namespace myCurl
