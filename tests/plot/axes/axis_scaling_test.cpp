#include <gmock/gmock.h>

#include <cmath>

#include "plot/axes/axis_steps.h"
#include "plot/chart/chart_exceptions.h"
#include "tests/plot/axes/axis_fixture.h"

namespace {

using plot::kOneSecond;

TEST(AxisSteps, NiceStepsFollowOneTwoFive) {
  const struct {
    double in, out;
  } cases[] = {{1, 2}, {1.5, 2}, {2, 5}, {4.99, 5}, {5, 10}, {9.99, 10}, {10, 20}, {20, 50}, {30, 50},
               {50, 100}, {0.3, 0.5}, {0.5, 1}, {0.1, 0.2}, {0.02, 0.05}};
  for (const auto& c : cases) EXPECT_NEAR(plot::NiceStepAfter(c.in), c.out, c.out * 1e-9) << c.in;
  EXPECT_EQ(plot::NiceStepAfter(0), 0);  // no next step, and no endless recursion
}

TEST(AxisSteps, CalendarTable) {
  EXPECT_EQ(plot::DateStepIndexOf(7), 17);
  EXPECT_STREQ(plot::DateStepName(17), "One Week");
  EXPECT_EQ(plot::DateStepIndexOf(7 + 0.5 * kOneSecond), 17);
  EXPECT_EQ(plot::DateStepIndexOf(8), plot::kNoDateStep);
  EXPECT_EQ(plot::DateStepIndexOf(1.0 / 24), 10);
  EXPECT_STREQ(plot::DateStepName(24), "One Year");
  EXPECT_NEAR(plot::NextDateStep(kOneSecond), 5 * kOneSecond, 1e-15);
  EXPECT_EQ(plot::NextDateStep(7), 15);
  EXPECT_EQ(plot::NextDateStep(8), 15);
  EXPECT_EQ(plot::NextDateStep(182), 365);
  EXPECT_EQ(plot::NextDateStep(400), 365);
  EXPECT_EQ(plot::NextDateStep(0.5 * kOneSecond), 365);
}

TEST_F(AxisTest, IncrementForLabelSizeAndCount) {
  plot::TChartAxis& axis = chart.BottomAxis();
  axis.SetRange(0, 100);
  Place(axis, {0, 0, 300, 200});
  ASSERT_EQ(axis.PixelLength(), 300);
  // 20 px labels + 10 % = 22 px: 14 labels; 1, 2 and 5 give too many.
  EXPECT_EQ(axis.StepForLabelSize(20), 10);
  EXPECT_EQ(axis.StepForLabelCount(14), 10);
  EXPECT_EQ(axis.StepForLabelCount(0), 1e-12);
  // A desired increment grows along 1-2-5 until it fits.
  axis.SetRange(0, 10);
  axis.RefreshRange();
  axis.SetIncrement(0.3);
  EXPECT_EQ(axis.StepForLabelCount(5), 2);
  EXPECT_DOUBLE_EQ(axis.StepForLabelCount(40), 0.3);
  // Without separation the desired increment stands.
  axis.SetLabelsSeparation(0);
  EXPECT_DOUBLE_EQ(axis.StepForLabelCount(5), 0.3);
  EXPECT_EQ(axis.StepForLabelSize(0), axis.StepForLabelCount(1));
  // A label of 100000 px plus 2147480 % claims 2147580000 px: no room for
  // even one label. Summed in 32 bits the claim wrapped to a negative width,
  // which counts as one label.
  axis.SetLabelsSeparation(2147480);
  EXPECT_EQ(axis.StepForLabelSize(100000), axis.StepForLabelCount(0));
  EXPECT_NE(axis.StepForLabelCount(0), axis.StepForLabelCount(1));
}

TEST_F(AxisTest, DateTimeIncrements) {
  series.XValues().SetDateTime(true);
  series.AddPointXY(45000, 1);
  plot::TChartAxis& axis = chart.BottomAxis();
  axis.RefreshShowsDateTime();
  ASSERT_TRUE(axis.ShowsDateTime());
  axis.SetRange(0, 30);
  axis.RefreshRange();
  EXPECT_EQ(axis.StepForLabelCount(8), 7);  // "One Week": 4 labels
  axis.SetRange(0, 14610);                 // 40 years
  axis.RefreshRange();
  EXPECT_EQ(axis.StepForLabelCount(5), 2920);
  EXPECT_EQ(axis.StepForLabelCount(0), kOneSecond);
  axis.SetRange(0, 0.5);
  axis.RefreshRange();
  EXPECT_NEAR(axis.StepForLabelCount(10), 2.0 / 24, 1e-12);  // "Two Hours": 6 labels
}

TEST_F(AxisTest, SetRangeOrdersAndWidens) {
  plot::TChartAxis& axis = chart.LeftAxis();
  axis.SetRange(5, 2);
  EXPECT_EQ(axis.Minimum(), 2);
  EXPECT_EQ(axis.Maximum(), 5);
  EXPECT_FALSE(axis.Automatic());
  EXPECT_FALSE(axis.AutomaticMinimum());
  EXPECT_FALSE(axis.AutomaticMaximum());
  axis.SetRange(3, 3);
  EXPECT_EQ(axis.Minimum(), 3);
  EXPECT_EQ(axis.Maximum(), 3 + 1e-10);
}

TEST_F(AxisTest, AutomaticFlags) {
  plot::TChartAxis& axis = chart.LeftAxis();
  axis.SetAutomaticMinimum(false);
  EXPECT_FALSE(axis.Automatic());
  axis.SetAutomaticMaximum(false);
  axis.SetAutomaticMinimum(true);
  EXPECT_FALSE(axis.Automatic());  // the other end is still fixed
  axis.SetAutomaticMaximum(true);
  EXPECT_TRUE(axis.Automatic());
  axis.SetAutomatic(false);
  EXPECT_FALSE(axis.AutomaticMinimum());
  EXPECT_FALSE(axis.AutomaticMaximum());
}

TEST_F(AxisTest, RangeComesFromTheSeriesOnTheAxis) {
  series.AddPointXY(3, -4);
  series.AddPointXY(8, 9);
  testsupport::TTestRectSeries right;
  right.SetVertAxis(plot::aRightAxis);
  right.AddPointXY(-10, 100);
  right.SetParentChart(&chart);
  chart.LeftAxis().RefreshRange();
  chart.BottomAxis().RefreshRange();
  chart.RightAxis().RefreshRange();
  chart.TopAxis().RefreshRange();
  EXPECT_EQ(chart.LeftAxis().LowValue(), -4);
  EXPECT_EQ(chart.LeftAxis().HighValue(), 9);
  EXPECT_EQ(chart.RightAxis().LowValue(), 100);
  EXPECT_EQ(chart.BottomAxis().LowValue(), -10);  // both series use it
  EXPECT_EQ(chart.BottomAxis().HighValue(), 8);
  EXPECT_EQ(chart.TopAxis().HighValue(), 0);  // nobody uses it
  right.SetActive(false);
  chart.BottomAxis().RefreshRange();
  EXPECT_EQ(chart.BottomAxis().LowValue(), 3);
}

TEST_F(AxisTest, LinearMappingBothWays) {
  plot::TChartAxis& h = chart.BottomAxis();
  plot::TChartAxis& v = chart.LeftAxis();
  h.SetRange(0, 100);
  v.SetRange(0, 100);
  Place(h, {50, 20, 350, 220});
  Place(v, {50, 20, 350, 220});
  const struct {
    double value;
    int x, y, xInv, yInv;
  } cases[] = {{0, 50, 220, 350, 20}, {100, 350, 20, 50, 220}, {50, 200, 120, 200, 120}, {25, 125, 170, 275, 70},
               {1.0 / 6, 50, 220, 350, 20}, {-50, -100, 320, 500, -80}};
  for (const auto& c : cases) {
    EXPECT_EQ(h.ValueToPixel(c.value), c.x) << c.value;
    EXPECT_EQ(v.ValueToPixel(c.value), c.y) << c.value;
  }
  EXPECT_EQ(h.PixelToValue(125), 25);
  EXPECT_EQ(v.PixelToValue(70), 75);
  EXPECT_EQ(h.SpanToPixels(10), 30);
  EXPECT_EQ(h.SpanToPixels(-1), 0);
  // Half a pixel rounds to even: 0.5 px from 50 stays at 50.
  EXPECT_EQ(h.ValueToPixel(1.0 / 6), 50);
  h.SetInverted(true);
  v.SetInverted(true);
  for (const auto& c : cases) {
    EXPECT_EQ(h.ValueToPixel(c.value), c.xInv) << c.value;
    EXPECT_EQ(v.ValueToPixel(c.value), c.yInv) << c.value;
  }
  EXPECT_EQ(h.PixelToValue(275), 25);
  EXPECT_EQ(v.PixelToValue(70), 25);
  // A value far out of integer range maps to the centre.
  EXPECT_EQ(h.ValueToPixel(1e12), 200);
}

TEST_F(AxisTest, EqualValuesMapToTheCentre) {
  series.AddPointXY(1, 7);
  series.AddPointXY(2, 7);
  plot::TChartAxis& v = chart.LeftAxis();
  Place(v, {50, 20, 350, 220});
  EXPECT_EQ(v.ValueSpan(), 0);
  EXPECT_EQ(v.ValueToPixel(7), 120);
  EXPECT_EQ(v.ValueToPixel(1000), 120);
  EXPECT_EQ(v.SpanToPixels(1), 0);
}

TEST_F(AxisTest, LogarithmicMapping) {
  plot::TChartAxis& h = chart.BottomAxis();
  plot::TChartAxis& v = chart.LeftAxis();
  h.SetRange(1, 100);
  v.SetRange(1, 100);
  h.SetLogarithmic(true);
  v.SetLogarithmic(true);
  Place(h, {0, 0, 300, 300});
  Place(v, {0, 0, 300, 300});
  EXPECT_EQ(h.ValueToPixel(10), 150);
  EXPECT_EQ(h.ValueToPixel(100), 300);
  EXPECT_EQ(v.ValueToPixel(10), 150);
  EXPECT_EQ(v.ValueToPixel(100), 0);
  EXPECT_EQ(h.ValueToPixel(0), 0);    // non-positive: the low end
  EXPECT_EQ(v.ValueToPixel(-5), 300);
  EXPECT_NEAR(h.PixelToValue(150), 10, 1e-9);
  EXPECT_NEAR(v.PixelToValue(150), 10, 1e-9);
  EXPECT_EQ(h.PixelToValue(0), 1);
  EXPECT_EQ(v.PixelToValue(0), 100);
  EXPECT_EQ(h.SpanToPixels(10), 150);
  h.SetInverted(true);
  EXPECT_EQ(h.ValueToPixel(10), 150);
  EXPECT_EQ(h.ValueToPixel(100), 0);
  EXPECT_EQ(h.ValueToPixel(0), 300);
  EXPECT_EQ(h.PixelToValue(0), 100);
  // A low end of 0 counts as ln 0 = 0: e^2 lands at the top.
  v.SetRange(0, std::exp(2.0));
  v.RefreshRange();
  EXPECT_EQ(v.ValueToPixel(std::exp(1.0)), 150);
  EXPECT_EQ(v.ValueToPixel(1), 300);
}

TEST_F(AxisTest, WideningForMarginsKeepsDataOffTheEnds) {
  plot::TChartAxis& h = chart.BottomAxis();
  h.SetRange(0, 100);
  Place(h, {0, 0, 300, 300});
  h.WidenRangeForMargins(30, 60);
  EXPECT_EQ(h.StartPixel(), 0);
  EXPECT_EQ(h.EndPixel(), 300);
  EXPECT_EQ(h.ValueToPixel(0), 30);
  EXPECT_EQ(h.ValueToPixel(100), 240);
  // Vertical: the first margin is the top one.
  plot::TChartAxis& v = chart.LeftAxis();
  v.SetRange(0, 100);
  Place(v, {0, 0, 300, 300});
  v.WidenRangeForMargins(30, 60);
  EXPECT_EQ(v.ValueToPixel(100), 30);
  EXPECT_EQ(v.ValueToPixel(0), 240);
  const double low = v.LowValue();
  v.WidenRangeForMargins(0, 0);
  EXPECT_EQ(v.LowValue(), low);
}

TEST_F(AxisTest, InvalidSettingsRaiseAndKeepTheValue) {
  plot::TChartAxis& axis = chart.LeftAxis();
  axis.SetRange(0, 10);
  auto expectError = [](auto&& action, const char* text) {
    try {
      action();
      ADD_FAILURE() << "no error for " << text;
    } catch (const plot::ChartException& e) {
      EXPECT_STREQ(e.what(), text);
    }
  };
  expectError([&] { axis.SetMinimum(11); }, "Axis Minimum Value must be <= Maximum");
  expectError([&] { axis.SetMaximum(-1); }, "Axis Maximum Value must be >= Minimum");
  expectError([&] { axis.SetIncrement(-1); }, "Axis increment must be >= 0");
  // Not a number is not >= 0 either: kept, it made every label step NaN.
  expectError([&] { axis.SetIncrement(std::nan("")); }, "Axis increment must be >= 0");
  expectError([&] { axis.SetLogarithmicBase(1); }, "Axis Logarithmic Base should be >= 2");
  expectError([&] { axis.SetLabelsSeparation(-1); }, "Labels Separation % must be greater than 0");
  expectError([&] { axis.SetLabelsAngle(361); }, "Axis Labels Angle must be between 0 and 359 degrees");
  expectError([&] { axis.SetLabelsAngle(-1); }, "Axis Labels Angle must be between 0 and 359 degrees");
  expectError([&] { axis.Title().SetAngle(400); }, "Axis Title Angle must be between 0 and 359 degrees");
  EXPECT_EQ(axis.Minimum(), 0);
  EXPECT_EQ(axis.Maximum(), 10);
  EXPECT_EQ(axis.Increment(), 0);
  EXPECT_EQ(axis.LogarithmicBase(), 10);
  EXPECT_EQ(axis.LabelsAngle(), 0);
  EXPECT_EQ(axis.Title().Angle(), 90);
  axis.SetLabelsAngle(360);
  EXPECT_EQ(axis.LabelsAngle(), 360);
  // Errors are axis errors where the axis names them.
  EXPECT_THROW(axis.SetIncrement(-2), plot::AxisException);
  axis.SetRange(-5, 10);
  expectError([&] { axis.SetLogarithmic(true); }, "Logarithmic Axis Min and Max values should be >= 0");
  EXPECT_FALSE(axis.Logarithmic());
  series.XValues().SetDateTime(true);
  series.AddPointXY(1, 1);
  expectError([&] { chart.BottomAxis().SetLogarithmic(true); }, "DateTime Axis cannot be Logarithmic");
  // Zoomed date-time axes hold plain numbers; the flag still comes from
  // the series.
  chart.BottomAxis().SetRange(10.5, 20.25);
  chart.BottomAxis().RefreshShowsDateTime();
  EXPECT_TRUE(chart.BottomAxis().ShowsDateTime());
}

TEST_F(AxisTest, LabelTexts) {
  plot::TChartAxis& axis = chart.BottomAxis();
  EXPECT_EQ(axis.FormatLabel(1234.56789), "1,234.568");
  series.XValues().SetDateTime(true);
  series.AddPointXY(45000.25, 1);
  axis.RefreshShowsDateTime();
  axis.SetRange(45000, 45000.5);
  axis.RefreshRange();
  EXPECT_EQ(axis.FormatLabel(45000.25), "06:00");  // short time under a day
  axis.SetRange(45000, 45003);
  axis.RefreshRange();
  EXPECT_EQ(axis.FormatLabel(45000.25), "15/03/2023");
  EXPECT_EQ(axis.FormatLabel(-1), "");
  axis.SetDateTimeFormat("dd/MM/yy hh:mm");
  EXPECT_EQ(axis.FormatLabel(45000.25), "15/03/23 06:00");
  axis.SetLabelsMultiLine(true);
  EXPECT_EQ(axis.FormatLabel(45000.25), "15/03/23\r06:00");
  chart.OnGetAxisLabel = [&](plot::TCustomChartAxis& sender, plot::TChartSeries* s, int index, std::string& text) {
    EXPECT_EQ(&sender, &axis);
    EXPECT_EQ(s, nullptr);
    EXPECT_EQ(index, -1);
    text = "x " + text;
  };
  EXPECT_EQ(axis.FormatLabel(45000.25), "x\r15/03/23\r06:00");
  EXPECT_EQ(axis.FormatLabel(45000.25, false), "15/03/23\r06:00");
}

}  // namespace

// Positions and tick lengths take any value but are held where their pixels
// fit an int: before, an end position of 1e300 percent or a tick of -2^31
// pixels overflowed while placing and drawing the axis.
TEST_F(AxisTest, PositionsAndTickLengthsAreHeldWhereTheirPixelsFitAnInt) {
  series.AddPointXY(0, 0);
  series.AddPointXY(10, 10);
  plot::TChartAxis& axis = chart.BottomAxis();
  axis.SetEndPosition(1e300);
  axis.SetStartPosition(-HUGE_VAL);
  axis.SetPositionPercent(-2e9);
  EXPECT_EQ(axis.EndPosition(), 10000);
  EXPECT_EQ(axis.StartPosition(), -10000);
  EXPECT_EQ(axis.PositionPercent(), -10000);
  axis.SetEndPosition(250.5);
  EXPECT_EQ(axis.EndPosition(), 250.5);  // anything sensible stays as given
  axis.SetTickLength(-2147483647 - 1);
  axis.SetTickInnerLength(2147483647);
  axis.SetMinorTickLength(-7);
  EXPECT_EQ(axis.TickLength(), -(1 << 20));
  EXPECT_EQ(axis.TickInnerLength(), 1 << 20);
  EXPECT_EQ(axis.MinorTickLength(), -7);
  axis.TicksInner().SetVisible(true);
  axis.MinorTicks().SetVisible(true);
  Paint();
  EXPECT_EQ(axis.StartPixel(), chart.ChartRect().left - 100 * chart.ChartWidth());
  EXPECT_FALSE(screen.Calls("LineTo").empty());
}
