#include "sim/pty_recorder.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <deque>

namespace sim {

namespace {

constexpr std::int64_t kNsPerMs = 1000000;
// Fragments sent at memory speed are this far apart, so a reader sees each
// one arrive on its own.
constexpr std::int64_t kFragmentGapNs = 5 * kNsPerMs;
// Closer than this to a deadline we sleep to it exactly instead of polling,
// whose timeout only has millisecond steps.
constexpr std::int64_t kSleepWindowNs = 2 * kNsPerMs;
// Before hanging up, give the client the chance to read the last answer:
// wait until the line's input queue is empty (and long enough after the last
// write that the bytes have surely reached it), but no longer than the limit.
constexpr std::int64_t kDrainSettleNs = 20 * kNsPerMs;
constexpr std::int64_t kDrainLimitNs = 2000 * kNsPerMs;
constexpr int kDrainPollMs = 2;

std::int64_t MonotonicNs() {
  timespec ts{};
  ::clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

void SleepUntilNs(std::int64_t deadlineNs) {
  timespec ts{};
  ts.tv_sec = static_cast<time_t>(deadlineNs / 1000000000);
  ts.tv_nsec = static_cast<long>(deadlineNs % 1000000000);
  while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
  }
}

void CloseDescriptor(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

bool SetFlag(int fd, int getCommand, int setCommand, int flag) {
  int flags = ::fcntl(fd, getCommand);
  return flags >= 0 && ::fcntl(fd, setCommand, flags | flag) == 0;
}

}  // namespace

struct PtyRecorder::State {
  State(RecorderMemory m, Faults f) : memory(std::move(m)), faults(f), engine(memory, f) {}

  mutable std::mutex mutex;  // guards memory, engine and commandTimesMs
  RecorderMemory memory;
  const Faults faults;
  RecorderEngine engine;  // works on `memory`
  std::vector<std::int64_t> commandTimesMs;
  std::string unasked;  // guarded by mutex; bytes to send without a command
  std::atomic<bool> hungUp{false};
  std::atomic<bool> stopping{false};
  bool started = false;

  int master = -1;
  int slave = -1;  // held open so the line survives a client's close
  int wakeRead = -1;
  int wakeWrite = -1;

  // Serving thread only.
  struct Outgoing {
    std::string bytes;
    std::int64_t deadlineNs;  // monotonic; the bytes leave no earlier
  };
  std::deque<Outgoing> out;
  bool blocked = false;  // the client is not reading and the master is full
  std::int64_t lineFreeNs = 0;
  std::int64_t lastWriteNs = 0;
  bool hangUpPending = false;

  void CloseAll() {
    CloseDescriptor(master);
    CloseDescriptor(slave);
    CloseDescriptor(wakeRead);
    CloseDescriptor(wakeWrite);
  }
};

PtyRecorder::PtyRecorder(RecorderMemory memory, Faults faults)
    : state_(std::make_unique<State>(std::move(memory), faults)) {}

PtyRecorder::~PtyRecorder() { Stop(); }

bool PtyRecorder::Start(std::string* error) {
  State& s = *state_;
  auto fail = [&](const std::string& what) {
    if (error) *error = what + ": " + std::strerror(errno);
    s.CloseAll();
    return false;
  };
  if (s.started) {
    if (error) *error = "the simulated recorder is already started";
    return false;
  }
  if (::openpty(&s.master, &s.slave, nullptr, nullptr, nullptr) != 0) {
    return fail("cannot open a pseudo-terminal");
  }
  // Close-on-exec: a child program inheriting the master would keep the
  // line alive after a hang-up.
  if (!SetFlag(s.master, F_GETFD, F_SETFD, FD_CLOEXEC) ||
      !SetFlag(s.slave, F_GETFD, F_SETFD, FD_CLOEXEC) ||
      !SetFlag(s.master, F_GETFL, F_SETFL, O_NONBLOCK)) {
    return fail("cannot set up the pseudo-terminal");
  }
  // Raw before anyone can open the device: with the default echo on, every
  // answer byte would come straight back to us as if the client sent it.
  termios tio{};
  if (::tcgetattr(s.slave, &tio) != 0) return fail("cannot read the terminal settings");
  cfmakeraw(&tio);
  tio.c_cflag |= CLOCAL | CREAD;
  cfsetispeed(&tio, B9600);
  cfsetospeed(&tio, B9600);
  if (::tcsetattr(s.slave, TCSANOW, &tio) != 0) return fail("cannot make the terminal raw");

  char name[128];
  if (::ptsname_r(s.master, name, sizeof name) != 0) return fail("cannot name the pseudo-terminal");
  devicePath_ = name;

  int wake[2];
  if (::pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) return fail("cannot create a pipe");
  s.wakeRead = wake[0];
  s.wakeWrite = wake[1];

  // Stale bytes are on the line before the caller gets the device's name.
  std::string stale = s.engine.StaleBytes();
  if (!stale.empty()) {
    ssize_t n = ::write(s.master, stale.data(), stale.size());
    std::size_t written = n > 0 ? static_cast<std::size_t>(n) : 0;
    if (written < stale.size()) s.out.push_back({stale.substr(written), 0});
    s.lastWriteNs = MonotonicNs();
  }

  s.started = true;
  thread_ = std::thread(&PtyRecorder::Serve, this);
  return true;
}

void PtyRecorder::Stop() {
  State& s = *state_;
  if (thread_.joinable()) {
    s.stopping = true;
    char wake = 1;
    [[maybe_unused]] ssize_t n = ::write(s.wakeWrite, &wake, 1);
    thread_.join();
  }
  s.CloseAll();
}

void PtyRecorder::SendUnasked(const std::string& bytes) {
  State& s = *state_;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    s.unasked += bytes;
  }
  char wake = 1;
  [[maybe_unused]] ssize_t n = ::write(s.wakeWrite, &wake, 1);
}

std::vector<std::string> PtyRecorder::Commands() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->engine.Commands();
}

std::vector<std::int64_t> PtyRecorder::CommandTimesMs() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->commandTimesMs;
}

RecorderMemory PtyRecorder::Memory() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->memory;
}

bool PtyRecorder::HungUp() const { return state_->hungUp; }

void PtyRecorder::Serve() {
  State& s = *state_;
  while (!s.stopping) {
    int timeoutMs = -1;
    short masterEvents = s.hangUpPending ? 0 : POLLIN;
    if (!s.out.empty()) {
      if (s.blocked) {
        masterEvents |= POLLOUT;
      } else {
        std::int64_t wait = s.out.front().deadlineNs - kSleepWindowNs - MonotonicNs();
        timeoutMs = wait <= 0 ? 0 : static_cast<int>((wait + kNsPerMs - 1) / kNsPerMs);
      }
    } else if (s.hangUpPending) {
      timeoutMs = kDrainPollMs;
    }

    pollfd fds[2] = {{s.master, masterEvents, 0}, {s.wakeRead, POLLIN, 0}};
    if (::poll(fds, 2, timeoutMs) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (fds[1].revents != 0) {
      if (s.stopping) break;  // Stop()
      // SendUnasked: empty the wake pipe and queue the bytes.
      char drain[64];
      while (::read(s.wakeRead, drain, sizeof drain) > 0) {
      }
      Reply noise;
      {
        std::lock_guard<std::mutex> lock(s.mutex);
        if (!s.unasked.empty()) noise.pieces.push_back(std::move(s.unasked));
        s.unasked.clear();
      }
      Enqueue(noise, MonotonicNs());
    }
    if (fds[0].revents & POLLIN) {
      ReadCommands();
    } else if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
      break;  // cannot happen while we hold the slave open; do not spin if it does
    }
    if (fds[0].revents & POLLOUT) s.blocked = false;

    if (!s.out.empty() && !s.blocked) {
      std::int64_t deadline = s.out.front().deadlineNs;
      if (deadline - MonotonicNs() <= kSleepWindowNs) {
        SleepUntilNs(deadline);
        if (!WriteFront()) break;
      }
    } else if (s.out.empty() && s.hangUpPending && ClientHasDrained(MonotonicNs())) {
      HangUp();
      break;
    }
  }
}

void PtyRecorder::ReadCommands() {
  State& s = *state_;
  char buffer[4096];
  ssize_t n = ::read(s.master, buffer, sizeof buffer);
  if (n <= 0) return;  // EAGAIN: someone was quicker; anything else shows in poll
  // The moment the command's last byte arrived; answers are timed from it.
  std::int64_t arrivalNs = MonotonicNs();
  Reply reply;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    std::size_t before = s.engine.Commands().size();
    reply = s.engine.Receive(std::string_view(buffer, static_cast<std::size_t>(n)),
                             arrivalNs / kNsPerMs);
    const std::vector<std::string>& commands = s.engine.Commands();
    bool wrote = false;
    for (std::size_t i = before; i < commands.size(); ++i) {
      s.commandTimesMs.push_back(arrivalNs / kNsPerMs);
      wrote = wrote || static_cast<std::uint8_t>(commands[i][0]) == 0x22;
    }
    if (wrote && OnWrite) OnWrite(s.memory);
  }
  Enqueue(reply, arrivalNs);
  if (reply.hangUp) s.hangUpPending = true;
}

void PtyRecorder::Enqueue(const Reply& reply, std::int64_t arrivalNs) {
  State& s = *state_;
  if (reply.pieces.empty()) return;
  if (s.faults.baud > 0) {
    // Byte i leaves when its ten bits are through: t0 + (i + 1) * 10 / baud,
    // every deadline from t0 so rounding never adds up. An answer cannot
    // start before the previous one has left the line.
    std::int64_t t0 = std::max(arrivalNs, s.lineFreeNs);
    double byteNs = 1e10 / s.faults.baud;
    std::int64_t i = 0;
    for (const std::string& piece : reply.pieces) {
      for (char byte : piece) {
        ++i;
        s.out.push_back({std::string(1, byte), t0 + std::llround(static_cast<double>(i) * byteNs)});
      }
    }
    s.lineFreeNs = t0 + std::llround(static_cast<double>(i) * byteNs);
  } else if (s.faults.fragment > 0) {
    std::int64_t at = std::max(arrivalNs, s.lineFreeNs + kFragmentGapNs);
    for (const std::string& piece : reply.pieces) {
      s.out.push_back({piece, at});
      s.lineFreeNs = at;
      at += kFragmentGapNs;
    }
  } else {
    for (const std::string& piece : reply.pieces) s.out.push_back({piece, 0});
  }
}

// Writes what it can of the first outgoing piece. False when the line is
// gone and serving should end.
bool PtyRecorder::WriteFront() {
  State& s = *state_;
  State::Outgoing& front = s.out.front();
  ssize_t n = ::write(s.master, front.bytes.data(), front.bytes.size());
  if (n < 0) {
    if (errno == EAGAIN || errno == EINTR) {
      s.blocked = errno == EAGAIN;
      return true;
    }
    return false;
  }
  s.lastWriteNs = MonotonicNs();
  front.bytes.erase(0, static_cast<std::size_t>(n));
  if (front.bytes.empty()) s.out.pop_front();
  return true;
}

bool PtyRecorder::ClientHasDrained(std::int64_t nowNs) const {
  const State& s = *state_;
  std::int64_t sinceWrite = nowNs - s.lastWriteNs;
  if (sinceWrite >= kDrainLimitNs) return true;
  int queued = 0;
  return sinceWrite >= kDrainSettleNs && ::ioctl(s.slave, FIONREAD, &queued) == 0 && queued == 0;
}

void PtyRecorder::HangUp() {
  State& s = *state_;
  // Flag first: a client that sees the hang-up must also see HungUp().
  s.hungUp = true;
  // Closing the master hangs up every slave descriptor: the client's queued
  // count fails with EIO and its poll reports POLLHUP.
  CloseDescriptor(s.master);
  CloseDescriptor(s.slave);
}

}  // namespace sim
