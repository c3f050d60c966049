#include "demo/BaseAddress.h"

#include "demo/DemoData.h"
#include "demo/ShotAddress.h"

namespace pagetap::demo {
namespace {

bool Fits(const std::string& base) { return FitsShotLayout(base, DemoData::kBlogIdLength); }

// A Host header may only name a host and a port before it goes into addresses.
bool PlainHost(const std::string& host) {
  if (host.empty()) return false;
  for (const char c : host) {
    const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                         (c >= '0' && c <= '9') || c == '.' || c == '-' || c == ':' || c == '[' ||
                         c == ']';
    if (!allowed) return false;
  }
  return true;
}

}  // namespace

bool BaseAddress::SetBound(const std::string& host, int port) {
  std::string name = host;
  if (name.empty() || name == "0.0.0.0") name = "127.0.0.1";
  if (name == "::") name = "::1";
  if (name.find(':') != std::string::npos && name.front() != '[') name = "[" + name + "]";
  const std::string base = "http://" + name + ":" + std::to_string(port);
  if (!Fits(base)) return false;
  m_bound = base;
  return true;
}

std::string BaseAddress::For(const httplib::Request& request) const {
  const std::string host = request.get_header_value("Host");
  if (PlainHost(host) && Fits("http://" + host)) return "http://" + host;
  return m_bound;
}

}  // namespace pagetap::demo
