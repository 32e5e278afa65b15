// The download archive: every completed Read All kept as Save would write
// it, nothing kept of one that stopped, names that never collide, a folder
// that cannot be written never failing the download; and the question Save
// asks before writing out a download that did not complete.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "app/data_files.h"
#include "app/download_archive.h"
#include "app/download_workflows.h"
#include "app/logger_app.h"
#include "app/logger_reports.h"
#include "platform/posix/posix_file_system.h"
#include "runtime/format_settings.h"
#include "tests/support/explicit_port.h"
#include "tests/support/support_fakes.h"
#include "tests/support/support_memory_port.h"

namespace {

namespace fs = std::filesystem;
using logger::CommandStop;

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

class NoDialogs final : public logger::FileDialogView {
 public:
  std::optional<std::string> SaveDialog1Execute() override {
    ++shown;
    return answer;
  }
  std::optional<std::string> OpenDialog1Execute(const std::string&) override { return std::nullopt; }
  std::optional<std::string> answer;
  int shown = 0;
};

struct ArchiveRig {
  explicit ArchiveRig(sim::Faults faults = {})
      : ArchiveRig(std::make_unique<testsupport::MemoryRecorderPort>(sim::RecorderMemory::Plausible(1796000000),
                                                                     faults)) {}

  testsupport::FakeClock clock;
  testsupport::CountingPump pump;
  testsupport::RecordingMessages messages;
  testsupport::RecordingCursor cursor;
  testsupport::MemoryRecorderPort& port;
  logger::LoggerApp app;
  logger::LineListPane pane;
  logger::ChartSeriesMemory chart;
  logger::LoggerReports reports{app.State(), pane, chart, clock};
  logger::DownloadWorkflows downloads{app, reports};
  platform::PosixFileSystem files;
  NoDialogs dialogs;
  logger::LoggerFiles loggerFiles{app, reports, chart, files, dialogs};
  fs::path dir;
  std::unique_ptr<logger::DownloadArchive> archive;
  std::vector<std::string> problems;

  fs::path Folder() const { return dir / "downloads"; }
  void UseFolder(const std::string& folder) {
    archive = std::make_unique<logger::DownloadArchive>(files, clock, folder);
    downloads.SetArchive(archive.get());
  }

 private:
  explicit ArchiveRig(std::unique_ptr<testsupport::MemoryRecorderPort> owned)
      : port(*owned),
        app(std::move(owned), logger::PortPaths{testsupport::RequireExplicitPort("/tmp/quorvel-test-archive"), "-"},
            logger::LoggerApp::Services{pump, clock, messages, cursor}) {
    runtime::SetFormatSettings(runtime::FormatSettings{});
    pump.clock = &clock;
    app.SetAnswerTimeoutMs(1000);
    app.FormCreate();
    dir = fs::path(::testing::TempDir()) / ("quorvel-archive-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    UseFolder(Folder().string());
    downloads.OnArchiveProblem = [this](const std::string& problem) { problems.push_back(problem); };
  }

 public:
  ~ArchiveRig() { fs::remove_all(dir); }
};

// The serial number's eight bytes of the simulated recording, as hex.
std::string SerialOf(const sim::RecorderMemory& memory) {
  char text[17];
  for (int i = 0; i < 8; ++i) std::snprintf(text + 2 * i, 3, "%02X", memory.Raw()[0x200 + i]);
  return std::string(text, 16);
}

TEST(DownloadArchive, ACompletedReadAllIsKeptExactlyAsSaveWritesIt) {
  ArchiveRig rig;
  rig.clock.now = {2026, 3, 5, 9, 7, 4, 0, 5};
  ASSERT_TRUE(rig.downloads.ReadAll1Click());
  ASSERT_TRUE(rig.app.LastCommand().completed);
  const std::string base = SerialOf(sim::RecorderMemory::Plausible(1796000000)) + "-20260305-090704";
  EXPECT_EQ(Names(rig.Folder()), (std::vector<std::string>{base + ".dat", base + ".log"}));
  EXPECT_EQ(rig.downloads.LastArchived(), (rig.Folder() / (base + ".log")).string());
  EXPECT_EQ(rig.app.Status().Notice(), "Download kept in the archive");
  // Keeping a copy leaves the window showing what Read All showed.
  EXPECT_EQ(rig.pane.Lines().size(), 2050u);
  EXPECT_EQ(rig.chart.active, logger::ChartSeriesMemory::Active::Temperature);

  rig.loggerFiles.SaveAs((rig.dir / "saved.log").string());
  EXPECT_EQ(ReadBytes(rig.Folder() / (base + ".log")), ReadBytes(rig.dir / "saved.log"));
  EXPECT_EQ(ReadBytes(rig.Folder() / (base + ".dat")), ReadBytes(rig.dir / "saved.dat"));
  EXPECT_GT(ReadBytes(rig.dir / "saved.log").size(), 40000u);
}

TEST(DownloadArchive, TwoDownloadsInOneSecondGetTheirOwnNamesNewestFirst) {
  ArchiveRig rig;
  ASSERT_TRUE(rig.downloads.ReadAll1Click());
  ASSERT_TRUE(rig.downloads.ReadAll1Click());
  ASSERT_TRUE(rig.downloads.ReadAll1Click());
  const std::string base = SerialOf(sim::RecorderMemory::Plausible(1796000000)) + "-20240315-103000";
  EXPECT_EQ(Names(rig.Folder()), (std::vector<std::string>{base + "-2.dat", base + "-2.log", base + "-3.dat",
                                                           base + "-3.log", base + ".dat", base + ".log"}));
  // A later second sorts before them; other files in the folder are left out.
  rig.clock.now.second = 1;
  ASSERT_TRUE(rig.downloads.ReadAll1Click());
  std::ofstream(rig.Folder() / "notes.txt") << "mine";
  std::ofstream(rig.Folder() / "0123-20240315-103000.dat") << "not ours";

  std::string error;
  std::vector<logger::ArchivedDownload> list = rig.archive->List(error);
  EXPECT_EQ(error, "");
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0].dataPath, (rig.Folder() / (SerialOf(sim::RecorderMemory::Plausible(1796000000)) +
                                               "-20240315-103001.dat"))
                                  .string());
  EXPECT_EQ(list[1].dataPath, (rig.Folder() / (base + "-3.dat")).string());
  EXPECT_EQ(list[2].dataPath, (rig.Folder() / (base + "-2.dat")).string());
  EXPECT_EQ(list[3].dataPath, (rig.Folder() / (base + ".dat")).string());
  EXPECT_EQ(list[3].reportPath, (rig.Folder() / (base + ".log")).string());
  EXPECT_EQ(list[3].downloadedAt, "2024-03-15 10:30:00");
  // What the recording says about itself, as the page 0 report shows it.
  rig.reports.ShowPage0();
  const auto& page0 = rig.pane.Lines();
  EXPECT_EQ("Current sample count " + std::to_string(list[0].samples), page0[14]);
  EXPECT_EQ(list[0].startTime, logger::LoggerReports::SampleTimeText(rig.app.State().LogStartTime));
  EXPECT_FALSE(list[0].startTime.empty());
  EXPECT_EQ(list[0].serial, SerialOf(sim::RecorderMemory::Plausible(1796000000)));
}

TEST(DownloadArchive, AReadAllThatStopsKeepsNothingAndSaveAsksFirst) {
  sim::Faults faults;
  faults.silentAfter = 30;
  ArchiveRig rig(faults);
  EXPECT_TRUE(rig.downloads.ReadAll1Click());
  EXPECT_EQ(rig.app.LastCommandStop(), CommandStop::TimedOut);
  EXPECT_TRUE(Names(rig.Folder()).empty());
  EXPECT_EQ(rig.downloads.LastArchived(), "");

  // Save asks first, saying where the download stopped; No writes nothing.
  rig.dialogs.answer = (rig.dir / "mixed.log").string();
  rig.messages.answers = {false};
  rig.loggerFiles.Save1Click();
  ASSERT_EQ(rig.messages.questions.size(), 1u);
  EXPECT_EQ(rig.messages.questions[0].text,
            "The data is incomplete: Read All stopped at block 31 of 74 (the temperature log): no answer. The "
            "entries it did not read still hold the data from before it.\n\nSave it anyway?");
  EXPECT_EQ(rig.dialogs.shown, 0);
  EXPECT_FALSE(fs::exists(rig.dir / "mixed.log"));
  // Yes saves it as it is.
  rig.messages.answers = {true};
  rig.loggerFiles.Save1Click();
  EXPECT_TRUE(fs::exists(rig.dir / "mixed.log"));
  EXPECT_TRUE(fs::exists(rig.dir / "mixed.dat"));

  // An Open makes the store one recording again: no question.
  rig.loggerFiles.OpenFile((rig.dir / "mixed.dat").string());
  EXPECT_FALSE(rig.app.StoreIncomplete());
  rig.dialogs.answer = (rig.dir / "again.log").string();
  rig.loggerFiles.Save1Click();
  EXPECT_EQ(rig.messages.questions.size(), 2u);
  EXPECT_TRUE(fs::exists(rig.dir / "again.log"));
}

TEST(DownloadArchive, AFolderThatCannotBeWrittenNeverFailsTheDownload) {
  ArchiveRig rig;
  std::ofstream(rig.dir / "plain") << "a file where the folder should be";
  rig.UseFolder((rig.dir / "plain" / "downloads").string());
  ASSERT_TRUE(rig.downloads.ReadAll1Click());
  EXPECT_TRUE(rig.app.LastCommand().completed);
  EXPECT_TRUE(rig.messages.messages.empty());  // no message box: the download is fine
  const std::string problem = "Not archived: " + (rig.dir / "plain" / "downloads").string() + ": I/O error 20";
  EXPECT_EQ(rig.problems, std::vector<std::string>{problem});
  EXPECT_EQ(rig.app.Status().Notice(), problem);
  EXPECT_EQ(ReadBytes(rig.dir / "plain"), "a file where the folder should be");

  // Switched off, nothing is written and nothing is said.
  rig.UseFolder(rig.Folder().string());
  rig.archive->SetEnabled(false);
  ASSERT_TRUE(rig.downloads.ReadAll1Click());
  EXPECT_TRUE(Names(rig.Folder()).empty());
  EXPECT_EQ(rig.problems.size(), 1u);
  EXPECT_EQ(rig.app.Status().Notice(), "");
}

TEST(DownloadArchive, TheFolderFollowsXdgDataHome) {
  std::map<std::string, std::string> env;
  auto lookup = [&](const char* name) -> const char* {
    auto at = env.find(name);
    return at == env.end() ? nullptr : at->second.c_str();
  };
  EXPECT_EQ(logger::DownloadArchive::DefaultFolder(lookup), "");
  env["HOME"] = "/home/ana";
  EXPECT_EQ(logger::DownloadArchive::DefaultFolder(lookup), "/home/ana/.local/share/quorvel/downloads");
  env["XDG_DATA_HOME"] = "relative/data";  // not absolute: ignored
  EXPECT_EQ(logger::DownloadArchive::DefaultFolder(lookup), "/home/ana/.local/share/quorvel/downloads");
  env["XDG_DATA_HOME"] = "/srv/data";
  EXPECT_EQ(logger::DownloadArchive::DefaultFolder(lookup), "/srv/data/quorvel/downloads");
}

}  // namespace
