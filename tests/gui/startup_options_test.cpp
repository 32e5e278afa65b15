// The window program's start: its arguments, the settings file in the
// user's configuration folder, and which device each Port item gets.
#include <gtest/gtest.h>

#include <QDir>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "app/gui/gui_options.h"
#include "app/gui/qt_settings_store.h"

namespace {

namespace fs = std::filesystem;

TEST(GuiArguments, OptionsQtsOwnAndMistakes) {
  std::string error;
  auto options = gui::ParseGuiOptions({"--port1", "/dev/ttyUSB0", "-platform", "xcb", "--timeout", "2.5", "-reverse",
                                       "--simulate"},
                                      error);
  ASSERT_TRUE(options) << error;
  EXPECT_FALSE(options->noArchive);
  EXPECT_TRUE(gui::ParseGuiOptions({"--no-archive"}, error)->noArchive);
  EXPECT_EQ(options->port1, "/dev/ttyUSB0");
  EXPECT_FALSE(options->port2);
  EXPECT_EQ(options->timeoutMs, 2500);
  EXPECT_TRUE(options->simulate);
  EXPECT_EQ(options->qtArguments, (std::vector<std::string>{"-platform", "xcb", "-reverse"}));

  const std::pair<std::vector<std::string>, const char*> bad[] = {
      {{"--port2"}, "--port2 needs a device path"},
      {{"--timeout"}, "--timeout needs a number of seconds"},
      {{"--timeout", "0.0002"}, "--timeout takes a number of seconds from 0.001 to 86400, not '0.0002'"},
      {{"--simulat"}, "unknown option --simulat"},
      {{"ttyUSB0"}, "unknown option ttyUSB0"},
  };
  for (const auto& [args, message] : bad) {
    EXPECT_FALSE(gui::ParseGuiOptions(args, error));
    EXPECT_EQ(error, message);
  }
}

TEST(GuiArguments, ADisplayOrAChosenPlatformIsNeeded) {
  gui::GuiOptions options;
  std::map<std::string, std::string> env;
  auto lookup = [&](const char* name) -> const char* {
    auto at = env.find(name);
    return at == env.end() ? nullptr : at->second.c_str();
  };
  EXPECT_NE(gui::MissingDisplayReason(options, lookup).find("no display"), std::string::npos);
  env["DISPLAY"] = "";
  EXPECT_FALSE(gui::MissingDisplayReason(options, lookup).empty());
  env["WAYLAND_DISPLAY"] = "wayland-0";
  EXPECT_EQ(gui::MissingDisplayReason(options, lookup), "");
  env.clear();
  env["QT_QPA_PLATFORM"] = "offscreen";
  EXPECT_EQ(gui::MissingDisplayReason(options, lookup), "");
  env.clear();
  options.qtArguments = {"-platform", "vnc"};
  EXPECT_EQ(gui::MissingDisplayReason(options, lookup), "");
}

TEST(SettingsFile, ChoicesLiveInTheConfigFolderAndWinOnlyOverTheDefaults) {
  // The test main points XDG_CONFIG_HOME at a folder of this run.
  const char* config = std::getenv("XDG_CONFIG_HOME");
  ASSERT_NE(config, nullptr);
  EXPECT_EQ(gui::QtSettingsStore::DefaultFile().toStdString(), std::string(config) + "/quorvel/quorvel.conf");
  {
    gui::QtSettingsStore store;
    logger::AppSettings settings(store);
    std::string error;
    ASSERT_TRUE(settings.RememberDevice(logger::PortChoice::Comm1, "/dev/serial/by-id/usb-FTDI_X-if00-port0", error))
        << error;
  }
  EXPECT_TRUE(fs::exists(std::string(config) + "/quorvel/quorvel.conf"));

  // The next start: a new store reads the file.
  gui::QtSettingsStore store;
  logger::AppSettings settings(store);
  std::map<std::string, std::string> env;
  auto lookup = [&](const char* name) -> const char* {
    auto at = env.find(name);
    return at == env.end() ? nullptr : at->second.c_str();
  };
  gui::GuiOptions options;
  logger::PortPaths paths = gui::StartupPortPaths(options, lookup, settings);
  EXPECT_EQ(paths.comm1, "/dev/serial/by-id/usb-FTDI_X-if00-port0");
  EXPECT_EQ(paths.comm2, "/dev/ttyS1");
  env["QUORVEL_PORT1"] = "/dev/ttyUSB3";
  env["QUORVEL_PORT2"] = "/dev/ttyACM0";
  paths = gui::StartupPortPaths(options, lookup, settings);
  EXPECT_EQ(paths.comm1, "/dev/ttyUSB3");
  EXPECT_EQ(paths.comm2, "/dev/ttyACM0");
  options.port1 = "/dev/ttyUSB9";
  paths = gui::StartupPortPaths(options, lookup, settings);
  EXPECT_EQ(paths.comm1, "/dev/ttyUSB9");
  EXPECT_EQ(paths.comm2, "/dev/ttyACM0");
}

TEST(SettingsFile, AFileThatCannotBeWrittenIsReportedByName) {
  // A folder where the settings folder should be is a plain file.
  fs::path blocker = fs::path(::testing::TempDir()) / ("quorvel-settings-blocker-" + std::to_string(::getpid()));
  std::ofstream(blocker.string()) << "x";
  std::string file = (blocker / "quorvel.conf").string();
  gui::QtSettingsStore store(QString::fromStdString(file));
  std::string error;
  EXPECT_FALSE(store.Write("ports/comm1", "/dev/ttyUSB0", error));
  EXPECT_EQ(error, "cannot write " + file);
  fs::remove(blocker);
}

}  // namespace
