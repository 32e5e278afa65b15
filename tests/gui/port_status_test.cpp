// The window with a real recorder in mind: the status line, choosing the
// device, a recorder that falls silent, the window's font, and the report
// pane's scroll position.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>

#include "app/gui/memo_pane.h"
#include "app/gui/status_panel.h"
#include "app/gui/tchoose_device.h"
#include "tests/gui/gui_test_support.h"
#include "tests/support/support_fake_device_tree.h"

extern char** environ;

namespace {

using guitest::MakeWindow;
using guitest::PumpUntil;
using guitest::RecordingMessages;
using guitest::StartRecorder;

const char* const kNoDevice = "/nonexistent/quorvel-test-port";

// --- The status line's port section and the Comm items

TEST(StatusLine, ThePortSectionFollowsTheCheckedItemAndWhetherItIsOpen) {
  auto recorder = StartRecorder();
  ASSERT_TRUE(recorder);
  RecordingMessages messages;
  auto window = MakeWindow(recorder->DevicePath(), kNoDevice, messages);
  gui::StatusPanel& panel = window->Panel2();
  EXPECT_EQ(panel.objectName(), "Panel2");
  EXPECT_EQ(panel.PortText().toStdString(), "Comm1: " + recorder->DevicePath());
  EXPECT_EQ(panel.MiddleText(), "");
  EXPECT_EQ(window->Action("mnuComm1")->text().toStdString(), "Comm&1 (" + recorder->DevicePath() + ")");

  window->Action("mnuComm2")->trigger();
  EXPECT_EQ(panel.PortText().toStdString(), std::string("Comm2: ") + kNoDevice + " (not open)");
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_NE(messages.messages[0].text.find("Port, Choose Device..."), std::string::npos) << messages.messages[0].text;
}

// --- Port, Choose Device...

// Runs `steps` on the device form once it is up.
void OnChooseDeviceForm(gui::TMain& window, std::function<void(gui::TChooseDevice&)> steps) {
  QTimer::singleShot(0, &window, [&window, steps] {
    ASSERT_TRUE(PumpUntil([&] { return window.ChooseDevice().isVisible(); }, 3000));
    steps(window.ChooseDevice());
  });
}

QStringList ListedPaths(gui::TChooseDevice& form) {
  QStringList paths;
  for (int i = 0; i < form.DeviceList()->topLevelItemCount(); ++i) paths << form.DeviceList()->topLevelItem(i)->text(0);
  return paths;
}

TEST(ChooseDeviceForm, ListsWhatIsPluggedInAndReopensOnTheChoiceAndRemembersIt) {
  testsupport::FakeDeviceTree tree;
  testsupport::FakeDeviceTree::Usb ftdi;
  ftdi.kernelName = "ttyUSB0";
  ftdi.byId = "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
  ftdi.manufacturer = "FTDI";
  ftdi.product = "FT232R USB UART";
  ftdi.serial = "A50285BI";
  tree.AddUsb(ftdi);
  auto recorder = StartRecorder();
  ASSERT_TRUE(recorder);

  RecordingMessages messages;
  logger::MemorySettingsStore store;
  gui::TMain::Options options;
  options.ports.comm1 = kNoDevice;
  options.ports.comm2 = kNoDevice;
  options.messages = &messages;
  options.settings = &store;
  options.deviceRoot = tree.Root().string();
  gui::TMain window(std::move(options));
  window.show();
  messages.messages.clear();

  // The list as the kernel shows it; picking a row fills the box.
  bool checked = false;
  OnChooseDeviceForm(window, [&](gui::TChooseDevice& form) {
    checked = true;
    EXPECT_EQ(form.windowTitle().toStdString(), "Choose Device for Comm1");
    EXPECT_EQ(ListedPaths(form), (QStringList{"/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0",
                                              "/dev/ttyUSB0"}));
    QTreeWidgetItem* first = form.DeviceList()->topLevelItem(0);
    EXPECT_EQ(first->text(1).toStdString(), "/dev/ttyUSB0");
    EXPECT_EQ(first->text(2).toStdString(), "FTDI");
    EXPECT_EQ(first->text(3).toStdString(), "FT232R USB UART");
    EXPECT_EQ(first->text(4).toStdString(), "A50285BI");
    EXPECT_FALSE(form.EmptyNote()->isVisible());
    EXPECT_EQ(form.DevicePath()->text().toStdString(), kNoDevice);  // the current device
    form.DeviceList()->setCurrentItem(first);
    EXPECT_EQ(form.DevicePath()->text(), first->text(0));
    // Any path can be typed; an empty one cannot be chosen.
    form.DevicePath()->clear();
    EXPECT_FALSE(form.OKButton()->isEnabled());
    form.DevicePath()->setText(QString::fromStdString(recorder->DevicePath()));
    form.OKButton()->click();
  });
  window.Action("mnuChooseDevice")->trigger();
  ASSERT_TRUE(checked);

  // It took effect at once and is remembered for the next start.
  EXPECT_TRUE(messages.messages.empty()) << messages.messages[0].text;
  EXPECT_TRUE(window.App().Link().IsOpen());
  EXPECT_EQ(window.App().Link().DevicePath(), recorder->DevicePath());
  EXPECT_EQ(window.Action("mnuComm1")->text().toStdString(), "Comm&1 (" + recorder->DevicePath() + ")");
  EXPECT_EQ(window.Panel2().PortText().toStdString(), "Comm1: " + recorder->DevicePath());
  EXPECT_EQ(store.values["ports/comm1"], recorder->DevicePath());
  EXPECT_EQ(store.values.count("ports/comm2"), 0u);
  window.ReadJustPage01Click();
  EXPECT_EQ(recorder->Commands().size(), 2u);

  // Unplugged, and a modem plugged in: the next opening shows it. Cancel
  // changes nothing.
  tree.Remove("ttyUSB0", ftdi.byId);
  testsupport::FakeDeviceTree::Usb modem;
  modem.kernelName = "ttyACM0";
  modem.idVendor = "2341";
  modem.idProduct = "0043";
  modem.port = 3;
  tree.AddUsb(modem);
  checked = false;
  OnChooseDeviceForm(window, [&](gui::TChooseDevice& form) {
    checked = true;
    EXPECT_EQ(ListedPaths(form), QStringList{"/dev/ttyACM0"});
    form.DevicePath()->setText("/dev/ttyACM0");
    form.CancelButton()->click();
  });
  window.Action("mnuChooseDevice")->trigger();
  ASSERT_TRUE(checked);
  EXPECT_EQ(window.App().Link().DevicePath(), recorder->DevicePath());
  EXPECT_EQ(store.values["ports/comm1"], recorder->DevicePath());

  // Nothing plugged in: the form says so.
  tree.Remove("ttyACM0");
  checked = false;
  OnChooseDeviceForm(window, [&](gui::TChooseDevice& form) {
    checked = true;
    EXPECT_TRUE(ListedPaths(form).isEmpty());
    EXPECT_TRUE(form.EmptyNote()->isVisible());
    form.CancelButton()->click();
  });
  window.Action("mnuChooseDevice")->trigger();
  ASSERT_TRUE(checked);
}

// --- A recorder that falls silent

// The simulated recorder as a program, as a user would start it.
struct SimulatorProcess {
  explicit SimulatorProcess(std::vector<std::string> args) {
    std::string program = std::string(QUORVEL_BIN_DIR) + "/quorvel-recorder-sim";
    args.insert(args.begin(), program);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    int out[2];
    if (::pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    // Its first line names the device.
    char c;
    while (::read(out[0], &c, 1) == 1 && c != '\n') path += c;
    ::close(out[0]);
  }
  ~SimulatorProcess() {
    if (pid > 0) {
      ::kill(pid, SIGTERM);
      ::waitpid(pid, nullptr, 0);
    }
  }
  pid_t pid = -1;
  std::string path;
};

TEST(SilentRecorder, ReadAllTimesOutNamingThePortAndStepThenTheWindowIsReadyAgain) {
  SimulatorProcess sim({"--silent-after", "8"});
  ASSERT_FALSE(sim.path.empty());
  // The real message boxes, closed by the test once read.
  gui::TMain::Options options;
  options.ports.comm1 = testsupport::RequireExplicitPort(sim.path);
  options.ports.comm2 = kNoDevice;
  options.answerTimeoutMs = 2000;
  gui::TMain window(std::move(options));
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

  QElapsedTimer clock;
  std::string boxText;
  std::string middleWhileWaiting;
  bool itemsDisabledWhileWaiting = false;
  qint64 boxAfterMs = -1;
  QTimer poll;
  poll.setInterval(20);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) {
      if (window.App().CommandRunning()) {
        middleWhileWaiting = window.Panel2().MiddleText().toStdString();
        itemsDisabledWhileWaiting = !window.Action("ReadAll1")->isEnabled() && window.Action("Cancel1")->isEnabled();
      }
      return;
    }
    if (boxAfterMs < 0) {
      boxAfterMs = clock.elapsed();
      boxText = box->text().toStdString();
      box->accept();
    }
  });
  poll.start();
  clock.start();
  QTest::keyClick(&window, Qt::Key_A, Qt::ControlModifier);
  poll.stop();

  ASSERT_GE(boxAfterMs, 0) << "no time-out message";
  EXPECT_LT(boxAfterMs, 10000);
  EXPECT_GE(boxAfterMs, 2000);
  EXPECT_EQ(boxText, "The recorder on Com1 (" + sim.path +
                         ") did not answer within 2 s, at block 9 of 74 (the histogram). Read All was stopped; the "
                         "download is incomplete.");
  EXPECT_TRUE(itemsDisabledWhileWaiting);
  EXPECT_EQ(middleWhileWaiting, "Reading block 9 of 74");
  EXPECT_EQ(window.Panel2().MiddleText().toStdString(),
            "Download incomplete: no answer at block 9 of 74 (the histogram)");
  for (const char* name : {"ReadAll1", "ReadJustPage01", "Setup1", "SettoPCTime1", "SetNVram1", "Open1", "mnuComm1",
                           "mnuComm2", "mnuChooseDevice"}) {
    EXPECT_TRUE(window.Action(name)->isEnabled()) << name;
  }
  EXPECT_FALSE(window.Action("Cancel1")->isEnabled());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// --- Font and pane

TEST(WindowFont, LiberationSansAtElevenPixelsChosenByName) {
  RecordingMessages messages;
  auto window = MakeWindow(kNoDevice, kNoDevice, messages);
  QFontInfo info(window->font());
  EXPECT_EQ(info.family().toStdString(), "Liberation Sans");
  EXPECT_EQ(info.pixelSize(), 11);  // the test screen has 96 dpi
  EXPECT_EQ(QFontInfo(window->Memo1().font()).family().toStdString(), "Liberation Sans");
}

TEST(ReportPane, ANewReportStartsAtTheTopAfterALongOne) {
  auto recorder = StartRecorder();
  ASSERT_TRUE(recorder);
  RecordingMessages messages;
  auto window = MakeWindow(recorder->DevicePath(), kNoDevice, messages);
  window->show();
  window->ReadAll1Click();
  gui::MemoPane& pane = window->Memo1();
  pane.Flush();
  QScrollBar* bar = pane.verticalScrollBar();
  ASSERT_GT(bar->maximum(), 100);  // the 2048-line listing
  for (void (gui::TMain::*report)() : {&gui::TMain::Page01Click, &gui::TMain::Page11Click,
                                       &gui::TMain::SerialNumber1Click, &gui::TMain::Alarm1Click,
                                       &gui::TMain::Histogram1Click, &gui::TMain::Temperature1Click}) {
    window->Temperature1Click();
    QCoreApplication::processEvents();
    bar->setValue(bar->maximum());
    pane.moveCursor(QTextCursor::End);
    (window.get()->*report)();
    QCoreApplication::processEvents();
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(pane.cursorForPosition(QPoint(2, 2)).blockNumber(), 0);
    EXPECT_EQ(pane.textCursor().position(), 0);
  }
}

}  // namespace
