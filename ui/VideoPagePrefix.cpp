#include "ui/VideoPagePrefix.h"

#include <cstdlib>

#include "catalogue/ServiceAddresses.h"

std::string VideoPagePrefix() {
  const char* configured = std::getenv("PAGETAP_SITE_BASE");
  std::string base = configured && *configured ? configured : ApiBase();
  while (!base.empty() && base.back() == '/') base.pop_back();
  return base + "/video/";
}
