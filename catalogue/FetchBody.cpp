#include "catalogue/FetchBody.h"

#include "http/CreateRequest.h"

std::string FetchBody(const std::string& address) {
  std::string body;
  const auto request = CreateRequest(RequestKind::Get, address);
  request->LimitToWebProtocols();
  request->Perform(&body, nullptr);
  return body;
}
