#pragma once

#include "http/HttpRequest.h"

namespace myCurl {

class HttpGetRequest : public HttpRequest {
 public:
  using HttpRequest::HttpRequest;

 protected:
  void ApplyMethodOptions() override;
};

}  // namespace myCurl
