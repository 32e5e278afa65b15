#include "app/logger_app.h"

#include <exception>

#include "runtime/windows1252.h"

namespace logger {

namespace {

// Characters of code 32 or less count as blanks for the caption.
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string TrimRight(std::string s) {
  while (!s.empty() && IsBlank(s.back())) s.pop_back();
  return s;
}

std::string Trim(std::string s) {
  s = TrimRight(std::move(s));
  std::size_t start = 0;
  while (start < s.size() && IsBlank(s[start])) ++start;
  return s.substr(start);
}

}  // namespace

LoggerApp::LoggerApp(std::unique_ptr<platform::SerialPort> port, PortPaths paths, Services services)
    : services_(services),
      paths_(std::move(paths)),
      link_(std::move(port)),
      protocol_(link_, state_, services.pump, services.clock, services.cursor) {}

void LoggerApp::FormCreate() {
  OpenPort();
  FillDayNames(state_);
}

void LoggerApp::FormClose() { link_.ClosePort(); }

const std::string& LoggerApp::PortPath() const {
  return checkedPort_ == PortChoice::Comm1 ? paths_.comm1 : paths_.comm2;
}

void LoggerApp::ChoosePort(PortChoice choice) {
  checkedPort_ = choice;
  ClosePort();
  OpenPort();
}

bool LoggerApp::OpenPort() {
  platform::IoError result = link_.OpenPort(PortPath());
  if (result.Ok()) return true;
  // The device path and the system's reason follow the fixed text, so the
  // user can tell a missing adapter from a permissions problem.
  services_.messages.ShowMessage(platform::MessageKind::Warning, "Warning",
                                 "Error opening COM:\n" + PortPath() + ": " + result.Describe());
  return false;
}

const std::string& LoggerApp::UpdateCaption() {
  SetCaption(ComputeCaption());
  return caption_;
}

void LoggerApp::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  if (OnCaptionChanged) OnCaptionChanged(caption_);
}

std::string LoggerApp::ComputeCaption() {
  std::string description = TrimRight(NVramText(state_.LoggerData));
  if (!description.empty()) {
    return std::string(kCaption) + " - " + runtime::Windows1252ToUtf8(description);
  }
  std::string fileName = Trim(openDialogFileName_);
  if (!fileName.empty()) {
    openDialogFileName_.clear();
    return std::string(kCaption) + " - " + fileName;
  }
  return kCaption;
}

bool LoggerApp::RunDeviceCommand(const std::function<void()>& body) {
  if (commandDepth_ > 0) return false;
  // Depth and the window's item states follow the command even when it ends
  // with an error.
  struct Scope {
    LoggerApp& app;
    explicit Scope(LoggerApp& a) : app(a) {
      ++app.commandDepth_;
      if (app.OnCommandRunningChanged) app.OnCommandRunningChanged(true);
    }
    ~Scope() {
      --app.commandDepth_;
      if (app.OnCommandRunningChanged) app.OnCommandRunningChanged(false);
    }
  };
  protocol_.BeginCommand();
  lastFailed_ = false;
  {
    Scope scope(*this);
    try {
      body();
    } catch (const std::exception& e) {
      // Errors end the command; the program goes on waiting for commands.
      lastFailed_ = true;
      services_.messages.ShowMessage(platform::MessageKind::Error, kApplicationTitle, e.what());
    }
  }
  lastStop_ = protocol_.Stop();
  ReportStop(lastStop_);
  return true;
}

void LoggerApp::RunCommand(const std::function<void()>& body) {
  lastFailed_ = false;
  try {
    body();
  } catch (const std::exception& e) {
    lastFailed_ = true;
    services_.messages.ShowMessage(platform::MessageKind::Error, kApplicationTitle, e.what());
  }
}

void LoggerApp::CancelCommand() {
  if (commandDepth_ > 0) protocol_.RequestCancel();
}

void LoggerApp::ReportStop(CommandStop stop) {
  std::string where = PortName() + " (" + PortPath() + ")";
  switch (stop) {
    case CommandStop::DeviceLost:
      services_.messages.ShowMessage(platform::MessageKind::Error, kApplicationTitle,
                                     "Lost the connection to the recorder on " + where + ": " + link_.LostReason());
      break;
    case CommandStop::TimedOut:
      services_.messages.ShowMessage(platform::MessageKind::Error, kApplicationTitle,
                                     "The recorder on " + where + " did not answer in time.");
      break;
    case CommandStop::None:
    case CommandStop::Aborted:
    case CommandStop::Cancelled:
      break;
  }
}

}  // namespace logger
