// Whole charts rendered through the QPainter canvas. Each test saves its
// picture as <build>/test-output/<name>.png so a person can look at it.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

#include <cmath>

#include "plot/chart/chart.h"
#include "plot/chart/chart_series.h"
#include "platform/qt_gui/qt_pictures.h"
#include "runtime/format_settings.h"

namespace {

void Save(const QImage& image, const char* name) {
  const QString dir = QStringLiteral(QUORVEL_TEST_OUTPUT_DIR);
  QDir().mkpath(dir);
  EXPECT_TRUE(image.save(dir + "/" + name + ".png"));
}

QRgb Rgb(platform::Color c) { return qRgb(platform::RedOf(c), platform::GreenOf(c), platform::BlueOf(c)); }

// A series kind for these pictures: consecutive points joined by lines.
class JoinedSeries final : public plot::TChartSeries {
 public:
  void DrawValue(int index) override {
    plot::TPlotCanvas3D& canvas = ParentChart()->Canvas();
    canvas.Pen() = platform::Pen{plot::ColorToRGB(PointColor(index)), platform::PenStyle::Solid, 1};
    const int x = CalcXPos(index), y = CalcYPos(index);
    const int z = StartZ();
    if (index > FirstVisibleIndex()) canvas.DrawLineAtDepth(prevX_, prevY_, x, y, z);
    prevX_ = x;
    prevY_ = y;
  }

 private:
  int prevX_ = 0, prevY_ = 0;
};

int InkIn(const QImage& image, const QRect& area, QRgb background) {
  int count = 0;
  for (int y = std::max(0, area.top()); y <= std::min(image.height() - 1, area.bottom()); ++y) {
    for (int x = std::max(0, area.left()); x <= std::min(image.width() - 1, area.right()); ++x) {
      count += image.pixel(x, y) != background;
    }
  }
  return count;
}

class ChartRender : public ::testing::Test {
 protected:
  void SetUp() override {
    runtime::SetFormatSettings(runtime::FormatSettings{});
    chart.SetBounds(0, 0, 640, 420);
    chart.Canvas().SetBuffered(false);
    chart.SetColor(plot::clWhite);
    chart.SetBevelOuter(plot::bvNone);
    chart.SetView3D(false);
  }
  // Two days of quarter-hour samples, and a second series for the legend.
  void FillTemperatures() {
    inside.XValues().SetDateTime(true);
    outside.XValues().SetDateTime(true);
    inside.SetTitle("Inside");
    outside.SetTitle("Outside");
    for (int i = 0; i < 192; ++i) {
      const double t = 45000 + i / 96.0;
      inside.AddPointXY(t, 20 + 5 * std::sin(i / 20.0));
      outside.AddPointXY(t, 12 + 8 * std::sin(i / 30.0 + 1));
    }
    inside.SetParentChart(&chart);
    outside.SetParentChart(&chart);
    chart.Title().Text().Add("Temperature and Time");
    chart.BottomAxis().SetDateTimeFormat("dd/MM/yy hh:mm");
    chart.BottomAxis().SetLabelsAngle(90);
    chart.SetBackColor(plot::clWhite);
    chart.BackWall().Brush().SetStyle(platform::BrushStyle::Clear);
  }
  QImage Render() {
    platform::QtBitmap target(640, 420, false);
    chart.Draw(target.Canvas(), {0, 0, 640, 420});
    return target.Image().copy();
  }

  plot::TChart chart;
  JoinedSeries inside, outside;
};

TEST_F(ChartRender, DateTimeAxisWithRotatedLabelsAndRightLegend) {
  FillTemperatures();
  const QImage image = Render();
  Save(image, "chart_2d_datetime_legend");
  const QRgb white = Rgb(plot::clWhite), black = Rgb(plot::clBlack);
  const plot::TChartAxis& left = chart.LeftAxis();
  const plot::TChartAxis& bottom = chart.BottomAxis();
  const plot::Rect r = chart.ChartRect();
  // Axis lines: two pixels of black along the left and bottom edges.
  const int mid = left.CenterPixel();
  EXPECT_TRUE(image.pixel(left.AxisLinePos(), mid) == black || image.pixel(left.AxisLinePos() - 1, mid) == black);
  EXPECT_TRUE(image.pixel(bottom.CenterPixel(), bottom.AxisLinePos()) == black ||
              image.pixel(bottom.CenterPixel(), bottom.AxisLinePos() - 1) == black);
  // Back wall frame: the right edge one column past the rectangle.
  EXPECT_EQ(image.pixel(r.right, r.top + 5), black);
  // Grid: on the line of a label value, dots alternate grey and white.
  const int gy = left.ValueToPixel(20);
  int grey = 0, blank = 0;
  for (int x = r.left + 40; x < r.left + 80; ++x) {
    const QRgb p = image.pixel(x, gy);
    grey += p == Rgb(plot::clGray);
    blank += p == white;
  }
  EXPECT_GT(grey, 5);
  EXPECT_GT(blank, 5);
  // Rotated date labels below the axis, left labels beside it.
  EXPECT_GT(InkIn(image, QRect(r.left, bottom.LabelsPos(), r.right - r.left, 60), white), 200);
  EXPECT_GT(InkIn(image, QRect(left.LabelsPos() - 20, r.top, 20, r.bottom - r.top), white), 100);
  // The legend sits right of the plotting rectangle with both names.
  const plot::Rect legend = chart.Legend().RectLegend();
  EXPECT_GT(legend.left, r.right);
  EXPECT_GT(InkIn(image, QRect(legend.left, legend.top, legend.right - legend.left, legend.bottom - legend.top), white), 100);
  // The two series: red and green lines inside the rectangle.
  int red = 0, green = 0;
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) {
      red += image.pixel(x, y) == Rgb(plot::clRed);
      green += image.pixel(x, y) == Rgb(plot::clGreen);
    }
  }
  EXPECT_GT(red, 150);
  EXPECT_GT(green, 150);
}

TEST_F(ChartRender, Orthogonal3DWithWalls) {
  FillTemperatures();
  chart.SetView3D(true);
  chart.SetColor(plot::clBtnFace);
  const QImage image = Render();
  Save(image, "chart_3d_walls");
  const plot::Rect r = chart.ChartRect();
  ASSERT_GT(chart.Width3D(), 0);
  // The left wall is a light-yellow plane just left of the rectangle,
  // slanting back; the bottom wall a white floor below it.
  const int d = chart.Width3D();
  EXPECT_EQ(image.pixel(r.left + d / 2, (r.top + r.bottom) / 2), Rgb(0x80FFFF));
  EXPECT_EQ(image.pixel((r.left + r.right) / 2, r.bottom - d / 2), Rgb(plot::clWhite));
  // The back wall's frame at the depth: its right edge moved right by d.
  int black = 0;
  for (int y = r.top - d; y < r.bottom - d; ++y) black += image.pixel(r.right + d, y) == Rgb(plot::clBlack);
  EXPECT_GT(black, (r.bottom - r.top) / 2);
}

TEST_F(ChartRender, LogarithmicLeftAxis) {
  JoinedSeries growth;
  for (int i = 0; i <= 40; ++i) growth.AddPointXY(i, std::pow(10.0, i / 10.0));
  growth.SetParentChart(&chart);
  chart.Legend().SetVisible(false);
  chart.LeftAxis().SetLogarithmic(true);
  chart.LeftAxis().Title().SetCaption("Count");
  const QImage image = Render();
  Save(image, "chart_log_axis");
  const plot::TChartAxis& left = chart.LeftAxis();
  // Decades are equally spaced; an exponential is a straight line.
  const int p1 = left.ValueToPixel(1), p10 = left.ValueToPixel(10), p100 = left.ValueToPixel(100);
  EXPECT_NEAR(p1 - p10, p10 - p100, 1);
  const QRgb white = Rgb(plot::clWhite);
  for (double v : {1.0, 10.0, 100.0, 1000.0, 10000.0}) {
    const int y = left.ValueToPixel(v);
    EXPECT_GT(InkIn(image, QRect(left.LabelsPos() - 40, y - 6, 40, 12), white), 10) << v;
  }
  // Midway between decades: no label.
  const int between = (left.ValueToPixel(10) + left.ValueToPixel(100)) / 2;
  EXPECT_EQ(InkIn(image, QRect(left.LabelsPos() - 40, between - 3, 36, 6), white), 0);
  const int x20 = chart.BottomAxis().ValueToPixel(20);
  EXPECT_NEAR(growth.CalcYPos(20), left.ValueToPixel(100), 1);
  EXPECT_EQ(image.pixel(x20, growth.CalcYPos(20)), Rgb(plot::clRed));
}

TEST_F(ChartRender, ConstantDataAndRangeEndsKeepTheirLabels) {
  JoinedSeries level;
  for (int i = 0; i < 2048; ++i) level.AddPointXY(i, -40.0);
  level.SetParentChart(&chart);
  chart.Legend().SetVisible(false);
  const QRgb white = Rgb(plot::clWhite);
  const plot::TChartAxis& left = chart.LeftAxis();
  QImage image = Render();
  Save(image, "chart_constant_series");
  // The one value, where the flat line lies, and nothing above or below it.
  const int centre = left.CenterPixel();
  EXPECT_GT(InkIn(image, QRect(left.LabelsPos() - 40, centre - 6, 40, 12), white), 10);
  EXPECT_EQ(InkIn(image, QRect(left.LabelsPos() - 40, left.StartPixel(), 40, centre - 8 - left.StartPixel()), white), 0);

  // 0 to 0.7 in tenths: both ends labelled.
  level.ClearPoints();
  level.AddPointXY(0, 0);
  level.AddPointXY(1, 0.7);
  chart.LeftAxis().SetIncrement(0.1);
  image = Render();
  Save(image, "chart_tenths_axis");
  for (double v : {0.7, 0.0}) {
    const int y = left.ValueToPixel(v);
    EXPECT_GT(InkIn(image, QRect(left.LabelsPos() - 40, y - 6, 40, 12), white), 10) << v;
  }
}

}  // namespace
