#include <gmock/gmock.h>

#include "plot/axes/chart_axis.h"
#include "plot/chart/chart_exceptions.h"
#include "tests/plot/series/series_fixture.h"

namespace {

using plot::TBarSeries;

// Bars along a bottom axis exactly 300 pixels long: a 320-pixel chart
// without axes keeps 3 % of its width free at each side.
class BarSeriesTest : public SeriesTest {
 protected:
  void SetUp() override {
    SeriesTest::SetUp();
    chart.SetBounds(0, 0, 320, 300);
    chart.SetAxisVisible(false);
  }
  void PaintChecked() {
    Paint();
    ASSERT_EQ(chart.BottomAxis().PixelLength(), 300);
  }
  static void Fill(TBarSeries& bars, int n) {
    for (int i = 0; i < n; ++i) bars.AddPointY(i + 1);
  }
};

TEST_F(BarSeriesTest, WidthIsSeventyPercentOfTheSlotMadeEven) {
  TBarSeries bars;
  Add(bars);
  bars.Marks().SetVisible(false);
  // n points share 300 / (n + 1) pixels each; 70 % of that to the nearest
  // pixel, then odd widths grow by one. 70 x 0.01 x 75 lands just above
  // 52.5 in binary, so 3 points give 53, made 54.
  const struct {
    int points, width;
  } cases[] = {{3, 54}, {4, 42}, {5, 36}, {9, 22}, {63, 4}};
  for (const auto& c : cases) {
    bars.ClearPoints();
    Fill(bars, c.points);
    PaintChecked();
    EXPECT_EQ(bars.BarWidth(), c.width) << c.points << " points";
  }
}

TEST_F(BarSeriesTest, CustomWidthIsKeptEvenWhenOdd) {
  TBarSeries bars;
  Add(bars);
  bars.Marks().SetVisible(false);
  Fill(bars, 4);
  bars.SetCustomBarWidth(15);
  PaintChecked();
  EXPECT_EQ(bars.BarWidth(), 15);
  const auto rects = SeriesCalls("Rectangle");
  ASSERT_EQ(rects.size(), 4u);
  EXPECT_EQ(rects[0].args[2] - rects[0].args[0], 15);
}

TEST_F(BarSeriesTest, PagingSizesBarsForThePageWhateverTheCount) {
  TBarSeries bars;
  Add(bars);
  bars.Marks().SetVisible(false);
  Fill(bars, 25);
  chart.SetMaxPointsPerPage(10);
  PaintChecked();
  // 300 / 11 = 27; 70 % is 18.9 -> 19 -> 20.
  EXPECT_EQ(bars.BarWidth(), 20);
}

TEST_F(BarSeriesTest, SideBySideBarsAreHalfAsWideLeftAndRightOfTheSlotCentre) {
  TBarSeries first, second;
  Add(first);
  Add(second);
  for (auto* s : {&first, &second}) {
    s->Marks().SetVisible(false);
    Fill(*s, 4);
  }
  PaintChecked();
  // 42 / 2 = 21, made even.
  EXPECT_EQ(first.BarWidth(), 22);
  EXPECT_EQ(second.BarWidth(), 22);
  const int centre = chart.BottomAxis().ValueToPixel(2);
  EXPECT_EQ(first.CalcXPos(2), centre - 22);
  EXPECT_EQ(second.CalcXPos(2), centre);
  // Both margins hold the two bars of a slot.
  int left = 0, right = 0;
  first.HorizMargins(left, right);
  EXPECT_EQ(left, 44);
  EXPECT_EQ(right, 44);

  // Without side margins only half of that.
  first.SetSideMargins(false);
  EXPECT_FALSE(second.SideMargins());
  left = right = 0;
  second.HorizMargins(left, right);
  EXPECT_EQ(left, 2 * second.BarWidth() / 2);
}

TEST_F(BarSeriesTest, MultiBarIsCopiedToEverySeriesOfTheSameKind) {
  TBarSeries first, second;
  plot::TLineSeries line;
  Add(first);
  Add(second);
  Add(line);
  second.SetActive(false);
  first.SetMultiBar(plot::mbStacked);
  EXPECT_EQ(second.MultiBar(), plot::mbStacked);
}

TEST_F(BarSeriesTest, EmptySeriesHasNoWidthAndNoMargins) {
  TBarSeries bars;
  Add(bars);
  PaintChecked();
  int left = -1, right = -1, top = -1, bottom = -1;
  bars.HorizMargins(left, right);
  bars.VertMargins(top, bottom);
  EXPECT_EQ(bars.BarWidth(), 0);
  EXPECT_EQ(left, 0);
  EXPECT_EQ(right, 0);
  EXPECT_EQ(top, 0);
  EXPECT_EQ(bottom, 0);
}

TEST_F(BarSeriesTest, ValueBelowTheOriginGrowsDownwardsWithItsMarkBelow) {
  TBarSeries bars;
  Add(bars);
  bars.AddPointY(5);
  bars.AddPointY(-3);
  bars.Marks().SetArrowLength(10);
  PaintChecked();
  const int origin = chart.LeftAxis().ValueToPixel(0);
  const int low = chart.LeftAxis().ValueToPixel(-3);
  const int high = chart.LeftAxis().ValueToPixel(5);
  const auto rects = SeriesCalls("Rectangle");
  // Two bars, then two mark boxes.
  ASSERT_EQ(rects.size(), 4u);
  EXPECT_EQ(rects[0].args[1], high);
  EXPECT_EQ(rects[0].args[3], origin);
  EXPECT_EQ(rects[1].args[1], origin);
  EXPECT_EQ(rects[1].args[3], low);
  // The first mark sits above its bar, the second below: one pixel past the
  // arrow's end.
  EXPECT_EQ(rects[2].args[3], high - 10 + 1);
  EXPECT_EQ(rects[3].args[1], low + 10 + 1);
  // Both centred on their bars.
  const int halfWidth = bars.BarWidth() / 2;
  EXPECT_EQ((rects[3].args[0] + rects[3].args[2]) / 2, bars.CalcXPos(1) + halfWidth);
  // The bottom margin grew for the mark below the origin: font height 13 +
  // arrow 10 + frame 2, plus 1.
  int top = 0, bottom = 0;
  bars.VertMargins(top, bottom);
  EXPECT_EQ(top, 26);
  EXPECT_EQ(bottom, 26);
}

TEST_F(BarSeriesTest, StackedBarsStartOnTheSeriesBefore) {
  TBarSeries first, second;
  Add(first);
  Add(second);
  first.AddPointY(2);
  second.AddPointY(3);
  for (auto* s : {&first, &second}) s->Marks().SetVisible(false);
  first.SetMultiBar(plot::mbStacked);
  PaintChecked();
  EXPECT_EQ(chart.LeftAxis().HighValue() >= 5, true);
  EXPECT_EQ(second.OriginPixel(0), chart.LeftAxis().ValueToPixel(2));
  EXPECT_EQ(second.CalcYPos(0), chart.LeftAxis().ValueToPixel(5));
  // One depth slot, one bar width, centred on the X value.
  EXPECT_EQ(second.CalcXPos(0), chart.BottomAxis().ValueToPixel(0) - second.BarWidth() / 2);

  first.SetMultiBar(plot::mbStacked100);
  PaintChecked();
  EXPECT_EQ(second.CalcYPos(0), chart.LeftAxis().ValueToPixel(100));
  EXPECT_EQ(second.OriginPixel(0), chart.LeftAxis().ValueToPixel(40));
  EXPECT_DOUBLE_EQ(second.MaxYValue(), 100);
  EXPECT_DOUBLE_EQ(second.MinYValue(), 0);
}

TEST_F(BarSeriesTest, StackedToHundredWithAZeroTotalCollapses) {
  TBarSeries bars;
  Add(bars);
  bars.Marks().SetVisible(false);
  bars.SetMultiBar(plot::mbStacked100);
  bars.AddPointY(0);
  bars.AddPointY(4);
  PaintChecked();
  EXPECT_EQ(bars.CalcYPos(0), 0);
  EXPECT_EQ(bars.OriginPixel(0), 0);
  // A zero-height bar is drawn as a line in the bar's colour.
  const auto log = SeriesLog({"LineTo"});
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(SeriesCalls("LineTo")[0].pen.color, plot::clRed);
}

TEST_F(BarSeriesTest, ABarThinnerThanItsPenIsDrawnByThePen) {
  TBarSeries bars;
  Add(bars);
  bars.Marks().SetVisible(false);
  bars.AddPointY(4);
  bars.SetCustomBarWidth(2);
  bars.BarPen().SetWidth(3);
  PaintChecked();
  const auto rects = SeriesCalls("Rectangle");
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0].brush.style, platform::BrushStyle::Clear);
  EXPECT_EQ(rects[0].pen.color, plot::clRed);
  EXPECT_EQ(rects[0].pen.width, 3);
}

TEST_F(BarSeriesTest, ClicksHitTheBarShape) {
  TBarSeries bars;
  Add(bars);
  bars.Marks().SetVisible(false);
  Fill(bars, 3);
  PaintChecked();
  const int left = bars.CalcXPos(1), right = left + bars.BarWidth();
  const int top = bars.CalcYPos(1), bottom = bars.OriginPixel(1);
  EXPECT_EQ(bars.ClickedPoint(left, top), 1);
  EXPECT_EQ(bars.ClickedPoint(right, bottom), 1);
  EXPECT_EQ(bars.ClickedPoint(right + 1, bottom), -1);
  EXPECT_EQ(bars.ClickedPoint(left, top - 1), -1);
  // A pyramid leaves its top corners free.
  bars.SetBarStyle(plot::bsPyramid);
  EXPECT_EQ(bars.ClickedPoint(left + 1, top + 1), -1);
  EXPECT_EQ(bars.ClickedPoint((left + right) / 2, top + 1), 1);
}

TEST_F(BarSeriesTest, BarsSideBySideOrStackedShareOneDepthIn3D) {
  TBarSeries first, second;
  Add(first);
  Add(second);
  for (auto* s : {&first, &second}) Fill(*s, 3);
  chart.SetView3D(true);
  Paint();
  EXPECT_EQ(first.StartZ(), second.StartZ());
  EXPECT_EQ(first.EndZ(), second.EndZ());
  first.SetMultiBar(plot::mbNone);
  Paint();
  EXPECT_NE(first.StartZ(), second.StartZ());
}

TEST(BarSeries, PercentSettingsOutOfRangeAreRefused) {
  TBarSeries bars;
  try {
    bars.SetBarWidthPercent(101);
    FAIL() << "no exception";
  } catch (const plot::ChartException& e) {
    EXPECT_STREQ(e.what(), "Bar Width Percent must be between 1 and 100");
  }
  EXPECT_THROW(bars.SetBarWidthPercent(0), plot::ChartException);
  EXPECT_EQ(bars.BarWidthPercent(), 70);
  try {
    bars.SetOffsetPercent(-101);
    FAIL() << "no exception";
  } catch (const plot::ChartException& e) {
    EXPECT_STREQ(e.what(), "Bar Offset Percent must be between -100% and 100%");
  }
  bars.SetOffsetPercent(-100);
  EXPECT_EQ(bars.OffsetPercent(), -100);
  EXPECT_EQ(bars.YValues().Name(), "Bar");
  EXPECT_TRUE(bars.Marks().Visible());
  EXPECT_EQ(bars.Marks().ArrowLength(), 20);
}

}  // namespace
