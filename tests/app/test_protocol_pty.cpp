// The recorder protocol end to end: the termios port on a real
// pseudo-terminal, served by the simulated recorder on its own thread.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/logger_protocol.h"
#include "platform/posix/poll_event_pump.h"
#include "platform/posix/posix_serial_port.h"
#include "platform/posix/system_clock.h"
#include "sim/pty_recorder.h"
#include "tests/app/app_rigs.h"

namespace {

using apptest::AllEqual;
using apptest::Bytes;
using apptest::Fill;
using apptest::HoldsMemory;
using logger::CommandStop;

constexpr int kUntouched = -7;

// Passes everything to the termios port and notes what the protocol asked of it.
class RecordingPort final : public platform::SerialPort {
 public:
  RecordingPort() : inner_(platform::CreateSystemSerialPort()) {}

  platform::IoError Open(const std::string& path) override { return inner_->Open(path); }
  void Close() override { inner_->Close(); }
  bool IsOpen() const override { return inner_->IsOpen(); }
  platform::IoError Write(std::string_view bytes, std::size_t& written) override {
    ++writes;
    return inner_->Write(bytes, written);
  }
  platform::IoError QueuedCount(std::size_t& count) override {
    platform::IoError result = inner_->QueuedCount(count);
    lastCount = count;
    return result;
  }
  platform::IoError Read(std::size_t count, std::string& bytes) override {
    platform::IoError result = inner_->Read(count, bytes);
    reads.push_back({count, lastCount, bytes.size()});
    return result;
  }
  int WakeDescriptor() const override { return inner_->WakeDescriptor(); }
  void ConsumeWakeups() override { inner_->ConsumeWakeups(); }

  struct ReadCall {
    std::size_t requested;
    std::size_t counted;  // the queued count just before
    std::size_t got;
  };
  int writes = 0;
  std::size_t lastCount = 0;
  std::vector<ReadCall> reads;

 private:
  std::unique_ptr<platform::SerialPort> inner_;
};

class ProtocolPty : public ::testing::Test {
 protected:
  void Start(sim::Faults faults) {
    recorder_ = std::make_unique<sim::PtyRecorder>(testsupport::PatternedMemory(), faults);
    std::string error;
    ASSERT_TRUE(recorder_->Start(&error)) << error;
    auto owned = std::make_unique<RecordingPort>();
    port_ = owned.get();
    link_ = std::make_unique<logger::SerialLink>(std::move(owned));
    platform::IoError opened = link_->OpenPort(testsupport::RequireExplicitPort(recorder_->DevicePath()));
    ASSERT_TRUE(opened.Ok()) << opened.Describe();
    protocol_ = std::make_unique<logger::LoggerProtocol>(*link_, state_, pump_, clock_, cursor_);
    // A broken wait fails the test instead of hanging it.
    protocol_->SetAnswerTimeoutMs(10000);
    Fill(state_.LoggerData, 1, 3000, kUntouched);
  }

  void ReadAll() {
    protocol_->ReadPage0();
    protocol_->ReadPage2();
    protocol_->ReadSerialNumber();
    protocol_->ReadAlarmRecords();
    protocol_->ReadHistogram();
    protocol_->ReadTemperatureLog();
  }

  // Stale bytes must be on the line before the procedure starts, or the case
  // tests nothing.
  void WaitUntilQueued(std::size_t count) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (link_->QueuedByteCount() < count && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_GE(link_->QueuedByteCount(), count);
  }

  std::int64_t NowMs() const { return clock_.MonotonicMs(); }

  std::unique_ptr<sim::PtyRecorder> recorder_;
  RecordingPort* port_ = nullptr;
  std::unique_ptr<logger::SerialLink> link_;
  logger::LoggerState state_;
  platform::PollEventPump realPump_;
  testsupport::CountingPumpAdapter pump_{realPump_};
  platform::SystemClock clock_;
  platform::NoCursor cursor_;
  std::unique_ptr<logger::LoggerProtocol> protocol_;
};

TEST_F(ProtocolPty, FullDownloadSendsExactCommandsAndStoresEveryRegion) {
  Start({});
  ReadAll();
  EXPECT_EQ(protocol_->Stop(), CommandStop::None);
  std::vector<std::string> commands = recorder_->Commands();
  ASSERT_EQ(commands.size(), 74u);
  EXPECT_EQ(commands[0], Bytes({0x33, 0x00, 0x00}));
  EXPECT_EQ(commands[1], Bytes({0x33, 0x00, 0x40}));
  EXPECT_EQ(commands[2], Bytes({0x33, 0x02, 0x00}));
  EXPECT_EQ(commands[3], Bytes({0x33, 0x02, 0x20}));
  EXPECT_EQ(commands[5], Bytes({0x33, 0x02, 0x60}));
  EXPECT_EQ(commands[9], Bytes({0x33, 0x08, 0x60}));
  EXPECT_EQ(commands[10], Bytes({0x33, 0x10, 0x00}));
  EXPECT_EQ(commands[73], Bytes({0x33, 0x17, 0xE0}));
  for (int k = 0; k < 64; ++k) EXPECT_EQ(commands[10 + k], apptest::ReadCommandFor(0x1000 + 32 * k));

  EXPECT_TRUE(HoldsMemory(state_.LoggerData, 1, 0x0000, 32));
  EXPECT_TRUE(HoldsMemory(state_.LoggerData, 33, 0x0040, 32));
  EXPECT_TRUE(HoldsMemory(state_.LoggerData, 65, 0x0200, 8));
  EXPECT_TRUE(HoldsMemory(state_.LoggerData, 73, 0x0220, 96));
  EXPECT_TRUE(HoldsMemory(state_.LoggerData, 169, 0x0800, 128));
  EXPECT_TRUE(HoldsMemory(state_.LoggerData, 297, 0x1000, 2048));
  EXPECT_TRUE(AllEqual(state_.LoggerData, 2345, 3000, kUntouched));
}

TEST_F(ProtocolPty, AnswerInPiecesIsReadOnceAtTheThirtyFourthByte) {
  sim::Faults faults;
  faults.fragment = 8;  // pieces of 8, 8, 8, 8 and 2, a few milliseconds apart
  Start(faults);
  protocol_->ReadSerialNumber();
  protocol_->ReadAlarmRecords();
  EXPECT_EQ(protocol_->Stop(), CommandStop::None);
  ASSERT_EQ(port_->reads.size(), 4u);
  for (const auto& read : port_->reads) {
    EXPECT_EQ(read.requested, 34u);
    EXPECT_EQ(read.got, 34u);
  }
  EXPECT_GT(pump_.waitCalls, 4);  // each answer was waited for
  EXPECT_TRUE(HoldsMemory(state_.LoggerData, 65, 0x0200, 8));
  EXPECT_TRUE(HoldsMemory(state_.LoggerData, 73, 0x0220, 96));
}

TEST_F(ProtocolPty, FortyByteAnswersAreConsumedWhole) {
  sim::Faults faults;
  faults.extra = 6;
  Start(faults);
  protocol_->ReadPage0();
  protocol_->ReadSerialNumber();
  protocol_->ReadHistogram();
  EXPECT_EQ(protocol_->Stop(), CommandStop::None);
  EXPECT_TRUE(HoldsMemory(state_.LoggerData, 1, 0x0000, 32));
  EXPECT_TRUE(HoldsMemory(state_.LoggerData, 65, 0x0200, 10));
  EXPECT_TRUE(HoldsMemory(state_.LoggerData, 169, 0x0800, 128));
}

// Bytes the line received before the program opened it are gone after the
// open: a late answer to an earlier program, or the simulator's stale bytes.
TEST_F(ProtocolPty, OpenDropsWhatTheLineReceivedBefore) {
  sim::Faults faults;
  faults.stale = 5;
  Start(faults);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(link_->QueuedByteCount(), 0u);
  // What arrives after the open is there to read.
  recorder_->SendUnasked("\x01\x02");
  WaitUntilQueued(2);
}

// Stale bytes that arrive after the open and before a command, answers in
// fragments: still every byte where it belongs, whichever procedure is first.
TEST_F(ProtocolPty, StaleBytesAndFragmentsStillGiveExactData) {
  sim::Faults faults;
  faults.fragment = 7;
  Start(faults);
  recorder_->SendUnasked(std::string(5, '\xEE'));
  WaitUntilQueued(5);
  protocol_->BeginCommand();
  protocol_->ReadPage2();  // Read Just Page 0's order: no discard read of its own
  protocol_->ReadPage0();
  protocol_->EndCommand();
  EXPECT_EQ(protocol_->Stop(), CommandStop::None);
  EXPECT_TRUE(HoldsMemory(state_.LoggerData, 33, 0x0040, 32));
  EXPECT_TRUE(HoldsMemory(state_.LoggerData, 1, 0x0000, 32));
}

// A legitimate recorder whose answers are all 40 bytes long, at line speed.
TEST_F(ProtocolPty, FortyByteAnswersAtLineSpeedGiveExactData) {
  sim::Faults faults;
  faults.extra = 6;
  faults.baud = 9600;
  Start(faults);
  protocol_->BeginCommand();
  protocol_->ReadPage0();
  protocol_->ReadSerialNumber();
  protocol_->ReadHistogram();
  protocol_->EndCommand();
  EXPECT_EQ(protocol_->Stop(), CommandStop::None);
  EXPECT_EQ(protocol_->AnswerLength(), 40u);
  EXPECT_TRUE(HoldsMemory(state_.LoggerData, 1, 0x0000, 32));
  EXPECT_TRUE(HoldsMemory(state_.LoggerData, 65, 0x0200, 10));
  EXPECT_TRUE(HoldsMemory(state_.LoggerData, 169, 0x0800, 128));
  for (const auto& read : port_->reads) EXPECT_EQ(read.got, 40u);
}

// Answers out of frame at line speed: one answer longer than the others,
// extra bytes on some answers only, a stray byte sent unasked in the middle
// of the download. At line speed a byte after an answer may show only once
// the next command is out, and then every later answer is shifted by it; the
// shift is still there after the last answer, so the command never ends as
// a success.
class ProtocolPtyFrame : public ProtocolPty, public ::testing::WithParamInterface<int> {};

TEST_P(ProtocolPtyFrame, ExtraBytesEndTheDownloadAsOutOfFrame) {
  sim::Faults faults;
  faults.baud = 9600;
  switch (GetParam()) {
    case 0: faults.extra = 6, faults.strayAfter = 7; break;        // 41 among 40s
    case 1: faults.extra = 7, faults.extraOnly = {9, 30}; break;  // only some answers
    case 2: break;                                                 // noise, below
  }
  Start(faults);
  if (GetParam() == 2) {
    pump_.OnProcess = [&] {
      if (port_->writes == 12 && port_->reads.size() == 11) {
        recorder_->SendUnasked("\x5A");
        pump_.OnProcess = nullptr;
      }
    };
  }
  protocol_->BeginCommand();
  ReadAll();
  protocol_->EndCommand();
  EXPECT_EQ(protocol_->Stop(), CommandStop::OutOfFrame) << protocol_->FrameProblem();
  EXPECT_FALSE(protocol_->FrameProblem().empty());
  // The blocks before the fault are whole.
  EXPECT_TRUE(HoldsMemory(state_.LoggerData, 1, 0x0000, 32));
  EXPECT_TRUE(HoldsMemory(state_.LoggerData, 73, 0x0220, 32));
}

INSTANTIATE_TEST_SUITE_P(Faults, ProtocolPtyFrame, ::testing::Values(0, 1, 2), [](const auto& p) {
  return p.param == 0 ? "OneAnswerOf41Among40s" : p.param == 1 ? "ExtraOnSomeAnswers" : "StrayByteMidDownload";
});

// Cancel while an answer comes in at line speed: its rest keeps arriving
// for some 30 ms. The next command lets it pass before it sends, so the rest
// does not become the start of its answer.
TEST_F(ProtocolPty, TheRestOfACancelledAnswerIsNotTakenByTheNextCommand) {
  sim::Faults faults;
  faults.baud = 9600;
  Start(faults);
  pump_.OnProcess = [&] {
    if (port_->writes == 2 && port_->lastCount > 0 && port_->lastCount < 20) protocol_->RequestCancel();
  };
  protocol_->BeginCommand();
  protocol_->ReadHistogram();
  protocol_->EndCommand();
  ASSERT_EQ(protocol_->Stop(), CommandStop::Cancelled);

  pump_.OnProcess = nullptr;
  protocol_->BeginCommand();
  protocol_->ReadSerialNumber();
  protocol_->EndCommand();
  EXPECT_EQ(protocol_->Stop(), CommandStop::None) << protocol_->FrameProblem();
  EXPECT_EQ(protocol_->AnswerLength(), 34u);
  EXPECT_TRUE(HoldsMemory(state_.LoggerData, 65, 0x0200, 10));
}

class ProtocolPtyStop : public ProtocolPty, public ::testing::WithParamInterface<bool> {};

TEST_P(ProtocolPtyStop, DuringThirdHistogramBlockLeavesTheRestUnsent) {
  const bool exit = GetParam();
  sim::Faults faults;
  faults.fragment = 8;  // the third answer takes ~20 ms to arrive: the wait surely pumps
  Start(faults);
  pump_.OnProcess = [&] {
    if (port_->writes != 3) return;
    if (exit) {
      state_.AbortRequested = true;
    } else {
      protocol_->RequestCancel();
    }
  };
  std::int64_t start = NowMs();
  protocol_->ReadHistogram();
  EXPECT_LT(NowMs() - start, 2000);
  EXPECT_EQ(protocol_->Stop(), exit ? CommandStop::Aborted : CommandStop::Cancelled);
  EXPECT_TRUE(HoldsMemory(state_.LoggerData, 169, 0x0800, 64));
  EXPECT_TRUE(AllEqual(state_.LoggerData, 233, 3000, kUntouched));
  // Give a wrongly sent fourth command time to reach the recorder.
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(recorder_->Commands().size(), 3u);
}

INSTANTIATE_TEST_SUITE_P(ExitOrCancel, ProtocolPtyStop, ::testing::Values(true, false),
                         [](const auto& p) { return p.param ? "Exit" : "Cancel"; });

TEST_F(ProtocolPty, HangUpDuringDownloadEndsAsDeviceLost) {
  sim::Faults faults;
  faults.hangupAfter = 12;  // in the log's second block
  Start(faults);
  std::int64_t start = NowMs();
  ReadAll();
  // Noticed at once, not after the answer time-out.
  EXPECT_LT(NowMs() - start, 5000);
  EXPECT_EQ(protocol_->Stop(), CommandStop::DeviceLost);
  EXPECT_TRUE(link_->Lost());
  EXPECT_TRUE(recorder_->HungUp());
  // Twelve answers read, none past what was queued, nothing stored after them.
  ASSERT_EQ(port_->reads.size(), 12u);
  for (const auto& read : port_->reads) {
    EXPECT_LE(read.requested, read.counted);
    EXPECT_EQ(read.got, 34u);
  }
  EXPECT_TRUE(HoldsMemory(state_.LoggerData, 297, 0x1000, 64));
  EXPECT_TRUE(AllEqual(state_.LoggerData, 361, 3000, kUntouched));
  EXPECT_LE(port_->writes, 13);
}

TEST_F(ProtocolPty, SilenceEndsInTimeOut) {
  sim::Faults faults;
  faults.silentAfter = 2;
  Start(faults);
  protocol_->SetAnswerTimeoutMs(300);
  std::int64_t start = NowMs();
  ReadAll();
  std::int64_t elapsed = NowMs() - start;
  EXPECT_EQ(protocol_->Stop(), CommandStop::TimedOut);
  EXPECT_GE(elapsed, 290);
  EXPECT_LT(elapsed, 3000);
  EXPECT_TRUE(HoldsMemory(state_.LoggerData, 33, 0x0040, 32));
  EXPECT_TRUE(AllEqual(state_.LoggerData, 65, 3000, kUntouched));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(recorder_->Commands().size(), 3u);
}

// The wait sleeps on the port instead of polling it: over ~300 ms of silence
// it wakes a handful of times, not thousands. With part of an answer already
// queued, a wake-up that stayed signalled would spin here.
class ProtocolPtyNoSpin : public ProtocolPty, public ::testing::WithParamInterface<int> {};

TEST_P(ProtocolPtyNoSpin, SilentWaitSleeps) {
  sim::Faults faults;
  faults.silentAfter = 0;
  Start(faults);
  // The start of an answer that never ends, once the command is out.
  const std::string partial(static_cast<std::size_t>(GetParam()), '\x11');
  pump_.OnProcess = [&] {
    if (!partial.empty() && pump_.processCalls == 1) recorder_->SendUnasked(partial);
  };
  protocol_->SetAnswerTimeoutMs(300);
  std::int64_t start = NowMs();
  protocol_->ReadPage2();
  std::int64_t elapsed = NowMs() - start;
  EXPECT_EQ(protocol_->Stop(), CommandStop::TimedOut);
  EXPECT_GE(elapsed, 290);
  EXPECT_LT(pump_.waitCalls, 20) << "over " << elapsed << " ms";
  EXPECT_EQ(link_->QueuedByteCount(), partial.size());
  EXPECT_GE(pump_.waitCalls, 1);
}

INSTANTIATE_TEST_SUITE_P(QueueEmptyOrPartial, ProtocolPtyNoSpin, ::testing::Values(0, 5),
                         [](const auto& p) { return p.param == 0 ? "Empty" : "PartialAnswerQueued"; });

}  // namespace
