// Which device each Port item opens, the choice remembered between runs, and
// the open warnings that say what to do.
#include <gtest/gtest.h>

#include <cerrno>

#include "app/answer_timeout.h"
#include "app/logger_app.h"
#include "app/port_messages.h"
#include "tests/support/explicit_port.h"
#include "tests/support/support_fakes.h"
#include "tests/support/support_memory_port.h"

namespace {

using logger::PortChoice;
using logger::PortSources;
using platform::IoError;
using platform::IoStatus;
using testsupport::MemoryRecorderPort;

// --- Precedence: option, environment, remembered, default

TEST(PortPrecedence, EachItemTakesTheStrongestSourceGiven) {
  struct Case {
    const char* what;
    PortSources sources;
    const char* comm1;
    const char* comm2;
  };
  PortSources all{"/dev/opt1", "/dev/opt2", "/dev/env1", "/dev/env2", "/dev/mem1", "/dev/mem2"};
  PortSources noOptions = all;
  noOptions.option1.reset();
  noOptions.option2.reset();
  PortSources rememberedOnly;
  rememberedOnly.remembered1 = "/dev/serial/by-id/usb-FTDI_X";
  // An exported but empty variable, or an empty remembered value, names no
  // device and must not hide the next source.
  PortSources emptyTexts;
  emptyTexts.environment1 = "";
  emptyTexts.remembered1 = "/dev/ttyUSB0";
  emptyTexts.option2 = "";
  PortSources mixed;
  mixed.option2 = "/dev/opt2";
  mixed.environment1 = "/dev/env1";
  mixed.remembered1 = "/dev/mem1";
  mixed.remembered2 = "/dev/mem2";
  const Case cases[] = {
      {"options win", all, "/dev/opt1", "/dev/opt2"},
      {"environment next", noOptions, "/dev/env1", "/dev/env2"},
      {"then the remembered choice", rememberedOnly, "/dev/serial/by-id/usb-FTDI_X", "/dev/ttyS1"},
      {"empty texts are not given", emptyTexts, "/dev/ttyUSB0", "/dev/ttyS1"},
      {"each item on its own", mixed, "/dev/env1", "/dev/opt2"},
      {"defaults last", PortSources{}, "/dev/ttyS0", "/dev/ttyS1"},
  };
  for (const Case& c : cases) {
    logger::PortPaths paths = logger::ResolvePortPaths(c.sources);
    EXPECT_EQ(paths.comm1, c.comm1) << c.what;
    EXPECT_EQ(paths.comm2, c.comm2) << c.what;
  }
}

TEST(AnswerTimeout, SecondsFromOneMillisecondUpAndTheirText) {
  EXPECT_EQ(logger::ParseTimeoutSeconds("10"), 10000);
  EXPECT_EQ(logger::ParseTimeoutSeconds("2.5"), 2500);
  EXPECT_EQ(logger::ParseTimeoutSeconds("0.001"), 1);
  EXPECT_EQ(logger::ParseTimeoutSeconds("86400"), 86400000);
  for (const char* bad : {"0", "0.0009", "0.0004", "-1", "", "abc", "1s", "nan", "inf", "86401"}) {
    EXPECT_FALSE(logger::ParseTimeoutSeconds(bad)) << bad;
  }
  EXPECT_EQ(logger::SecondsText(10000), "10 s");
  EXPECT_EQ(logger::SecondsText(2500), "2.5 s");
  EXPECT_EQ(logger::SecondsText(300), "0.3 s");
  EXPECT_EQ(logger::SecondsText(1), "0.001 s");
}

// --- The window's logic over an in-memory recorder

const std::string kComm1 = "/tmp/quorvel-test-choice-comm1";
const std::string kComm2 = "/tmp/quorvel-test-choice-comm2";
const std::string kUsb = "/tmp/quorvel-test-choice-usb";

struct ChoiceRig {
  ChoiceRig() : ChoiceRig(std::make_unique<MemoryRecorderPort>()) {}

  testsupport::FakeClock clock;
  testsupport::CountingPump pump;
  testsupport::RecordingMessages messages;
  testsupport::RecordingCursor cursor;
  logger::MemorySettingsStore store;
  logger::AppSettings settings{store};
  MemoryRecorderPort& port;
  logger::LoggerApp app;

  std::string LastMessage() const { return messages.messages.empty() ? "" : messages.messages.back().text; }

 private:
  static logger::PortPaths Paths() {
    logger::PortPaths paths;
    paths.comm1 = testsupport::RequireExplicitPort(kComm1);
    paths.comm2 = testsupport::RequireExplicitPort(kComm2);
    return paths;
  }
  explicit ChoiceRig(std::unique_ptr<MemoryRecorderPort> owned)
      : port(*owned), app(std::move(owned), Paths(), logger::LoggerApp::Services{pump, clock, messages, cursor}) {
    pump.clock = &clock;
    app.SetSettings(&settings);
    app.ChooseDeviceHint = "choose another device with Port, Choose Device...";
  }
};

TEST(ChooseDevice, ReopensAtOnceOnTheCheckedItemAndIsRemembered) {
  ChoiceRig rig;
  rig.app.FormCreate();
  rig.app.ChoosePort(PortChoice::Comm2);
  EXPECT_EQ(rig.app.Status().Port(), "Comm2: " + kComm2);

  EXPECT_TRUE(rig.app.ChooseDevice(kUsb));
  // Comm2 was checked: it gets the device, Comm1 keeps its own.
  EXPECT_EQ(rig.app.Paths().comm2, kUsb);
  EXPECT_EQ(rig.app.Paths().comm1, kComm1);
  EXPECT_EQ(rig.port.OpenedPaths().back(), kUsb);
  EXPECT_TRUE(rig.app.Link().IsOpen());
  EXPECT_EQ(rig.settings.RememberedDevice(PortChoice::Comm2), kUsb);
  EXPECT_FALSE(rig.settings.RememberedDevice(PortChoice::Comm1));
  EXPECT_EQ(rig.app.Status().Port(), "Comm2: " + kUsb);
  EXPECT_TRUE(rig.messages.messages.empty());

  // The next start finds it, below any option or variable.
  PortSources next;
  next.remembered2 = rig.settings.RememberedDevice(PortChoice::Comm2);
  EXPECT_EQ(logger::ResolvePortPaths(next).comm2, kUsb);

  // A download goes to the new device.
  rig.app.RunDeviceCommand([&] { rig.app.Protocol().ReadPage0(); });
  EXPECT_EQ(rig.port.Commands().size(), 1u);
}

TEST(ChooseDevice, AMissingDeviceWarnsButTheChoiceStandsAndAFailedRememberIsShown) {
  ChoiceRig rig;
  rig.app.FormCreate();
  rig.port.missingPaths.insert(kUsb);
  rig.store.failWith = "cannot write /ro/quorvel/quorvel.conf";
  EXPECT_FALSE(rig.app.ChooseDevice(kUsb));
  EXPECT_EQ(rig.app.PortPath(), kUsb);
  EXPECT_FALSE(rig.app.Link().IsOpen());
  ASSERT_EQ(rig.messages.messages.size(), 1u);
  EXPECT_EQ(rig.messages.messages[0].title, "Warning");
  EXPECT_EQ(rig.app.Status().Port(), "Comm1: " + kUsb + " (not open)");
  EXPECT_EQ(rig.app.Status().Middle(),
            "The device choice was not remembered: cannot write /ro/quorvel/quorvel.conf");
}

// --- Open warnings name the fix

TEST(OpenWarnings, EachFailureKeepsTheFirstLineAndSaysWhatToDo) {
  platform::DeviceAccess dialout;
  dialout.known = true;
  dialout.owner = "root";
  dialout.group = "dialout";
  dialout.groupMayReadWrite = true;
  dialout.userName = "ann";
  platform::DeviceAccess relogin = dialout;
  relogin.userInGroup = true;
  platform::DeviceAccess ownerOnly = dialout;
  ownerOnly.groupMayReadWrite = false;
  struct Case {
    const char* what;
    IoError error;
    platform::DeviceAccess access;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"permission: the group and the command",
       {IoStatus::AccessDenied, EACCES},
       dialout,
       {"Error opening COM:", kUsb + ": Permission denied",
        "The device belongs to the group dialout. Add your user to that group, then log out and log in again:",
        "    sudo usermod -aG dialout ann"}},
      {"already in the group: only a new login is needed",
       {IoStatus::AccessDenied, EACCES},
       relogin,
       {"Error opening COM:", kUsb + ": Permission denied",
        "The device belongs to the group dialout. You are a member of dialout, but this login session started "
        "before you were added: log out and log in again."}},
      {"no group access: joining a group would not help",
       {IoStatus::AccessDenied, EACCES},
       ownerOnly,
       {"Error opening COM:", kUsb + ": Permission denied",
        "Only its owner (root) may use this device. Ask the administrator to give it to a group such as dialout, "
        "with read and write access for the group."}},
      {"busy",
       {IoStatus::Busy, EBUSY},
       {},
       {"Error opening COM:", kUsb + ": Device or resource busy",
        "Another program is using the device (a terminal program, a modem manager or another copy of this tool). "
        "Close it, then open the port again."}},
      {"missing",
       {IoStatus::NotFound, ENOENT},
       {},
       {"Error opening COM:", kUsb + ": No such file or directory",
        "The device is not present: plug the recorder's adapter in, or choose another device with Port, Choose "
        "Device..."}},
  };
  for (const Case& c : cases) {
    ChoiceRig rig;
    rig.port.refusedPaths[kUsb] = c.error;
    rig.port.access = c.access;
    EXPECT_FALSE(rig.app.ChooseDevice(kUsb)) << c.what;
    ASSERT_EQ(rig.messages.messages.size(), 1u) << c.what;
    EXPECT_EQ(rig.messages.messages[0].kind, platform::MessageKind::Warning);
    std::string expected;
    for (const std::string& line : c.lines) expected += (expected.empty() ? "" : "\n") + line;
    EXPECT_EQ(rig.messages.messages[0].text, expected) << c.what;
  }
}

TEST(OpenWarnings, TheConsoleHintAndAnUnknownOwner) {
  platform::DeviceAccess unknown;
  EXPECT_EQ(logger::PortOpenErrorText("/dev/ttyUSB9", {IoStatus::NotFound, ENOENT}, unknown,
                                      "list the devices present with: quorvel-cli ports"),
            "Error opening COM:\n/dev/ttyUSB9: No such file or directory\nThe device is not present: plug the "
            "recorder's adapter in, or list the devices present with: quorvel-cli ports.");
  EXPECT_EQ(logger::PortOpenErrorText("/dev/ttyUSB9", {IoStatus::AccessDenied, EACCES}, unknown, ""),
            "Error opening COM:\n/dev/ttyUSB9: Permission denied\nYou have no permission to use this device.");
  EXPECT_EQ(logger::PortOpenErrorText("/etc/hosts", {IoStatus::Failed, ENOTTY}, unknown, ""),
            "Error opening COM:\n/etc/hosts: Inappropriate ioctl for device\nIt is not a serial device.");
}

}  // namespace
