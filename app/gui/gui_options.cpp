#include "app/gui/gui_options.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace gui {

namespace {
// Qt's options that take a value (the next argument).
constexpr std::array<std::string_view, 12> kQtOptionsWithValue = {
    "-platform", "-platformpluginpath", "-platformtheme", "-display", "-style",          "-stylesheet",
    "-session",  "-qwindowgeometry",    "-qwindowtitle",  "-qwindowicon", "-geometry", "-title"};

bool Given(const char* value) { return value != nullptr && *value != '\0'; }
}  // namespace

std::optional<GuiOptions> ParseGuiOptions(const std::vector<std::string>& args, std::string& error) {
  GuiOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      options.help = true;
    } else if (a == "--version") {
      options.version = true;
    } else if (a == "--simulate") {
      options.simulate = true;
    } else if (a == "--no-archive") {
      options.noArchive = true;
    } else if (a == "--port1" || a == "--port2") {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        error = a + " needs a device path";
        return std::nullopt;
      }
      (a == "--port1" ? options.port1 : options.port2) = args[++i];
    } else if (a == "--timeout") {
      if (i + 1 >= args.size()) {
        error = "--timeout needs a number of seconds";
        return std::nullopt;
      }
      auto ms = logger::ParseTimeoutSeconds(args[++i]);
      if (!ms) {
        error = logger::TimeoutUsageError("--timeout", args[i]);
        return std::nullopt;
      }
      options.timeoutMs = *ms;
    } else if (a.size() > 1 && a[0] == '-' && a[1] != '-') {
      options.qtArguments.push_back(a);
      bool takesValue = std::find(kQtOptionsWithValue.begin(), kQtOptionsWithValue.end(), a) != kQtOptionsWithValue.end();
      if (takesValue && i + 1 < args.size()) options.qtArguments.push_back(args[++i]);
    } else {
      error = "unknown option " + a;
      return std::nullopt;
    }
  }
  return options;
}

std::string GuiUsageText() {
  return "usage: quorvel [--port1 PATH] [--port2 PATH] [--timeout SECONDS] [--simulate] [--no-archive]\n"
         "       quorvel --help | --version\n"
         "  --port1, --port2  the devices behind Port, Comm1 and Comm2; without them\n"
         "                    QUORVEL_PORT1 / QUORVEL_PORT2, then the devices last chosen\n"
         "                    with Port, Choose Device..., then /dev/ttyS0 and /dev/ttyS1\n"
         "  --timeout         how long a command waits for each answer of the recorder\n"
         "                    (seconds, default 10, at least 0.001)\n"
         "  --simulate        start a simulated recorder and make it Comm1\n"
         "  --no-archive      keep no copy of completed downloads this run (they are kept\n"
         "                    in $XDG_DATA_HOME/quorvel/downloads unless File, Archive\n"
         "                    Downloads is off)\n"
         "  --help            show this help\n"
         "  --version         show the program's version\n";
}

logger::PortPaths StartupPortPaths(const GuiOptions& options,
                                   const std::function<const char*(const char*)>& environment,
                                   const logger::AppSettings& settings) {
  auto variable = [&](const char* name) -> std::optional<std::string> {
    const char* value = environment(name);
    if (!Given(value)) return std::nullopt;
    return std::string(value);
  };
  logger::PortSources sources;
  sources.option1 = options.port1;
  sources.option2 = options.port2;
  sources.environment1 = variable("QUORVEL_PORT1");
  sources.environment2 = variable("QUORVEL_PORT2");
  sources.remembered1 = settings.RememberedDevice(logger::PortChoice::Comm1);
  sources.remembered2 = settings.RememberedDevice(logger::PortChoice::Comm2);
  return logger::ResolvePortPaths(sources);
}

std::string MissingDisplayReason(const GuiOptions& options, const std::function<const char*(const char*)>& environment) {
  bool platformChosen = Given(environment("QT_QPA_PLATFORM")) ||
                        std::find(options.qtArguments.begin(), options.qtArguments.end(), "-platform") !=
                            options.qtArguments.end();
  if (platformChosen || Given(environment("DISPLAY")) || Given(environment("WAYLAND_DISPLAY"))) return {};
  return "no display: DISPLAY and WAYLAND_DISPLAY are not set, so the window cannot open. Start it from a "
         "desktop session, or use quorvel-cli for the same commands on the console.";
}

std::string GuiVersionText() { return std::string("quorvel ") + QUORVEL_VERSION + "\n"; }

}  // namespace gui
