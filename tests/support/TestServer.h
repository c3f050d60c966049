#pragma once

// A real HTTP (or HTTPS) server that a test starts in its own process on 127.0.0.1 with an
// ephemeral port. Tests add their handlers with Routes() before Start(); the Serve* helpers
// below register the awkward responses that network tests keep needing.

#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace pagetap::test {

// What the server saw of one request, recorded after the handler ran. A request line httplib
// rejects (a target with a second '?', say) is answered 400 and recorded without headers or body.
struct RecordedRequest {
  std::string method;
  std::string path;    // without the query
  std::string target;  // as sent on the request line, query included
  httplib::Headers headers;
  std::string body;                                // as sent, multipart uploads included
  std::chrono::steady_clock::time_point received;  // when the request reached its handler
};

enum class Scheme { Http, Https };

class TestServer {
 public:
  explicit TestServer(Scheme scheme = Scheme::Http);
  ~TestServer();  // wakes stalled handlers, stops the server and joins its thread
  TestServer(const TestServer&) = delete;
  TestServer& operator=(const TestServer&) = delete;

  // The server records requests through its pre- and post-routing handlers; leave those alone.
  // A multipart upload reaches handlers as its raw body typed application/octet-stream.
  httplib::Server& Routes() { return *m_server; }

  // Binds 127.0.0.1 on a free port and serves on a thread of its own; returns once it accepts.
  void Start();

  int Port() const { return m_port; }
  std::string BaseUrl() const;  // "http://127.0.0.1:PORT" or "https://127.0.0.1:PORT"

  // Waits up to `limit`; returns early, with true, once the server is being stopped.
  // Handlers that stall or drip wait through this so that a test never waits for them.
  bool WaitForStop(std::chrono::milliseconds limit);

  std::vector<RecordedRequest> Requests() const;
  std::size_t RequestCount() const;
  // True once `count` requests have been recorded; false when `patience` ran out first.
  bool WaitForRequests(std::size_t count, std::chrono::milliseconds patience) const;

  // Canned responses. Each registers a GET and a POST handler on `path`.
  void ServeText(const std::string& path, const std::string& body,
                 const std::string& content_type = "text/plain");
  void ServeGzip(const std::string& path, const std::string& body);     // Content-Encoding: gzip
  void ServeDeflate(const std::string& path, const std::string& body);  // Content-Encoding: deflate
  void ServeRedirect(const std::string& path, const std::string& location, int status,
                     const std::string& body);
  // Answers with "Set-Cookie: <cookie>" (e.g. "session=abc; Path=/") and a short body.
  void ServeSetCookie(const std::string& path, const std::string& cookie);
  // Sends `first_part`, then holds the connection open for `stall` without sending more.
  void ServeStall(const std::string& path, const std::string& first_part,
                  std::chrono::milliseconds stall);
  // Sends `pieces` chunks of `piece` each, `interval` apart.
  void ServeDrip(const std::string& path, const std::string& piece, int pieces,
                 std::chrono::milliseconds interval);

 private:
  void NoteArrival(const httplib::Request& request);
  void Record(const httplib::Request& request);
  void ServeGetAndPost(const std::string& path, const httplib::Server::Handler& handler);

  Scheme m_scheme;
  std::unique_ptr<httplib::Server> m_server;
  std::thread m_thread;
  int m_port = 0;

  mutable std::mutex m_mutex;
  std::condition_variable m_stop_signal;
  mutable std::condition_variable m_recorded;  // one more request is in m_requests
  bool m_stopping = false;
  std::vector<RecordedRequest> m_requests;
  // What NoteArrival saw of a request that is being handled, until Record files it.
  struct Arrival {
    std::chrono::steady_clock::time_point received;
    std::string multipart_type;  // the Content-Type kept from httplib, for a multipart upload
  };
  std::map<const httplib::Request*, Arrival> m_arrivals;
};

// A port on 127.0.0.1 that nothing listens on, so that a connection to it is refused.
int ClosedPort();

}  // namespace pagetap::test
