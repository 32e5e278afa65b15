// bench_download: a full download (all six read procedures, 74 read
// commands) from quorvel-recorder-sim running as a separate process, paced
// at 9600 baud. Prints the wall time against the line time the recorder's
// answers need, and this process's CPU time during the reads: a wait that
// spins shows up as CPU, a wait that wakes late as wall time over line time.
//
// Usage: bench_download [--runs N] [--baud B] [--paced-wait]
// --paced-wait measures an alternative wait (see CountingPump), not the
// program's own.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/logger_protocol.h"
#include "app/serial_link.h"
#include "platform/posix/poll_event_pump.h"
#include "platform/posix/posix_serial_port.h"
#include "platform/posix/system_clock.h"

extern char** environ;

namespace {

constexpr int kReadCommands = 74;
constexpr int kAnswerBytes = 34;
constexpr int kBitsPerByte = 10;

double Seconds(clockid_t clock) {
  timespec ts{};
  ::clock_gettime(clock, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

std::string ProgramDirectory() {
  std::vector<char> path(4096);
  ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
  if (n <= 0) return ".";
  std::string self(path.data(), static_cast<std::size_t>(n));
  return self.substr(0, self.rfind('/'));
}

// Passes everything to the termios port and keeps the last queued count, for
// the paced-wait experiment below.
class CountKeepingPort final : public platform::SerialPort {
 public:
  CountKeepingPort() : inner_(platform::CreateSystemSerialPort()) {}
  platform::IoError Open(const std::string& path) override { return inner_->Open(path); }
  void Close() override { inner_->Close(); }
  bool IsOpen() const override { return inner_->IsOpen(); }
  platform::IoError Write(std::string_view bytes, std::size_t& written) override {
    return inner_->Write(bytes, written);
  }
  platform::IoError QueuedCount(std::size_t& count) override {
    platform::IoError result = inner_->QueuedCount(count);
    lastCount = count;
    return result;
  }
  platform::IoError Read(std::size_t count, std::string& bytes) override {
    lastCount = 0;
    return inner_->Read(count, bytes);
  }
  int WakeDescriptor() const override { return inner_->WakeDescriptor(); }
  void ConsumeWakeups() override { inner_->ConsumeWakeups(); }
  std::size_t lastCount = 0;

 private:
  std::unique_ptr<platform::SerialPort> inner_;
};

// Counts how often the wait sleeps, to tell a spinning wait from one that
// wakes once per arriving byte or piece.
//
// With `pacedBaud` set it also tries an alternative wait: once part of an
// answer is queued, the rest cannot arrive faster than the line carries it,
// so it sleeps until just before the last byte on time alone instead of
// waking for every byte.
class CountingPump final : public platform::EventPump {
 public:
  void ProcessPendingEvents() override {
    ++processCalls;
    inner.ProcessPendingEvents();
  }
  void WaitForActivity(int descriptor, int timeoutMs) override {
    ++waitCalls;
    if (pacedBaud > 0 && port != nullptr && port->lastCount > 0 && port->lastCount < kAnswerBytes) {
      // All but the last byte: that one is waited for on the descriptor, so
      // the answer is read the moment it is complete.
      int restMs = static_cast<int>((kAnswerBytes - port->lastCount - 1) * kBitsPerByte * 1000 / pacedBaud);
      if (restMs > 0) {
        inner.WaitForActivity(-1, timeoutMs < 0 ? restMs : std::min(restMs, timeoutMs));
        return;
      }
    }
    inner.WaitForActivity(descriptor, timeoutMs);
  }
  platform::PollEventPump inner;
  const CountKeepingPort* port = nullptr;
  int pacedBaud = 0;
  long processCalls = 0;
  long waitCalls = 0;
};

struct Simulator {
  pid_t pid = -1;
  std::string devicePath;
};

// Starts the simulator and reads the device path from its first line.
bool StartSimulator(const std::string& program, int baud, Simulator& sim) {
  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  std::string baudText = std::to_string(baud);
  std::vector<char*> argv = {const_cast<char*>(program.c_str()), const_cast<char*>("--baud"), baudText.data(),
                             nullptr};
  int spawned = posix_spawn(&sim.pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  if (spawned != 0) {
    ::close(out[0]);
    std::fprintf(stderr, "bench_download: cannot start %s: %s\n", program.c_str(), std::strerror(spawned));
    return false;
  }
  std::string line;
  pollfd pfd{out[0], POLLIN, 0};
  while (line.find('\n') == std::string::npos && ::poll(&pfd, 1, 5000) > 0) {
    char buffer[256];
    ssize_t n = ::read(out[0], buffer, sizeof buffer);
    if (n <= 0) break;
    line.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(out[0]);
  std::size_t end = line.find('\n');
  if (end == std::string::npos || end == 0) {
    std::fprintf(stderr, "bench_download: the simulator printed no device path\n");
    return false;
  }
  sim.devicePath = line.substr(0, end);
  return true;
}

void StopSimulator(Simulator& sim) {
  if (sim.pid <= 0) return;
  ::kill(sim.pid, SIGTERM);
  ::waitpid(sim.pid, nullptr, 0);
  sim.pid = -1;
}

struct RunResult {
  bool ok = false;
  double wall = 0;
  double cpu = 0;
  long waits = 0;
  long pumps = 0;
  long voluntarySwitches = 0;
};

RunResult DownloadOnce(const std::string& devicePath, int pacedBaud) {
  RunResult result;
  auto owned = std::make_unique<CountKeepingPort>();
  const CountKeepingPort* port = owned.get();
  logger::SerialLink link(std::move(owned));
  platform::IoError opened = link.OpenPort(devicePath);
  if (!opened.Ok()) {
    std::fprintf(stderr, "bench_download: cannot open %s: %s\n", devicePath.c_str(), opened.Describe().c_str());
    return result;
  }
  logger::LoggerState state;
  CountingPump pump;
  pump.port = port;
  pump.pacedBaud = pacedBaud;
  platform::SystemClock clock;
  platform::NoCursor cursor;
  logger::LoggerProtocol protocol(link, state, pump, clock, cursor);
  protocol.SetAnswerTimeoutMs(10000);

  rusage before{};
  ::getrusage(RUSAGE_SELF, &before);
  double wall0 = Seconds(CLOCK_MONOTONIC);
  double cpu0 = Seconds(CLOCK_PROCESS_CPUTIME_ID);
  // One command, as Read All runs it: framed from its first answer, and
  // checked for bytes after its last.
  protocol.BeginCommand();
  protocol.ReadPage0();
  protocol.ReadPage2();
  protocol.ReadSerialNumber();
  protocol.ReadAlarmRecords();
  protocol.ReadHistogram();
  protocol.ReadTemperatureLog();
  protocol.EndCommand();
  result.cpu = Seconds(CLOCK_PROCESS_CPUTIME_ID) - cpu0;
  result.wall = Seconds(CLOCK_MONOTONIC) - wall0;
  rusage after{};
  ::getrusage(RUSAGE_SELF, &after);

  result.waits = pump.waitCalls;
  result.pumps = pump.processCalls;
  result.voluntarySwitches = after.ru_nvcsw - before.ru_nvcsw;
  result.ok = protocol.Stop() == logger::CommandStop::None;
  if (!result.ok) std::fprintf(stderr, "bench_download: the download did not finish\n");
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 3;
  int baud = 9600;
  bool pacedWait = false;
  bool bad = false;
  for (int i = 1; i < argc; ++i) {
    std::string name = argv[i];
    if (name == "--paced-wait") {
      pacedWait = true;
    } else if ((name == "--runs" || name == "--baud") && i + 1 < argc) {
      (name == "--runs" ? runs : baud) = std::atoi(argv[++i]);
    } else {
      bad = true;
    }
  }
  if (bad || runs < 1 || baud < 1) {
    std::fprintf(stderr, "usage: bench_download [--runs N] [--baud B] [--paced-wait]\n");
    return 2;
  }

  Simulator sim;
  if (!StartSimulator(ProgramDirectory() + "/quorvel-recorder-sim", baud, sim)) return 1;

  const double lineTime = static_cast<double>(kReadCommands) * kAnswerBytes * kBitsPerByte / baud;
  std::printf("full download: %d read commands, %d answer bytes, %d baud, simulator on %s%s\n", kReadCommands,
              kReadCommands * kAnswerBytes, baud, sim.devicePath.c_str(),
              pacedWait ? " (experiment: paced wait)" : "");
  std::printf("%-4s %9s %9s %7s %9s %7s %7s %9s\n", "run", "wall s", "line s", "ratio", "cpu ms", "cpu %", "waits",
              "cswitch");
  bool allOk = true;
  double worstRatio = 0;
  double worstCpuShare = 0;
  for (int run = 1; run <= runs; ++run) {
    RunResult r = DownloadOnce(sim.devicePath, pacedWait ? baud : 0);
    allOk = allOk && r.ok;
    double ratio = r.wall / lineTime;
    double cpuShare = 100.0 * r.cpu / r.wall;
    if (ratio > worstRatio) worstRatio = ratio;
    if (cpuShare > worstCpuShare) worstCpuShare = cpuShare;
    std::printf("%-4d %9.3f %9.3f %7.4f %9.2f %7.2f %7ld %9ld\n", run, r.wall, lineTime, ratio, r.cpu * 1000.0,
                cpuShare, r.waits, r.voluntarySwitches);
  }
  StopSimulator(sim);

  std::printf("worst ratio wall/line %.4f (goal <= 1.03), worst CPU %.2f %% of wall (goal < 2 %%)\n", worstRatio,
              worstCpuShare);
  return allOk ? 0 : 1;
}
