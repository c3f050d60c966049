#include "tests/demo/RunningService.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

using pagetap::test::Get;
using pagetap::test::RunningService;

extern char** environ;

namespace {

// pagetap-demo-service run as a child process, its stdout read line by line.
class ServiceProcess {
 public:
  explicit ServiceProcess(const std::vector<std::string>& options) {
    int pipe_ends[2];
    if (pipe(pipe_ends) != 0) {
      ADD_FAILURE() << "no pipe";
      return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipe_ends[0]);
    std::vector<std::string> words = {PAGETAP_DEMO_SERVICE};
    words.insert(words.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
      ADD_FAILURE() << "could not start " << argv[0];
      m_pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    close(pipe_ends[1]);
    m_out = pipe_ends[0];
  }

  ~ServiceProcess() {
    if (m_pid > 0) {
      kill(m_pid, SIGKILL);
      waitpid(m_pid, nullptr, 0);
    }
    close(m_out);
  }

  // The next line without its newline; empty once stdout is closed.
  std::string ReadLine() {
    std::string line;
    char c = 0;
    while (read(m_out, &c, 1) == 1 && c != '\n') line += c;
    return line;
  }

  void Signal(int signal) { kill(m_pid, signal); }

  // The exit code, or -1 when the process did not exit normally.
  int Wait() {
    int status = 0;
    waitpid(m_pid, &status, 0);
    m_pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t m_pid = -1;
  int m_out = -1;
};

TEST(DemoProgram, PrintsItsAddressLogsRequestsAndStopsOnSignals) {
  for (const int signal : {SIGINT, SIGTERM}) {
    ServiceProcess process({"--port", "0"});
    const std::string first = process.ReadLine();
    const std::string prefix = "listening on http://127.0.0.1:";
    ASSERT_EQ(first.rfind(prefix, 0), 0u) << first;
    const std::string base = first.substr(std::string("listening on ").size());

    EXPECT_EQ(Get(base + "/top_video?count=100&relative=after&type=top_week").status, 200);
    EXPECT_EQ(Get(base + "/no/such/page").status, 404);
    // Each request is logged after its answer went out, so the two lines may come in
    // either order.
    const std::string lines = process.ReadLine() + "\n" + process.ReadLine();
    EXPECT_NE(lines.find("\"GET /top_video?count=100&relative=after&type=top_week\" 200 "),
              std::string::npos)
        << lines;
    EXPECT_NE(lines.find("\"GET /no/such/page\" 404 "), std::string::npos) << lines;

    process.Signal(signal);
    EXPECT_EQ(process.ReadLine(), std::string("stopped on ") + sigabbrev_np(signal));
    EXPECT_EQ(process.Wait(), 0);
  }
}

TEST(DemoProgram, RefusesBadOptionsAndABusyPort) {
  for (const std::vector<std::string>& options :
       {std::vector<std::string>{"--port", "70000"}, {"--port"}, {"--colour", "blue"}}) {
    ServiceProcess process(options);
    EXPECT_EQ(process.Wait(), 2) << options[0];
  }
  RunningService service;
  ServiceProcess second({"--port=" + std::to_string(service.Port())});
  EXPECT_EQ(second.Wait(), 1) << "a second service shared port " << service.Port();
}

TEST(DemoService, LogsOneLinePerRequest) {
  RunningService service;
  const std::vector<std::string> paths = {"/echo", "/top_video", "/missing", "/gzip"};
  for (const std::string& path : paths) Get(service.Url(path));
  ASSERT_TRUE(service.WaitForLogLines(paths.size(), std::chrono::seconds(10)));
  const std::vector<std::string> lines = service.LogLines();
  EXPECT_EQ(lines.size(), paths.size());
  for (const std::string& path : paths) {
    const std::string logged = "127.0.0.1 \"GET " + path + "\" ";
    EXPECT_EQ(std::count_if(
                  lines.begin(), lines.end(),
                  [&](const std::string& line) { return line.find(logged) != std::string::npos; }),
              1)
        << path;
  }
}

}  // namespace
