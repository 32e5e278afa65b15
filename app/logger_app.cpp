#include "app/logger_app.h"

#include <exception>

#include "app/answer_timeout.h"
#include "app/port_messages.h"
#include "runtime/convert_error.h"
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
      protocol_(link_, state_, services.pump, services.clock, services.cursor) {
  protocol_.OnReadBlock = [this](std::uint16_t address) { NoteReadBlock(address); };
  ShowPortStatus();
}

void LoggerApp::FormCreate() {
  OpenPort();
  FillDayNames(state_);
}

void LoggerApp::FormClose() { ClosePort(); }

void LoggerApp::ChoosePort(PortChoice choice) {
  checkedPort_ = choice;
  ClosePort();
  OpenPort();
}

bool LoggerApp::ChooseDevice(const std::string& path) {
  paths_.For(checkedPort_) = path;
  ClosePort();
  bool open = OpenPort();
  if (settings_ != nullptr) {
    std::string error;
    if (!settings_->RememberDevice(checkedPort_, path, error)) {
      status_.SetNotice("The device choice was not remembered: " + error);
    }
  }
  return open;
}

bool LoggerApp::OpenPort() {
  platform::IoError result = link_.OpenPort(PortPath());
  ShowPortStatus();
  if (result.Ok()) return true;
  // The device, the system's reason and the fix follow the fixed text.
  platform::DeviceAccess access;
  if (result.status == platform::IoStatus::AccessDenied) access = link_.DescribeAccess(PortPath());
  services_.messages.ShowMessage(platform::MessageKind::Warning, "Warning",
                                 PortOpenErrorText(PortPath(), result, access, ChooseDeviceHint));
  return false;
}

void LoggerApp::ClosePort() {
  link_.ClosePort();
  ShowPortStatus();
}

void LoggerApp::ShowPortStatus() {
  std::string text = PortItemName(checkedPort_);
  text += ": ";
  text += PortPath();
  if (!link_.IsOpen()) text += " (not open)";
  status_.SetPort(text);
}

void LoggerApp::NoteReadBlock(std::uint16_t address) {
  if (commandDepth_ == 0) return;
  ++running_.blocksSent;
  running_.region = RegionName(address);
  running_.writing.clear();
  status_.SetActivity(running_.Activity());
}

void LoggerApp::SetWriting(const std::string& what) {
  if (commandDepth_ == 0) return;
  running_.writing = what;
  status_.SetActivity(running_.Activity());
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

bool LoggerApp::RunDeviceCommand(const std::string& name, int blocksPlanned, const std::function<void()>& body) {
  if (commandDepth_ > 0) return false;
  running_ = CommandProgress{};
  running_.command = name;
  running_.blocksPlanned = blocksPlanned;
  // A new command: the last one's notice has had its say.
  status_.SetNotice({});
  status_.SetActivity(running_.Activity());
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
      services_.messages.ShowMessage(platform::MessageKind::Error, kApplicationTitle, runtime::ErrorText(e));
    }
    // Bytes after the last answer put the whole command out of frame.
    protocol_.EndCommand();
  }
  running_.stop = protocol_.Stop();
  running_.failed = lastFailed_;
  running_.completed = running_.stop == CommandStop::None && !lastFailed_;
  last_ = running_;
  if (last_.IsDownload()) {
    lastDownload_ = last_;
    // A download that stopped after storing answers leaves the rest of the
    // store from before it.
    if (last_.completed) {
      storeIncomplete_ = false;
    } else if (protocol_.AnswersTaken() > 0) {
      storeIncomplete_ = true;
    }
  }
  running_ = CommandProgress{};
  status_.SetActivity({});
  status_.SetNotice(last_.IncompleteNotice());
  ShowPortStatus();
  ReportStop(last_);
  return true;
}

std::string LoggerApp::IncompleteStoreText() const {
  if (!storeIncomplete_) return {};
  std::string reason = lastDownload_.StopReason();
  return "The data is incomplete: " + lastDownload_.command + " stopped " + lastDownload_.Step() +
         (reason.empty() ? std::string() : ": " + reason) +
         ". The entries it did not read still hold the data from before it.";
}

void LoggerApp::RunCommand(const std::function<void()>& body) {
  lastFailed_ = false;
  try {
    body();
  } catch (const std::exception& e) {
    lastFailed_ = true;
    services_.messages.ShowMessage(platform::MessageKind::Error, kApplicationTitle, runtime::ErrorText(e));
  }
}

void LoggerApp::CancelCommand() {
  if (commandDepth_ > 0) protocol_.RequestCancel();
}

void LoggerApp::ReportStop(const CommandProgress& progress) {
  std::string where = PortName() + " (" + PortPath() + ")";
  // Which command stopped and what it leaves behind.
  std::string ending;
  if (!progress.command.empty()) {
    ending = " " + progress.command + " was stopped";
    ending += progress.IsDownload() ? "; the download is incomplete." : ".";
  }
  std::string text;
  switch (progress.stop) {
    case CommandStop::DeviceLost:
      text = "Lost the connection to the recorder on " + where + " " + progress.Step() + ": " + link_.LostReason() +
             "." + ending;
      break;
    case CommandStop::TimedOut:
      text = "The recorder on " + where + " did not answer within " + SecondsText(protocol_.AnswerTimeoutMs()) +
             ", " + progress.Step() + "." + ending;
      break;
    case CommandStop::OutOfFrame:
      text = "The answers of the recorder on " + where + " went out of frame " + progress.Step() + ": " +
             protocol_.FrameProblem() + "." + ending;
      break;
    case CommandStop::NotOpen:
      text = "Nothing was sent: " + where + " is not open." + ending;
      if (!ChooseDeviceHint.empty()) {
        text += "\nOpen it again from the Port menu, or " + ChooseDeviceHint;
        if (text.back() != '.') text += '.';
      }
      break;
    case CommandStop::None:
    case CommandStop::Aborted:
    case CommandStop::Cancelled:
      return;
  }
  services_.messages.ShowMessage(platform::MessageKind::Error, kApplicationTitle, text);
}

}  // namespace logger
