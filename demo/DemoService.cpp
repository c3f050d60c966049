#include "demo/DemoService.h"

#include "demo/HtmlPages.h"

#include <sys/socket.h>

#include <chrono>
#include <ctime>

namespace pagetap::demo {
namespace {

// The longest port a free-port bind can get, for checking the layout before binding.
constexpr int kLongestPort = 65535;

std::string LocalTime() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  localtime_r(&now, &parts);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
  return text;
}

}  // namespace

DemoService::DemoService(LogSink log)
    : m_log(std::move(log)), m_catalogue(m_data, m_base), m_playground(m_stop) {
  // SO_REUSEADDR alone: a restart may take the port over at once, but a second service can't
  // share it (httplib's default adds SO_REUSEPORT).
  m_server.set_socket_options([](socket_t socket) {
    const int yes = 1;
    setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
  // An idle kept-alive connection holds a worker this long after the service is told to stop.
  m_server.set_keep_alive_timeout(1);
  m_server.set_logger(
      [this](const auto& request, const auto& response) { Log(request, response); });
  // Error answers without a body of their own get a small page.
  m_server.set_error_handler(httplib::Server::HandlerWithResponse(
      [](const httplib::Request&, httplib::Response& response) {
        if (!response.body.empty()) return httplib::Server::HandlerResponse::Unhandled;
        response.set_content(ErrorPage(response.status), "text/html; charset=utf-8");
        return httplib::Server::HandlerResponse::Handled;
      }));
  m_server.Get("/", [](const httplib::Request&, httplib::Response& response) {
    response.set_content(HomePage(), "text/html; charset=utf-8");
  });
  m_catalogue.Register(m_server);
  m_playground.Register(m_server);
}

DemoService::~DemoService() { Stop(); }

std::string DemoService::Start(const std::string& host, int port) {
  const std::string where = host + " port " + std::to_string(port);
  if (m_thread.joinable()) return "the service is already running";
  if (m_stop.WaitFor(std::chrono::milliseconds(0))) return "the service was stopped";
  if (!m_base.SetBound(host, port == 0 ? kLongestPort : port)) {
    return "the address " + host + " is too long for the screenshot addresses";
  }
  if (port == 0) {
    port = m_server.bind_to_any_port(host);
    if (port <= 0) return "could not listen on " + where;
  } else if (!m_server.bind_to_port(host, port)) {
    return "could not listen on " + where;
  }
  m_port = port;
  m_base.SetBound(host, port);
  m_thread = std::thread([this] {
    m_server.listen_after_bind();
    m_serving_ended = true;
  });
  // Connections already queue on the socket; waiting here also makes sure that Stop finds
  // the server running, since httplib's stop does nothing before.
  while (!m_server.is_running() && !m_serving_ended) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return m_serving_ended ? "could not serve on " + where : std::string();
}

void DemoService::Stop() {
  m_stop.Raise();
  if (!m_thread.joinable()) return;
  m_server.stop();
  m_thread.join();
}

bool DemoService::Running() const { return m_server.is_running(); }

void DemoService::Log(const httplib::Request& request, const httplib::Response& response) {
  const std::string declared = response.get_header_value("Content-Length");
  const std::string length = declared.empty() ? std::string("-") : declared;
  const std::string line = LocalTime() + " " + request.remote_addr + " \"" + request.method + " " +
                           request.target + "\" " + std::to_string(response.status) + " " + length;
  const std::lock_guard lock(m_log_mutex);
  if (m_log) m_log(line);
}

}  // namespace pagetap::demo
