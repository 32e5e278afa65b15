// The main window's chart driven with synthetic mouse events: zoom boxes,
// undo, scrolling, and the chart side of the histogram and log reports.
#include <gtest/gtest.h>

#include <QDir>
#include <QTest>

#include "app/gui/tmain.h"
#include "app/logger_chart.h"
#include "app/logger_reports.h"
#include "plot/axes/chart_axis.h"
#include "platform/qt_widgets/chart_host_widget.h"
#include "runtime/format_settings.h"
#include "plot/series/series_marks.h"
#include "tests/support/support_fakes.h"

namespace {

class ChartZoomTest : public ::testing::Test {
 protected:
  void SetUp() override {
    runtime::SetFormatSettings(runtime::FormatSettings{});
    logger::FillDayNames(state);
    for (int n = 0; n < 2048; ++n) state.LoggerData.Set(297 + n, 80 + (n % 40));
    clock.now.year = 2026;
    host = std::make_unique<platform::ChartHostWidget>(chart.Chart1());
    host->resize(352, 334);
    host->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
    chart.Chart1().OnAfterDraw = [this](plot::TCustomPanel&) { ++paints; };
    reports.ShowTemperature();
    Paint();
  }
  void Paint() { host->repaint(); }
  plot::TChartAxis& Left() { return chart.Chart1().LeftAxis(); }
  plot::TChartAxis& Bottom() { return chart.Chart1().BottomAxis(); }
  void Drag(Qt::MouseButton button, QPoint from, QPoint to) {
    QTest::mousePress(host.get(), button, Qt::NoModifier, from);
    QTest::mouseMove(host.get(), to);
    QTest::mouseRelease(host.get(), button, Qt::NoModifier, to);
  }
  QPoint Inside() const {
    const plot::Rect& r = const_cast<logger::LoggerChart&>(chart).Chart1().ChartRect();
    return {(r.left + r.right) / 2 - 40, (r.top + r.bottom) / 2 - 40};
  }

  logger::LoggerState state;
  logger::LineListPane pane;
  logger::LoggerChart chart;
  testsupport::FakeClock clock;
  logger::LoggerReports reports{state, pane, chart, clock};
  std::unique_ptr<platform::ChartHostWidget> host;
  int paints = 0;
};

TEST_F(ChartZoomTest, SixteenPixelRuleThenZoomAndUndo) {
  const double min = Bottom().Minimum(), max = Bottom().Maximum();
  EXPECT_TRUE(Bottom().Automatic());
  QPoint p = Inside();
  Drag(Qt::LeftButton, p, p + QPoint(16, 40));  // 16 across: nothing
  EXPECT_FALSE(chart.Chart1().Zoomed());
  EXPECT_TRUE(Bottom().Automatic());
  Drag(Qt::LeftButton, p, p + QPoint(17, 17));  // right and down: zoom
  EXPECT_TRUE(chart.Chart1().Zoomed());
  EXPECT_FALSE(Bottom().Automatic());
  EXPECT_GT(Bottom().Minimum(), min);
  EXPECT_LT(Bottom().Maximum(), max);
  EXPECT_LT(Bottom().Maximum() - Bottom().Minimum(), (max - min) / 10);
  Paint();
  Drag(Qt::LeftButton, p + QPoint(40, 40), p);  // up and left: undo
  EXPECT_FALSE(chart.Chart1().Zoomed());
  EXPECT_TRUE(Bottom().Automatic());
  EXPECT_TRUE(Left().Automatic());
}

TEST_F(ChartZoomTest, TwoZoomsAndOneUndoReturnToAutomaticAxes) {
  QPoint p = Inside();
  Drag(Qt::LeftButton, p, p + QPoint(80, 80));
  Paint();
  Drag(Qt::LeftButton, p, p + QPoint(60, 60));
  EXPECT_FALSE(Left().Automatic());
  chart.ResetZoom();
  EXPECT_TRUE(Left().Automatic());
  EXPECT_TRUE(Bottom().Automatic());
  EXPECT_FALSE(chart.Chart1().AxesSaved());
}

TEST_F(ChartZoomTest, AnimatedZoomRepaintsTwiceBeforeLanding) {
  // The window's chart zooms in three steps.
  EXPECT_TRUE(chart.Chart1().AnimatedZoom());
  EXPECT_EQ(chart.Chart1().AnimatedZoomSteps(), 3);
  paints = 0;
  QPoint p = Inside();
  QTest::mousePress(host.get(), Qt::LeftButton, Qt::NoModifier, p);
  QTest::mouseMove(host.get(), p + QPoint(50, 50));
  int before = paints;
  QTest::mouseRelease(host.get(), Qt::LeftButton, Qt::NoModifier, p + QPoint(50, 50));
  EXPECT_EQ(paints - before, 2);
  chart.Chart1().SetAnimatedZoomSteps(1);
  chart.ResetZoom();
  Paint();
  before = paints;
  Drag(Qt::LeftButton, p, p + QPoint(50, 50));
  EXPECT_EQ(paints - before, 0);
  EXPECT_TRUE(chart.Chart1().Zoomed());
}

TEST_F(ChartZoomTest, ScrollingSavesTheAxesAndStopsOutsideThePlot) {
  QPoint p = Inside();
  const double min = Bottom().Minimum();
  int scrolls = 0;
  chart.Chart1().OnScroll = [&](plot::TCustomPanel&) { ++scrolls; };
  QTest::mousePress(host.get(), Qt::RightButton, Qt::NoModifier, p);
  QTest::mouseMove(host.get(), p + QPoint(-30, 0));
  EXPECT_TRUE(chart.Chart1().AxesSaved());
  EXPECT_GT(Bottom().Minimum(), min);  // the data follow the pointer to the left
  EXPECT_EQ(scrolls, 1);
  // Leaving the plotting rectangle ends the scroll; coming back does not resume.
  QTest::mouseMove(host.get(), QPoint(2, 2));
  const double stopped = Bottom().Minimum();
  QTest::mouseMove(host.get(), p);
  EXPECT_DOUBLE_EQ(Bottom().Minimum(), stopped);
  QTest::mouseRelease(host.get(), Qt::RightButton, Qt::NoModifier, p);
  chart.ResetZoom();
  EXPECT_TRUE(Bottom().Automatic());
}

TEST_F(ChartZoomTest, OnAllowScrollRefusingOneAxisLeavesIt) {
  chart.Chart1().OnAllowScroll = [&](plot::TCustomChartAxis& axis, double&, double&, bool& allow) {
    if (&axis == &Left()) allow = false;
  };
  const double leftMin = Left().Minimum(), bottomMin = Bottom().Minimum();
  QPoint p = Inside();
  QTest::mousePress(host.get(), Qt::RightButton, Qt::NoModifier, p);
  QTest::mouseMove(host.get(), p + QPoint(20, 20));
  QTest::mouseRelease(host.get(), Qt::RightButton, Qt::NoModifier, p + QPoint(20, 20));
  EXPECT_DOUBLE_EQ(Left().Minimum(), leftMin);
  EXPECT_NE(Bottom().Minimum(), bottomMin);
}

TEST_F(ChartZoomTest, APressOnTheTitleStartsNothing) {
  const plot::Rect& title = chart.Chart1().Title().TitleRect();
  QPoint p((title.left + title.right) / 2, (title.top + title.bottom) / 2);
  ASSERT_TRUE(chart.Chart1().Title().Clicked(p.x(), p.y()));
  QTest::mousePress(host.get(), Qt::LeftButton, Qt::NoModifier, p);
  EXPECT_FALSE(chart.Chart1().ZoomRecord().Active);
  QTest::mouseMove(host.get(), p + QPoint(60, 120));
  QTest::mouseRelease(host.get(), Qt::LeftButton, Qt::NoModifier, p + QPoint(60, 120));
  EXPECT_FALSE(chart.Chart1().Zoomed());
}

TEST_F(ChartZoomTest, ReportsSwitchSeriesTitlesAndResetTheZoom) {
  EXPECT_TRUE(chart.Series1().Active());
  EXPECT_FALSE(chart.Series2().Active());
  EXPECT_EQ(chart.Chart1().Title().Text().Lines(), std::vector<std::string>{"Temperature and Time"});
  QPoint p = Inside();
  Drag(Qt::LeftButton, p, p + QPoint(50, 50));
  ASSERT_TRUE(chart.Chart1().Zoomed());

  reports.ShowHistogram();
  EXPECT_FALSE(chart.Chart1().Zoomed());
  EXPECT_TRUE(Bottom().Automatic());
  EXPECT_FALSE(chart.Series1().Active());
  EXPECT_TRUE(chart.Series2().Active());
  EXPECT_EQ(chart.Series1().Count(), 2048);  // hidden, kept
  ASSERT_EQ(chart.Series2().Count(), 64);
  EXPECT_EQ(chart.Series2().PointLabel(0), " -40 to -38.5");
  EXPECT_EQ(chart.Series2().PointLabel(63), "  86 to 87.5");
  EXPECT_EQ(chart.Chart1().Title().Text().Lines(), std::vector<std::string>{"Temperature Counts"});
  Paint();

  reports.ShowTemperature();
  EXPECT_TRUE(chart.Series1().Active());
  EXPECT_FALSE(chart.Series2().Active());
  EXPECT_EQ(chart.Chart1().Title().Text().Lines(), std::vector<std::string>{"Temperature and Time"});
}

TEST_F(ChartZoomTest, AnAllZeroStoreShows2048PointsAtMinus40) {
  state.LoggerData = logger::LoggerStore{};
  reports.ShowTemperature();
  ASSERT_EQ(chart.Series1().Count(), 2048);
  for (int i = 0; i < 2048; i += 97) EXPECT_DOUBLE_EQ(chart.Series1().YValues()[i], -40.0);
  EXPECT_EQ(chart.Series1().PointLabel(2047), "30/12/99 00:00  ");
}

TEST_F(ChartZoomTest, FillingPointsOnlyAsksForOnePaint) {
  Paint();
  paints = 0;
  reports.ShowTemperature();
  EXPECT_EQ(paints, 0);  // nothing painted while filling
  QCoreApplication::processEvents();
  EXPECT_EQ(paints, 1);
}

}  // namespace
