#include <gmock/gmock.h>

#include <cmath>
#include <limits>

#include "plot/chart/chart_exceptions.h"
#include "plot/series/arrow_series.h"
#include "plot/series/gantt_series.h"
#include "tests/plot/series/extended_series_fixture.h"

namespace {

using ::testing::ElementsAre;
using plot::TArrowSeries;
using plot::TGanttSeries;

// Three tasks in rows 0, 1 and 2 on the fixed bottom axis 0 .. 10; the
// vertical axis follows the rows: -0.5 .. 2.5 over 276 pixels, 92 a row.
class GanttTest : public ExtendedSeriesTest {
 protected:
  void SetUp() override {
    ExtendedSeriesTest::SetUp();
    chart.LeftAxis().SetAutomatic(true);
    Add(gantt);
    gantt.AddGantt(1, 2, 0, "Plan");
    gantt.AddGantt(3, 5, 1, "Build");
    gantt.AddGantt(8, 6, 2, "Ship");  // its end before its start
  }
  TGanttSeries gantt;
};

TEST_F(GanttTest, BarRunsFromDayThreeToDayFiveSeventyPercentOfItsRowHigh) {
  EXPECT_EQ(gantt.MinXValue(), 1);
  EXPECT_EQ(gantt.MaxXValue(), 8);
  EXPECT_EQ(gantt.MinYValue(), -0.5);
  EXPECT_EQ(gantt.MaxYValue(), 2.5);
  PaintChecked();
  // Row 1 at 288 - 1.5 x 92 = 150; 70 % of 92 is 64 pixels; day 3 at 100,
  // day 5 at 160. The task that ends before it starts runs from 6 to 8.
  EXPECT_EQ(gantt.BarHeight(), 64);
  EXPECT_THAT(SeriesLog({"Rectangle"}),
              ElementsAre("Rectangle(40,210,70,274)", "Rectangle(100,118,160,182)", "Rectangle(190,26,250,90)"));
  // Each task in its own colour.
  EXPECT_NE(gantt.PointColor(0), gantt.PointColor(1));

  // Rows 0, 10, 10, 25: a row is 10 apart, so the range is 5 beyond.
  TGanttSeries spaced;
  for (double row : {0.0, 10.0, 10.0, 25.0}) spaced.AddGantt(0, 1, row);
  EXPECT_EQ(spaced.RowSpacing(), 10);
  EXPECT_EQ(spaced.MaxYValue(), 30);
}

TEST_F(GanttTest, ClickedHitsABarUpToItsEdgesOnly) {
  PaintChecked();
  EXPECT_EQ(gantt.ClickedPoint(130, 150), 1);
  EXPECT_EQ(gantt.ClickedPoint(160, 182), 1);
  EXPECT_EQ(gantt.ClickedPoint(161, 150), -1);
  EXPECT_EQ(gantt.ClickedPoint(130, 117), -1);
  EXPECT_EQ(gantt.ClickedPoint(220, 60), 2);
  EXPECT_EQ(gantt.ClickedPoint(80, 150), -1);
}

TEST_F(GanttTest, NextTaskLinesAreElbowsOrStraightAndBadLinksDrawNothing) {
  gantt.NextTask().SetValueAt(0, 1);
  gantt.NextTask().SetValueAt(2, 0);
  PaintChecked();
  // Plan ends at 70 (y 242) before Build starts at 100 (y 150): an elbow at
  // the middle. Ship starts after Plan: a straight line back to it.
  EXPECT_THAT(Lines(), ElementsAre("MoveTo(70,242)", "LineTo(85,242)", "LineTo(85,150)", "LineTo(100,150)",
                                   "MoveTo(250,58)", "LineTo(40,242)"));

  for (double bad : {99.0, -5.0, 0.5, 2.0, std::numeric_limits<double>::quiet_NaN()}) {
    gantt.NextTask().SetValueAt(2, bad);
    gantt.NextTask().SetValueAt(0, -1);
    PaintChecked();
    EXPECT_TRUE(Lines().empty()) << bad;
  }
}

TEST_F(GanttTest, EndAndNextTaskAreValueListsLikeTheOthers) {
  // Tasks keep their order of arrival, so links stay right.
  EXPECT_EQ(gantt.XValueAt(2), 8);
  EXPECT_EQ(gantt.EndValues().HighestValue(), 6);
  EXPECT_EQ(gantt.EndValues().Name(), "End");
  EXPECT_EQ(&gantt.ValueListByName("nexttask"), &gantt.NextTask());

  // Sorting the ends moves whole tasks.
  gantt.EndValues().SetOrder(plot::loDescending);
  gantt.EndValues().SortValues();
  EXPECT_EQ(gantt.PointLabel(0), "Ship");
  EXPECT_EQ(gantt.XValueAt(0), 8);
  EXPECT_EQ(gantt.YValueAt(0), 2);

  // A refused point leaves every list as long as the others.
  gantt.OnBeforeAdd = [](plot::TChartSeries&) { return false; };
  EXPECT_EQ(gantt.AddGantt(0, 9, 3), -1);
  gantt.OnBeforeAdd = nullptr;
  EXPECT_EQ(gantt.EndValues().Count(), 3);
  EXPECT_EQ(gantt.NextTask().Count(), 3);

  // A plain point is a task of no length with no next task.
  const int plain = gantt.AddPointXY(4, 3);
  EXPECT_EQ(gantt.EndValues().ValueAt(plain), 4);
  EXPECT_EQ(gantt.NextTask().ValueAt(plain), -1);

  // A Gantt source hands over ends and links; a line source has neither.
  gantt.NextTask().SetValueAt(0, 2);
  TGanttSeries copy;
  copy.SetParentChart(&chart);
  copy.SetDataSource(&gantt);
  ASSERT_EQ(copy.Count(), 4);
  EXPECT_EQ(copy.EndValues().ValueAt(0), 6);
  EXPECT_EQ(copy.NextTask().ValueAt(0), 2);
  plot::TLineSeries line;
  line.AddPointXY(2, 7);
  TGanttSeries fromLine;
  fromLine.SetParentChart(&chart);
  fromLine.SetDataSource(&line);
  ASSERT_EQ(fromLine.Count(), 1);
  EXPECT_EQ(fromLine.EndValues().ValueAt(0), fromLine.XValueAt(0));
  EXPECT_EQ(fromLine.NextTask().ValueAt(0), -1);

  EXPECT_THROW(gantt.SetBarHeightPercent(0), plot::ChartException);
  EXPECT_EQ(gantt.BarHeightPercent(), 70);
}

TEST_F(GanttTest, MarkSitsAboveTheMiddleOfItsBar) {
  gantt.Marks().SetVisible(true);
  gantt.Marks().SetArrowLength(8);
  PaintChecked();
  // Build's arrow rises from the middle of its top edge (130, 118).
  EXPECT_THAT(Lines(), ::testing::Contains("MoveTo(130,118)"));
  EXPECT_THAT(Lines(), ::testing::Contains("LineTo(130,110)"));
}

TEST_F(GanttTest, InThreeDimensionsTheBarIsABoxAClickOnItsFaceFinds) {
  chart.SetView3D(true);
  Paint();
  EXPECT_TRUE(SeriesCalls("Rectangle").empty());
  EXPECT_GE(static_cast<int>(SeriesCalls("Polygon").size()), 6);
  const plot::Rect r = gantt.BarBounds(1);
  const plot::Point face = chart.Canvas().ProjectPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2, gantt.StartZ());
  EXPECT_EQ(gantt.ClickedPoint(face.x, face.y), 1);
}

// An arrow from (1, 10) to (4, 50): from (40, 258) to (130, 138), 150
// pixels long, pointing 0.6 right and 0.8 up.
class ArrowTest : public ExtendedSeriesTest {
 protected:
  void SetUp() override {
    ExtendedSeriesTest::SetUp();
    Add(arrows);
    arrows.AddArrow(1, 10, 4, 50);
  }
  TArrowSeries arrows;
};

TEST_F(ArrowTest, ShaftEndsAtTheHeadWhoseCornersLieAcrossIt) {
  arrows.AddArrow(7, 30, 7, 30);      // no length: nothing drawn
  arrows.AddArrow(0.5, 80, 0.5, 82);  // shorter than its head
  EXPECT_EQ(arrows.MinXValue(), 0.5);
  EXPECT_EQ(arrows.MaxXValue(), 7);
  EXPECT_EQ(arrows.MinYValue(), 10);
  EXPECT_EQ(arrows.MaxYValue(), 82);
  PaintChecked();
  // Head 10 long: its base at (124, 146), its corners 5 either side.
  // The short arrow's head is cut to its 6 pixels.
  EXPECT_THAT(SeriesLog({"MoveTo", "LineTo", "Polygon"}),
              ElementsAre("MoveTo(25,48)", "LineTo(25,48)", "Polygon(30,48 25,42 20,48)", "MoveTo(40,258)",
                          "LineTo(124,146)", "Polygon(128,149 130,138 120,143)"));
  int left = 0, right = 0;
  arrows.HorizMargins(left, right);
  EXPECT_EQ(left, 5);

  // A clear brush leaves an open head: the shaft reaches the tip.
  arrows.Brush().SetStyle(platform::BrushStyle::Clear);
  arrows.DeletePoint(2);
  arrows.DeletePoint(0);
  PaintChecked();
  EXPECT_THAT(Lines(), ElementsAre("MoveTo(40,258)", "LineTo(130,138)", "MoveTo(130,138)", "LineTo(128,149)",
                                   "MoveTo(130,138)", "LineTo(120,143)"));
}

TEST_F(ArrowTest, ClickedOnTheShaftOrHeadOnlyAndNeverOnANoLengthArrow) {
  arrows.AddArrow(7, 30, 7, 30);
  PaintChecked();
  EXPECT_EQ(arrows.ClickedPoint(85, 198), 0);   // the shaft's middle
  EXPECT_EQ(arrows.ClickedPoint(88, 198), -1);  // three pixels aside
  EXPECT_EQ(arrows.ClickedPoint(126, 143), 0);  // inside the head
  EXPECT_EQ(arrows.ClickedPoint(131, 135), -1);  // past the tip
  EXPECT_EQ(arrows.ClickedPoint(220, 198), -1);
}

TEST_F(ArrowTest, MarkSitsAboveTheTipAndLineSourcesGiveNoLengthArrows) {
  arrows.Marks().SetVisible(true);
  arrows.Marks().SetArrowLength(8);
  PaintChecked();
  EXPECT_THAT(Lines(), ::testing::Contains("LineTo(130,130)"));

  plot::TLineSeries line;
  line.AddPointXY(2, 7);
  TArrowSeries copy;
  copy.SetParentChart(&chart);
  copy.SetDataSource(&line);
  ASSERT_EQ(copy.Count(), 1);
  EXPECT_EQ(copy.EndXValues().ValueAt(0), 2);
  EXPECT_EQ(copy.EndYValues().ValueAt(0), 7);
  EXPECT_THROW(arrows.SetHeadWidth(-1), plot::ChartException);
}

}  // namespace
