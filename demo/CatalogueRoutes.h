#pragma once

// The part of the demo service that stands in for the video service: the weekly top list,
// the users' pages, the screenshot pictures and the video pages.

#include "demo/BaseAddress.h"
#include "demo/DemoData.h"

#include <httplib.h>

#include <atomic>

namespace pagetap::demo {

class CatalogueRoutes {
 public:
  CatalogueRoutes(const DemoData& data, const BaseAddress& base);
  void Register(httplib::Server& server);

 private:
  void ServeTopList(const httplib::Request& request, httplib::Response& response);
  void ServeUserPage(const httplib::Request& request, httplib::Response& response) const;
  void ServePicture(const httplib::Request& request, httplib::Response& response) const;
  void ServeVideoPage(const httplib::Request& request, httplib::Response& response) const;

  const DemoData& m_data;
  const BaseAddress& m_base;
  std::atomic<int> m_top_list_requests{0};
};

}  // namespace pagetap::demo
