#include "cli/cli_options.h"

namespace cli {

std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& argv, std::string& error) {
  CliOptions options;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < argv.size(); ++i) {
    const std::string& a = argv[i];
    if (!optionsEnded) {
      if (a == "--") {
        optionsEnded = true;
        continue;
      }
      if (a == "--help" || a == "-h") {
        options.help = true;
        return options;
      }
      if (a == "--version") {
        options.version = true;
        return options;
      }
      if (a == "--port" || a == "--timeout") {
        if (i + 1 >= argv.size()) {
          error = a + " needs a value";
          return std::nullopt;
        }
        const std::string& value = argv[++i];
        if (a == "--port") {
          if (value.empty()) {
            error = "--port needs a device path";
            return std::nullopt;
          }
          options.port = value;
        } else {
          auto ms = logger::ParseTimeoutSeconds(value);
          if (!ms) {
            error = logger::TimeoutUsageError("--timeout", value);
            return std::nullopt;
          }
          options.timeoutMs = *ms;
        }
        continue;
      }
      // Before the command word every option is global; after it, the
      // command's own options are left to the command.
      if (options.command.empty() && a.size() > 1 && a[0] == '-') {
        error = "unknown option " + a;
        return std::nullopt;
      }
    }
    if (options.command.empty()) {
      options.command = a;
    } else {
      options.args.push_back(a);
    }
  }
  if (options.command.empty()) {
    error = "no command given";
    return std::nullopt;
  }
  return options;
}

std::string UsageText() {
  return "usage: quorvel-cli [--port PATH] [--timeout SECONDS] COMMAND [ARGS]\n"
         "       quorvel-cli --help | --version\n"
         "\n"
         "commands:\n"
         "  ports [--root DIR]\n"
         "                    the serial devices present, one a line: path, the device a\n"
         "                    by-id name points at, USB vendor, product, serial number\n"
         "                    (tab-separated); --root reads DIR/dev and DIR/sys instead\n"
         "  read-raw REGION   one read procedure; prints the stored entries of REGION\n"
         "                    (page0, page2, serial, alarms, histogram, log)\n"
         "  read-all [--save NAME] [--no-archive] [--csv OUT] [--utc] [--excel] [--recorded-only]\n"
         "           [--fahrenheit]\n"
         "                    Logger, Read All; prints every report in pane order;\n"
         "                    with --save, then File, Save under NAME (and NAME.dat);\n"
         "                    with --csv, the temperature log as a CSV file (see export).\n"
         "                    A download that completes is also kept in the download\n"
         "                    archive ($XDG_DATA_HOME/quorvel/downloads) unless the\n"
         "                    window's File, Archive Downloads is off; --no-archive\n"
         "                    keeps no copy. One that does not complete saves nothing.\n"
         "  read-page0 [--fahrenheit]\n"
         "                    Logger, Read Just Page 0; prints the page 0 report\n"
         "  setup [--interval N] [--delay N] [--low T] [--high T] [--immediate|--button]\n"
         "        [--description TEXT]\n"
         "                    Logger, Setup: the dialog pre-filled from the recorder,\n"
         "                    the given values typed over it, OK\n"
         "  set-clock         Logger, Set to PC Time\n"
         "  set-description TEXT   Logger, Set NV ram with OK\n"
         "  downloads         the download archive, newest first, one a line: data file,\n"
         "                    serial number, downloaded at, log start, sample count\n"
         "                    (tab-separated)\n"
         "  open FILE show page0|page2|serial|alarms|histogram|temperature|stats [--fahrenheit]\n"
         "                    File, Open a data file, then that Logger item's report; stats:\n"
         "                    minimum, maximum, mean and the time above the high and below\n"
         "                    the low alarm of the recorded samples\n"
         "  open FILE save NAME\n"
         "                    File, Open, then File, Save under NAME\n"
         "  open FILE export --csv OUT [--utc] [--excel] [--recorded-only] [--fahrenheit]\n"
         "                    File, Open, then File, Export Log as CSV: a header line\n"
         "                    index,time,temperature_C, then one row per sample of the\n"
         "                    listing, times in ISO 8601 local time with their offset (--utc:\n"
         "                    UTC); --excel: what a spreadsheet on this locale opens (a BOM,\n"
         "                    CR LF, and ';' and a decimal ',' where the locale's mark is ',');\n"
         "                    --recorded-only: only the samples the recorder wrote\n"
         "  open FILE export --chart temperature|histogram (--png|--svg|--pdf) OUT [--size WxH]\n"
         "                  [--scale F] [--antialias] [--template LOOK.json] [--fahrenheit]\n"
         "                    File, Open, then the chart rendered off screen (default 1024x768);\n"
         "                    --scale F lays it out on the size divided by F and draws it F times\n"
         "                    finer (0.5 to 8; 2 is the screen's picture at twice the sharpness);\n"
         "                    --antialias smooths its lines; --csv may join it\n"
         "  open FILE print [--printer NAME | --pdf OUT] [--template LOOK.json] [--fahrenheit]\n"
         "                    File, Open, then File, Print (the temperature chart on one page)\n"
         "\n"
         "--template gives the chart the look kept in a chart template (the window's\n"
         "Edit Chart..., Save Template...): title, 3D, legend, axis ranges, titles and\n"
         "grids, series colours, line widths, marks and pointers.\n"
         "\n"
         "--fahrenheit shows temperatures in degrees Fahrenheit (temperature_F in a CSV\n"
         "file); the report and data files of --save and save stay in degrees Celsius.\n"
         "--port names the recorder's device (needed by commands that talk to it);\n"
         "--timeout bounds every answer wait (default 10 seconds, at least 0.001).\n"
         "Both may stand before or after the command; after \"--\" everything\n"
         "belongs to the command.\n"
         "exit status: 0 done, 1 no answer / link lost / port not opened,\n"
         "2 bad arguments, 3 data or file error, 130 interrupted.\n";
}

std::string VersionText() { return std::string("quorvel-cli ") + QUORVEL_VERSION + "\n"; }

}  // namespace cli
