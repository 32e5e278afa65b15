// Whole charts painted the quick way against the same charts painted the
// plain way, pixel for pixel: the canvas's shortcuts on and off, dense lines
// thinned and drawn point by point, point labels passed over before they
// are read and read one by one, caches warm from earlier paints and cold.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <functional>
#include <memory>
#include <string>

#include "plot/axes/chart_axis.h"
#include "plot/chart/chart.h"
#include "plot/chart/chart_palette.h"
#include "platform/qt_gui/qt_device_canvas.h"
#include "runtime/date_time.h"
#include "runtime/format_settings.h"
#include "plot/series/bar_series.h"
#include "plot/series/line_series.h"
#include "plot/series/series_marks.h"

namespace {

using plot::TBarSeries;
using plot::TChart;
using plot::TLineSeries;

struct Way {
  bool shortcuts = true;  // the canvas writes into the image and copies label images
};

QImage Paint(TChart& chart, QSize size, Way way, QImage::Format format = QImage::Format_ARGB32_Premultiplied) {
  QImage image(size, format);
  image.fill(Qt::white);
  QPainter painter(&image);
  platform::QtDeviceCanvas canvas(&painter);
  canvas.SetFastPaths(way.shortcuts);
  chart.SetBounds(0, 0, size.width(), size.height());
  chart.Canvas().SetBuffered(false);
  chart.Draw(canvas, {0, 0, size.width(), size.height()});
  canvas.End();
  return image;
}

int DifferentPixels(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return -1;
  int n = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
  }
  return n;
}

void Save(const QImage& image, const std::string& name) {
  const QString dir = QStringLiteral(QUORVEL_TEST_OUTPUT_DIR);
  QDir().mkpath(dir);
  EXPECT_TRUE(image.save(dir + "/" + QString::fromStdString(name) + ".png"));
}

// A line drawn point by point whatever its density.
class EveryPointLine : public TLineSeries {
 public:
  void DrawAllValues() override { plot::TChartSeries::DrawAllValues(); }
};

void LoggerLook(TChart& chart) {
  chart.SetColor(plot::clWhite);
  chart.SetBackColor(plot::clWhite);
  chart.SetBevelOuter(plot::bvNone);
  chart.Legend().SetVisible(false);
  chart.SetView3D(false);
  chart.Title().Text().Clear();
  chart.Title().Text().Add("Temperature");
}

// The recorder's log: 2048 temperatures labelled with their sample times,
// the labels turned to read upwards.
void FillLog(TChart& chart, TLineSeries& line) {
  chart.BottomAxis().SetDateTimeFormat("dd/MM/yy hh:mm");
  chart.BottomAxis().SetLabelsAngle(90);
  line.SetSeriesColor(plot::clRed);
  line.XValues().SetDateTime(true);
  const runtime::DateTime start = runtime::EncodeDate(2024, 3, 1) + runtime::EncodeTime(8, 0, 0, 0);
  for (int i = 0; i < 2048; ++i) {
    line.AddPointY(20 + 5 * std::sin(i / 50.0) + (i % 7) * 0.1,
                   runtime::FormatDateTime("dd/mm/yy hh:mm", start + i * 15 / 1440.0));
  }
}

// The histogram: 64 bars labelled with their temperature bands.
void FillHistogram(TBarSeries& bars) {
  bars.SetSeriesColor(plot::clRed);
  bars.Marks().SetVisible(false);
  for (int k = 0; k < 64; ++k) {
    const int t = -40 + 2 * k;
    bars.AddPointY(std::round(400 * std::exp(-(k - 30) * (k - 30) / 80.0)),
                   std::to_string(t) + " to " + std::to_string(t + 1) + ".5");
  }
}

void FillDense(TLineSeries& line, int count) {
  line.SetSeriesColor(plot::clBlue);
  for (int i = 0; i < count; ++i) line.AddPointY(20 + 5 * std::sin(i / 50.0) + ((i * 7919) % 13) * 0.05);
}

class QuickPaint : public ::testing::Test {
 protected:
  void SetUp() override { runtime::SetFormatSettings(runtime::FormatSettings{}); }
};

// The program's two charts and dense lines, at the sizes the window and an
// export use, zoomed and not: the quick way (shortcuts, thinning, labels
// passed over) against the plain way (Qt's own primitives, every point
// drawn, every label read through a label event that changes nothing).
TEST_F(QuickPaint, TheProgramsChartsLookTheSameEitherWay) {
  struct Case {
    std::string name;
    QSize size;
    std::function<std::unique_ptr<plot::TChartSeries>(TChart&, bool plain)> fill;
    double zoomFrom = 0, zoomTo = 0;
  };
  auto log = [](TChart& chart, bool plain) -> std::unique_ptr<plot::TChartSeries> {
    auto line = plain ? std::make_unique<EveryPointLine>() : std::make_unique<TLineSeries>();
    line->SetParentChart(&chart);
    FillLog(chart, *line);
    return line;
  };
  auto histogram = [](TChart& chart, bool) -> std::unique_ptr<plot::TChartSeries> {
    auto bars = std::make_unique<TBarSeries>();
    bars->SetParentChart(&chart);
    FillHistogram(*bars);
    return bars;
  };
  auto dense = [](TChart& chart, bool plain) -> std::unique_ptr<plot::TChartSeries> {
    auto line = plain ? std::make_unique<EveryPointLine>() : std::make_unique<TLineSeries>();
    line->SetParentChart(&chart);
    FillDense(*line, 60000);
    return line;
  };
  const Case cases[] = {
      {"log_small", {352, 334}, log},
      {"log_large", {1100, 700}, log},
      {"log_zoomed", {700, 500}, log, 300.5, 420},
      {"histogram_small", {352, 334}, histogram},
      {"histogram_large", {1100, 700}, histogram},
      {"dense", {900, 500}, dense},
      {"dense_zoomed", {900, 500}, dense, 20000.5, 27000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QImage pictures[2];
    for (int plain = 0; plain < 2; ++plain) {
      TChart chart;
      LoggerLook(chart);
      const std::unique_ptr<plot::TChartSeries> series = c.fill(chart, plain == 1);
      if (plain == 1) chart.OnGetAxisLabel = [](plot::TCustomChartAxis&, plot::TChartSeries*, int, std::string&) {};
      if (c.zoomTo > c.zoomFrom) chart.BottomAxis().SetRange(c.zoomFrom, c.zoomTo);
      // Painted twice: the second time with whatever the first one kept.
      Paint(chart, c.size, Way{plain == 0});
      pictures[plain] = Paint(chart, c.size, Way{plain == 0});
    }
    Save(pictures[0], "quick_paint_" + c.name);
    EXPECT_EQ(DifferentPixels(pictures[0], pictures[1]), 0);
  }
}

// Dense lines in the series colour take the quickest pass (a column's
// extremes only, column fills in one call): shapes that test its corners.
TEST_F(QuickPaint, DenseLinesInOneColourMatchEveryPointDrawn) {
  struct Case {
    const char* name;
    std::function<void(TLineSeries&)> fill;
    std::function<void(TChart&)> setUp;
  };
  auto wave = [](TLineSeries& line) { FillDense(line, 30000); };
  const Case cases[] = {
      {"wave", wave, nullptr},
      {"plateaus", [](TLineSeries& line) {
         for (int i = 0; i < 30000; ++i) line.AddPointY(std::round(std::sin(i / 700.0) * 4) * 10);
       }, nullptr},
      // Spikes far beyond the axis range: columns whose pixels leave the
      // drawable range are gathered point by point.
      {"spikes", [](TLineSeries& line) {
         for (int i = 0; i < 30000; ++i) line.AddPointY(i % 997 == 0 ? 1e9 : std::sin(i / 300.0));
       }, [](TChart& chart) { chart.LeftAxis().SetRange(-2, 2); }},
      // Points bunched and sparse by turns: the guess of a column's length
      // from the one before misses often.
      {"bunched", [](TLineSeries& line) {
         double x = 0;
         for (int i = 0; i < 30000; ++i) {
           x += (i / 500) % 3 == 0 ? 0.01 : 1.7;
           line.AddPointXY(x, std::cos(i / 90.0));
         }
       }, nullptr},
      {"inverted", wave, [](TChart& chart) { chart.LeftAxis().SetInverted(true); }},
      {"logarithmic", wave, [](TChart& chart) { chart.LeftAxis().SetLogarithmic(true); }},
      // X in no order: columns are found by walking.
      {"unordered", [](TLineSeries& line) {
         line.XValues().SetOrder(plot::loNone);
         for (int i = 0; i < 20000; ++i) line.AddPointXY((i * 7) % 20000 / 3.0, std::sin(i / 40.0));
       }, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QImage pictures[2];
    for (int plain = 0; plain < 2; ++plain) {
      TChart chart;
      LoggerLook(chart);
      std::unique_ptr<TLineSeries> line = plain ? std::make_unique<EveryPointLine>() : std::make_unique<TLineSeries>();
      line->SetParentChart(&chart);
      line->SetSeriesColor(plot::clGreen);
      c.fill(*line);
      if (c.setUp) c.setUp(chart);
      pictures[plain] = Paint(chart, {640, 400}, Way{true});
    }
    Save(pictures[0], std::string("quick_paint_dense_") + c.name);
    EXPECT_EQ(DifferentPixels(pictures[0], pictures[1]), 0);
  }
}

// Point labels: which ones are drawn depends on the room each claims. A
// label event (one that changes nothing) makes the axis read every label;
// without one it passes over those that cannot fit whatever they say.
TEST_F(QuickPaint, PointLabelsPassedOverUnreadLandWhereReadOnesDo) {
  struct Case {
    const char* name;
    int angle;
    int separation;
    bool inverted;
    bool multiLine;
    bool tickEverywhere;
  };
  const Case cases[] = {
      {"upwards", 90, 10, false, false, false},     {"level", 0, 10, false, false, false},
      {"downwards", 270, 10, false, false, false},  {"no separation", 90, 0, false, false, false},
      {"wide separation", 0, 250, false, false, false}, {"inverted", 90, 10, true, false, false},
      {"two lines", 90, 10, false, true, false},   {"ticks everywhere", 0, 10, false, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QImage pictures[2];
    for (int read = 0; read < 2; ++read) {
      TChart chart;
      LoggerLook(chart);
      TLineSeries line;
      line.SetParentChart(&chart);
      for (int i = 0; i < 900; ++i) {
        std::string label = std::to_string(i * 37 % 1000);
        label.insert(label.begin(), 'p');
        // Labels of different lengths and line counts.
        if (i % 5 == 0) label += "-long-label";
        if (c.multiLine && i % 3 == 0) label += "\rsecond";
        line.AddPointY(std::sin(i / 20.0), label);
      }
      plot::TChartAxis& axis = chart.BottomAxis();
      axis.SetLabelsAngle(c.angle);
      axis.SetLabelsSeparation(c.separation);
      axis.SetInverted(c.inverted);
      axis.SetTickOnLabelsOnly(!c.tickEverywhere);
      if (read == 1) chart.OnGetAxisLabel = [](plot::TCustomChartAxis&, plot::TChartSeries*, int, std::string&) {};
      pictures[read] = Paint(chart, {800, 360}, Way{true});
    }
    EXPECT_EQ(DifferentPixels(pictures[0], pictures[1]), 0);
  }
}

// What a canvas and a chart keep from one paint to the next (text widths,
// label images, the room of the labels) follows every change: a chart
// changed after painting looks like a new chart painted once.
TEST_F(QuickPaint, WhatIsKeptBetweenPaintsFollowsChanges) {
  auto build = [](TChart& chart, TBarSeries& bars) {
    LoggerLook(chart);
    bars.SetParentChart(&chart);
    FillHistogram(bars);
  };
  auto change = [](TChart& chart, TBarSeries& bars) {
    for (int k = 0; k < 64; k += 3) bars.SetPointLabel(k, std::to_string(k * 11).append(" band"));
    chart.BottomAxis().LabelsFont().SetSize(11);
    chart.BottomAxis().LabelsFont().SetColor(plot::clNavy);
    chart.LeftAxis().LabelsFont().SetStyle(platform::fsBold);
    chart.Title().Text().Clear();
    chart.Title().Text().Add("Histogram");
  };
  for (QImage::Format format : {QImage::Format_ARGB32_Premultiplied, QImage::Format_RGB32}) {
    // One canvas for both paints, as a window keeps its back buffer's.
    TChart kept;
    TBarSeries keptBars;
    build(kept, keptBars);
    QImage image({700, 420}, format);
    image.fill(Qt::white);
    QPainter painter(&image);
    platform::QtDeviceCanvas canvas(&painter);
    kept.SetBounds(0, 0, 700, 420);
    kept.Canvas().SetBuffered(false);
    for (int pass = 0; pass < 3; ++pass) kept.Draw(canvas, {0, 0, 700, 420});
    EXPECT_GT(canvas.LabelImageBytes(), 0u);
    change(kept, keptBars);
    kept.Draw(canvas, {0, 0, 700, 420});
    kept.Draw(canvas, {0, 0, 700, 420});
    canvas.End();
    painter.end();

    TChart fresh;
    TBarSeries freshBars;
    build(fresh, freshBars);
    change(fresh, freshBars);
    const QImage once = Paint(fresh, {700, 420}, Way{false}, format);
    EXPECT_EQ(DifferentPixels(image, once), 0);
  }
}

// Colours are stored only from the first point that has its own on.
TEST(PointColours, PointsWithoutAColourOfTheirOwnTakeTheSeriesColour) {
  TLineSeries line;
  line.SetSeriesColor(plot::clRed);
  for (int i = 0; i < 5; ++i) line.AddPointY(i);
  EXPECT_FALSE(line.PointColorsVary());
  line.AddPointXY(2.5, 9, {}, plot::clBlue);  // lands at index 3
  line.AddPointY(7);
  EXPECT_TRUE(line.PointColorsVary());
  const plot::Color expected[] = {plot::clRed, plot::clRed, plot::clRed, plot::clBlue, plot::clRed, plot::clRed,
                                  plot::clRed};
  ASSERT_EQ(line.PointCount(), 7);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(line.PointColor(i), expected[i]) << i;
  // Exchanged, deleted, set beyond the stored ones, taken from each point.
  line.SwapPoints(3, 6);
  EXPECT_EQ(line.PointColor(6), plot::clBlue);
  EXPECT_EQ(line.PointColor(3), plot::clRed);
  line.DeletePoint(0);
  EXPECT_EQ(line.PointColor(5), plot::clBlue);
  line.SetPointColor(1, plot::clGreen);
  EXPECT_EQ(line.PointColor(1), plot::clGreen);
  line.SetColorEachPoint(true);
  EXPECT_EQ(line.PointColor(4), plot::GetDefaultColor(4));
  EXPECT_EQ(line.PointColor(99), plot::clRed);  // no such point
  line.ClearPoints();
  line.SetColorEachPoint(false);
  line.AddPointY(1);
  EXPECT_FALSE(line.PointColorsVary());
}

}  // namespace
