#include "app/data_files.h"

#include <cerrno>

#include "app/logger_decoding.h"
#include "runtime/conversions.h"
#include "runtime/convert_error.h"
#include "runtime/text_format.h"
#include "runtime/windows1252.h"

namespace logger {

namespace {

constexpr const char* kLineEnd = "\r\n";
// A message quoting a bad line stays readable even for a binary file.
constexpr std::size_t kQuotedLineLimit = 100;

// The report file is 8-bit Windows-1252 text; the reports only hold such
// characters, and anything else would be written as '?'.
std::string ToFileText(const std::string& utf8) {
  if (auto bytes = runtime::Utf8ToWindows1252(utf8)) return *bytes;
  std::string out;
  for (char c : utf8) {
    auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) out += c;
    else if ((byte & 0xC0) != 0x80) out += '?';
  }
  return out;
}

// Shows the hourglass for the life of the scope, whatever way it ends.
struct Hourglass {
  platform::BusyCursor& cursor;
  explicit Hourglass(platform::BusyCursor& c) : cursor(c) { cursor.SetHourglass(true); }
  ~Hourglass() { cursor.SetHourglass(false); }
};

}  // namespace

FileError::~FileError() = default;

std::string FileErrorMessage(const platform::IoError& error) {
  switch (error.status) {
    case platform::IoStatus::NotFound: return "File not found";
    case platform::IoStatus::AccessDenied:
    case platform::IoStatus::Busy: return "File access denied";
    default: break;
  }
  if (error.systemError == ENOSPC) return "Disk full";
  return "I/O error " + std::to_string(error.systemError);
}

std::string DataFileName(const std::string& chosen) {
  std::size_t slash = chosen.rfind('/');
  std::size_t dot = chosen.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return chosen + ".dat";
  return chosen.substr(0, dot) + ".dat";
}

LoggerFiles::LoggerFiles(LoggerApp& app, LoggerReports& reports, ChartDisplay& chart, platform::FileSystem& files,
                         FileDialogView& dialogs)
    : app_(app), reports_(reports), chart_(chart), files_(files), dialogs_(dialogs) {}

void LoggerFiles::Save1Click() {
  app_.RunCommand([this] {
    std::optional<std::string> chosen = dialogs_.SaveDialog1Execute();
    if (!chosen) return;
    SaveAs(*chosen);
  });
}

void LoggerFiles::SaveAs(const std::string& chosen) {
  Hourglass hourglass(app_.Ui().cursor);
  app_.Ui().pump.ProcessPendingEvents();
  WriteReportFile(chosen);
  WriteDataFile(DataFileName(chosen));
  reports_.ShowPage0();
  app_.Ui().pump.ProcessPendingEvents();
}

bool LoggerFiles::Open1Click() {
  return app_.RunDeviceCommand([this] {
    std::optional<std::string> chosen = dialogs_.OpenDialog1Execute(app_.OpenDialogFileName());
    if (!chosen) return;
    OpenFile(*chosen);
  });
}

void LoggerFiles::OpenFile(const std::string& path) {
  Hourglass hourglass(app_.Ui().cursor);
  app_.Ui().pump.ProcessPendingEvents();
  // All 3000 lines are read before the store changes: a bad line leaves the
  // store exactly as it was instead of mixing two recordings in it.
  LoggerStore loaded = ReadDataFile(path);
  app_.State().LoggerData = loaded;
  app_.OpenDialogFileName() = path;
  reports_.ShowPage0();
  reports_.ShowTemperature();
  app_.UpdateCaption();
  app_.Ui().pump.ProcessPendingEvents();
}

void LoggerFiles::WriteReportFile(const std::string& path) {
  // The file is in degrees Celsius whatever the window shows, so files stay
  // exchangeable: its text comes from the store through renderers of its
  // own. The window's pane and chart draw the same reports on the way, as
  // a save always showed them.
  LineListPane filePane;
  ChartSeriesMemory fileSeries;
  LoggerReports celsius(app_.State(), filePane, fileSeries, reports_.Clock());
  std::string text;
  auto section = [&](void (LoggerReports::*show)()) {
    (reports_.*show)();
    (celsius.*show)();
    for (const std::string& line : filePane.Lines()) text += ToFileText(line) + kLineEnd;
  };
  section(&LoggerReports::ShowPage0);
  section(&LoggerReports::ShowPage2);
  section(&LoggerReports::ShowSerialNumber);
  section(&LoggerReports::ShowAlarms);
  section(&LoggerReports::ShowHistogram);
  // The listing comes from the line series, refilled from the store here.
  reports_.ShowTemperature();
  celsius.ShowTemperature();
  text += Listing(fileSeries);
  platform::IoError result = files_.WriteFileAtomically(path, text);
  if (!result.Ok()) throw FileError(FileErrorMessage(result));
}

std::string LoggerFiles::TemperatureListing() const { return Listing(chart_); }

std::string LoggerFiles::Listing(const ChartDisplay& series) const {
  std::string text;
  double t = app_.State().LogStartTime;
  for (std::size_t i = 0; i < series.TemperaturePointCount(); ++i) {
    text += ToFileText(LoggerReports::TemperatureLine(t, series.TemperatureY(i))) + kLineEnd;
    t += app_.State().SampleStep;
  }
  return text;
}

void LoggerFiles::WriteDataFile(const std::string& path) {
  std::string text;
  text.reserve(LoggerStore::kCount * 5);
  for (std::int32_t value : app_.State().LoggerData.Entries()) text += runtime::IntToStr(value) + kLineEnd;
  platform::IoError result = files_.WriteFileAtomically(path, text);
  if (!result.Ok()) throw FileError(FileErrorMessage(result));
}

LoggerStore LoggerFiles::ReadDataFile(const std::string& path) {
  std::string bytes;
  platform::IoError result = files_.ReadFilePrefix(path, kMaxDataFileBytes, bytes);
  if (!result.Ok()) throw FileError(FileErrorMessage(result));
  LoggerStore store;
  std::size_t pos = 0;
  for (int k = LoggerStore::kFirst; k <= LoggerStore::kLast; ++k) {
    // Lines end in CR LF (as written) or LF alone; past the end they are empty.
    std::string line;
    if (pos < bytes.size()) {
      std::size_t end = bytes.find('\n', pos);
      if (end == std::string::npos) end = bytes.size();
      line = bytes.substr(pos, end - pos);
      pos = end + 1;
      if (!line.empty() && line.back() == '\r') line.pop_back();
    }
    try {
      store.Set(k, runtime::StrToInt(line));
    } catch (const runtime::ConvertError&) {
      std::string shown = line.size() > kQuotedLineLimit ? line.substr(0, kQuotedLineLimit) + "..." : line;
      throw runtime::ConvertError("'" + shown + "' is not a valid integer value");
    }
  }
  return store;
}

}  // namespace logger
