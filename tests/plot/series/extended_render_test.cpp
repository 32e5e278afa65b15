#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

#include <string>

#include "plot/axes/chart_axis.h"
#include "plot/chart/chart.h"
#include "plot/functions/basic_functions.h"
#include "plot/series/arrow_series.h"
#include "plot/series/bubble_series.h"
#include "plot/series/chart_shape.h"
#include "plot/series/gantt_series.h"
#include "plot/series/line_series.h"
#include "platform/qt_gui/qt_pictures.h"
#include "runtime/date_time.h"

// The Gantt, arrow, bubble and shape series and a calculated series drawn
// through the QPainter canvas, flat and in depth; each picture is saved as
// <build>/test-output/<name>.png for a person to look at.

namespace {

using plot::TChart;

QImage Render(TChart& chart, const std::string& name, int width = 480, int height = 360) {
  platform::QtBitmap target(width, height, false);
  chart.SetBounds(0, 0, width, height);
  chart.Canvas().SetBuffered(false);
  chart.Draw(target.Canvas(), {0, 0, width, height});
  QImage image = target.Image().copy();
  const QString dir = QStringLiteral(QUORVEL_TEST_OUTPUT_DIR);
  QDir().mkpath(dir);
  EXPECT_TRUE(image.save(dir + "/" + QString::fromStdString(name) + ".png"));
  return image;
}

// Whether the pixel shows the chart colour (red in the low byte).
bool Shows(const QImage& image, plot::Point p, plot::Color colour) {
  const QRgb px = image.pixel(p.x, p.y);
  return static_cast<unsigned>(qRed(px)) == (colour & 0xFF) && static_cast<unsigned>(qGreen(px)) == ((colour >> 8) & 0xFF) &&
         static_cast<unsigned>(qBlue(px)) == ((colour >> 16) & 0xFF);
}

void Look(TChart& chart, const std::string& title, bool view3D) {
  chart.SetView3D(view3D);
  chart.SetColor(plot::clWhite);
  chart.Title().SetText({title});
  chart.Legend().SetVisible(false);
}

// In depth the front faces are shifted: where a flat point lands.
plot::Point OnScreen(TChart& chart, plot::Point p, int z) { return chart.Canvas().ProjectPoint(p.x, p.y, z); }

TEST(ExtendedRender, GanttBarsFilledWithTheirTaskColoursAndTheLegendListsTheTasks) {
  for (bool view3D : {false, true}) {
    TChart chart;
    Look(chart, "Gantt", view3D);
    chart.Legend().SetVisible(true);
    chart.Legend().SetTextStyle(plot::ltsPlain);
    plot::TGanttSeries gantt;
    gantt.SetParentChart(&chart);
    const double day = runtime::EncodeDate(2025, 3, 1);
    gantt.AddGantt(day + 3, day + 5, 0, "Design");
    gantt.AddGantt(day + 6, day + 9, 1, "Build");
    gantt.AddGantt(day + 9, day + 12, 2, "Test");
    gantt.NextTask().SetValueAt(0, 1);
    gantt.NextTask().SetValueAt(1, 2);
    const QImage image = Render(chart, view3D ? "extended_gantt_3d" : "extended_gantt");
    for (int i = 0; i < 3; ++i) {
      const plot::Rect r = gantt.BarBounds(i);
      const plot::Point centre = OnScreen(chart, {(r.left + r.right) / 2, (r.top + r.bottom) / 2}, gantt.StartZ());
      EXPECT_TRUE(Shows(image, centre, gantt.PointColor(i))) << i << (view3D ? " in 3D" : "");
    }
    // Dates on the bottom axis; the rows named by their tasks.
    EXPECT_TRUE(chart.BottomAxis().ShowsDateTime());
    EXPECT_EQ(chart.LeftAxis().ResolveLabelStyle(), plot::talText);
    chart.RemoveAllSeries();
  }
}

TEST(ExtendedRender, ArrowHeadsAndShaftsInTheSeriesColour) {
  for (bool view3D : {false, true}) {
    TChart chart;
    Look(chart, "Arrow", view3D);
    plot::TArrowSeries arrows;
    arrows.SetParentChart(&chart);
    arrows.SetSeriesColor(plot::clBlue);
    arrows.Pen().SetWidth(3);
    arrows.AddArrow(0, 0, 10, 10);
    arrows.AddArrow(2, 8, 8, 2);
    const QImage image = Render(chart, view3D ? "extended_arrow_3d" : "extended_arrow");
    for (int i = 0; i < 2; ++i) {
      const plot::TArrowSeries::Shape s = arrows.ShapeOf(i);
      const plot::Point middle{(s.from.x + s.base.x) / 2, (s.from.y + s.base.y) / 2};
      const plot::Point head{(s.head[0].x + s.head[1].x + s.head[2].x) / 3, (s.head[0].y + s.head[1].y + s.head[2].y) / 3};
      EXPECT_TRUE(Shows(image, OnScreen(chart, middle, arrows.MiddleZ()), plot::clBlue)) << i;
      EXPECT_TRUE(Shows(image, OnScreen(chart, head, arrows.MiddleZ()), plot::clBlue)) << i;
    }
    chart.RemoveAllSeries();
  }
}

TEST(ExtendedRender, BubblesAreRoundOnAWidePlotAndWhollyInside) {
  for (bool view3D : {false, true}) {
    TChart chart;
    Look(chart, "Bubble", view3D);
    plot::TBubbleSeries bubbles;
    bubbles.SetParentChart(&chart);
    bubbles.SetColorEachPoint(false);
    bubbles.SetSeriesColor(plot::clTeal);
    bubbles.AddBubble(0, 50, 20);
    bubbles.AddBubble(10, 20, 10);
    const QImage image = Render(chart, view3D ? "extended_bubble_3d" : "extended_bubble", 640, 300);
    for (int i = 0; i < 2; ++i) {
      const int x = bubbles.CalcXPos(i), y = bubbles.CalcYPos(i), r = bubbles.RadiusPixels(i);
      const int z = bubbles.StartZ();
      EXPECT_TRUE(Shows(image, OnScreen(chart, {x, y}, z), plot::clTeal)) << i;
      // As far across as down, on a plot twice as wide as high.
      EXPECT_TRUE(Shows(image, OnScreen(chart, {x + r - 3, y}, z), plot::clTeal)) << i;
      EXPECT_TRUE(Shows(image, OnScreen(chart, {x, y + r - 3}, z), plot::clTeal)) << i;
      EXPECT_FALSE(Shows(image, OnScreen(chart, {x + r + 3, y}, z), plot::clTeal)) << i;
      // The outer bubbles stay inside the plotting rectangle.
      EXPECT_GE(x - r, chart.ChartRect().left);
      EXPECT_LE(x + r, chart.ChartRect().right);
    }
    chart.RemoveAllSeries();
  }
}

TEST(ExtendedRender, ShapesFillTheirOutlineOnly) {
  for (bool view3D : {false, true}) {
    TChart chart;
    Look(chart, "Shape", view3D);
    plot::TChartShape ellipse, triangle;
    for (plot::TChartShape* s : {&ellipse, &triangle}) s->SetParentChart(&chart);
    ellipse.SetStyle(plot::chasEllipse);
    ellipse.SetSeriesColor(plot::clLime);
    ellipse.SetCorners(0, 0, 40, 40);
    ellipse.SetText("Ellipse");
    triangle.SetStyle(plot::chasTriangle);
    triangle.SetSeriesColor(plot::clFuchsia);
    triangle.SetCorners(60, 40, 100, 0);  // pointing down
    const QImage image = Render(chart, view3D ? "extended_shape_3d" : "extended_shape");
    const plot::Rect e = ellipse.ShapeBounds(), t = triangle.ShapeBounds();
    const int ze = ellipse.StartZ(), zt = triangle.StartZ();
    EXPECT_TRUE(Shows(image, OnScreen(chart, {(e.left + e.right) / 2, e.top + 5}, ze), plot::clLime));
    EXPECT_FALSE(Shows(image, OnScreen(chart, {e.left + 3, e.top + 3}, ze), plot::clLime));
    // Pointing down: wide at the top, narrow at the bottom.
    EXPECT_TRUE(Shows(image, OnScreen(chart, {(t.left + t.right) / 2, t.top + 8}, zt), plot::clFuchsia));
    EXPECT_FALSE(Shows(image, OnScreen(chart, {t.left + 3, t.bottom - 5}, zt), plot::clFuchsia));
    chart.RemoveAllSeries();
  }
}

TEST(ExtendedRender, ADivisionByZeroIsAGapInTheLine) {
  TChart chart;
  Look(chart, "A / B", false);
  plot::TLineSeries a, b, ratio;
  for (plot::TLineSeries* s : {&a, &b, &ratio}) s->SetParentChart(&chart);
  a.SetActive(false);
  b.SetActive(false);
  // 6 over 4, 2, 0, 2, 4: 1.5, 3, no value, 3, 1.5.
  const double divisors[] = {4, 2, 0, 2, 4};
  for (int x = 0; x <= 4; ++x) {
    a.AddPointXY(x, 6);
    b.AddPointXY(x, divisors[x]);
  }
  ratio.SetSeriesColor(plot::clRed);
  ratio.SetFunction(std::make_unique<plot::TDivideFunction>());
  ratio.SetDataSource(&a);
  ratio.AddDataSource(&b);
  const QImage image = Render(chart, "extended_divide_gap");
  auto redIn = [&](int fromX, int toX) {
    int count = 0;
    for (int x = fromX; x <= toX; ++x) {
      for (int y = 0; y < image.height(); ++y) count += Shows(image, {x, y}, plot::clRed) ? 1 : 0;
    }
    return count;
  };
  EXPECT_GT(redIn(ratio.CalcXPos(0) + 2, ratio.CalcXPos(1) - 2), 50);
  EXPECT_GT(redIn(ratio.CalcXPos(3) + 2, ratio.CalcXPos(4) - 2), 50);
  // No line into or out of the null point.
  EXPECT_EQ(redIn(ratio.CalcXPos(1) + 2, ratio.CalcXPos(3) - 2), 0);
  chart.RemoveAllSeries();
}

}  // namespace
