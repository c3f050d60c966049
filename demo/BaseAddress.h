#pragma once

// The base ("http://host:port") of the addresses the service hands out: screenshots,
// pictures, avatars. It is the name and port the client itself used (the Host header), so a
// client that reached the service as "localhost", through a LAN address or a forwarded port
// can follow them. A request without a usable Host header gets the bound address.

#include <httplib.h>

#include <string>

namespace pagetap::demo {

class BaseAddress {
 public:
  // Sets the bound address. A wildcard host (0.0.0.0, ::) stands for loopback. False when
  // the base would not fit the screenshot layout (a long host name with a "." late in it).
  bool SetBound(const std::string& host, int port);
  const std::string& Bound() const { return m_bound; }

  std::string For(const httplib::Request& request) const;

 private:
  std::string m_bound;
};

}  // namespace pagetap::demo
