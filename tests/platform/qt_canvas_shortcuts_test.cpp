// The Qt canvas's shortcuts on image targets (pixels written straight into
// the image, label text copied from images rendered once) against the same
// drawing through QPainter's own primitives: the pictures must be the same,
// pixel for pixel.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/qt_gui/qt_device_canvas.h"

namespace {

using platform::BrushStyle;
using platform::PenStyle;
using platform::QtDeviceCanvas;

platform::Brush Brush(platform::Color color, BrushStyle style) {
  platform::Brush brush;
  brush.color = color;
  brush.style = style;
  return brush;
}

// A different colour at almost every pixel, so that every smoothed text
// pixel is blended with something else beneath it.
QImage Background(QSize size, QImage::Format format, int scale) {
  QImage image(size * scale, format);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb((x * 7) % 256, (y * 5) % 256, (x * y) % 256));
  }
  image.setDevicePixelRatio(scale);
  return image;
}

struct Target {
  QSize size{200, 150};
  QImage::Format format = QImage::Format_ARGB32_Premultiplied;
  int scale = 1;
};

using Drawing = std::function<void(QtDeviceCanvas&)>;

QImage Paint(const Drawing& draw, bool shortcuts, const Target& target = {}) {
  QImage image = Background(target.size, target.format, target.scale);
  QPainter painter(&image);
  QtDeviceCanvas canvas(&painter);
  canvas.SetFastPaths(shortcuts);
  draw(canvas);
  canvas.End();
  painter.end();
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

// Paints `draw` both ways and compares; `engaged` is checked on the fast
// canvas after drawing, so a shortcut that silently stepped aside fails.
void ExpectSamePicture(const Drawing& draw, const std::function<bool(QtDeviceCanvas&)>& engaged,
                       const Target& target = {}) {
  bool used = false;
  const QImage fast = Paint(
      [&](QtDeviceCanvas& canvas) {
        draw(canvas);
        used = engaged(canvas);
      },
      true, target);
  const QImage slow = Paint(draw, false, target);
  EXPECT_TRUE(used) << "the shortcut was not taken";
  EXPECT_EQ(DifferentPixels(fast, slow), 0);

}

const std::vector<PenStyle> kStyles = {PenStyle::Solid, PenStyle::Dash, PenStyle::Dot, PenStyle::DashDot,
                                       PenStyle::DashDotDot, PenStyle::InsideFrame};

TEST(QtCanvasShortcuts, ThinLinesOfEveryStyleCoverTheSamePixels) {
  for (int width : {0, 1}) {
    for (bool alternate : {false, true}) {
      for (PenStyle style : kStyles) {
        SCOPED_TRACE(testing::Message() << "width " << width << " style " << static_cast<int>(style) << " alternate "
                                        << alternate);
        ExpectSamePicture(
            [&](QtDeviceCanvas& canvas) {
              std::mt19937 random(7);
              std::uniform_int_distribution<int> x(-40, 240), y(-40, 190);
              canvas.Pen() = platform::Pen{0x2040C0, style, width, platform::PenMode::Copy, alternate};
              for (int i = 0; i < 60; ++i) {
                canvas.MoveTo(x(random), y(random));
                canvas.LineTo(x(random), y(random));
                // Straight lines both ways, and lines of no length.
                const int a = x(random), b = y(random), len = y(random) / 2;
                canvas.MoveTo(a, b);
                canvas.LineTo(a + len, b);
                canvas.LineTo(a + len, b - len);
                canvas.LineTo(a + len, b - len);
              }
              std::vector<platform::Point> points;
              for (int i = 0; i < 30; ++i) points.push_back({x(random), y(random)});
              canvas.Pen().color = 0x10A010;
              canvas.Polyline(points);
              // Clipped to a rectangle, then unclipped again.
              canvas.SetClipRect({30, 20, 150, 110});
              canvas.Pen().color = 0x0000FF;
              for (int i = 0; i < 30; ++i) {
                canvas.MoveTo(x(random), y(random));
                canvas.LineTo(x(random), y(random));
              }
              canvas.RemoveClip();
              canvas.MoveTo(-10, 75);
              canvas.LineTo(300, 75);
              // Lines on their own, so that each one's last pixel shows.
              for (int i = 0; i < 12; ++i) {
                const int a = 10 + 15 * i, b = 10 + 11 * i, len = i % 2 == 0 ? 7 + i : -7 - i;
                canvas.MoveTo(a, 100);
                canvas.LineTo(a + len, 100);
                canvas.MoveTo(190 - i, b);
                canvas.LineTo(190 - i, b + len);
              }
            },
            [](QtDeviceCanvas& canvas) { return canvas.WritesDirectly(); });
      }
    }
  }
}

TEST(QtCanvasShortcuts, FillsFramesAndPixelsCoverTheSamePixels) {
  struct PenCase {
    PenStyle style;
    int width;
  };
  for (PenCase pen : {PenCase{PenStyle::Clear, 1}, PenCase{PenStyle::Solid, 0}, PenCase{PenStyle::Solid, 1},
                      PenCase{PenStyle::InsideFrame, 1}}) {
    for (BrushStyle brush : {BrushStyle::Solid, BrushStyle::Clear}) {
      SCOPED_TRACE(testing::Message() << "pen " << static_cast<int>(pen.style) << "/" << pen.width << " brush "
                                      << static_cast<int>(brush));
      ExpectSamePicture(
          [&](QtDeviceCanvas& canvas) {
            std::mt19937 random(11);
            std::uniform_int_distribution<int> x(-30, 230), y(-30, 180), size(-3, 40);
            canvas.Pen() = platform::Pen{0x000000, pen.style, pen.width};
            canvas.Brush() = Brush(0x00C0FF, brush);
            for (int i = 0; i < 80; ++i) {
              // Corners in any order; boxes of no, one and two pixels too.
              const int left = x(random), top = y(random);
              const platform::Rect r{left, top, left + size(random), top + size(random)};
              if (i == 40) canvas.SetClipRect({20, 30, 170, 120});
              canvas.Rectangle(r);
              canvas.Brush().color = 0x800080 + 0x010203 * i;
              canvas.PatternFill({r.left + 3, r.top + 3, r.right + 9, r.bottom - 2});
              canvas.Brush() = Brush(0x00C0FF, brush);
              canvas.SetPixel(x(random), y(random), 0x0000FF);
            }
            canvas.RemoveClip();
            canvas.Rectangle({5, 5, 195, 145});
          },
          [](QtDeviceCanvas& canvas) { return canvas.WritesDirectly(); });
    }
  }
}

TEST(QtCanvasShortcuts, StepAsideWhereTheyWouldDifferAndReturnAfterwards) {
  ExpectSamePicture(
      [](QtDeviceCanvas& canvas) {
        // A not-xor line drawn twice leaves nothing; wide and hatched
        // drawing is Qt's own.
        canvas.Pen() = platform::Pen{0x000000, PenStyle::Solid, 1, platform::PenMode::NotXor};
        for (int pass = 0; pass < 3; ++pass) {
          canvas.MoveTo(10, 10);
          canvas.LineTo(190, 140);
        }
        canvas.Pen() = platform::Pen{0xFF0000, PenStyle::Solid, 3};
        canvas.Brush() = Brush(0x00FF00, BrushStyle::DiagCross);
        canvas.Rectangle({20, 20, 90, 80});
        canvas.PatternFill({100, 20, 180, 80});
        // Under a polygon clip nothing is written straight into the image.
        const platform::Point triangle[] = {{0, 0}, {200, 0}, {0, 150}};
        canvas.SetClipPolygon(triangle);
        EXPECT_FALSE(canvas.WritesDirectly());
        canvas.Pen() = platform::Pen{0x0000FF, PenStyle::Dot, 1};
        canvas.Brush() = Brush(0xFFFF00, BrushStyle::Solid);
        canvas.Rectangle({5, 5, 195, 145});
        canvas.MoveTo(0, 100);
        canvas.LineTo(200, 0);
        canvas.RemoveClip();
        // Nor under a mapping that scales.
        platform::Mapping scaled;
        scaled.anisotropic = true;
        scaled.windowExt = {100, 100};
        scaled.viewportExt = {150, 120};
        canvas.SetMapping(scaled);
        EXPECT_FALSE(canvas.WritesDirectly());
        canvas.MoveTo(0, 0);
        canvas.LineTo(120, 90);
        canvas.PatternFill({10, 60, 40, 90});
        canvas.SetMapping({});
      },
      [](QtDeviceCanvas& canvas) { return canvas.WritesDirectly(); });
}

TEST(QtCanvasShortcuts, OnlyImagesThePainterOwnsAloneAreWrittenDirectly) {
  auto directOn = [](QImage& image, const std::function<void(QPainter&)>& prepare) {
    QPainter painter(&image);
    prepare(painter);
    QtDeviceCanvas canvas(&painter);
    return canvas.WritesDirectly();
  };
  auto nothing = [](QPainter&) {};
  QImage rgb32(40, 30, QImage::Format_RGB32), premultiplied(40, 30, QImage::Format_ARGB32_Premultiplied);
  EXPECT_TRUE(directOn(rgb32, nothing));
  EXPECT_TRUE(directOn(premultiplied, [](QPainter& p) { p.translate(5, -3); }));
  // Other formats store other values; transforms that scale or move by
  // part of a pixel place pixels elsewhere; a clip set before the canvas got
  // the painter is not known to it.
  QImage rgb16(40, 30, QImage::Format_RGB16), argb32(40, 30, QImage::Format_ARGB32);
  EXPECT_FALSE(directOn(rgb16, nothing));
  EXPECT_FALSE(directOn(argb32, nothing));
  EXPECT_FALSE(directOn(rgb32, [](QPainter& p) { p.scale(2, 2); }));
  EXPECT_FALSE(directOn(rgb32, [](QPainter& p) { p.translate(0.5, 0); }));
  EXPECT_FALSE(directOn(rgb32, [](QPainter& p) { p.setClipRect(0, 0, 10, 10); }));
  // A copy taken before the painting keeps its own pixels.
  QImage shared(40, 30, QImage::Format_RGB32);
  shared.fill(Qt::white);
  const QImage copy = shared;
  {
    QPainter painter(&shared);
    QtDeviceCanvas canvas(&painter);
    ASSERT_TRUE(canvas.WritesDirectly());
    canvas.Pen().color = 0x0000FF;
    canvas.MoveTo(0, 10);
    canvas.LineTo(40, 10);
  }
  EXPECT_EQ(shared.pixel(20, 10), qRgb(255, 0, 0));
  EXPECT_EQ(copy.pixel(20, 10), qRgb(255, 255, 255));
}

struct TextCase {
  const char* family;
  int height;
  unsigned style;
};

// Every label is written twice at different places: the first time it is
// drawn, the second time copied from its image.
Drawing Labels(const std::vector<int>& angles) {
  return [angles](QtDeviceCanvas& canvas) {
    std::vector<std::string> texts = {"01/03/24 08:00", "-40 to -38.5", "Wg|j_ÄQ", "25", "Temperature (°C)"};
    for (int i = 0; i < 20; ++i) texts.push_back(std::to_string(10 + i % 18) + "/03/24 " + std::to_string(10 + i % 14) + ":" + std::to_string(10 + (i * 15) % 50));
    const std::vector<platform::Color> colors = {0x000000, 0xFF0000, 0x808080, 0xFFFFFF, 0x1EC80A};
    const std::vector<TextCase> fonts = {{"Arial", -11, 0}, {"Arial", -15, platform::fsBold},
                                         {"Times New Roman", -13, platform::fsItalic}, {"Courier New", -20, 0}};
    canvas.SetBkMode(platform::BackgroundMode::Transparent);
    int n = 0;
    for (int pass = 0; pass < 2; ++pass) {
      for (const TextCase& f : fonts) {
        for (int angle : angles) {
          for (std::size_t t = 0; t < texts.size(); ++t) {
            canvas.Font().name = f.family;
            canvas.Font().height = f.height;
            canvas.Font().style = f.style;
            canvas.Font().color = colors[(t + static_cast<std::size_t>(pass)) % colors.size()];
            canvas.Font().escapement = angle * 10;
            canvas.SetTextAlign(t % 2 == 0 ? platform::text_align::kRight | platform::text_align::kTop
                                           : platform::text_align::kCenter | platform::text_align::kBottom);
            ++n;
            canvas.TextOut(20 + (n * 37) % 360, 30 + (n * 53) % 260, texts[t]);
          }
        }
      }
    }
    // An opaque box is drawn, not copied.
    canvas.SetBkMode(platform::BackgroundMode::Opaque);
    canvas.SetBkColor(0xE0FFFF);
    canvas.TextOut(200, 150, texts[0]);
  };
}

TEST(QtCanvasShortcuts, LabelTextCopiedFromImagesMatchesDrawnText) {
  for (QImage::Format format : {QImage::Format_ARGB32_Premultiplied, QImage::Format_RGB32}) {
    for (int scale : {1, 2}) {
      SCOPED_TRACE(testing::Message() << "format " << format << " scale " << scale);
      ExpectSamePicture(Labels({0, 90, 270}), [](QtDeviceCanvas& canvas) { return canvas.LabelImageBytes() > 0; },
                        Target{{400, 300}, format, scale});
    }
  }
  // Angles whose copies would differ in a few smoothed pixels are drawn.
  ExpectSamePicture(Labels({180, 45, 330}), [](QtDeviceCanvas&) { return true; }, Target{{400, 300}});
}

TEST(QtCanvasShortcuts, LabelImagesStayWithinTheirBudget) {
  constexpr std::size_t kBudget = 24 * 1024;
  std::size_t kept = 0;
  auto many = [&](QtDeviceCanvas& canvas) {
    canvas.SetLabelImageBudget(kBudget);
    canvas.SetBkMode(platform::BackgroundMode::Transparent);
    canvas.Font().escapement = 900;
    for (int pass = 0; pass < 3; ++pass) {
      for (int i = 0; i < 300; ++i) canvas.TextOut(10 + i % 380, 290, "label " + std::to_string(i % 150));
    }
    if (canvas.FastPaths()) kept = canvas.LabelImageBytes();
  };
  ExpectSamePicture(many, [](QtDeviceCanvas& canvas) { return canvas.LabelImageBytes() > 0; }, Target{{400, 300}});
  EXPECT_LE(kept, kBudget);
}

}  // namespace
