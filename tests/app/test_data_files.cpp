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

// The real file system, with failures on demand: every write fails with a
// chosen error, or the second of two files fails after the first was
// written (a rename that failed part-way).
class FailingFileSystem final : public platform::FileSystem {
 public:
  platform::FileFacts Examine(const std::string& p) override { return real.Examine(p); }
  platform::IoError ReadFilePrefix(const std::string& p, std::size_t n, std::string& b) override {
    return real.ReadFilePrefix(p, n, b);
  }
  platform::IoError WriteFiles(const std::vector<platform::FileContent>& files, std::vector<bool>& written,
                               std::size_t& failed) override {
    ++writeCalls;
    if (failWith != 0) {
      written.assign(files.size(), false);
      failed = 0;
      return platform::IoErrorFromErrno(failWith);
    }
    if (failSecondWith != 0 && files.size() == 2) {
      std::size_t ignored = 0;
      platform::IoError first = real.WriteFiles({files[0]}, written, ignored);
      written.resize(2, false);
      failed = 1;
      return first.Ok() ? platform::IoErrorFromErrno(failSecondWith) : first;
    }
    return real.WriteFiles(files, written, failed);
  }
  platform::IoError WriteNewFiles(const std::vector<platform::FileContent>& f) override {
    return real.WriteNewFiles(f);
  }
  platform::IoError MakeFolders(const std::string& p) override { return real.MakeFolders(p); }
  platform::IoError ListFolder(const std::string& p, std::vector<std::string>& n) override {
    return real.ListFolder(p, n);
  }
  bool Exists(const std::string& p) override { return real.Exists(p); }
  platform::PosixFileSystem real;
  int failWith = 0;
  int failSecondWith = 0;
  int writeCalls = 0;
};

class ScriptedFileDialogs final : public logger::FileDialogView {
 public:
  std::optional<std::string> SaveDialog1Execute() override {
    ++saveShown;
    if (!saveAnswers.empty()) {
      std::optional<std::string> next = saveAnswers.front();
      saveAnswers.erase(saveAnswers.begin());
      return next;
    }
    return saveAnswer;
  }
  std::optional<std::string> OpenDialog1Execute(const std::string& fileName) override {
    openSeen = fileName;
    return openAnswer;
  }
  std::optional<std::string> saveAnswer, openAnswer;
  std::vector<std::optional<std::string>> saveAnswers;  // taken first, in order
  std::string openSeen;
  int saveShown = 0;
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

// The replace question covers both files Save writes, naming each that
// exists; No goes back to the dialog, so another name can be chosen.
TEST_F(DataFilesTest, TheReplaceQuestionNamesEveryFileThatExists) {
  FillRecording();
  WriteBytes(dir / "X.dat", "another recording\r\n");
  dialogs.saveAnswers = {(dir / "X.log").string(), (dir / "Y.log").string()};
  messages.answers = {false};
  loggerFiles.Save1Click();
  ASSERT_EQ(messages.questions.size(), 1u);
  EXPECT_EQ(messages.questions[0].title, "Save All Data to a File");
  EXPECT_EQ(messages.questions[0].text, "X.dat already exists in " + dir.string() + ".\nReplace it?");
  EXPECT_EQ(ReadBytes(dir / "X.dat"), "another recording\r\n");
  EXPECT_FALSE(fs::exists(dir / "X.log"));
  EXPECT_EQ(dialogs.saveShown, 2);  // back to the dialog, then Y.log, which asks nothing
  EXPECT_TRUE(fs::exists(dir / "Y.log"));
  EXPECT_TRUE(fs::exists(dir / "Y.dat"));

  // Both exist now: one question names both; Yes replaces both.
  const std::string before = ReadBytes(dir / "Y.dat");
  app.State().LoggerData.Set(3000, 77);
  dialogs.saveAnswers = {(dir / "Y.log").string()};
  messages.answers = {true};
  loggerFiles.Save1Click();
  ASSERT_EQ(messages.questions.size(), 2u);
  EXPECT_EQ(messages.questions[1].text, "Y.log and Y.dat already exist in " + dir.string() + ".\nReplace them?");
  EXPECT_NE(ReadBytes(dir / "Y.dat"), before);
  EXPECT_TRUE(messages.messages.empty()) << messages.messages[0].text;

  // Cancel in the dialog asks nothing.
  dialogs.saveAnswers = {std::nullopt};
  loggerFiles.Save1Click();
  EXPECT_EQ(messages.questions.size(), 2u);
}

TEST_F(DataFilesTest, SaveAndOpenAreRefusedWhileACommandWaits) {
  FillRecording();
  dialogs.saveAnswer = (dir / "during.log").string();
  dialogs.openAnswer = (dir / "during.dat").string();
  bool saveTaken = true, openTaken = true;
  app.RunDeviceCommand([&] {
    saveTaken = loggerFiles.Save1Click();
    openTaken = loggerFiles.Open1Click();
  });
  EXPECT_FALSE(saveTaken);
  EXPECT_FALSE(openTaken);
  EXPECT_EQ(dialogs.saveShown, 0);
  EXPECT_EQ(files.writeCalls, 0);
  EXPECT_TRUE(loggerFiles.Save1Click());  // and afterwards it works
  EXPECT_TRUE(fs::exists(dir / "during.log"));
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

// A file written by another program may end without a line feed, or with a
// carriage return alone; what follows the 3000th line is not read.
TEST_F(DataFilesTest, TheLastLineNeedsNoLineFeed) {
  std::string first2999;
  for (int k = 1; k <= 2999; ++k) first2999 += std::to_string(k % 256) + "\r\n";
  const struct {
    const char* name;
    std::string tail;
    int last;
  } cases[] = {
      {"no final line feed", "-42", -42},
      {"a final carriage return alone", "42\r", 42},
      {"lines past the 3000th", "7\r\nnot a number\r\n", 7},
  };
  for (const auto& c : cases) {
    WriteBytes(dir / "tail.dat", first2999 + c.tail);
    const logger::LoggerStore store = loggerFiles.ReadDataFile((dir / "tail.dat").string());
    EXPECT_EQ(store.At(2999), 2999 % 256) << c.name;
    EXPECT_EQ(store.At(3000), c.last) << c.name;
  }
  // Line feeds alone, and no final one.
  std::string lf;
  for (int k = 1; k <= 3000; ++k) lf += std::to_string(k) + (k < 3000 ? "\n" : "");
  WriteBytes(dir / "lf.dat", lf);
  const logger::LoggerStore store = loggerFiles.ReadDataFile((dir / "lf.dat").string());
  EXPECT_EQ(store.At(1), 1);
  EXPECT_EQ(store.At(3000), 3000);
}

TEST_F(DataFilesTest, ABadLineLeavesTheStoreExactlyAsItWasAndIsNamedWithItsNumber) {
  FillRecording();
  logger::LoggerStore before = app.State().LoggerData;
  std::string text;
  for (int k = 1; k <= 2999; ++k) text += std::to_string(k % 200) + "\r\n";
  WriteBytes(dir / "short.dat", text);
  dialogs.openAnswer = (dir / "short.dat").string();
  loggerFiles.Open1Click();
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].text, (dir / "short.dat").string() + ", line 3000: '' is not a valid integer value");
  EXPECT_EQ(app.State().LoggerData, before);

  text = "12\r\n1x\r\n";
  WriteBytes(dir / "bad.dat", text);
  dialogs.openAnswer = (dir / "bad.dat").string();
  loggerFiles.Open1Click();
  EXPECT_EQ(messages.messages.back().text, (dir / "bad.dat").string() + ", line 2: '1x' is not a valid integer value");
  EXPECT_EQ(app.State().LoggerData, before);

  // Binary garbage: a message of readable length, nothing stored.
  WriteBytes(dir / "garbage.dat", std::string(5000, '\x01'));
  dialogs.openAnswer = (dir / "garbage.dat").string();
  loggerFiles.Open1Click();
  EXPECT_LT(messages.messages.back().text.size(), 600u);
  EXPECT_EQ(app.State().LoggerData, before);

  dialogs.openAnswer = (dir / "missing.dat").string();
  loggerFiles.Open1Click();
  EXPECT_EQ(messages.messages.back().text, (dir / "missing.dat").string() + ": File not found");
  EXPECT_EQ(app.State().LoggerData, before);
}

// File bytes quoted in a message can neither steer the terminal (the CLI
// prints it to standard error) nor hide a character, and nothing after a NUL
// is lost on the way to the message box.
TEST_F(DataFilesTest, QuotedLinesShowControlBytesAndBadUtf8Escaped) {
  const std::pair<std::string, std::string> cases[] = {
      {"5\r\r\n", "'5\\r' is not a valid integer value"},  // CR LF ends the line; the first CR stays
      {"\x1B]0;TITLE\x1B\\\n", "'\\x1B]0;TITLE\\x1B\\\\' is not a valid integer value"},
      {"\x1B[31m7\n", "'\\x1B[31m7' is not a valid integer value"},
      {std::string("5\0", 2) + "9\n", "'5\\x009' is not a valid integer value"},
      {"\xFF\xC3\n", "'\\xFF\\xC3' is not a valid integer value"},
      {"\xC2\x9B" "2J\n", "'\\xC2\\x9B2J' is not a valid integer value"},  // C1 CSI
      {"caf\xC3\xA9\t1\n", "'caf\xC3\xA9\\t1' is not a valid integer value"},  // valid UTF-8 stays
  };
  for (const auto& [line, quoted] : cases) {
    SCOPED_TRACE(quoted);
    WriteBytes(dir / "odd.dat", line);
    dialogs.openAnswer = (dir / "odd.dat").string();
    loggerFiles.Open1Click();
    ASSERT_FALSE(messages.messages.empty());
    EXPECT_EQ(messages.messages.back().text, (dir / "odd.dat").string() + ", line 1: " + quoted);
  }
  // A file name is file system bytes too.
  const std::string strange = (dir / "a\x1B[2Jb.dat").string();
  dialogs.openAnswer = strange;
  loggerFiles.Open1Click();
  EXPECT_EQ(messages.messages.back().text, (dir / "a\\x1B[2Jb.dat").string() + ": File not found");
}

// Pipes, sockets, folders and devices are refused for Open without being
// opened, so nothing waits for a writer that never comes.
TEST_F(DataFilesTest, OpenRefusesAnythingButAFile) {
  FillRecording();
  logger::LoggerStore before = app.State().LoggerData;
  ASSERT_EQ(::mkfifo((dir / "pipe.dat").c_str(), 0600), 0);
  fs::create_directory(dir / "folder.dat");
  const std::pair<std::string, std::string> cases[] = {
      {(dir / "pipe.dat").string(), "File access denied (a named pipe, not a file)"},
      {(dir / "folder.dat").string(), "File access denied (a folder, not a file)"},
      {"/dev/null", "File access denied (a device, not a file)"},
  };
  for (const auto& [path, text] : cases) {
    dialogs.openAnswer = path;
    loggerFiles.Open1Click();
    ASSERT_FALSE(messages.messages.empty());
    EXPECT_EQ(messages.messages.back().text, path + ": " + text);
  }
  EXPECT_EQ(messages.messages.size(), 3u);
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

TEST_F(DataFilesTest, AFailedSaveKeepsTheOldFilesIntactAndSaysNothingWasSaved) {
  FillRecording();
  WriteBytes(dir / "keep.log", "old report\r\n");
  WriteBytes(dir / "keep.dat", "old data\r\n");

  files.failWith = ENOSPC;
  EXPECT_THROW(loggerFiles.SaveAs((dir / "keep.log").string()), logger::FileError);
  try {
    loggerFiles.SaveAs((dir / "keep.log").string());
  } catch (const logger::FileError& e) {
    EXPECT_EQ(e.Message(), (dir / "keep.log").string() + ": Disk full\nNothing was saved: " +
                               (dir / "keep.log").string() + " and " + (dir / "keep.dat").string() +
                               " were not written.");
  }
  EXPECT_EQ(ReadBytes(dir / "keep.log"), "old report\r\n");
  EXPECT_EQ(ReadBytes(dir / "keep.dat"), "old data\r\n");
  files.failWith = 0;

  // A parent that is a regular file: the system refuses, nothing changes.
  WriteBytes(dir / "plain", "x");
  EXPECT_THROW(loggerFiles.SaveAs((dir / "plain" / "Data1.log").string()), logger::FileError);
  EXPECT_EQ(ReadBytes(dir / "plain"), "x");
}

// The data file behind a link to /dev/full: the device fails while the
// report still sits in its temporary, so the old report stays too.
TEST_F(DataFilesTest, AFullDeviceForTheDataFileLeavesTheOldReport) {
  struct stat before {};
  if (::stat("/dev/full", &before) != 0) GTEST_SKIP() << "no /dev/full here";
  FillRecording();
  WriteBytes(dir / "run.log", "old report\r\n");
  fs::create_symlink("/dev/full", dir / "run.dat");
  try {
    loggerFiles.SaveAs((dir / "run.log").string());
    ADD_FAILURE() << "the save succeeded";
  } catch (const logger::FileError& e) {
    EXPECT_EQ(e.Message(), (dir / "run.dat").string() + ": Disk full\nNothing was saved: " +
                               (dir / "run.log").string() + " and " + (dir / "run.dat").string() +
                               " were not written.");
  }
  EXPECT_EQ(ReadBytes(dir / "run.log"), "old report\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);  // no temporary left
  struct stat after {};
  ASSERT_EQ(::stat("/dev/full", &after), 0);
  EXPECT_TRUE(S_ISCHR(after.st_mode));

  // /dev/null takes the data in place and stays a device.
  fs::remove(dir / "run.dat");
  fs::create_symlink("/dev/null", dir / "run.dat");
  loggerFiles.SaveAs((dir / "run.log").string());
  EXPECT_EQ(SplitCrLf(ReadBytes(dir / "run.log")).size(), 2184u);
}

TEST_F(DataFilesTest, AFailurePartWayNamesWhatWasWrittenAndWhatNot) {
  FillRecording();
  WriteBytes(dir / "half.dat", "old data\r\n");
  files.failSecondWith = EIO;
  dialogs.saveAnswer = (dir / "half.log").string();
  messages.answers = {true};  // replace half.dat
  loggerFiles.Save1Click();
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].text, (dir / "half.dat").string() + ": I/O error 5\n" +
                                           (dir / "half.log").string() + " was written; " +
                                           (dir / "half.dat").string() + " was not.");
  EXPECT_EQ(SplitCrLf(ReadBytes(dir / "half.log")).size(), 2184u);
  EXPECT_EQ(ReadBytes(dir / "half.dat"), "old data\r\n");
}

TEST_F(DataFilesTest, AFullDeviceReportsDiskFullAndStaysADevice) {
  struct stat before {};
  if (::stat("/dev/full", &before) != 0) GTEST_SKIP() << "no /dev/full here";
  FillRecording();
  try {
    loggerFiles.WriteDataFile("/dev/full");
    ADD_FAILURE() << "the write succeeded";
  } catch (const logger::FileError& e) {
    EXPECT_EQ(e.Message(), "/dev/full: Disk full");
  }
  struct stat after {};
  ASSERT_EQ(::stat("/dev/full", &after), 0);
  EXPECT_TRUE(S_ISCHR(after.st_mode));
}

// A file without any write permission is read-only, even for root (these
// tests run as root); one that keeps its write bits is replaced and keeps
// its mode.
TEST_F(DataFilesTest, ReadOnlyFilesAreRefusedAndReplacedFilesKeepTheirMode) {
  FillRecording();
  WriteBytes(dir / "locked.log", "precious\r\n");
  ::chmod((dir / "locked.log").c_str(), 0444);
  try {
    loggerFiles.SaveAs((dir / "locked.log").string());
    ADD_FAILURE() << "a read-only file was replaced";
  } catch (const logger::FileError& e) {
    EXPECT_EQ(e.Message(), (dir / "locked.log").string() +
                               ": File access denied (read-only)\nNothing was saved: " +
                               (dir / "locked.log").string() + " and " + (dir / "locked.dat").string() +
                               " were not written.");
  }
  EXPECT_EQ(ReadBytes(dir / "locked.log"), "precious\r\n");
  EXPECT_FALSE(fs::exists(dir / "locked.dat"));  // refused before anything was written

  WriteBytes(dir / "shared.log", "old\r\n");
  WriteBytes(dir / "shared.dat", "old\r\n");
  ::chmod((dir / "shared.log").c_str(), 0640);
  ::chmod((dir / "shared.dat").c_str(), 0604);
  ASSERT_EQ(::chown((dir / "shared.dat").c_str(), 65534, 65534), 0);
  loggerFiles.SaveAs((dir / "shared.log").string());
  struct stat log {}, dat {};
  ASSERT_EQ(::stat((dir / "shared.log").c_str(), &log), 0);
  ASSERT_EQ(::stat((dir / "shared.dat").c_str(), &dat), 0);
  EXPECT_EQ(log.st_mode & 07777, 0640u);
  EXPECT_EQ(dat.st_mode & 07777, 0604u);
  EXPECT_EQ(dat.st_uid, 65534u);  // the owner kept, where we may set it
  EXPECT_EQ(dat.st_gid, 65534u);
  EXPECT_EQ(SplitCrLf(ReadBytes(dir / "shared.dat")).size(), 3000u);
}

// A pipe as a save target would block until a reader comes: refused
// at once, before anything is written; folders too.
TEST_F(DataFilesTest, SaveRefusesPipesAndFolders) {
  FillRecording();
  ASSERT_EQ(::mkfifo((dir / "pipe.log").c_str(), 0600), 0);
  fs::create_directory(dir / "folder.dat");
  try {
    loggerFiles.SaveAs((dir / "pipe.log").string());
    ADD_FAILURE() << "saved into a pipe";
  } catch (const logger::FileError& e) {
    EXPECT_EQ(e.Message().rfind((dir / "pipe.log").string() + ": File access denied (a named pipe, not a file)\n", 0),
              0u)
        << e.Message();
  }
  EXPECT_FALSE(fs::exists(dir / "pipe.dat"));
  try {
    loggerFiles.SaveAs((dir / "folder.log").string());
    ADD_FAILURE() << "saved over a folder";
  } catch (const logger::FileError& e) {
    EXPECT_EQ(e.Message().rfind((dir / "folder.dat").string() + ": File access denied (a folder, not a file)\n", 0),
              0u)
        << e.Message();
  }
  EXPECT_FALSE(fs::exists(dir / "folder.log"));
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
