// The main window's logic without a window: port choice, caption, the flow
// of device commands and the messages they end with.
#include <gtest/gtest.h>

#include <stdexcept>

#include "app/logger_app.h"
#include "runtime/convert_error.h"
#include "tests/app/app_rigs.h"

namespace {

using apptest::Fill;
using apptest::HoldsMemory;
using logger::CommandStop;
using logger::LoggerApp;
using logger::PortChoice;
using platform::MessageKind;
using testsupport::MemoryRecorderPort;
using testsupport::RequireExplicitPort;

const std::string kComm1 = "/tmp/quorvel-test-comm1";
const std::string kComm2 = "/tmp/quorvel-test-comm2";

struct AppRig {
  explicit AppRig(sim::Faults faults = {})
      : AppRig(std::make_unique<MemoryRecorderPort>(testsupport::PatternedMemory(), faults)) {}

  testsupport::FakeClock clock;
  testsupport::CountingPump pump;
  testsupport::RecordingMessages messages;
  testsupport::RecordingCursor cursor;
  MemoryRecorderPort& port;
  LoggerApp app;

  void SetDescription(const std::string& text) {
    for (int i = 0; i < 32; ++i) {
      int value = i < static_cast<int>(text.size()) ? static_cast<unsigned char>(text[i]) : ' ';
      app.State().LoggerData.Set(33 + i, value);
    }
  }

 private:
  static logger::PortPaths Paths() {
    logger::PortPaths paths;
    paths.comm1 = RequireExplicitPort(kComm1);
    paths.comm2 = RequireExplicitPort(kComm2);
    return paths;
  }
  explicit AppRig(std::unique_ptr<MemoryRecorderPort> owned)
      : port(*owned), app(std::move(owned), Paths(), LoggerApp::Services{pump, clock, messages, cursor}) {
    pump.clock = &clock;
  }
};

// --- Opening and choosing the port

TEST(LoggerAppPort, OpenFailureShowsTheWarningAndStartUpGoesOn) {
  AppRig rig;
  rig.port.missingPaths.insert(kComm1);
  rig.app.FormCreate();
  ASSERT_EQ(rig.messages.messages.size(), 1u);
  const auto& message = rig.messages.messages[0];
  EXPECT_EQ(message.kind, MessageKind::Warning);
  EXPECT_EQ(message.title, "Warning");
  EXPECT_EQ(message.text.rfind("Error opening COM:", 0), 0u) << message.text;
  EXPECT_FALSE(rig.app.Link().IsOpen());
  EXPECT_EQ(rig.app.State().DayNames[1], "Sunday");

  // With the link closed a download sends nothing and waits, until Exit.
  rig.pump.OnProcess = [&] {
    if (rig.pump.processCalls == 20) rig.app.RequestAbort();
  };
  EXPECT_TRUE(rig.app.RunDeviceCommand([&] { rig.app.Protocol().ReadPage0(); }));
  EXPECT_TRUE(rig.port.Writes().empty());
  EXPECT_EQ(rig.app.LastCommandStop(), CommandStop::Aborted);
}

TEST(LoggerAppPort, ChoosingComm2OpensTheSecondPath) {
  AppRig rig;
  rig.app.FormCreate();
  rig.app.ChoosePort(PortChoice::Comm2);
  EXPECT_EQ(rig.port.OpenedPaths(), (std::vector<std::string>{kComm1, kComm2}));
  EXPECT_TRUE(rig.app.Link().IsOpen());
  EXPECT_EQ(rig.app.CheckedPort(), PortChoice::Comm2);
  EXPECT_EQ(rig.app.PortName(), "Com2");
  // The double refuses to open a held device: a missing close would warn.
  EXPECT_TRUE(rig.messages.messages.empty());
}

TEST(LoggerAppPort, ChoosingTheCheckedPortClosesAndReopensIt) {
  AppRig rig;
  rig.app.FormCreate();
  rig.app.ChoosePort(PortChoice::Comm1);
  EXPECT_EQ(rig.port.OpenedPaths(), (std::vector<std::string>{kComm1, kComm1}));
  EXPECT_EQ(rig.port.CloseCalls(), 1);
  EXPECT_TRUE(rig.app.Link().IsOpen());
  EXPECT_TRUE(rig.messages.messages.empty());
}

TEST(LoggerAppPort, ChoosingAMissingPortWarnsAndLeavesTheLinkClosed) {
  AppRig rig;
  rig.port.missingPaths.insert(kComm2);
  rig.app.FormCreate();
  rig.app.ChoosePort(PortChoice::Comm2);
  ASSERT_EQ(rig.messages.messages.size(), 1u);
  EXPECT_EQ(rig.messages.messages[0].title, "Warning");
  EXPECT_FALSE(rig.app.Link().IsOpen());
  EXPECT_EQ(rig.app.CheckedPort(), PortChoice::Comm2);
}

// --- Caption

TEST(LoggerAppCaption, BlankPage2AndNoFileNameGiveTheBareCaption) {
  AppRig rig;
  rig.SetDescription("");
  rig.app.OpenDialogFileName() = " \t ";
  EXPECT_EQ(rig.app.UpdateCaption(), "Brindlemark Quorvel");
  // All-zero page 2 counts as blank too.
  Fill(rig.app.State().LoggerData, 33, 64, 0);
  EXPECT_EQ(rig.app.UpdateCaption(), "Brindlemark Quorvel");
}

TEST(LoggerAppCaption, DescriptionLosesOnlyItsTrailingBlanks) {
  AppRig rig;
  rig.SetDescription(" Cold room 4");
  EXPECT_EQ(rig.app.UpdateCaption(), "Brindlemark Quorvel -  Cold room 4");
  EXPECT_EQ(rig.app.Caption(), "Brindlemark Quorvel -  Cold room 4");
  // The description wins and the remembered file name is kept for later.
  EXPECT_EQ(rig.app.OpenDialogFileName(), "Data.txt");
  // Recorder text is 8-bit: the degree sign arrives as one byte.
  rig.SetDescription("Freezer -18\xB0""C");
  EXPECT_EQ(rig.app.UpdateCaption(), "Brindlemark Quorvel - Freezer -18\u00B0C");
}

TEST(LoggerAppCaption, FirstCaptionWithoutDescriptionShowsDataTxtOnce) {
  AppRig rig;
  EXPECT_EQ(rig.app.UpdateCaption(), "Brindlemark Quorvel - Data.txt");
  EXPECT_EQ(rig.app.OpenDialogFileName(), "");
  EXPECT_EQ(rig.app.UpdateCaption(), "Brindlemark Quorvel");
  // After an Open the opened path shows once, trimmed.
  rig.app.OpenDialogFileName() = "  /home/user/run 3.dat ";
  EXPECT_EQ(rig.app.UpdateCaption(), "Brindlemark Quorvel - /home/user/run 3.dat");
  EXPECT_EQ(rig.app.UpdateCaption(), "Brindlemark Quorvel");
}

// --- Device commands

TEST(LoggerAppCommands, NestedDeviceCommandIsRefused) {
  AppRig rig;
  rig.app.FormCreate();
  std::vector<bool> runningChanges;
  rig.app.OnCommandRunningChanged = [&](bool running) { runningChanges.push_back(running); };
  bool innerRan = false;
  bool innerAccepted = true;
  bool outerAccepted = rig.app.RunDeviceCommand([&] {
    EXPECT_TRUE(rig.app.CommandRunning());
    innerAccepted = rig.app.RunDeviceCommand([&] { innerRan = true; });
  });
  EXPECT_TRUE(outerAccepted);
  EXPECT_FALSE(innerAccepted);
  EXPECT_FALSE(innerRan);
  EXPECT_EQ(runningChanges, (std::vector<bool>{true, false}));
  EXPECT_FALSE(rig.app.CommandRunning());
  // Once the first is over the next one runs.
  EXPECT_TRUE(rig.app.RunDeviceCommand([&] { innerRan = true; }));
  EXPECT_TRUE(innerRan);
}

TEST(LoggerAppCommands, CommandChosenDuringAWaitIsRefusedAndTheDownloadIsIntact) {
  sim::Faults faults;
  faults.fragment = 8;
  AppRig rig(faults);
  rig.app.FormCreate();
  int refused = 0;
  rig.pump.OnProcess = [&] {
    if (!rig.app.RunDeviceCommand([&] { rig.app.Protocol().ReadPage0(); })) ++refused;
  };
  ASSERT_TRUE(rig.app.RunDeviceCommand([&] { rig.app.Protocol().ReadAlarmRecords(); }));
  EXPECT_GT(refused, 0);
  EXPECT_EQ(rig.port.Writes().size(), 3u);  // only the alarm commands went out
  EXPECT_TRUE(HoldsMemory(rig.app.State().LoggerData, 73, 0x0220, 96));
  EXPECT_EQ(rig.app.LastCommandStop(), CommandStop::None);
  EXPECT_TRUE(rig.messages.messages.empty());
}

TEST(LoggerAppCommands, ErrorInsideACommandIsShownAndTheNextCommandRuns) {
  AppRig rig;
  rig.app.FormCreate();
  std::vector<bool> runningChanges;
  rig.app.OnCommandRunningChanged = [&](bool running) { runningChanges.push_back(running); };
  EXPECT_TRUE(rig.app.RunDeviceCommand([] { throw std::runtime_error("'x' is not a valid integer value"); }));
  ASSERT_EQ(rig.messages.messages.size(), 1u);
  EXPECT_EQ(rig.messages.messages[0].text, "'x' is not a valid integer value");
  EXPECT_TRUE(rig.app.LastCommandFailed());
  EXPECT_EQ(runningChanges, (std::vector<bool>{true, false}));
  EXPECT_TRUE(rig.app.RunDeviceCommand([&] { rig.app.Protocol().ReadSerialNumber(); }));
  EXPECT_FALSE(rig.app.LastCommandFailed());
  EXPECT_EQ(rig.port.Writes().size(), 1u);

  // A message is carried whole, whatever it holds: nothing after a NUL byte
  // of quoted text is lost on the way to the message box.
  const std::string withNul("'5\0x' is not a valid integer value", 34);
  rig.app.RunDeviceCommand([&] { throw runtime::ConvertError(withNul); });
  rig.app.RunCommand([&] { throw runtime::ConvertError(withNul); });
  ASSERT_EQ(rig.messages.messages.size(), 3u);
  EXPECT_EQ(rig.messages.messages[1].text, withNul);
  EXPECT_EQ(rig.messages.messages[2].text, withNul);
}

TEST(LoggerAppCommands, LostDeviceEndsTheCommandWithAMessageNamingThePort) {
  sim::Faults faults;
  faults.hangupAfter = 1;
  AppRig rig(faults);
  rig.app.FormCreate();
  rig.app.RunDeviceCommand([&] {
    rig.app.Protocol().ReadPage0();
    rig.app.Protocol().ReadPage2();
    rig.app.Protocol().ReadSerialNumber();
  });
  EXPECT_EQ(rig.app.LastCommandStop(), CommandStop::DeviceLost);
  ASSERT_EQ(rig.messages.messages.size(), 1u);
  EXPECT_NE(rig.messages.messages[0].text.find(kComm1), std::string::npos) << rig.messages.messages[0].text;
  // Page 0 went out; the page 2 command met a dead line; the serial number was never tried.
  EXPECT_EQ(rig.port.Writes().size(), 1u);
}

TEST(LoggerAppCommands, TimeOutEndsTheCommandWithAMessageNamingThePort) {
  sim::Faults faults;
  faults.silentAfter = 0;
  AppRig rig(faults);
  rig.app.FormCreate();
  rig.app.ChoosePort(PortChoice::Comm2);
  rig.app.Protocol().SetAnswerTimeoutMs(300);
  rig.app.RunDeviceCommand([&] { rig.app.Protocol().ReadPage2(); });
  EXPECT_EQ(rig.app.LastCommandStop(), CommandStop::TimedOut);
  ASSERT_EQ(rig.messages.messages.size(), 1u);
  EXPECT_NE(rig.messages.messages[0].text.find(kComm2), std::string::npos) << rig.messages.messages[0].text;
}

TEST(LoggerAppCommands, CancelEndsOnlyTheCommandThatWaits) {
  sim::Faults faults;
  faults.silentAfter = 1;
  AppRig rig(faults);
  rig.app.FormCreate();
  rig.app.CancelCommand();  // nothing waits: no effect on what follows
  rig.pump.OnProcess = [&] {
    if (rig.pump.processCalls == 10) rig.app.CancelCommand();
  };
  rig.app.RunDeviceCommand([&] {
    rig.app.Protocol().ReadSerialNumber();
    rig.app.Protocol().ReadPage2();
    rig.app.Protocol().ReadHistogram();
  });
  EXPECT_EQ(rig.app.LastCommandStop(), CommandStop::Cancelled);
  EXPECT_TRUE(rig.messages.messages.empty());
  EXPECT_EQ(rig.port.Writes().size(), 2u);
  EXPECT_TRUE(HoldsMemory(rig.app.State().LoggerData, 65, 0x0200, 10));

  // The recorder stays silent, but a new command goes out again.
  rig.pump.OnProcess = nullptr;
  rig.app.Protocol().SetAnswerTimeoutMs(100);
  rig.app.RunDeviceCommand([&] { rig.app.Protocol().ReadPage0(); });
  EXPECT_EQ(rig.port.Writes().size(), 3u);
  EXPECT_EQ(rig.app.LastCommandStop(), CommandStop::TimedOut);
}

TEST(LoggerAppCommands, ExitDuringADownloadEndsItAndEveryLaterCommand) {
  sim::Faults faults;
  faults.fragment = 4;
  AppRig rig(faults);
  rig.app.FormCreate();
  rig.pump.OnProcess = [&] {
    if (rig.port.Writes().size() == 5) rig.app.RequestAbort();
  };
  rig.app.RunDeviceCommand([&] {
    rig.app.Protocol().ReadPage0();
    rig.app.Protocol().ReadTemperatureLog();
  });
  EXPECT_EQ(rig.app.LastCommandStop(), CommandStop::Aborted);
  EXPECT_TRUE(rig.messages.messages.empty());
  EXPECT_EQ(rig.port.Writes().size(), 5u);
  rig.app.RunDeviceCommand([&] { rig.app.Protocol().ReadPage2(); });
  EXPECT_EQ(rig.port.Writes().size(), 5u);
  EXPECT_EQ(rig.app.LastCommandStop(), CommandStop::Aborted);
}

}  // namespace
