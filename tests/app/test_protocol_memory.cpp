// The recorder protocol over the in-memory recorder: exact command bytes,
// where every answer byte lands, and the faults a real line can show.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/logger_protocol.h"
#include "tests/app/app_rigs.h"

namespace {

using apptest::AllEqual;
using apptest::Bytes;
using apptest::Fill;
using apptest::HoldsMemory;
using apptest::MemoryRig;
using logger::CommandStop;
using logger::LoggerProtocol;

constexpr int kUntouched = -7;  // a value no download can store
const std::string kFillerByte = "\xEE";

sim::Faults Fragments(int size) {
  sim::Faults f;
  f.fragment = size;
  return f;
}

// --- Command bytes

struct ProcedureCase {
  const char* name;
  void (LoggerProtocol::*read)();
  std::vector<std::string> commands;
};

std::vector<std::string> LogCommands() {
  std::vector<std::string> commands;
  for (int k = 0; k < 64; ++k) commands.push_back(Bytes({0x33, 0x10 + (k >> 3), (k & 7) << 5}));
  return commands;
}

const ProcedureCase kProcedures[] = {
    {"ReadPage0", &LoggerProtocol::ReadPage0, {Bytes({0x33, 0x00, 0x00})}},
    {"ReadPage2", &LoggerProtocol::ReadPage2, {Bytes({0x33, 0x00, 0x40})}},
    {"ReadSerialNumber", &LoggerProtocol::ReadSerialNumber, {Bytes({0x33, 0x02, 0x00})}},
    {"ReadAlarmRecords",
     &LoggerProtocol::ReadAlarmRecords,
     {Bytes({0x33, 0x02, 0x20}), Bytes({0x33, 0x02, 0x40}), Bytes({0x33, 0x02, 0x60})}},
    {"ReadHistogram",
     &LoggerProtocol::ReadHistogram,
     {Bytes({0x33, 0x08, 0x00}), Bytes({0x33, 0x08, 0x20}), Bytes({0x33, 0x08, 0x40}), Bytes({0x33, 0x08, 0x60})}},
    {"ReadTemperatureLog", &LoggerProtocol::ReadTemperatureLog, LogCommands()},
};

TEST(ProtocolCommands, EachProcedureSendsItsCommandsOneWriteEach) {
  for (const ProcedureCase& c : kProcedures) {
    SCOPED_TRACE(c.name);
    MemoryRig rig;
    (rig.protocol.*c.read)();
    EXPECT_EQ(rig.port.Writes(), c.commands);
    EXPECT_EQ(rig.protocol.Stop(), CommandStop::None);
  }
}

TEST(ProtocolCommands, LastHistogramAndLastLogBlockCommands) {
  MemoryRig rig;
  rig.protocol.ReadHistogram();
  ASSERT_EQ(rig.port.Writes().size(), 4u);
  EXPECT_EQ(rig.port.Writes().back(), std::string("\x33\x08\x60", 3));
  rig.protocol.ReadTemperatureLog();
  ASSERT_EQ(rig.port.Writes().size(), 68u);
  EXPECT_EQ(rig.port.Writes()[4], std::string("\x33\x10\x00", 3));
  EXPECT_EQ(rig.port.Writes().back(), std::string("\x33\x17\xE0", 3));
}

TEST(ProtocolCommands, FullDownloadIsSeventyFourReadCommands) {
  MemoryRig rig;
  rig.ReadAll();
  std::vector<std::string> expected;
  for (const ProcedureCase& c : kProcedures) expected.insert(expected.end(), c.commands.begin(), c.commands.end());
  ASSERT_EQ(expected.size(), 74u);
  EXPECT_EQ(rig.port.Writes(), expected);
  EXPECT_EQ(rig.port.Commands(), expected);  // every write was one whole command
  EXPECT_EQ(rig.port.Reads().size(), 74u);   // one read per answer, none for empty discards
}

TEST(ProtocolCommands, WritesAndNewRecording) {
  MemoryRig rig;
  rig.protocol.WriteByte(0x0E, 0x50);
  rig.protocol.SendNewRecording();
  rig.protocol.WriteByte(0x40, 0x00);
  EXPECT_EQ(rig.port.Writes(),
            (std::vector<std::string>{Bytes({0x22, 0x0E, 0x50}), Bytes({0xA5}), Bytes({0x22, 0x40, 0x00})}));
  EXPECT_EQ(rig.clock.sleeps, std::vector<int>{60});
  EXPECT_TRUE(rig.port.Reads().empty());  // writes are never followed by a read
  EXPECT_EQ(rig.port.Memory().Raw()[0x0E], 0x50);
}

// --- Where the answers land

TEST(ProtocolStore, SingleBlockProcedures) {
  MemoryRig rig;
  Fill(rig.state.LoggerData, 1, 3000, kUntouched);
  rig.protocol.ReadPage0();
  EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 1, 0x0000, 32));
  EXPECT_TRUE(AllEqual(rig.state.LoggerData, 33, 3000, kUntouched));

  rig.protocol.ReadPage2();
  EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 33, 0x0040, 32));
  EXPECT_TRUE(AllEqual(rig.state.LoggerData, 65, 3000, kUntouched));

  rig.protocol.ReadSerialNumber();
  EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 65, 0x0200, 10));
  EXPECT_TRUE(AllEqual(rig.state.LoggerData, 75, 3000, kUntouched));
}

TEST(ProtocolStore, AlarmBlocksOverlapSerialAndEachOther) {
  MemoryRig rig;
  Fill(rig.state.LoggerData, 1, 3000, kUntouched);
  rig.protocol.ReadSerialNumber();
  // Serial bytes 8 and 9 sit in 73/74 until the alarms overwrite them.
  EXPECT_EQ(rig.state.LoggerData.At(73), testsupport::PatternByte(0x208));
  EXPECT_EQ(rig.state.LoggerData.At(74), testsupport::PatternByte(0x209));

  rig.protocol.ReadAlarmRecords();
  ASSERT_EQ(rig.port.Answers().size(), 4u);
  EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 65, 0x0200, 8));
  EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 73, 0x0220, 32));
  EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 105, 0x0240, 32));
  // 137/138 took the second block's two trailing bytes, then the third block's start.
  EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 137, 0x0260, 32));
  // The third block stores 34 bytes: its two trailing bytes land in 169/170.
  const std::string& third = rig.port.Answers()[3];
  EXPECT_EQ(rig.state.LoggerData.At(169), static_cast<unsigned char>(third[32]));
  EXPECT_EQ(rig.state.LoggerData.At(170), static_cast<unsigned char>(third[33]));
  EXPECT_TRUE(AllEqual(rig.state.LoggerData, 171, 3000, kUntouched));

  rig.protocol.ReadHistogram();
  EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 169, 0x0800, 128));
  EXPECT_TRUE(AllEqual(rig.state.LoggerData, 297, 3000, kUntouched));
}

TEST(ProtocolStore, SecondAlarmBlockStoresThirtyFourBytes) {
  // Stop before the third block to see what the second left in 137/138.
  MemoryRig rig(Fragments(8));
  Fill(rig.state.LoggerData, 1, 3000, kUntouched);
  rig.pump.OnProcess = [&] {
    if (rig.port.Writes().size() == 3) rig.state.AbortRequested = true;
  };
  rig.protocol.ReadAlarmRecords();
  // The third answer was on its way when the wait ended.
  ASSERT_EQ(rig.port.Answers().size(), 3u);
  const std::string& second = rig.port.Answers()[1];
  EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 105, 0x0240, 32));
  EXPECT_EQ(rig.state.LoggerData.At(137), static_cast<unsigned char>(second[32]));
  EXPECT_EQ(rig.state.LoggerData.At(138), static_cast<unsigned char>(second[33]));
  EXPECT_TRUE(AllEqual(rig.state.LoggerData, 139, 3000, kUntouched));
}

TEST(ProtocolStore, FullDownloadFillsEveryRegion) {
  MemoryRig rig;
  Fill(rig.state.LoggerData, 1, 3000, kUntouched);
  rig.ReadAll();
  EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 1, 0x0000, 32));
  EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 33, 0x0040, 32));
  EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 65, 0x0200, 8));
  EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 73, 0x0220, 96));
  EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 169, 0x0800, 128));
  EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 297, 0x1000, 2048));
  EXPECT_TRUE(AllEqual(rig.state.LoggerData, 2345, 3000, kUntouched));
}

// --- Fragments and extra bytes

TEST(ProtocolFaults, AnswerInPiecesIsReadOnceAtTheThirtyFourthByte) {
  for (int size : {1, 5, 8, 33}) {
    SCOPED_TRACE(size);
    MemoryRig rig(Fragments(size));
    rig.ReadAll();
    ASSERT_EQ(rig.port.Reads().size(), 74u);
    for (const auto& read : rig.port.Reads()) {
      EXPECT_EQ(read.requested, 34u);
      EXPECT_EQ(read.available, 34u);
    }
    EXPECT_GT(rig.pump.waitCalls, 0);  // the pieces were waited for
    EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 297, 0x1000, 2048));
    EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 73, 0x0220, 96));
  }
}

TEST(ProtocolFaults, FortyByteAnswersAreConsumedWhole) {
  sim::Faults faults;
  faults.extra = 6;
  MemoryRig rig(faults);
  rig.ReadAll();
  ASSERT_EQ(rig.port.Reads().size(), 74u);
  for (const auto& read : rig.port.Reads()) EXPECT_EQ(read.requested, 40u);
  // Nothing of one answer leaks into the next.
  EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 1, 0x0000, 32));
  EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 33, 0x0040, 32));
  EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 65, 0x0200, 8));
  EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 73, 0x0220, 96));
  EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 169, 0x0800, 128));
  EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 297, 0x1000, 2048));
}

// --- Framing: every answer taken whole, nothing shifted

sim::Faults Extra(int bytes, std::vector<int> only = {}) {
  sim::Faults f;
  f.extra = bytes;
  f.extraOnly = std::move(only);
  return f;
}

// The command stops as out of frame where its answers stopped matching the
// first one's length, and stores nothing of the answer that gave it away.
TEST(ProtocolFrame, AnswersLongerOrShorterThanTheFirstEndTheCommand) {
  struct Case {
    const char* name;
    sim::Faults faults;
    std::size_t writes;  // read commands that went out
    const char* problem;
  };
  sim::Faults oneLonger = Extra(6);
  oneLonger.strayAfter = 5;  // 41 bytes among 40s
  const Case cases[] = {
      {"one answer of 41 among 40s", oneLonger, 5, "1 byte arrived between two answers"},
      {"extra bytes on the third answer only", Extra(7, {3}), 3, "7 bytes arrived between two answers"},
      {"the first answer longer than the rest", Extra(3, {1}), 2,
       "an answer of 34 bytes after a first answer of 37 bytes"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryRig rig(c.faults);
    Fill(rig.state.LoggerData, 1, 3000, kUntouched);
    rig.protocol.BeginCommand();
    rig.ReadAll();
    EXPECT_EQ(rig.protocol.Stop(), CommandStop::OutOfFrame);
    EXPECT_EQ(rig.protocol.FrameProblem(), c.problem);
    EXPECT_EQ(rig.port.Writes().size(), c.writes);
    // The blocks before the fault are whole; the log was never reached.
    EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 1, 0x0000, 32));
    EXPECT_TRUE(AllEqual(rig.state.LoggerData, 297, 3000, kUntouched));
  }
}

TEST(ProtocolFrame, AStrayByteInTheMiddleOfAnAnswerEndsTheCommand) {
  MemoryRig rig(Fragments(8));
  Fill(rig.state.LoggerData, 1, 3000, kUntouched);
  // Noise on the line while the twentieth answer comes in pieces.
  bool injected = false;
  rig.pump.OnProcess = [&] {
    if (!injected && rig.port.Writes().size() == 20 && rig.port.Released() > 0) {
      rig.port.InjectBytes(kFillerByte);
      injected = true;
    }
  };
  rig.protocol.BeginCommand();
  rig.ReadAll();
  ASSERT_TRUE(injected);
  EXPECT_EQ(rig.protocol.Stop(), CommandStop::OutOfFrame);
  EXPECT_EQ(rig.port.Writes().size(), 20u);
  // Log blocks 0 to 8 are whole; nothing after the shifted block is stored.
  EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 297, 0x1000, 32 * 9));
  EXPECT_TRUE(AllEqual(rig.state.LoggerData, 297 + 32 * 10, 3000, kUntouched));
}

TEST(ProtocolFrame, BytesAfterTheLastAnswerPutTheCommandOutOfFrame) {
  MemoryRig rig(Extra(2, {4}));  // the fourth and last answer of the histogram
  rig.protocol.BeginCommand();
  rig.protocol.ReadHistogram();
  EXPECT_EQ(rig.protocol.Stop(), CommandStop::None);  // its store is whole...
  rig.protocol.EndCommand();
  EXPECT_EQ(rig.protocol.Stop(), CommandStop::OutOfFrame);  // ...but the exchange was not
  EXPECT_EQ(rig.protocol.FrameProblem(), "2 bytes arrived after the last answer");

  // Every answer of 40 bytes: a legitimate recorder, a clean end.
  MemoryRig clean(Extra(6));
  clean.protocol.BeginCommand();
  clean.protocol.ReadHistogram();
  clean.protocol.EndCommand();
  EXPECT_EQ(clean.protocol.Stop(), CommandStop::None);
  EXPECT_EQ(clean.protocol.AnswerLength(), 40u);
}

// The first answer is whole once the line has been quiet for kQuietMs; an
// answer whose pieces come closer together than that is one answer.
TEST(ProtocolFrame, TheFirstAnswerEndsWhenTheLineFallsQuiet) {
  MemoryRig rig(Fragments(5));
  rig.protocol.BeginCommand();
  std::int64_t start = rig.clock.MonotonicMs();
  rig.protocol.ReadPage0();
  EXPECT_EQ(rig.protocol.Stop(), CommandStop::None);
  EXPECT_EQ(rig.protocol.AnswerLength(), 34u);
  // Seven pieces 5 ms apart, then the quiet time: no more, and not less.
  EXPECT_GE(rig.clock.MonotonicMs() - start, LoggerProtocol::kQuietMs);
  EXPECT_LE(rig.clock.MonotonicMs() - start, 7 * 5 + LoggerProtocol::kQuietMs + 5);
  // Later answers are read as soon as they are whole.
  std::int64_t second = rig.clock.MonotonicMs();
  rig.protocol.ReadPage2();
  EXPECT_LT(rig.clock.MonotonicMs() - second, 7 * 5 + 5);
  EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 33, 0x0040, 32));
}

// --- Stale bytes

// Whatever waits before a command's first read is dropped, whichever
// procedure comes first (Read Just Page 0 starts with page 2).
TEST(ProtocolFaults, StaleBytesBeforeACommandAreDiscarded) {
  for (auto first : {&LoggerProtocol::ReadPage0, &LoggerProtocol::ReadPage2, &LoggerProtocol::ReadHistogram}) {
    sim::Faults faults;
    faults.stale = 5;
    MemoryRig rig(faults);
    rig.protocol.BeginCommand();
    (rig.protocol.*first)();
    rig.protocol.ReadPage0();
    rig.protocol.ReadPage2();
    rig.protocol.EndCommand();
    ASSERT_GE(rig.port.Events().size(), 2u);
    EXPECT_EQ(rig.port.Events()[0].kind, 'R');  // the discard read comes first
    EXPECT_EQ(rig.port.Events()[1].kind, 'W');
    EXPECT_EQ(rig.protocol.Stop(), CommandStop::None);
    EXPECT_EQ(rig.protocol.AnswerLength(), 34u);
    EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 1, 0x0000, 32));
    EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 33, 0x0040, 32));
  }
}

// A recorder that answers after the time-out: the late answer reaches the
// line before the next command and must not pass for that command's answer
// (page 2's bytes shown as page 0).
TEST(ProtocolFaults, ALateAnswerIsNotTakenByTheNextCommand) {
  MemoryRig rig;
  rig.protocol.SetAnswerTimeoutMs(300);
  rig.port.SetSilent(true);
  rig.protocol.BeginCommand();
  rig.protocol.ReadPage2();
  EXPECT_EQ(rig.protocol.Stop(), CommandStop::TimedOut);
  rig.protocol.EndCommand();
  rig.port.SetSilent(false);  // the answer to page 2 arrives now

  Fill(rig.state.LoggerData, 1, 64, kUntouched);
  rig.protocol.BeginCommand();
  rig.protocol.ReadPage0();
  rig.protocol.EndCommand();
  EXPECT_EQ(rig.protocol.Stop(), CommandStop::None);
  EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 1, 0x0000, 32));
  EXPECT_TRUE(AllEqual(rig.state.LoggerData, 33, 64, kUntouched));
}

// --- Exit and Cancel while waiting

class ProtocolStopDuringHistogram : public ::testing::TestWithParam<bool> {};

TEST_P(ProtocolStopDuringHistogram, ThirdAndFourthBlocksUnchangedAndNoFourthCommand) {
  const bool exit = GetParam();
  MemoryRig rig(Fragments(8));
  Fill(rig.state.LoggerData, 1, 3000, kUntouched);
  int pumpsWhileWaitingForThird = 0;
  rig.pump.OnProcess = [&] {
    if (rig.port.Writes().size() != 3) return;
    ++pumpsWhileWaitingForThird;
    if (exit) {
      rig.state.AbortRequested = true;
    } else {
      rig.protocol.RequestCancel();
    }
  };
  rig.protocol.ReadHistogram();

  EXPECT_EQ(pumpsWhileWaitingForThird, 1);  // the wait ended at once
  EXPECT_EQ(rig.port.Writes().size(), 3u);
  EXPECT_EQ(rig.port.Reads().size(), 2u);
  EXPECT_EQ(rig.protocol.Stop(), exit ? CommandStop::Aborted : CommandStop::Cancelled);
  EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 169, 0x0800, 64));
  EXPECT_TRUE(AllEqual(rig.state.LoggerData, 233, 3000, kUntouched));

  // The rest of the command sends nothing.
  rig.protocol.ReadTemperatureLog();
  EXPECT_EQ(rig.port.Writes().size(), 3u);

  // A new command: Exit still holds, a Cancel was for that command only.
  rig.pump.OnProcess = nullptr;
  rig.protocol.BeginCommand();
  rig.protocol.ReadSerialNumber();
  EXPECT_EQ(rig.port.Writes().size(), exit ? 3u : 4u);
}

INSTANTIATE_TEST_SUITE_P(ExitOrCancel, ProtocolStopDuringHistogram, ::testing::Values(true, false),
                         [](const auto& p) { return p.param ? "Exit" : "Cancel"; });

TEST(ProtocolFaults, WaitWithoutTimeOutLastsUntilExit) {
  sim::Faults faults;
  faults.silentAfter = 0;
  MemoryRig rig(faults);
  rig.pump.OnProcess = [&] {
    if (rig.pump.processCalls == 500) rig.state.AbortRequested = true;
  };
  rig.protocol.ReadPage2();
  EXPECT_EQ(rig.pump.processCalls, 500);
  EXPECT_EQ(rig.protocol.Stop(), CommandStop::Aborted);
  EXPECT_TRUE(rig.port.Reads().empty());
}

TEST(ProtocolFaults, LateAnswerAfterSilenceIsStillRead) {
  MemoryRig rig;
  rig.port.SetSilent(true);
  rig.pump.OnProcess = [&] {
    if (rig.pump.processCalls == 50) rig.port.SetSilent(false);
  };
  rig.protocol.ReadSerialNumber();
  EXPECT_GE(rig.pump.processCalls, 50);
  EXPECT_EQ(rig.protocol.Stop(), CommandStop::None);
  EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 65, 0x0200, 10));
}

// --- Silence with a time-out, hang-up, short reads

TEST(ProtocolFaults, SilenceEndsInTimeOutAndTheCommandSendsNoMore) {
  sim::Faults faults;
  faults.silentAfter = 1;
  MemoryRig rig(faults);
  rig.protocol.SetAnswerTimeoutMs(300);
  Fill(rig.state.LoggerData, 1, 3000, kUntouched);
  std::int64_t startMs = rig.clock.MonotonicMs();
  std::int64_t page2SentMs = 0;
  rig.pump.OnProcess = [&] {
    if (page2SentMs == 0 && rig.port.Writes().size() == 2) page2SentMs = rig.clock.MonotonicMs();
  };
  rig.ReadAll();
  EXPECT_EQ(rig.protocol.Stop(), CommandStop::TimedOut);
  EXPECT_EQ(rig.port.Writes().size(), 2u);
  EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 1, 0x0000, 32));
  EXPECT_TRUE(AllEqual(rig.state.LoggerData, 33, 3000, kUntouched));
  // The wait lasted the time-out, measured on the clock it was given (after
  // the first answer's quiet time).
  ASSERT_GT(page2SentMs, 0);
  EXPECT_GE(rig.clock.MonotonicMs() - page2SentMs, 300 - 10);
  EXPECT_LE(rig.clock.MonotonicMs() - startMs, LoggerProtocol::kQuietMs + 300 + 10);
}

TEST(ProtocolFaults, HangUpAfterAnAnswerEndsTheDownloadAsDeviceLost) {
  sim::Faults faults;
  faults.hangupAfter = 3;  // page 0, page 2 and the serial number are answered
  MemoryRig rig(faults);
  Fill(rig.state.LoggerData, 1, 3000, kUntouched);
  rig.ReadAll();
  EXPECT_EQ(rig.protocol.Stop(), CommandStop::DeviceLost);
  EXPECT_TRUE(rig.link.Lost());
  EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 65, 0x0200, 10));
  EXPECT_TRUE(AllEqual(rig.state.LoggerData, 75, 3000, kUntouched));
  // The loss shows when the line is checked before the first alarm command.
  EXPECT_EQ(rig.port.Writes().size(), 3u);
  EXPECT_EQ(rig.port.Reads().size(), 3u);
  for (const auto& read : rig.port.Reads()) EXPECT_LE(read.requested, read.available);
}

TEST(ProtocolFaults, HangUpInTheMiddleOfAnAnswerStoresNothingOfIt) {
  MemoryRig rig(Fragments(8));
  Fill(rig.state.LoggerData, 1, 3000, kUntouched);
  rig.pump.OnProcess = [&] {
    if (rig.port.Writes().size() == 2 && rig.port.Released() > 0) rig.port.InjectHangUp();
  };
  rig.protocol.ReadHistogram();
  EXPECT_EQ(rig.protocol.Stop(), CommandStop::DeviceLost);
  EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 169, 0x0800, 32));
  EXPECT_TRUE(AllEqual(rig.state.LoggerData, 201, 3000, kUntouched));
  EXPECT_EQ(rig.port.Reads().size(), 1u);
  EXPECT_EQ(rig.port.Writes().size(), 2u);
}

TEST(ProtocolFaults, HangUpOnTheFirstCommand) {
  sim::Faults faults;
  faults.hangupAfter = 0;
  MemoryRig rig(faults);
  rig.protocol.ReadTemperatureLog();
  EXPECT_EQ(rig.protocol.Stop(), CommandStop::DeviceLost);
  EXPECT_EQ(rig.port.Writes().size(), 1u);
  EXPECT_TRUE(rig.port.Reads().empty());
  // The hourglass is given back: the program goes on.
  ASSERT_FALSE(rig.cursor.changes.empty());
  EXPECT_FALSE(rig.cursor.changes.back());
}

TEST(ProtocolFaults, ShortReadAfterTheWaitStoresOnlyWhatArrived) {
  MemoryRig rig;
  Fill(rig.state.LoggerData, 1, 3000, kUntouched);
  rig.port.LimitNextRead(5);
  rig.protocol.ReadSerialNumber();
  EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 65, 0x0200, 5));
  EXPECT_TRUE(AllEqual(rig.state.LoggerData, 70, 3000, kUntouched));

  // An empty read after the wait stores nothing of the first alarm block.
  rig.port.LimitNextRead(0);
  rig.protocol.ReadAlarmRecords();
  EXPECT_TRUE(AllEqual(rig.state.LoggerData, 70, 104, kUntouched));
}

// --- The temperature log keeps the window alive

TEST(ProtocolLog, EventsRunBeforeEveryBlockUnderTheHourglass) {
  MemoryRig rig;
  std::vector<std::size_t> writesSeenByPump;
  std::vector<bool> hourglassSeenByPump;
  rig.pump.OnProcess = [&] {
    writesSeenByPump.push_back(rig.port.Writes().size());
    hourglassSeenByPump.push_back(!rig.cursor.changes.empty() && rig.cursor.changes.back());
  };
  rig.protocol.ReadTemperatureLog();
  for (std::size_t k = 0; k < 64; ++k) {
    auto at = std::find(writesSeenByPump.begin(), writesSeenByPump.end(), k);
    ASSERT_NE(at, writesSeenByPump.end()) << "no events ran before block " << k;
    EXPECT_TRUE(hourglassSeenByPump[at - writesSeenByPump.begin()]) << "block " << k;
  }
  // After the last block: the normal cursor, then events once more.
  EXPECT_EQ(writesSeenByPump.back(), 64u);
  EXPECT_FALSE(hourglassSeenByPump.back());
  ASSERT_FALSE(rig.cursor.changes.empty());
  EXPECT_FALSE(rig.cursor.changes.back());
}

}  // namespace
