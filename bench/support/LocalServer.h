#pragma once

// The benches' own web server on 127.0.0.1 (a free port), on cpp-httplib. It serves fixed
// bodies straight from memory, piece by piece and without copying them per request, as
// application/octet-stream: a type httplib never compresses, so every client, whatever
// Accept-Encoding it sends, gets the very same bytes.

#include <httplib.h>

#include <memory>
#include <string>
#include <thread>

namespace pagetap::bench {

class LocalServer {
 public:
  LocalServer();  // binds a free port, so BaseUrl is known before anything is served
  ~LocalServer();
  LocalServer(const LocalServer&) = delete;
  LocalServer& operator=(const LocalServer&) = delete;

  // Serves `body` on every GET whose path matches the regular expression `pattern`.
  void Serve(const std::string& pattern, std::shared_ptr<const std::string> body);
  // For handlers of a bench's own.
  httplib::Server& Routes() { return m_server; }

  // Serves on a thread of its own; returns once it accepts connections. Serve before this.
  void Start();
  std::string BaseUrl() const;  // "http://127.0.0.1:PORT"

 private:
  httplib::Server m_server;
  std::thread m_thread;
  int m_port = 0;
};

}  // namespace pagetap::bench
