#include "http/CreateRequest.h"

#include "http/HttpGetRequest.h"
#include "http/HttpPostRequest.h"

std::shared_ptr<myCurl::HttpRequest> CreateRequest(RequestKind kind, const std::string& url) {
  if (kind == RequestKind::Post) return std::make_shared<myCurl::HttpPostRequest>(url);
  return std::make_shared<myCurl::HttpGetRequest>(url);
}
