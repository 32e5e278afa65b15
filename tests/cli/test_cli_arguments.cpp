// Arguments as a newcomer types them: options before or after the command,
// mistakes named, the device list, --version, and both programs' help and
// version without a display.
#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>

#include <filesystem>

#include "tests/cli/cli_runner.h"
#include "tests/support/support_fake_device_tree.h"

namespace {

namespace fs = std::filesystem;
using namespace clitest;

// --- Global options anywhere

TEST(CliArguments, GlobalOptionsMayFollowTheCommandWord) {
  auto recorder = StartRecorder();
  CliRun before = RunCli({"--port", Port(*recorder), "--timeout", "5", "read-raw", "serial"});
  CliRun after = RunCli({"read-raw", "serial", "--port", Port(*recorder), "--timeout", "5"});
  CliRun between = RunCli({"read-raw", "--port", Port(*recorder), "serial"});
  EXPECT_EQ(before.status, 0) << before.err;
  EXPECT_EQ(after.status, 0) << after.err;
  EXPECT_EQ(between.status, 0) << between.err;
  EXPECT_FALSE(before.out.empty());
  EXPECT_EQ(after.out, before.out);
  EXPECT_EQ(between.out, before.out);
  EXPECT_EQ(recorder->Commands().size(), 3u);
}

TEST(CliArguments, UsageErrorsNameTheWrongOptionAndSendNothing) {
  auto recorder = StartRecorder();
  const std::string port = Port(*recorder);
  struct Case {
    std::vector<std::string> args;
    const char* named;  // what the message must name
  };
  const Case cases[] = {
      {{"--prot", port, "read-all"}, "unknown option --prot"},
      {{"read-all", "--sav", "x", "--port", port}, "read-all: unknown option '--sav'"},
      {{"read-all", "--port", port, "--save"}, "read-all: --save needs a file name"},
      {{"read-all", "extra", "--port", port}, "read-all: unexpected argument 'extra'"},
      {{"read-page0", "--port", port, "--fast"}, "read-page0: unknown option '--fast'"},
      {{"read-raw", "--region", "--port", port}, "read-raw: unknown option '--region'"},
      {{"set-clock", "now", "--port", port}, "set-clock: unexpected argument 'now'"},
      {{"setup", "--intervall", "5", "--port", port}, "setup: unknown option --intervall"},
      {{"read-all", "--port", port, "--timeout", "0.0005"}, "--timeout takes a number of seconds from 0.001"},
      {{"read-all", "--port", port, "--timeout", "0"}, "not '0'"},
      {{"read-all", "--port"}, "--port needs a value"},
      {{"ports", "--all"}, "ports: unknown option '--all'"},
  };
  for (const Case& c : cases) {
    CliRun run = RunCli(c.args);
    EXPECT_EQ(run.status, 2) << c.named << "\n" << run.err;
    EXPECT_NE(run.err.find(c.named), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_TRUE(recorder->Commands().empty());
}

TEST(CliArguments, DoubleDashHandsTheRestToTheCommand) {
  auto recorder = StartRecorder();
  // A description that looks like an option reaches the command whole.
  CliRun run = RunCli({"--port", Port(*recorder), "set-description", "--", "--port"});
  EXPECT_EQ(run.status, 0) << run.err;
  std::string written;
  for (const std::string& command : recorder->Commands()) {
    if (command.size() == 3 && command[0] == '\x22' && command[1] >= 0x40 && command[1] < 0x46) written += command[2];
  }
  EXPECT_EQ(written, "--port");
}

// --- The device list

TEST(CliPorts, PrintsTheDevicesTabSeparatedOneALine) {
  testsupport::FakeDeviceTree tree;
  testsupport::FakeDeviceTree::Usb ftdi;
  ftdi.kernelName = "ttyUSB0";
  ftdi.byId = "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
  ftdi.manufacturer = "FTDI";
  ftdi.product = "FT232R USB UART";
  ftdi.serial = "A50285BI";
  tree.AddUsb(ftdi);
  tree.AddUart("ttyS0", 4);
  tree.AddUart("ttyS3", 0);
  CliRun run = RunCli({"ports", "--root", tree.Root().string()});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0\t/dev/ttyUSB0\tFTDI\tFT232R USB "
            "UART\tA50285BI\n"
            "/dev/ttyUSB0\t\tFTDI\tFT232R USB UART\tA50285BI\n"
            "/dev/ttyS0\t\t\t\t\n");
  EXPECT_EQ(run.err, "");
}

// --- Permission refused: the group and the fix

// The program copied where an unprivileged user can run it.
fs::path CopyForEveryone(const std::string& name) {
  fs::path dir = fs::temp_directory_path() / ("quorvel-unprivileged-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  fs::permissions(dir, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                           fs::perms::others_read | fs::perms::others_exec);
  fs::path copy = dir / name;
  fs::copy_file(std::string(QUORVEL_BIN_DIR) + "/" + name, copy, fs::copy_options::overwrite_existing);
  fs::permissions(copy, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                            fs::perms::others_read | fs::perms::others_exec);
  return copy;
}

TEST(CliPermissions, AnUnprivilegedUserIsToldTheGroupAndTheCommand) {
  group* dialout = ::getgrnam("dialout");
  if (::geteuid() != 0 || dialout == nullptr || !fs::exists("/usr/bin/setpriv")) {
    GTEST_SKIP() << "needs root, a dialout group and setpriv";
  }
  auto recorder = StartRecorder();
  const std::string port = Port(*recorder);
  fs::path cli = CopyForEveryone("quorvel-cli");
  // Qt wants a private runtime folder of the user it runs as.
  fs::path runtime = cli.parent_path() / "runtime";
  fs::create_directory(runtime);
  ASSERT_EQ(::chown(runtime.c_str(), 65534, 65534), 0);
  ASSERT_EQ(::chmod(runtime.c_str(), 0700), 0);
  std::vector<std::string> env = {"QT_QPA_PLATFORM=offscreen", "XDG_RUNTIME_DIR=" + runtime.string(),
                                  "HOME=" + runtime.string(), "LC_ALL=C.UTF-8"};
  auto runAsNobody = [&] {
    return RunProgram({"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", cli.string(), "--port",
                       port, "read-raw", "page0"},
                      &env);
  };

  // A real serial device: root:dialout, read and write for the group.
  ASSERT_EQ(::chown(port.c_str(), 0, dialout->gr_gid), 0);
  ASSERT_EQ(::chmod(port.c_str(), 0660), 0);
  CliRun run = runAsNobody();
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.err, "Error opening COM:\n" + port +
                         ": Permission denied\nThe device belongs to the group dialout. Add your user to that group, "
                         "then log out and log in again:\n    sudo usermod -aG dialout nobody\n");

  // The pseudo-terminal as made: only its owner may use it.
  ASSERT_EQ(::chown(port.c_str(), 0, 0), 0);
  ASSERT_EQ(::chmod(port.c_str(), 0600), 0);
  run = runAsNobody();
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Only its owner (root) may use this device."), std::string::npos) << run.err;
  EXPECT_TRUE(recorder->Commands().empty());
  fs::remove_all(cli.parent_path());
}

// --- Help and version need no display

std::vector<std::string> NoDisplay() {
  // No DISPLAY, no WAYLAND_DISPLAY, no platform: what a console login has.
  return {"PATH=/usr/bin:/bin", "HOME=/tmp", "XDG_RUNTIME_DIR=/tmp", "LC_ALL=C.UTF-8"};
}

TEST(ProgramsWithoutDisplay, HelpVersionAndMistakesAnswerAndTheWindowSaysWhyNot) {
  const std::string quorvel = std::string(QUORVEL_BIN_DIR) + "/quorvel";
  const std::string cli = std::string(QUORVEL_BIN_DIR) + "/quorvel-cli";
  std::vector<std::string> env = NoDisplay();
  CliRun help = RunProgram({quorvel, "--help"}, &env);
  EXPECT_EQ(help.status, 0) << help.err;
  EXPECT_EQ(help.out.rfind("usage: quorvel [--port1 PATH] [--port2 PATH] [--timeout SECONDS]", 0), 0u) << help.out;
  CliRun version = RunProgram({quorvel, "--version"}, &env);
  EXPECT_EQ(version.status, 0) << version.err;
  EXPECT_EQ(version.out, "quorvel 1.0.0.15\n");
  CliRun cliVersion = RunProgram({cli, "--version"}, &env);
  EXPECT_EQ(cliVersion.status, 0);
  EXPECT_EQ(cliVersion.out, "quorvel-cli 1.0.0.15\n");

  CliRun bad = RunProgram({quorvel, "--port3", "/dev/ttyUSB0"}, &env);
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.err.rfind("quorvel: unknown option --port3\n", 0), 0u) << bad.err;
  CliRun tooShort = RunProgram({quorvel, "--timeout", "0.0001"}, &env);
  EXPECT_EQ(tooShort.status, 2);
  EXPECT_NE(tooShort.err.find("--timeout takes a number of seconds from 0.001 to 86400, not '0.0001'"),
            std::string::npos)
      << tooShort.err;

  // Without a display the window says so instead of aborting.
  CliRun window = RunProgram({quorvel, "--port1", "/nonexistent/quorvel-port"}, &env);
  EXPECT_EQ(window.status, 1);
  EXPECT_NE(window.err.find("no display"), std::string::npos) << window.err;
}

}  // namespace
