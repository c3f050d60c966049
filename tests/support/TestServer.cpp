#include "tests/support/TestServer.h"

#include "tests/support/Compression.h"
#include "tests/support/SelfSignedCertificate.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace pagetap::test {
namespace {

// A type httplib leaves alone. It compresses text, JSON and XML responses on its own when the
// client accepts it, and its compressor holds back streamed pieces; so bodies that are already
// encoded, or that must reach the client piece by piece, go out as this.
constexpr const char* kUntouchedType = "application/octet-stream";

std::unique_ptr<httplib::Server> MakeServer(Scheme scheme) {
  if (scheme == Scheme::Http) {
    return std::make_unique<httplib::Server>();
  }
  const SelfSignedCertificate certificate = MakeSelfSignedCertificate();
  if (!certificate.cert) {
    ADD_FAILURE() << "could not make a certificate for the HTTPS test server";
  }
  // The server takes references of its own to the certificate and the key.
  return std::make_unique<httplib::SSLServer>(certificate.cert.get(), certificate.key.get());
}

// Handlers are matched as regular expressions; the Serve* helpers take a plain path.
std::string ExactPattern(const std::string& path) {
  std::string pattern;
  for (const char c : path) {
    if (std::strchr("^$\\.*+?()[]{}|", c) != nullptr) {
      pattern += '\\';
    }
    pattern += c;
  }
  return pattern;
}

// The value httplib goes by when it asks for the type of a request's body.
std::string& FirstContentType(httplib::Request& request) {
  return request.headers.equal_range("Content-Type").first->second;
}

}  // namespace

TestServer::TestServer(Scheme scheme) : m_scheme(scheme), m_server(MakeServer(scheme)) {
  // The default asks for SO_REUSEPORT, which would let two test processes share a port.
  m_server->set_socket_options([](socket_t) {});
  // Small pieces of a stall or a drip go out when they are written, not after an ACK.
  m_server->set_tcp_nodelay(true);
  // An idle kept-alive connection holds a worker this long after the server is told to stop.
  m_server->set_keep_alive_timeout(1);
  m_server->set_pre_routing_handler([this](const httplib::Request& request, httplib::Response&) {
    NoteArrival(request);
    return httplib::Server::HandlerResponse::Unhandled;
  });
  // Runs after the handler and before the response goes out, so a client that has its answer
  // always finds its request recorded.
  m_server->set_post_routing_handler(
      [this](const httplib::Request& request, httplib::Response&) { Record(request); });
}

TestServer::~TestServer() {
  {
    const std::lock_guard lock(m_mutex);
    m_stopping = true;
  }
  m_stop_signal.notify_all();
  if (m_thread.joinable()) {
    m_server->stop();
    m_thread.join();
  }
}

void TestServer::Start() {
  if (!m_server->is_valid()) {
    FAIL() << "the test server could not be set up";
  }
  m_port = m_server->bind_to_any_port("127.0.0.1");
  if (m_port <= 0) {
    m_port = 0;
    FAIL() << "the test server could not bind 127.0.0.1";
  }
  m_thread = std::thread([this] { m_server->listen_after_bind(); });
  // The socket already queues connections; waiting here also makes sure stop() finds the
  // server running, since it does nothing before.
  while (!m_server->is_running()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  // httplib sets part of itself up on the first request it handles, in code the thread
  // sanitizer cannot see into; one request of our own keeps that apart from a test's requests,
  // which may come several at once. It is recorded before its answer goes out, so it can be
  // forgotten as soon as the answer is in.
  httplib::Client warm_up(BaseUrl());
  warm_up.enable_server_certificate_verification(false);
  warm_up.Get("/");
  const std::lock_guard lock(m_mutex);
  m_requests.clear();
}

std::string TestServer::BaseUrl() const {
  return std::string(m_scheme == Scheme::Https ? "https" : "http") +
         "://127.0.0.1:" + std::to_string(m_port);
}

bool TestServer::WaitForStop(std::chrono::milliseconds limit) {
  std::unique_lock lock(m_mutex);
  return m_stop_signal.wait_for(lock, limit, [this] { return m_stopping; });
}

std::vector<RecordedRequest> TestServer::Requests() const {
  const std::lock_guard lock(m_mutex);
  return m_requests;
}

std::size_t TestServer::RequestCount() const {
  const std::lock_guard lock(m_mutex);
  return m_requests.size();
}

bool TestServer::WaitForRequests(std::size_t count, std::chrono::milliseconds patience) const {
  std::unique_lock lock(m_mutex);
  return m_recorded.wait_for(lock, patience, [&] { return m_requests.size() >= count; });
}

void TestServer::NoteArrival(const httplib::Request& request) {
  Arrival arrival{std::chrono::steady_clock::now(), {}};
  if (request.is_multipart_form_data()) {
    // httplib would split the body into request.files and drop its bytes. While it does not
    // see the type, it keeps the body as sent; Record puts the type back. The server passes
    // its own, non-const Request to this handler.
    auto& content_type = FirstContentType(const_cast<httplib::Request&>(request));
    arrival.multipart_type = std::exchange(content_type, kUntouchedType);
  }
  const std::lock_guard lock(m_mutex);
  m_arrivals[&request] = std::move(arrival);
}

void TestServer::Record(const httplib::Request& request) {
  decltype(m_arrivals)::node_type arrival;
  {
    const std::lock_guard lock(m_mutex);
    arrival = m_arrivals.extract(&request);
  }
  // A request that failed to parse never reached routing and has no arrival of its own.
  const auto received = arrival ? arrival.mapped().received : std::chrono::steady_clock::now();
  if (arrival && !arrival.mapped().multipart_type.empty()) {
    FirstContentType(const_cast<httplib::Request&>(request)) = arrival.mapped().multipart_type;
  }
  RecordedRequest recorded{request.method,  request.path, request.target,
                           request.headers, request.body, received};
  {
    const std::lock_guard lock(m_mutex);
    m_requests.push_back(std::move(recorded));
  }
  m_recorded.notify_all();
}

void TestServer::ServeGetAndPost(const std::string& path, const httplib::Server::Handler& handler) {
  const std::string pattern = ExactPattern(path);
  m_server->Get(pattern, handler);
  m_server->Post(pattern, handler);
}

void TestServer::ServeText(const std::string& path, const std::string& body,
                           const std::string& content_type) {
  ServeGetAndPost(path, [body, content_type](const httplib::Request&, httplib::Response& response) {
    response.set_content(body, content_type);
  });
}

void TestServer::ServeGzip(const std::string& path, const std::string& body) {
  ServeGetAndPost(
      path, [packed = GzipCompress(body)](const httplib::Request&, httplib::Response& response) {
        response.set_header("Content-Encoding", "gzip");
        response.set_content(packed, kUntouchedType);
      });
}

void TestServer::ServeDeflate(const std::string& path, const std::string& body) {
  ServeGetAndPost(
      path, [packed = DeflateCompress(body)](const httplib::Request&, httplib::Response& response) {
        response.set_header("Content-Encoding", "deflate");
        response.set_content(packed, kUntouchedType);
      });
}

void TestServer::ServeRedirect(const std::string& path, const std::string& location, int status,
                               const std::string& body) {
  ServeGetAndPost(path,
                  [location, status, body](const httplib::Request&, httplib::Response& response) {
                    response.status = status;
                    response.set_header("Location", location);
                    response.set_content(body, "text/html");
                  });
}

void TestServer::ServeSetCookie(const std::string& path, const std::string& cookie) {
  ServeGetAndPost(path, [cookie](const httplib::Request&, httplib::Response& response) {
    response.set_header("Set-Cookie", cookie);
    response.set_content("cookie set", "text/plain");
  });
}

void TestServer::ServeStall(const std::string& path, const std::string& first_part,
                            std::chrono::milliseconds stall) {
  ServeGetAndPost(
      path, [this, first_part, stall](const httplib::Request&, httplib::Response& response) {
        // Chunked, so the client cannot tell that nothing more is coming until the last chunk.
        response.set_chunked_content_provider(
            kUntouchedType, [this, first_part, stall](std::size_t offset, httplib::DataSink& sink) {
              if (offset == 0 && !first_part.empty()) {
                return sink.write(first_part.data(), first_part.size());
              }
              if (WaitForStop(stall)) {
                return false;  // cut the connection rather than finish the body
              }
              sink.done();
              return true;
            });
      });
}

void TestServer::ServeDrip(const std::string& path, const std::string& piece, int pieces,
                           std::chrono::milliseconds interval) {
  const auto count = static_cast<std::size_t>(std::max(pieces, 0));
  ServeGetAndPost(
      path, [this, piece, count, interval](const httplib::Request&, httplib::Response& response) {
        response.set_chunked_content_provider(
            kUntouchedType,
            [this, piece, count, interval](std::size_t offset, httplib::DataSink& sink) {
              const std::size_t sent = piece.empty() ? count : offset / piece.size();
              if (sent == count) {
                sink.done();
                return true;
              }
              if (sent > 0 && WaitForStop(interval)) {
                return false;
              }
              return sink.write(piece.data(), piece.size());
            });
      });
}

int ClosedPort() {
  const int socket_fd = socket(AF_INET, SOCK_STREAM, 0);
  if (socket_fd < 0) {
    ADD_FAILURE() << "could not open a socket to find a closed port";
    return 0;
  }
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof(address);
  int port = 0;
  // Bound but never listening; the kernel rarely hands a just-freed port out again at once.
  if (bind(socket_fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
      getsockname(socket_fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    port = ntohs(address.sin_port);
  } else {
    ADD_FAILURE() << "could not bind a socket to find a closed port";
  }
  close(socket_fd);
  return port;
}

}  // namespace pagetap::test
