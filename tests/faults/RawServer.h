#pragma once

// A listener on 127.0.0.1 (ephemeral port) for the faults an HTTP server library won't commit.
// For every connection it reads the request head, writes one fixed reply, and then closes the
// connection, resets it, or holds it open without another byte until the server is destroyed.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace pagetap::test {

enum class RawEnding { Close, Reset, Hold };

class RawServer {
 public:
  RawServer(std::string reply, RawEnding ending);
  ~RawServer();  // wakes held connections, closes every socket and joins every thread
  RawServer(const RawServer&) = delete;
  RawServer& operator=(const RawServer&) = delete;

  std::string BaseUrl() const;  // "http://127.0.0.1:PORT"

  // The request heads read so far, in arrival order, each up to and including its blank line.
  std::vector<std::string> Heads() const;
  // True once `count` heads have been read; waits up to `limit` for them.
  bool WaitForHeads(std::size_t count, std::chrono::milliseconds limit) const;

 private:
  void Accept();
  void Serve(int connection);
  bool ReadHead(int connection, std::string& head) const;
  bool Stopping() const;

  std::string m_reply;
  RawEnding m_ending;
  int m_listener = -1;
  int m_port = 0;
  int m_wake[2] = {-1, -1};  // a pipe, written once when the server stops
  std::thread m_acceptor;

  mutable std::mutex m_mutex;
  mutable std::condition_variable m_head_read;
  std::vector<std::string> m_heads;
  std::vector<std::thread> m_connections;
};

// An HTTP/1.1 200 reply head announcing `length` body bytes, followed by `body`.
std::string RawReply(const std::string& body, std::size_t length,
                     const std::string& extra_headers = "");

}  // namespace pagetap::test
