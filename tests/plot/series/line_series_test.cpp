#include <gmock/gmock.h>

#include "plot/axes/chart_axis.h"
#include "plot/surface/plot_canvas_3d.h"
#include "plot/chart/chart_exceptions.h"
#include "tests/plot/series/series_fixture.h"

namespace {

using ::testing::ElementsAre;
using plot::clNone;
using plot::TLineSeries;
using plot::TPointSeries;

std::string Line(int x0, int y0, int x1, int y1) {
  return "MoveTo(" + std::to_string(x0) + "," + std::to_string(y0) + ") LineTo(" + std::to_string(x1) + "," +
         std::to_string(y1) + ")";
}

class LineSeriesTest : public SeriesTest {
 protected:
  // The segments drawn, as "MoveTo(..) LineTo(..)" pairs; a LineTo that
  // continues from the last point is listed on its own.
  std::vector<std::string> Segments() const {
    std::vector<std::string> out;
    const auto log = SeriesLog({"MoveTo", "LineTo"});
    for (std::size_t i = 0; i < log.size(); ++i) {
      if (log[i].rfind("MoveTo", 0) == 0 && i + 1 < log.size()) {
        out.push_back(log[i] + " " + log[i + 1]);
        ++i;
      } else {
        out.push_back(log[i]);
      }
    }
    return out;
  }
  std::string SegmentBetween(const plot::TChartSeries& s, int a, int b) const {
    return Line(s.CalcXPos(a), s.CalcYPos(a), s.CalcXPos(b), s.CalcYPos(b));
  }
};

TEST_F(LineSeriesTest, OneVisiblePointDrawsNoSegmentAndItsMarkerOnlyWhenShown) {
  TLineSeries line;
  Add(line);
  line.AddPointXY(5, 5);
  Paint();
  EXPECT_TRUE(Segments().empty());
  EXPECT_TRUE(SeriesLog({"Rectangle"}).empty());

  line.Pointer().SetVisible(true);
  Paint();
  EXPECT_TRUE(Segments().empty());
  const int x = line.CalcXPos(0), y = line.CalcYPos(0);
  // Half sizes 4: the marker covers x-4 .. x+4.
  EXPECT_THAT(SeriesLog({"Rectangle"}), ElementsAre("Rectangle(" + std::to_string(x - 4) + "," + std::to_string(y - 4) +
                                                    "," + std::to_string(x + 5) + "," + std::to_string(y + 5) + ")"));
}

TEST_F(LineSeriesTest, NullPointLeavesAGapOnBothSides) {
  TLineSeries line;
  Add(line);
  line.AddPointY(1);
  line.AddPointY(2);
  line.AddNullPoint();
  line.AddPointY(3);
  line.AddPointY(4);
  Paint();
  EXPECT_THAT(Segments(), ElementsAre(SegmentBetween(line, 0, 1), SegmentBetween(line, 3, 4)));
}

TEST_F(LineSeriesTest, ZoomedLineStartsAtTheLeftEdgeAtTheInterpolatedHeight) {
  TLineSeries line;
  Add(line);
  for (double y : {0.0, 10.0, 0.0, 10.0}) line.AddPointY(y);
  line.XValues().SetOrder(plot::loAscending);
  // X runs 0, 1, 2, 3; the view starts halfway between points 0 and 1.
  chart.BottomAxis().SetRange(0.5, 3);
  chart.LeftAxis().SetRange(0, 10);
  Paint();
  const int edge = chart.ChartRect().left;
  const auto segments = Segments();
  ASSERT_EQ(segments.size(), 3u);
  EXPECT_EQ(segments[0], Line(edge, chart.LeftAxis().ValueToPixel(5), line.CalcXPos(1), line.CalcYPos(1)));
  EXPECT_EQ(segments[1], SegmentBetween(line, 1, 2));

  // Stairs keep the height of the point before the edge.
  line.SetStairs(true);
  Paint();
  const auto log = SeriesLog({"MoveTo", "LineTo"});
  ASSERT_GE(log.size(), 3u);
  const int y0 = line.CalcYPos(0);
  EXPECT_EQ(log[0], "MoveTo(" + std::to_string(edge) + "," + std::to_string(y0) + ")");
  EXPECT_EQ(log[1], "LineTo(" + std::to_string(line.CalcXPos(1)) + "," + std::to_string(y0) + ")");
  EXPECT_EQ(log[2], "LineTo(" + std::to_string(line.CalcXPos(1)) + "," + std::to_string(line.CalcYPos(1)) + ")");
}

TEST_F(LineSeriesTest, ZoomedLineAfterANullPointDoesNotReachTheEdge) {
  TLineSeries line;
  Add(line);
  line.AddNullPoint();
  line.AddPointY(10);
  line.AddPointY(0);
  chart.BottomAxis().SetRange(0.5, 2);
  Paint();
  EXPECT_THAT(Segments(), ElementsAre(SegmentBetween(line, 1, 2)));
}

TEST_F(LineSeriesTest, TwoPointsOnOnePixelDrawNothingBetweenThem) {
  TLineSeries line;
  Add(line);
  line.AddPointXY(0, 0);
  line.AddPointXY(50, 1);
  line.AddPointXY(50.00001, 1);
  line.AddPointXY(100, 2);
  Paint();
  ASSERT_EQ(line.CalcXPos(1), line.CalcXPos(2));
  EXPECT_THAT(Segments(), ElementsAre(SegmentBetween(line, 0, 1), SegmentBetween(line, 2, 3)));
}

TEST_F(LineSeriesTest, PointsBeyondTheDrawableRangeAreSkippedAndNotJoined) {
  TLineSeries line;
  Add(line);
  line.AddPointY(0.5);
  line.AddPointY(1000);
  line.AddPointY(0.5);
  chart.LeftAxis().SetRange(0, 1);
  Paint();
  ASSERT_LT(line.CalcYPos(1), -32766);
  EXPECT_THAT(Segments(), ElementsAre(SegmentBetween(line, 0, 2)));
}

TEST_F(LineSeriesTest, MarkersArePaintedAfterTheSegmentsThatTouchThem) {
  TLineSeries line;
  Add(line);
  line.Pointer().SetVisible(true);
  line.Pointer().SetStyle(plot::psSmallDot);
  for (double y : {1.0, 2.0, 3.0}) line.AddPointY(y);
  Paint();
  std::vector<std::string> order;
  for (const auto& call : SeriesLog({"LineTo", "SetPixel"})) order.push_back(call.substr(0, call.find('(')));
  EXPECT_THAT(order, ElementsAre("LineTo", "SetPixel", "LineTo", "SetPixel", "SetPixel"));
  // Each in the series colour.
  for (const auto& dot : SeriesCalls("SetPixel")) EXPECT_EQ(static_cast<plot::Color>(dot.args[2]), plot::clRed);
}

TEST_F(LineSeriesTest, LineHeightIn2DOnlyRaisesTheBottomMargin) {
  TLineSeries line;
  Add(line);
  for (double y : {1.0, 4.0, 2.0}) line.AddPointY(y);
  int top = -1, bottom = -1;
  line.VertMargins(top, bottom);
  EXPECT_EQ(top, 0);
  EXPECT_EQ(bottom, 0);
  line.SetLineHeight(7);
  line.VertMargins(top, bottom);
  EXPECT_EQ(top, 0);
  EXPECT_EQ(bottom, 7);
  Paint();
  EXPECT_THAT(Segments(), ElementsAre(SegmentBetween(line, 0, 1), SegmentBetween(line, 1, 2)));
  EXPECT_TRUE(SeriesLog({"Polygon"}).empty());
}

TEST_F(LineSeriesTest, MarginsFollowTheShownPointerAndStairs) {
  TLineSeries line;
  Add(line);
  int left = 0, right = 0, top = 0, bottom = 0;
  // Hidden pointer with InflateMargins: nothing.
  line.HorizMargins(left, right);
  line.VertMargins(top, bottom);
  EXPECT_EQ(left + right + top + bottom, 0);
  line.Pointer().SetVisible(true);
  line.Pointer().SetHorizSize(6);
  line.HorizMargins(left, right);
  line.VertMargins(top, bottom);
  EXPECT_EQ(left, 7);
  EXPECT_EQ(right, 7);
  EXPECT_EQ(top, 5);
  EXPECT_EQ(bottom, 5);
  line.Pointer().SetVisible(false);
  line.SetStairs(true);
  line.LinePen().SetWidth(3);
  line.HorizMargins(left, right);
  line.VertMargins(top, bottom);
  EXPECT_EQ(left, 3);
  EXPECT_EQ(top, 3);
  EXPECT_EQ(bottom, 4);
}

TEST_F(LineSeriesTest, ClicksHitPointsAndSegmentsButAPointSeriesHasNoLine) {
  TLineSeries line;
  Add(line);
  for (double y : {0.0, 10.0, 0.0}) line.AddPointY(y);
  Paint();
  const int x1 = line.CalcXPos(1), y1 = line.CalcYPos(1);
  const int x2 = line.CalcXPos(2), y2 = line.CalcYPos(2);
  EXPECT_EQ(line.ClickedPoint(x1, y1), 1);
  // Halfway along the segment from point 1 to point 2.
  EXPECT_EQ(line.ClickedPoint((x1 + x2) / 2, (y1 + y2) / 2), 1);
  EXPECT_EQ(line.ClickedPoint(x1, y2), -1);

  TPointSeries points;
  Add(points);
  line.SetActive(false);
  for (double y : {0.0, 10.0, 0.0}) points.AddPointY(y);
  int clicked = -1;
  points.OnClickPointer = [&clicked](plot::TCustomSeries&, int index, int, int) { clicked = index; };
  Paint();
  const int px1 = points.CalcXPos(1), py1 = points.CalcYPos(1);
  const int px2 = points.CalcXPos(2), py2 = points.CalcYPos(2);
  EXPECT_EQ(points.ClickedPoint((px1 + px2) / 2, (py1 + py2) / 2), -1);
  // Inside the pointer (half size 4, strictly).
  EXPECT_EQ(points.ClickedPoint(px1 + 3, py1 - 3), 1);
  EXPECT_EQ(clicked, 1);
  EXPECT_EQ(points.ClickedPoint(px1 + 4, py1), -1);
}

TEST_F(LineSeriesTest, StairsHitTestFollowsTheSteps) {
  TLineSeries line;
  Add(line);
  for (double y : {0.0, 10.0}) line.AddPointY(y);
  line.SetStairs(true);
  Paint();
  const int x0 = line.CalcXPos(0), y0 = line.CalcYPos(0), x1 = line.CalcXPos(1), y1 = line.CalcYPos(1);
  // Along the first (horizontal) step, then up the riser; not the diagonal.
  EXPECT_EQ(line.ClickedPoint((x0 + x1) / 2, y0), 0);
  EXPECT_EQ(line.ClickedPoint(x1, (y0 + y1) / 2), 0);
  EXPECT_EQ(line.ClickedPoint((x0 + x1) / 2, (y0 + y1) / 2), -1);
  line.SetInvertedStairs(true);
  EXPECT_EQ(line.ClickedPoint(x0, (y0 + y1) / 2), 0);
  EXPECT_EQ(line.ClickedPoint((x0 + x1) / 2, y1), 0);
  EXPECT_EQ(line.ClickedPoint((x0 + x1) / 2, y0), -1);
}

TEST_F(LineSeriesTest, In3DABandPerSegmentUnlessTheLineBrushIsClear) {
  TLineSeries line;
  Add(line);
  chart.SetView3D(true);
  for (double y : {1.0, 3.0, 2.0}) line.AddPointY(y);
  Paint();
  EXPECT_EQ(SeriesLog({"Polygon"}).size(), 2u);
  EXPECT_TRUE(SeriesLog({"LineTo"}).empty());

  line.SetLineBrush(platform::BrushStyle::Clear);
  line.Pointer().SetVisible(true);
  line.Pointer().SetDraw3D(false);
  Paint();
  // Only the three markers, flat rectangles at depth.
  EXPECT_EQ(SeriesLog({"Polygon"}).size(), 3u);
}

TEST_F(LineSeriesTest, SteepBandSegmentsAreDarkened) {
  TLineSeries line;
  Add(line);
  chart.SetView3D(true);
  chart.View3DOptions().SetOrthogonal(true);
  line.SetSeriesColor(0x808080);
  // Up steeply, then down.
  line.AddPointXY(0, 0);
  line.AddPointXY(1, 100);
  line.AddPointXY(2, 0);
  Paint();
  const auto bands = SeriesCalls("Polygon");
  ASSERT_EQ(bands.size(), 2u);
  EXPECT_EQ(bands[0].brush.color, plot::Darken(0x808080, 64));
  EXPECT_EQ(bands[1].brush.color, 0x808080u);
}

TEST_F(LineSeriesTest, DenseLinesAreThinnedOnlyAboveFourPointsPerColumn) {
  TLineSeries line;
  Add(line);
  line.AddPointY(0);
  // A fixed vertical range keeps the axis room, so the columns stay.
  chart.LeftAxis().SetRange(0, 100);
  Paint();
  const int columns = chart.BottomAxis().PixelLength();
  auto fill = [&line](int n) {
    line.ClearPoints();
    for (int i = 0; i < n; ++i) line.AddPointY((i * 7919) % 101);
  };
  // Four points per column: every segment that has a length is drawn.
  fill(4 * columns);
  Paint();
  int expected = 0;
  for (int i = 1; i < line.PointCount(); ++i) {
    expected += line.CalcXPos(i) != line.CalcXPos(i - 1) || line.CalcYPos(i) != line.CalcYPos(i - 1) ? 1 : 0;
  }
  EXPECT_EQ(static_cast<int>(SeriesLog({"LineTo"}).size()), expected);
  // A hundred per column: at most four points, so four segments, a column.
  fill(100 * columns);
  Paint();
  const auto lines = SeriesLog({"LineTo"});
  EXPECT_LE(static_cast<int>(lines.size()), 4 * (columns + 1));
  EXPECT_GE(static_cast<int>(lines.size()), columns);
}

TEST_F(LineSeriesTest, LegendSymbolIsTheLineWithAPointerOnIt) {
  TLineSeries line;
  line.SetParentChart(&chart);
  line.AddPointY(1);
  line.Pointer().SetVisible(true);
  chart.Legend().SetVisible(true);
  chart.Legend().SetLegendStyle(plot::lsSeries);
  Paint();
  // The legend row: text, then the symbol in the 12-pixel colour box left
  // of it.
  int row = -1;
  for (std::size_t i = 0; i < screen.calls.size(); ++i) {
    if (screen.calls[i].op == "TextOut" && screen.calls[i].text == "Series 1") row = static_cast<int>(i);
  }
  ASSERT_GE(row, 0);
  const auto& text = screen.calls[static_cast<std::size_t>(row)];
  const auto& moveTo = screen.calls[static_cast<std::size_t>(row) + 1];
  const auto& lineTo = screen.calls[static_cast<std::size_t>(row) + 2];
  const auto& marker = screen.calls[static_cast<std::size_t>(row) + 3];
  ASSERT_EQ(moveTo.op, "MoveTo");
  ASSERT_EQ(lineTo.op, "LineTo");
  ASSERT_EQ(marker.op, "Rectangle");
  const int left = moveTo.args[0], right = lineTo.args[0];
  EXPECT_LT(right, text.args[0]);
  EXPECT_EQ(lineTo.pen.color, plot::clRed);
  // The marker sits on the line's middle, at most a third of the box wide
  // each way while the line shows.
  const int middleY = moveTo.args[1];
  const int h = std::min(4, (right - left) / 3);
  EXPECT_LT(h, 4);
  EXPECT_EQ(marker.args[0], (left + right) / 2 - h);
  EXPECT_EQ(marker.args[2], (left + right) / 2 + h + 1);
  EXPECT_EQ((marker.args[1] + marker.args[3] - 1) / 2, middleY);
  EXPECT_EQ(marker.brush.color, plot::clRed);
}

TEST(SeriesPointer, SizeBelowOneIsRefusedAndKept) {
  TLineSeries line;
  try {
    line.Pointer().SetHorizSize(0);
    FAIL() << "no exception";
  } catch (const plot::ChartException& e) {
    EXPECT_STREQ(e.what(), "Pointer size must be greater than zero");
  }
  EXPECT_THROW(line.Pointer().SetVertSize(-3), plot::ChartException);
  EXPECT_EQ(line.Pointer().HorizSize(), 4);
  EXPECT_EQ(line.Pointer().VertSize(), 4);
}

TEST(SeriesAssign, LineAndPointSeriesKeepTheirNature) {
  TPointSeries points;
  points.SetStairs(true);
  points.SetLineHeight(3);
  points.Pointer().SetStyle(plot::psDiamond);
  TLineSeries line;
  line.Assign(points);
  EXPECT_TRUE(line.Stairs());
  EXPECT_EQ(line.LineHeight(), 3);
  EXPECT_EQ(line.Pointer().Style(), plot::psDiamond);
  EXPECT_FALSE(line.Pointer().Visible());
  EXPECT_TRUE(line.ConnectPoints());
  // Not forced back: copied from the point series.
  EXPECT_FALSE(line.HitTestLine());

  TPointSeries back;
  back.Assign(line);
  EXPECT_TRUE(back.Pointer().Visible());
  EXPECT_FALSE(back.ConnectPoints());
  EXPECT_FALSE(back.HitTestLine());
}

TEST(SeriesAssign, PointSeriesColorEachPointLetsPointersTakePointColours) {
  TPointSeries points;
  points.Pointer().Brush().SetColor(plot::clBlue);
  points.SetColorEachPoint(true);
  EXPECT_EQ(points.Pointer().Brush().Color(), plot::clAutoColor);
}

}  // namespace
