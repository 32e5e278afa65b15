#include "platform/posix/posix_serial_port.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/epoll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <vector>

namespace platform {

namespace {

// Raw 9600 8N1: no parity, one stop bit, no flow control of any kind, no
// translation of bytes, reads that return at once with what is there.
void ConfigureRaw9600(termios& tio) {
  cfmakeraw(&tio);
  tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
  tio.c_cflag |= CS8 | CREAD | CLOCAL;
  tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK);
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  cfsetispeed(&tio, B9600);
  cfsetospeed(&tio, B9600);
}

}  // namespace

PosixSerialPort::~PosixSerialPort() { Close(); }

IoError PosixSerialPort::Open(const std::string& path) {
  Close();
  // Non-blocking so neither open (carrier detect) nor any read can hang; the
  // protocol only ever reads what FIONREAD says is there.
  int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return IoErrorFromErrno(errno);
  if (!::isatty(fd)) {
    ::close(fd);
    return IoErrorFromErrno(ENOTTY);
  }
  // Not shared: a second program on the same line would corrupt both.
  if (::ioctl(fd, TIOCEXCL) != 0 && errno != ENOTTY) {
    int err = errno;
    ::close(fd);
    return IoErrorFromErrno(err);
  }
  // Terminal programs and other tools that honour advisory locks hold one on
  // the device while they use it; so do we.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    int err = errno;
    ::close(fd);
    return IoErrorFromErrno(err == EWOULDBLOCK ? EBUSY : err);
  }
  fd_ = fd;

  termios tio{};
  if (::tcgetattr(fd_, &tio) == 0) {
    ConfigureRaw9600(tio);
    ::tcsetattr(fd_, TCSANOW, &tio);  // result unchecked, like the line settings write it mirrors
  }
  // Keep the recorder powered from DTR/RTS. Pseudo-terminals answer ENOTTY.
  int lines = TIOCM_DTR | TIOCM_RTS;
  modemLinesRaised_ = ::ioctl(fd_, TIOCMBIS, &lines) == 0;
  // Whatever the line received before we opened it (a late answer to a
  // program that gave up, noise while the adapter was plugged in) is no
  // answer of ours.
  ::tcflush(fd_, TCIFLUSH);

  // Edge-triggered, so the descriptor signals each new arrival once instead of
  // staying readable while a partial answer sits in the queue.
  epollFd_ = ::epoll_create1(EPOLL_CLOEXEC);
  if (epollFd_ >= 0) {
    epoll_event ev{};
    ev.events = EPOLLIN | EPOLLET | EPOLLRDHUP;
    ev.data.fd = fd_;
    if (::epoll_ctl(epollFd_, EPOLL_CTL_ADD, fd_, &ev) != 0) {
      ::close(epollFd_);
      epollFd_ = -1;
    }
  }
  return {};
}

void PosixSerialPort::Close() {
  if (epollFd_ >= 0) ::close(epollFd_);
  epollFd_ = -1;
  if (fd_ >= 0) {
    // Exclusive mode lasts until the terminal's last close; a device someone
    // else also holds open (a simulator, a monitor) would refuse our reopen.
    ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
  }
  fd_ = -1;
  modemLinesRaised_ = false;
}

IoError PosixSerialPort::Write(std::string_view bytes, std::size_t& written) {
  written = 0;
  if (fd_ < 0) return {IoStatus::NotOpen, 0};
  ssize_t n = ::write(fd_, bytes.data(), bytes.size());
  if (n < 0) return IoErrorFromErrno(errno);
  written = static_cast<std::size_t>(n);
  return {};
}

IoError PosixSerialPort::QueuedCount(std::size_t& count) {
  count = 0;
  if (fd_ < 0) return {IoStatus::NotOpen, 0};
  int n = 0;
  if (::ioctl(fd_, FIONREAD, &n) != 0) return IoErrorFromErrno(errno);
  count = n > 0 ? static_cast<std::size_t>(n) : 0;
  return {};
}

IoError PosixSerialPort::Read(std::size_t count, std::string& bytes) {
  bytes.clear();
  if (fd_ < 0) return {IoStatus::NotOpen, 0};
  bytes.resize(count);
  ssize_t n = ::read(fd_, bytes.data(), count);
  if (n < 0) {
    int err = errno;
    bytes.clear();
    if (err == EAGAIN) return {};  // nothing there after all: an empty read
    return IoErrorFromErrno(err);
  }
  bytes.resize(static_cast<std::size_t>(n));
  return {};
}

void PosixSerialPort::ConsumeWakeups() {
  if (epollFd_ < 0) return;
  // One descriptor is watched, so one call collects its edge. Calling again
  // until nothing is left would cost a system call on every wake-up of a
  // byte-by-byte answer; an arrival after this call stays signalled, which is
  // what the caller wants anyway.
  epoll_event events[1];
  ::epoll_wait(epollFd_, events, 1, 0);
}

namespace {

std::string UserNameOf(uid_t uid) {
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr) return found->pw_name;
  return std::to_string(uid);
}

std::string GroupNameOf(gid_t gid) {
  std::vector<char> buffer(16384);
  group entry{};
  group* found = nullptr;
  if (::getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr) return found->gr_name;
  return std::to_string(gid);
}

// Whether the user database puts `user` in `gid` (a new login would get it).
bool UserDatabaseHasGroup(uid_t uid, gid_t gid) {
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) return false;
  if (found->pw_gid == gid) return true;
  int count = 64;
  std::vector<gid_t> groups(static_cast<std::size_t>(count));
  if (::getgrouplist(found->pw_name, found->pw_gid, groups.data(), &count) < 0) {
    groups.resize(static_cast<std::size_t>(count));
    if (::getgrouplist(found->pw_name, found->pw_gid, groups.data(), &count) < 0) return false;
  }
  groups.resize(static_cast<std::size_t>(count));
  return std::find(groups.begin(), groups.end(), gid) != groups.end();
}

// Whether this process already runs with `gid`.
bool SessionHasGroup(gid_t gid) {
  if (::getegid() == gid) return true;
  int count = ::getgroups(0, nullptr);
  if (count <= 0) return false;
  std::vector<gid_t> groups(static_cast<std::size_t>(count));
  count = ::getgroups(count, groups.data());
  if (count < 0) return false;
  groups.resize(static_cast<std::size_t>(count));
  return std::find(groups.begin(), groups.end(), gid) != groups.end();
}

}  // namespace

DeviceAccess PosixSerialPort::DescribeAccess(const std::string& path) const {
  DeviceAccess access;
  struct stat node {};
  if (::stat(path.c_str(), &node) != 0) return access;
  access.known = true;
  access.owner = UserNameOf(node.st_uid);
  access.group = GroupNameOf(node.st_gid);
  access.groupMayReadWrite = (node.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
  access.userName = UserNameOf(::geteuid());
  access.userInGroup = UserDatabaseHasGroup(::geteuid(), node.st_gid);
  access.sessionHasGroup = SessionHasGroup(node.st_gid);
  return access;
}

std::unique_ptr<SerialPort> CreateSystemSerialPort() { return std::make_unique<PosixSerialPort>(); }

}  // namespace platform
