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
  OutOfFrame,  // bytes arrived that belong to no answer, or an answer had the wrong length
};

// The recorder's command protocol: read procedures that send a read command,
// wait for the 34-byte answer while window events run, and store the answer's
// leading bytes in the store; write commands; the single byte A5.
//
// A command groups several procedures (Read All runs six). Once a wait of the
// command has ended without an answer, the rest of that command sends and
// stores nothing more; BeginCommand starts the next one afresh. Exit's
// AbortRequested ends every command for good.
//
// Answers are framed per command: bytes queued before its first read are
// stale and dropped; its first answer is read once the line has been quiet
// for kQuietMs, which gives the recorder's answer length; every later answer
// is read to that length. Bytes queued before a later read, an answer that
// stops short, or bytes after the last answer (EndCommand) mean the exchange
// went out of frame: the command stops as OutOfFrame instead of storing
// shifted bytes as if they were the recorder's memory.
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

  // The line must have been quiet this long before the first answer of a
  // command counts as whole: two byte times at 9600 baud, but at least the
  // 16 ms that USB serial adapters may hold bytes back between bursts.
  static constexpr int kQuietMs = 20;

  void BeginCommand();
  // Ends the command: after its last answer the line must stay quiet for
  // kQuietMs; anything arriving then puts the command out of frame.
  void EndCommand();
  // The answer length learned from the command's first answer (0 before it).
  std::size_t AnswerLength() const { return answerLength_; }
  // Answers taken (and stored) by the current command so far.
  int AnswersTaken() const { return answersTaken_; }
  // Why the command went out of frame ("1 byte arrived between two answers").
  const std::string& FrameProblem() const { return frameProblem_; }
  // Ends the current wait and the rest of the current command.
  void RequestCancel() { stop_ = CommandStop::Cancelled; }
  // Why the current command stopped; Aborted whenever AbortRequested is set.
  CommandStop Stop() const;
  bool Stopped() const { return Stop() != CommandStop::None; }

  // Waits for a whole answer to the read command just sent (see the framing
  // above), letting window events run, under the hourglass. False when the
  // wait ended for any other reason (see Stop()).
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
  // Sends one read command, waits and reads the answer; false (with Stop()
  // telling why) when there is none to store.
  bool ReadBlock(std::uint16_t address, std::string& answer);
  // Stores answer bytes [first, first + count) from store entry `index` on,
  // never past the end of the answer.
  void StoreAnswer(const std::string& answer, std::size_t count, int index);
  // The length of the answer now queued, or 0 when the wait ended without one.
  std::size_t AwaitAnswer();
  std::size_t AwaitAnswerUnderHourglass();
  void SetHourglass(bool on);
  // Reads and drops everything queued now.
  void DiscardQueued();
  // Drops what arrives until the line has been quiet for kQuietMs (after a
  // command that stopped in the middle of an exchange).
  void SettleLine();
  void SettleLineUnderHourglass();
  // Waits out the quiet time after the last answer, looking for stray bytes.
  void CheckLineAfterLastAnswer();
  // False (and out of frame) when bytes wait before a later read command.
  bool LineIsClearBeforeRead();
  void GoOutOfFrame(std::string problem);

  SerialLink& link_;
  LoggerState& state_;
  platform::EventPump& pump_;
  platform::Clock& clock_;
  platform::BusyCursor& cursor_;
  int answerTimeoutMs_ = -1;
  bool hourglass_ = false;
  CommandStop stop_ = CommandStop::None;
  // The current command's frame.
  bool readSent_ = false;          // a read command of this command went out
  std::size_t answerLength_ = 0;   // learned from its first answer
  std::int64_t lastAnswerMs_ = 0;  // when its last answer was taken
  int answersTaken_ = 0;
  std::string frameProblem_;
  // The last command stopped in the middle of an exchange: the rest of an
  // answer may still be on its way.
  bool lineUnsettled_ = false;
};

}  // namespace logger
