#include "process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <thread>

extern char** environ;

namespace e2e {

Process::Process(const std::string& path, const std::vector<std::string>& unset,
                 const std::string& stderrPath) {
  std::vector<std::string> keep;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    bool drop = false;
    for (const std::string& name : unset) {
      drop |= std::strncmp(*entry, name.c_str(), name.size()) == 0 && (*entry)[name.size()] == '=';
    }
    if (!drop) keep.emplace_back(*entry);
  }
  std::vector<char*> envp;
  for (std::string& entry : keep) envp.push_back(entry.data());
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!stderrPath.empty()) {
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, stderrPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
  }
  std::string program = path;
  char* argv[] = {program.data(), nullptr};
  if (posix_spawn(&pid_, path.c_str(), &actions, nullptr, argv, envp.data()) != 0) pid_ = -1;
  posix_spawn_file_actions_destroy(&actions);
}

Process::~Process() {
  if (Running()) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
}

bool Process::Running() {
  if (pid_ < 0 || status_) return false;
  int raw = 0;
  if (waitpid(pid_, &raw, WNOHANG) == pid_) {
    status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    return false;
  }
  return true;
}

void Process::Signal(int signal) {
  if (Running()) kill(pid_, signal);
}

std::optional<int> Process::WaitExit(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (Running() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  Running();
  return status_;
}

}  // namespace e2e
