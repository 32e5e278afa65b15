// The download and configuration workflows end to end: LoggerApp over the
// termios port, a simulated recorder on a real pseudo-terminal.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <fstream>
#include <sstream>

#include "app/download_workflows.h"
#include "app/logger_app.h"
#include "app/logger_configuration.h"
#include "app/logger_reports.h"
#include "platform/posix/poll_event_pump.h"
#include "platform/posix/posix_serial_port.h"
#include "platform/posix/system_clock.h"
#include "runtime/format_settings.h"
#include "sim/pty_recorder.h"
#include "tests/support/explicit_port.h"
#include "tests/support/support_fakes.h"

namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

// A pane that keeps every report it held, in order.
class HistoryPane final : public logger::ReportPane {
 public:
  void Clear() override {
    if (!lines_.empty()) reports.push_back(lines_);
    lines_.clear();
  }
  void AddLine(const std::string& line) override { lines_.push_back(line); }
  const std::vector<std::string>& Lines() const override { return lines_; }
  void SetEnabled(bool) override {}
  void ScrollToTop() override {}
  std::vector<std::string> AllLines() {
    Clear();
    std::vector<std::string> all;
    for (const auto& r : reports) all.insert(all.end(), r.begin(), r.end());
    return all;
  }
  std::vector<std::vector<std::string>> reports;

 private:
  std::vector<std::string> lines_;
};

// Real time and sleeps, but a local time the test chooses.
// The system's serial port, noting when each write left the program: the
// pause after A5 is the program's to keep, and the recorder's own arrival
// times stretch and shrink with how soon its thread gets to run.
class WriteTimedPort final : public platform::SerialPort {
 public:
  explicit WriteTimedPort(std::vector<std::int64_t>& writeTimesMs)
      : port_(platform::CreateSystemSerialPort()), writeTimesMs_(writeTimesMs) {}
  platform::IoError Open(const std::string& path) override { return port_->Open(path); }
  void Close() override { port_->Close(); }
  bool IsOpen() const override { return port_->IsOpen(); }
  platform::IoError Write(std::string_view bytes, std::size_t& written) override {
    writeTimesMs_.push_back(std::chrono::duration_cast<std::chrono::milliseconds>(
                                std::chrono::steady_clock::now().time_since_epoch())
                                .count());
    return port_->Write(bytes, written);
  }
  platform::IoError QueuedCount(std::size_t& count) override { return port_->QueuedCount(count); }
  platform::IoError Read(std::size_t count, std::string& bytes) override { return port_->Read(count, bytes); }
  int WakeDescriptor() const override { return port_->WakeDescriptor(); }
  void ConsumeWakeups() override { port_->ConsumeWakeups(); }

 private:
  std::unique_ptr<platform::SerialPort> port_;
  std::vector<std::int64_t>& writeTimesMs_;
};

class ChosenNowClock final : public platform::Clock {
 public:
  platform::LocalDateTime Now() const override { return now; }
  std::int64_t MonotonicMs() const override { return system_.MonotonicMs(); }
  void SleepMs(int ms) override { system_.SleepMs(ms); }
  platform::LocalDateTime now{2026, 3, 15, 10, 30, 0, 0, 1};

 private:
  platform::SystemClock system_;
};

class ScriptedSettings final : public logger::SettingsDialogView {
 public:
  bool Execute(logger::SettingsFields& fields) override {
    ++shown;
    seen = fields;
    return answer ? answer(fields) : false;
  }
  std::function<bool(logger::SettingsFields&)> answer;
  logger::SettingsFields seen;
  int shown = 0;
};

class ScriptedNVram final : public logger::NVramDialogView {
 public:
  bool Execute(std::string& text) override {
    seen = text;
    if (!ok) return false;
    text = answer;
    return true;
  }
  std::string seen, answer;
  bool ok = false;
};

// The recorder's memory with its clock stopped, so reports are repeatable.
sim::RecorderMemory FrozenRecording() {
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  sim::RecorderMemory plausible = sim::RecorderMemory::Plausible(1796000000);  // 2026-11-30
  sim::RecorderMemory frozen;
  frozen.Raw() = plausible.Raw();
  return frozen;
}

struct Rig {
  explicit Rig(sim::Faults faults = {}, sim::RecorderMemory memory = FrozenRecording())
      : recorder(std::move(memory), faults) {
    runtime::SetFormatSettings(runtime::FormatSettings{});
    std::string error;
    EXPECT_TRUE(recorder.Start(&error)) << error;
    logger::PortPaths paths;
    paths.comm1 = testsupport::RequireExplicitPort(recorder.DevicePath());
    paths.comm2 = paths.comm1;
    app = std::make_unique<logger::LoggerApp>(std::make_unique<WriteTimedPort>(writeTimesMs), paths,
                                              logger::LoggerApp::Services{pump, clock, messages, cursor});
    app->FormCreate();
    reports = std::make_unique<logger::LoggerReports>(app->State(), pane, chart, clock);
    downloads = std::make_unique<logger::DownloadWorkflows>(*app, *reports);
    configuration = std::make_unique<logger::LoggerConfiguration>(*app, *reports, settings, nvram);
    app->Protocol().SetAnswerTimeoutMs(5000);
  }

  std::vector<std::string> CommandsSince(std::size_t first) const {
    auto all = recorder.Commands();
    return std::vector<std::string>(all.begin() + static_cast<std::ptrdiff_t>(first), all.end());
  }

  sim::PtyRecorder recorder;
  std::vector<std::int64_t> writeTimesMs;
  platform::PollEventPump pump;
  ChosenNowClock clock;
  testsupport::RecordingMessages messages;
  testsupport::RecordingCursor cursor;
  HistoryPane pane;
  logger::ChartSeriesMemory chart;
  ScriptedSettings settings;
  ScriptedNVram nvram;
  std::unique_ptr<logger::LoggerApp> app;
  std::unique_ptr<logger::LoggerReports> reports;
  std::unique_ptr<logger::DownloadWorkflows> downloads;
  std::unique_ptr<logger::LoggerConfiguration> configuration;
};

std::vector<std::string> ReadGolden(const std::string& name) {
  std::ifstream in(std::string(QUORVEL_TEST_SOURCE_DIR) + "/golden/" + name);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// To refresh after an intended change of the reports or of the simulated
// recording: QUORVEL_UPDATE_GOLDEN=1 build/bin/test_app_workflows, then read
// the diff of tests/app/golden/ before committing it.
void CheckGolden(const std::string& name, const std::vector<std::string>& lines) {
  if (std::getenv("QUORVEL_UPDATE_GOLDEN") != nullptr) {
    std::ofstream out(std::string(QUORVEL_TEST_SOURCE_DIR) + "/golden/" + name);
    for (const auto& line : lines) out << line << '\n';
  }
  EXPECT_EQ(lines, ReadGolden(name));
}

TEST(ReadAllOverPty, EveryReportsExactLines) {
  Rig rig;
  rig.app->State().AbortRequested = false;
  ASSERT_TRUE(rig.downloads->ReadAll1Click());
  EXPECT_TRUE(rig.messages.messages.empty());
  auto lines = rig.pane.AllLines();
  ASSERT_EQ(rig.pane.reports.size(), 6u);
  EXPECT_EQ(rig.pane.reports[5].size(), 2050u);
  CheckGolden("read_all.txt", lines);
  EXPECT_EQ(rig.app->Caption(), "Brindlemark Quorvel - Cold room 3");
  EXPECT_EQ(rig.chart.temperature.size(), 2048u);
  EXPECT_EQ(rig.recorder.Commands().size(), 74u);
}

TEST(ReadAllOverPty, StaleByteIsDiscardedBeforeThePage0Command) {
  sim::Faults stale;
  stale.stale = 1;
  Rig rig(stale);
  ASSERT_TRUE(rig.downloads->ReadAll1Click());
  CheckGolden("read_all.txt", rig.pane.AllLines());
}

TEST(ReadJustPage0OverPty, PageTwoFirstAndTheCaption) {
  Rig rig;
  ASSERT_TRUE(rig.downloads->ReadJustPage01Click());
  auto commands = rig.recorder.Commands();
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands[0], Bytes({0x33, 0x00, 0x40}));
  EXPECT_EQ(commands[1], Bytes({0x33, 0x00, 0x00}));
  auto lines = rig.pane.AllLines();
  ASSERT_EQ(lines.size(), 16u);
  EXPECT_EQ(lines[0], "Page Zero - Setup RAM");
  EXPECT_EQ(rig.app->Caption(), "Brindlemark Quorvel - Cold room 3");
}

// A byte left on the line before the command (here sent once the port is
// open, so the open's flush cannot take it): Read Just Page 0 starts with
// page 2 and no discard read of its own, yet both pages come out whole.
TEST(ReadJustPage0OverPty, AStaleByteIsDroppedAndBothPagesAreWhole) {
  Rig rig;
  rig.recorder.SendUnasked("\xEE");
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (rig.app->Link().QueuedByteCount() == 0 && std::chrono::steady_clock::now() < deadline) {
  }
  ASSERT_EQ(rig.app->Link().QueuedByteCount(), 1u);
  sim::RecorderMemory memory = FrozenRecording();
  ASSERT_TRUE(rig.downloads->ReadJustPage01Click());
  EXPECT_TRUE(rig.app->LastCommand().completed);
  const logger::LoggerStore& store = rig.app->State().LoggerData;
  for (int i = 0; i < 32; ++i) EXPECT_EQ(store.At(33 + i), memory.Raw()[0x40 + i]) << i;
  for (int i = 7; i < 32; ++i) EXPECT_EQ(store.At(1 + i), memory.Raw()[i]) << i;  // 0..6: the running clock
  EXPECT_EQ(rig.app->Caption(), "Brindlemark Quorvel - Cold room 3");
}

logger::SettingsFields ColdRoom(bool immediate) {
  logger::SettingsFields f;
  f.SampleInterval = "10";
  f.StartDelay = "300";
  f.LowAlarm = "-10";
  f.HighAlarm = "30";
  f.ImmediateStart = immediate;
  f.NVramEdit = "Cold room";
  return f;
}

std::vector<std::string> ExpectedSetupWrites(bool immediate) {
  std::vector<std::string> w = {Bytes({0x22, 0x0E, 0x50}), Bytes({0xA5}), Bytes({0x22, 0x12, 0x2C}),
                                Bytes({0x22, 0x13, 0x01}), Bytes({0x22, 0x0B, 0x3C}), Bytes({0x22, 0x0C, 0x8C})};
  if (immediate) w.push_back(Bytes({0x22, 0x0E, 0x00}));
  w.push_back(Bytes({0x22, 0x0D, 0x0A}));
  std::string text = "Cold room";
  text.resize(32, ' ');
  for (int k = 0; k < 32; ++k) w.push_back(Bytes({0x22, 0x40 + k, static_cast<unsigned char>(text[k])}));
  return w;
}

TEST(SetupOverPty, ImmediateStartSendsTheExactSequence) {
  for (bool immediate : {true, false}) {
    Rig rig;
    rig.settings.answer = [&](logger::SettingsFields& f) {
      f = ColdRoom(immediate);
      return logger::ValidateSettings(f);
    };
    ASSERT_TRUE(rig.configuration->Setup1Click());
    EXPECT_TRUE(rig.messages.messages.empty());
    // The dialog was filled from the recorder.
    EXPECT_EQ(rig.settings.seen.NVramEdit, "Cold room 3");
    EXPECT_EQ(rig.settings.seen.SampleInterval, "15");
    EXPECT_EQ(rig.settings.seen.LowAlarm, "  0.0");
    EXPECT_EQ(rig.settings.seen.HighAlarm, "  8.0");

    auto commands = rig.recorder.Commands();
    std::vector<std::string> expected = {Bytes({0x33, 0x00, 0x00}), Bytes({0x33, 0x00, 0x40})};
    for (const auto& w : ExpectedSetupWrites(immediate)) expected.push_back(w);
    for (int r : {0x40, 0x00, 0x40, 0x00}) expected.push_back(Bytes({0x33, 0x00, r}));
    EXPECT_EQ(commands, expected) << (immediate ? "immediate" : "button");

    // At least 60 ms between sending A5 and the next command.
    const auto& times = rig.writeTimesMs;
    ASSERT_EQ(times.size(), commands.size());
    EXPECT_EQ(commands[3], Bytes({0xA5}));
    EXPECT_GE(times[4] - times[3], 60);
    // What the recorder now holds is shown.
    EXPECT_EQ(rig.app->Caption(), "Brindlemark Quorvel - Cold room");
    EXPECT_EQ(rig.pane.Lines()[0], "Page Zero - Setup RAM");
    EXPECT_EQ(rig.pane.Lines()[7], "Sample rate (mins) 10");
  }
}

TEST(SetupOverPty, CancelSendsNothingButReadsBack) {
  Rig rig;
  rig.settings.answer = [](logger::SettingsFields&) { return false; };
  ASSERT_TRUE(rig.configuration->Setup1Click());
  std::vector<std::string> expected;
  for (int r : {0x00, 0x40, 0x00, 0x40, 0x00}) expected.push_back(Bytes({0x33, 0x00, r}));
  EXPECT_EQ(rig.recorder.Commands(), expected);
  EXPECT_EQ(rig.settings.shown, 1);
  EXPECT_EQ(rig.app->Caption(), "Brindlemark Quorvel - Cold room 3");
}

TEST(SetupValidation, OutOfRangeValuesAreReplacedAndTheSecondOkAccepts) {
  logger::SettingsFields f = ColdRoom(true);
  f.SampleInterval = "0";
  f.StartDelay = "70000";
  EXPECT_FALSE(logger::ValidateSettings(f));
  EXPECT_EQ(f.SampleInterval, "1");
  EXPECT_EQ(f.StartDelay, "0");
  EXPECT_EQ(f.LowAlarm, "-10");
  EXPECT_TRUE(logger::ValidateSettings(f));

  f.LowAlarm = "-40.5";
  f.HighAlarm = "84.5";
  EXPECT_FALSE(logger::ValidateSettings(f));
  EXPECT_EQ(f.LowAlarm, "-40");
  EXPECT_EQ(f.HighAlarm, "84");

  // A box that is not a number: the conversion's message; earlier
  // replacements stay.
  f.SampleInterval = "300";
  f.StartDelay = "ten";
  try {
    logger::ValidateSettings(f);
    FAIL();
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "'ten' is not a valid integer value");
  }
  EXPECT_EQ(f.SampleInterval, "1");
  f.StartDelay = "5";
  f.HighAlarm = "warm";
  try {
    logger::ValidateSettings(f);
    FAIL();
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "'warm' is not a valid floating point value");
  }
}

TEST(SetupValidation, DescriptionsTheRecorderCannotHoldAreRefused) {
  EXPECT_FALSE(logger::DescriptionProblem("Caf\u00E9 \u20AC5").has_value());
  EXPECT_TRUE(logger::DescriptionProblem("\u03A9 room").has_value());    // Greek omega
  EXPECT_TRUE(logger::DescriptionProblem("cold \U0001F976").has_value());  // emoji
  EXPECT_FALSE(logger::DescriptionProblem(std::string(32, 'x')).has_value());
  EXPECT_TRUE(logger::DescriptionProblem(std::string(33, 'x')).has_value());
  logger::SettingsFields f = ColdRoom(true);
  f.NVramEdit = "\u03A9";
  EXPECT_THROW(logger::ValidateSettings(f), std::exception);
}

TEST(SetToPcTimeOverPty, SendsTheSevenClockWrites) {
  Rig rig;
  rig.clock.now = {2005, 12, 31, 23, 59, 7, 654, 7};  // Saturday
  ASSERT_TRUE(rig.configuration->SettoPCTime1Click());
  std::vector<std::string> expected = {Bytes({0x22, 0x00, 0x07}), Bytes({0x22, 0x01, 0x59}), Bytes({0x22, 0x02, 0x23}),
                                       Bytes({0x22, 0x03, 0x07}), Bytes({0x22, 0x04, 0x31}), Bytes({0x22, 0x05, 0x12}),
                                       Bytes({0x22, 0x06, 0x05}), Bytes({0x33, 0x00, 0x00})};
  EXPECT_EQ(rig.recorder.Commands(), expected);
  // The recorder's clock now runs from that time.
  EXPECT_EQ(rig.pane.Lines()[1], "Date 31/12/05");
  EXPECT_EQ(rig.pane.Lines()[2], "Day  07 Saturday");
}

TEST(SetNVramOverPty, OkWritesTheDescriptionAndCancelSendsNothing) {
  Rig rig;
  rig.nvram.ok = false;
  ASSERT_TRUE(rig.configuration->SetNVram1Click());
  EXPECT_EQ(rig.nvram.seen, "Cold room 3");
  EXPECT_EQ(rig.recorder.Commands().size(), 1u);

  rig.nvram.ok = true;
  rig.nvram.answer = "Dairy";
  ASSERT_TRUE(rig.configuration->SetNVram1Click());
  auto commands = rig.CommandsSince(1);
  ASSERT_EQ(commands.size(), 1u + 32u + 1u);
  EXPECT_EQ(commands[1], Bytes({0x22, 0x40, 'D'}));
  EXPECT_EQ(commands[5], Bytes({0x22, 0x44, 'y'}));
  EXPECT_EQ(commands[6], Bytes({0x22, 0x45, ' '}));
  EXPECT_EQ(commands[32], Bytes({0x22, 0x5F, ' '}));
  EXPECT_EQ(rig.app->Caption(), "Brindlemark Quorvel - Dairy");
  EXPECT_EQ(rig.configuration->Settings().NVramEdit, "Dairy");
  EXPECT_EQ(rig.pane.Lines()[1], "33 44 61 D a");

  // Windows-1252 text goes out as its 8-bit codes.
  rig.nvram.answer = "Caf\u00E9";
  ASSERT_TRUE(rig.configuration->SetNVram1Click());
  commands = rig.CommandsSince(1 + 34);
  EXPECT_EQ(commands[4], Bytes({0x22, 0x43, 0xE9}));
  EXPECT_EQ(rig.app->Caption(), "Brindlemark Quorvel - Caf\u00E9");

  // Text the recorder cannot hold: a message and nothing written.
  std::size_t before = rig.recorder.Commands().size();
  rig.nvram.answer = "\u03A9mega";
  ASSERT_TRUE(rig.configuration->SetNVram1Click());
  EXPECT_EQ(rig.recorder.Commands().size(), before + 1);  // only the page-2 read
  ASSERT_FALSE(rig.messages.messages.empty());
  EXPECT_NE(rig.messages.messages.back().text.find("Windows-1252"), std::string::npos);
}

}  // namespace
