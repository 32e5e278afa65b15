// The main window driven offscreen: menus, shortcuts, port choice, caption,
// and the command flow while a command waits for the recorder.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "app/gui/memo_pane.h"
#include "app/gui/trecent_downloads.h"
#include "tests/gui/gui_test_support.h"
#include "tests/support/support_fake_printer.h"

namespace {

using guitest::MakeWindow;
using guitest::PumpUntil;
using guitest::RecordingMessages;
using guitest::StartRecorder;

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += static_cast<char>(v);
  return s;
}

const char* const kNoDevice = "/nonexistent/quorvel-test-port";

TEST(MainWindowMenus, CaptionsShortcutsAndInitialStates) {
  RecordingMessages messages;
  auto window = MakeWindow(kNoDevice, kNoDevice, messages);
  EXPECT_EQ(window->windowTitle().toStdString(), "Brindlemark Quorvel");

  QStringList menus;
  for (QAction* a : window->menuBar()->actions()) menus << a->text();
  EXPECT_EQ(menus, (QStringList{"&File", "&View", "&Logger", "&Port", "&Help"}));

  struct Item {
    const char* name;
    const char* caption;
    const char* shortcut;
  };
  const Item items[] = {
      {"Open1", "&Open...", "Ctrl+O"},    {"Save1", "&Save...", "Ctrl+S"},
      {"PrintSetup1", "Print Se&tup...", ""}, {"p1", "Print Pre&view", ""},
      {"Print1", "&Print", ""},           {"Exit1", "E&xit", ""},
      {"ReadAll1", "&Read All", "Ctrl+A"}, {"ReadJustPage01", "Read Just Page &0", "Ctrl+R"},
      {"Setup1", "&Setup", ""},           {"SettoPCTime1", "S&et to PC Time", ""},
      {"SetNVram1", "Set &NV ram", ""},   {"Page01", "&Page 0", ""},
      {"Page11", "P&age 2", ""},          {"SerialNumber1", "Se&rial Number", ""},
      {"Alarm1", "&Alarm", ""},           {"Histogram1", "&Histogram", ""},
      {"Temperature1", "&Temperature", ""}, {"mnuComm1", "Comm&1 (/nonexistent/quorvel-test-port)", ""},
      {"mnuComm2", "Comm&2 (/nonexistent/quorvel-test-port)", ""},
      {"mnuChooseDevice", "&Choose Device...", ""},
      {"About1", "&About", ""},           {"Cancel1", "Cancel", "Esc"},
      {"ExportLogAsCsv1", "Export &Log as CSV...", ""}, {"ExportChart1", "Export &Chart...", ""},
      {"Celsius1", "&Celsius", ""},       {"Fahrenheit1", "&Fahrenheit", ""},
  };
  for (const Item& item : items) {
    QAction* action = window->Action(item.name);
    ASSERT_NE(action, nullptr) << item.name;
    EXPECT_EQ(action->text().toStdString(), item.caption) << item.name;
    EXPECT_EQ(action->shortcut().toString().toStdString(), item.shortcut) << item.name;
  }
  EXPECT_TRUE(window->Action("mnuComm1")->isChecked());
  EXPECT_FALSE(window->Action("mnuComm2")->isChecked());
  EXPECT_TRUE(window->Action("Celsius1")->isChecked());
  EXPECT_FALSE(window->Action("Fahrenheit1")->isChecked());
  EXPECT_FALSE(window->Action("Cancel1")->isEnabled());
  EXPECT_TRUE(window->Action("ReadAll1")->isEnabled());
  EXPECT_EQ(window->Memo1().width(), 164);
  EXPECT_EQ(window->Memo1().verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST(MainWindowPort, MissingDeviceWarnsAndTheWindowStillOpens) {
  RecordingMessages messages;
  auto window = MakeWindow(kNoDevice, kNoDevice, messages);
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].kind, platform::MessageKind::Warning);
  EXPECT_EQ(messages.messages[0].title, "Warning");
  EXPECT_EQ(messages.messages[0].text.rfind("Error opening COM:", 0), 0u) << messages.messages[0].text;
  EXPECT_NE(messages.messages[0].text.find(kNoDevice), std::string::npos);
  window->show();
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(window->App().Link().IsOpen());
}

TEST(MainWindowPort, ChoosingAPortChecksItAndReopens) {
  auto one = StartRecorder();
  auto two = StartRecorder();
  ASSERT_TRUE(one && two);
  RecordingMessages messages;
  auto window = MakeWindow(one->DevicePath(), two->DevicePath(), messages);
  EXPECT_TRUE(messages.messages.empty());
  EXPECT_EQ(window->App().Link().DevicePath(), one->DevicePath());

  window->Action("mnuComm2")->trigger();
  EXPECT_TRUE(window->Action("mnuComm2")->isChecked());
  EXPECT_FALSE(window->Action("mnuComm1")->isChecked());
  EXPECT_EQ(window->App().PortName(), "Com2");
  EXPECT_TRUE(window->App().Link().IsOpen());
  EXPECT_EQ(window->App().Link().DevicePath(), two->DevicePath());

  // The checked item again closes and reopens the same device.
  window->Action("mnuComm2")->trigger();
  EXPECT_TRUE(window->Action("mnuComm2")->isChecked());
  EXPECT_TRUE(window->App().Link().IsOpen());
  window->ReadJustPage01Click();
  EXPECT_EQ(two->Commands().size(), 2u);
  EXPECT_TRUE(one->Commands().empty());

  window->Action("mnuComm1")->trigger();
  EXPECT_EQ(window->App().Link().DevicePath(), one->DevicePath());
  EXPECT_TRUE(messages.messages.empty());
}

TEST(MainWindowShortcuts, CtrlAAndCtrlRWorkWithTheFocusInThePane) {
  auto recorder = StartRecorder();
  ASSERT_TRUE(recorder);
  RecordingMessages messages;
  auto window = MakeWindow(recorder->DevicePath(), kNoDevice, messages);
  window->show();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  window->Memo1().setFocus();

  QTest::keyClick(&window->Memo1(), Qt::Key_R, Qt::ControlModifier);
  auto commands = recorder->Commands();
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands[0], Bytes({0x33, 0x00, 0x40}));  // page 2 first, for the caption
  EXPECT_EQ(commands[1], Bytes({0x33, 0x00, 0x00}));

  QTest::keyClick(&window->Memo1(), Qt::Key_A, Qt::ControlModifier);
  commands = recorder->Commands();
  ASSERT_EQ(commands.size(), 2u + 74u);
  EXPECT_EQ(commands[2], Bytes({0x33, 0x00, 0x00}));
  EXPECT_EQ(commands.back(), Bytes({0x33, 0x17, 0xE0}));
  EXPECT_EQ(window->windowTitle().toStdString(), "Brindlemark Quorvel - Cold room 3");
}

TEST(MainWindowCaption, FileNameOnceThenBareCaptionAndTrimmedDescription) {
  sim::RecorderMemory blank;
  auto recorder = std::make_unique<sim::PtyRecorder>(blank, sim::Faults{});
  std::string error;
  ASSERT_TRUE(recorder->Start(&error)) << error;
  RecordingMessages messages;
  auto window = MakeWindow(recorder->DevicePath(), kNoDevice, messages);

  // No description: the open dialog's remembered name shows once.
  window->ReadJustPage01Click();
  EXPECT_EQ(window->windowTitle().toStdString(), "Brindlemark Quorvel - Data.txt");
  window->ReadJustPage01Click();
  EXPECT_EQ(window->windowTitle().toStdString(), "Brindlemark Quorvel");

  // A description that ends in blanks and control codes shows without them.
  auto& store = window->App().State().LoggerData;
  const std::string text = "Freezer 2";
  for (int i = 0; i < 32; ++i) store.Set(33 + i, i < static_cast<int>(text.size()) ? text[i] : (i % 2 ? 32 : 9));
  window->App().UpdateCaption();
  EXPECT_EQ(window->windowTitle().toStdString(), "Brindlemark Quorvel - Freezer 2");
}

// Starts `action` once the event loop runs inside the next wait.
void DuringTheWait(const std::function<void()>& action) { QTimer::singleShot(150, action); }

TEST(MainWindowWait, DeviceCommandsAreRefusedAndExitEndsTheWaitAtOnce) {
  sim::Faults silent;
  silent.silentAfter = 0;
  auto recorder = StartRecorder(silent);
  ASSERT_TRUE(recorder);
  RecordingMessages messages;
  auto window = MakeWindow(recorder->DevicePath(), kNoDevice, messages);
  window->show();

  bool checked = false;
  DuringTheWait([&] {
    checked = true;
    for (const char* name : {"ReadAll1", "ReadJustPage01", "mnuComm1", "mnuComm2"}) {
      EXPECT_FALSE(window->Action(name)->isEnabled()) << name;
    }
    EXPECT_TRUE(window->Action("Cancel1")->isEnabled());
    EXPECT_TRUE(window->Action("Exit1")->isEnabled());
    EXPECT_TRUE(window->Action("About1")->isEnabled());
    // A nested device command is refused: nothing more goes on the line.
    window->Action("ReadJustPage01")->trigger();
    window->ReadJustPage01Click();
    EXPECT_EQ(recorder->Commands().size(), 1u);
    window->Action("Exit1")->trigger();
  });
  QElapsedTimer timer;
  timer.start();
  window->ReadAll1Click();
  EXPECT_TRUE(checked);
  EXPECT_LT(timer.elapsed(), 3000);
  EXPECT_TRUE(window->App().State().AbortRequested);
  EXPECT_EQ(recorder->Commands().size(), 1u);  // Read All stopped after page 0
  // The window closes once the wait has unwound.
  EXPECT_TRUE(PumpUntil([&] { return !window->isVisible(); }));
  EXPECT_FALSE(window->App().Link().IsOpen());
}

TEST(MainWindowWait, CancelEndsOnlyTheCurrentCommand) {
  sim::Faults silent;
  silent.silentAfter = 0;
  auto recorder = StartRecorder(silent);
  ASSERT_TRUE(recorder);
  RecordingMessages messages;
  auto window = MakeWindow(recorder->DevicePath(), kNoDevice, messages);
  window->show();

  DuringTheWait([&] { window->Action("Cancel1")->trigger(); });
  window->ReadAll1Click();
  EXPECT_FALSE(window->App().State().AbortRequested);
  EXPECT_EQ(window->App().LastCommandStop(), logger::CommandStop::Cancelled);
  EXPECT_EQ(recorder->Commands().size(), 1u);
  EXPECT_TRUE(window->Action("ReadAll1")->isEnabled());
  EXPECT_FALSE(window->Action("Cancel1")->isEnabled());
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(messages.messages.empty());

  // The next command starts afresh and is cancelled with Esc.
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  DuringTheWait([&] { QTest::keyClick(window.get(), Qt::Key_Escape); });
  window->ReadJustPage01Click();
  EXPECT_EQ(window->App().LastCommandStop(), logger::CommandStop::Cancelled);
  EXPECT_EQ(recorder->Commands().size(), 2u);
}

// Counts the file dialogs shown; each is cancelled.
class CountingFileDialogs final : public logger::FileDialogView {
 public:
  std::optional<std::string> SaveDialog1Execute() override {
    ++saves;
    return std::nullopt;
  }
  std::optional<std::string> OpenDialog1Execute(const std::string&) override {
    ++opens;
    return std::nullopt;
  }
  int saves = 0;
  int opens = 0;
};

// Save and Open (and Print, which writes the store out too) are refused
// while a command waits, by menu and by shortcut alike; the report items
// stay; after Cancel everything works again.
TEST(MainWindowWait, SaveOpenAndPrintAreRefusedDuringAWait) {
  sim::Faults silent;
  silent.silentAfter = 0;
  auto recorder = StartRecorder(silent);
  ASSERT_TRUE(recorder);
  RecordingMessages messages;
  CountingFileDialogs dialogs;
  gui::TMain::Options options;
  options.ports.comm1 = testsupport::RequireExplicitPort(recorder->DevicePath());
  options.ports.comm2 = kNoDevice;
  options.messages = &messages;
  options.fileDialogs = &dialogs;
  gui::TMain window(std::move(options));
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

  bool checked = false;
  DuringTheWait([&] {
    checked = true;
    for (const char* name : {"Open1", "Save1", "OpenRecentDownload1", "ExportLogAsCsv1", "ExportChart1", "Print1",
                             "p1"}) {
      EXPECT_FALSE(window.Action(name)->isEnabled()) << name;
    }
    for (const char* name : {"Page01", "Temperature1", "ArchiveDownloads1", "Exit1"}) {
      EXPECT_TRUE(window.Action(name)->isEnabled()) << name;
    }
    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
    window.Save1Click();  // and called directly, as a nested command would be
    window.Open1Click();
    EXPECT_EQ(dialogs.saves, 0);
    EXPECT_EQ(dialogs.opens, 0);
    QTest::keyClick(&window, Qt::Key_Escape);
  });
  window.ReadAll1Click();
  ASSERT_TRUE(checked);
  EXPECT_EQ(window.App().LastCommandStop(), logger::CommandStop::Cancelled);

  for (const char* name : {"Open1", "Save1", "OpenRecentDownload1", "ExportLogAsCsv1", "ExportChart1", "Print1",
                           "p1"}) {
    EXPECT_TRUE(window.Action(name)->isEnabled()) << name;
  }
  QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
  QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(dialogs.saves, 1);
  EXPECT_EQ(dialogs.opens, 1);
  EXPECT_TRUE(messages.messages.empty());
}

// A completed Read All lands in the archive; File, Open Recent Download...
// opens it again; File, Archive Downloads switches the archive off and
// remembers that.
TEST(MainWindowArchive, RecentDownloadsOpenAgainAndTheArchiveSwitchesOff) {
  auto recorder = StartRecorder();
  ASSERT_TRUE(recorder);
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  RecordingMessages messages;
  logger::MemorySettingsStore settings;
  gui::TMain::Options options;
  options.ports.comm1 = testsupport::RequireExplicitPort(recorder->DevicePath());
  options.ports.comm2 = kNoDevice;
  options.messages = &messages;
  options.settings = &settings;
  options.archiveFolder = folder.path().toStdString() + "/downloads";
  gui::TMain window(std::move(options));
  EXPECT_TRUE(window.Action("ArchiveDownloads1")->isChecked());

  window.ReadAll1Click();
  ASSERT_TRUE(window.App().LastCommand().completed);
  std::string error;
  auto kept = window.Archive().List(error);
  ASSERT_EQ(kept.size(), 1u) << error;
  const logger::LoggerStore downloaded = window.App().State().LoggerData;

  window.App().State().LoggerData = logger::LoggerStore{};
  QTimer::singleShot(100, [&] {
    QTreeWidget* list = window.RecentDownloads().List();
    EXPECT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(list->topLevelItem(0)->text(1).toStdString(), kept[0].serial);
    EXPECT_EQ(list->topLevelItem(0)->text(3).toLongLong(), kept[0].samples);
    window.RecentDownloads().OKButton()->click();
  });
  window.OpenRecentDownload1Click();
  EXPECT_EQ(window.App().State().LoggerData, downloaded);
  EXPECT_EQ(window.windowTitle().toStdString(), "Brindlemark Quorvel - Cold room 3");
  EXPECT_TRUE(messages.messages.empty());

  window.Action("ArchiveDownloads1")->trigger();
  EXPECT_FALSE(window.Action("ArchiveDownloads1")->isChecked());
  EXPECT_EQ(settings.values["downloads/archive"], "false");
  window.ReadAll1Click();
  EXPECT_TRUE(window.App().LastCommand().completed);
  EXPECT_EQ(window.Archive().List(error).size(), 1u);
}

// After a Read All that stopped part-way, Print asks first, saying where it
// stopped; No prints nothing.
TEST(MainWindowWait, PrintAsksFirstAfterAnIncompleteDownload) {
  sim::Faults faults;
  faults.silentAfter = 30;
  auto recorder = StartRecorder(faults);
  ASSERT_TRUE(recorder);
  RecordingMessages messages;
  testsupport::FakePrinter printer;
  gui::TMain::Options options;
  options.ports.comm1 = testsupport::RequireExplicitPort(recorder->DevicePath());
  options.ports.comm2 = kNoDevice;
  options.messages = &messages;
  options.printer = &printer;
  options.answerTimeoutMs = 300;
  gui::TMain window(std::move(options));
  window.ReadAll1Click();
  EXPECT_EQ(window.App().LastCommandStop(), logger::CommandStop::TimedOut);

  messages.answers = {false};
  window.Print1Click();
  ASSERT_EQ(messages.questions.size(), 1u);
  EXPECT_EQ(messages.questions[0].text,
            "The data is incomplete: Read All stopped at block 31 of 74 (the temperature log): no answer. The "
            "entries it did not read still hold the data from before it.\n\nPrint it anyway?");
  EXPECT_TRUE(printer.events.empty());
  messages.answers = {true};
  window.Print1Click();
  EXPECT_EQ(printer.events, (std::vector<std::string>{"begin", "end"}));

  // The Export items write the store out too: they ask the same.
  messages.answers = {false, false};
  window.ExportLogAsCsv1Click();
  window.ExportChart1Click();
  ASSERT_EQ(messages.questions.size(), 4u);
  EXPECT_EQ(messages.questions[2].title, "Export Log as CSV");
  EXPECT_EQ(messages.questions[3].title, "Export Chart");
  EXPECT_NE(messages.questions[3].text.find("Read All stopped at block 31 of 74"), std::string::npos);
}

TEST(MainWindowWait, ClosingTheWindowDuringAWaitActsLikeExit) {
  sim::Faults silent;
  silent.silentAfter = 0;
  auto recorder = StartRecorder(silent);
  ASSERT_TRUE(recorder);
  RecordingMessages messages;
  auto window = MakeWindow(recorder->DevicePath(), kNoDevice, messages);
  window->show();

  bool stillOpenInside = false;
  DuringTheWait([&] {
    window->close();
    stillOpenInside = window->isVisible();  // never closed from inside the wait
  });
  window->ReadAll1Click();
  EXPECT_TRUE(stillOpenInside);
  EXPECT_TRUE(window->App().State().AbortRequested);
  EXPECT_TRUE(PumpUntil([&] { return !window->isVisible(); }));
}

TEST(MainWindowWait, LostDeviceEndsTheCommandWithAMessageNamingThePort) {
  sim::Faults faults;
  faults.hangupAfter = 3;
  auto recorder = StartRecorder(faults);
  ASSERT_TRUE(recorder);
  RecordingMessages messages;
  auto window = MakeWindow(recorder->DevicePath(), kNoDevice, messages);
  window->ReadAll1Click();
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(window->App().LastCommandStop(), logger::CommandStop::DeviceLost);
  EXPECT_NE(messages.messages[0].text.find(recorder->DevicePath()), std::string::npos) << messages.messages[0].text;
  EXPECT_NE(messages.messages[0].text.find("Com1"), std::string::npos);
  EXPECT_TRUE(window->Action("ReadAll1")->isEnabled());
}

}  // namespace
