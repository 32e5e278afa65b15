#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

#include <cmath>
#include <string>

#include "plot/axes/chart_axis.h"
#include "plot/chart/chart.h"
#include "platform/qt_gui/qt_pictures.h"
#include "runtime/date_time.h"
#include "runtime/text_format.h"
#include "plot/series/bar_series.h"
#include "plot/series/line_series.h"
#include "plot/series/series_marks.h"

// Whole charts with line, point and bar series rendered through the QPainter
// canvas; each picture is saved as <build>/test-output/<name>.png for a
// person to look at.

namespace {

using plot::TBarSeries;
using plot::TChart;
using plot::TLineSeries;

QImage Render(TChart& chart, int width, int height, const char* name = nullptr) {
  platform::QtBitmap target(width, height, false);
  chart.SetBounds(0, 0, width, height);
  chart.Canvas().SetBuffered(false);
  chart.Draw(target.Canvas(), {0, 0, width, height});
  QImage image = target.Image().copy();
  if (name != nullptr) {
    const QString dir = QStringLiteral(QUORVEL_TEST_OUTPUT_DIR);
    QDir().mkpath(dir);
    EXPECT_TRUE(image.save(dir + "/" + name + ".png"));
  }
  return image;
}

// The logger's chart: white, no legend, flat, dates on the bottom axis.
void LoggerLook(TChart& chart, const std::string& title) {
  chart.SetBackColor(plot::clWhite);
  chart.BackWall().Brush().SetStyle(platform::BrushStyle::Clear);
  chart.Title().Text().Clear();
  chart.Title().Text().Add(title);
  chart.BottomAxis().SetDateTimeFormat("dd/MM/yy hh:mm");
  chart.BottomAxis().SetLabelsAngle(90);
  chart.Legend().SetVisible(false);
  chart.SetView3D(false);
  chart.SetBevelOuter(plot::bvNone);
}

int CountColour(const QImage& image, QRgb colour, const QRect& area) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) count += image.pixel(x, y) == colour ? 1 : 0;
  }
  return count;
}

QRect PlotArea(const TChart& chart) {
  const plot::Rect& r = chart.ChartRect();
  return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

TEST(SeriesRender, TemperatureLogOf2048LabelledPoints) {
  TChart chart;
  LoggerLook(chart, "Temperature and Time");
  TLineSeries line;
  line.SetParentChart(&chart);
  line.SetSeriesColor(plot::clRed);
  line.XValues().SetDateTime(true);
  const runtime::DateTime start = runtime::EncodeDate(2024, 3, 1) + runtime::EncodeTime(8, 0, 0, 0);
  for (int i = 0; i < 2048; ++i) {
    const double v = 20 + 5 * std::sin(i / 50.0);
    line.AddPointY(v, runtime::FormatDateTime("dd/mm/yy hh:mm  ", start + i * 15 / 1440.0));
  }
  const QImage image = Render(chart, 352, 334, "series_line2048_352x334");
  // The line is red and drawn only inside the plotting area.
  const QRect area = PlotArea(chart);
  EXPECT_GT(CountColour(image, qRgb(255, 0, 0), area), 300);
  EXPECT_EQ(CountColour(image, qRgb(255, 0, 0), QRect(0, 0, 352, area.top())), 0);
  // A sine of 2048 points over 300 columns reaches its crest and trough.
  bool top = false, bottom = false;
  for (int x = area.left(); x <= area.right(); ++x) {
    top = top || image.pixel(x, area.top() + 1) == qRgb(255, 0, 0);
    bottom = bottom || image.pixel(x, area.bottom() - 1) == qRgb(255, 0, 0);
  }
  EXPECT_TRUE(top);
  EXPECT_TRUE(bottom);
}

TEST(SeriesRender, HistogramOf64LabelledBars) {
  TChart chart;
  LoggerLook(chart, "Temperature Counts");
  chart.BottomAxis().SetDateTimeFormat("");
  TBarSeries bars;
  bars.SetParentChart(&chart);
  bars.SetSeriesColor(plot::clRed);
  bars.Marks().SetVisible(false);
  for (int k = 0; k < 64; ++k) {
    const int t = -40 + 2 * k;
    const std::string label = runtime::Format("%4.1d", {std::int64_t{t}}) + " to " + runtime::FormatFloat("0.0", t + 1.5);
    bars.AddPointY(std::round(400 * std::exp(-(k - 30) * (k - 30) / 80.0)), label);
  }
  const QImage image = Render(chart, 640, 400, "series_bar64_640x400");
  const QRect area = PlotArea(chart);
  EXPECT_GT(CountColour(image, qRgb(255, 0, 0), area), 2000);
  // The tallest bar (k = 30) reaches near the top of the plotting area.
  const int x = bars.CalcXPos(30) + bars.BarWidth() / 2;
  EXPECT_EQ(image.pixel(x, bars.CalcYPos(30) + 2), qRgb(255, 0, 0));
}

TEST(SeriesRender, ThreeDBarsWithMarks) {
  TChart chart;
  chart.Title().Text().Add("3D bars");
  chart.SetView3D(true);
  TBarSeries a, b;
  a.SetParentChart(&chart);
  b.SetParentChart(&chart);
  a.SetBarStyle(plot::bsRectangle);
  b.SetBarStyle(plot::bsCilinder);
  for (int i = 0; i < 6; ++i) {
    const char label[] = {'a', static_cast<char>('0' + i), '\0'};
    a.AddPointY(10 + 7 * ((i * 5) % 6), label);
    b.AddPointY(12 + 5 * ((i * 3) % 5));
  }
  b.Marks().SetStyle(plot::smsValue);
  const QImage image = Render(chart, 500, 360, "series_bar3d_marks");
  // The light-yellow mark boxes are there.
  EXPECT_GT(CountColour(image, qRgb(255, 255, 128), QRect(0, 0, 500, 360)), 200);
}

TEST(SeriesRender, StackedAndSideBySideBars) {
  for (plot::TMultiBar mode : {plot::mbSide, plot::mbStacked, plot::mbStacked100}) {
    TChart chart;
    chart.SetView3D(false);
    TBarSeries a, b, c;
    for (TBarSeries* s : {&a, &b, &c}) {
      s->SetParentChart(&chart);
      s->Marks().SetVisible(false);
    }
    for (int i = 0; i < 5; ++i) {
      a.AddPointY(3 + i);
      b.AddPointY(6 - i);
      c.AddPointY(2 + (i % 3));
    }
    a.SetMultiBar(mode);
    const char* names[] = {"", "series_bars_side", "series_bars_stacked", "series_bars_stacked100"};
    const QImage image = Render(chart, 420, 300, names[mode]);
    // Each series' colour shows in the plotting area.
    const QRect area = PlotArea(chart);
    for (TBarSeries* s : {&a, &b, &c}) {
      const plot::Color col = plot::ColorToRGB(s->SeriesColor());
      EXPECT_GT(CountColour(image, qRgb(platform::RedOf(col), platform::GreenOf(col), platform::BlueOf(col)), area), 100);
    }
  }
}

TEST(SeriesRender, EveryPointerStyleIn2DAnd3D) {
  for (bool is3D : {false, true}) {
    TChart chart;
    chart.SetView3D(is3D);
    chart.Legend().SetVisible(false);
    plot::TPointSeries points[9];
    for (int style = 0; style < 9; ++style) {
      points[style].SetParentChart(&chart);
      points[style].Pointer().SetStyle(static_cast<plot::TSeriesPointerStyle>(style));
      points[style].Pointer().SetHorizSize(6);
      points[style].Pointer().SetVertSize(6);
      for (int i = 0; i < 3; ++i) points[style].AddPointXY(i, style);
    }
    Render(chart, 400, 420, is3D ? "series_pointers_3d" : "series_pointers_2d");
  }
}

TEST(SeriesRender, EveryBarStyleIn2DAnd3D) {
  for (bool is3D : {false, true}) {
    TChart chart;
    chart.SetView3D(is3D);
    chart.Legend().SetVisible(false);
    TBarSeries bars;
    bars.SetParentChart(&chart);
    bars.SetColorEachPoint(true);
    bars.Marks().SetVisible(false);
    const char* names[] = {"Rectangle", "Pyramid", "InvPyramid", "Cilinder", "Ellipse", "Arrow", "RectGradient"};
    for (int i = 0; i < 7; ++i) bars.AddPointY(4 + i, names[i]);
    bars.OnGetBarStyle = [](plot::TCustomBarSeries&, int index, plot::TBarStyle& style) {
      style = static_cast<plot::TBarStyle>(index);
    };
    const QImage image = Render(chart, 560, 340, is3D ? "series_bar_styles_3d" : "series_bar_styles_2d");
    // The gradient bar runs from white at its foot to its colour at its top.
    const int left = bars.CalcXPos(6), top = bars.CalcYPos(6), bottom = bars.OriginPixel(6);
    if (!is3D) {
      const plot::Color colour = plot::ColorToRGB(bars.PointColor(6));
      const QColor head = image.pixel(left + bars.BarWidth() / 2, top + 2);
      EXPECT_NEAR(head.red(), platform::RedOf(colour), 4);
      EXPECT_NEAR(head.green(), platform::GreenOf(colour), 4);
      EXPECT_NEAR(head.blue(), platform::BlueOf(colour), 4);
      const QColor foot = image.pixel(left + bars.BarWidth() / 2, bottom - 2);
      EXPECT_GT(foot.lightness(), 200);
    }
  }
}

// A line that always takes the per-point steps, for comparison.
class ExactLine : public TLineSeries {
 public:
  void DrawAllValues() override { TChartSeries::DrawAllValues(); }
};

// Dense lines are thinned per pixel column; the picture must not change.
TEST(SeriesRender, ThinnedDenseLineLooksTheSameAsEveryPointDrawn) {
  struct Case {
    const char* name;
    bool stairs;
    int penWidth;
    bool gaps;
    bool plateaus;
    bool steps;
  } cases[] = {{"plain", false, 1, false, false, false},   {"stairs", true, 1, false, false, false},
               {"wide", false, 3, false, false, false},    {"gaps", false, 1, true, false, false},
               {"plateaus", false, 1, false, true, false}, {"steps", false, 1, false, false, true}};
  for (const Case& c : cases) {
    QImage pictures[2];
    for (int exact = 0; exact < 2; ++exact) {
      TChart chart;
      chart.SetView3D(false);
      chart.Legend().SetVisible(false);
      TLineSeries thinned;
      ExactLine every;
      TLineSeries& line = exact == 1 ? every : thinned;
      line.SetParentChart(&chart);
      line.SetStairs(c.stairs);
      line.LinePen().SetWidth(c.penWidth);
      // 20,000 noisy points on about 330 columns, with runs of another
      // colour and gaps several columns wide.
      unsigned seed = 12345;
      for (int i = 0; i < 20000; ++i) {
        seed = seed * 1103515245u + 12345u;
        const double noise = ((seed >> 16) % 1000) / 1000.0;
        const plot::Color colour = (i / 700) % 5 == 1 ? plot::clBlue : plot::clAutoColor;
        const double y = std::sin(i / 900.0) * 50 + noise * 20;
        if (c.gaps && i % 3000 < 400) {
          line.AddNullPoint();
        } else if (c.steps) {
          // Flat stretches ending in a jump, each followed by a null point:
          // whether a run's last pixel is covered shows.
          if (i % 61 == 0) {
            line.AddNullPoint();
          } else {
            line.AddPointY((i % 61 < 40 ? 0 : 30) + 20 * std::sin(i / 3000.0), {}, colour);
          }
        } else if (c.plateaus) {
          // Few distinct values: many neighbours share a pixel.
          line.AddPointY(std::round(y / 8) * 8, {}, colour);
        } else {
          line.AddPointY(y, {}, colour);
        }
      }
      // Zoomed a little, so the line also starts at the left edge.
      chart.BottomAxis().SetRange(300.5, 19000);
      std::string name = "series_thin_";
      name += c.name;
      if (exact == 1) name += "_exact";
      pictures[exact] = Render(chart, 400, 300, name.c_str());
    }
    int differences = 0;
    for (int y = 0; y < 300; ++y) {
      for (int x = 0; x < 400; ++x) differences += pictures[0].pixel(x, y) != pictures[1].pixel(x, y) ? 1 : 0;
    }
    EXPECT_EQ(differences, 0) << c.name;
  }
}

}  // namespace
