// Where axis labels go, pinned with text heights and spacings that come out
// differently under each plausible wrong rounding or comparison. Each case
// says which variants it tells apart.
#include <gmock/gmock.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/plot/axes/axis_fixture.h"

namespace {

using ::testing::ElementsAre;
namespace ta = platform::text_align;

class AxisGeometryTest : public AxisTest {
 protected:
  // Left-axis labels (right-aligned) as text and y.
  std::vector<std::pair<std::string, int>> LeftLabels() const {
    std::vector<std::pair<std::string, int>> out;
    for (const auto& c : TextsAligned(ta::kRight)) out.emplace_back(c.text, c.args[1]);
    return out;
  }
  // Bottom-axis labels turned by 90 degrees.
  std::vector<std::string> UprightLabels() const {
    std::vector<std::string> out;
    for (const auto& c : screen.Calls("TextOut")) {
      if (c.font.escapement == 900) out.push_back(c.text);
    }
    return out;
  }
};

TEST_F(AxisGeometryTest, LeftLabelsAreRaisedByHalfTheTextHeightInIntegers) {
  series.AddPointXY(0, 0);
  series.AddPointXY(1, 100);
  const plot::TChartAxis& axis = chart.LeftAxis();
  // 8 points: 13 px high, raised 13 / 2 = 6 (7 when halves round away).
  Paint();
  auto labels = LeftLabels();
  ASSERT_FALSE(labels.empty());
  EXPECT_EQ(labels[0], std::make_pair(std::string("100"), axis.ValueToPixel(100) - 6));
  // 10 points: 15 px high, raised 7 (8 when halves round to even or away).
  chart.LeftAxis().LabelsFont().SetSize(10);
  Paint();
  labels = LeftLabels();
  ASSERT_FALSE(labels.empty());
  EXPECT_EQ(labels[0], std::make_pair(std::string("100"), axis.ValueToPixel(100) - 7));
}

TEST_F(AxisGeometryTest, TwoLineLeftLabelsAreCentredWithARoundedHalfStep) {
  series.AddPointXY(0, 0);
  series.AddPointXY(1, 100);
  chart.LeftAxis().SetAxisValuesFormat("0 C");
  chart.LeftAxis().SetLabelsMultiLine(true);
  const plot::TChartAxis& axis = chart.LeftAxis();
  // 13 px lines: up by 6, then by round(13 x 0.5 x 3) = round(19.5) = 20
  // (truncating: 19), then each line one step down: p - 13 and p.
  Paint();
  auto labels = LeftLabels();
  ASSERT_GE(labels.size(), 2u);
  const int p = axis.ValueToPixel(100);
  EXPECT_EQ(labels[0], std::make_pair(std::string("100"), p - 13));
  EXPECT_EQ(labels[1], std::make_pair(std::string("C"), p));
  // 15 px lines: up by 7, then round(22.5) = 22 (away from zero: 23):
  // p - 14 and p + 1.
  chart.LeftAxis().LabelsFont().SetSize(10);
  Paint();
  labels = LeftLabels();
  ASSERT_GE(labels.size(), 2u);
  EXPECT_EQ(labels[0].second, p - 14);
  EXPECT_EQ(labels[1].second, p + 1);
}

TEST_F(AxisGeometryTest, UprightPointLabelsMayJustTouchButNeverOverlap) {
  // 276 px wide without the left axis: a plotting width of 260 and points
  // exactly 13 px apart. A label is 13 px along the axis; from the second on
  // it counts 13 + trunc(13 x 0.02 x 10) = 15, half of it 7. The second
  // label clears the first (half 6) at exactly 13 px: drawn (not with >).
  // The third needs 14 px from the second: skipped, and so on every other.
  // Rounding 7.5 up, separating by round(2.6) = 3, or halving the first
  // label's separated size all drop the second label.
  chart.LeftAxis().SetVisible(false);
  chart.BottomAxis().SetRange(0, 20);
  chart.BottomAxis().SetLabelsAngle(90);
  for (int i = 0; i <= 20; ++i) series.AddPointXY(i, 1, std::string("L").append(std::to_string(i)));
  chart.SetBounds(0, 0, 276, 300);
  screen.Clear();
  chart.Draw(screen, {0, 0, 276, 300});
  ASSERT_EQ(chart.BottomAxis().ValueToPixel(1) - chart.BottomAxis().ValueToPixel(0), 13);
  EXPECT_THAT(UprightLabels(),
              ElementsAre("L0", "L1", "L3", "L5", "L7", "L9", "L11", "L13", "L15", "L17", "L19"));
}

}  // namespace

namespace {

// A span near the largest double makes the 1-2-5 step overflow to infinity;
// stepping back by it would never pass the low end, so no label is drawn.
// (The label event stops a loop that does not end, so the test fails
// instead of hanging.)
TEST_F(AxisGeometryTest, AStepThatOverflowsDrawsNoValueLabels) {
  series.AddPointXY(-1.7976931348623157e308, 0);
  series.AddPointXY(0, 1);
  plot::TChartAxis& axis = chart.BottomAxis();
  axis.SetRoundFirstLabel(false);
  int bottomLabels = 0;
  chart.OnGetAxisLabel = [&](plot::TCustomChartAxis& sender, plot::TChartSeries*, int, std::string&) {
    if (&sender == &axis && ++bottomLabels > 100000) throw std::runtime_error("the label loop does not end");
  };
  // 2857 px wide: one label of the whole range fits, so the step has to
  // pass the largest double.
  chart.SetBounds(0, 0, 2857, 300);
  for (bool onAxis : {true, false}) {
    axis.SetLabelsOnAxis(onAxis);
    bottomLabels = 0;
    screen.Clear();
    ASSERT_NO_THROW(chart.Draw(screen, {0, 0, 2857, 300})) << "labels on the axis: " << onAxis;
    EXPECT_TRUE(std::isinf(axis.LabelStep()));
    EXPECT_LE(bottomLabels, 4) << "only the two end labels measured per paint";
  }
}

}  // namespace

namespace {

// The same span with a finite step: the labels run from 0 down to the low
// end, and the step past it overflows to minus infinity, which still
// compares as at or above the low end less its tolerance (itself minus
// infinity). Stepping must stop there instead of drawing at -inf forever.
TEST_F(AxisGeometryTest, StepsThatOverflowPastTheLowEndStop) {
  series.AddPointXY(-1.7976931348623157e308, 0);
  series.AddPointXY(0, 1);
  plot::TChartAxis& axis = chart.BottomAxis();
  std::vector<std::string> values;
  chart.OnGetAxisLabel = [&](plot::TCustomChartAxis& sender, plot::TChartSeries*, int, std::string& text) {
    if (&sender != &axis) return;
    values.push_back(text);
    if (values.size() > 100000) throw std::runtime_error("the label loop does not end");
  };
  axis.SetIncrement(1e307);
  axis.SetLabelsSeparation(0);
  // Upright labels: their height, not their hundreds of digits, sets the
  // room each needs, so the step stays the increment.
  axis.SetLabelsAngle(90);
  for (bool onAxis : {true, false}) {
    axis.SetLabelsOnAxis(onAxis);
    values.clear();
    screen.Clear();
    ASSERT_NO_THROW(chart.Draw(screen, {0, 0, 400, 300})) << "labels on the axis: " << onAxis;
    ASSERT_EQ(axis.LabelStep(), 1e307);
    for (const std::string& v : values) EXPECT_THAT(v, ::testing::Not(::testing::HasSubstr("INF"))) << v;
    // 0, -1e307, ... -1.7e308 (the end labels are measured as well).
    EXPECT_GE(values.size(), 17u);
    EXPECT_LE(values.size(), 40u);
  }
}

}  // namespace
