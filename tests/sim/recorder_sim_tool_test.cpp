// The quorvel-recorder-sim program, run as a child process.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "tests/sim/pty_client.h"

extern char** environ;

namespace {

using simtest::MonotonicNs;
using simtest::PtyClient;

const std::string kProgram = std::string(QUORVEL_BIN_DIR) + "/quorvel-recorder-sim";

std::string TempPath(const std::string& leaf) {
  return ::testing::TempDir() + "sim_tool_" + std::to_string(::getpid()) + "_" + leaf;
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The program with its standard output and error on pipes.
class Child {
 public:
  explicit Child(const std::vector<std::string>& args) {
    int out[2], err[2];
    if (::pipe(out) != 0 || ::pipe(err) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, err[0]);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(kProgram.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, kProgram.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(err[1]);
    out_ = out[0];
    err_ = err[0];
  }
  ~Child() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) ::close(out_);
    if (err_ >= 0) ::close(err_);
  }

  bool Started() const { return pid_ > 0; }
  // The first line of standard output, without its line end.
  std::string FirstLine(int timeoutMs) {
    std::string line;
    std::int64_t deadline = MonotonicNs() + timeoutMs * 1000000LL;
    char c;
    while (MonotonicNs() < deadline) {
      pollfd pfd{out_, POLLIN, 0};
      if (::poll(&pfd, 1, 50) <= 0) continue;
      if (::read(out_, &c, 1) != 1) break;
      if (c == '\n') return line;
      line.push_back(c);
    }
    return line + "<no line end>";
  }
  // Waits for the exit status; -1 when it does not end in time (then killed).
  int Wait(int timeoutMs) {
    std::int64_t deadline = MonotonicNs() + timeoutMs * 1000000LL;
    while (MonotonicNs() < deadline) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return -1;
  }
  void Signal(int signalNumber) { ::kill(pid_, signalNumber); }
  std::string Drain(bool error) {
    std::string text;
    char buffer[512];
    ssize_t n;
    while ((n = ::read(error ? err_ : out_, buffer, sizeof buffer)) > 0) text.append(buffer, n);
    return text;
  }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  int err_ = -1;
};

TEST(RecorderSimTool, PrintsTheDeviceAndServesUntilTerminated) {
  Child child({});
  ASSERT_TRUE(child.Started());
  std::string device = child.FirstLine(5000);
  ASSERT_EQ(device.rfind("/dev/pts/", 0), 0u) << device;
  PtyClient client(device);
  client.Send(std::string("\x33\x00\x40", 3));
  EXPECT_EQ(client.Read(34, 2000).substr(0, 11), "Cold room 3");
  child.Signal(SIGTERM);
  EXPECT_EQ(child.Wait(5000), 0);
}

TEST(RecorderSimTool, FaultOptionsReachTheLine) {
  Child child({"--stale", "2", "--extra=3", "--extra-only", "1,3", "--stray-after", "2", "--fragment", "7", "--baud",
               "19200"});
  std::string device = child.FirstLine(5000);
  PtyClient client(device);
  ASSERT_TRUE(client.IsOpen()) << device;
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(client.Read(2, 1000), "\xEE\xEE");
  std::int64_t sent = MonotonicNs();
  client.Send(std::string("\x33\x10\x00", 3));
  std::int64_t lastNs = 0;
  std::string answer = client.Read(37, 2000, &lastNs);
  ASSERT_EQ(answer.size(), 37u);
  EXPECT_EQ(answer.substr(34), "\xEE\xEE\xEE");
  EXPECT_GE(lastNs - sent, static_cast<std::int64_t>(37 * 10 * 1e9 / 19200) - 1000000);
  // The second answer has no extra bytes but a stray one; the third its extra.
  client.Send(std::string("\x33\x10\x00", 3));
  EXPECT_EQ(client.Read(35, 2000).substr(34), "\xEE");
  client.Send(std::string("\x33\x10\x00", 3));
  EXPECT_EQ(client.Read(37, 2000).size(), 37u);
  EXPECT_EQ(client.Read(1, 100), "");
  child.Signal(SIGINT);
  EXPECT_EQ(child.Wait(5000), 0);
}

TEST(RecorderSimTool, DumpsTheImageAfterEachWriteAndOnExit) {
  std::string dump = TempPath("dump.bin");
  Child child({"--blank", "--dump", dump});
  std::string device = child.FirstLine(5000);
  EXPECT_EQ(FileBytes(dump), std::string(65536, '\0')) << "saved at start";
  PtyClient client(device);
  client.Send("\x22\x41Q");
  std::string image;
  for (int i = 0; i < 100 && (image.size() != 65536 || image[0x41] != 'Q'); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    image = FileBytes(dump);
  }
  ASSERT_EQ(image.size(), 65536u);
  EXPECT_EQ(image[0x41], 'Q');
  client.Send("\x22\x0DZ");
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  child.Signal(SIGTERM);
  EXPECT_EQ(child.Wait(5000), 0);
  image = FileBytes(dump);
  ASSERT_EQ(image.size(), 65536u);
  EXPECT_EQ(image[0x0D], 'Z');
  EXPECT_EQ(image[0x41], 'Q');
  std::remove(dump.c_str());
}

TEST(RecorderSimTool, ServesALoadedImage) {
  std::string path = TempPath("image.bin");
  std::string pattern;
  for (int i = 0; i < 0x1800; ++i) pattern.push_back(static_cast<char>(i * 13 + 5));
  std::ofstream(path, std::ios::binary) << pattern;
  Child child({"--image", path});
  PtyClient client(child.FirstLine(5000));
  client.Send(std::string("\x33\x17\xE0", 3));
  EXPECT_EQ(client.Read(34, 2000).substr(0, 32), pattern.substr(0x17E0, 32));
  client.Send(std::string("\x33\x18\x00", 3));
  EXPECT_EQ(client.Read(34, 2000), std::string(34, '\0'));
  child.Signal(SIGTERM);
  EXPECT_EQ(child.Wait(5000), 0);
  std::remove(path.c_str());
}

TEST(RecorderSimTool, BadArgumentsAreRefusedWithAMessage) {
  std::string tooLong = TempPath("too_long.bin");
  std::ofstream(tooLong, std::ios::binary) << std::string(65537, 'x');
  struct Case {
    std::vector<std::string> args;
    std::string mentioned;  // the message names what was wrong
  };
  const Case cases[] = {
      {{"--fragment", "x"}, "'x'"},
      {{"--fragment", "-1"}, "'-1'"},
      {{"--extra", "12x"}, "'12x'"},
      {{"--extra-only", "3,,9"}, "'3,,9'"},
      {{"--extra-only", "0"}, "'0'"},
      {{"--stray-after", "0"}, "'0'"},
      {{"--baud"}, "--baud"},
      {{"--baud", "99999999999"}, "99999999999"},
      {{"--silent-after", ""}, "--silent-after"},
      {{"--bogus"}, "--bogus"},
      {{"stray"}, "stray"},
      {{"--help=yes"}, "--help"},
      {{"--blank", "--image", tooLong}, "--blank"},
      {{"--image", "/nonexistent/image.bin"}, "/nonexistent/image.bin"},
      {{"--image", tooLong}, tooLong},
      {{"--dump", "/nonexistent-dir/dump.bin"}, "/nonexistent-dir/dump.bin"},
  };
  for (const Case& c : cases) {
    std::string shown;
    for (const auto& a : c.args) shown += a + " ";
    Child child(c.args);
    EXPECT_EQ(child.Wait(5000), 2) << shown;
    EXPECT_EQ(child.Drain(false), "") << shown;
    std::string message = child.Drain(true);
    EXPECT_EQ(message.rfind("quorvel-recorder-sim: ", 0), 0u) << shown << "-> " << message;
    EXPECT_NE(message.find(c.mentioned), std::string::npos) << shown << "-> " << message;
  }
  std::remove(tooLong.c_str());
}

TEST(RecorderSimTool, HelpListsTheOptions) {
  Child child({"--help"});
  EXPECT_EQ(child.Wait(5000), 0);
  std::string help = child.Drain(false);
  for (const char* option : {"--fragment", "--extra", "--stale", "--silent-after", "--hangup-after",
                             "--baud", "--image", "--dump", "--blank"}) {
    EXPECT_NE(help.find(option), std::string::npos) << option;
  }
}

}  // namespace
