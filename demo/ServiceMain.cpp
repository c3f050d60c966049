// pagetap-demo-service [--host ADDRESS] [--port PORT]
//
// Serves the made-up video service on ADDRESS:PORT (default 127.0.0.1:8765; port 0 picks a
// free one) until SIGINT or SIGTERM. The first line on stdout is "listening on
// http://HOST:PORT"; after it comes one line per request.

#include "demo/DemoService.h"

#include <pthread.h>
#include <signal.h>

#include <charconv>
#include <cstring>
#include <ctime>
#include <iostream>
#include <mutex>
#include <optional>
#include <string>

namespace {

constexpr const char* kUsage =
    "usage: pagetap-demo-service [--host ADDRESS] [--port PORT]\n"
    "  --host ADDRESS  where to listen (default 127.0.0.1)\n"
    "  --port PORT     port to listen on (default 8765; 0 picks a free port)\n";

struct Options {
  std::string host = "127.0.0.1";
  int port = 8765;
  bool help = false;
};

std::optional<int> ParsePort(const std::string& text) {
  int port = -1;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, port);
  if (text.empty() || error != std::errc() || stop != end || port < 0 || port > 65535) {
    return std::nullopt;
  }
  return port;
}

// Takes "--name value" and "--name=value". Nothing, after a message on stderr, when wrong.
std::optional<Options> ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    std::string name = argv[i];
    std::optional<std::string> value;
    if (const auto equals = name.find('='); equals != std::string::npos) {
      value = name.substr(equals + 1);
      name.resize(equals);
    }
    if (name == "--help" || name == "-h") {
      options.help = true;
      continue;
    }
    if (name != "--host" && name != "--port") {
      std::cerr << "pagetap-demo-service: unknown option " << name << '\n';
      return std::nullopt;
    }
    if (!value && i + 1 < argc) value = argv[++i];
    if (!value) {
      std::cerr << "pagetap-demo-service: " << name << " needs a value\n";
      return std::nullopt;
    }
    if (name == "--host") {
      options.host = *value;
    } else if (const auto port = ParsePort(*value)) {
      options.port = *port;
    } else {
      std::cerr << "pagetap-demo-service: not a port: " << *value << '\n';
      return std::nullopt;
    }
  }
  return options;
}

// Request log lines come from the service's threads; whole lines go out, flushed at once,
// so that a script reading stdout sees each as it happens.
std::mutex output_mutex;

void PrintLine(const std::string& line) {
  const std::lock_guard lock(output_mutex);
  std::cout << line << std::endl;
}

// The signal that asked the service to stop, or 0 when serving ended on its own.
int WaitForStopRequest(const sigset_t& signals, const pagetap::demo::DemoService& service) {
  const timespec poll{1, 0};
  while (service.Running()) {
    const int signal = sigtimedwait(&signals, nullptr, &poll);
    if (signal > 0) return signal;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Options> options = ParseOptions(argc, argv);
  if (!options) {
    std::cerr << kUsage;
    return 2;
  }
  if (options->help) {
    std::cout << kUsage;
    return 0;
  }

  // Blocked before any thread starts, so that every thread inherits the mask and the
  // signals wait for WaitForStopRequest.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  pagetap::demo::DemoService service(PrintLine);
  const std::string error = service.Start(options->host, options->port);
  if (!error.empty()) {
    std::cerr << "pagetap-demo-service: " << error << '\n';
    return 1;
  }
  PrintLine("listening on " + service.BaseUrl());

  const int signal = WaitForStopRequest(signals, service);
  service.Stop();
  if (signal == 0) {
    std::cerr << "pagetap-demo-service: serving ended unexpectedly\n";
    return 1;
  }
  PrintLine(std::string("stopped on ") + sigabbrev_np(signal));
  return 0;
}
