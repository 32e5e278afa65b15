#include "sim/recorder_engine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using sim::Faults;
using sim::RecorderEngine;
using sim::RecorderMemory;
using sim::Reply;

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

std::string ReadCommand(std::uint16_t address) {
  return Bytes({0x33, address >> 8, address & 0xFF});
}

std::string Joined(const Reply& reply) {
  std::string all;
  for (const std::string& piece : reply.pieces) all += piece;
  return all;
}

// Every byte distinct enough that a wrong address or order shows; the clock
// stays stopped, so reads are plain memory.
RecorderMemory PatternMemory() {
  RecorderMemory memory;
  for (std::size_t a = 0; a < RecorderMemory::kSize; ++a) {
    memory.Raw()[a] = static_cast<std::uint8_t>(a * 7 + (a >> 8) * 3 + 1);
  }
  return memory;
}

std::string ExpectedAnswer(const RecorderMemory& memory, std::uint16_t address) {
  std::string answer;
  unsigned sum = 0;
  for (int i = 0; i < 32; ++i) {
    std::uint8_t b = memory.Raw()[static_cast<std::uint16_t>(address + i)];
    answer.push_back(static_cast<char>(b));
    sum += b;
  }
  answer.push_back(static_cast<char>(sum & 0xFF));
  answer.push_back(static_cast<char>(sum >> 8));
  return answer;
}

TEST(RecorderEngine, ReadBlockAnswersThirtyTwoBytesAndTheirSum) {
  RecorderMemory memory = PatternMemory();
  RecorderEngine engine(memory, Faults{});
  // 0xFFF0 wraps round to address 0 half way through.
  for (std::uint16_t address : {0x0000, 0x0860, 0x17E0, 0xFFF0}) {
    Reply reply = engine.Receive(ReadCommand(address), 0);
    ASSERT_EQ(reply.pieces.size(), 1u);
    EXPECT_EQ(reply.pieces[0], ExpectedAnswer(memory, address)) << "address " << address;
    EXPECT_FALSE(reply.hangUp);
  }
  EXPECT_EQ(static_cast<std::uint8_t>(Joined(engine.Receive(ReadCommand(0xFFF0), 0))[16]),
            memory.Raw()[0]);
  EXPECT_EQ(engine.ReadCommandsAnswered(), 5);
}

TEST(RecorderEngine, CommandsSplitAcrossReceivesAreAnsweredWhenComplete) {
  RecorderMemory memory = PatternMemory();
  RecorderEngine engine(memory, Faults{});
  EXPECT_TRUE(engine.Receive(Bytes({0x33}), 0).pieces.empty());
  EXPECT_TRUE(engine.Receive(Bytes({0x08}), 0).pieces.empty());
  EXPECT_EQ(Joined(engine.Receive(Bytes({0x60, 0x22}), 0)), ExpectedAnswer(memory, 0x0860));
  EXPECT_TRUE(engine.Receive(Bytes({0x0D}), 0).pieces.empty());
  EXPECT_TRUE(engine.Receive(Bytes({0x09}), 0).pieces.empty());
  EXPECT_EQ(memory.Raw()[0x0D], 0x09);
  EXPECT_EQ(engine.Commands(), (std::vector<std::string>{ReadCommand(0x0860), Bytes({0x22, 0x0D, 0x09})}));
}

TEST(RecorderEngine, UnknownBytesAreDroppedAndCommandsResynchronise) {
  RecorderMemory memory = PatternMemory();
  RecorderEngine engine(memory, Faults{});
  // Noise, a read, more noise, A5, a write, a read that sees the write.
  std::string line = Bytes({0x00, 0xFF, 0x33, 0x10, 0x00, 0x12, 0xA5, 0x22, 0x0D, 0x05, 0x55,
                            0x33, 0x00, 0x00});
  Reply reply = engine.Receive(line, 0);
  std::string answers = Joined(reply);
  ASSERT_EQ(answers.size(), 68u);
  EXPECT_EQ(answers.substr(0, 34), ExpectedAnswer(memory, 0x1000));
  EXPECT_EQ(answers[34 + 0x0D], 0x05);
  EXPECT_EQ(engine.Commands(),
            (std::vector<std::string>{ReadCommand(0x1000), Bytes({0xA5}), Bytes({0x22, 0x0D, 0x05}),
                                      ReadCommand(0x0000)}));
}

TEST(RecorderEngine, WritesReachPagesZeroAndTwoOnly) {
  for (int address = 0; address < 0x100; ++address) {
    RecorderMemory memory = PatternMemory();
    const auto before = memory.Raw();
    RecorderEngine engine(memory, Faults{});
    Reply reply = engine.Receive(Bytes({0x22, address, 0x5A}), 0);
    EXPECT_TRUE(reply.pieces.empty());
    bool writable = address < 0x20 || (address >= 0x40 && address < 0x60);
    auto expected = before;
    if (writable) expected[address] = 0x5A;
    ASSERT_EQ(memory.Raw(), expected) << "write address " << address;
  }
}

TEST(RecorderEngine, SingleA5IsAcceptedSilently) {
  RecorderMemory memory = PatternMemory();
  const auto before = memory.Raw();
  RecorderEngine engine(memory, Faults{});
  Reply reply = engine.Receive(Bytes({0xA5, 0xA5}), 0);
  EXPECT_TRUE(reply.pieces.empty());
  EXPECT_EQ(memory.Raw(), before);
  EXPECT_EQ(engine.Commands().size(), 2u);
}

TEST(RecorderEngine, ClockWrittenFieldByFieldRunsOnFromThere) {
  RecorderMemory memory;
  RecorderEngine engine(memory, Faults{});
  const int fields[] = {0x30, 0x15, 0x08, 0x02, 0x07, 0x12, 0x26};  // Monday 07/12/26 08:15:30
  for (int i = 0; i < 7; ++i) engine.Receive(Bytes({0x22, i, fields[i]}), 1000);
  std::string answer = Joined(engine.Receive(ReadCommand(0), 62000));
  EXPECT_EQ(answer.substr(0, 7), Bytes({0x31, 0x16, 0x08, 0x02, 0x07, 0x12, 0x26}));
}

TEST(RecorderEngineFaults, FragmentsAndExtraBytesShapeTheAnswer) {
  struct Case {
    int fragment;
    int extra;
    std::vector<std::size_t> pieceSizes;
  };
  const Case cases[] = {
      {0, 0, {34}},
      {5, 0, {5, 5, 5, 5, 5, 5, 4}},
      {34, 0, {34}},
      {50, 0, {34}},
      {0, 6, {40}},
      {16, 6, {16, 16, 8}},
      {1, 1, std::vector<std::size_t>(35, 1)},
  };
  for (const Case& c : cases) {
    RecorderMemory memory = PatternMemory();
    Faults faults;
    faults.fragment = c.fragment;
    faults.extra = c.extra;
    RecorderEngine engine(memory, faults);
    Reply reply = engine.Receive(ReadCommand(0x0800), 0);
    std::vector<std::size_t> sizes;
    for (const std::string& piece : reply.pieces) sizes.push_back(piece.size());
    EXPECT_EQ(sizes, c.pieceSizes) << "fragment " << c.fragment << " extra " << c.extra;
    std::string all = Joined(reply);
    EXPECT_EQ(all.substr(0, 34), ExpectedAnswer(memory, 0x0800));
    EXPECT_EQ(all.substr(34), std::string(static_cast<std::size_t>(c.extra), '\xEE'));
  }
}

// Extra bytes on some answers only, and one stray byte after one answer:
// the answers are counted from 1, reads only.
TEST(RecorderEngineFaults, ExtraOnlyAndStrayAfterPickTheirAnswers) {
  RecorderMemory memory = PatternMemory();
  Faults faults;
  faults.extra = 2;
  faults.extraOnly = {2, 4};
  faults.strayAfter = 3;
  RecorderEngine engine(memory, faults);
  std::vector<std::size_t> lengths;
  for (int i = 0; i < 5; ++i) {
    engine.Receive("\x22\x41Q", 0);  // writes are not answers
    lengths.push_back(Joined(engine.Receive(ReadCommand(0x0800), 0)).size());
  }
  EXPECT_EQ(lengths, (std::vector<std::size_t>{34, 36, 35, 36, 34}));
}

TEST(RecorderEngineFaults, StaleBytesAreFillerOnly) {
  RecorderMemory memory;
  Faults faults;
  EXPECT_EQ(RecorderEngine(memory, faults).StaleBytes(), "");
  faults.stale = 3;
  EXPECT_EQ(RecorderEngine(memory, faults).StaleBytes(), "\xEE\xEE\xEE");
}

TEST(RecorderEngineFaults, SilentAfterStopsAnswersButStillTakesCommands) {
  for (int silentAfter : {0, 2}) {
    RecorderMemory memory = PatternMemory();
    Faults faults;
    faults.silentAfter = silentAfter;
    RecorderEngine engine(memory, faults);
    int answered = 0;
    for (int i = 0; i < 4; ++i) {
      if (!engine.Receive(ReadCommand(0x0200), 0).pieces.empty()) ++answered;
    }
    EXPECT_EQ(answered, silentAfter);
    engine.Receive(Bytes({0x22, 0x41, 0x7A}), 0);
    EXPECT_EQ(memory.Raw()[0x41], 0x7A);
    EXPECT_EQ(engine.Commands().size(), 5u);
  }
}

TEST(RecorderEngineFaults, HangUpFollowsTheNthAnswerAndEndsEverything) {
  RecorderMemory memory = PatternMemory();
  Faults faults;
  faults.hangupAfter = 2;
  RecorderEngine engine(memory, faults);
  Reply first = engine.Receive(ReadCommand(0x0000), 0);
  EXPECT_FALSE(first.hangUp);
  // The second answer is sent in full before the hang-up; the third command
  // in the same burst is never taken.
  Reply second = engine.Receive(ReadCommand(0x0020) + ReadCommand(0x0040) + Bytes({0x22, 0x41, 1}), 0);
  EXPECT_TRUE(second.hangUp);
  EXPECT_EQ(Joined(second), ExpectedAnswer(memory, 0x0020));
  EXPECT_EQ(engine.Commands().size(), 2u);
  Reply after = engine.Receive(ReadCommand(0x0000) + Bytes({0x22, 0x41, 1}), 0);
  EXPECT_TRUE(after.pieces.empty());
  EXPECT_NE(memory.Raw()[0x41], 1);
  EXPECT_EQ(engine.Commands().size(), 2u);

  // With 0 the first read command hangs up unanswered.
  faults.hangupAfter = 0;
  RecorderEngine quick(memory, faults);
  Reply none = quick.Receive(ReadCommand(0x0000), 0);
  EXPECT_TRUE(none.hangUp);
  EXPECT_TRUE(none.pieces.empty());
}

}  // namespace
