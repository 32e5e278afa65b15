// quorvel: the logger tool's main window.
#include <QApplication>

#include <cstdlib>
#include <ctime>
#include <iostream>
#include <memory>

#include "app/gui/gui_options.h"
#include "app/gui/tabout_box.h"
#include "app/gui/tmain.h"
#include "platform/posix/system_locale.h"
#include "runtime/format_settings.h"
#include "sim/pty_recorder.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(logger::LoggerApp::kApplicationTitle);
  QApplication::setWindowIcon(QIcon(gui::ProgramIconPixmap()));
  // Lets the desktop match the window to the installed entry and its icon.
  QGuiApplication::setDesktopFileName("com.brindlemark.quorvel");
  // Reports, files and chart labels use the user's separators.
  runtime::SetFormatSettings(platform::SystemFormatSettings());

  std::vector<std::string> args;
  for (const QString& a : QApplication::arguments().mid(1)) args.push_back(a.toStdString());
  std::string error;
  auto options = gui::ParseGuiOptions(args, std::getenv("QUORVEL_PORT1"), std::getenv("QUORVEL_PORT2"), error);
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
    options->ports.comm1 = simulator->DevicePath();
    std::cout << "Simulated recorder on " << simulator->DevicePath() << " (Comm1)" << std::endl;
  }

  gui::TMain::Options mainOptions;
  mainOptions.ports = options->ports;
  gui::TMain window(std::move(mainOptions));
  window.show();
  return QApplication::exec();
}
