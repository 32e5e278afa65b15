#include <gmock/gmock.h>

#include <stdexcept>

#include "plot/chart/chart_exceptions.h"
#include "plot/chart/chart_palette.h"
#include "plot/chart/series_registry.h"
#include "runtime/format_settings.h"
#include "plot/series/series_marks.h"
#include "tests/plot/chart/chart_fixture.h"

namespace {

using ::testing::ElementsAre;
using testsupport::TTestLineLikeSeries;
using testsupport::TTestRectSeries;

std::vector<double> Values(const plot::TChartValueList& list) {
  std::vector<double> out;
  for (int i = 0; i < list.ValueCount(); ++i) out.push_back(list.ValueAt(i));
  return out;
}

TEST(ValueList, AscendingInsertKeepsArrivalOrderOfEqualValues) {
  TTestRectSeries s;
  plot::TChartValueList& x = s.XValues();
  EXPECT_EQ(x.InsertOrdered(1), 0);
  EXPECT_EQ(x.InsertOrdered(3), 1);
  EXPECT_EQ(x.InsertOrdered(2), 1);
  EXPECT_EQ(x.InsertOrdered(3), 3);
  EXPECT_THAT(Values(x), ElementsAre(1, 2, 3, 3));
  // Descending lists mirror it; loNone appends.
  plot::TChartValueList d(nullptr, "D");
  d.SetOrder(plot::loDescending);
  for (double v : {5.0, 1.0, 3.0, 5.0}) d.InsertOrdered(v);
  EXPECT_THAT(Values(d), ElementsAre(5, 5, 3, 1));
  plot::TChartValueList n(nullptr, "N");
  for (double v : {5.0, 1.0, 3.0}) n.InsertOrdered(v);
  EXPECT_THAT(Values(n), ElementsAre(5, 1, 3));
}

TEST(ValueList, StatisticsIncludeMultiplierAndFollowChanges) {
  plot::TChartValueList list(nullptr, "Y");
  EXPECT_EQ(list.LowestValue(), 0);
  EXPECT_EQ(list.HighestValue(), 0);
  EXPECT_EQ(list.ValueSum(), 0);
  EXPECT_EQ(list.AbsoluteValueSum(), 0);
  list.InsertOrdered(-2);
  list.InsertOrdered(3);
  EXPECT_EQ(list.LowestValue(), -2);
  EXPECT_EQ(list.HighestValue(), 3);
  EXPECT_EQ(list.ValueSum(), 1);
  EXPECT_EQ(list.AbsoluteValueSum(), 5);
  list.SetMultiplier(2);
  EXPECT_TRUE(list.StatsStale());
  EXPECT_EQ(list.LowestValue(), -4);
  EXPECT_EQ(list.HighestValue(), 6);
  EXPECT_EQ(list.ValueSum(), 2);
  EXPECT_EQ(list.AbsoluteValueSum(), 10);
  EXPECT_FALSE(list.StatsStale());
  list.SetValueAt(0, 10);  // stored 10, read 20
  EXPECT_EQ(list.HighestValue(), 20);
  EXPECT_EQ(list.LowestValue(), 6);
  list.RemoveAt(0);
  EXPECT_EQ(list.ValueSum(), 6);
}

TEST(ValueList, OtherOperations) {
  plot::TChartValueList list(nullptr, "Y");
  for (double v : {4.0, 7.0, 7.0, 1.0}) list.InsertAt(list.ValueCount(), v);
  EXPECT_EQ(list.FindValue(7), 1);
  EXPECT_EQ(list.FindValue(8), -1);
  list.RotateFirstToEnd();
  EXPECT_THAT(Values(list), ElementsAre(7, 7, 1, 4));
  list.NumberSequentially();
  EXPECT_THAT(Values(list), ElementsAre(0, 1, 2, 3));
  plot::TChartValueList other(nullptr, "Z");
  other.SetOrder(plot::loDescending);
  other.SetDateTime(true);
  other.SetMultiplier(3);
  list.Assign(other);
  EXPECT_EQ(list.Order(), plot::loDescending);
  EXPECT_TRUE(list.DateTime());
  EXPECT_EQ(list.Multiplier(), 3);
  EXPECT_EQ(list.Name(), "Y");
  EXPECT_EQ(list.ValueCount(), 4);
}

// "p" and the whole number (built without operator+, which trips a false
// -Wrestrict warning of GCC 12).
std::string Tag(double value) {
  std::string tag = "p";
  tag += std::to_string(static_cast<int>(value));
  return tag;
}

TEST(ValueList, SortMovesWholePointsThroughTheSeries) {
  TTestRectSeries s;
  s.XValues().SetOrder(plot::loNone);
  const double xs[] = {5, 3, 9, 1, 7, 3};
  for (int i = 0; i < 6; ++i) s.AddPointXY(xs[i], xs[i] * 10, Tag(xs[i]));
  s.XValues().SetOrder(plot::loAscending);
  s.XValues().SortValues();
  EXPECT_THAT(Values(s.XValues()), ElementsAre(1, 3, 3, 5, 7, 9));
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(s.YValueAt(i), s.XValueAt(i) * 10);
    EXPECT_EQ(s.PointLabel(i), Tag(s.XValueAt(i)));
  }
  s.XValues().SetOrder(plot::loDescending);
  s.XValues().SortValues();
  EXPECT_THAT(Values(s.XValues()), ElementsAre(9, 7, 5, 3, 3, 1));
  EXPECT_EQ(s.PointLabel(0), "p9");
}

TEST(Series, AddPointNumbersFromThePointCount) {
  TTestRectSeries s;
  EXPECT_EQ(s.AddPoint(5, "a"), 0);
  EXPECT_EQ(s.AddPoint(6), 1);
  EXPECT_EQ(s.XValueAt(0), 0);
  EXPECT_EQ(s.YValueAt(0), 5);
  EXPECT_EQ(s.XValueAt(1), 1);
  EXPECT_EQ(s.PointLabel(0), "a");
  EXPECT_EQ(s.PointLabel(1), "");
  EXPECT_EQ(s.AddNullPoint("gap"), 2);
  EXPECT_EQ(s.PointColor(2), plot::clNone);
}

TEST(Series, OnBeforeAddRefusingChangesNothing) {
  TTestRectSeries s;
  s.AddPointXY(1, 1, "x");
  int afterAdds = 0;
  s.OnBeforeAdd = [](plot::TChartSeries& sender) {
    EXPECT_EQ(sender.XValues().PendingValue(), 2);
    EXPECT_EQ(sender.YValues().PendingValue(), 4);
    return false;
  };
  s.OnAfterAdd = [&](plot::TChartSeries&, int) { ++afterAdds; };
  EXPECT_EQ(s.AddPointXY(2, 4, "y", plot::clRed), -1);
  EXPECT_EQ(s.PointCount(), 1);
  EXPECT_EQ(s.YValues().ValueCount(), 1);
  EXPECT_EQ(s.LabelCount(), 1);
  EXPECT_EQ(afterAdds, 0);
}

TEST(Series, ColoursAndLabels) {
  TTestRectSeries s;
  s.SetSeriesColor(plot::clNavy);
  for (int i = 0; i < 20; ++i) s.AddPoint(i);
  EXPECT_EQ(s.PointColor(3), plot::clNavy);
  s.SetColorEachPoint(true);
  EXPECT_EQ(s.PointColor(0), plot::clRed);
  EXPECT_EQ(s.PointColor(16), s.PointColor(0));
  EXPECT_EQ(s.PointColor(17), plot::clGreen);
  s.SetPointColor(5, plot::clFuchsia);
  EXPECT_EQ(s.PointColor(5), plot::clFuchsia);
  // Turning it off forgets every stored colour.
  s.SetColorEachPoint(false);
  EXPECT_EQ(s.PointColor(5), plot::clNavy);
  // Past the end of the colour sequence: the series colour.
  EXPECT_EQ(s.PointColor(100), plot::clNavy);
  EXPECT_EQ(s.PointLabel(100), "");
  s.SetPointLabel(3, "three");
  EXPECT_EQ(s.PointLabel(3), "three");
  EXPECT_FALSE(s.HasPointLabels());
  s.SetPointLabel(0, "zero");
  EXPECT_TRUE(s.HasPointLabels());
  s.DeletePoint(0);
  EXPECT_EQ(s.PointLabel(2), "three");
  EXPECT_EQ(s.PointCount(), 19);
}

TEST(Series, SharedPaletteCanBeChanged) {
  plot::SetDefaultColor(16 + 2, 0x123456);
  EXPECT_EQ(plot::GetDefaultColor(2), 0x123456u);
  plot::ResetDefaultColors();
  EXPECT_EQ(plot::GetDefaultColor(2), plot::clYellow);
  EXPECT_EQ(plot::GetDefaultColor(-1), plot::clBlack);
}

class SeriesInChart : public ChartTest {
 protected:
  void SetUp() override {
    ChartTest::SetUp();
    series.SetParentChart(&chart);
  }
  // Lays the chart out so the axes have pixel positions.
  void Layout() { Paint(); }
  TTestRectSeries series;
};

TEST_F(SeriesInChart, ClearPointsOnAnEmptySeriesStillFiresAndRepaints) {
  int cleared = 0;
  series.OnClearValues = [&](plot::TChartSeries&) { ++cleared; };
  host.invalidates = 0;
  series.ClearPoints();
  EXPECT_EQ(cleared, 1);
  EXPECT_GE(host.invalidates, 1);
}

TEST_F(SeriesInChart, EveryAddRequestsARepaintOnlyWhenActive) {
  host.invalidates = 0;
  series.AddPoint(1);
  EXPECT_EQ(host.invalidates, 1);
  series.SetActive(false);
  host.invalidates = 0;
  series.AddPoint(2);
  EXPECT_EQ(host.invalidates, 0);
}

TEST_F(SeriesInChart, VisibleRange) {
  for (int i = 0; i < 10; ++i) series.AddPointXY(i, i);
  chart.BottomAxis().SetRange(2.5, 6.5);
  Layout();
  series.ComputeVisibleRange();
  EXPECT_EQ(series.FirstVisibleIndex(), 3);
  EXPECT_EQ(series.LastVisibleIndex(), 6);
  EXPECT_THAT(series.drawn, ElementsAre(3, 4, 5, 6));

  // A line kind keeps the first point past the right edge.
  TTestLineLikeSeries line;
  for (int i = 0; i < 10; ++i) line.AddPointXY(i, i);
  line.SetParentChart(&chart);
  Layout();
  line.ComputeVisibleRange();
  EXPECT_EQ(line.FirstVisibleIndex(), 3);
  EXPECT_EQ(line.LastVisibleIndex(), 7);

  // Every X below the axis minimum: nothing.
  chart.BottomAxis().SetRange(20, 30);
  Layout();
  series.ComputeVisibleRange();
  EXPECT_EQ(series.FirstVisibleIndex(), -1);
  EXPECT_EQ(series.LastVisibleIndex(), -1);

  // Every X inside: all of them.
  chart.BottomAxis().SetRange(-1, 30);
  Layout();
  series.ComputeVisibleRange();
  EXPECT_EQ(series.FirstVisibleIndex(), 0);
  EXPECT_EQ(series.LastVisibleIndex(), 9);

  // Not limited: all points whatever the axis.
  chart.BottomAxis().SetRange(20, 30);
  Layout();
  series.SetLimitToVisibleRange(false);
  series.ComputeVisibleRange();
  EXPECT_EQ(series.FirstVisibleIndex(), 0);
  EXPECT_EQ(series.LastVisibleIndex(), 9);
}

TEST_F(SeriesInChart, VisibleRangeScansWhenAnOverwriteBrokeTheOrder) {
  for (int i = 0; i < 10; ++i) series.AddPointXY(i, i);
  // Overwriting does not re-order: [0, 1, 9, 3, ...]. The range search
  // must find the same first index a scan from 0 finds.
  series.SetXValueAt(2, 9);
  EXPECT_FALSE(series.XValues().KnownAscending());
  chart.BottomAxis().SetRange(4.5, 20);
  Layout();
  series.ComputeVisibleRange();
  EXPECT_EQ(series.FirstVisibleIndex(), 2);
}

TEST_F(SeriesInChart, AxisResolutionFollowsTheChoice) {
  EXPECT_EQ(series.GetHorizAxis(), &chart.BottomAxis());
  EXPECT_EQ(series.GetVertAxis(), &chart.LeftAxis());
  series.SetHorizAxis(plot::aTopAxis);
  series.SetVertAxis(plot::aRightAxis);
  EXPECT_EQ(series.GetHorizAxis(), &chart.TopAxis());
  EXPECT_TRUE(series.UsesAxis(&chart.RightAxis()));
  EXPECT_FALSE(series.UsesAxis(&chart.LeftAxis()));
  series.SetHorizAxis(plot::aBothHorizAxis);
  EXPECT_EQ(series.GetHorizAxis(), &chart.BottomAxis());
  EXPECT_TRUE(series.UsesAxis(&chart.TopAxis()));
  EXPECT_TRUE(series.UsesAxis(&chart.BottomAxis()));
  TTestRectSeries loose;
  EXPECT_EQ(loose.GetHorizAxis(), nullptr);
}

TEST_F(SeriesInChart, MarkTexts) {
  series.AddPointXY(0, 2, "two");
  series.AddPointXY(1, -6);
  series.AddPointXY(2, 1234.5678);
  plot::TSeriesMarks& marks = series.Marks();
  EXPECT_EQ(series.MarkText(0), "two");  // smsLabel by default
  EXPECT_EQ(series.MarkText(1), "-6");   // no label: the value
  marks.SetStyle(plot::smsValue);
  EXPECT_EQ(series.MarkText(2), "1,234.568");
  marks.SetStyle(plot::smsPercent);
  // |2| x 100 / (2 + 6 + 1234.5678)
  EXPECT_EQ(series.MarkText(0), "0.16 %");
  marks.SetStyle(plot::smsLabelValue);
  EXPECT_EQ(series.MarkText(0), "two 2");
  marks.SetStyle(plot::smsPercentTotal);
  EXPECT_EQ(series.MarkText(1), "0.48 % of 1,242.568");
  marks.SetStyle(plot::smsLegend);
  EXPECT_EQ(series.MarkText(0), "2 two");  // legend text style: value on the left
  marks.SetStyle(plot::smsXValue);
  EXPECT_EQ(series.MarkText(2), "2");
  series.OnGetMarkText = [](plot::TChartSeries&, int index, std::string& text) {
    text += '#';
    text += std::to_string(index);
  };
  EXPECT_EQ(series.MarkText(2), "2#2");
}

TEST(SeriesMarks, PercentOfAZeroSumIsAHundred) {
  TTestRectSeries s;
  s.AddPoint(0);
  s.AddPoint(0);
  s.Marks().SetStyle(plot::smsPercent);
  EXPECT_EQ(s.MarkText(1), "100 %");
}

TEST_F(SeriesInChart, TwoAutomaticSeriesOnTheGreyPanelGetRedAndGreen) {
  EXPECT_EQ(series.SeriesColor(), plot::clRed);
  TTestRectSeries second;
  second.SetParentChart(&chart);
  EXPECT_EQ(second.SeriesColor(), plot::clGreen);
  // A white back colour is skipped like a taken colour.
  TTestRectSeries third, fourth;
  third.SetSeriesColor(plot::clYellow);
  third.SetParentChart(&chart);
  chart.SetColor(plot::clBlue);
  fourth.SetParentChart(&chart);
  EXPECT_EQ(fourth.SeriesColor(), plot::clWhite);
  EXPECT_EQ(chart.PickFreeSeriesColor(false), plot::clBlue);
}

TEST_F(SeriesInChart, LeavingAndJoiningCharts) {
  EXPECT_EQ(chart.SeriesCount(), 1);
  plot::TChart other;
  series.SetParentChart(&other);
  EXPECT_EQ(chart.SeriesCount(), 0);
  EXPECT_EQ(other.SeriesCount(), 1);
  EXPECT_EQ(series.GetHorizAxis(), &other.BottomAxis());
  chart.AddSeries(&series);
  EXPECT_EQ(other.SeriesCount(), 0);
  EXPECT_EQ(series.ParentChart(), &chart);
  {
    TTestRectSeries temporary;
    temporary.SetParentChart(&chart);
    EXPECT_EQ(chart.SeriesCount(), 2);
  }
  EXPECT_EQ(chart.SeriesCount(), 1);
}

TEST_F(SeriesInChart, DataSourceChainsFollowTheirSources) {
  TTestRectSeries b, c;
  b.SetName("B");
  b.SetParentChart(&chart);
  c.SetParentChart(&chart);
  series.AddPointXY(1, 10, "one");
  b.SetDataSource(&series);
  c.SetDataSource(&b);
  EXPECT_EQ(b.PointCount(), 1);
  EXPECT_EQ(c.PointLabel(0), "one");
  series.AddPointXY(2, 20);
  EXPECT_EQ(c.PointCount(), 2);
  EXPECT_EQ(c.YValueAt(1), 20);
  series.DeletePoint(0);
  EXPECT_EQ(c.PointCount(), 1);
  EXPECT_EQ(c.XValueAt(0), 2);
  series.YValues().SetValueAt(0, 99);  // modified: rebuilt from the source
  EXPECT_EQ(b.YValueAt(0), 99);
  EXPECT_EQ(c.YValueAt(0), 99);
  // Without the add bit a dependent ignores additions.
  b.SetRecalcOptions(plot::rOnClear | plot::rOnDelete);
  series.AddPointXY(3, 30);
  EXPECT_EQ(b.PointCount(), 1);
  series.ClearPoints();
  EXPECT_EQ(b.PointCount(), 0);
  EXPECT_EQ(c.PointCount(), 0);
}

TEST_F(SeriesInChart, DataSourceErrors) {
  TTestRectSeries b, c, loose;
  b.SetName("B");
  b.SetParentChart(&chart);
  c.SetParentChart(&chart);
  b.SetDataSource(&series);
  c.SetDataSource(&b);
  try {
    series.SetDataSource(&c);
    FAIL() << "a cycle was accepted";
  } catch (const plot::ChartException& e) {
    EXPECT_STREQ(e.what(), "Circular Series dependences are not allowed");
  }
  EXPECT_EQ(series.DataSource(), nullptr);
  try {
    b.SetDataSource(&b);
    FAIL();
  } catch (const plot::ChartException& e) {
    EXPECT_STREQ(e.what(), "No valid DataSource: B");
  }
  EXPECT_EQ(b.DataSource(), &series);
  try {
    loose.SetDataSource(&series);
    FAIL();
  } catch (const plot::ChartException& e) {
    EXPECT_STREQ(e.what(), "No ParentChart to validate DataSource");
  }
  // Unlinking clears the points.
  series.AddPoint(1);
  EXPECT_EQ(b.PointCount(), 1);
  b.SetDataSource(nullptr);
  EXPECT_EQ(b.PointCount(), 0);
  EXPECT_TRUE(series.Dependents().empty());
}

TEST(Series, FillSampleValues) {
  TTestRectSeries s;
  try {
    s.FillSampleValues(0);
    FAIL();
  } catch (const std::invalid_argument& e) {
    EXPECT_STREQ(e.what(), "FillSampleValues NumValues must be > 0");
  }
  s.FillSampleValues(26);
  ASSERT_EQ(s.PointCount(), 26);
  EXPECT_EQ(s.XValueAt(0), 0);
  EXPECT_EQ(s.XValueAt(25), 25);
  // A random walk from the middle of 0 .. 1000 in steps below a quarter
  // of the range.
  for (int i = 1; i < 26; ++i) {
    EXPECT_GE(s.YValueAt(i), 0);
    EXPECT_LE(std::abs(s.YValueAt(i) - s.YValueAt(i - 1)), 125.0);
  }
}

TEST_F(SeriesInChart, SumOfOriginsWalksCompatibleActiveSeries) {
  TTestRectSeries b;
  TTestLineLikeSeries other;  // a derived kind still counts
  b.SetParentChart(&chart);
  other.SetParentChart(&chart);
  series.AddPoint(1);
  b.AddPoint(10);
  other.AddPoint(100);
  EXPECT_EQ(series.SumOfOrigins(0, false), 0);
  EXPECT_EQ(b.SumOfOrigins(0, false), 1);
  EXPECT_EQ(b.SumOfOrigins(0, true), 111);
  b.SetActive(false);
  EXPECT_EQ(other.SumOfOrigins(0, false), 1);
  EXPECT_EQ(series.SumOfOrigins(5, true), 0);
}

TEST(Registry, CreatesNamedSeriesOnce) {
  plot::RegisterSeries<TTestRectSeries>("Rectangles for a test that names more than twenty", "Tests");
  plot::RegisterSeries<TTestRectSeries>("again", "Tests");
  int entries = 0;
  for (const auto& e : plot::RegisteredSeriesTypes()) {
    if (e.seriesClass == typeid(TTestRectSeries)) {
      ++entries;
      EXPECT_EQ(e.description, "Rectangles for a tes");
    }
  }
  EXPECT_EQ(entries, 1);
  plot::TChart chart;
  auto first = plot::CreateNewSeries(&chart, typeid(TTestRectSeries));
  auto second = plot::CreateNewSeries(&chart, typeid(TTestRectSeries));
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->Name(), "Series1");
  EXPECT_EQ(second->Name(), "Series2");
  EXPECT_EQ(chart.SeriesCount(), 2);
  EXPECT_EQ(plot::CreateNewSeries(&chart, typeid(int)), nullptr);
}

TEST(HitTest, SharedGeometry) {
  using namespace plot::hit_test;
  EXPECT_TRUE(PointInLine({5, 5}, {0, 0}, {10, 10}));
  EXPECT_FALSE(PointInLine({5, 7}, {0, 0}, {10, 10}));
  EXPECT_FALSE(PointInLine({11, 11}, {0, 0}, {10, 10}));  // beyond an end
  EXPECT_TRUE(PointInLine({11, 11}, {0, 0}, {10, 10}, 1));
  EXPECT_TRUE(PointInLine({10, 3}, {0, 3}, {20, 3}));
  EXPECT_TRUE(PointInPolygon({5, 5}, {{0, 0}, {10, 0}, {10, 10}, {0, 10}}));
  EXPECT_FALSE(PointInPolygon({15, 5}, {{0, 0}, {10, 0}, {10, 10}, {0, 10}}));
  EXPECT_TRUE(PointInVerticalTriangle({10, 8}, 0, 20, 10, 0));
  EXPECT_FALSE(PointInVerticalTriangle({2, 2}, 0, 20, 10, 0));
  EXPECT_TRUE(PointInHorizontalTriangle({8, 10}, 0, 20, 10, 0));
  EXPECT_TRUE(PointInEllipse({10, 5}, {0, 0, 20, 10}));
  EXPECT_FALSE(PointInEllipse({1, 1}, {0, 0, 20, 10}));
  EXPECT_FALSE(PointInEllipse({0, 0}, {0, 0, 1, 10}));  // no width
}

}  // namespace
