#include "http/HttpGetRequest.h"

namespace myCurl {

void HttpGetRequest::ApplyMethodOptions() {
  ApplyQueryParams();
  curl_easy_setopt(m_curl, CURLOPT_URL, m_url.c_str());
  curl_easy_setopt(m_curl, CURLOPT_HTTPGET, 1L);
}

}  // namespace myCurl
