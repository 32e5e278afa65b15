#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

#include "plot/surface/plot_canvas_3d.h"
#include "plot/chart/plot_panel_extended.h"
#include "platform/qt_gui/qt_pictures.h"

// Real renders through the QPainter canvas. Each test saves its picture as
// <build>/test-output/<name>.png so a person can look at it.

namespace {

QImage Snapshot(const platform::QtBitmap& bitmap) { return bitmap.Image().copy(); }

void Save(const QImage& image, const char* name) {
  const QString dir = QStringLiteral(QUORVEL_TEST_OUTPUT_DIR);
  QDir().mkpath(dir);
  EXPECT_TRUE(image.save(dir + "/" + name + ".png"));
}

QRgb Rgb(platform::Color c) { return qRgb(platform::RedOf(c), platform::GreenOf(c), platform::BlueOf(c)); }

// The bounding box of every pixel that is not `background`.
QRect InkBox(const QImage& image, QRgb background) {
  QRect box;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) != background) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

class PanelOnly final : public plot::TCustomPlotPanelExtended {
 public:
  void InternalDraw(const plot::Rect& bounds) override { DrawPanel(bounds); }
};

TEST(QtRender, BevelledPanel) {
  PanelOnly panel;
  panel.SetBounds(0, 0, 200, 120);
  panel.SetBevelInner(plot::bvLowered);
  panel.SetBevelWidth(2);
  panel.SetBorderWidth(3);
  platform::QtBitmap target(200, 120, false);
  panel.Canvas().SetBuffered(false);
  panel.Draw(target.Canvas(), {0, 0, 200, 120});
  const QImage image = Snapshot(target);
  Save(image, "bevelled_panel");

  const QRgb light = Rgb(0xFFFFFF), dark = Rgb(0x808080), face = Rgb(0xC0C0C0);
  // Outer raised bevel, two pixels: light top-left, dark bottom-right; the
  // bottom-left and top-right corners belong to the dark edge.
  EXPECT_EQ(image.pixel(0, 0), light);
  EXPECT_EQ(image.pixel(1, 60), light);
  EXPECT_EQ(image.pixel(100, 1), light);
  EXPECT_EQ(image.pixel(199, 119), dark);
  EXPECT_EQ(image.pixel(198, 60), dark);
  EXPECT_EQ(image.pixel(0, 119), dark);
  EXPECT_EQ(image.pixel(199, 0), dark);
  // Border in the panel colour, then the inner lowered bevel (dark first).
  EXPECT_EQ(image.pixel(3, 60), face);
  EXPECT_EQ(image.pixel(5, 60), dark);
  EXPECT_EQ(image.pixel(6, 60), dark);
  EXPECT_EQ(image.pixel(193, 60), light);
  EXPECT_EQ(image.pixel(100, 100), face);
}

TEST(QtRender, VerticalGradient) {
  platform::QtBitmap target(120, 300, false);
  plot::TPlotCanvas3D surface(&target.Canvas());
  surface.FillGradient({0, 0, 120, 300}, 0x0000FF, plot::gdTopBottom, 0xFF0000);
  const QImage image = Snapshot(target);
  Save(image, "gradient_top_bottom");
  EXPECT_EQ(image.pixel(60, 299), qRgb(255, 0, 0));  // first colour at the bottom
  EXPECT_EQ(image.pixel(60, 0), qRgb(0, 0, 255));
  // Red falls and blue rises monotonically upwards; rows are uniform.
  for (int y = 298; y >= 0; --y) {
    EXPECT_LE(qRed(image.pixel(0, y)), qRed(image.pixel(0, y + 1))) << y;
    EXPECT_GE(qBlue(image.pixel(0, y)), qBlue(image.pixel(0, y + 1))) << y;
    ASSERT_EQ(image.pixel(0, y), image.pixel(119, y)) << y;
  }
}

TEST(QtRender, CornerAndCentreGradients) {
  platform::QtBitmap target(300, 100, false);
  plot::TPlotCanvas3D surface(&target.Canvas());
  surface.FillGradient({0, 0, 100, 100}, 0xFFFFFF, plot::gdFromCenter, 0x008000);
  surface.FillGradient({100, 0, 200, 100}, 0xFFFFFF, plot::gdFromTopLeft, 0x800000);
  surface.FillGradient({200, 0, 300, 100}, 0xFFFFFF, plot::gdFromBottomLeft, 0x000080);
  const QImage image = Snapshot(target);
  Save(image, "gradient_centre_corners");
  EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
  EXPECT_LE(qRed(image.pixel(50, 50)), 12);  // 255 - 255 * 96 / 100
  EXPECT_EQ(image.pixel(100, 0), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(200, 99), qRgb(255, 255, 255));
}

TEST(QtRender, RotatedTextReadsUpwards) {
  platform::QtBitmap target(120, 260, false);
  plot::TPlotCanvas3D surface(&target.Canvas());
  surface.Font().SetSize(14);
  surface.WriteRotatedText(40, 230, 90, "W.............");
  const QImage image = Snapshot(target);
  Save(image, "rotated_text_90");
  const QRect ink = InkBox(image, qRgb(255, 255, 255));
  ASSERT_FALSE(ink.isEmpty());
  // Turned counter-clockwise about its top-left reference point, the line
  // rises from (40, 230) with its top edge to the left: the ink lies above
  // the point and right of it, tall and narrow.
  EXPECT_GT(ink.height(), 4 * ink.width());
  EXPECT_LE(ink.bottom(), 230);
  EXPECT_GE(ink.left(), 40);
  // The heavy "W" comes first, so it sits at the bottom: the text reads
  // upwards.
  auto inkIn = [&](int top, int bottom) {
    int count = 0;
    for (int y = top; y < bottom; ++y) {
      for (int x = ink.left(); x <= ink.right(); ++x) count += image.pixel(x, y) != qRgb(255, 255, 255);
    }
    return count;
  };
  const int quarter = ink.height() / 4;
  EXPECT_GT(inkIn(ink.bottom() - quarter, ink.bottom() + 1), 3 * inkIn(ink.top(), ink.top() + quarter));
}

TEST(QtRender, NotXorRectangleDrawnTwiceRestoresEveryPixel) {
  platform::QtBitmap target(160, 100, false);
  plot::TPlotCanvas3D surface(&target.Canvas());
  surface.FillGradient({0, 0, 160, 100}, 0x00FFFF, plot::gdLeftRight, 0x800080);
  surface.Pen().color = 0x000000;
  surface.DrawLine(0, 50, 160, 50);
  const QImage before = Snapshot(target);

  surface.Pen().mode = platform::PenMode::NotXor;
  surface.Brush().style = platform::BrushStyle::Clear;
  surface.DrawRectangle(20, 15, 140, 85);
  const QImage once = Snapshot(target);
  Save(once, "notxor_box_once");
  EXPECT_NE(once, before);
  // Black inverts: the box's corner turned from the gradient to its inverse.
  EXPECT_EQ(once.pixel(20, 15), before.pixel(20, 15) ^ 0x00FFFFFF);
  EXPECT_EQ(once.pixel(80, 40), before.pixel(80, 40));  // inside untouched

  surface.DrawRectangle(20, 15, 140, 85);
  const QImage twice = Snapshot(target);
  Save(twice, "notxor_box_twice");
  EXPECT_EQ(twice, before);
}

TEST(QtRender, LineRulesMatchTheLayoutConventions) {
  platform::QtBitmap target(20, 10, false);
  plot::TPlotCanvas3D surface(&target.Canvas());
  surface.DrawLine(2, 2, 10, 2);
  surface.Brush().color = 0x0000FF;
  surface.DrawRectangle(2, 4, 8, 9);
  const QImage image = Snapshot(target);
  // A line leaves out its end point.
  EXPECT_EQ(image.pixel(9, 2), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(10, 2), qRgb(255, 255, 255));
  // A rectangle covers left .. right - 1 and top .. bottom - 1.
  EXPECT_EQ(image.pixel(7, 8), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(8, 8), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(7, 9), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(4, 6), qRgb(255, 0, 0));
}

TEST(QtRender, ArialIsMeasuredWithLiberationSans) {
  const QFont font = platform::QtDeviceCanvas::ToQFont(platform::Font{});
  EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("Liberation Sans"));
  platform::QtBitmap target(10, 10, false);
  platform::Size extent;
  ASSERT_TRUE(target.Canvas().TextExtent("Hello", extent));
  // Liberation Sans at 11 pixels (Arial 8 at 96 dpi).
  EXPECT_EQ(extent.cx, 25);
  EXPECT_EQ(extent.cy, 12);
}

TEST(QtRender, ChartCopiesAsPngAndSvg) {
  PanelOnly panel;
  panel.SetBounds(0, 0, 120, 80);
  platform::QtBitmap screen(1, 1, false);
  panel.SetControlCanvas(&screen.Canvas());
  panel.Gradient().SetVisible(true);
  const QString dir = QStringLiteral(QUORVEL_TEST_OUTPUT_DIR);
  QDir().mkpath(dir);
  ASSERT_TRUE(panel.SaveToBitmapFile((dir + "/chart_copy.png").toStdString()));
  QImage copy(dir + "/chart_copy.png");
  ASSERT_EQ(copy.size(), QSize(120, 80));
  // Start colour (white) at the bottom, end colour (yellow) at the top.
  EXPECT_GT(qBlue(copy.pixel(60, 78)), 245);
  EXPECT_LT(qBlue(copy.pixel(60, 1)), 10);
  EXPECT_EQ(qRed(copy.pixel(60, 1)), 255);
  auto svg = panel.CreateChartMetafile(true, panel.ClientRect());
  ASSERT_NE(svg, nullptr);
  EXPECT_EQ(svg->Width(), 119);
  const std::string data = svg->Data();
  EXPECT_NE(data.find("<svg"), std::string::npos);
  // The frame is inclusive: the document covers the whole 120 x 80 chart,
  // in pixels.
  EXPECT_NE(data.find("width=\"120\" height=\"80\" viewBox=\"0 0 120 80\""), std::string::npos) << data.substr(0, 400);
  EXPECT_TRUE(panel.Canvas().GetBuffered());
  EXPECT_FALSE(panel.Canvas().Metafiling());
}

}  // namespace
