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

TEST(ProtocolFaults, BytesArrivingAfterTheReadStartTheNextAnswer) {
  // Six more bytes arrive while the answer is being read.
  auto lateBytesOnFirstRead = [](MemoryRig& rig) {
    rig.port.OnRead = [&rig] {
      rig.port.OnRead = nullptr;
      rig.port.InjectBytes(std::string(6, '\xEE'));
    };
  };
  {
    MemoryRig rig;
    lateBytesOnFirstRead(rig);
    rig.protocol.ReadSerialNumber();
    rig.protocol.ReadHistogram();
    EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 65, 0x0200, 10));
    EXPECT_TRUE(AllEqual(rig.state.LoggerData, 169, 174, 0xEE));
    EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 175, 0x0800, 26));
  }
  {
    // Page 2's discard read removes them.
    MemoryRig rig;
    lateBytesOnFirstRead(rig);
    rig.protocol.ReadPage2();
    rig.protocol.ReadSerialNumber();
    EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 33, 0x0040, 32));
    EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 65, 0x0200, 10));
  }
}

// --- Stale bytes

TEST(ProtocolFaults, StaleByteBeforePage0IsDiscardedBeforeTheCommand) {
  sim::Faults faults;
  faults.stale = 1;
  MemoryRig rig(faults);
  rig.protocol.ReadPage0();
  rig.protocol.ReadPage2();
  ASSERT_GE(rig.port.Events().size(), 2u);
  EXPECT_EQ(rig.port.Events()[0].kind, 'R');  // the discard read comes first
  EXPECT_EQ(rig.port.Events()[0].bytes, 1u);
  EXPECT_EQ(rig.port.Events()[1].kind, 'W');
  EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 1, 0x0000, 32));
  EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 33, 0x0040, 32));
}

TEST(ProtocolFaults, StaleByteBeforePage2ShiftsItsAnswerByOne) {
  // Read Just Page 0 reads page 2 first, with no discard read before it.
  MemoryRig rig;
  rig.port.InjectBytes(kFillerByte);
  rig.protocol.ReadPage2();
  rig.protocol.ReadPage0();
  EXPECT_EQ(rig.state.LoggerData.At(33), 0xEE);
  EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 34, 0x0040, 31));
  // The byte pushed out of page 2 went with that read: page 0 is clean.
  EXPECT_TRUE(HoldsMemory(rig.state.LoggerData, 1, 0x0000, 32));
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
  // The wait lasted the time-out, measured on the clock it was given.
  ASSERT_GT(page2SentMs, 0);
  EXPECT_GE(rig.clock.MonotonicMs() - page2SentMs, 300 - 10);
  EXPECT_LE(rig.clock.MonotonicMs() - startMs, 300 + 10);
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
  // The first alarm command went out before the loss showed; nothing after it.
  EXPECT_EQ(rig.port.Writes().size(), 4u);
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
