// File, Save and File, Open: the report and data files on a real disk.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/data_files.h"
#include "app/logger_app.h"
#include "app/logger_reports.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_serial_port.h"
#include "runtime/date_time.h"
#include "runtime/format_settings.h"
#include "tests/support/support_fakes.h"

namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteBytes(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::vector<std::string> SplitCrLf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find("\r\n", pos);
    EXPECT_NE(end, std::string::npos) << "every line ends in CR LF";
    if (end == std::string::npos) break;
    lines.push_back(text.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

// A file system whose writes fail with a chosen error after the fact.
class FailingFileSystem final : public platform::FileSystem {
 public:
  platform::IoError ReadFilePrefix(const std::string& p, std::size_t n, std::string& b) override {
    return real.ReadFilePrefix(p, n, b);
  }
  platform::IoError WriteFileAtomically(const std::string& p, std::string_view b) override {
    if (failWith != 0) return platform::IoErrorFromErrno(failWith);
    return real.WriteFileAtomically(p, b);
  }
  bool Exists(const std::string& p) override { return real.Exists(p); }
  platform::PosixFileSystem real;
  int failWith = 0;
};

class ScriptedFileDialogs final : public logger::FileDialogView {
 public:
  std::optional<std::string> SaveDialog1Execute() override { return saveAnswer; }
  std::optional<std::string> OpenDialog1Execute(const std::string& fileName) override {
    openSeen = fileName;
    return openAnswer;
  }
  std::optional<std::string> saveAnswer, openAnswer;
  std::string openSeen;
};

class DataFilesTest : public ::testing::Test {
 protected:
  DataFilesTest()
      : app(platform::CreateSystemSerialPort(), logger::PortPaths{"/nonexistent/a", "/nonexistent/b"},
            logger::LoggerApp::Services{pump, clock, messages, cursor}) {}

  void SetUp() override {
    runtime::SetFormatSettings(runtime::FormatSettings{});
    clock.now.year = 2026;
    logger::FillDayNames(app.State());
    dir = fs::path(::testing::TempDir()) / ("quorvel-files-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  // A recording like a download leaves it.
  void FillRecording() {
    auto& s = app.State().LoggerData;
    const int page0[32] = {0x07, 0x59, 0x23, 0x07, 0x31, 0x12, 0x05, 0, 0, 0, 0, 80, 96, 15, 0, 0,
                           0,    88,   0,    0,    0x24, 0x30, 0x14, 0x25, 0x12, 0x00, 0, 8, 0, 0, 8, 0};
    for (int i = 0; i < 32; ++i) s.Set(1 + i, page0[i]);
    const std::string text = "Caf\xE9 room";
    for (int i = 0; i < 32; ++i) s.Set(33 + i, i < static_cast<int>(text.size()) ? static_cast<unsigned char>(text[i]) : 32);
    for (int i = 65; i <= 296; ++i) s.Set(i, (i * 7) % 256);
    for (int n = 0; n < 2048; ++n) s.Set(297 + n, 80 + (n % 17));
  }

  testsupport::CountingPump pump;
  testsupport::FakeClock clock;
  testsupport::RecordingMessages messages;
  testsupport::RecordingCursor cursor;
  logger::LoggerApp app;
  logger::LineListPane pane;
  logger::ChartSeriesMemory chart;
  logger::LoggerReports reports{app.State(), pane, chart, clock};
  FailingFileSystem files;
  ScriptedFileDialogs dialogs;
  logger::LoggerFiles loggerFiles{app, reports, chart, files, dialogs};
  fs::path dir;
};

TEST(DataFileName, ExtensionReplacedOrAppended) {
  EXPECT_EQ(logger::DataFileName("Data1.log"), "Data1.dat");
  EXPECT_EQ(logger::DataFileName("/a/b/report"), "/a/b/report.dat");
  EXPECT_EQ(logger::DataFileName("/a/v1.2/report"), "/a/v1.2/report.dat");
  EXPECT_EQ(logger::DataFileName("x.tar.gz"), "x.tar.dat");
  EXPECT_EQ(logger::DataFileName("keep.dat"), "keep.dat");
}

TEST(FileErrorMessages, TheSystemsErrorsInTheUsersWords) {
  EXPECT_EQ(logger::FileErrorMessage(platform::IoErrorFromErrno(ENOENT)), "File not found");
  EXPECT_EQ(logger::FileErrorMessage(platform::IoErrorFromErrno(EACCES)), "File access denied");
  EXPECT_EQ(logger::FileErrorMessage(platform::IoErrorFromErrno(ENOSPC)), "Disk full");
  EXPECT_EQ(logger::FileErrorMessage(platform::IoErrorFromErrno(ENOTDIR)), "I/O error 20");
}

TEST_F(DataFilesTest, SaveWritesTheReportAndTheDataFileSideBySide) {
  FillRecording();
  dialogs.saveAnswer = (dir / "Data1.log").string();
  loggerFiles.Save1Click();
  ASSERT_TRUE(messages.messages.empty()) << messages.messages[0].text;
  ASSERT_TRUE(fs::exists(dir / "Data1.log"));
  ASSERT_TRUE(fs::exists(dir / "Data1.dat"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);  // no temporary left

  std::vector<std::string> data = SplitCrLf(ReadBytes(dir / "Data1.dat"));
  ASSERT_EQ(data.size(), 3000u);
  EXPECT_EQ(data[0], "7");
  EXPECT_EQ(data[3], "7");
  EXPECT_EQ(data[11], "80");
  EXPECT_EQ(data[35], std::to_string(0xE9));
  EXPECT_EQ(data[2999], "0");

  std::string report = ReadBytes(dir / "Data1.log");
  std::vector<std::string> lines = SplitCrLf(report);
  // page 0 (16) + page 2 (17) + serial (9) + alarms (28) + histogram (66) + listing (2048)
  ASSERT_EQ(lines.size(), 16u + 17u + 9u + 28u + 66u + 2048u);
  EXPECT_EQ(lines[0], "Page Zero - Setup RAM");
  EXPECT_EQ(lines[16], "Page Two - User RAM");
  EXPECT_EQ(lines[17], "33 43 61 C a");
  EXPECT_EQ(lines[18], std::string("35 66 E9 f \xE9"));  // Windows-1252 on disk
  EXPECT_EQ(lines[33], "Serial number");
  EXPECT_EQ(lines[42], "\tCount\tDuration");
  EXPECT_EQ(lines[70], "Histogram");
  // The listing has no heading lines and starts at the recording's start.
  EXPECT_EQ(lines[136], "25/12/00 14:30 \t   0.0");
  EXPECT_EQ(lines[137], "25/12/00 14:45 \t   0.5");
  // Save ends showing page 0.
  EXPECT_EQ(pane.Lines()[0], "Page Zero - Setup RAM");
}

TEST_F(DataFilesTest, SaveWritesDegreesCelsiusWhateverUnitTheWindowShows) {
  FillRecording();
  app.State().LoggerData.Set(1 + 12, 249);  // a high alarm of 84.5: 184.1 in Fahrenheit
  loggerFiles.SaveAs((dir / "celsius.log").string());
  reports.SetUnit(logger::TemperatureUnit::Fahrenheit);
  reports.ShowTemperature();  // the series hold degrees Fahrenheit now
  loggerFiles.SaveAs((dir / "fahrenheit.log").string());
  std::string celsius = ReadBytes(dir / "celsius.log");
  ASSERT_NE(celsius.find("High temp alarm  84.5\r\n"), std::string::npos);
  EXPECT_EQ(ReadBytes(dir / "fahrenheit.log"), celsius);
  EXPECT_EQ(ReadBytes(dir / "fahrenheit.dat"), ReadBytes(dir / "celsius.dat"));
  // The window goes on showing its own unit.
  EXPECT_EQ(pane.Lines()[6], "High temp alarm 184.1");
  EXPECT_DOUBLE_EQ(chart.temperature[0].y, 32.0);
}

TEST_F(DataFilesTest, ANameEndingInDatLeavesOnlyTheDataFile) {
  FillRecording();
  loggerFiles.SaveAs((dir / "both.dat").string());
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
  EXPECT_EQ(SplitCrLf(ReadBytes(dir / "both.dat")).size(), 3000u);
}

TEST_F(DataFilesTest, SaveThenOpenGivesTheSameStoreReportsAndListing) {
  FillRecording();
  app.State().LoggerData.Set(2999, -123456);
  app.State().LoggerData.Set(3000, 2147483647);
  loggerFiles.SaveAs((dir / "trip.log").string());
  logger::LoggerStore saved = app.State().LoggerData;
  reports.ShowPage0();
  auto page0 = pane.Lines();
  std::string listing = loggerFiles.TemperatureListing();

  app.State().LoggerData = logger::LoggerStore{};
  app.State().LogStartTime = 0;
  dialogs.openAnswer = (dir / "trip.dat").string();
  EXPECT_TRUE(loggerFiles.Open1Click());
  EXPECT_EQ(dialogs.openSeen, "Data.txt");
  ASSERT_TRUE(messages.messages.empty()) << messages.messages[0].text;
  EXPECT_EQ(app.State().LoggerData, saved);
  EXPECT_EQ(loggerFiles.TemperatureListing(), listing);
  EXPECT_EQ(pane.Lines().size(), 2050u);  // Open ends on the temperature listing
  reports.ShowPage0();
  EXPECT_EQ(pane.Lines(), page0);
  EXPECT_EQ(app.Caption(), "Brindlemark Quorvel - Caf\u00E9 room");
}

TEST_F(DataFilesTest, OpenShowsTheFilesPathInTheCaptionWhenThereIsNoDescription) {
  std::string text;
  for (int k = 1; k <= 3000; ++k) text += "0\n";  // LF alone is read too
  WriteBytes(dir / "blank.dat", text);
  dialogs.openAnswer = (dir / "blank.dat").string();
  loggerFiles.Open1Click();
  ASSERT_TRUE(messages.messages.empty());
  EXPECT_EQ(app.Caption(), "Brindlemark Quorvel - " + (dir / "blank.dat").string());
  app.UpdateCaption();
  EXPECT_EQ(app.Caption(), "Brindlemark Quorvel");
}

TEST_F(DataFilesTest, ABadLineLeavesTheStoreExactlyAsItWas) {
  FillRecording();
  logger::LoggerStore before = app.State().LoggerData;
  std::string text;
  for (int k = 1; k <= 2999; ++k) text += std::to_string(k % 200) + "\r\n";
  WriteBytes(dir / "short.dat", text);
  dialogs.openAnswer = (dir / "short.dat").string();
  loggerFiles.Open1Click();
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].text, "'' is not a valid integer value");
  EXPECT_EQ(app.State().LoggerData, before);

  text = "12\r\n1x\r\n";
  WriteBytes(dir / "bad.dat", text);
  dialogs.openAnswer = (dir / "bad.dat").string();
  loggerFiles.Open1Click();
  EXPECT_EQ(messages.messages.back().text, "'1x' is not a valid integer value");
  EXPECT_EQ(app.State().LoggerData, before);

  // Binary garbage: a message of readable length, nothing stored.
  WriteBytes(dir / "garbage.dat", std::string(5000, '\x01'));
  dialogs.openAnswer = (dir / "garbage.dat").string();
  loggerFiles.Open1Click();
  EXPECT_LT(messages.messages.back().text.size(), 200u);
  EXPECT_EQ(app.State().LoggerData, before);

  dialogs.openAnswer = (dir / "missing.dat").string();
  loggerFiles.Open1Click();
  EXPECT_EQ(messages.messages.back().text, "File not found");
  dialogs.openAnswer = dir.string();
  loggerFiles.Open1Click();
  EXPECT_EQ(messages.messages.back().text, "I/O error 21");
  EXPECT_EQ(app.State().LoggerData, before);
}

TEST_F(DataFilesTest, TheReportsLastSectionIsAlways2048Lines) {
  FillRecording();
  chart.BeginTemperature();  // the line series holds something else now
  chart.AddTemperaturePoint(1.0, "x");
  loggerFiles.WriteReportFile((dir / "r.log").string());
  auto lines = SplitCrLf(ReadBytes(dir / "r.log"));
  ASSERT_GE(lines.size(), 2048u);
  EXPECT_EQ(lines.size() - 136u, 2048u);
}

TEST_F(DataFilesTest, AFailedSaveKeepsTheOldFileIntact) {
  FillRecording();
  WriteBytes(dir / "keep.log", "old report\r\n");
  WriteBytes(dir / "keep.dat", "old data\r\n");

  files.failWith = ENOSPC;
  dialogs.saveAnswer = (dir / "keep.log").string();
  loggerFiles.Save1Click();
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].text, "Disk full");
  EXPECT_EQ(ReadBytes(dir / "keep.log"), "old report\r\n");
  EXPECT_EQ(ReadBytes(dir / "keep.dat"), "old data\r\n");
  files.failWith = 0;

  // A parent that is a regular file: the system refuses, nothing changes.
  WriteBytes(dir / "plain", "x");
  dialogs.saveAnswer = (dir / "plain" / "Data1.log").string();
  loggerFiles.Save1Click();
  EXPECT_EQ(messages.messages.back().text, "I/O error 20");
  EXPECT_EQ(ReadBytes(dir / "plain"), "x");
}

TEST_F(DataFilesTest, AFullDeviceReportsDiskFullAndStaysADevice) {
  struct stat before {};
  if (::stat("/dev/full", &before) != 0) GTEST_SKIP() << "no /dev/full here";
  FillRecording();
  EXPECT_THROW(loggerFiles.WriteDataFile("/dev/full"), logger::FileError);
  try {
    loggerFiles.WriteDataFile("/dev/full");
  } catch (const logger::FileError& e) {
    EXPECT_STREQ(e.what(), "Disk full");
  }
  struct stat after {};
  ASSERT_EQ(::stat("/dev/full", &after), 0);
  EXPECT_TRUE(S_ISCHR(after.st_mode));
}

TEST_F(DataFilesTest, SavingThroughALinkReplacesTheLinkedFile) {
  FillRecording();
  WriteBytes(dir / "real.dat", "old\r\n");
  fs::create_symlink(dir / "real.dat", dir / "link.dat");
  loggerFiles.WriteDataFile((dir / "link.dat").string());
  EXPECT_TRUE(fs::is_symlink(dir / "link.dat"));
  EXPECT_EQ(SplitCrLf(ReadBytes(dir / "real.dat")).size(), 3000u);
}

}  // namespace
