#include "sim/pty_recorder.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <thread>

#include "tests/sim/pty_client.h"

namespace {

using sim::Faults;
using sim::PtyRecorder;
using sim::RecorderMemory;
using simtest::MonotonicNs;
using simtest::PtyClient;

std::string ReadCommand(std::uint16_t address) {
  return std::string{'\x33', static_cast<char>(address >> 8), static_cast<char>(address & 0xFF)};
}

// The answer the in-memory engine gives for the same block (no clock in it).
std::string EngineAnswer(RecorderMemory memory, std::uint16_t address) {
  sim::RecorderEngine engine(memory, Faults{});
  std::string all;
  for (const std::string& piece : engine.Receive(ReadCommand(address), 0).pieces) all += piece;
  return all;
}

std::unique_ptr<PtyRecorder> StartRecorder(Faults faults) {
  auto recorder = std::make_unique<PtyRecorder>(RecorderMemory::Plausible(0), faults);
  std::string error;
  EXPECT_TRUE(recorder->Start(&error)) << error;
  return recorder;
}

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

TEST(PtyRecorder, AnswersAReadLikeTheEngineAndTimesTheCommand) {
  auto recorder = StartRecorder(Faults{});
  EXPECT_EQ(recorder->DevicePath().rfind("/dev/pts/", 0), 0u) << recorder->DevicePath();
  PtyClient client(recorder->DevicePath());
  ASSERT_TRUE(client.IsOpen());

  std::int64_t beforeMs = MonotonicNs() / 1000000;
  client.Send(ReadCommand(0x0860));
  std::string answer = client.Read(34, 2000);
  std::int64_t afterMs = MonotonicNs() / 1000000;
  EXPECT_EQ(answer, EngineAnswer(recorder->Memory(), 0x0860));
  EXPECT_EQ(recorder->Commands(), std::vector<std::string>{ReadCommand(0x0860)});
  // The server's times are on the caller's monotonic clock.
  std::vector<std::int64_t> times = recorder->CommandTimesMs();
  ASSERT_EQ(times.size(), 1u);
  EXPECT_GE(times[0], beforeMs);
  EXPECT_LE(times[0], afterMs);
}

TEST(PtyRecorder, NothingEchoesAndWritesLand) {
  auto recorder = StartRecorder(Faults{});
  PtyClient client(recorder->DevicePath());
  client.Send("\xA5\x22\x0D\x07\x22\x40Q");
  SleepMs(100);
  EXPECT_EQ(client.Queued(), 0);
  EXPECT_EQ(recorder->Memory().Raw()[0x0D], 7);
  EXPECT_EQ(recorder->Memory().Raw()[0x40], 'Q');
  // A command split over two writes with a pause between is still one command.
  client.Send("\x33");
  SleepMs(30);
  client.Send(std::string("\x00\x00", 2));
  std::string page0 = client.Read(34, 2000);
  ASSERT_EQ(page0.size(), 34u);
  EXPECT_EQ(page0[0x0D], 7);
  EXPECT_EQ(client.Queued(), 0);
}

TEST(PtyRecorder, AClientThatKeepsTheDefaultSettingsGetsBytesUnchanged) {
  // Bytes a cooked terminal would act on: interrupt, XON/XOFF, CR/LF, erase,
  // and the command bytes themselves, which an echo would feed back.
  RecorderMemory memory;
  const std::uint8_t tricky[] = {0x03, 0x04, 0x0A, 0x0D, 0x11, 0x13, 0x1A, 0x1C,
                                 0x7F, 0x33, 0x22, 0xA5, 0x33, 0x00, 0x00, 0xFF};
  for (std::size_t i = 0; i < 32; ++i) memory.Raw()[0x2000 + i] = tricky[i % 16];
  PtyRecorder recorder(memory, Faults{});
  std::string error;
  ASSERT_TRUE(recorder.Start(&error)) << error;
  int fd = ::open(recorder.DevicePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::write(fd, "\x33\x20\x00", 3), 3);
  std::string answer;
  for (int i = 0; i < 200 && answer.size() < 34; ++i) {
    char buffer[64];
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) answer.append(buffer, static_cast<std::size_t>(n));
    else SleepMs(5);
  }
  SleepMs(50);
  ::close(fd);
  EXPECT_EQ(answer, EngineAnswer(memory, 0x2000));
  EXPECT_EQ(recorder.Commands().size(), 1u) << "answer bytes came back as commands";
}

TEST(PtyRecorder, SurvivesTheClientClosingAndReopening) {
  auto recorder = StartRecorder(Faults{});
  {
    PtyClient first(recorder->DevicePath());
    first.Send(ReadCommand(0x0040));
    EXPECT_EQ(first.Read(34, 2000).size(), 34u);
  }
  PtyClient second(recorder->DevicePath());
  ASSERT_TRUE(second.IsOpen());
  second.Send(ReadCommand(0x0040));
  EXPECT_EQ(second.Read(34, 2000).substr(0, 11), "Cold room 3");
  EXPECT_FALSE(recorder->HungUp());
}

TEST(PtyRecorderFaults, StaleBytesWaitOnTheLineBeforeAnyCommand) {
  Faults faults;
  faults.stale = 5;
  auto recorder = StartRecorder(faults);
  PtyClient client(recorder->DevicePath());
  SleepMs(20);
  EXPECT_EQ(client.Queued(), 5);
  EXPECT_EQ(client.Read(5, 1000), std::string(5, '\xEE'));
}

TEST(PtyRecorderFaults, FragmentsArriveSeparatelyAndExtraBytesFollow) {
  Faults faults;
  faults.fragment = 4;
  faults.extra = 6;
  auto recorder = StartRecorder(faults);
  PtyClient client(recorder->DevicePath());
  client.Send(ReadCommand(0x0800));
  pollfd pfd{client.Descriptor(), POLLIN, 0};
  ASSERT_EQ(::poll(&pfd, 1, 2000), 1);
  int firstSeen = client.Queued();
  EXPECT_GT(firstSeen, 0);
  EXPECT_LT(firstSeen, 40) << "pieces 5 ms apart should not all be queued at once";
  std::string answer = client.Read(40, 2000);
  ASSERT_EQ(answer.size(), 40u);
  EXPECT_EQ(answer.substr(0, 34), EngineAnswer(recorder->Memory(), 0x0800));
  EXPECT_EQ(answer.substr(34), std::string(6, '\xEE'));
}

TEST(PtyRecorderFaults, SilentAfterOneAnswerKeepsListening) {
  Faults faults;
  faults.silentAfter = 1;
  auto recorder = StartRecorder(faults);
  PtyClient client(recorder->DevicePath());
  client.Send(ReadCommand(0x0000));
  EXPECT_EQ(client.Read(34, 2000).size(), 34u);
  client.Send(ReadCommand(0x0040));
  EXPECT_EQ(client.Read(1, 300), "");
  EXPECT_EQ(recorder->Commands().size(), 2u);
  EXPECT_FALSE(recorder->HungUp());
}

TEST(PtyRecorderFaults, HangUpShowsAsEioAndPollhupAfterTheLastAnswer) {
  Faults faults;
  faults.hangupAfter = 1;
  auto recorder = StartRecorder(faults);
  PtyClient client(recorder->DevicePath());
  client.Send(ReadCommand(0x0000));
  SleepMs(100);  // a slow reader still gets the last answer before the line drops
  EXPECT_EQ(client.Read(34, 2000).size(), 34u);
  pollfd pfd{client.Descriptor(), POLLIN, 0};
  ASSERT_EQ(::poll(&pfd, 1, 3000), 1);
  EXPECT_NE(pfd.revents & POLLHUP, 0);
  EXPECT_EQ(client.Queued(), -EIO);
  EXPECT_TRUE(recorder->HungUp());
}

TEST(PtyRecorderFaults, StopReturnsWhileTheClientIsNotReading) {
  Faults faults;
  faults.extra = 1000;
  auto recorder = StartRecorder(faults);
  PtyClient client(recorder->DevicePath());
  std::string commands;
  for (int i = 0; i < 40; ++i) commands += ReadCommand(0x1000);
  client.Send(commands);  // 40 answers of 1034 bytes: far more than a pty holds
  SleepMs(200);
  EXPECT_LE(client.Queued(), 4095);
  std::int64_t start = MonotonicNs();
  recorder->Stop();
  EXPECT_LT(MonotonicNs() - start, 1000LL * 1000000);
}

// Pacing at 9600 baud: a byte is 10 bits, 1.0417 ms; an answer 35.4 ms.
constexpr double kByteMs = 10.0 * 1000 / 9600;

TEST(PtyRecorderPacing, AnswersTakeTheirLineTime) {
  Faults faults;
  faults.baud = 9600;
  auto recorder = StartRecorder(faults);
  PtyClient client(recorder->DevicePath());
  // Scheduling noise on a busy machine only ever adds time, so the upper
  // bounds look at the median and at the best of a few tries; a pacing that
  // drifts is slow every time.

  // One command at a time: every answer takes at least its line time. Each
  // answer adds two wake-ups, so only a gross error shows in the median (the
  // burst below holds the pacing to a few per cent); the best median of a
  // few rounds, as a loaded machine can stall a whole round.
  double bestMedianMs = 1e9;
  for (int round = 0; round < 3 && bestMedianMs >= 34 * kByteMs * 1.25; ++round) {
    std::vector<double> tookMs;
    for (int i = 0; i < 10; ++i) {
      std::int64_t sentNs = MonotonicNs();
      client.Send(ReadCommand(static_cast<std::uint16_t>(0x1000 + 32 * i)));
      std::int64_t lastNs = 0;
      ASSERT_EQ(client.Read(34, 2000, &lastNs).size(), 34u);
      tookMs.push_back((lastNs - sentNs) / 1e6);
      EXPECT_GE(tookMs.back(), 34 * kByteMs) << "answer " << i;
    }
    std::sort(tookMs.begin(), tookMs.end());
    bestMedianMs = std::min(bestMedianMs, tookMs[5]);
  }
  EXPECT_LT(bestMedianMs, 34 * kByteMs * 1.25);

  // Ten commands at once: the answers follow each other on the line with
  // no gap and no drift.
  std::string burst;
  for (int i = 0; i < 10; ++i) burst += ReadCommand(0x0800);
  double bestMs = 1e9;
  for (int attempt = 0; attempt < 3 && bestMs >= 340 * kByteMs * 1.04; ++attempt) {
    std::int64_t sentNs = MonotonicNs();
    client.Send(burst);
    std::int64_t lastNs = 0;
    ASSERT_EQ(client.Read(340, 3000, &lastNs).size(), 340u);
    double burstMs = (lastNs - sentNs) / 1e6;
    EXPECT_GE(burstMs, 340 * kByteMs);
    bestMs = std::min(bestMs, burstMs);
  }
  EXPECT_LT(bestMs, 340 * kByteMs * 1.04);
}

}  // namespace
