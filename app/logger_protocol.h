#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "app/logger_store.h"
#include "app/serial_link.h"
#include "platform/busy_cursor.h"
#include "platform/clock.h"
#include "platform/event_pump.h"

namespace logger {

// Why the command in progress stopped talking to the recorder.
enum class CommandStop {
  None,        // still going, or finished normally
  Aborted,     // Exit: AbortRequested is set for good
  Cancelled,   // the user cancelled this command only
  TimedOut,    // no answer within the answer time-out
  DeviceLost,  // the device went away
  NotOpen,     // no port is open, and a time-out is set: no answer can come
};

// The recorder's command protocol: read procedures that send a read command,
// wait for the 34-byte answer while window events run, and store the answer's
// leading bytes in the store; write commands; the single byte A5.
//
// A command groups several procedures (Read All runs six). Once a wait of the
// command has ended without an answer, the rest of that command sends and
// stores nothing more; BeginCommand starts the next one afresh. Exit's
// AbortRequested ends every command for good.
class LoggerProtocol {
 public:
  LoggerProtocol(SerialLink& link, LoggerState& state, platform::EventPump& pump, platform::Clock& clock,
                 platform::BusyCursor& cursor);

  // Bounds every answer wait (milliseconds); negative waits until Exit or
  // Cancel. With a time-out set, a wait on a closed port ends at once.
  void SetAnswerTimeoutMs(int timeoutMs) { answerTimeoutMs_ = timeoutMs; }
  int AnswerTimeoutMs() const { return answerTimeoutMs_; }

  // Told the address of every read command just before it is sent, so
  // progress can be shown.
  std::function<void(std::uint16_t address)> OnReadBlock;

  void BeginCommand() { stop_ = CommandStop::None; }
  // Ends the current wait and the rest of the current command.
  void RequestCancel() { stop_ = CommandStop::Cancelled; }
  // Why the current command stopped; Aborted whenever AbortRequested is set.
  CommandStop Stop() const;
  bool Stopped() const { return Stop() != CommandStop::None; }

  // Waits until 34 bytes are queued, letting window events run, under the
  // hourglass. False when the wait ended for any other reason (see Stop()).
  bool WaitForAnswer();

  void ReadPage0();
  void ReadPage2();
  void ReadSerialNumber();
  void ReadAlarmRecords();
  void ReadHistogram();
  void ReadTemperatureLog();

  // 22 addr value; no answer is read.
  void WriteByte(std::uint8_t address, std::uint8_t value);
  // The single byte A5, then the recorder's 60 ms pause.
  void SendNewRecording();

  static std::string ReadCommand(std::uint16_t address);

 private:
  // Sends one read command, waits and reads; the answer, or nullopt-like
  // empty result with `ok` false when the wait ended without one.
  bool ReadBlock(std::uint16_t address, std::string& answer);
  // Stores answer bytes [first, first + count) from store entry `index` on,
  // never past the end of the answer.
  void StoreAnswer(const std::string& answer, std::size_t count, int index);
  void DiscardRead() { link_.ReadQueued(); }
  bool WaitForAnswerUnderHourglass();
  void SetHourglass(bool on);

  SerialLink& link_;
  LoggerState& state_;
  platform::EventPump& pump_;
  platform::Clock& clock_;
  platform::BusyCursor& cursor_;
  int answerTimeoutMs_ = -1;
  bool hourglass_ = false;
  CommandStop stop_ = CommandStop::None;
};

}  // namespace logger
