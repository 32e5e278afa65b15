// quorvel-cli as a user runs it: the built program against a simulated
// recorder on a pseudo-terminal, its output, messages and exit status.
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

namespace {

using Clock = std::chrono::steady_clock;

struct CliRun {
  int status = -1;  // exit status, or 128 + signal
  std::string out;
  std::string err;
  long elapsedMs = 0;
};

long MsSince(Clock::time_point start) {
  return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// Runs quorvel-cli with `args`, capturing both streams. `whileRunning` is
// called every few milliseconds with the child's pid until it exits; the
// child is killed after 30 s so a hanging program fails instead of blocking.
CliRun RunCli(const std::vector<std::string>& args, const std::function<void(pid_t)>& whileRunning = nullptr) {
  CliRun run;
  // Quiets Qt's start-up warning, which would land in the captured messages.
  ::setenv("XDG_RUNTIME_DIR", "/tmp", 0);
  std::string program = std::string(QUORVEL_BIN_DIR) + "/quorvel-cli";
  std::vector<char*> argv;
  argv.push_back(program.data());
  std::vector<std::string> copies = args;
  for (std::string& a : copies) argv.push_back(a.data());
  argv.push_back(nullptr);

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
  int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
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
      ADD_FAILURE() << "quorvel-cli did not end within 30 s";
    }
  }
  int wstatus = 0;
  ::waitpid(pid, &wstatus, 0);
  run.elapsedMs = MsSince(start);
  run.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
  return run;
}

std::unique_ptr<sim::PtyRecorder> StartRecorder(sim::Faults faults = {}) {
  auto recorder = std::make_unique<sim::PtyRecorder>(testsupport::PatternedMemory(), faults);
  std::string error;
  EXPECT_TRUE(recorder->Start(&error)) << error;
  return recorder;
}

std::string Port(const sim::PtyRecorder& recorder) {
  return testsupport::RequireExplicitPort(recorder.DevicePath());
}

// "index<TAB>value" lines for entries [first, first + count) holding memory from `address`.
std::string EntryLines(int first, std::uint16_t address, int count) {
  std::ostringstream lines;
  for (int i = 0; i < count; ++i) {
    lines << first + i << '\t' << int(testsupport::PatternByte(static_cast<std::uint16_t>(address + i))) << '\n';
  }
  return lines.str();
}

// --- Downloads

TEST(CliReadRaw, SerialPrintsItsTenEntries) {
  auto recorder = StartRecorder();
  CliRun run = RunCli({"--port", Port(*recorder), "read-raw", "serial"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, EntryLines(65, 0x0200, 10));
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(recorder->Commands(), std::vector<std::string>{std::string("\x33\x02\x00", 3)});
}

TEST(CliReadRaw, EveryRegionPrintsWhatItStored) {
  struct Region {
    const char* name;
    int first;
    std::uint16_t address;
    int count;       // entries that hold memory
    int lines;       // entries printed
    std::size_t commands;
  };
  const Region regions[] = {
      {"page0", 1, 0x0000, 32, 32, 1},     {"page2", 33, 0x0040, 32, 32, 1},
      {"alarms", 73, 0x0220, 96, 98, 3},   {"histogram", 169, 0x0800, 128, 128, 4},
      {"log", 297, 0x1000, 2048, 2048, 64},
  };
  for (const Region& r : regions) {
    SCOPED_TRACE(r.name);
    auto recorder = StartRecorder();
    CliRun run = RunCli({"--port", Port(*recorder), "read-raw", r.name});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, EntryLines(r.first, r.address, r.count).size()),
              EntryLines(r.first, r.address, r.count));
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), r.lines);
    EXPECT_EQ(recorder->Commands().size(), r.commands);
  }
}

// --- Refused before anything is sent

TEST(CliReadRaw, BadArgumentsExitTwoAndSendNothing) {
  auto recorder = StartRecorder();
  const std::string port = Port(*recorder);
  const std::vector<std::vector<std::string>> cases = {
      {"--port", port, "read-raw", "nowhere"},
      {"--port", port, "read-raw"},
      {"--port", port, "read-raw", "serial", "log"},
      {"read-raw", "serial"},
      {"--port", port, "--timeout", "abc", "read-raw", "serial"},
      {"--port", port, "--timeout", "0", "read-raw", "serial"},
      {"--port", port, "--timeout", "-1", "read-raw", "serial"},
      {"--port", port, "--timeout", "read-raw", "serial"},
      {"--port", port},
  };
  for (const auto& args : cases) {
    std::string joined;
    for (const auto& a : args) joined += a + " ";
    SCOPED_TRACE(joined);
    CliRun run = RunCli(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err, "");
    EXPECT_EQ(run.out, "");
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_TRUE(recorder->Commands().empty());
}

// --- The link fails

TEST(CliReadRaw, HangUpMidDownloadExitsOneNamingThePort) {
  sim::Faults faults;
  faults.hangupAfter = 20;
  auto recorder = StartRecorder(faults);
  CliRun run = RunCli({"--port", Port(*recorder), "read-raw", "log"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find(recorder->DevicePath()), std::string::npos) << run.err;
  EXPECT_EQ(run.out, "");
  // Noticed when it happened, not at the ten-second answer time-out.
  EXPECT_LT(run.elapsedMs, 5000);
}

TEST(CliReadRaw, SilentRecorderTimesOutWithExitOne) {
  sim::Faults faults;
  faults.silentAfter = 0;
  auto recorder = StartRecorder(faults);
  CliRun run = RunCli({"--port", Port(*recorder), "--timeout", "0.3", "read-raw", "page2"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find(recorder->DevicePath()), std::string::npos) << run.err;
  EXPECT_GE(run.elapsedMs, 300);
  EXPECT_LT(run.elapsedMs, 5000);
  EXPECT_EQ(recorder->Commands().size(), 1u);
}

TEST(CliReadRaw, MissingDeviceExitsOneWithTheOpenError) {
  const std::string missing = testsupport::RequireExplicitPort("/tmp/quorvel-no-such-device-" + std::to_string(::getpid()));
  CliRun run = RunCli({"--port", missing, "read-raw", "page0"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Error opening COM:"), std::string::npos) << run.err;
  EXPECT_EQ(run.out, "");
}

TEST(CliReadRaw, InterruptDuringTheWaitExits130) {
  sim::Faults faults;
  faults.silentAfter = 0;
  auto recorder = StartRecorder(faults);
  bool sent = false;
  CliRun run = RunCli({"--port", Port(*recorder), "read-raw", "histogram"}, [&](pid_t pid) {
    // Once the command is out the program sits in its wait.
    if (!sent && !recorder->Commands().empty()) {
      ::kill(pid, SIGINT);
      sent = true;
    }
  });
  ASSERT_TRUE(sent);
  EXPECT_EQ(run.status, 130);
  EXPECT_LT(run.elapsedMs, 5000);
  EXPECT_EQ(recorder->Commands().size(), 1u);
}

}  // namespace
