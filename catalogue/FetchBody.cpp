#include "catalogue/FetchBody.h"

#include "http/CreateRequest.h"

std::string FetchBody(const std::string& address, std::size_t limit, bool* completed) {
  std::string body;
  long status = 0;  // Perform sets it only for a transfer that completed
  const auto request = CreateRequest(RequestKind::Get, address);
  request->LimitToWebProtocols();
  request->LimitBody(limit);
  request->Perform(&body, &status);
  if (completed) *completed = status != 0;
  return body;
}
