#include <algorithm>
#include <cmath>

#include "plot/surface/plot_canvas_3d.h"
#include "runtime/rounding.h"

namespace plot {

namespace {

// Step k of a sweep from c1 (k = 0) to c2 (k = divisor), per channel. A
// single step (divisor 0) is c1 rather than a division by zero.
Color Blend(Color c1, Color c2, int k, int divisor) {
  if (divisor <= 0) return c1;
  auto channel = [&](int a, int b) { return a + platform::MulDiv(b - a, k, divisor); };
  return platform::Rgb(channel(platform::RedOf(c1), platform::RedOf(c2)),
                       channel(platform::GreenOf(c1), platform::GreenOf(c2)),
                       channel(platform::BlueOf(c1), platform::BlueOf(c2)));
}

// Fills strips with a solid brush whose colour is changed only when the
// colour changes from one strip to the next.
class StripPainter {
 public:
  explicit StripPainter(platform::DeviceCanvas& canvas) : canvas_(canvas), saved_(canvas.Brush()) {
    canvas_.Brush().style = platform::BrushStyle::Solid;
    canvas_.Brush().bitmap.reset();
  }
  ~StripPainter() { canvas_.Brush() = saved_; }
  StripPainter(const StripPainter&) = delete;
  StripPainter& operator=(const StripPainter&) = delete;

  void Fill(const Rect& strip, Color color) {
    if (strip.right <= strip.left || strip.bottom <= strip.top) return;
    if (!hasColor_ || color != color_) {
      canvas_.Brush().color = color;
      color_ = color;
      hasColor_ = true;
    }
    canvas_.PatternFill(strip);
  }

 private:
  platform::DeviceCanvas& canvas_;
  platform::Brush saved_;
  Color color_ = 0;
  bool hasColor_ = false;
};

}  // namespace

void TPlotCanvas3D::FillGradient(const Rect& rect, Color first, TGradientDirection direction, Color second) {
  Rect r{std::min(rect.left, rect.right), std::min(rect.top, rect.bottom), std::max(rect.left, rect.right),
         std::max(rect.top, rect.bottom)};
  const Color c1 = ColorToRGB(first);
  const Color c2 = ColorToRGB(second);
  const int width = r.Width();
  const int height = r.Height();
  if (width <= 0 || height <= 0) return;
  StripPainter painter(Ref());

  switch (direction) {
    case gdTopBottom:
    case gdBottomTop: {
      // The first colour lies on the bottom edge.
      const int n = std::min(height, 256);
      for (int k = 0; k < n; ++k) {
        const int top = r.bottom - platform::MulDiv(height, k + 1, n);
        const int bottom = r.bottom - platform::MulDiv(height, k, n);
        painter.Fill({r.left, top, r.right, bottom}, Blend(c1, c2, k, n - 1));
      }
      break;
    }
    case gdLeftRight:
    case gdRightLeft: {
      // The first colour lies on the right edge.
      const int n = std::min(width, 256);
      for (int k = 0; k < n; ++k) {
        const int left = r.right - platform::MulDiv(width, k + 1, n);
        const int right = r.right - platform::MulDiv(width, k, n);
        painter.Fill({left, r.top, right, r.bottom}, Blend(c1, c2, k, n - 1));
      }
      break;
    }
    case gdFromCenter: {
      // Rings two pixels wide from the edge inwards; the innermost ring is
      // filled whole.
      constexpr int kStep = 2;
      const int n = width / 2 + height / 2;
      for (int inset = 0;; inset += kStep) {
        const Rect ring{r.left + inset, r.top + inset, r.right - inset, r.bottom - inset};
        if (ring.right <= ring.left || ring.bottom <= ring.top) break;
        const Color color = Blend(c1, c2, inset + inset, n);
        const Rect inner{ring.left + kStep, ring.top + kStep, ring.right - kStep, ring.bottom - kStep};
        if (inner.right <= inner.left || inner.bottom <= inner.top) {
          painter.Fill(ring, color);
          break;
        }
        painter.Fill({ring.left, ring.top, ring.right, inner.top}, color);
        painter.Fill({ring.left, inner.bottom, ring.right, ring.bottom}, color);
        painter.Fill({ring.left, inner.top, inner.left, inner.bottom}, color);
        painter.Fill({inner.right, inner.top, ring.right, inner.bottom}, color);
      }
      break;
    }
    case gdFromTopLeft:
    case gdFromBottomLeft: {
      // Sweep i is the L of pixels i away from the corner (the larger of the
      // two distances), coloured by i over the diagonal's length.
      const int n = static_cast<int>(runtime::RoundHalfEven(std::sqrt(double(width) * width + double(height) * height)));
      const bool fromTop = direction == gdFromTopLeft;
      for (int i = 0; i < std::max(width, height); ++i) {
        const Color color = Blend(c1, c2, i, n);
        const int x = r.left + i;
        if (i < height) {
          const int y = fromTop ? r.top + i : r.bottom - 1 - i;
          painter.Fill({r.left, y, std::min(x + 1, r.right), y + 1}, color);
        }
        if (i < width) {
          const int along = std::min(i, height);
          const Rect column = fromTop ? Rect{x, r.top, x + 1, r.top + along} : Rect{x, r.bottom - along, x + 1, r.bottom};
          painter.Fill(column, color);
        }
      }
      break;
    }
  }
}

}  // namespace plot
