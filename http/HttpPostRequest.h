#pragma once

#include "http/HttpRequest.h"

namespace myCurl {

class HttpPostRequest : public HttpRequest {
 public:
  using HttpRequest::HttpRequest;
  ~HttpPostRequest() override;

 protected:
  void ApplyMethodOptions() override;

  curl_mime* m_form = nullptr;  // the multipart body, made only when a file is uploaded
};

}  // namespace myCurl
