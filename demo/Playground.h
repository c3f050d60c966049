#pragma once

// The workbench playground: addresses that answer in the ways the request workbench is made
// to show: an echo of the request, cookies, a redirect with a body of its own, a gzip body,
// a page in GB2312, and a response that arrives slowly.

#include "demo/StopSignal.h"

#include <httplib.h>

#include <atomic>
#include <string>

namespace pagetap::demo {

class Playground {
 public:
  explicit Playground(const StopSignal& stop);
  void Register(httplib::Server& server);

 private:
  void ServeCookies(const httplib::Request& request, httplib::Response& response);
  void ServeSlow(const httplib::Request& request, httplib::Response& response) const;

  const StopSignal& m_stop;
  const std::string m_gzip_body;
  const std::string m_gb2312_page;
  std::atomic<int> m_sessions{0};
};

}  // namespace pagetap::demo
