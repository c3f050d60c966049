#pragma once

// pagetap-demo-service in a box: binds, serves on a thread of its own, logs one line per
// request, and stops on request. Tests run it in their own process on a free port.

#include "demo/BaseAddress.h"
#include "demo/CatalogueRoutes.h"
#include "demo/DemoData.h"
#include "demo/Playground.h"
#include "demo/StopSignal.h"

#include <httplib.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace pagetap::demo {

class DemoService {
 public:
  // Gets one line (without a newline) per request; never two calls at once.
  using LogSink = std::function<void(const std::string& line)>;

  explicit DemoService(LogSink log);
  ~DemoService();
  DemoService(const DemoService&) = delete;
  DemoService& operator=(const DemoService&) = delete;

  // Binds host:port (port 0: a free one) and serves. An empty text, or why it can't.
  std::string Start(const std::string& host, int port);
  // Cuts slow responses off, stops serving and waits for the serving thread. Idempotent;
  // a stopped service does not start again.
  void Stop();

  bool Running() const;
  int Port() const { return m_port; }
  // "http://host:port", loopback for a wildcard host.
  const std::string& BaseUrl() const { return m_base.Bound(); }

 private:
  void Log(const httplib::Request& request, const httplib::Response& response);

  LogSink m_log;
  std::mutex m_log_mutex;
  const DemoData m_data;
  BaseAddress m_base;
  StopSignal m_stop;
  CatalogueRoutes m_catalogue;
  Playground m_playground;
  httplib::Server m_server;
  std::thread m_thread;
  std::atomic<bool> m_serving_ended{false};
  int m_port = 0;
};

}  // namespace pagetap::demo
