#include <gmock/gmock.h>

#include "runtime/date_time.h"
#include "runtime/rounding.h"
#include "tests/plot/axes/axis_fixture.h"

namespace {

using ::testing::ElementsAre;
namespace ta = platform::text_align;

// Left-axis labels are right-aligned; bottom-axis labels centred.
class AxisDrawingTest : public AxisTest {
 protected:
  std::vector<std::string> LeftLabels() const { return TextsOf(TextsAligned(ta::kRight)); }
  std::vector<std::string> BottomLabels() const { return TextsOf(TextsAligned(ta::kCenter)); }
  // Lines drawn with a dotted pen: the grid.
  std::vector<std::vector<int>> GridLines() const {
    std::vector<std::vector<int>> out;
    const auto& calls = screen.calls;
    for (std::size_t i = 0; i + 1 < calls.size(); ++i) {
      if (calls[i].op == "MoveTo" && calls[i + 1].op == "LineTo" && calls[i].pen.style == platform::PenStyle::Dot) {
        out.push_back({calls[i].args[0], calls[i].args[1], calls[i + 1].args[0], calls[i + 1].args[1]});
      }
    }
    return out;
  }
  int LineCount() const { return screen.Count("LineTo"); }
};

TEST_F(AxisDrawingTest, ValueLabelsFromTheTopDown) {
  series.AddPointXY(0, 0);
  series.AddPointXY(1, 100);
  Paint();
  EXPECT_THAT(LeftLabels(), ElementsAre("100", "90", "80", "70", "60", "50", "40", "30", "20", "10", "0"));
  // Each label is centred on its value: right-aligned at the label
  // position, half a text height up.
  const auto labels = TextsAligned(ta::kRight);
  const plot::TChartAxis& axis = chart.LeftAxis();
  EXPECT_EQ(labels[0].args, (std::vector<int>{axis.LabelsPos(), axis.ValueToPixel(100) - 6}));
  EXPECT_EQ(axis.LabelsPos(), axis.AxisLinePos() - 2 - 4);
  // A grid line at each label, across the plotting rectangle.
  const auto grid = GridLines();
  const plot::Rect r = chart.ChartRect();
  int horizontal = 0;
  for (const auto& g : grid) {
    if (g[1] == g[3]) {
      ++horizontal;
      EXPECT_EQ(g[0], r.left);
      EXPECT_EQ(g[2], r.right);
    }
  }
  EXPECT_EQ(horizontal, 11);
  chart.LeftAxis().SetLabelsOnAxis(false);
  Paint();
  EXPECT_THAT(LeftLabels(), ElementsAre("90", "80", "70", "60", "50", "40", "30", "20", "10"));
}

TEST_F(AxisDrawingTest, TicksAndMinorTicks) {
  series.AddPointXY(0, 0);
  series.AddPointXY(1, 100);
  chart.BottomAxis().SetVisible(false);
  chart.LeftAxis().SetIncrement(10);  // the taller axis would pick 5
  chart.LeftAxis().Grid().SetVisible(false);
  Paint();
  const plot::TChartAxis& axis = chart.LeftAxis();
  const int x0 = axis.AxisLinePos() - 1;
  // Outer ticks 4 px long leftwards from one pixel off the line; three
  // minor ticks of 2 px between labels.
  const int p100 = axis.ValueToPixel(100), p90 = axis.ValueToPixel(90);
  const auto log = screen.Log();
  auto has = [&](const std::string& s) { return std::find(log.begin(), log.end(), s) != log.end(); };
  EXPECT_TRUE(has("MoveTo(" + std::to_string(x0) + "," + std::to_string(p100) + ")"));
  EXPECT_TRUE(has("LineTo(" + std::to_string(x0 - 4) + "," + std::to_string(p100) + ")"));
  const int minor = p90 - static_cast<int>(std::lround((p90 - p100) / 4.0));
  EXPECT_TRUE(has("LineTo(" + std::to_string(x0 - 2) + "," + std::to_string(minor) + ")"));
  // 11 ticks, 10 x 3 minor ticks, the axis line.
  EXPECT_EQ(LineCount(), 11 + 30 + 1);
}

TEST_F(AxisDrawingTest, LabelsOffWithTicksOnLabelsOnlyDrawsNoTicksNorGrid) {
  series.AddPointXY(0, 0);
  series.AddPointXY(1, 100);
  chart.BottomAxis().SetVisible(false);
  chart.LeftAxis().SetIncrement(10);  // the taller axis would pick 5
  chart.LeftAxis().SetLabels(false);
  Paint();
  EXPECT_EQ(LineCount(), 1);  // the axis line alone
  EXPECT_TRUE(screen.Calls("TextOut").empty());
  chart.LeftAxis().SetTickOnLabelsOnly(false);
  Paint();
  EXPECT_EQ(GridLines().size(), 11u);
}

TEST_F(AxisDrawingTest, GridCenteredLiesBetweenLabels) {
  series.AddPointXY(0, 0);
  series.AddPointXY(1, 100);
  chart.BottomAxis().SetVisible(false);
  chart.LeftAxis().SetIncrement(10);  // the taller axis would pick 5
  chart.LeftAxis().SetGridCentered(true);
  Paint();
  const auto grid = GridLines();
  ASSERT_EQ(grid.size(), 10u);
  const plot::TChartAxis& axis = chart.LeftAxis();
  const int p100 = axis.ValueToPixel(100), p90 = axis.ValueToPixel(90);
  EXPECT_EQ(grid[0][1], static_cast<int>(runtime::RoundHalfEven((p100 + p90) * 0.5)));
}

TEST_F(AxisDrawingTest, WholeDaysFromTheTruncatedHighEnd) {
  series.XValues().SetDateTime(true);
  series.AddPointXY(45000.3, 1);
  series.AddPointXY(45007.8, 2);
  chart.BottomAxis().SetIncrement(1);
  chart.BottomAxis().SetDateTimeFormat("dd");
  Paint();
  // 45007 is 22 March 2023.
  EXPECT_THAT(BottomLabels(), ElementsAre("22", "21", "20", "19", "18", "17", "16"));
}

TEST_F(AxisDrawingTest, MonthlyLabelsFallOnTheFirst) {
  series.XValues().SetDateTime(true);
  series.AddPointXY(runtime::EncodeDate(2023, 1, 10), 1);
  series.AddPointXY(runtime::EncodeDate(2023, 6, 20) + 0.5, 2);
  chart.BottomAxis().SetIncrement(30);
  chart.BottomAxis().SetDateTimeFormat("dd/mm");
  Paint();
  EXPECT_THAT(BottomLabels(), ElementsAre("01/06", "01/05", "01/04", "01/03", "01/02"));
  // Half months: the 15th and the 1st.
  chart.BottomAxis().SetIncrement(15);
  Paint();
  const auto labels = BottomLabels();
  ASSERT_GE(labels.size(), 4u);
  EXPECT_THAT(std::vector<std::string>(labels.begin(), labels.begin() + 4),
              ElementsAre("15/06", "01/06", "15/05", "01/05"));
}

TEST_F(AxisDrawingTest, MultiLineLabelsStepDownByTheTextHeight) {
  series.XValues().SetDateTime(true);
  series.AddPointXY(45000, 1);
  series.AddPointXY(45001, 2);
  chart.BottomAxis().SetDateTimeFormat("dd/mm/yy hh:nn");
  chart.BottomAxis().SetLabelsMultiLine(true);
  chart.BottomAxis().SetIncrement(1);
  Paint();
  const auto labels = TextsAligned(ta::kCenter);
  ASSERT_EQ(labels.size(), 4u);
  EXPECT_EQ(labels[0].text, "16/03/23");
  EXPECT_EQ(labels[1].text, "00:00");
  EXPECT_EQ(labels[1].args[1], labels[0].args[1] + 13);
  EXPECT_EQ(labels[0].args[1], chart.BottomAxis().LabelsPos());
}

TEST_F(AxisDrawingTest, PointLabelsAtNinetyDegreesAvoidOverlaps) {
  for (int i = 0; i < 60; ++i) series.AddPointY(i % 7, "label " + std::to_string(i));
  chart.BottomAxis().SetLabelsAngle(90);
  Paint();
  // Rotated labels are right-aligned at the top: they read upwards and
  // end at the axis side.
  std::vector<testsupport::RecordedCall> labels;
  for (const auto& c : screen.Calls("TextOut")) {
    if (c.font.escapement == 900) labels.push_back(c);
  }
  ASSERT_GE(labels.size(), 5u);
  EXPECT_LT(labels.size(), 60u);
  const plot::TChartAxis& axis = chart.BottomAxis();
  EXPECT_EQ(labels[0].text, "label 0");
  EXPECT_EQ(labels[0].args, (std::vector<int>{axis.ValueToPixel(0) - 6, axis.LabelsPos()}));
  EXPECT_EQ(labels[0].textAlign, ta::kRight | ta::kTop);
  // 13 px per label plus 10 % separation (trunc 2.6): at least 13 apart.
  for (std::size_t i = 1; i < labels.size(); ++i) EXPECT_GE(labels[i].args[0] - labels[i - 1].args[0], 13);
  // The room below the axis is the widest label ("label 59").
  EXPECT_EQ(chart.ChartRect().bottom, 288 - 8 * 6 - 6);
  // A longer label, or a larger font, takes more room at the next paint.
  series.SetPointLabel(3, "a longer label");
  Paint();
  EXPECT_EQ(chart.ChartRect().bottom, 288 - 14 * 6 - 6);
  chart.BottomAxis().LabelsFont().SetSize(10);
  Paint();
  EXPECT_EQ(chart.ChartRect().bottom, 288 - 14 * 7 - 6);
}

TEST_F(AxisDrawingTest, LogarithmicLabelsRiseByTheBase) {
  series.AddPointXY(0, 1);
  series.AddPointXY(1, 1000);
  chart.LeftAxis().SetLogarithmic(true);
  Paint();
  EXPECT_THAT(LeftLabels(), ElementsAre("1", "10", "100", "1,000"));
  const plot::TChartAxis& axis = chart.LeftAxis();
  const int step = axis.ValueToPixel(1) - axis.ValueToPixel(10);
  EXPECT_NEAR(axis.ValueToPixel(10) - axis.ValueToPixel(100), step, 1);
  EXPECT_EQ(axis.ValueToPixel(1), axis.EndPixel());
}

TEST_F(AxisDrawingTest, NextLabelEventChoosesTheValues) {
  series.AddPointXY(0, 0);
  series.AddPointXY(1, 100);
  chart.OnGetNextAxisLabel = [&](plot::TCustomChartAxis& axis, int index, double& value, bool& stop) {
    if (&axis != &chart.LeftAxis()) return;  // stop stays set: value loop
    value = index * 25;
    stop = index >= 3;
  };
  Paint();
  EXPECT_THAT(LeftLabels(), ElementsAre("0", "25", "50"));
  EXPECT_EQ(BottomLabels().size(), 2u);  // 1 and 0 by the value loop
}

TEST_F(AxisDrawingTest, AConstantSeriesStillLabelsItsValue) {
  // 2048 samples at -40: no span, so the step falls to its floor; the one
  // value the axis shows still gets its label, tick and grid line.
  for (int i = 0; i < 2048; ++i) series.AddPointXY(i, -40.0);
  Paint();
  const auto labels = TextsAligned(ta::kRight);
  ASSERT_THAT(TextsOf(labels), ElementsAre("-40"));
  const plot::TChartAxis& axis = chart.LeftAxis();
  EXPECT_EQ(labels[0].args, (std::vector<int>{axis.LabelsPos(), axis.CenterPixel() - 6}));
  int across = 0;
  for (const auto& g : GridLines()) across += g[1] == g[3] && g[1] == axis.CenterPixel();
  EXPECT_EQ(across, 1);
  // Without labels on the range ends, a single value has none.
  chart.LeftAxis().SetLabelsOnAxis(false);
  Paint();
  EXPECT_TRUE(LeftLabels().empty());
}

TEST_F(AxisDrawingTest, TheEndLabelsSurviveStepsThatDoNotAddUpExactly) {
  // Tenths do not add up in binary: 0.7 / 0.1 is just below 7.
  series.AddPointXY(0, 0);
  series.AddPointXY(1, 0.7);
  chart.LeftAxis().SetIncrement(0.1);
  Paint();
  EXPECT_THAT(LeftLabels(), ElementsAre("0.7", "0.6", "0.5", "0.4", "0.3", "0.2", "0.1", "0"));
  const plot::TChartAxis& axis = chart.LeftAxis();
  const auto labels = TextsAligned(ta::kRight);
  EXPECT_EQ(labels.front().args[1], axis.ValueToPixel(0.7) - 6);
  EXPECT_EQ(labels.back().args[1], axis.EndPixel() - 6);
  chart.LeftAxis().SetLabelsOnAxis(false);
  Paint();
  EXPECT_THAT(LeftLabels(), ElementsAre("0.6", "0.5", "0.4", "0.3", "0.2", "0.1"));

  // Two days from midnight in two-hour steps (1/12 of a day): both
  // midnights at the ends keep their labels, every other label its place.
  series.ClearPoints();
  series.XValues().SetDateTime(true);
  series.AddPointXY(45000.0, 1);
  series.AddPointXY(45002.0, 2);
  chart.BottomAxis().SetDateTimeFormat("dd hh:nn");
  chart.BottomAxis().SetLabelsAngle(90);
  chart.BottomAxis().SetIncrement(1.0 / 12);
  chart.LeftAxis().SetLabelsOnAxis(true);
  Paint();
  std::vector<std::string> bottom;
  std::vector<int> at;
  for (const auto& c : screen.Calls("TextOut")) {
    if (c.font.escapement != 900) continue;
    bottom.push_back(c.text);
    at.push_back(c.args[0]);
  }
  ASSERT_EQ(bottom.size(), 25u);
  EXPECT_EQ(bottom.front(), "17 00:00");
  EXPECT_EQ(bottom[1], "16 22:00");
  EXPECT_EQ(bottom[12], "16 00:00");
  EXPECT_EQ(bottom.back(), "15 00:00");
  const plot::TChartAxis& x = chart.BottomAxis();
  for (std::size_t i = 0; i < at.size(); ++i) EXPECT_EQ(at[i], x.ValueToPixel(45002.0 - i / 12.0) - 6) << i;
}

TEST_F(AxisDrawingTest, TitlesAndHitTest) {
  series.AddPointXY(0, 0);
  series.AddPointXY(1, 100);
  chart.LeftAxis().Title().SetCaption("Degrees");
  chart.BottomAxis().Title().SetCaption("Time");
  Paint();
  const plot::TChartAxis& left = chart.LeftAxis();
  // The left title reads upwards, 90 degrees, centred on the axis.
  bool found = false;
  for (const auto& c : screen.Calls("TextOut")) {
    if (c.text != "Degrees") continue;
    found = true;
    EXPECT_EQ(c.font.escapement, 900);
    EXPECT_EQ(c.args, (std::vector<int>{left.TitlePos(), left.CenterPixel()}));
    EXPECT_EQ(c.textAlign, ta::kCenter | ta::kBottom);
  }
  EXPECT_TRUE(found);
  EXPECT_EQ(left.TitlePos(), 12 + 13);
  EXPECT_THAT(TextsOf(TextsAligned(ta::kCenter)), ::testing::Contains("Time"));
  EXPECT_EQ(chart.BottomAxis().TitlePos(), 288 - 13);
  EXPECT_TRUE(left.HitTest(left.AxisLinePos() - 3, left.CenterPixel()));
  EXPECT_TRUE(left.HitTest(left.AxisLinePos() + 3, left.CenterPixel()));
  EXPECT_FALSE(left.HitTest(left.AxisLinePos() + 4, left.CenterPixel()));
  EXPECT_FALSE(chart.TopAxis().HitTest(200, 12));  // not shown
}

}  // namespace
