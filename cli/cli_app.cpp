#include "cli/cli_app.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <ostream>

#include "app/gui/qt_settings_store.h"
#include "app/log_statistics.h"
#include "app/logger_configuration.h"
#include "platform/qt_widgets/chart_export.h"
#include "platform/qt_widgets/qt_printer.h"
#include "plot/printing/chart_printing.h"
#include "runtime/message_text.h"
#include "platform/posix/posix_serial_port.h"
#include "platform/posix/serial_device_list.h"

namespace cli {

namespace {

struct RawRegion {
  const char* name;
  void (logger::LoggerProtocol::*read)();
  int first;  // store entries the procedure fills
  int last;
};

constexpr std::array<RawRegion, 6> kRegions = {{
    {"page0", &logger::LoggerProtocol::ReadPage0, 1, 32},
    {"page2", &logger::LoggerProtocol::ReadPage2, 33, 64},
    {"serial", &logger::LoggerProtocol::ReadSerialNumber, 65, 74},
    {"alarms", &logger::LoggerProtocol::ReadAlarmRecords, 73, 170},
    {"histogram", &logger::LoggerProtocol::ReadHistogram, 169, 296},
    {"log", &logger::LoggerProtocol::ReadTemperatureLog, 297, 2344},
}};

// A command's argument it does not take, named: an option it does not know
// or a word it did not expect.
std::string Unexpected(const std::string& command, const std::string& token) {
  if (token.size() > 1 && token[0] == '-') return command + ": unknown option '" + token + "'";
  return command + ": unexpected argument '" + token + "'";
}

}  // namespace

void StderrMessages::ShowMessage(platform::MessageKind, const std::string&, const std::string& text) {
  ++count_;
  err_ << text << '\n';
  err_.flush();
}

CliApp::CliApp(const CliOptions& options, std::ostream& out, std::ostream& err)
    : options_(options), out_(out), err_(err), messages_(err), pane_(out) {
  logger::PortPaths paths;
  paths.comm1 = options.port;
  paths.comm2 = options.port;
  app_ = std::make_unique<logger::LoggerApp>(platform::CreateSystemSerialPort(), paths,
                                             logger::LoggerApp::Services{pump_, clock_, messages_, cursor_});
  app_->ChooseDeviceHint = "list the devices present with: quorvel-cli ports";
  logger::FillDayNames(app_->State());
  app_->Protocol().SetAnswerTimeoutMs(options.timeoutMs);
  // Ctrl+C ends the wait like Exit.
  pump_.OnInterrupt = [this] { app_->RequestAbort(); };
  reports_ = std::make_unique<logger::LoggerReports>(app_->State(), pane_, chart_, clock_);
  downloads_ = std::make_unique<logger::DownloadWorkflows>(*app_, *reports_);
  files_ = std::make_unique<logger::LoggerFiles>(*app_, *reports_, chart_, fileSystem_, noDialogs_);
  // Every completed read-all is kept in the download archive, unless the
  // user switched that off in the window (File, Archive Downloads) or with
  // read-all --no-archive.
  archive_ = std::make_unique<logger::DownloadArchive>(
      fileSystem_, clock_, logger::DownloadArchive::DefaultFolder([](const char* name) { return std::getenv(name); }));
  gui::QtSettingsStore settingsFile;
  archive_->SetEnabled(logger::AppSettings(settingsFile).ArchiveDownloads());
  downloads_->SetArchive(archive_.get());
  downloads_->OnArchiveProblem = [this](const std::string& problem) {
    err_ << problem << '\n';
    err_.flush();
  };
}

int CliApp::Run() {
  if (!TakeCommandOutputOptions()) return kExitBadArguments;
  if (options_.command == "ports") return RunPorts();
  if (options_.command == "read-raw") return RunReadRaw();
  if (options_.command == "read-all") return RunReadAll();
  if (options_.command == "read-page0") return RunReadPage0();
  if (options_.command == "setup") return RunSetup();
  if (options_.command == "set-clock") return RunSetClock();
  if (options_.command == "set-description") return RunSetDescription();
  if (options_.command == "open") return RunOpen();
  if (options_.command == "downloads") return RunDownloads();
  err_ << "unknown command '" << options_.command << "'\n" << UsageText();
  return kExitBadArguments;
}

bool CliApp::OpenRecorderPort(int& status) {
  if (options_.port.empty()) {
    err_ << options_.command << " talks to the recorder: give its device with --port PATH\n";
    status = kExitBadArguments;
    return false;
  }
  if (!app_->OpenPort()) {
    status = kExitLink;
    return false;
  }
  return true;
}

int CliApp::RunQuietly(const std::function<void()>& body) {
  // The reports the command draws on its way are not printed.
  pane_.SetMuted(true);
  app_->RunCommand(body);
  pane_.Flush();
  pane_.SetMuted(false);
  return StatusOfLastCommand();
}

int CliApp::StatusOfLastCommand() const {
  switch (app_->LastCommandStop()) {
    case logger::CommandStop::Aborted: return kExitInterrupted;
    case logger::CommandStop::TimedOut:
    case logger::CommandStop::DeviceLost:
    case logger::CommandStop::NotOpen:
    case logger::CommandStop::OutOfFrame: return kExitLink;
    case logger::CommandStop::Cancelled:
    case logger::CommandStop::None: break;
  }
  return app_->LastCommandFailed() ? kExitDataError : kExitDone;
}

int CliApp::RunPorts() {
  std::string root = "/";
  const auto& args = options_.args;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--root" && i + 1 < args.size() && !args[i + 1].empty()) {
      root = args[++i];
    } else if (args[i] == "--root") {
      err_ << "ports: --root needs a folder\n";
      return kExitBadArguments;
    } else {
      err_ << Unexpected("ports", args[i]) << "; usage: ports [--root DIR]\n";
      return kExitBadArguments;
    }
  }
  for (const platform::SerialDeviceInfo& device : platform::ListSerialDevices(root)) {
    out_ << platform::SerialDeviceLine(device) << '\n';
  }
  out_.flush();
  return kExitDone;
}

int CliApp::RunReadRaw() {
  if (options_.args.size() == 1 && options_.args[0].size() > 1 && options_.args[0][0] == '-') {
    err_ << Unexpected("read-raw", options_.args[0]) << "; usage: read-raw REGION\n";
    return kExitBadArguments;
  }
  if (options_.args.size() != 1) {
    err_ << "read-raw takes one region: page0, page2, serial, alarms, histogram or log\n";
    return kExitBadArguments;
  }
  const RawRegion* region = nullptr;
  for (const RawRegion& r : kRegions) {
    if (options_.args[0] == r.name) region = &r;
  }
  if (region == nullptr) {
    err_ << "unknown region '" << options_.args[0] << "': use page0, page2, serial, alarms, histogram or log\n";
    return kExitBadArguments;
  }
  int status = kExitDone;
  if (!OpenRecorderPort(status)) return status;

  app_->RunDeviceCommand([&] { (app_->Protocol().*(region->read))(); });
  status = StatusOfLastCommand();
  if (status != kExitDone) return status;
  const logger::LoggerStore& store = app_->State().LoggerData;
  for (int i = region->first; i <= region->last; ++i) out_ << i << '\t' << store.At(i) << '\n';
  out_.flush();
  return kExitDone;
}

}  // namespace cli

namespace cli {

bool CliApp::NoArguments(const char* usage) {
  if (options_.args.empty()) return true;
  err_ << Unexpected(options_.command, options_.args[0]) << "; usage: " << usage << "\n";
  return false;
}

int CliApp::RunReadAll() {
  std::optional<std::string> saveName;
  const auto& args = options_.args;
  const char* usage =
      "; usage: read-all [--save NAME] [--no-archive] [--csv OUT] [--utc] [--excel] [--recorded-only] [--fahrenheit]\n";
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--no-archive") {
      archive_->SetEnabled(false);
    } else if (args[i] == "--save" && i + 1 < args.size() && !args[i + 1].empty() && !saveName) {
      saveName = args[++i];
    } else {
      if (args[i] == "--save" && saveName) {
        err_ << "read-all: --save is given twice" << usage;
      } else if (args[i] == "--save") {
        err_ << "read-all: --save needs a file name" << usage;
      } else {
        err_ << Unexpected("read-all", args[i]) << usage;
      }
      return kExitBadArguments;
    }
  }
  int status = kExitDone;
  if (!OpenRecorderPort(status)) return status;
  downloads_->ReadAll1Click();
  pane_.Flush();
  status = StatusOfLastCommand();
  // A download that did not complete mixes two recordings: nothing is
  // saved or exported.
  if (status != kExitDone) return status;
  // File, Save under the given name, exactly as the window does; the reports
  // it redraws on the way are not printed again.
  if (saveName) status = RunQuietly([&] { files_->SaveAs(*saveName); });
  if (status != kExitDone || !output_.csv) return status;
  return RunQuietly([&] { ExportCsv(); });
}

int CliApp::RunOpen() {
  const auto& args = options_.args;
  const char* usage =
      "usage: open FILE show page0|page2|serial|alarms|histogram|temperature|stats [--fahrenheit]\n"
      "       open FILE save NAME\n"
      "       open FILE export --csv OUT [--utc] [--excel] [--recorded-only] [--fahrenheit]\n"
      "       open FILE export --chart temperature|histogram (--png|--svg|--pdf) OUT [--size WxH]\n"
      "                        [--scale F] [--antialias] [--template LOOK.json] [--fahrenheit]\n"
      "       open FILE print [--printer NAME | --pdf OUT] [--template LOOK.json] [--fahrenheit]\n";
  if (args.size() >= 2 && args[1] == "export") return RunExport(usage);
  if (args.size() >= 2 && args[1] == "print") return RunPrint(usage);
  if (args.size() != 3 || args[0].empty() || (args[1] != "show" && args[1] != "save") || args[2].empty()) {
    if (args.size() > 3) {
      err_ << Unexpected("open", args[3]) << "\n";
    } else if (args.size() >= 2 && args[1] != "show" && args[1] != "save") {
      err_ << "open: unknown action '" << args[1] << "': use show, save, export or print\n";
    }
    err_ << usage;
    return kExitBadArguments;
  }
  using Show = void (logger::LoggerReports::*)();
  Show show = nullptr;
  if (args[1] == "show") {
    const std::pair<const char*, Show> kReports[] = {
        {"page0", &logger::LoggerReports::ShowPage0},         {"page2", &logger::LoggerReports::ShowPage2},
        {"serial", &logger::LoggerReports::ShowSerialNumber}, {"alarms", &logger::LoggerReports::ShowAlarms},
        {"histogram", &logger::LoggerReports::ShowHistogram}, {"temperature", &logger::LoggerReports::ShowTemperature},
        {"stats", &logger::LoggerReports::ShowStatistics},
    };
    for (const auto& [name, fn] : kReports) {
      if (args[2] == name) show = fn;
    }
    if (show == nullptr) {
      err_ << "unknown report '" << args[2] << "'\n" << usage;
      return kExitBadArguments;
    }
  }
  // File, Open draws page 0 and the listing on its way; only the chosen
  // report is printed.
  pane_.SetMuted(true);
  app_->RunCommand([&] {
    files_->OpenFile(args[0]);
    if (show != nullptr) {
      pane_.Flush();
      pane_.SetMuted(false);
      (reports_.get()->*show)();
    } else {
      files_->SaveAs(args[2]);
    }
  });
  pane_.Flush();
  pane_.SetMuted(false);
  return StatusOfLastCommand();
}

int CliApp::RunReadPage0() {
  if (!NoArguments("read-page0")) return kExitBadArguments;
  int status = kExitDone;
  if (!OpenRecorderPort(status)) return status;
  downloads_->ReadJustPage01Click();
  pane_.Flush();
  return StatusOfLastCommand();
}

int CliApp::RunConfiguration(logger::SettingsDialogView& settings, logger::NVramDialogView& nvram,
                             bool (logger::LoggerConfiguration::*command)()) {
  int status = kExitDone;
  if (!OpenRecorderPort(status)) return status;
  logger::LoggerConfiguration configuration(*app_, *reports_, settings, nvram);
  (configuration.*command)();
  pane_.Flush();
  return StatusOfLastCommand();
}

int CliApp::RunSetup() {
  std::string error;
  auto values = ParseSetupValues(options_.args, error);
  if (!values) {
    err_ << error << "\n";
    return kExitBadArguments;
  }
  CliSettingsView settings(*values, err_);
  CancellingNVramView nvram;
  return RunConfiguration(settings, nvram, &logger::LoggerConfiguration::Setup1Click);
}

int CliApp::RunSetClock() {
  if (!NoArguments("set-clock")) return kExitBadArguments;
  CancellingSettingsView settings;
  CancellingNVramView nvram;
  return RunConfiguration(settings, nvram, &logger::LoggerConfiguration::SettoPCTime1Click);
}

int CliApp::RunSetDescription() {
  if (options_.args.size() != 1) {
    err_ << "set-description takes one TEXT (quote it when it has spaces)\n";
    return kExitBadArguments;
  }
  if (auto problem = logger::DescriptionProblem(options_.args[0])) {
    err_ << "set-description: " << *problem << "\n";
    return kExitBadArguments;
  }
  CancellingSettingsView settings;
  CliNVramView nvram(options_.args[0]);
  return RunConfiguration(settings, nvram, &logger::LoggerConfiguration::SetNVram1Click);
}

}  // namespace cli

namespace cli {

namespace {

// "1024x768": both sides 16 to 10000 pixels.
bool ParseSize(const std::string& text, int& width, int& height) {
  std::size_t x = text.find('x');
  if (x == std::string::npos || x == 0 || x + 1 >= text.size()) return false;
  auto number = [](const std::string& digits, int& out) {
    if (digits.empty() || digits.size() > 5) return false;
    for (char c : digits) {
      if (c < '0' || c > '9') return false;
    }
    out = std::stoi(digits);
    return out >= 16 && out <= 10000;
  };
  return number(text.substr(0, x), width) && number(text.substr(x + 1), height);
}

// A factor such as "2" or "1.5", 0.5 to 8: digits and at most one point,
// read the same in every locale.
bool ParseScale(const std::string& text, double& scale) {
  if (text.empty() || text.size() > 8 || text.front() == '.' || text.back() == '.') return false;
  int points = 0;
  double whole = 0, fraction = 0, unit = 1;
  for (char c : text) {
    if (c == '.') {
      if (++points > 1) return false;
      continue;
    }
    if (c < '0' || c > '9') return false;
    if (points == 0) {
      whole = whole * 10 + (c - '0');
    } else {
      unit /= 10;
      fraction += (c - '0') * unit;
    }
  }
  scale = whole + fraction;
  return scale >= 0.5 && scale <= 8;
}

}  // namespace

int CliApp::RunExport(const char* usage) {
  using platform::ChartFileFormat;
  const auto& args = options_.args;
  std::string chart, out, lookFile;
  std::optional<ChartFileFormat> format;
  platform::ChartExportOptions exportOptions;
  for (std::size_t i = 2; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--antialias") {
      exportOptions.antialias = true;
      continue;
    }
    bool isFormat = a == "--png" || a == "--svg" || a == "--pdf";
    if ((a == "--chart" || a == "--size" || a == "--scale" || a == "--template" || isFormat) && i + 1 < args.size()) {
      const std::string& value = args[++i];
      if (a == "--template") {
        if (!lookFile.empty()) {
          err_ << "--template is given twice\n";
          return kExitBadArguments;
        }
        lookFile = value;
      } else if (a == "--chart") {
        chart = value;
      } else if (a == "--size") {
        if (!ParseSize(value, exportOptions.width, exportOptions.height)) {
          err_ << "--size takes WxH with both sides 16 to 10000 pixels, not '" << value << "'\n";
          return kExitBadArguments;
        }
      } else if (a == "--scale") {
        if (!ParseScale(value, exportOptions.scale)) {
          err_ << "--scale takes a factor from 0.5 to 8 such as 2 or 1.5, not '" << value << "'\n";
          return kExitBadArguments;
        }
      } else {
        if (format) {
          err_ << "give one of --png, --svg and --pdf\n";
          return kExitBadArguments;
        }
        format = a == "--png" ? ChartFileFormat::Png : a == "--svg" ? ChartFileFormat::Svg : ChartFileFormat::Pdf;
        out = value;
      }
      continue;
    }
    err_ << "unexpected '" << a << "'\n" << usage;
    return kExitBadArguments;
  }
  // A CSV file, a chart file, or both from one opening.
  const bool wantsChart = !chart.empty() || format || !output_.csv;
  if ((wantsChart && ((chart != "temperature" && chart != "histogram") || !format || out.empty())) ||
      args[0].empty()) {
    err_ << usage;
    return kExitBadArguments;
  }
  // The layout keeps the smallest size a chart is exported at.
  if (exportOptions.width / exportOptions.scale < 16 || exportOptions.height / exportOptions.scale < 16) {
    err_ << "--size divided by --scale leaves less than 16 pixels a side\n";
    return kExitBadArguments;
  }
  if (!lookFile.empty() && !wantsChart) {
    err_ << "--template needs a chart to apply to: give --chart\n";
    return kExitBadArguments;
  }
  if (!lookFile.empty() &&
      !TakeTemplate(lookFile, chart == "histogram" ? logger::ChartKind::Histogram : logger::ChartKind::Temperature)) {
    return kExitBadArguments;
  }
  return RunQuietly([&] {
    files_->OpenFile(args[0]);
    if (output_.csv) ExportCsv();
    if (!wantsChart) return;
    // Open shows the temperature line; the Histogram item shows the bars.
    if (chart == "histogram") reports_->ShowHistogram();
    std::string error;
    if (!platform::ExportChart(chart_.Chart1(), *format, out, exportOptions, error)) throw logger::FileError(error);
  });
}

bool CliApp::TakeCommandOutputOptions() {
  const std::string& command = options_.command;
  const auto& args = options_.args;
  std::optional<OutputUse> use;
  std::size_t from = 0;
  if (command == "read-all") {
    use = OutputUse::UnitAndCsv;
  } else if (command == "read-page0") {
    use = OutputUse::UnitOnly;
  } else if (command == "open" && args.size() >= 2) {
    // After FILE and the action word, so a file may have any name.
    from = 2;
    if (args[1] == "export") use = OutputUse::UnitAndCsv;
    if (args[1] == "show" || args[1] == "print") use = OutputUse::UnitOnly;
  }
  if (!use) return true;
  std::string error;
  if (!TakeOutputOptions(options_.args, from, *use, output_, error)) {
    err_ << command << ": " << error << "\n";
    return false;
  }
  if (output_.fahrenheit) reports_->SetUnit(logger::TemperatureUnit::Fahrenheit);
  return true;
}

bool CliApp::TakeTemplate(const std::string& path, logger::ChartKind kind) {
  try {
    logger::ChartTemplate look = logger::ReadChartTemplateFile(fileSystem_, path);
    if (look.chart && *look.chart != kind) {
      err_ << runtime::EscapeForMessage(path) << ": a template of the " << logger::ChartKindName(*look.chart)
           << " chart, not of the " << logger::ChartKindName(kind) << " chart\n";
      return false;
    }
    chart_.SetTemplate(kind, std::move(look));
    return true;
  } catch (const logger::TemplateError& e) {
    err_ << e.Message() << "\n";
    return false;
  }
}

void CliApp::ExportCsv() {
  logger::ExportTemperatureLogCsv(app_->State(), clock_.Now().year, output_.csvOptions, timeZone_, fileSystem_,
                                  *output_.csv);
}

}  // namespace cli

namespace cli {

int CliApp::RunPrint(const char* usage) {
  const auto& args = options_.args;
  std::string printerName, pdf, lookFile;
  for (std::size_t i = 2; i < args.size(); ++i) {
    const std::string& a = args[i];
    std::string* value = a == "--printer" ? &printerName : a == "--pdf" ? &pdf : a == "--template" ? &lookFile : nullptr;
    if (value == nullptr) {
      err_ << Unexpected("open FILE print", a) << "\n" << usage;
      return kExitBadArguments;
    }
    if (i + 1 >= args.size() || args[i + 1].empty()) {
      err_ << "open: " << a << " needs a value\n" << usage;
      return kExitBadArguments;
    }
    if (!value->empty()) {
      err_ << "open: " << a << " is given twice\n" << usage;
      return kExitBadArguments;
    }
    *value = args[++i];
  }
  if (!printerName.empty() && !pdf.empty()) {
    err_ << "open: give --printer NAME or --pdf OUT, not both\n" << usage;
    return kExitBadArguments;
  }
  if (!lookFile.empty() && !TakeTemplate(lookFile, logger::ChartKind::Temperature)) return kExitBadArguments;
  platform::QtPrinter printer;
  if (!printerName.empty()) {
    auto names = printer.PrinterNames();
    auto at = std::find(names.begin(), names.end(), printerName);
    if (at == names.end()) {
      err_ << "no printer named '" << printerName << "'";
      for (const std::string& n : names) err_ << (n == names.front() ? "; installed: " : ", ") << n;
      err_ << "\n";
      return kExitBadArguments;
    }
    printer.SetPrinterIndex(static_cast<int>(at - names.begin()));
  } else if (!pdf.empty()) {
    printer.SetPrinterIndex(-1);
    printer.SetOutputFile(pdf);
  } else if (printer.PrinterIndex() < 0) {
    err_ << "no printer is installed: name a PDF file with --pdf OUT\n";
    return kExitBadArguments;
  }
  return RunQuietly([&] {
    files_->OpenFile(args[0]);
    // File, Print: the temperature chart at print detail -50 on one page.
    chart_.Chart1().SetPrintDetail(-50);
    plot::PrintPage(chart_.Chart1(), printer);
  });
}

}  // namespace cli
