#include "bench/support/LocalServer.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <utility>

namespace pagetap::bench {
namespace {

constexpr std::size_t kPiece = 1 << 20;

}  // namespace

LocalServer::LocalServer() {
  // Not SO_REUSEPORT (httplib's default): no other process may share the port.
  m_server.set_socket_options([](socket_t) {});
  m_port = m_server.bind_to_any_port("127.0.0.1");
  if (m_port <= 0) throw std::runtime_error("the bench server could not bind 127.0.0.1");
}

LocalServer::~LocalServer() {
  m_server.stop();
  if (m_thread.joinable()) m_thread.join();
}

void LocalServer::Serve(const std::string& pattern, std::shared_ptr<const std::string> body) {
  m_server.Get(pattern,
               [body = std::move(body)](const httplib::Request&, httplib::Response& response) {
                 response.set_content_provider(
                     body->size(), "application/octet-stream",
                     [body](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                       return sink.write(body->data() + offset, std::min(length, kPiece));
                     });
               });
}

void LocalServer::Start() {
  m_thread = std::thread([this] { m_server.listen_after_bind(); });
  while (!m_server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

std::string LocalServer::BaseUrl() const { return "http://127.0.0.1:" + std::to_string(m_port); }

}  // namespace pagetap::bench
