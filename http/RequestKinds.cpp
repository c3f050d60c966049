// The two kinds of request and the factory that makes them.

#include "http/CreateRequest.h"
#include "http/HttpGetRequest.h"
#include "http/HttpPostRequest.h"

std::shared_ptr<myCurl::HttpRequest> CreateRequest(RequestKind kind, const std::string& url) {
  if (kind == RequestKind::Post) return std::make_shared<myCurl::HttpPostRequest>(url);
  return std::make_shared<myCurl::HttpGetRequest>(url);
}

namespace myCurl {

void HttpGetRequest::ApplyMethodOptions() {
  ApplyQueryParams();
  curl_easy_setopt(m_curl, CURLOPT_URL, m_url.c_str());
  curl_easy_setopt(m_curl, CURLOPT_HTTPGET, 1L);
}

HttpPostRequest::~HttpPostRequest() {
  // The handle refers to the form until it is cleaned up.
  ReleaseHandle();
  curl_mime_free(m_form);
}

void HttpPostRequest::ApplyMethodOptions() {
  if (!m_upload_file.empty() && !m_form) {
    m_form = curl_mime_init(m_curl);
    curl_mimepart* part = curl_mime_addpart(m_form);
    curl_mime_name(part, "file");
    curl_mime_filedata(part, m_upload_file.c_str());
  }
  ApplyQueryParams();
  curl_easy_setopt(m_curl, CURLOPT_URL, m_url.c_str());
  if (m_form) curl_easy_setopt(m_curl, CURLOPT_MIMEPOST, m_form);

  // The body is text from an edit and is sent up to its first NUL byte. An empty one still
  // goes out as a POST, with no body rather than whatever the default reader would supply.
  if (!m_post_data.empty()) {
    curl_easy_setopt(m_curl, CURLOPT_POST, 1L);
    curl_easy_setopt(m_curl, CURLOPT_POSTFIELDS, m_post_data.c_str());
  } else if (!m_form) {
    curl_easy_setopt(m_curl, CURLOPT_POSTFIELDSIZE, 0L);
    curl_easy_setopt(m_curl, CURLOPT_POSTFIELDS, "");
  }
}

}  // namespace myCurl
