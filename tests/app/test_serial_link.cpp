// The serial link over the in-memory recorder and over a real pseudo-terminal.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/serial_link.h"
#include "platform/posix/posix_serial_port.h"
#include "sim/pty_recorder.h"
#include "tests/app/app_rigs.h"

namespace {

using apptest::Bytes;
using testsupport::MemoryRecorderPort;
using testsupport::RequireExplicitPort;

struct LinkRig {
  LinkRig() : LinkRig(std::make_unique<MemoryRecorderPort>(testsupport::PatternedMemory())) {}
  MemoryRecorderPort& port;
  logger::SerialLink link;

 private:
  explicit LinkRig(std::unique_ptr<MemoryRecorderPort> owned) : port(*owned), link(std::move(owned)) {}
};

// --- Writes

TEST(SerialLinkWrite, CommandWithZeroMiddleByteGoesOutWhole) {
  LinkRig rig;
  ASSERT_TRUE(rig.link.OpenPort(RequireExplicitPort(apptest::kMemoryDevice)).Ok());
  const std::string command = Bytes({0x33, 0x00, 0x40});
  EXPECT_TRUE(rig.link.SendString(command));
  ASSERT_EQ(rig.port.Writes().size(), 1u);
  EXPECT_EQ(rig.port.Writes()[0], command);
  // The recorder saw a complete read command, not a string cut at the zero.
  ASSERT_EQ(rig.port.Commands().size(), 1u);
  EXPECT_EQ(rig.port.Commands()[0], command);
}

TEST(SerialLinkWrite, ShortWriteIsReportedFalse) {
  LinkRig rig;
  ASSERT_TRUE(rig.link.OpenPort(RequireExplicitPort(apptest::kMemoryDevice)).Ok());
  rig.port.LimitNextWrite(2);
  EXPECT_FALSE(rig.link.SendString(Bytes({0x22, 0x40, 0x41})));
  EXPECT_TRUE(rig.link.SendString(Bytes({0x22, 0x40, 0x41})));
}

// --- Reads

TEST(SerialLinkRead, NothingQueuedReadsNothingAndMakesNoSystemRead) {
  LinkRig rig;
  ASSERT_TRUE(rig.link.OpenPort(RequireExplicitPort(apptest::kMemoryDevice)).Ok());
  EXPECT_EQ(rig.link.ReadQueued(), "");
  EXPECT_TRUE(rig.port.Reads().empty());
}

TEST(SerialLinkRead, FortyQueuedBytesAreReturnedExactlyInOneRead) {
  LinkRig rig;
  ASSERT_TRUE(rig.link.OpenPort(RequireExplicitPort(apptest::kMemoryDevice)).Ok());
  std::string forty;
  for (int i = 0; i < 40; ++i) forty.push_back(static_cast<char>(i == 7 ? 0 : 200 + i % 50));
  rig.port.InjectBytes(forty);
  EXPECT_EQ(rig.link.ReadQueued(), forty);
  ASSERT_EQ(rig.port.Reads().size(), 1u);
  EXPECT_EQ(rig.port.Reads()[0].requested, 40u);
  EXPECT_EQ(rig.link.ReadQueued(), "");
}

TEST(SerialLinkRead, ReadEnteredWhileReadingReturnsEmptyAndLeavesTheBytes) {
  LinkRig rig;
  ASSERT_TRUE(rig.link.OpenPort(RequireExplicitPort(apptest::kMemoryDevice)).Ok());
  rig.port.InjectBytes("first");
  std::string inner = "not called";
  bool busyInside = false;
  rig.port.OnRead = [&] {
    rig.port.OnRead = nullptr;
    busyInside = rig.link.ReadBusy();
    // More bytes arrive while the outer read runs; the nested read must not take them.
    rig.port.InjectBytes("second");
    inner = rig.link.ReadQueued();
  };
  EXPECT_EQ(rig.link.ReadQueued(), "first");
  EXPECT_TRUE(busyInside);
  EXPECT_EQ(inner, "");
  EXPECT_FALSE(rig.link.ReadBusy());
  EXPECT_EQ(rig.port.Reads().size(), 1u);
  EXPECT_EQ(rig.link.ReadQueued(), "second");
}

TEST(SerialLinkRead, ShortSystemReadIsCutToWhatWasRead) {
  LinkRig rig;
  ASSERT_TRUE(rig.link.OpenPort(RequireExplicitPort(apptest::kMemoryDevice)).Ok());
  rig.port.InjectBytes("abcdefgh");
  rig.port.LimitNextRead(3);
  EXPECT_EQ(rig.link.ReadQueued(), "abc");
}

// --- Opening, closing, losing the device

TEST(SerialLinkOpen, ReopeningTheOpenPortSucceeds) {
  LinkRig rig;
  ASSERT_TRUE(rig.link.OpenPort(RequireExplicitPort(apptest::kMemoryDevice)).Ok());
  // The double refuses a second open of a held device, like the system does
  // for a port held by someone else: the link must close first.
  EXPECT_TRUE(rig.link.OpenPort(RequireExplicitPort(apptest::kMemoryDevice)).Ok());
  EXPECT_TRUE(rig.link.IsOpen());
  EXPECT_EQ(rig.port.OpenedPaths().size(), 2u);
}

TEST(SerialLinkOpen, WithNoPortOpenNothingIsSentOrCounted) {
  LinkRig rig;
  rig.port.InjectBytes("waiting");
  EXPECT_EQ(rig.link.QueuedByteCount(), 0u);
  EXPECT_FALSE(rig.link.SendString(Bytes({0x33, 0x00, 0x00})));
  EXPECT_EQ(rig.link.ReadQueued(), "");
  EXPECT_TRUE(rig.port.Writes().empty());

  // The same after a close.
  ASSERT_TRUE(rig.link.OpenPort(RequireExplicitPort(apptest::kMemoryDevice)).Ok());
  rig.link.ClosePort();
  EXPECT_FALSE(rig.link.IsOpen());
  EXPECT_EQ(rig.link.QueuedByteCount(), 0u);
  EXPECT_FALSE(rig.link.SendString(Bytes({0x33, 0x00, 0x00})));
  EXPECT_TRUE(rig.port.Writes().empty());
}

TEST(SerialLinkOpen, FailedOpenLeavesTheLinkClosed) {
  LinkRig rig;
  rig.port.missingPaths.insert(apptest::kMemoryDevice);
  platform::IoError result = rig.link.OpenPort(RequireExplicitPort(apptest::kMemoryDevice));
  EXPECT_EQ(result.status, platform::IoStatus::NotFound);
  EXPECT_FALSE(rig.link.IsOpen());
  EXPECT_FALSE(rig.link.SendString(Bytes({0x33, 0x00, 0x00})));
}

TEST(SerialLinkOpen, HangUpIsLostUntilTheNextOpen) {
  LinkRig rig;
  ASSERT_TRUE(rig.link.OpenPort(RequireExplicitPort(apptest::kMemoryDevice)).Ok());
  EXPECT_FALSE(rig.link.Lost());
  rig.port.InjectHangUp();
  EXPECT_EQ(rig.link.QueuedByteCount(), 0u);
  EXPECT_TRUE(rig.link.Lost());
  EXPECT_FALSE(rig.link.LostReason().empty());
  EXPECT_EQ(rig.link.ReadQueued(), "");
  EXPECT_TRUE(rig.link.Lost());
  ASSERT_TRUE(rig.link.OpenPort(RequireExplicitPort(apptest::kMemoryDevice)).Ok());
  EXPECT_FALSE(rig.link.Lost());
}

// --- Over a real pseudo-terminal and the termios port

class SerialLinkPty : public ::testing::Test {
 protected:
  void Start(sim::Faults faults) {
    recorder_ = std::make_unique<sim::PtyRecorder>(testsupport::PatternedMemory(), faults);
    std::string error;
    ASSERT_TRUE(recorder_->Start(&error)) << error;
    link_ = std::make_unique<logger::SerialLink>(platform::CreateSystemSerialPort());
    platform::IoError opened = link_->OpenPort(RequireExplicitPort(recorder_->DevicePath()));
    ASSERT_TRUE(opened.Ok()) << opened.Describe();
  }
  // Polls the queued count until it reaches `count` or two seconds pass.
  std::size_t WaitForQueued(std::size_t count) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    std::size_t queued = 0;
    while ((queued = link_->QueuedByteCount()) < count && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return queued;
  }
  std::unique_ptr<sim::PtyRecorder> recorder_;
  std::unique_ptr<logger::SerialLink> link_;
};

TEST_F(SerialLinkPty, ZeroMiddleByteCommandIsAnsweredAndReadExactly) {
  Start({});
  EXPECT_EQ(link_->ReadQueued(), "");
  ASSERT_TRUE(link_->SendString(Bytes({0x33, 0x00, 0x40})));
  ASSERT_EQ(WaitForQueued(34), 34u);
  std::string answer = link_->ReadQueued();
  ASSERT_EQ(answer.size(), 34u);
  for (int i = 0; i < 32; ++i) {
    EXPECT_EQ(static_cast<unsigned char>(answer[i]), testsupport::PatternByte(static_cast<std::uint16_t>(0x40 + i)));
  }
  EXPECT_EQ(recorder_->Commands(), std::vector<std::string>{Bytes({0x33, 0x00, 0x40})});
  EXPECT_FALSE(link_->Lost());
}

TEST_F(SerialLinkPty, FortyByteAnswerIsReadWhole) {
  sim::Faults faults;
  faults.extra = 6;
  Start(faults);
  ASSERT_TRUE(link_->SendString(Bytes({0x33, 0x02, 0x00})));
  ASSERT_EQ(WaitForQueued(40), 40u);
  std::string answer = link_->ReadQueued();
  ASSERT_EQ(answer.size(), 40u);
  EXPECT_EQ(static_cast<unsigned char>(answer[0]), testsupport::PatternByte(0x200));
  EXPECT_EQ(link_->QueuedByteCount(), 0u);
}

TEST_F(SerialLinkPty, ReopeningTheOpenPtySucceeds) {
  Start({});
  EXPECT_TRUE(link_->OpenPort(RequireExplicitPort(recorder_->DevicePath())).Ok());
  ASSERT_TRUE(link_->SendString(Bytes({0x33, 0x00, 0x00})));
  EXPECT_EQ(WaitForQueued(34), 34u);
}

}  // namespace
