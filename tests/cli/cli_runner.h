#pragma once

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "sim/pty_recorder.h"
#include "tests/support/explicit_port.h"
#include "tests/support/support_memory_port.h"

extern char** environ;

namespace clitest {


using Clock = std::chrono::steady_clock;

struct CliRun {
  int status = -1;  // exit status, or 128 + signal
  std::string out;
  std::string err;
  long elapsedMs = 0;
};

inline long MsSince(Clock::time_point start) {
  return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// Runs `argv` (argv[0] is the program's path) with the environment `env`
// (null: this process's), capturing both streams. `whileRunning` is called
// every few milliseconds with the child's pid until it exits; the child is
// killed after 30 s so a hanging program fails instead of blocking.
inline CliRun RunProgram(std::vector<std::string> args, const std::vector<std::string>* env = nullptr,
                         const std::function<void(pid_t)>& whileRunning = nullptr) {
  CliRun run;
  std::string program = args.empty() ? std::string() : args[0];
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> envCopy = env != nullptr ? *env : std::vector<std::string>();
  std::vector<char*> envp;
  for (std::string& e : envCopy) envp.push_back(e.data());
  envp.push_back(nullptr);

  int outPipe[2];
  int errPipe[2];
  if (::pipe2(outPipe, O_CLOEXEC) != 0 || ::pipe2(errPipe, O_CLOEXEC) != 0) {
    ADD_FAILURE() << "pipe failed";
    return run;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
  posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
  pid_t pid = -1;
  Clock::time_point start = Clock::now();
  int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), env != nullptr ? envp.data() : environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(outPipe[1]);
  ::close(errPipe[1]);
  if (spawned != 0) {
    ::close(outPipe[0]);
    ::close(errPipe[0]);
    ADD_FAILURE() << "cannot start " << program;
    return run;
  }

  pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
  std::string* sinks[2] = {&run.out, &run.err};
  int open = 2;
  bool killed = false;
  while (open > 0) {
    ::poll(fds, 2, 5);
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      char buffer[4096];
      ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(n));
      } else {
        ::close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
    if (whileRunning) whileRunning(pid);
    if (!killed && MsSince(start) > 30000) {
      ::kill(pid, SIGKILL);
      killed = true;
      ADD_FAILURE() << program << " did not end within 30 s";
    }
  }
  int wstatus = 0;
  ::waitpid(pid, &wstatus, 0);
  run.elapsedMs = MsSince(start);
  run.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
  return run;
}

// Runs quorvel-cli with `args` in this process's environment.
inline CliRun RunCli(const std::vector<std::string>& args, const std::function<void(pid_t)>& whileRunning = nullptr) {
  // Quiets Qt's start-up warning, which would land in the captured messages.
  ::setenv("XDG_RUNTIME_DIR", "/tmp", 0);
  std::vector<std::string> argv = {std::string(QUORVEL_BIN_DIR) + "/quorvel-cli"};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunProgram(argv, nullptr, whileRunning);
}

inline std::unique_ptr<sim::PtyRecorder> StartRecorder(sim::Faults faults = {}) {
  auto recorder = std::make_unique<sim::PtyRecorder>(testsupport::PatternedMemory(), faults);
  std::string error;
  EXPECT_TRUE(recorder->Start(&error)) << error;
  return recorder;
}

inline std::string Port(const sim::PtyRecorder& recorder) {
  return testsupport::RequireExplicitPort(recorder.DevicePath());
}

}  // namespace clitest
