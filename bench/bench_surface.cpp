// Prints the cost of the drawing surface's hot paths:
//   - a repaint with nothing changed, which is one block copy of the back
//     buffer onto the window (here a 1920 x 1080 image like a backing store);
//   - the first, full paint of the same panel, for comparison;
//   - projecting 10,000 points through the rotated 3D view with perspective.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <chrono>
#include <cstdio>

#include "plot/surface/plot_canvas_3d.h"
#include "plot/chart/plot_panel_extended.h"
#include "platform/qt_gui/offscreen_application.h"
#include "platform/qt_gui/qt_device_canvas.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

class GradientPanel final : public plot::TCustomPlotPanelExtended {
 public:
  void InternalDraw(const plot::Rect& bounds) override { DrawPanel(bounds); }
};

void BenchRepaint() {
  constexpr int kWidth = 1920, kHeight = 1080, kRepaints = 200;
  QImage window(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  QPainter painter(&window);
  platform::QtDeviceCanvas screen(&painter);
  GradientPanel panel;
  panel.SetControlCanvas(&screen);
  panel.SetBounds(0, 0, kWidth, kHeight);
  panel.Gradient().SetVisible(true);

  const Clock::time_point first = Clock::now();
  panel.Paint();
  const double fullMs = MillisecondsSince(first);

  const Clock::time_point start = Clock::now();
  for (int i = 0; i < kRepaints; ++i) panel.Paint();
  const double copyMs = MillisecondsSince(start) / kRepaints;
  std::printf("full paint (gradient panel) 1920x1080: %8.3f ms\n", fullMs);
  std::printf("repaint from back buffer   1920x1080: %8.3f ms  (mean of %d)\n", copyMs, kRepaints);
}

void BenchProjection() {
  constexpr int kPoints = 10000, kRounds = 200;
  plot::TView3DOptions options;
  options.SetOrthogonal(false);
  options.SetPerspective(15);
  options.SetZoom(90);
  plot::TPlotCanvas3D surface;
  surface.SetBuffered(false);
  platform::QtDeviceCanvas nowhere;
  surface.PrepareSurface(nowhere, &options, {0, 0, 1920, 1080}, true, 0);
  surface.SetViewCenter(200, {0, 0, 1920, 1080}, {100, 50, 1820, 1030});

  long long checksum = 0;
  const Clock::time_point start = Clock::now();
  for (int round = 0; round < kRounds; ++round) {
    for (int i = 0; i < kPoints; ++i) {
      const plot::Point p = surface.ProjectPoint(100 + i % 1720, 50 + (i * 7) % 980, i % 200);
      checksum += p.x ^ p.y;
    }
  }
  const double perRoundUs = MillisecondsSince(start) * 1000.0 / kRounds;
  std::printf("project 10,000 points (rotated, perspective): %8.1f us  (%.1f ns a point; checksum %lld)\n",
              perRoundUs, perRoundUs * 1000.0 / kPoints, checksum);
}

}  // namespace

int main(int argc, char** argv) {
  const auto app = platform::CreateOffscreenApplication(argc, argv);
  BenchRepaint();
  BenchProjection();
  return 0;
}
