// quorvel: the logger tool's main window.
#include <QApplication>

#include <cstdlib>
#include <ctime>
#include <iostream>
#include <memory>

#include "app/app_settings.h"
#include "app/gui/gui_options.h"
#include "app/gui/qt_settings_store.h"
#include "app/gui/tabout_box.h"
#include "app/gui/tmain.h"
#include "app/gui/window_font.h"
#include "platform/posix/system_locale.h"
#include "runtime/format_settings.h"
#include "sim/pty_recorder.h"

int main(int argc, char** argv) {
  // Arguments first: --help, --version and mistakes need no display, and
  // creating the application object without one aborts.
  std::string error;
  auto options = gui::ParseGuiOptions(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!options) {
    std::cerr << "quorvel: " << error << "\n" << gui::GuiUsageText();
    return 2;
  }
  if (options->help) {
    std::cout << gui::GuiUsageText();
    return 0;
  }
  if (options->version) {
    std::cout << gui::GuiVersionText();
    return 0;
  }
  auto environment = [](const char* name) -> const char* { return std::getenv(name); };
  std::string noDisplay = gui::MissingDisplayReason(*options, environment);
  if (!noDisplay.empty()) {
    std::cerr << "quorvel: " << noDisplay << "\n";
    return 1;
  }

  std::vector<std::string> qtArgs = {argc > 0 ? argv[0] : "quorvel"};
  qtArgs.insert(qtArgs.end(), options->qtArguments.begin(), options->qtArguments.end());
  std::vector<char*> qtArgv;
  for (std::string& a : qtArgs) qtArgv.push_back(a.data());
  qtArgv.push_back(nullptr);
  int qtArgc = static_cast<int>(qtArgs.size());
  QApplication application(qtArgc, qtArgv.data());
  QApplication::setApplicationName(logger::LoggerApp::kApplicationTitle);
  QApplication::setWindowIcon(QIcon(gui::ProgramIconPixmap()));
  // Lets the desktop match the window to the installed entry and its icon.
  QGuiApplication::setDesktopFileName("com.brindlemark.quorvel");
  // Message boxes and file dialogs use the window's font too.
  QApplication::setFont(gui::WindowFont());
  // Reports, files and chart labels use the user's separators.
  runtime::SetFormatSettings(platform::SystemFormatSettings());

  // Each Port item's device: the option, the environment, the last choice,
  // the built-in default, in that order.
  gui::QtSettingsStore settingsStore;
  logger::AppSettings settings(settingsStore);
  logger::PortPaths ports = gui::StartupPortPaths(*options, environment, settings);

  // A simulated recorder on its own pseudo-terminal and thread, paced like
  // the real line, so a newcomer sees a working download at once.
  std::unique_ptr<sim::PtyRecorder> simulator;
  if (options->simulate) {
    sim::Faults faults;
    faults.baud = 9600;
    simulator = std::make_unique<sim::PtyRecorder>(sim::RecorderMemory::Plausible(std::time(nullptr)), faults);
    std::string simError;
    if (!simulator->Start(&simError)) {
      std::cerr << "quorvel: cannot start the simulated recorder: " << simError << "\n";
      return 1;
    }
    ports.comm1 = simulator->DevicePath();
    std::cout << "Simulated recorder on " << simulator->DevicePath() << " (Comm1)" << std::endl;
  }

  gui::TMain::Options mainOptions;
  mainOptions.ports = ports;
  mainOptions.settings = &settingsStore;
  mainOptions.answerTimeoutMs = options->timeoutMs;
  if (options->noArchive) mainOptions.archiveDownloads = false;
  gui::TMain window(std::move(mainOptions));
  window.show();
  return QApplication::exec();
}
