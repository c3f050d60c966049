#include "bench/support/Commands.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <sstream>

extern char** environ;

namespace pagetap::bench {
namespace {

// Starts `command` with `input` and `output` as its standard input and output; 0 on failure.
pid_t Spawn(const CommandLine& command, int input, int output) {
  std::vector<char*> argv;
  for (const std::string& argument : command) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
  pid_t child = 0;
  const int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return spawned == 0 ? child : 0;
}

}  // namespace

std::optional<double> TimePipeline(const std::vector<CommandLine>& commands) {
  const int null_in = open("/dev/null", O_RDONLY | O_CLOEXEC);
  const int null_out = open("/dev/null", O_WRONLY | O_CLOEXEC);
  std::vector<int> pipe_fds;
  std::vector<pid_t> children;
  bool started_all = true;

  const auto started = std::chrono::steady_clock::now();
  int input = null_in;
  for (std::size_t i = 0; i < commands.size(); ++i) {
    int output = null_out;
    int next_input = -1;
    if (i + 1 < commands.size()) {
      int ends[2];
      if (pipe2(ends, O_CLOEXEC) != 0) {
        started_all = false;
        break;
      }
      pipe_fds.insert(pipe_fds.end(), {ends[0], ends[1]});
      output = ends[1];
      next_input = ends[0];
    }
    const pid_t child = Spawn(commands[i], input, output);
    if (child == 0) {
      started_all = false;
      break;
    }
    children.push_back(child);
    // The parent lets go of the write end, so the reader sees the end of its input.
    if (output != null_out) {
      close(output);
      pipe_fds.pop_back();
    }
    input = next_input;
  }
  for (const int fd : pipe_fds) close(fd);
  bool succeeded = started_all;
  for (const pid_t child : children) {
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      succeeded = false;
    }
  }
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
  close(null_in);
  close(null_out);
  if (!succeeded) return std::nullopt;
  return took.count();
}

std::optional<double> TimeCommand(const CommandLine& command) { return TimePipeline({command}); }

bool HaveProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path ? path : "");
  for (std::string folder; std::getline(folders, folder, ':');) {
    if (!folder.empty() && access((folder + "/" + name).c_str(), X_OK) == 0) return true;
  }
  return false;
}

}  // namespace pagetap::bench
