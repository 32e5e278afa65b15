#include <gmock/gmock.h>

#include "plot/chart/chart_exceptions.h"
#include "tests/plot/chart/chart_fixture.h"

namespace {

using ::testing::ElementsAre;
using testsupport::TTestRectSeries;

// A series that logs the pipeline's calls on it.
class LoggingSeries final : public TTestRectSeries {
 public:
  explicit LoggingSeries(std::vector<std::string>& log) : log_(log) {
    BeforeDrawValues = [this](plot::TChartSeries&) { log_.push_back("before values"); };
    AfterDrawValues = [this](plot::TChartSeries&) { log_.push_back("after values"); };
  }
  void BeforeChartDraw() override { log_.push_back("before chart draw"); }
  void DrawValue(int index) override {
    log_.push_back("value " + std::to_string(index));
    TTestRectSeries::DrawValue(index);
  }

 private:
  std::vector<std::string>& log_;
};

// Calls drawn with the axis pen (width 2): the axis lines.
std::vector<std::string> AxisLines(const testsupport::RecordingCanvas& canvas) {
  std::vector<std::string> out;
  const auto& calls = canvas.calls;
  for (std::size_t i = 0; i + 1 < calls.size(); ++i) {
    if (calls[i].op == "MoveTo" && calls[i + 1].op == "LineTo" && calls[i].pen.width == 2) {
      out.push_back(calls[i].ToString() + calls[i + 1].ToString());
    }
  }
  return out;
}

TEST_F(ChartTest, TheFourteenStepsRunInOrder) {
  std::vector<std::string> log;
  LoggingSeries series(log);
  series.AddPointXY(1, 1);
  series.AddPointXY(2, 2);
  series.SetParentChart(&chart);
  chart.Title().Text().Add("Title");
  chart.Legend().SetVisible(false);
  chart.OnBeforeDrawAxes = [&](plot::TCustomPanel&) { log.push_back("axes"); };
  chart.OnBeforeDrawSeries = [&](plot::TCustomPanel&) { log.push_back("series"); };
  chart.OnAfterDraw = [&](plot::TCustomPanel&) { log.push_back("after draw"); };
  Paint();
  EXPECT_THAT(log, ElementsAre("before chart draw", "axes", "series", "before values", "value 0", "value 1",
                               "after values", "after draw"));
  // On the canvas: background, then the title, then the walls, then the
  // axes, then the series; the drawing state is reset at the end.
  const int background = 0;
  ASSERT_EQ(screen.calls[background].op, "PatternFill");
  const int title = IndexOfText("Title");
  int wall = -1, firstAxisLine = -1, firstPoint = -1;
  for (int i = 0; i < static_cast<int>(screen.calls.size()); ++i) {
    const auto& c = screen.calls[static_cast<std::size_t>(i)];
    if (wall < 0 && c.op == "Rectangle" && c.brush.style == platform::BrushStyle::Clear) wall = i;
    if (firstAxisLine < 0 && c.op == "MoveTo" && c.pen.width == 2) firstAxisLine = i;
    if (firstPoint < 0 && c.op == "Rectangle" && c.brush.style == platform::BrushStyle::Solid && i > wall) firstPoint = i;
  }
  EXPECT_LT(background, title);
  EXPECT_LT(title, wall);
  EXPECT_LT(wall, firstAxisLine);
  EXPECT_LT(firstAxisLine, firstPoint);
  EXPECT_EQ(chart.Canvas().Font().Size(), 10);
}

TEST_F(ChartTest, WithTheLegendHiddenTitleThenFootThenAxesTakeTheirRoom) {
  TTestRectSeries series;
  series.AddPointXY(0, 0);
  series.AddPointXY(10, 10);
  series.SetParentChart(&chart);
  chart.Legend().SetVisible(false);
  chart.Title().Text().Add("Title");
  chart.Foot().Text().Add("Foot");
  Paint();
  // Bounds 400 x 300, margins 12 px; text 13 px high, 6 px a character.
  const auto title = screen.Calls("TextOut")[0];
  EXPECT_EQ(title.text, "Title");
  EXPECT_EQ(title.args, (std::vector<int>{200 - 15, 12}));
  const auto foot = screen.Calls("TextOut")[1];
  EXPECT_EQ(foot.text, "Foot");
  EXPECT_EQ(foot.args, (std::vector<int>{200 - 12, 288 - 13}));
  // The left axis starts below the title's gap; the bottom axis line sits
  // above the foot's gap less its labels (13) and ticks (2 + 4).
  EXPECT_EQ(chart.LeftAxis().StartPixel(), 12 + 13 + 5);
  EXPECT_EQ(chart.BottomAxis().AxisLinePos(), 288 - 13 - 5 - 13 - 6);
  EXPECT_EQ(chart.LeftAxis().EndPixel(), chart.BottomAxis().AxisLinePos());
}

TEST_F(ChartTest, OnlyUsedAxesAreDrawnUnlessNoSeriesIsActive) {
  TTestRectSeries series;
  series.AddPointXY(0, 0);
  series.AddPointXY(10, 10);
  series.SetParentChart(&chart);
  Paint();
  EXPECT_EQ(AxisLines(screen).size(), 2u);
  EXPECT_FALSE(chart.IsAxisShown(&chart.TopAxis()));
  EXPECT_TRUE(chart.IsAxisShown(&chart.LeftAxis()));
  series.SetActive(false);
  Paint();
  EXPECT_EQ(AxisLines(screen).size(), 4u);
  chart.RightAxis().SetVisible(false);
  Paint();
  EXPECT_EQ(AxisLines(screen).size(), 3u);
  chart.SetAxisVisible(false);
  Paint();
  EXPECT_EQ(AxisLines(screen).size(), 0u);
  EXPECT_FALSE(chart.IsAxisShown(&chart.DepthAxis()));
}

TEST_F(ChartTest, ASeriesOutsideTheRangeDrawsNothingAndFiresNothing) {
  int events = 0;
  TTestRectSeries series;
  for (int i = 0; i < 5; ++i) series.AddPointXY(i, i);
  series.BeforeDrawValues = [&](plot::TChartSeries&) { ++events; };
  series.AfterDrawValues = [&](plot::TChartSeries&) { ++events; };
  series.SetParentChart(&chart);
  chart.BottomAxis().SetRange(100, 200);
  Paint();
  EXPECT_EQ(events, 0);
  EXPECT_TRUE(series.drawn.empty());
  chart.BottomAxis().SetAutomatic(true);
  Paint();
  EXPECT_EQ(events, 2);
  EXPECT_THAT(series.drawn, ElementsAre(0, 1, 2, 3, 4));
}

TEST_F(ChartTest, PagingShowsOnePageOfPoints) {
  TTestRectSeries series;
  for (int i = 0; i < 25; ++i) series.AddPointXY(i, i * 2);
  series.SetParentChart(&chart);
  int pageChanges = 0;
  chart.OnPageChange = [&](plot::TCustomPanel&) { ++pageChanges; };
  chart.SetMaxPointsPerPage(10);
  EXPECT_EQ(chart.NumPages(), 3);
  chart.SetPage(3);
  EXPECT_EQ(pageChanges, 1);
  Paint();
  EXPECT_EQ(chart.BottomAxis().Minimum(), 20);
  EXPECT_EQ(chart.BottomAxis().Maximum(), 24);
  EXPECT_THAT(series.drawn, ElementsAre(20, 21, 22, 23, 24));
  // The partial last page stretched to the width of a full page.
  chart.SetScaleLastPage(false);
  Paint();
  EXPECT_EQ(chart.BottomAxis().Maximum(), 20 + 4 * 10 / 5.0);
  // The vertical axis still spans all points.
  EXPECT_EQ(chart.LeftAxis().Maximum(), 48);
  chart.SetPage(7);
  EXPECT_EQ(chart.Page(), 3);
  chart.NextPage();
  EXPECT_EQ(chart.Page(), 3);
  chart.PreviousPage();
  EXPECT_EQ(chart.Page(), 2);
  chart.SetMaxPointsPerPage(20);
  EXPECT_EQ(chart.Page(), 2);
  chart.SetMaxPointsPerPage(30);
  EXPECT_EQ(chart.Page(), 1);
  try {
    chart.SetMaxPointsPerPage(-1);
    FAIL();
  } catch (const plot::ChartException& e) {
    EXPECT_STREQ(e.what(), "MaxPointsPerPage must be >= 0");
  }
  EXPECT_EQ(chart.MaxPointsPerPage(), 30);
}

TEST_F(ChartTest, SeriesMarginsWidenAutomaticAxesOnly) {
  TTestRectSeries series;
  series.AddPointXY(0, 0);
  series.AddPointXY(100, 100);
  series.marginLeft = 20;
  series.marginRight = 10;
  series.SetParentChart(&chart);
  Paint();
  const plot::TCustomChartAxis& axis = chart.BottomAxis();
  // The points now sit 20 and 10 pixels inside the ends.
  EXPECT_EQ(axis.ValueToPixel(0), axis.StartPixel() + 20);
  EXPECT_EQ(axis.ValueToPixel(100), axis.EndPixel() - 10);
  EXPECT_LT(axis.LowValue(), 0);
  // A fixed end takes no margin.
  chart.BottomAxis().SetAutomaticMinimum(false);
  chart.BottomAxis().SetMinimum(0);
  Paint();
  EXPECT_EQ(axis.LowValue(), 0);
  EXPECT_EQ(axis.ValueToPixel(100), axis.EndPixel() - 10);
}

TEST_F(ChartTest, BackWallIsAnOutlineOneColumnWider) {
  TTestRectSeries series;
  series.AddPointXY(0, 0);
  series.SetParentChart(&chart);
  chart.SetBackColor(plot::clWhite);
  chart.BackWall().Brush().SetColor(plot::clWhite);
  chart.BackWall().Brush().SetStyle(platform::BrushStyle::Clear);
  Paint();
  const plot::Rect r = chart.ChartRect();
  bool found = false;
  for (const auto& c : screen.Calls("Rectangle")) {
    if (c.args == std::vector<int>{r.left, r.top, r.right + 1, r.bottom}) {
      found = true;
      EXPECT_EQ(c.brush.style, platform::BrushStyle::Clear);
      EXPECT_EQ(c.pen.color, plot::clBlack);
      EXPECT_EQ(c.pen.style, platform::PenStyle::Solid);
    }
  }
  EXPECT_TRUE(found);
}

TEST_F(ChartTest, DepthBookkeepingIn3D) {
  chart.SetView3D(true);
  TTestRectSeries a, b;
  a.AddPointXY(0, 0);
  b.AddPointXY(0, 0);
  a.SetParentChart(&chart);
  b.SetParentChart(&chart);
  chart.Legend().SetVisible(false);
  Paint();
  // 376 px wide x 15 % x 0.001 = 5.64 -> 6 px a series, two slots.
  EXPECT_EQ(chart.SeriesDepth3D(), 6);
  EXPECT_EQ(chart.Width3D(), 12);
  EXPECT_EQ(chart.MaxZOrder(), 1);
  // The first series lies at the back.
  EXPECT_EQ(a.ComputedZOrder(), 1);
  EXPECT_EQ(b.ComputedZOrder(), 0);
  EXPECT_EQ(a.StartZ(), 6);
  EXPECT_EQ(a.EndZ(), 12);
  EXPECT_EQ(a.MiddleZ(), 9);
  // A shared depth interleaves the two series point by point.
  a.SetZOrder(0);
  b.SetZOrder(0);
  a.drawn.clear();
  b.drawn.clear();
  Paint();
  EXPECT_EQ(chart.Width3D(), 6);
  EXPECT_THAT(a.drawn, ElementsAre(0));
  EXPECT_THAT(b.drawn, ElementsAre(0));
  chart.SetView3D(false);
  Paint();
  EXPECT_EQ(chart.Width3D(), 0);
  EXPECT_EQ(a.StartZ(), 0);
}

TEST_F(ChartTest, ZoomBoxIsRedrawnWhileActive) {
  chart.ZoomRecord().Activate(50, 60);
  chart.ZoomRecord().X1 = 150;
  chart.ZoomRecord().Y1 = 160;
  Paint();
  bool found = false;
  for (const auto& c : screen.Calls("Rectangle")) {
    if (c.args == std::vector<int>{50, 60, 150, 160}) {
      found = true;
      EXPECT_EQ(c.pen.mode, platform::PenMode::NotXor);
      EXPECT_EQ(c.pen.color, plot::clSilver);  // the grey panel
      EXPECT_EQ(c.brush.style, platform::BrushStyle::Clear);
    }
  }
  EXPECT_TRUE(found);
}

TEST_F(ChartTest, ExchangeAndRemove) {
  TTestRectSeries a, b;
  a.SetParentChart(&chart);
  b.SetParentChart(&chart);
  chart.ExchangeSeries(0, 1);
  EXPECT_EQ(chart.Series(0), &b);
  chart.RemoveSeries(&b);
  EXPECT_EQ(b.ParentChart(), nullptr);
  EXPECT_EQ(chart.SeriesCount(), 1);
  chart.RemoveSeries(&b);  // not there: ignored
  EXPECT_EQ(chart.SeriesCount(), 1);
}

}  // namespace
