// quorvel-cli: the logger tool's workflows without a window.
#include <QGuiApplication>

#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_app.h"
#include "cli/cli_options.h"
#include "platform/posix/poll_event_pump.h"
#include "platform/posix/system_locale.h"
#include "runtime/format_settings.h"
#include "platform/qt_gui/offscreen_application.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  auto options = cli::ParseCliOptions(args, error);
  if (!options) {
    std::cerr << "quorvel-cli: " << error << "\n" << cli::UsageText();
    return cli::kExitBadArguments;
  }
  if (options->help) {
    std::cout << cli::UsageText();
    return cli::kExitDone;
  }
  if (options->version) {
    std::cout << cli::VersionText();
    return cli::kExitDone;
  }
  // Text and charts are rendered off screen; no display is needed.
  auto application = platform::CreateOffscreenApplication(argc, argv);
  platform::PollEventPump::InstallInterruptHandler();
  runtime::SetFormatSettings(platform::SystemFormatSettings());
  cli::CliApp app(*options, std::cout, std::cerr);
  return app.Run();
}
