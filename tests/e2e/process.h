// Starting the program under test and watching it end.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

class Process {
 public:
  // Starts `path` with the current environment, less the variables named in
  // `unset`; its stderr goes to `stderrPath` when one is given.
  Process(const std::string& path, const std::vector<std::string>& unset = {},
          const std::string& stderrPath = "");
  ~Process();  // kills the process if it still runs
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  bool Running();
  void Signal(int signal);

  // The exit status once the process has ended within `timeout`; a process
  // killed by a signal reads as 128 + signal.
  std::optional<int> WaitExit(std::chrono::milliseconds timeout);

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
};

}  // namespace e2e
