// How far a device command got, what the status line says about it, how a
// silent recorder ends a command, and the hourglass over every wait.
#include <gtest/gtest.h>

#include "app/download_workflows.h"
#include "app/logger_app.h"
#include "app/logger_chart.h"
#include "app/logger_reports.h"
#include "app/report_pane.h"
#include "tests/support/explicit_port.h"
#include "tests/support/support_fakes.h"
#include "tests/support/support_memory_port.h"

namespace {

using logger::CommandStop;
using testsupport::MemoryRecorderPort;

const std::string kDevice = "/tmp/quorvel-test-progress";

struct ProgressRig {
  explicit ProgressRig(sim::Faults faults = {}, int timeoutMs = 2000)
      : ProgressRig(std::make_unique<MemoryRecorderPort>(sim::RecorderMemory::Plausible(1796000000), faults), timeoutMs) {}

  testsupport::FakeClock clock;
  testsupport::CountingPump pump;
  testsupport::RecordingMessages messages;
  testsupport::RecordingCursor cursor;
  MemoryRecorderPort& port;
  logger::LoggerApp app;
  logger::LineListPane pane;
  logger::LoggerChart chart;
  logger::LoggerReports reports{app.State(), pane, chart, clock};
  logger::DownloadWorkflows downloads{app, reports};

 private:
  static logger::PortPaths Paths() {
    logger::PortPaths paths;
    paths.comm1 = testsupport::RequireExplicitPort(kDevice);
    paths.comm2 = testsupport::RequireExplicitPort(kDevice + "-2");
    return paths;
  }
  ProgressRig(std::unique_ptr<MemoryRecorderPort> owned, int timeoutMs)
      : port(*owned), app(std::move(owned), Paths(), logger::LoggerApp::Services{pump, clock, messages, cursor}) {
    pump.clock = &clock;
    app.SetAnswerTimeoutMs(timeoutMs);
    app.ChooseDeviceHint = "choose another device with Port, Choose Device...";
    app.FormCreate();
  }
};

TEST(CommandProgress, ASilentRecorderEndsReadAllWithTheStepAndAnIncompleteNotice) {
  sim::Faults faults;
  faults.silentAfter = 8;  // page 0, page 2, serial, 3 alarm blocks, 2 histogram blocks
  ProgressRig rig(faults);
  // What the status line shows while the command waits.
  std::vector<std::string> activities;
  rig.pump.OnWait = [&] {
    if (activities.empty() || activities.back() != rig.app.Status().Middle()) {
      activities.push_back(rig.app.Status().Middle());
    }
  };
  std::int64_t start = rig.clock.MonotonicMs();
  EXPECT_TRUE(rig.downloads.ReadAll1Click());

  ASSERT_EQ(rig.messages.messages.size(), 1u);
  EXPECT_EQ(rig.messages.messages[0].text,
            "The recorder on Com1 (" + kDevice +
                ") did not answer within 2 s, at block 9 of 74 (the histogram). Read All was stopped; the download "
                "is incomplete.");
  // It gave up after the time-out, not before, and sent nothing more.
  EXPECT_GE(rig.clock.MonotonicMs() - start, 2000);
  EXPECT_LT(rig.clock.MonotonicMs() - start, 2500);
  EXPECT_EQ(rig.port.Commands().size(), 9u);

  const logger::CommandProgress& last = rig.app.LastCommand();
  EXPECT_EQ(last.command, "Read All");
  EXPECT_FALSE(last.completed);
  EXPECT_EQ(last.stop, CommandStop::TimedOut);
  EXPECT_EQ(last.blocksSent, 9);
  EXPECT_EQ(last.region, "the histogram");
  EXPECT_EQ(rig.app.Status().Activity(), "");
  EXPECT_EQ(rig.app.Status().Middle(), "Download incomplete: no answer at block 9 of 74 (the histogram)");
  ASSERT_FALSE(activities.empty());
  EXPECT_EQ(activities.back(), "Reading block 9 of 74");

  // Rendering the store keeps the notice; the next device command clears it.
  rig.downloads.Page01Click();
  EXPECT_EQ(rig.app.Status().Notice(), "Download incomplete: no answer at block 9 of 74 (the histogram)");
  rig.downloads.ReadJustPage01Click();  // still silent: it times out too
  EXPECT_EQ(rig.app.Status().Notice(), "Read Just Page 0 incomplete: no answer at block 1 of 2 (page 2)");
  // The incomplete download is still known after another command.
  EXPECT_EQ(rig.app.LastCommand().command, "Read Just Page 0");
  EXPECT_EQ(rig.app.LastDownload().command, "Read All");
  EXPECT_FALSE(rig.app.LastDownload().completed);
  EXPECT_EQ(rig.app.LastDownload().region, "the histogram");
}

TEST(CommandProgress, ACompleteReadAllCountsEveryBlockAndLeavesNoNotice) {
  ProgressRig rig;
  // What a view of the status line is told, change by change.
  std::vector<std::string> seen;
  rig.app.Status().OnChanged = [&] {
    const std::string& middle = rig.app.Status().Middle();
    if (seen.empty() || seen.back() != middle) seen.push_back(middle);
  };
  rig.app.Status().SetNotice("an old notice");
  EXPECT_TRUE(rig.downloads.ReadAll1Click());
  EXPECT_TRUE(rig.messages.messages.empty());
  EXPECT_TRUE(rig.app.LastCommand().completed);
  EXPECT_EQ(rig.app.LastCommand().blocksSent, 74);
  EXPECT_TRUE(rig.app.LastDownload().completed);
  EXPECT_EQ(rig.app.Status().Middle(), "");
  // Every block showed as it was read, in order.
  std::vector<std::string> blocks;
  for (const std::string& s : seen) {
    if (s.rfind("Reading block ", 0) == 0) blocks.push_back(s);
  }
  ASSERT_EQ(blocks.size(), 74u);
  EXPECT_EQ(blocks.front(), "Reading block 1 of 74");
  EXPECT_EQ(blocks[40], "Reading block 41 of 74");
  EXPECT_EQ(blocks.back(), "Reading block 74 of 74");
}

TEST(CommandProgress, CancelAndALostDeviceLeaveTheirOwnNotices) {
  ProgressRig cancelled;
  cancelled.pump.OnProcess = [&] {
    if (cancelled.port.Commands().size() == 20) cancelled.app.CancelCommand();
  };
  cancelled.downloads.ReadAll1Click();
  EXPECT_TRUE(cancelled.messages.messages.empty());  // the user asked for it
  EXPECT_EQ(cancelled.app.Status().Notice(), "Download incomplete: cancelled at block 20 of 74 (the temperature log)");

  sim::Faults hangUp;
  hangUp.hangupAfter = 3;
  ProgressRig lost(hangUp);
  lost.downloads.ReadAll1Click();
  ASSERT_EQ(lost.messages.messages.size(), 1u);
  // The loss shows when the line is looked at before the fourth command.
  EXPECT_EQ(lost.messages.messages[0].text.rfind("Lost the connection to the recorder on Com1 (" + kDevice +
                                                     ") at block 3 of 74 (the serial number): ",
                                                 0),
            0u)
      << lost.messages.messages[0].text;
  EXPECT_EQ(lost.app.Status().Notice(), "Download incomplete: connection lost at block 3 of 74 (the serial number)");
}

// Extra bytes after the ninth answer: the command stops before the tenth
// block, names the port and the block, and the store is marked as mixing
// two recordings until a complete download.
TEST(CommandProgress, AnswersOutOfFrameEndReadAllAndMarkTheStoreIncomplete) {
  sim::Faults faults;
  faults.extra = 7;
  faults.extraOnly = {9};
  ProgressRig rig(faults);
  EXPECT_TRUE(rig.downloads.ReadAll1Click());
  EXPECT_EQ(rig.app.LastCommandStop(), CommandStop::OutOfFrame);
  ASSERT_EQ(rig.messages.messages.size(), 1u);
  EXPECT_EQ(rig.messages.messages[0].text,
            "The answers of the recorder on Com1 (" + kDevice +
                ") went out of frame at block 9 of 74 (the histogram): 7 bytes arrived between two answers. Read "
                "All was stopped; the download is incomplete.");
  EXPECT_EQ(rig.app.Status().Notice(), "Download incomplete: answers out of frame at block 9 of 74 (the histogram)");
  EXPECT_TRUE(rig.app.StoreIncomplete());
  EXPECT_EQ(rig.app.IncompleteStoreText(),
            "The data is incomplete: Read All stopped at block 9 of 74 (the histogram): answers out of frame. The "
            "entries it did not read still hold the data from before it.");

  // A Read Just Page 0 in between changes nothing about that; a complete
  // Read All makes the store whole.
  rig.downloads.ReadJustPage01Click();
  EXPECT_TRUE(rig.app.StoreIncomplete());
  rig.downloads.ReadAll1Click();
  EXPECT_TRUE(rig.app.LastCommand().completed);
  EXPECT_FALSE(rig.app.StoreIncomplete());
  EXPECT_EQ(rig.app.IncompleteStoreText(), "");

  // Cancelled before any answer came: the store is as whole as it was.
  rig.port.SetSilent(true);
  rig.pump.OnProcess = [&] {
    if (rig.app.CommandRunning()) rig.app.CancelCommand();
  };
  rig.downloads.ReadAll1Click();
  EXPECT_EQ(rig.app.LastCommandStop(), CommandStop::Cancelled);
  EXPECT_FALSE(rig.app.StoreIncomplete());
}

TEST(CommandProgress, AClosedPortEndsAtOnceWhenATimeOutIsSet) {
  ProgressRig rig;
  rig.app.ClosePort();
  std::int64_t start = rig.clock.MonotonicMs();
  rig.downloads.ReadAll1Click();
  EXPECT_EQ(rig.clock.MonotonicMs(), start);
  EXPECT_EQ(rig.app.LastCommandStop(), CommandStop::NotOpen);
  ASSERT_EQ(rig.messages.messages.size(), 1u);
  EXPECT_EQ(rig.messages.messages[0].text,
            "Nothing was sent: Com1 (" + kDevice +
                ") is not open. Read All was stopped; the download is incomplete.\nOpen it again from the Port "
                "menu, or choose another device with Port, Choose Device...");
  EXPECT_EQ(rig.app.Status().Notice(), "Download incomplete: the port is not open");
  EXPECT_EQ(rig.app.Status().Port(), "Comm1: " + kDevice + " (not open)");
}

TEST(CommandProgress, TheHourglassIsUpForEveryWaitAndDownAfterIt) {
  sim::Faults pieces;
  pieces.fragment = 5;  // answers in pieces: every read waits several times
  ProgressRig rig(pieces);
  int waitsWithoutHourglass = 0;
  rig.pump.OnWait = [&] {
    if (rig.cursor.changes.empty() || !rig.cursor.changes.back()) ++waitsWithoutHourglass;
  };
  rig.downloads.ReadJustPage01Click();
  EXPECT_TRUE(rig.app.LastCommand().completed);
  EXPECT_GT(rig.pump.waitCalls, 4);
  EXPECT_EQ(waitsWithoutHourglass, 0);
  ASSERT_FALSE(rig.cursor.changes.empty());
  EXPECT_FALSE(rig.cursor.changes.back());

  // A wait that times out gives the normal cursor back too.
  rig.port.SetSilent(true);
  rig.downloads.ReadJustPage01Click();
  EXPECT_EQ(rig.app.LastCommandStop(), CommandStop::TimedOut);
  EXPECT_EQ(waitsWithoutHourglass, 0);
  EXPECT_FALSE(rig.cursor.changes.back());
}

}  // namespace
