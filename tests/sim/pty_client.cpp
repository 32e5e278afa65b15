#include "tests/sim/pty_client.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

#include "tests/support/explicit_port.h"

namespace simtest {

std::int64_t MonotonicNs() {
  timespec ts{};
  ::clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

PtyClient::PtyClient(const std::string& path) {
  testsupport::RequireExplicitPort(path);
  fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) return;
  termios tio{};
  ::tcgetattr(fd_, &tio);
  cfmakeraw(&tio);
  tio.c_cflag |= CLOCAL | CREAD;
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  cfsetispeed(&tio, B9600);
  cfsetospeed(&tio, B9600);
  ::tcsetattr(fd_, TCSANOW, &tio);
}

PtyClient::~PtyClient() { Close(); }

void PtyClient::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

void PtyClient::Send(std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno != EAGAIN && errno != EINTR) return;
      pollfd pfd{fd_, POLLOUT, 0};
      ::poll(&pfd, 1, 100);
      continue;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

std::string PtyClient::Read(std::size_t count, int timeoutMs, std::int64_t* lastByteNs) {
  std::string bytes;
  std::int64_t deadline = MonotonicNs() + static_cast<std::int64_t>(timeoutMs) * 1000000;
  while (bytes.size() < count) {
    std::int64_t left = deadline - MonotonicNs();
    if (left <= 0) break;
    pollfd pfd{fd_, POLLIN, 0};
    if (::poll(&pfd, 1, static_cast<int>(left / 1000000) + 1) <= 0) continue;
    if (pfd.revents & (POLLHUP | POLLERR)) break;
    char buffer[512];
    std::size_t want = count - bytes.size() < sizeof buffer ? count - bytes.size() : sizeof buffer;
    ssize_t n = ::read(fd_, buffer, want);
    if (n > 0) {
      bytes.append(buffer, static_cast<std::size_t>(n));
      if (lastByteNs) *lastByteNs = MonotonicNs();
    }
  }
  return bytes;
}

int PtyClient::Queued() const {
  int n = 0;
  if (::ioctl(fd_, FIONREAD, &n) != 0) return -errno;
  return n;
}

}  // namespace simtest
