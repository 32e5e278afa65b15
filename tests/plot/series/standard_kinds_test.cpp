#include <gmock/gmock.h>

#include <cmath>
#include <limits>
#include <map>
#include <utility>

#include "plot/axes/chart_axis.h"
#include "plot/chart/chart_exceptions.h"
#include "plot/chart/series_registry.h"
#include "plot/series/area_series.h"
#include "plot/series/fast_line_series.h"
#include "plot/series/horiz_bar_series.h"
#include "plot/series/pie_series.h"
#include "plot/series/standard_series_kinds.h"
#include "tests/plot/series/series_fixture.h"

namespace {

using plot::Point;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// A 320 x 300 chart without axes: the plotting rectangle is 300 pixels wide
// (3 % of the width free at each side) and 276 high.
class KindsTest : public SeriesTest {
 protected:
  void SetUp() override {
    SeriesTest::SetUp();
    chart.SetBounds(0, 0, 320, 300);
    chart.SetAxisVisible(false);
  }
  int X(double v) { return chart.BottomAxis().ValueToPixel(v); }
  int Y(double v) { return chart.LeftAxis().ValueToPixel(v); }
  // The points of the n-th call of `op` in the series' part of the paint.
  std::vector<Point> PointsOf(const std::string& op, std::size_t n = 0) const {
    const auto calls = SeriesCalls(op);
    std::vector<Point> points;
    if (n >= calls.size()) return points;
    for (std::size_t i = 0; i + 1 < calls[n].args.size(); i += 2) points.push_back({calls[n].args[i], calls[n].args[i + 1]});
    return points;
  }
};

// ---- area

TEST_F(KindsTest, AreaPolygonRunsAlongTheTopAndBackAlongTheOrigin) {
  plot::TAreaSeries area;
  Add(area);
  area.AddPointY(2);
  area.AddPointY(4);
  area.AddPointY(1);
  Paint();
  // Down to the axis: the bottom of the plot; the axis spans the values.
  EXPECT_EQ(chart.LeftAxis().LowValue(), 1);
  EXPECT_EQ(chart.LeftAxis().HighValue(), 4);
  const int o = chart.LeftAxis().EndPixel();
  EXPECT_THAT(PointsOf("Polygon"), ElementsAre(Point{X(0), Y(2)}, Point{X(1), Y(4)}, Point{X(2), Y(1)},
                                               Point{X(2), o}, Point{X(1), o}, Point{X(0), o}));
  EXPECT_THAT(PointsOf("Polyline"), ElementsAre(Point{X(0), Y(2)}, Point{X(1), Y(4)}, Point{X(2), Y(1)}));
  EXPECT_EQ(SeriesCalls("Polygon")[0].pen.style, platform::PenStyle::Clear);

  // Stairs hold each value to the next point; an origin of 3 enters the
  // axis range and the fill runs to it, below or above.
  area.SetStairs(true);
  area.SetUseYOrigin(true);
  area.SetYOrigin(3);
  Paint();
  EXPECT_EQ(chart.LeftAxis().Maximum(), 4);
  area.SetYOrigin(6);
  Paint();
  EXPECT_EQ(chart.LeftAxis().Maximum(), 6);
  const int six = Y(6);
  EXPECT_THAT(PointsOf("Polygon"),
              ElementsAre(Point{X(0), Y(2)}, Point{X(1), Y(2)}, Point{X(1), Y(4)}, Point{X(2), Y(4)}, Point{X(2), Y(1)},
                          Point{X(2), six}, Point{X(2), six}, Point{X(1), six}, Point{X(1), six}, Point{X(0), six}));
}

TEST_F(KindsTest, AreaRunsBreakAtNullPointsAndColourChanges) {
  plot::TAreaSeries area;
  Add(area);
  for (int i = 0; i < 7; ++i) {
    if (i == 3) {
      area.AddNullPoint();
    } else {
      area.AddPointY(1 + i % 3);
    }
  }
  Paint();
  // 0-1-2, a gap around 3, then 4-5-6.
  ASSERT_EQ(SeriesCalls("Polygon").size(), 2u);
  EXPECT_EQ(PointsOf("Polygon", 1).front(), (Point{X(4), Y(2)}));
  area.SetPointColor(5, plot::clBlue);
  Paint();
  const auto fills = SeriesCalls("Polygon");
  ASSERT_EQ(fills.size(), 3u);  // 0-2, 4-5 in blue (its end's colour), 5-6
  EXPECT_EQ(fills[1].brush.color, plot::clBlue);
  EXPECT_EQ(fills[2].brush.color, area.SeriesColor());
}

TEST_F(KindsTest, StackedAreasStandOnTheSumOfTheEarlierOnes) {
  plot::TAreaSeries lower, upper;
  Add(lower);
  Add(upper);
  for (double v : {2.0, 3.0, 0.0}) lower.AddPointY(v);
  for (double v : {1.0, 5.0, 0.0}) upper.AddPointY(v);
  upper.SetMultiArea(plot::maStacked);
  EXPECT_EQ(lower.MultiArea(), plot::maStacked);
  Paint();
  EXPECT_EQ(chart.LeftAxis().LowValue(), 0);
  EXPECT_EQ(chart.LeftAxis().HighValue(), 8);
  EXPECT_EQ(upper.CalcYPos(1), Y(8));
  EXPECT_EQ(upper.OriginPixel(1), Y(3));
  EXPECT_EQ(lower.OriginPixel(1), Y(0));

  // A click between the two edges is the upper series', not the lower's.
  const Point inUpper{(X(0) + X(1)) / 2, (Y(3.5) + Y(6)) / 2};
  EXPECT_EQ(upper.ClickedPoint(inUpper.x, inUpper.y), 0);
  EXPECT_EQ(lower.ClickedPoint(inUpper.x, inUpper.y), -1);
  EXPECT_EQ(lower.ClickedPoint(inUpper.x, Y(1)), 0);
  // The upper series' floor climbs with the lower one's top (from 2 to 3).
  EXPECT_EQ(upper.ClickedPoint(X(1) - 2, Y(2.5)), -1);
  EXPECT_EQ(lower.ClickedPoint(X(1) - 2, Y(2.5)), 0);

  // To 100 %: shares of each column; a column of zeros lies on 0.
  lower.SetMultiArea(plot::maStacked100);
  Paint();
  EXPECT_EQ(chart.LeftAxis().HighValue(), 100);
  EXPECT_EQ(upper.CalcYPos(0), Y(100));
  EXPECT_EQ(upper.OriginPixel(0), Y(200.0 / 3));
  EXPECT_EQ(upper.CalcYPos(2), Y(0));
  EXPECT_EQ(upper.OriginPixel(2), Y(0));
}

TEST_F(KindsTest, AreaClickHitsThePointTheEdgeAndTheFillButNotAbove) {
  plot::TAreaSeries area;
  Add(area);
  for (double v : {2.0, 4.0, 4.0}) area.AddPointY(v);
  Paint();
  EXPECT_EQ(area.ClickedPoint(X(1), Y(4)), 1);
  EXPECT_EQ(area.ClickedPoint(X(1) + 1, Y(4)), 1);   // on the edge towards 2
  EXPECT_EQ(area.ClickedPoint(X(1) + 5, Y(3)), 1);   // in the fill below it
  EXPECT_EQ(area.ClickedPoint(X(1) + 5, Y(4) - 2), -1);
  EXPECT_EQ(area.ClickedPoint(X(2) + 3, Y(3)), -1);  // right of the last point
}

TEST_F(KindsTest, AreaIn3DIsABandAndAFrontFaceAtTheFrontDepth) {
  chart.SetView3D(true);
  plot::TAreaSeries area;
  Add(area);
  area.AddPointY(2);
  area.AddPointY(4);
  Paint();
  // Band (top), front face, and the end closed: three faces.
  const auto faces = SeriesCalls("Polygon");
  ASSERT_EQ(faces.size(), 3u);
  const plot::TPlotCanvas3D& c = chart.Canvas();
  EXPECT_THAT(PointsOf("Polygon", 1),
              ElementsAre(c.ProjectPoint(X(0), Y(2), area.StartZ()), c.ProjectPoint(X(1), Y(4), area.StartZ()),
                          c.ProjectPoint(X(1), area.OriginPixel(1), area.StartZ()),
                          c.ProjectPoint(X(0), area.OriginPixel(0), area.StartZ())));
  EXPECT_EQ(faces[2].brush.color, plot::Darken(plot::ColorToRGB(area.SeriesColor()), 64));
}

// ---- fast line

TEST_F(KindsTest, FastLineIsOnePolylinePerStretchBetweenNullPoints) {
  plot::TFastLineSeries line;
  Add(line);
  line.SetSeriesColor(plot::clBlue);
  const double ys[] = {3, 1, 4, 1, 5, 9, 2};
  for (int i = 0; i < 7; ++i) {
    if (i == 4) {
      line.AddNullPointXY(i, 5);
    } else {
      line.AddPointXY(i, ys[i]);
    }
  }
  Paint();
  ASSERT_EQ(SeriesCalls("Polyline").size(), 2u);
  EXPECT_THAT(PointsOf("Polyline", 0),
              ElementsAre(Point{X(0), Y(3)}, Point{X(1), Y(1)}, Point{X(2), Y(4)}, Point{X(3), Y(1)}));
  EXPECT_THAT(PointsOf("Polyline", 1), ElementsAre(Point{X(5), Y(9)}, Point{X(6), Y(2)}));
  EXPECT_EQ(SeriesCalls("Polyline")[0].pen.color, plot::clBlue);
  // No pointers, no marks: nothing else is drawn.
  EXPECT_TRUE(SeriesLog({"Polygon", "Rectangle", "Ellipse", "LineTo", "SetPixel"}).empty());

  // Its legend symbol is a stretch of the line; an area's a filled box.
  plot::TAreaSeries area;
  Add(area);
  area.SetAreaBrush(platform::BrushStyle::Cross);
  screen.Clear();
  line.DrawLegendSymbol(-1, {10, 20, 30, 28});
  area.DrawLegendSymbol(-1, {10, 40, 30, 48});
  EXPECT_THAT(screen.Log(), ElementsAre("MoveTo(10,24)", "LineTo(30,24)", "Rectangle(10,40,30,48)"));
  EXPECT_EQ(screen.calls[0].pen.color, plot::clBlue);
  EXPECT_EQ(screen.calls[2].brush.style, platform::BrushStyle::Cross);
  area.SetParentChart(nullptr);

  // Zoomed: the line comes in at the left edge where it crosses it.
  chart.BottomAxis().SetRange(0.5, 3);
  Paint();
  const Point entry = PointsOf("Polyline", 0).front();
  EXPECT_EQ(entry, (Point{chart.ChartRect().left, Y(2)}));
}

TEST_F(KindsTest, DenseFastLineColumnsCoverWhatEverySegmentCovers) {
  plot::TFastLineSeries line;
  Add(line);
  // 6000 points on 300 columns: a saw with a spike now and then.
  for (int i = 0; i < 6000; ++i) line.AddPointY((i % 37) + (i % 611 == 0 ? 80 : 0));
  Paint();
  // Per pixel column, the vertical span of all segments joining the points
  // in order equals that of what is drawn: short polylines between columns
  // and one-pixel-wide fills down the columns.
  using Spans = std::map<int, std::pair<int, int>>;
  auto cover = [](Spans& out, int x, int y) {
    auto [it, fresh] = out.try_emplace(x, y, y);
    if (!fresh) it->second = {std::min(it->second.first, y), std::max(it->second.second, y)};
  };
  auto addPolyline = [&cover](Spans& out, const std::vector<Point>& points) {
    for (std::size_t i = 0; i < points.size(); ++i) {
      cover(out, points[i].x, points[i].y);
      if (i > 0 && points[i].x == points[i - 1].x) cover(out, points[i].x, points[i - 1].y);
    }
  };
  Spans drawn;
  const std::size_t polylines = SeriesCalls("Polyline").size();
  for (std::size_t n = 0; n < polylines; ++n) addPolyline(drawn, PointsOf("Polyline", n));
  const auto fills = SeriesCalls("PatternFill");
  for (const auto& fill : fills) {
    ASSERT_EQ(fill.args[2], fill.args[0] + 1);
    cover(drawn, fill.args[0], fill.args[1]);
    cover(drawn, fill.args[0], fill.args[3] - 1);
  }
  // The cost follows the columns, not the points.
  EXPECT_GT(fills.size(), 250u);
  EXPECT_LE(polylines + fills.size(), 2u * 301);
  std::vector<Point> all;
  for (int i = 0; i < line.PointCount(); ++i) all.push_back({line.CalcXPos(i), line.CalcYPos(i)});
  Spans expected;
  addPolyline(expected, all);
  EXPECT_EQ(drawn, expected);
}

TEST_F(KindsTest, FastLineClickOnAPointOnTheLineAndJustOff) {
  plot::TFastLineSeries line;
  Add(line);
  for (double y : {1.0, 1.0, 3.0}) line.AddPointY(y);
  Paint();
  EXPECT_EQ(line.ClickedPoint(X(1), Y(1)), 1);
  EXPECT_EQ(line.ClickedPoint((X(0) + X(1)) / 2, Y(1)), 0);
  EXPECT_EQ(line.ClickedPoint((X(0) + X(1)) / 2, Y(1) - 2), -1);
  EXPECT_EQ(line.ClickedPoint(X(2) + 2, Y(3)), -1);
  EXPECT_EQ(chart.LeftAxis().LowValue(), 1);
  EXPECT_EQ(chart.LeftAxis().HighValue(), 3);
}

// ---- horizontal bars

TEST_F(KindsTest, HorizontalBarRunsFromTheOriginAlongTheBottomAxis) {
  plot::THorizBarSeries bars;
  Add(bars);
  bars.Marks().SetVisible(false);
  for (double v : {10.0, 20.0, 30.0}) bars.AddPoint(v);
  Paint();
  // The values span the bottom axis from the origin; the bars' positions
  // (Y 0 to 2) span the left one, widened by a slot at each end.
  EXPECT_EQ(chart.BottomAxis().LowValue(), 0);
  EXPECT_EQ(chart.BottomAxis().HighValue(), 30);
  EXPECT_EQ(chart.LeftAxis().Minimum(), 0);
  EXPECT_EQ(chart.LeftAxis().Maximum(), 2);
  EXPECT_LT(chart.LeftAxis().LowValue(), -0.5);
  // 70 % of a quarter of the axis, made even.
  const int length = chart.LeftAxis().PixelLength();
  int w = static_cast<int>(std::nearbyint(0.7 * (length / 4)));
  w += w % 2;
  EXPECT_EQ(bars.BarWidth(), w);
  const int middle = Y(1);
  EXPECT_THAT(SeriesLog({"Rectangle"})[1],
              "Rectangle(" + std::to_string(X(0)) + "," + std::to_string(middle - w / 2) + "," + std::to_string(X(20)) +
                  "," + std::to_string(middle + w / 2) + ")");

  // On the bar, just past its end, just above it.
  EXPECT_EQ(bars.ClickedPoint(X(15), middle), 1);
  EXPECT_EQ(bars.ClickedPoint(X(20) + 2, middle), -1);
  EXPECT_EQ(bars.ClickedPoint(X(15), middle - w / 2 - 2), -1);

  // Points stay ordered along Y whatever order they come in.
  bars.ClearPoints();
  bars.AddPointXY(5, 2);
  bars.AddPointXY(3, 1);
  EXPECT_EQ(bars.YValueAt(0), 1);
  EXPECT_EQ(bars.XValueAt(0), 3);
}

TEST_F(KindsTest, HorizontalBarsSideBySideAndStacked) {
  plot::THorizBarSeries first, second;
  plot::TBarSeries vertical;
  Add(first);
  Add(second);
  Add(vertical);
  vertical.SetActive(false);
  for (auto* s : {&first, &second}) {
    s->Marks().SetVisible(false);
    s->AddPoint(4);
    s->AddPoint(6);
  }
  Paint();
  // Vertical bars are no kin: two bars share each slot, the first lower.
  const int w = first.BarWidth();
  EXPECT_EQ(first.CalcYPos(1), Y(1));
  EXPECT_EQ(second.CalcYPos(1), Y(1) - w);
  first.SetMultiBar(plot::mbStacked);
  EXPECT_EQ(vertical.MultiBar(), plot::mbSide);
  Paint();
  EXPECT_EQ(chart.BottomAxis().HighValue(), 12);
  EXPECT_EQ(second.OriginPixel(1), X(6));
  EXPECT_EQ(second.CalcXPos(1), X(12));
}

TEST_F(KindsTest, HorizontalBarMarksSitBeyondTheBarEnd) {
  plot::THorizBarSeries bars;
  Add(bars);
  bars.Marks().SetStyle(plot::smsValue);
  bars.AddPoint(5);
  bars.AddPoint(-5);
  Paint();
  // Room for the marks at both ends of the value axis.
  int left = 0, right = 0;
  bars.HorizMargins(left, right);
  EXPECT_GT(left, bars.Marks().ArrowLength());
  EXPECT_EQ(left, right);
  const auto boxes = SeriesCalls("Rectangle");
  ASSERT_EQ(boxes.size(), 4u);  // two bars, two mark boxes
  const int a = bars.Marks().ArrowLength();
  EXPECT_EQ(boxes[2].args[0], X(5) + a);
  EXPECT_EQ(boxes[3].args[2], X(-5) - a);
}

// ---- pie

class PieTest : public KindsTest {
 protected:
  void SetUp() override {
    KindsTest::SetUp();
    Add(pie);
    pie.Marks().SetVisible(false);
  }
  plot::TPieSeries pie;
};

TEST_F(PieTest, SlicesOfOneOneTwoAreAQuarterAQuarterAndAHalf) {
  for (double v : {1.0, 1.0, -2.0}) pie.AddPie(v);
  EXPECT_EQ(pie.SliceStartAngle(0), 0);
  EXPECT_EQ(pie.SliceEndAngle(0), 90);
  EXPECT_EQ(pie.SliceEndAngle(1), 180);
  EXPECT_EQ(pie.SliceEndAngle(2), 360);
  Paint();
  // Round, centred in the plotting rectangle (300 x 276).
  const plot::Rect& r = chart.ChartRect();
  const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2, rad = 138;
  EXPECT_EQ(pie.Layout().radiusX, rad);
  EXPECT_EQ(pie.Layout().radiusY, rad);
  // The surface's pie runs counter-clockwise from the slice's end to its
  // start: 3 o'clock to 12, 6 to 3, then 12 round to 6.
  const std::string box = std::to_string(cx - rad) + "," + std::to_string(cy - rad) + "," +
                          std::to_string(cx + rad + 1) + "," + std::to_string(cy + rad + 1);
  auto at = [](int x, int y) { return std::to_string(x) + "," + std::to_string(y); };
  EXPECT_THAT(SeriesLog({"Pie"}), ElementsAre("Pie(" + box + "," + at(cx + rad, cy) + "," + at(cx, cy - rad) + ")",
                                              "Pie(" + box + "," + at(cx, cy + rad) + "," + at(cx + rad, cy) + ")",
                                              "Pie(" + box + "," + at(cx, cy - rad) + "," + at(cx, cy + rad) + ")"));
  EXPECT_EQ(SeriesCalls("Pie")[2].brush.color, pie.PointColor(2));
  EXPECT_NE(pie.PointColor(1), pie.PointColor(2));

  // Turned by 90 degrees the first slice starts at 3 o'clock.
  pie.SetRotationAngle(450);
  EXPECT_EQ(pie.SliceStartAngle(0), 90);
}

TEST_F(PieTest, AskForNoAxesAndLeaveTheirRangesToOthers) {
  chart.SetAxisVisible(true);
  for (double v : {100.0, 300.0}) pie.AddPie(v);
  Paint();
  for (plot::TCustomChartAxis* axis : chart.Axes()) EXPECT_FALSE(chart.IsAxisShown(axis));
  // No walls either: the slices are the only rectangle-free drawing.
  EXPECT_EQ(screen.Count("Rectangle"), 0);
  plot::TLineSeries line;
  Add(line);
  line.AddPointY(1);
  line.AddPointY(2);
  Paint();
  EXPECT_TRUE(chart.IsAxisShown(&chart.LeftAxis()));
  EXPECT_EQ(chart.LeftAxis().Maximum(), 2);
}

TEST_F(PieTest, ClickInsideASliceAndJustOutsideTheRim) {
  for (double v : {1.0, 3.0}) pie.AddPie(v);
  Paint();
  const plot::TPieSeries::TPieLayout& l = pie.Layout();
  // Slice 0 spans 12 to 3 o'clock; slice 1 the rest.
  EXPECT_EQ(pie.ClickedPoint(l.centerX + 20, l.centerY - 20), 0);
  EXPECT_EQ(pie.ClickedPoint(l.centerX - 20, l.centerY + 20), 1);
  EXPECT_EQ(pie.ClickedPoint(l.centerX + l.radiusX - 1, l.centerY - 1), 0);
  EXPECT_EQ(pie.ClickedPoint(l.centerX + l.radiusX + 2, l.centerY - 1), -1);

  // Exploded, slice 0 moves out along its middle (45 degrees) by 20 % and
  // the pie shrinks to keep it inside.
  pie.SetExplodedSlice(0, 20);
  Paint();
  EXPECT_EQ(pie.Layout().radiusX, static_cast<int>(138 * 100.0 / 120));
  const int shift = static_cast<int>(std::lround(pie.Layout().radiusX * 0.2 * std::sqrt(0.5)));
  EXPECT_EQ(pie.SliceCenter(0), (Point{l.centerX + shift, l.centerY - shift}));
  EXPECT_EQ(pie.ClickedPoint(l.centerX + 2, l.centerY - 2), -1);  // in the gap left behind
  EXPECT_EQ(pie.ClickedPoint(l.centerX + shift + 5, l.centerY - shift - 5), 0);
}

TEST_F(PieTest, TinySlicesAndBadValuesNeverTurnIntoAWholeCircle) {
  pie.AddPie(1000000);
  pie.AddPie(1);
  pie.AddPie(std::numeric_limits<double>::quiet_NaN());
  Paint();
  // The huge slice nearly closes: drawn whole; the tiny one and the NaN
  // take no room and draw nothing.
  EXPECT_EQ(SeriesCalls("Pie").size(), 0u);
  EXPECT_EQ(SeriesCalls("Ellipse").size(), 1u);
  EXPECT_EQ(pie.SliceEndAngle(2) - pie.SliceStartAngle(2), 0);
  pie.ClearPoints();
  pie.AddPie(0);
  Paint();
  EXPECT_TRUE(SeriesLog({"Pie", "Ellipse", "Polygon"}).empty());
}

TEST_F(PieTest, LegendListsTheSlicesAndMarksStandOutsideTheRim) {
  chart.Legend().SetVisible(true);
  pie.AddPie(1, "Tea");
  pie.AddPie(3, "Coffee");
  EXPECT_EQ(chart.Legend().ItemCount(), 2);
  EXPECT_EQ(chart.Legend().ItemText(1), "3 Coffee");
  pie.Marks().SetVisible(true);
  Paint();
  // The mark of slice 0 (middle at 45 degrees) leans up and right of its
  // arrow, which leaves the rim outwards.
  const auto boxes = SeriesCalls("Rectangle");
  ASSERT_EQ(boxes.size(), 2u);
  const plot::TPieSeries::TPieLayout& l = pie.Layout();
  EXPECT_GT(boxes[0].args[0], l.centerX);
  EXPECT_LT(boxes[0].args[3], l.centerY);
  const auto arrows = SeriesCalls("LineTo");
  ASSERT_FALSE(arrows.empty());
  EXPECT_GT(arrows[0].args[0], pie.CalcXPos(0));
  // The pie gave way to the marks.
  EXPECT_LT(l.radiusX, 138 - pie.Marks().ArrowLength());
}

TEST_F(PieTest, ExplodedPercentStaysWithItsSliceAndIsChecked) {
  for (double v : {1.0, 2.0, 3.0}) pie.AddPie(v);
  pie.SetExplodedSlice(2, 30);
  pie.DeletePoint(0);
  EXPECT_EQ(pie.ExplodedSlice(1), 30);
  EXPECT_EQ(pie.ExplodedSlice(0), 0);
  try {
    pie.SetExplodedSlice(0, 101);
    FAIL() << "no exception";
  } catch (const plot::ChartException& e) {
    EXPECT_STREQ(e.what(), "Exploded slice percent must be between 0 and 100");
  }
  EXPECT_EQ(pie.ExplodedSlice(0), 0);
}

// ---- registry and gallery

TEST(StandardKinds, RegisteredOnceOnTheStandardPage) {
  plot::RegisterStandardSeriesKinds();
  const std::size_t count = plot::RegisteredSeriesTypes().size();
  plot::RegisterStandardSeriesKinds();
  ASSERT_EQ(plot::RegisteredSeriesTypes().size(), count);
  std::vector<std::string> names;
  for (const plot::TSeriesTypeEntry& e : plot::RegisteredSeriesTypes()) {
    if (e.galleryPage == "Standard") names.push_back(e.description);
  }
  EXPECT_THAT(names, ElementsAre("Line", "Point", "Bar", "Area", "Fast Line", "Horizontal Bar", "Pie"));
  plot::TChart chart;
  const auto pie = plot::CreateNewSeries(&chart, typeid(plot::TPieSeries));
  ASSERT_NE(dynamic_cast<plot::TPieSeries*>(pie.get()), nullptr);
  EXPECT_EQ(pie->Name(), "Series1");
  EXPECT_EQ(pie->ParentChart(), &chart);
}

TEST(StandardKinds, GalleryPreparationShowsFourSamplePoints) {
  plot::TChart chart;
  plot::THorizBarSeries bars;
  plot::TPieSeries pie;
  bars.SetParentChart(&chart);
  pie.SetParentChart(&chart);
  bars.PrepareForGallery(false);
  EXPECT_EQ(bars.PointCount(), 4);
  EXPECT_FALSE(bars.Marks().Visible());
  EXPECT_EQ(bars.SeriesColor(), plot::clSilver);
  // Horizontal kinds get their positions along Y, in order.
  EXPECT_EQ(bars.YValueAt(0), 0);
  EXPECT_EQ(bars.YValueAt(3), 3);
  pie.PrepareForGallery(true);
  EXPECT_TRUE(pie.ColorEachPoint());
  EXPECT_NE(pie.PointColor(0), pie.PointColor(1));
}

}  // namespace
