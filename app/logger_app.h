#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/app_settings.h"
#include "app/command_progress.h"
#include "app/logger_protocol.h"
#include "app/logger_store.h"
#include "app/port_choice.h"
#include "app/serial_link.h"
#include "app/status_line.h"
#include "platform/busy_cursor.h"
#include "platform/clock.h"
#include "platform/event_pump.h"
#include "platform/user_messages.h"

namespace logger {

// Everything the main window does that needs no window: the program-wide
// state, the port choice, the caption rules and the flow of device commands.
// The window (and the console program) are thin shells over it.
class LoggerApp {
 public:
  static constexpr const char* kCaption = "Brindlemark Quorvel";
  static constexpr const char* kApplicationTitle = "Temperature Quorvel";

  struct Services {
    platform::EventPump& pump;
    platform::Clock& clock;
    platform::UserMessages& messages;
    platform::BusyCursor& cursor;
  };

  LoggerApp(std::unique_ptr<platform::SerialPort> port, PortPaths paths, Services services);

  // Start-up: open the checked port (a failure shows its warning and start-up
  // goes on), then fill the day names.
  void FormCreate();
  // The main window closes: release the port.
  void FormClose();

  // Port menu: the chosen item becomes checked, then the port is closed and
  // opened again (also when the item was already checked).
  void ChoosePort(PortChoice choice);
  PortChoice CheckedPort() const { return checkedPort_; }
  std::string PortName() const { return checkedPort_ == PortChoice::Comm1 ? "Com1" : "Com2"; }
  const std::string& PortPath() const { return paths_.For(checkedPort_); }
  const PortPaths& Paths() const { return paths_; }
  // Port, Choose Device...: `path` becomes the checked item's device, the
  // port reopens on it at once (a failure shows the open warning), and the
  // choice is remembered for the next start when settings are attached.
  // True when the port is open afterwards.
  bool ChooseDevice(const std::string& path);
  // Opens the checked port; a failure shows "Error opening COM:" with what
  // to do about it, and leaves the link closed. True when the port is open
  // afterwards.
  bool OpenPort();
  void ClosePort();
  // Ends the advice for a missing device: how this program picks another
  // one ("choose another with Port, Choose Device...").
  std::string ChooseDeviceHint;

  // Remembers device choices; null remembers nothing. Not owned.
  void SetSettings(AppSettings* settings) { settings_ = settings; }
  // Bounds every answer wait; negative waits until Exit or Cancel.
  void SetAnswerTimeoutMs(int timeoutMs) { protocol_.SetAnswerTimeoutMs(timeoutMs); }

  // The status line's texts (see StatusLine); the port section follows the
  // port, the middle one the device commands.
  StatusLine& Status() { return status_; }

  // Recomputes and returns the caption: the description, else the file name
  // remembered by the open dialog (which is then forgotten), else the bare
  // caption.
  const std::string& UpdateCaption();
  const std::string& Caption() const { return caption_; }
  // Told every new caption, so the window can show it.
  std::function<void(const std::string& caption)> OnCaptionChanged;
  // The open dialog's remembered file name: "Data.txt" at start.
  std::string& OpenDialogFileName() { return openDialogFileName_; }

  // Runs a command that talks to the recorder or replaces the store. Refused
  // (false) while another such command waits for the recorder: two commands'
  // bytes interleaved on one line corrupt both. A command that ended because
  // the device was lost or did not answer in time reports it.
  bool RunDeviceCommand(const std::function<void()>& body) { return RunDeviceCommand({}, 0, body); }
  // The same for a named command that sends `blocksPlanned` read commands
  // when it runs to its end (0: not known ahead), so that its progress shows
  // as "Reading block 12 of 74".
  bool RunDeviceCommand(const std::string& name, int blocksPlanned, const std::function<void()>& body);
  // The device command that runs now, and the last one that ended (how far
  // it got, whether it completed). Both empty before the first command.
  const CommandProgress& RunningCommand() const { return running_; }
  const CommandProgress& LastCommand() const { return last_; }
  // The last Read All that ended, whatever ran after it: whether the store
  // holds a whole download, and if not, where it stopped.
  const CommandProgress& LastDownload() const { return lastDownload_; }
  // Whether the store mixes a Read All that did not complete with what it
  // held before (some answers were stored, then the download stopped). A
  // complete Read All or an Open makes it whole again.
  bool StoreIncomplete() const { return storeIncomplete_; }
  // The store now holds one whole recording (a data file was loaded).
  void NoteStoreWhole() { storeIncomplete_ = false; }
  // "The data is incomplete: Read All stopped at block 9 of 74 (the
  // histogram): no answer. ..." for a question before the store is written
  // out; empty when the store is whole.
  std::string IncompleteStoreText() const;
  // A device command's step that writes to the recorder ("the setup"), shown
  // as the activity until its next read.
  void SetWriting(const std::string& what);
  bool CommandRunning() const { return commandDepth_ > 0; }
  // Runs a command that only renders the store: its errors end it with a
  // message box; it is never refused.
  void RunCommand(const std::function<void()>& body);
  // Called with true when a device command starts waiting and false when it
  // is over, so the window can disable and enable the items.
  std::function<void(bool running)> OnCommandRunningChanged;

  // Exit: ends every wait for good.
  void RequestAbort() { state_.AbortRequested = true; }
  // Cancel: ends the current command's wait, and that command only.
  void CancelCommand();
  // How the last device command ended.
  CommandStop LastCommandStop() const { return last_.stop; }
  // Whether the last command ended with an error message (a bad value, a
  // file that could not be read or written).
  bool LastCommandFailed() const { return lastFailed_; }

  LoggerState& State() { return state_; }
  const LoggerState& State() const { return state_; }
  SerialLink& Link() { return link_; }
  LoggerProtocol& Protocol() { return protocol_; }
  const Services& Ui() const { return services_; }

 private:
  void ReportStop(const CommandProgress& progress);
  void NoteReadBlock(std::uint16_t address);
  void ShowPortStatus();
  std::string ComputeCaption();
  void SetCaption(std::string caption);

  Services services_;
  PortPaths paths_;
  LoggerState state_;
  SerialLink link_;
  LoggerProtocol protocol_;
  PortChoice checkedPort_ = PortChoice::Comm1;
  AppSettings* settings_ = nullptr;
  StatusLine status_;
  CommandProgress running_;
  CommandProgress last_;
  CommandProgress lastDownload_;
  std::string caption_ = kCaption;
  std::string openDialogFileName_ = "Data.txt";
  int commandDepth_ = 0;
  bool lastFailed_ = false;
  bool storeIncomplete_ = false;
};

}  // namespace logger
