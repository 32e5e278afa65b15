#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sim/recorder_engine.h"
#include "sim/recorder_memory.h"

namespace sim {

// A simulated recorder on its own pseudo-terminal, served on its own thread so
// that it answers while the program under test sleeps in its wait. Answer
// bytes are paced against absolute deadlines when faults.baud is set; each
// answer starts when the command's last byte has arrived. The terminal is raw
// (no echo) from the start, and the server keeps a slave descriptor of its
// own so a client that closes and reopens the device does not hang it up.
class PtyRecorder {
 public:
  PtyRecorder(RecorderMemory memory, Faults faults);
  ~PtyRecorder();  // stops the thread and closes the terminal
  PtyRecorder(const PtyRecorder&) = delete;
  PtyRecorder& operator=(const PtyRecorder&) = delete;

  bool Start(std::string* error);
  void Stop();
  // The device path the program opens (/dev/pts/N).
  const std::string& DevicePath() const { return devicePath_; }

  // Puts bytes on the line now, unasked (noise, or a late answer), paced
  // like answers. Thread-safe.
  void SendUnasked(const std::string& bytes);

  // Thread-safe copies for tests.
  std::vector<std::string> Commands() const;
  // Monotonic milliseconds at which each command's last byte arrived.
  std::vector<std::int64_t> CommandTimesMs() const;
  RecorderMemory Memory() const;
  bool HungUp() const;

  // Called on the serving thread after each write command has changed the
  // memory (even when the address was ignored). Set it before Start.
  std::function<void(const RecorderMemory&)> OnWrite;

 private:
  void Serve();
  void ReadCommands();
  void Enqueue(const Reply& reply, std::int64_t arrivalNs);
  bool WriteFront();
  bool ClientHasDrained(std::int64_t nowNs) const;
  void HangUp();
  // Descriptors, wake pipe, engine, outgoing queue.
  struct State;
  std::unique_ptr<State> state_;
  std::string devicePath_;
  std::thread thread_;
};

}  // namespace sim
