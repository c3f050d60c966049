#include "tests/faults/RawServer.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/sockios.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <utility>

namespace pagetap::test {
namespace {

// Waits until `socket` is ready for `events` or the wake pipe is written. True when the socket
// is ready and the server is not stopping.
bool WaitUntilReady(int socket, short events, int wake) {
  pollfd watched[2] = {{socket, events, 0}, {wake, POLLIN, 0}};
  if (poll(watched, 2, -1) < 0) return false;
  return watched[1].revents == 0 && watched[0].revents != 0;
}

}  // namespace

RawServer::RawServer(std::string reply, RawEnding ending)
    : m_reply(std::move(reply)), m_ending(ending) {
  m_listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof(address);
  if (m_listener < 0 || pipe2(m_wake, O_CLOEXEC) != 0 ||
      bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      listen(m_listener, 16) != 0 ||
      getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ADD_FAILURE() << "the raw test server could not listen on 127.0.0.1";
    return;
  }
  m_port = ntohs(address.sin_port);
  m_acceptor = std::thread([this] { Accept(); });
}

RawServer::~RawServer() {
  if (m_wake[1] >= 0) {
    const char stop = 's';
    if (write(m_wake[1], &stop, 1) != 1) ADD_FAILURE() << "could not wake the raw test server";
  }
  if (m_acceptor.joinable()) m_acceptor.join();
  // The acceptor has ended, so nothing adds to m_connections any more.
  for (std::thread& connection : m_connections) connection.join();
  for (const int fd : {m_listener, m_wake[0], m_wake[1]}) {
    if (fd >= 0) close(fd);
  }
}

std::string RawServer::BaseUrl() const { return "http://127.0.0.1:" + std::to_string(m_port); }

std::vector<std::string> RawServer::Heads() const {
  const std::lock_guard lock(m_mutex);
  return m_heads;
}

bool RawServer::WaitForHeads(std::size_t count, std::chrono::milliseconds limit) const {
  std::unique_lock lock(m_mutex);
  return m_head_read.wait_for(lock, limit, [&] { return m_heads.size() >= count; });
}

bool RawServer::Stopping() const {
  pollfd wake{m_wake[0], POLLIN, 0};
  return poll(&wake, 1, 0) != 0;
}

void RawServer::Accept() {
  while (WaitUntilReady(m_listener, POLLIN, m_wake[0])) {
    const int connection = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) continue;
    const std::lock_guard lock(m_mutex);
    m_connections.emplace_back([this, connection] { Serve(connection); });
  }
}

bool RawServer::ReadHead(int connection, std::string& head) const {
  char buffer[65536];
  while (WaitUntilReady(connection, POLLIN, m_wake[0])) {
    const ssize_t got = recv(connection, buffer, sizeof(buffer), 0);
    if (got <= 0) return false;
    const std::size_t searched = head.size() < 3 ? 0 : head.size() - 3;
    head.append(buffer, static_cast<std::size_t>(got));
    const std::size_t end = head.find("\r\n\r\n", searched);
    if (end != std::string::npos) {
      head.resize(end + 4);
      return true;
    }
  }
  return false;
}

void RawServer::Serve(int connection) {
  std::string head;
  bool whole = ReadHead(connection, head);
  if (whole) {
    {
      const std::lock_guard lock(m_mutex);
      m_heads.push_back(head);
    }
    m_head_read.notify_all();
  }
  std::size_t sent = 0;
  while (whole && sent < m_reply.size() && WaitUntilReady(connection, POLLOUT, m_wake[0])) {
    const ssize_t wrote =
        send(connection, m_reply.data() + sent, m_reply.size() - sent, MSG_NOSIGNAL);
    if (wrote < 0) whole = false;
    sent += wrote > 0 ? static_cast<std::size_t>(wrote) : 0;
  }
  if (whole && m_ending == RawEnding::Reset) {
    // Only once the client has acknowledged every byte of the reply: the reset then cannot
    // overtake it, and the client reads it all before it learns of the reset.
    int unacknowledged = 0;
    while (!Stopping() && ioctl(connection, SIOCOUTQ, &unacknowledged) == 0 && unacknowledged > 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const linger abort_on_close{1, 0};
    setsockopt(connection, SOL_SOCKET, SO_LINGER, &abort_on_close, sizeof(abort_on_close));
  } else if (whole && m_ending == RawEnding::Hold) {
    WaitUntilReady(connection, POLLRDHUP, m_wake[0]);  // the client gives up, or the server stops
  }
  close(connection);
}

std::string RawReply(const std::string& body, std::size_t length,
                     const std::string& extra_headers) {
  return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(length) + "\r\n" + extra_headers +
         "\r\n" + body;
}

}  // namespace pagetap::test
