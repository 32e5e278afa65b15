#include "app/gui/gui_options.h"

namespace gui {

std::optional<GuiOptions> ParseGuiOptions(const std::vector<std::string>& args, const char* envPort1,
                                          const char* envPort2, std::string& error) {
  GuiOptions options;
  if (envPort1 != nullptr && *envPort1 != '\0') options.ports.comm1 = envPort1;
  if (envPort2 != nullptr && *envPort2 != '\0') options.ports.comm2 = envPort2;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      options.help = true;
    } else if (a == "--version") {
      options.version = true;
    } else if (a == "--simulate") {
      options.simulate = true;
    } else if (a == "--port1" || a == "--port2") {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        error = a + " needs a device path";
        return std::nullopt;
      }
      (a == "--port1" ? options.ports.comm1 : options.ports.comm2) = args[++i];
    } else {
      error = "unknown option " + a;
      return std::nullopt;
    }
  }
  return options;
}

std::string GuiUsageText() {
  return "usage: quorvel [--port1 PATH] [--port2 PATH] [--simulate]\n"
         "  --port1, --port2  the devices behind Port, Comm1 and Comm2\n"
         "                    (default /dev/ttyS0 and /dev/ttyS1, or QUORVEL_PORT1 / QUORVEL_PORT2)\n"
         "  --simulate        start a simulated recorder and make it Comm1\n"
         "  --help            show this help\n"
         "  --version         show the program's version\n";
}

std::string GuiVersionText() { return std::string("quorvel ") + QUORVEL_VERSION + "\n"; }

}  // namespace gui
