#include "http/HttpRequest.h"

#include "http/AppendBody.h"
#include "http/EscapeText.h"
#include "http/RunTransfer.h"
#include "http/Trace.h"
#include "http/TransferSwitches.h"

#include <atomic>
#include <chrono>

namespace myCurl {

namespace {

constexpr const char* kUserAgent =
    "Mozilla/5.0 (Windows NT 5.1; rv:26.0) Gecko/20100101 Firefox/26.0";

std::atomic<std::int32_t> connect_timeout{TransferTimeouts{}.connect_seconds};
std::atomic<std::int32_t> whole_timeout{TransferTimeouts{}.whole_seconds};

}  // namespace

void SetTransferTimeouts(TransferTimeouts timeouts) {
  connect_timeout = timeouts.connect_seconds;
  whole_timeout = timeouts.whole_seconds;
}

HttpRequest::HttpRequest(const std::string& url)
    : m_curl(curl_easy_init()),
      m_url(url),
      m_connect_timeout(connect_timeout),
      m_timeout(whole_timeout) {}

HttpRequest::~HttpRequest() {
  ReleaseHandle();
  ResetSwitches();
  curl_slist_free_all(m_header_list);
}

void HttpRequest::ReleaseHandle() {
  if (!m_curl) return;
  // libcurl writes the cookie jar at clean-up even when it holds no cookie, which would wipe
  // the cookies saved earlier; a transfer with nothing to save leaves the file alone.
  if (m_saves_cookies && !HoldsCookies()) curl_easy_setopt(m_curl, CURLOPT_COOKIEJAR, nullptr);
  curl_easy_cleanup(m_curl);
  m_curl = nullptr;
}

bool HttpRequest::HoldsCookies() const {
  curl_slist* cookies = nullptr;
  if (curl_easy_getinfo(m_curl, CURLINFO_COOKIELIST, &cookies) != CURLE_OK) return false;
  const bool holds = cookies != nullptr;
  curl_slist_free_all(cookies);
  return holds;
}

void HttpRequest::SetCookieFile(const std::string& path) {
  if (&path != &m_cookie_file) m_cookie_file = path;
}

void HttpRequest::SetReferer(const std::string& referer) {
  if (&referer != &m_referer) m_referer = referer;
}

void HttpRequest::SetPostData(const std::string& data) {
  if (&data != &m_post_data) m_post_data = data;
}

void HttpRequest::FollowTransferSwitches() { m_follows_switches = true; }

void HttpRequest::LimitToWebProtocols() {
  curl_easy_setopt(m_curl, CURLOPT_PROTOCOLS_STR, "http,https");
}

void HttpRequest::LimitBody(std::size_t bytes) { m_body_limit = bytes; }

void HttpRequest::Perform(std::string* body, long* responseCode) {
  if (!body) return;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(m_timeout);
  ApplyCommonOptions();
  ApplyMethodOptions();
  BodySink sink{body, m_curl, body->size() + m_body_limit, deadline};
  curl_easy_setopt(m_curl, CURLOPT_WRITEDATA, &sink);
  if (RunTransfer(m_curl) == CURLE_OK && responseCode) {
    curl_easy_getinfo(m_curl, CURLINFO_RESPONSE_CODE, responseCode);
  }
  ResetSwitches();
}

void HttpRequest::ApplyCommonOptions() {
  const SwitchValues switches = m_follows_switches ? TransferSwitches.Load() : kRestingSwitches;

  if (m_url.find("https") != std::string::npos) {
    curl_easy_setopt(m_curl, CURLOPT_SSL_VERIFYHOST, 0L);
    curl_easy_setopt(m_curl, CURLOPT_SSL_VERIFYPEER, 0L);
  }
  if (!m_headers.empty()) {
    curl_slist_free_all(m_header_list);
    m_header_list = nullptr;
    for (const auto& [name, value] : m_headers) {
      m_header_list = curl_slist_append(m_header_list, (name + ": " + value).c_str());
    }
    curl_easy_setopt(m_curl, CURLOPT_HTTPHEADER, m_header_list);
  }
  if (switches.head) curl_easy_setopt(m_curl, CURLOPT_HEADER, 1L);
  curl_easy_setopt(m_curl, CURLOPT_ACCEPT_ENCODING, "gzip, deflate");
  curl_easy_setopt(m_curl, CURLOPT_USERAGENT, kUserAgent);
  if (switches.send_cookie) curl_easy_setopt(m_curl, CURLOPT_COOKIEFILE, m_cookie_file.c_str());
  if (switches.save_cookie) {
    curl_easy_setopt(m_curl, CURLOPT_COOKIEJAR, m_cookie_file.c_str());
    m_saves_cookies = true;
  }
  if (!m_referer.empty()) curl_easy_setopt(m_curl, CURLOPT_REFERER, m_referer.c_str());
  curl_easy_setopt(m_curl, CURLOPT_READFUNCTION, nullptr);
  curl_easy_setopt(m_curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(m_curl, CURLOPT_CONNECTTIMEOUT, static_cast<long>(m_connect_timeout));
  curl_easy_setopt(m_curl, CURLOPT_TIMEOUT, static_cast<long>(m_timeout));
  curl_easy_setopt(m_curl, CURLOPT_WRITEFUNCTION, AppendBody);
  if (switches.debug) {
    curl_easy_setopt(m_curl, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(m_curl, CURLOPT_DEBUGFUNCTION, AppendTrace);
  }
}

void HttpRequest::ApplyQueryParams() {
  if (m_params.empty()) return;
  m_url += '?';
  for (const auto& [key, value] : m_params) {
    m_url += EscapeText(key) + '=' + EscapeText(value) + '&';
  }
  m_url.pop_back();
}

void HttpRequest::ResetSwitches() {
  if (m_follows_switches) TransferSwitches.Store(kRestingSwitches);
  m_referer.clear();
  m_upload_file.clear();
  m_post_data.clear();
}

}  // namespace myCurl
