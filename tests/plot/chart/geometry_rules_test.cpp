// The chart's boundary and rounding rules, pinned with numbers that come out
// differently under each plausible wrong variant (round before or after a
// division, floor or ceiling, > or >=). Each case says which variants it
// tells apart. Text on the recording canvas is 13 px high and 6 px a
// character.
#include <gmock/gmock.h>

#include <initializer_list>
#include <string>
#include <utility>

#include "plot/axes/chart_axis.h"
#include "tests/plot/chart/chart_fixture.h"

namespace {

using testsupport::TTestLineLikeSeries;
using testsupport::TTestRectSeries;

class GeometryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    chart.Canvas().SetBuffered(false);
    chart.SetView3D(false);
    chart.SetControlCanvas(&screen);
  }
  void Paint(int width, int height) {
    chart.SetBounds(0, 0, width, height);
    screen.Clear();
    chart.Draw(screen, {0, 0, width, height});
  }
  int TextCount() const { return screen.Count("TextOut"); }

  testsupport::RecordingCanvas screen;
  plot::TChart chart;
};

// ---- visible range

// With a fixed range of 0 to 10 the plotting rectangle's edges map to
// exactly 0 and 10, so points can sit on them.
class VisibleRangeTest : public GeometryTest {
 protected:
  void SetUp() override {
    GeometryTest::SetUp();
    chart.Legend().SetVisible(false);
    chart.BottomAxis().SetRange(0, 10);
  }
  template <typename S>
  void Fill(S& series, std::initializer_list<double> xs) {
    for (double x : xs) series.AddPointXY(x, 1);
    series.SetParentChart(&chart);
  }
  template <typename S>
  std::pair<int, int> Range(S& series) {
    Paint(400, 300);
    EXPECT_EQ(chart.BottomAxis().PixelToValue(chart.ChartRect().left), 0);
    EXPECT_EQ(chart.BottomAxis().PixelToValue(chart.ChartRect().right), 10);
    series.ComputeVisibleRange();
    return {series.FirstVisibleIndex(), series.LastVisibleIndex()};
  }
};

TEST_F(VisibleRangeTest, PointsOnTheEdgesAreInside) {
  // X: -1, 0, 5, 10, 11. The point at 0 is the first (a > test would start
  // at 5); the point at 10 is the last of a bar-like kind (>= for the step
  // back would end at 5) ...
  TTestRectSeries bars;
  Fill(bars, {-1, 0, 5, 10, 11});
  EXPECT_EQ(Range(bars), std::make_pair(1, 3));
  // ... and of a line kind too, which keeps only the first point at or past
  // the edge (searching for > would keep 11).
  TTestLineLikeSeries line;
  Fill(line, {-1, 0, 5, 10, 11});
  EXPECT_EQ(Range(line), std::make_pair(1, 3));
  // A line kind whose next point lies beyond the edge keeps that one.
  TTestLineLikeSeries beyond;
  Fill(beyond, {0, 5, 9.5, 11, 12});
  EXPECT_EQ(Range(beyond), std::make_pair(0, 3));
}

TEST_F(VisibleRangeTest, AnInvertedAxisSearchesFromItsOtherEdge) {
  // Taking the left edge as the start regardless would start at 10 and end
  // before it: nothing drawn.
  chart.BottomAxis().SetInverted(true);
  TTestRectSeries bars;
  Fill(bars, {-1, 0, 5, 10, 11});
  Paint(400, 300);
  EXPECT_EQ(chart.BottomAxis().PixelToValue(chart.ChartRect().right), 0);
  bars.ComputeVisibleRange();
  EXPECT_EQ(bars.FirstVisibleIndex(), 1);
  EXPECT_EQ(bars.LastVisibleIndex(), 3);
}

TEST_F(VisibleRangeTest, JustBelowTheStartEdgeIsOutside) {
  TTestRectSeries bars;
  Fill(bars, {-3, -2, -0.001});
  EXPECT_EQ(Range(bars), std::make_pair(-1, -1));
}

// ---- panel margins in percent

TEST_F(GeometryTest, MarginsInPercentRoundHalvesAwayFromZero) {
  chart.Legend().SetVisible(false);
  chart.SetAxisVisible(false);
  // 250 x 250 with 5, 3, 1, 7 %: 12.5 -> 13, 7.5 -> 8, 2.5 -> 3, 17.5 -> 18.
  // Halves to even give 12 and 248 at left and right; truncating gives
  // 12, 7, 248 and 233.
  chart.SetMarginLeft(5);
  chart.SetMarginTop(3);
  chart.SetMarginRight(1);
  chart.SetMarginBottom(7);
  Paint(250, 250);
  EXPECT_EQ(chart.ChartRect(), (plot::Rect{13, 8, 247, 232}));
  // 310 x 290 with 3 %: 9.3 -> 9 (a ceiling gives 10), 8.7 -> 9 (truncating
  // gives 8).
  chart.SetMarginLeft(3);
  chart.SetMarginTop(3);
  chart.SetMarginRight(3);
  chart.SetMarginBottom(3);
  Paint(310, 290);
  EXPECT_EQ(chart.ChartRect(), (plot::Rect{9, 9, 301, 281}));
}

// ---- legend

// A legend of values: "1 a" to "N x" are 18 px, so T = 22, the colour box
// round(22 x 12 %) = 3 and one item 22 + 3 + 8 = 33 px wide. The frame is
// 1 px.
class LegendGeometryTest : public GeometryTest {
 protected:
  void SetUp() override {
    GeometryTest::SetUp();
    chart.SetAxisVisible(false);
  }
  void Values(int count) {
    for (int i = 0; i < count; ++i) series.AddPointXY(i, i % 9 + 1, std::string(1, static_cast<char>('a' + i % 26)));
    series.SetParentChart(&chart);
  }
  TTestRectSeries series;
};

TEST_F(LegendGeometryTest, TopLegendFitsWholeColumnsAndRoundsRowsUp) {
  Values(5);
  chart.Legend().SetAlignment(plot::laTop);
  // 80 px wide: plotting width 76, less frames and 8 leaves 66 = exactly 2
  // items (a strict fit gives 1). 5 items in 2 columns need 3 rows (2 when
  // rounded down).
  Paint(80, 300);
  EXPECT_EQ(chart.Legend().Columns(), 2);
  EXPECT_EQ(chart.Legend().Rows(), 3);
  EXPECT_EQ(TextCount(), 5);
  const plot::Rect r = chart.Legend().RectLegend();
  EXPECT_EQ(r.top, 12 + 1 + 1);
  EXPECT_EQ(r.bottom, r.top + 3 * 13 + 2);
  // 100 px wide: 84 px hold 2.5 items, so 2 columns (3 when rounded).
  Paint(100, 300);
  EXPECT_EQ(chart.Legend().Columns(), 2);
  // At most MaxNumRows rows, and only the items they hold are drawn.
  chart.Legend().SetMaxNumRows(2);
  Paint(80, 300);
  EXPECT_EQ(chart.Legend().Rows(), 2);
  EXPECT_EQ(TextCount(), 4);
}

TEST_F(LegendGeometryTest, SideLegendRowsAndPositionRoundAsTheRulesSay) {
  Values(25);
  // 300 high: the plotting bottom is 288 and the legend's top 10 % = 30;
  // (288 - 30 - 2) / 13 = 19.7 gives 19 rows (20 when rounded).
  Paint(400, 300);
  EXPECT_EQ(chart.Legend().RectLegend().top, 30);
  EXPECT_EQ(chart.Legend().Rows(), 19);
  EXPECT_EQ(TextCount(), 19);
  // 305 high: 10 % is 30.5, to the even 30 (31 away from zero).
  Paint(400, 305);
  EXPECT_EQ(chart.Legend().RectLegend().top, 30);
}

TEST_F(LegendGeometryTest, SideLegendColourBoxRoundsToTheNearestPixel) {
  Values(3);
  // A side legend is the 18 px text, 10 px of spaces and the colour box,
  // a share of the text and spaces: 20 % of 28 is 5.6 -> 6 (truncated 5),
  // 15 % is 4.2 -> 4 (a ceiling gives 5).
  for (const auto& [percent, width] : {std::pair{20, 34}, std::pair{15, 32}}) {
    chart.Legend().SetColorWidth(percent);
    Paint(400, 300);
    EXPECT_EQ(chart.Legend().RectLegend().Width(), width) << percent << " %";
  }
}

TEST_F(LegendGeometryTest, GapToThePlottingRectangleInPixelsOrPercent) {
  Values(3);
  // 372 wide: the plotting width is 350 and 3 % of it 10.5, to the even 10
  // (11 away from zero).
  Paint(372, 300);
  EXPECT_EQ(chart.ChartRect().right, chart.Legend().RectLegend().left - 10);
  chart.Legend().SetHorizMargin(7);
  Paint(372, 300);
  EXPECT_EQ(chart.ChartRect().right, chart.Legend().RectLegend().left - 7);
  // A top legend: 4 % of a 240 px plotting height is 9.6 -> 10 (truncated
  // 9), below the legend and its 3 px shadow.
  chart.Legend().SetAlignment(plot::laTop);
  Paint(372, 260);
  EXPECT_EQ(chart.ChartRect().top, chart.Legend().RectLegend().bottom + 3 + 10);
}

}  // namespace
