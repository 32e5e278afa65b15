// quorvel-cli as a user runs it: the built program against a simulated
// recorder on a pseudo-terminal, its output, messages and exit status.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/cli/cli_runner.h"
#include "tests/support/support_memory_port.h"

namespace {

using namespace clitest;


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
