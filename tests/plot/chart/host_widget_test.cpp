#include <gmock/gmock.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>

#include "plot/chart/plot_panel_extended.h"
#include "platform/qt_widgets/chart_host_widget.h"

namespace {

using ::testing::ElementsAre;

// Counts paints and chart draws, and logs the mouse input it is given.
class LoggingPanel final : public plot::TCustomPlotPanelExtended {
 public:
  void Paint() override {
    ++paints;
    TCustomPlotPanelExtended::Paint();
  }
  void InternalDraw(const plot::Rect& bounds) override {
    ++draws;
    DrawPanel(bounds);
  }
  void MouseDown(plot::TMouseButton button, plot::TShiftState shift, int x, int y) override {
    input.push_back("down " + std::to_string(button) + " " + std::to_string(shift) + " " + std::to_string(x) + "," +
                    std::to_string(y));
  }
  void MouseUp(plot::TMouseButton button, plot::TShiftState shift, int x, int y) override {
    input.push_back("up " + std::to_string(button) + " " + std::to_string(shift) + " " + std::to_string(x) + "," +
                    std::to_string(y));
  }
  void MouseMove(plot::TShiftState shift, int x, int y) override {
    input.push_back("move " + std::to_string(shift) + " " + std::to_string(x) + "," + std::to_string(y));
  }
  void MouseLeave() override {
    input.push_back("leave");
    TCustomPlotPanelExtended::MouseLeave();
  }
  int paints = 0;
  int draws = 0;
  std::vector<std::string> input;
};

// Runs the event loop until `done` or two seconds pass.
template <typename Done>
bool RunUntil(Done done) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < 2000) QApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    widget.show();
    ASSERT_TRUE(RunUntil([&] { return panel.paints > 0; }));
    QApplication::processEvents();
    panel.paints = 0;
    panel.draws = 0;
  }

  LoggingPanel panel;
  platform::ChartHostWidget widget{panel};
};

TEST_F(HostTest, ABurstOfInvalidatesGivesOnePaint) {
  for (int i = 0; i < 1000; ++i) panel.Invalidate();
  EXPECT_EQ(panel.paints, 0);  // nothing before the event loop runs
  RunUntil([&] { return panel.paints > 0; });
  for (int i = 0; i < 5; ++i) QApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_EQ(panel.paints, 1);
  EXPECT_EQ(panel.draws, 1);
}

TEST_F(HostTest, UnchangedRepaintOnlyCopiesTheBuffer) {
  widget.repaint();
  EXPECT_EQ(panel.paints, 1);
  EXPECT_EQ(panel.draws, 0);
  panel.SetColor(plot::clWhite);
  widget.repaint();
  EXPECT_EQ(panel.draws, 1);
}

TEST_F(HostTest, ResizingTheWidgetResizesThePanel) {
  widget.resize(320, 180);
  EXPECT_EQ(panel.Width(), 320);
  EXPECT_EQ(panel.Height(), 180);
  RunUntil([&] { return panel.draws > 0; });
  EXPECT_EQ(panel.ChartRect(), (plot::Rect{10, 7, 310, 173}));
  EXPECT_EQ(panel.Canvas().Buffer()->Width(), 320);
}

TEST_F(HostTest, ForwardsButtonsShiftStateAndPositions) {
  auto send = [&](QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers keys,
                  QPointF at) {
    QMouseEvent event(type, at, widget.mapToGlobal(at), button, buttons, keys);
    QApplication::sendEvent(&widget, &event);
  };
  send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier, {30, 40});
  send(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier, {35, 47});
  send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, Qt::NoModifier, {36, 48});
  send(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, Qt::AltModifier, {5, 6});
  send(QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier, {7, 8});
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(&widget, &leave);
  // Buttons: 0 left, 1 right. Shift state: 1 shift, 2 alt, 4 ctrl, 8 left,
  // 16 right, 64 double click.
  EXPECT_THAT(panel.input, ElementsAre("down 0 9 30,40", "move 13 35,47", "up 0 0 36,48", "down 1 18 5,6",
                                       "down 0 72 7,8", "leave"));
}

TEST_F(HostTest, PanelCursorReachesTheWidget) {
  panel.SetCursor(plot::crCross);
  EXPECT_EQ(widget.cursor().shape(), Qt::CrossCursor);
  panel.MouseLeave();
  EXPECT_EQ(widget.cursor().shape(), Qt::ArrowCursor);
}

TEST(HostLifetime, APanelOutlivingItsWidgetIsLeftDetached) {
  LoggingPanel panel;
  {
    platform::ChartHostWidget widget(panel);
    EXPECT_EQ(panel.ControlCanvas() != nullptr, true);
  }
  EXPECT_EQ(panel.Host(), nullptr);
  EXPECT_EQ(panel.ControlCanvas(), nullptr);
  panel.Invalidate();  // no host: harmless
  panel.Paint();
  EXPECT_EQ(panel.draws, 0);
}

}  // namespace
