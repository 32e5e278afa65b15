// quorvel-cli's download, configuration and file commands: the same
// workflow code as the window, driven from the command line.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "tests/cli/cli_runner.h"

namespace {

namespace fs = std::filesystem;
using namespace clitest;

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The recording the report goldens were made from, its clock stopped.
std::unique_ptr<sim::PtyRecorder> StartFrozenRecorder(sim::Faults faults = {}) {
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  sim::RecorderMemory frozen;
  frozen.Raw() = sim::RecorderMemory::Plausible(1796000000).Raw();
  auto recorder = std::make_unique<sim::PtyRecorder>(frozen, faults);
  std::string error;
  EXPECT_TRUE(recorder->Start(&error)) << error;
  return recorder;
}

std::vector<std::string> Golden(const char* name) {
  std::ifstream in(std::string(QUORVEL_TEST_SOURCE_DIR) + "/../app/golden/" + name);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class CliFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::path(::testing::TempDir()) / ("quorvel-cli-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  fs::path dir;
};

TEST(CliReadAll, PrintsEveryReportInPaneOrder) {
  auto recorder = StartFrozenRecorder();
  CliRun run = RunCli({"--port", Port(*recorder), "read-all"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Lines(run.out), Golden("read_all.txt"));
  EXPECT_EQ(recorder->Commands().size(), 74u);
}

TEST(CliReadPage0, PrintsThePage0Report) {
  auto recorder = StartFrozenRecorder();
  CliRun run = RunCli({"--port", Port(*recorder), "read-page0"});
  EXPECT_EQ(run.status, 0) << run.err;
  auto golden = Golden("read_all.txt");
  EXPECT_EQ(Lines(run.out), std::vector<std::string>(golden.begin(), golden.begin() + 16));
}

TEST(CliSetup, BadValuesAreRefusedBeforeAnythingIsSent) {
  auto recorder = StartFrozenRecorder();
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{"--interval", "0"}, "1 to 255"},
      {{"--interval", "ten"}, "'ten' is not a valid integer value"},
      {{"--delay", "70000"}, "0 to 65535"},
      {{"--low", "-41"}, "-40 to 84"},
      {{"--high", "warm"}, "'warm' is not a valid floating point value"},
      {{"--description", "\u03A9 room"}, "Windows-1252"},
      {{"--description", std::string(33, 'x')}, "32 characters"},
      {{"--interval"}, "needs a value"},
      {{"--colour", "red"}, "unknown option"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"--port", Port(*recorder), "setup"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    CliRun run = RunCli(args);
    EXPECT_EQ(run.status, 2) << c.message;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
  CliRun run = RunCli({"--port", Port(*recorder), "set-description", "\u03A9"});
  EXPECT_EQ(run.status, 2);
  EXPECT_TRUE(recorder->Commands().empty());
}

TEST(CliSetup, TypesTheValuesOverTheDialogAndPressesOk) {
  auto recorder = StartFrozenRecorder();
  CliRun run = RunCli({"--port", Port(*recorder), "setup", "--interval", "10", "--delay", "300", "--low", "-10",
                       "--high", "30", "--button", "--description", "Cold room"});
  ASSERT_EQ(run.status, 0) << run.err;
  auto commands = recorder->Commands();
  ASSERT_GE(commands.size(), 2u + 8u + 32u);
  EXPECT_EQ(commands[2], Bytes({0x22, 0x0E, 0x50}));
  EXPECT_EQ(commands[3], Bytes({0xA5}));
  EXPECT_EQ(commands[6], Bytes({0x22, 0x0B, 0x3C}));
  EXPECT_EQ(commands[8], Bytes({0x22, 0x0D, 0x0A}));  // Button Start: no 22 0E 00
  EXPECT_EQ(commands[9], Bytes({0x22, 0x40, 'C'}));
  // The read-back reports: page 2 after the description, then page 0.
  auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 17u + 16u);
  EXPECT_EQ(lines[1], "33 43 6F C o");
  EXPECT_EQ(lines[17 + 7], "Sample rate (mins) 10");
}

TEST(CliSetClock, SendsSevenClockWritesAndShowsPage0) {
  auto recorder = StartFrozenRecorder();
  CliRun run = RunCli({"--port", Port(*recorder), "set-clock"});
  ASSERT_EQ(run.status, 0) << run.err;
  auto commands = recorder->Commands();
  ASSERT_EQ(commands.size(), 8u);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(commands[i].substr(0, 2), Bytes({0x22, i})) << i;
  EXPECT_EQ(Lines(run.out).size(), 16u);
}

TEST(CliSetDescription, WritesTheTextPaddedWithSpaces) {
  auto recorder = StartFrozenRecorder();
  CliRun run = RunCli({"--port", Port(*recorder), "set-description", "Caf\u00E9"});
  ASSERT_EQ(run.status, 0) << run.err;
  auto commands = recorder->Commands();
  ASSERT_EQ(commands.size(), 1u + 32u + 1u);
  EXPECT_EQ(commands[4], Bytes({0x22, 0x43, 0xE9}));
  EXPECT_EQ(commands[32], Bytes({0x22, 0x5F, ' '}));
  EXPECT_EQ(Lines(run.out)[1], "33 43 61 C a");
}

TEST_F(CliFiles, ReadAllSaveThenOpenShowAndSave) {
  auto recorder = StartFrozenRecorder();
  std::string report = (dir / "Data1.log").string();
  CliRun run = RunCli({"--port", Port(*recorder), "read-all", "--save", report});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Lines(run.out), Golden("read_all.txt"));  // the save prints nothing more
  ASSERT_TRUE(fs::exists(dir / "Data1.dat"));

  run = RunCli({"open", (dir / "Data1.dat").string(), "show", "histogram"});
  ASSERT_EQ(run.status, 0) << run.err;
  auto golden = Golden("read_all.txt");
  auto start = std::find(golden.begin(), golden.end(), "Histogram");
  ASSERT_NE(start, golden.end());
  EXPECT_EQ(Lines(run.out), std::vector<std::string>(start, start + 66));

  run = RunCli({"open", (dir / "Data1.dat").string(), "save", (dir / "Copy.log").string()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(run.out.empty());
  std::ifstream a(dir / "Data1.log", std::ios::binary), b(dir / "Copy.log", std::ios::binary);
  std::stringstream sa, sb;
  sa << a.rdbuf();
  sb << b.rdbuf();
  EXPECT_EQ(sa.str(), sb.str());
}

TEST_F(CliFiles, BadFilesExitThreeWithTheWindowsMessage) {
  CliRun run = RunCli({"open", (dir / "missing.dat").string(), "show", "page0"});
  EXPECT_EQ(run.status, 3);
  EXPECT_NE(run.err.find("File not found"), std::string::npos) << run.err;
  std::ofstream(dir / "short.dat") << "1\r\n2\r\n";
  run = RunCli({"open", (dir / "short.dat").string(), "show", "page0"});
  EXPECT_EQ(run.status, 3);
  EXPECT_NE(run.err.find("'' is not a valid integer value"), std::string::npos) << run.err;
  EXPECT_TRUE(run.out.empty());
  run = RunCli({"open", (dir / "short.dat").string(), "show", "everything"});
  EXPECT_EQ(run.status, 2);
}

TEST_F(CliFiles, ExportRendersEitherChartIntoEachFormat) {
  auto recorder = StartFrozenRecorder();
  std::string data = (dir / "Data1.log").string();
  ASSERT_EQ(RunCli({"--port", Port(*recorder), "read-all", "--save", data}).status, 0);
  const struct {
    const char* chart;
    const char* flag;
    const char* file;
    const char* magic;
  } cases[] = {{"temperature", "--png", "t.png", "\x89PNG"},
               {"histogram", "--svg", "h.svg", "<?xml"},
               {"temperature", "--pdf", "t.pdf", "%PDF"}};
  for (const auto& c : cases) {
    CliRun run = RunCli({"open", (dir / "Data1.dat").string(), "export", "--chart", c.chart, c.flag,
                         (dir / c.file).string(), "--size", "640x480"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.out.empty());
    std::ifstream in(dir / c.file, std::ios::binary);
    std::string head(std::strlen(c.magic), '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    EXPECT_EQ(head, c.magic) << c.file;
  }
  // A PNG of the asked size.
  std::ifstream png(dir / "t.png", std::ios::binary);
  unsigned char header[24];
  png.read(reinterpret_cast<char*>(header), 24);
  EXPECT_EQ((header[16] << 24) | (header[17] << 16) | (header[18] << 8) | header[19], 640);
  EXPECT_EQ((header[20] << 24) | (header[21] << 16) | (header[22] << 8) | header[23], 480);

  for (std::vector<std::string> bad : {std::vector<std::string>{"--chart", "pie", "--png", "x.png"},
                                       {"--chart", "temperature", "--png", "x.png", "--size", "10x10"},
                                       {"--chart", "temperature"},
                                       {"--chart", "temperature", "--png", "a.png", "--svg", "b.svg"}}) {
    std::vector<std::string> args = {"open", (dir / "Data1.dat").string(), "export"};
    args.insert(args.end(), bad.begin(), bad.end());
    EXPECT_EQ(RunCli(args).status, 2);
  }
  CliRun run = RunCli({"open", (dir / "Data1.dat").string(), "export", "--chart", "temperature", "--png",
                       "/nonexistent-dir/x.png"});
  EXPECT_EQ(run.status, 3);
}

TEST_F(CliFiles, PrintToAPdfFilePutsTheTemperatureChartOnOnePage) {
  auto recorder = StartFrozenRecorder();
  std::string data = (dir / "Data1.log").string();
  ASSERT_EQ(RunCli({"--port", Port(*recorder), "read-all", "--save", data}).status, 0);
  std::string pdf = (dir / "page.pdf").string();
  CliRun run = RunCli({"open", (dir / "Data1.dat").string(), "print", "--pdf", pdf});
  ASSERT_EQ(run.status, 0) << run.err;
  std::string info = "pdfinfo '" + pdf + "' > '" + (dir / "info.txt").string() + "'";
  ASSERT_EQ(std::system(info.c_str()), 0);
  std::ifstream in(dir / "info.txt");
  std::stringstream text;
  text << in.rdbuf();
  std::smatch pages;
  std::string all = text.str();
  ASSERT_TRUE(std::regex_search(all, pages, std::regex("Pages: +([0-9]+)")));
  EXPECT_EQ(pages[1], "1");
  EXPECT_NE(all.find("Title:           Chart1"), std::string::npos) << all;
  EXPECT_EQ(RunCli({"open", (dir / "Data1.dat").string(), "print", "--printer", "no-such-printer"}).status, 2);
  EXPECT_EQ(RunCli({"open", (dir / "Data1.dat").string(), "print", "--pdf"}).status, 2);
}

}  // namespace
