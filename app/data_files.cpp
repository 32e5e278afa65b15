#include "app/data_files.h"

#include <cerrno>

#include "app/logger_decoding.h"
#include "runtime/conversions.h"
#include "runtime/message_text.h"
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

// What the path names, for a message about why it was refused.
const char* KindWords(platform::FileKind kind) {
  switch (kind) {
    case platform::FileKind::Folder: return "a folder";
    case platform::FileKind::Fifo: return "a named pipe";
    case platform::FileKind::Socket: return "a socket";
    case platform::FileKind::CharDevice:
    case platform::FileKind::BlockDevice: return "a device";
    case platform::FileKind::Missing:
    case platform::FileKind::Regular:
    case platform::FileKind::Other: break;
  }
  return "not a regular file";
}

std::string Shown(const std::string& path) { return runtime::EscapeForMessage(path); }

std::string BaseName(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Folder(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {};
  return slash == 0 ? "/" : path.substr(0, slash);
}

// "a", "a and b".
std::string Names(const std::vector<std::string>& names) {
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) text += i + 1 == names.size() ? " and " : ", ";
    text += Shown(names[i]);
  }
  return text;
}

}  // namespace

FileError::~FileError() = default;

std::string FileErrorMessage(const platform::IoError& error) {
  switch (error.status) {
    case platform::IoStatus::NotFound: return "File not found";
    case platform::IoStatus::AccessDenied:
    case platform::IoStatus::Busy:
    case platform::IoStatus::NotAFile: return "File access denied";
    default: break;
  }
  if (error.systemError == ENOSPC) return "Disk full";
  return "I/O error " + std::to_string(error.systemError);
}

std::string FileErrorMessage(const std::string& path, const platform::IoError& error,
                             const platform::FileFacts& facts) {
  std::string text = Shown(path) + ": " + FileErrorMessage(error);
  const bool special = facts.kind != platform::FileKind::Regular && facts.kind != platform::FileKind::Missing;
  if (error.status == platform::IoStatus::NotAFile || error.systemError == EISDIR) {
    text += special ? " (" + std::string(KindWords(facts.kind)) + ", not a file)" : " (not a regular file)";
  } else if (error.status == platform::IoStatus::AccessDenied && facts.kind == platform::FileKind::Regular &&
             !facts.hasWriteBits) {
    text += " (read-only)";
  }
  return text;
}

std::string DataFileName(const std::string& chosen) {
  std::size_t slash = chosen.rfind('/');
  std::size_t dot = chosen.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return chosen + ".dat";
  return chosen.substr(0, dot) + ".dat";
}

std::string ReportFileText(LoggerState& state, const platform::Clock& clock) {
  // Degrees Celsius whatever the window shows, so files stay exchangeable:
  // the text comes from the store through renderers of its own.
  LineListPane pane;
  ChartSeriesMemory series;
  LoggerReports celsius(state, pane, series, clock);
  std::string text;
  auto section = [&](void (LoggerReports::*show)()) {
    (celsius.*show)();
    for (const std::string& line : pane.Lines()) text += ToFileText(line) + kLineEnd;
  };
  section(&LoggerReports::ShowPage0);
  section(&LoggerReports::ShowPage2);
  section(&LoggerReports::ShowSerialNumber);
  section(&LoggerReports::ShowAlarms);
  section(&LoggerReports::ShowHistogram);
  // The listing comes from the line series, refilled from the store here.
  celsius.ShowTemperature();
  return text + TemperatureListingText(series, state);
}

std::string TemperatureListingText(const ChartDisplay& chart, const LoggerState& state) {
  std::string text;
  double t = state.LogStartTime;
  for (std::size_t i = 0; i < chart.TemperaturePointCount(); ++i) {
    text += ToFileText(LoggerReports::TemperatureLine(t, chart.TemperatureY(i))) + kLineEnd;
    t += state.SampleStep;
  }
  return text;
}

std::string DataFileText(const LoggerStore& store) {
  std::string text;
  text.reserve(LoggerStore::kCount * 5);
  for (std::int32_t value : store.Entries()) text += runtime::IntToStr(value) + kLineEnd;
  return text;
}

LoggerFiles::LoggerFiles(LoggerApp& app, LoggerReports& reports, ChartDisplay& chart, platform::FileSystem& files,
                         FileDialogView& dialogs)
    : app_(app), reports_(reports), chart_(chart), files_(files), dialogs_(dialogs) {}

bool LoggerFiles::Save1Click() {
  if (app_.CommandRunning()) return false;
  app_.RunCommand([this] {
    std::string incomplete = app_.IncompleteStoreText();
    if (!incomplete.empty() &&
        !app_.Ui().messages.AskYesNo(kSaveTitle, incomplete + "\n\nSave it anyway?")) {
      return;
    }
    for (;;) {
      std::optional<std::string> chosen = dialogs_.SaveDialog1Execute();
      if (!chosen) return;
      std::vector<std::string> targets = {*chosen};
      if (DataFileName(*chosen) != *chosen) targets.push_back(DataFileName(*chosen));
      std::string question = ReplaceQuestion(targets);
      // No goes back to the dialog, to choose another name.
      if (!question.empty() && !app_.Ui().messages.AskYesNo(kSaveTitle, question)) continue;
      SaveAs(*chosen);
      return;
    }
  });
  return true;
}

std::string LoggerFiles::ReplaceQuestion(const std::vector<std::string>& paths) {
  std::vector<std::string> existing;
  for (const std::string& path : paths) {
    if (files_.Examine(path).kind != platform::FileKind::Missing) existing.push_back(BaseName(path));
  }
  if (existing.empty()) return {};
  std::string folder = Folder(paths.front());
  std::string text = Names(existing) + (existing.size() == 1 ? " already exists" : " already exist");
  if (!folder.empty()) text += " in " + Shown(folder);
  text += existing.size() == 1 ? ".\nReplace it?" : ".\nReplace them?";
  return text;
}

void LoggerFiles::SaveAs(const std::string& chosen) {
  Hourglass hourglass(app_.Ui().cursor);
  app_.Ui().pump.ProcessPendingEvents();
  std::string report = DrawReportsForFile();
  std::vector<platform::FileContent> contents;
  const std::string dataName = DataFileName(chosen);
  if (dataName != chosen) contents.push_back({chosen, std::move(report)});
  contents.push_back({dataName, DataFileText(app_.State().LoggerData)});
  WriteTogether(contents);
  reports_.ShowPage0();
  app_.Ui().pump.ProcessPendingEvents();
}

std::string LoggerFiles::DrawReportsForFile() {
  // The window draws every report on the way, as a save always showed them
  // (also when the report's name is the data file's, which then replaces
  // it): the pane and the chart end on the temperature listing and line.
  reports_.ShowPage0();
  reports_.ShowPage2();
  reports_.ShowSerialNumber();
  reports_.ShowAlarms();
  reports_.ShowHistogram();
  reports_.ShowTemperature();
  return ReportFileText(app_.State(), reports_.Clock());
}

void LoggerFiles::WriteTogether(const std::vector<platform::FileContent>& contents) {
  std::vector<bool> written;
  std::size_t failed = 0;
  platform::IoError result = files_.WriteFiles(contents, written, failed);
  if (result.Ok()) return;
  const std::string& path = contents.at(failed).path;
  std::string message = FileErrorMessage(path, result, files_.Examine(path));
  if (contents.size() > 1) {
    std::vector<std::string> done, notDone;
    for (std::size_t i = 0; i < contents.size(); ++i) (written[i] ? done : notDone).push_back(contents[i].path);
    message += "\n";
    if (done.empty()) {
      message += "Nothing was saved: " + Names(notDone) + (notDone.size() == 1 ? " was" : " were") + " not written.";
    } else {
      message += Names(done) + (done.size() == 1 ? " was" : " were") + " written; " + Names(notDone) +
                 (notDone.size() == 1 ? " was" : " were") + " not.";
    }
  }
  throw FileError(message);
}

bool LoggerFiles::Open1Click() {
  return app_.RunDeviceCommand([this] {
    std::optional<std::string> chosen = dialogs_.OpenDialog1Execute(app_.OpenDialogFileName());
    if (!chosen) return;
    OpenFile(*chosen);
  });
}

bool LoggerFiles::OpenDataFile(const std::string& path) {
  return app_.RunDeviceCommand([this, &path] { OpenFile(path); });
}

void LoggerFiles::OpenFile(const std::string& path) {
  Hourglass hourglass(app_.Ui().cursor);
  app_.Ui().pump.ProcessPendingEvents();
  // All 3000 lines are read before the store changes: a bad line leaves the
  // store exactly as it was instead of mixing two recordings in it.
  LoggerStore loaded = ReadDataFile(path);
  app_.State().LoggerData = loaded;
  app_.NoteStoreWhole();
  app_.OpenDialogFileName() = path;
  reports_.ShowPage0();
  reports_.ShowTemperature();
  app_.UpdateCaption();
  app_.Ui().pump.ProcessPendingEvents();
}

void LoggerFiles::WriteReportFile(const std::string& path) {
  WriteTogether({{path, DrawReportsForFile()}});
}

std::string LoggerFiles::TemperatureListing() const { return TemperatureListingText(chart_, app_.State()); }

void LoggerFiles::WriteDataFile(const std::string& path) {
  WriteTogether({{path, DataFileText(app_.State().LoggerData)}});
}

LoggerStore LoggerFiles::ReadDataFile(const std::string& path) {
  std::string bytes;
  platform::IoError result = files_.ReadFilePrefix(path, kMaxDataFileBytes, bytes);
  if (!result.Ok()) throw FileError(FileErrorMessage(path, result, files_.Examine(path)));
  return ParseDataFile(path, bytes);
}

LoggerStore ParseDataFile(const std::string& path, const std::string& bytes) {
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
      // The line is the file's bytes: shown escaped, so control characters
      // can neither steer the terminal nor hide.
      std::string shown = line.size() > kQuotedLineLimit
                              ? runtime::EscapeForMessage(line.substr(0, kQuotedLineLimit)) + "..."
                              : runtime::EscapeForMessage(line);
      throw runtime::ConvertError(Shown(path) + ", line " + std::to_string(k) + ": '" + shown +
                                  "' is not a valid integer value");
    }
  }
  return store;
}

}  // namespace logger
