#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

#include <cmath>
#include <string>
#include <vector>

#include "platform/qt_gui/qt_pictures.h"
#include "plot/axes/chart_axis.h"
#include "plot/chart/chart.h"
#include "plot/series/area_series.h"
#include "plot/series/bar_series.h"
#include "plot/series/fast_line_series.h"
#include "plot/series/horiz_bar_series.h"
#include "plot/series/line_series.h"
#include "plot/series/pie_series.h"
#include "plot/series/series_marks.h"

// Area, fast line, horizontal bar and pie series rendered through the
// QPainter canvas in 2D and 3D; each picture is saved as
// <build>/test-output/<name>.png for a person to look at.

namespace {

using plot::TChart;

QImage Render(TChart& chart, int width, int height, const std::string& name) {
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

QRgb Rgb(plot::Color colour) {
  const plot::Color c = plot::ColorToRGB(colour);
  return qRgb(platform::RedOf(c), platform::GreenOf(c), platform::BlueOf(c));
}

int CountColour(const QImage& image, QRgb colour, const QRect& area) {
  int count = 0;
  for (int y = std::max(0, area.top()); y <= std::min(image.height() - 1, area.bottom()); ++y) {
    for (int x = std::max(0, area.left()); x <= std::min(image.width() - 1, area.right()); ++x) {
      count += image.pixel(x, y) == colour ? 1 : 0;
    }
  }
  return count;
}

QRect PlotArea(const TChart& chart) {
  const plot::Rect& r = chart.ChartRect();
  return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void Titled(TChart& chart, const std::string& title, bool is3D) {
  chart.Title().Text().Clear();
  chart.Title().Text().Add(title);
  chart.SetView3D(is3D);
}

TEST(StandardKindsRender, StackedAreasFillBetweenTheirEdges) {
  for (bool is3D : {false, true}) {
    TChart chart;
    Titled(chart, "Stacked areas", is3D);
    plot::TAreaSeries lower, upper;
    lower.SetParentChart(&chart);
    upper.SetParentChart(&chart);
    lower.SetTitle("Lower");
    upper.SetTitle("Upper");
    for (int i = 0; i < 12; ++i) {
      lower.AddPointY(20 + 8 * std::sin(i / 2.0));
      upper.AddPointY(10 + 5 * std::cos(i / 3.0));
    }
    lower.SetMultiArea(plot::maStacked);
    const QImage image = Render(chart, 500, 340, is3D ? "kinds_area_stacked_3d" : "kinds_area_stacked_2d");
    if (is3D) continue;
    // Between the lower series' top and the upper one's lies the upper
    // colour; below the lower top the lower colour.
    const int x = lower.CalcXPos(5) + 3;
    const int lowerTop = lower.CalcYPos(5), upperTop = upper.CalcYPos(5);
    ASSERT_LT(upperTop + 4, lowerTop - 4);
    EXPECT_EQ(image.pixel(x, (upperTop + lowerTop) / 2), Rgb(upper.SeriesColor()));
    EXPECT_EQ(image.pixel(x, lowerTop + 6), Rgb(lower.SeriesColor()));
    // Above the stack the back wall's white shows.
    EXPECT_NE(image.pixel(x, upperTop - 6), Rgb(upper.SeriesColor()));
  }
}

TEST(StandardKindsRender, AreaStairsWithOriginAndNullGap) {
  TChart chart;
  Titled(chart, "Area: stairs from an origin of 10, a null point", false);
  chart.Legend().SetVisible(false);
  plot::TAreaSeries area;
  area.SetParentChart(&chart);
  area.SetStairs(true);
  area.SetUseYOrigin(true);
  area.SetYOrigin(10);
  area.AreaLinesPen().SetVisible(true);
  const double values[] = {14, 18, 7, 12, 16, 0, 13, 5, 11};
  for (int i = 0; i < 9; ++i) {
    if (i == 5) {
      area.AddNullPoint();
    } else {
      area.AddPointY(values[i]);
    }
  }
  const QImage image = Render(chart, 500, 340, "kinds_area_stairs_origin");
  // The value 7 hangs below the origin of 10: the fill runs down to it.
  const int origin = chart.LeftAxis().ValueToPixel(10);
  const int x = area.CalcXPos(2) + 4;
  EXPECT_EQ(image.pixel(x, (origin + area.CalcYPos(2)) / 2), Rgb(area.SeriesColor()));
  // The gap around the null point holds no fill.
  const int gapX = (area.CalcXPos(4) + area.CalcXPos(6)) / 2;
  EXPECT_NE(image.pixel(gapX, origin - 3), Rgb(area.SeriesColor()));
}

TEST(StandardKindsRender, FastLineOfAMillionPointsWithAGap) {
  for (bool is3D : {false, true}) {
    TChart chart;
    Titled(chart, "Fast line, 1,000,000 points", is3D);
    chart.Legend().SetVisible(false);
    plot::TFastLineSeries line;
    line.SetParentChart(&chart);
    line.SetSeriesColor(plot::clBlue);
    for (int i = 0; i < 1000000; ++i) {
      if (i >= 600000 && i < 650000) {
        line.AddNullPointXY(i, 0);
      } else {
        line.AddPointY(20 + 5 * std::sin(i / 40000.0) + ((static_cast<long long>(i) * 7919) % 100) / 50.0);
      }
    }
    const QImage image = Render(chart, 640, 400, is3D ? "kinds_fastline_1m_3d" : "kinds_fastline_1m_2d");
    if (is3D) continue;
    const QRect area = PlotArea(chart);
    EXPECT_GT(CountColour(image, qRgb(0, 0, 255), area), 1000);
    // No blue in the columns of the null stretch.
    const int gapLeft = chart.BottomAxis().ValueToPixel(605000), gapRight = chart.BottomAxis().ValueToPixel(645000);
    EXPECT_EQ(CountColour(image, qRgb(0, 0, 255), QRect(gapLeft, area.top(), gapRight - gapLeft, area.height())), 0);
  }
}

// A dense thin line fills its columns instead of stepping along them: the
// pixels must be those of the polyline through every point, as the canvas
// draws it (each segment without its end pixel, the last point left out).
TEST(StandardKindsRender, DenseFastLineSetsThePixelsOfEverySegment) {
  auto render = [](bool reference) {
    TChart chart;
    chart.SetView3D(false);
    chart.Legend().SetVisible(false);
    // Nothing drawn over the line, so the reference can be drawn last.
    chart.SetAxisVisible(false);
    plot::TFastLineSeries line;
    line.SetParentChart(&chart);
    line.SetSeriesColor(plot::clBlue);
    // A saw with spikes, ending on a fall to a new low.
    for (int i = 0; i < 6000; ++i) line.AddPointY((i % 37) + (i % 611 == 0 ? 80 : 0));
    line.AddPointXY(5999.5, -20);
    line.LinePen().SetVisible(!reference);
    // Inside the frame, which is drawn over the plot's edges.
    chart.LeftAxis().SetRange(-30, 130);
    chart.BottomAxis().SetRange(-100, 6100);
    platform::QtBitmap target(320, 300, false);
    chart.SetBounds(0, 0, 320, 300);
    chart.Canvas().SetBuffered(false);
    chart.Draw(target.Canvas(), {0, 0, 320, 300});
    if (reference) {
      std::vector<plot::Point> all;
      for (int i = 0; i < line.PointCount(); ++i) all.push_back({line.CalcXPos(i), line.CalcYPos(i)});
      platform::DeviceCanvas& canvas = target.Canvas();
      canvas.Pen() = platform::Pen{};
      canvas.Pen().color = plot::clBlue;
      canvas.Pen().width = 1;
      canvas.Polyline(all);
    }
    return target.Image().copy();
  };
  const QImage fast = render(false), reference = render(true);
  EXPECT_GT(CountColour(fast, qRgb(0, 0, 255), fast.rect()), 3000);
  EXPECT_TRUE(fast == reference);
}

TEST(StandardKindsRender, HorizontalBarsSideBySideWithMarks) {
  for (bool is3D : {false, true}) {
    TChart chart;
    Titled(chart, "Horizontal bars", is3D);
    plot::THorizBarSeries first, second;
    first.SetParentChart(&chart);
    second.SetParentChart(&chart);
    first.SetTitle("2023");
    second.SetTitle("2024");
    const char* labels[] = {"North", "East", "South", "West"};
    for (int i = 0; i < 4; ++i) {
      first.AddPoint(30 + 17 * i, labels[i]);
      second.AddPoint(80 - 15 * i, labels[i]);
    }
    second.Marks().SetStyle(plot::smsValue);
    const QImage image = Render(chart, 520, 360, is3D ? "kinds_hbar_3d" : "kinds_hbar_2d");
    if (is3D) continue;
    // Bar 3 of the first series runs right from the left axis.
    const int y = first.CalcYPos(3) + first.BarWidth() / 2;
    EXPECT_EQ(image.pixel((first.OriginPixel(3) + first.CalcXPos(3)) / 2, y), Rgb(first.SeriesColor()));
    // The mark boxes are there.
    EXPECT_GT(CountColour(image, qRgb(255, 255, 128), QRect(0, 0, 520, 360)), 200);
  }
}

// A gradient bar is white at its bottom and its colour at its top, whichever
// way it grows; a horizontal one is white where it starts and its colour
// where it ends, right or left.
TEST(StandardKindsRender, GradientBarsRunFromWhiteAtTheOriginToTheirColour) {
  auto lightness = [](QRgb c) { return qRed(c) + qGreen(c) + qBlue(c); };
  // Three pixels inside the bar from its origin, and from its value end.
  auto expectWhiteToColour = [&](const QImage& image, bool vertical, int across, int origin, int end,
                                 plot::Color colour, const char* which) {
    const int inward = end > origin ? 3 : -3;
    const QPoint nearOrigin = vertical ? QPoint(across, origin + inward) : QPoint(origin + inward, across);
    const QPoint nearEnd = vertical ? QPoint(across, end - inward) : QPoint(end - inward, across);
    const QRgb start = image.pixel(nearOrigin), finish = image.pixel(nearEnd);
    EXPECT_GT(lightness(start), 3 * 255 - 60) << which;
    EXPECT_LT(std::abs(lightness(finish) - lightness(Rgb(colour))), 60) << which;
  };
  {
    TChart chart;
    Titled(chart, "Gradient bars", false);
    plot::TBarSeries bars;
    bars.SetParentChart(&chart);
    bars.SetBarStyle(plot::bsRectGradient);
    bars.SetSeriesColor(plot::clRed);
    bars.AddPointY(60, "up");
    bars.AddPointY(-40, "down");
    const QImage image = Render(chart, 400, 300, "kinds_bar_gradient_2d");
    for (int i = 0; i < 2; ++i) {
      const int x = bars.CalcXPos(i) + bars.BarWidth() / 2;
      const int bottom = std::max(bars.OriginPixel(i), bars.CalcYPos(i));
      const int top = std::min(bars.OriginPixel(i), bars.CalcYPos(i));
      expectWhiteToColour(image, true, x, bottom, top, plot::clRed, i == 0 ? "up" : "down");
    }
  }
  {
    TChart chart;
    Titled(chart, "Gradient horizontal bars", false);
    plot::THorizBarSeries bars;
    bars.SetParentChart(&chart);
    bars.SetBarStyle(plot::bsRectGradient);
    bars.SetSeriesColor(plot::clBlue);
    bars.AddPoint(60, "right");
    bars.AddPoint(-40, "left");
    const QImage image = Render(chart, 400, 300, "kinds_hbar_gradient_2d");
    for (int i = 0; i < 2; ++i) {
      const int y = bars.CalcYPos(i) + bars.BarWidth() / 2;
      expectWhiteToColour(image, false, y, bars.OriginPixel(i), bars.CalcXPos(i), plot::clBlue,
                          i == 0 ? "right" : "left");
    }
  }
}

TEST(StandardKindsRender, PieWithAnExplodedSliceAndLegend) {
  for (bool is3D : {false, true}) {
    TChart chart;
    Titled(chart, "Pie", is3D);
    plot::TPieSeries pie;
    pie.SetParentChart(&chart);
    const char* labels[] = {"Cars", "Vans", "Trucks", "Buses", "Bikes", "Trams"};
    const double values[] = {35, 20, 15, 12, 10, 8};
    for (int i = 0; i < 6; ++i) pie.AddPie(values[i], labels[i]);
    pie.SetExplodedSlice(2, 20);
    const QImage image = Render(chart, 480, 360, is3D ? "kinds_pie_3d" : "kinds_pie_2d");
    // Each slice shows its colour somewhere inside the pie's box.
    const plot::TPieSeries::TPieLayout& l = pie.Layout();
    const QRect box(l.centerX - l.radiusX - l.radiusX / 4, l.centerY - l.radiusY - l.radiusY / 4,
                    2 * l.radiusX + l.radiusX / 2, 2 * l.radiusY + l.radiusY / 2 + l.thickness);
    for (int i = 0; i < 6; ++i) EXPECT_GT(CountColour(image, Rgb(pie.PointColor(i)), box), 50) << i;
    if (!is3D) continue;
    // The rim below the front slices is the darker shade of their colour
    // (the disc lies at the series' middle depth).
    const plot::Point top = chart.Canvas().ProjectPoint(l.centerX, l.centerY + l.radiusY - 2, pie.MiddleZ());
    const plot::Point rim = chart.Canvas().ProjectPoint(l.centerX, l.centerY + l.radiusY + l.thickness / 2, pie.MiddleZ());
    const int front = pie.ClickedPoint(top.x, top.y);
    ASSERT_GE(front, 0);
    EXPECT_EQ(pie.ClickedPoint(rim.x, rim.y), front);
    EXPECT_EQ(image.pixel(rim.x, rim.y), Rgb(plot::Darken(plot::ColorToRGB(pie.PointColor(front)), 32)));
  }
}

}  // namespace
