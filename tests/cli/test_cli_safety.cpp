// quorvel-cli and the user's data: a download that went out of frame saves
// nothing, a completed one is kept in the archive, saves respect the file's
// own permissions, pipes are refused at once, and bytes from a file never
// reach the terminal raw.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/cli/cli_runner.h"

namespace {

namespace fs = std::filesystem;
using namespace clitest;

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  if (!fs::exists(folder)) return names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// This process's environment with some variables replaced.
std::vector<std::string> EnvironmentWith(const std::vector<std::string>& replaced) {
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    std::string entry = *e;
    bool keep = true;
    for (const std::string& r : replaced) keep = keep && entry.substr(0, r.find('=') + 1) != r.substr(0, r.find('=') + 1);
    if (keep) env.push_back(entry);
  }
  env.insert(env.end(), replaced.begin(), replaced.end());
  return env;
}

std::string Cli() { return std::string(QUORVEL_BIN_DIR) + "/quorvel-cli"; }

// A recorder holding a recording the reports can decode.
std::unique_ptr<sim::PtyRecorder> StartPlausibleRecorder(sim::Faults faults = {}) {
  auto recorder = std::make_unique<sim::PtyRecorder>(sim::RecorderMemory::Plausible(1796000000), faults);
  std::string error;
  EXPECT_TRUE(recorder->Start(&error)) << error;
  return recorder;
}

class CliSafety : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("XDG_RUNTIME_DIR", "/tmp", 0);
    dir = fs::path(::testing::TempDir()) / ("quorvel-cli-safety-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir / "data");
    fs::create_directories(dir / "config" / "quorvel");
    env = EnvironmentWith({"XDG_DATA_HOME=" + (dir / "data").string(), "XDG_CONFIG_HOME=" + (dir / "config").string()});
  }
  void TearDown() override { fs::remove_all(dir); }

  CliRun Run(std::vector<std::string> args, const std::function<void(pid_t)>& whileRunning = nullptr) {
    args.insert(args.begin(), Cli());
    return RunProgram(args, &env, whileRunning);
  }
  fs::path Archive() const { return dir / "data" / "quorvel" / "downloads"; }
  void WriteDataFile(const fs::path& path) {
    std::string text;
    for (int k = 1; k <= 3000; ++k) text += "7\r\n";
    std::ofstream(path, std::ios::binary) << text;
  }

  fs::path dir;
  std::vector<std::string> env;
};

TEST_F(CliSafety, AReadAllOutOfFrameSavesAndKeepsNothingAndExitsOne) {
  sim::Faults faults;
  faults.extra = 7;
  faults.extraOnly = {9};
  auto recorder = StartPlausibleRecorder(faults);
  CliRun run = Run({"--port", Port(*recorder), "read-all", "--save", (dir / "run.log").string()});
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_NE(run.err.find("The answers of the recorder on Com1 (" + Port(*recorder) + ") went out of frame at block "),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("the download is incomplete"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(dir / "run.log"));
  EXPECT_FALSE(fs::exists(dir / "run.dat"));
  EXPECT_TRUE(Names(Archive()).empty());
}

TEST_F(CliSafety, ACompletedReadAllIsKeptAndListedUnlessToldNot) {
  auto recorder = StartPlausibleRecorder();
  CliRun run = Run({"--port", Port(*recorder), "read-all", "--save", (dir / "run.log").string()});
  ASSERT_EQ(run.status, 0) << run.err;
  std::vector<std::string> kept = Names(Archive());
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_EQ(kept[0].size(), std::string("0123456789ABCDEF-20260101-120000.dat").size());
  EXPECT_EQ(ReadBytes(Archive() / kept[0]), ReadBytes(dir / "run.dat"));
  EXPECT_EQ(ReadBytes(Archive() / kept[1]), ReadBytes(dir / "run.log"));

  run = Run({"read-all", "--no-archive", "--port", Port(*recorder)});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Names(Archive()).size(), 2u);
  // Switched off in the window: the console keeps no copy either.
  std::ofstream(dir / "config" / "quorvel" / "quorvel.conf") << "[downloads]\narchive=false\n";
  run = Run({"read-all", "--port", Port(*recorder)});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Names(Archive()).size(), 2u);

  run = Run({"downloads"});
  ASSERT_EQ(run.status, 0) << run.err;
  std::istringstream lines(run.out);
  std::string line;
  ASSERT_TRUE(std::getline(lines, line));
  EXPECT_EQ(line.rfind((Archive() / kept[0]).string() + "\t" + kept[0].substr(0, 16) + "\t", 0), 0u) << line;
  EXPECT_FALSE(std::getline(lines, line));
  // Ready for open: the listed file opens.
  run = Run({"open", (Archive() / kept[0]).string(), "show", "serial"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Run({"downloads", "--all"}).status, 2);
}

// A file in a folder everybody may write to, owned by root and not writable
// by others: the rename would go through, yet the file is not the user's to
// replace. Run as nobody from a copy of the program nobody can reach.
TEST_F(CliSafety, AnUnprivilegedUserCannotSaveOverAFileHeMayNotWrite) {
  if (::geteuid() != 0 || ::access("/usr/bin/setpriv", X_OK) != 0) GTEST_SKIP() << "needs root and setpriv";
  fs::create_directories(dir / "bin");
  fs::copy_file(Cli(), dir / "bin" / "quorvel-cli");
  fs::create_directories(dir / "shared");
  fs::create_directories(dir / "runtime");
  for (const fs::path& p : {dir, dir / "bin", dir / "data"}) ::chmod(p.c_str(), 0755);
  ::chmod((dir / "shared").c_str(), 01777 & ~01000);  // 0777: anyone may create and rename here
  ::chmod((dir / "bin" / "quorvel-cli").c_str(), 0755);
  ASSERT_EQ(::chown((dir / "runtime").c_str(), 65534, 65534), 0);
  ::chmod((dir / "runtime").c_str(), 0700);
  WriteDataFile(dir / "Data1.dat");
  ::chmod((dir / "Data1.dat").c_str(), 0644);
  std::ofstream(dir / "shared" / "old.log") << "someone else's report";
  ::chmod((dir / "shared" / "old.log").c_str(), 0644);

  env = EnvironmentWith({"XDG_RUNTIME_DIR=" + (dir / "runtime").string(), "HOME=" + (dir / "runtime").string()});
  CliRun run = RunProgram({"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
                           (dir / "bin" / "quorvel-cli").string(), "open", (dir / "Data1.dat").string(), "save",
                           (dir / "shared" / "old.log").string()},
                          &env);
  EXPECT_EQ(run.status, 3) << run.err;
  EXPECT_NE(run.err.find((dir / "shared" / "old.log").string() + ": File access denied"), std::string::npos)
      << run.err;
  EXPECT_EQ(ReadBytes(dir / "shared" / "old.log"), "someone else's report");
  EXPECT_FALSE(fs::exists(dir / "shared" / "old.dat"));

  // The same user may save beside it under a new name.
  run = RunProgram({"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
                    (dir / "bin" / "quorvel-cli").string(), "open", (dir / "Data1.dat").string(), "save",
                    (dir / "shared" / "new.log").string()},
                   &env);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(fs::exists(dir / "shared" / "new.dat"));
}

// A named pipe as a data file or a save target would wait for ever for its
// other end; both are refused at once.
TEST_F(CliSafety, PipesAreRefusedAtOnce) {
  ASSERT_EQ(::mkfifo((dir / "pipe.dat").c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo((dir / "pipe.log").c_str(), 0600), 0);
  WriteDataFile(dir / "Data1.dat");
  // A program still waiting after 5 s is stopped, and fails the test.
  bool hung = false;
  auto watchdog = [start = Clock::now(), &hung](pid_t pid) {
    if (!hung && MsSince(start) > 5000) {
      hung = true;
      ::kill(pid, SIGKILL);
    }
  };
  CliRun run = Run({"open", (dir / "pipe.dat").string(), "show", "page0"}, watchdog);
  EXPECT_FALSE(hung);
  EXPECT_EQ(run.status, 3);
  EXPECT_EQ(run.err, (dir / "pipe.dat").string() + ": File access denied (a named pipe, not a file)\n");

  run = Run({"open", (dir / "Data1.dat").string(), "save", (dir / "pipe.log").string()}, watchdog);
  EXPECT_FALSE(hung);
  EXPECT_EQ(run.status, 3);
  EXPECT_EQ(run.err.rfind((dir / "pipe.log").string() + ": File access denied (a named pipe, not a file)\n", 0), 0u)
      << run.err;
  EXPECT_FALSE(fs::exists(dir / "pipe.dat.tmp"));
}

// A line that would retitle or recolour the terminal reaches standard error
// escaped, and the message goes on after a NUL byte.
TEST_F(CliSafety, FileBytesNeverReachTheTerminalRaw) {
  std::ofstream(dir / "evil.dat", std::ios::binary) << "1\r\n" << std::string("\x1B]0;TITLE\x07\x1B[31m\0x\r\r\n", 20);
  CliRun run = Run({"open", (dir / "evil.dat").string(), "show", "page0"});
  EXPECT_EQ(run.status, 3);
  EXPECT_EQ(run.err, (dir / "evil.dat").string() +
                         ", line 2: '\\x1B]0;TITLE\\x07\\x1B[31m\\x00x\\r' is not a valid integer value\n");
  EXPECT_EQ(run.err.find('\x1B'), std::string::npos);
}

}  // namespace
