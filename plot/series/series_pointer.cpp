#include "plot/series/series_pointer.h"

#include <algorithm>

#include "plot/surface/plot_canvas.h"
#include "plot/chart/chart_exceptions.h"
#include "plot/chart/chart_series.h"

namespace plot {

namespace {

void CheckSize(int value) {
  if (value < 1) throw ChartException("Pointer size must be greater than zero");
}

}  // namespace

TSeriesPointer::TSeriesPointer(TChartSeries* series)
    : series_(series), pen_(series != nullptr ? series->CreateChartPen() : std::make_unique<TChartPen>()) {
  brush_.OnChange = [this] { Repaint(); };
}

void TSeriesPointer::Repaint() {
  if (series_ != nullptr) series_->RequestRepaint();
}

void TSeriesPointer::SetVisible(bool value) {
  if (visible_ == value) return;
  visible_ = value;
  Repaint();
}

void TSeriesPointer::SetStyle(TSeriesPointerStyle value) {
  if (style_ == value) return;
  style_ = value;
  Repaint();
}

void TSeriesPointer::SetHorizSize(int value) {
  CheckSize(value);
  if (horizSize_ == value) return;
  horizSize_ = value;
  Repaint();
}

void TSeriesPointer::SetVertSize(int value) {
  CheckSize(value);
  if (vertSize_ == value) return;
  vertSize_ = value;
  Repaint();
}

void TSeriesPointer::SetInflateMargins(bool value) {
  if (inflateMargins_ == value) return;
  inflateMargins_ = value;
  Repaint();
}

void TSeriesPointer::SetDark3D(bool value) {
  if (dark3D_ == value) return;
  dark3D_ = value;
  Repaint();
}

void TSeriesPointer::SetDraw3D(bool value) {
  if (draw3D_ == value) return;
  draw3D_ = value;
  Repaint();
}

void TSeriesPointer::Assign(const TSeriesPointer& source) {
  SetVisible(source.visible_);
  SetStyle(source.style_);
  SetHorizSize(source.horizSize_);
  SetVertSize(source.vertSize_);
  SetInflateMargins(source.inflateMargins_);
  SetDark3D(source.dark3D_);
  SetDraw3D(source.draw3D_);
  pen_->Assign(*source.pen_);
  brush_.Assign(source.brush_);
}

void TSeriesPointer::PrepareCanvas(TCanvas3D& canvas, Color color) const {
  canvas.ApplyChartPen(*pen_);
  if (pen_->Visible() && pen_->Color() == clAutoColor) canvas.Pen().color = color;
  platform::Brush& brush = canvas.Brush();
  brush.color = brush_.Color() == clAutoColor ? color : brush_.Color();
  brush.style = brush_.Style();
  brush.bitmap = brush_.Bitmap();
}

void TSeriesPointer::Draw(TCanvas3D& canvas, bool is3D, int px, int py, int h, int v, Color color,
                          TSeriesPointerStyle style) const {
  const int left = px - h, right = px + h, top = py - v, bottom = py + v;
  const int z = series_ != nullptr ? series_->StartZ() : 0;
  const int zBack = series_ != nullptr ? series_->EndZ() : 0;

  auto cross = [&] {
    canvas.Pen().color = color;
    if (is3D) {
      canvas.DrawVerticalLineAtDepth(px, top, bottom + 1, z);
      canvas.DrawHorizontalLineAtDepth(left, right + 1, py, z);
    } else {
      canvas.DrawVerticalLine(px, top, bottom + 1);
      canvas.DrawHorizontalLine(left, right + 1, py);
    }
  };
  auto diagonalCross = [&] {
    canvas.Pen().color = color;
    if (is3D) {
      canvas.DrawLineAtDepth(left, top, right + 1, bottom + 1, z);
      canvas.DrawLineAtDepth(right, top, left - 1, bottom + 1, z);
    } else {
      canvas.DrawLine(left, top, right + 1, bottom + 1);
      canvas.DrawLine(right, top, left - 1, bottom + 1);
    }
  };
  // Upward triangle when `sign` is 1, downward when -1.
  auto triangle = [&](int sign) {
    const int apexY = py - sign * v, baseY = py + sign * v;
    if (!is3D) {
      const Point points[] = {{left, baseY}, {right, baseY}, {px, apexY}};
      canvas.DrawPolygon(points, 2);
    } else if (draw3D_) {
      canvas.DrawPyramidShape(true, {left, apexY, right, baseY}, z, zBack, dark3D_);
    } else {
      canvas.DrawTriangleAtDepth({left, baseY}, {right, baseY}, {px, apexY}, z);
    }
  };

  switch (style) {
    case psRectangle:
      if (!is3D) {
        canvas.DrawRectangle(left, top, right + 1, bottom + 1);
      } else if (draw3D_) {
        canvas.DrawBox({left, top, right, bottom}, z, zBack, dark3D_);
      } else {
        canvas.DrawRectangleAtDepth({left, top, right + 1, bottom + 1}, z);
      }
      break;
    case psCircle:
      if (is3D) {
        canvas.DrawEllipseAtDepth({left, top, right, bottom}, z);
      } else {
        canvas.DrawEllipse(left, top, right, bottom);
      }
      break;
    case psTriangle: triangle(1); break;
    case psDownTriangle: triangle(-1); break;
    case psCross: cross(); break;
    case psDiagCross: diagonalCross(); break;
    case psStar:
      cross();
      diagonalCross();
      break;
    case psDiamond:
      if (is3D) {
        canvas.DrawQuadAtDepth({left, py}, {px, top}, {right, py}, {px, bottom}, z);
      } else {
        const Point points[] = {{left, py}, {px, top}, {right, py}, {px, bottom}};
        canvas.DrawPolygon(points, 3);
      }
      break;
    case psSmallDot:
      if (is3D) {
        canvas.PutPixelAtDepth(px, py, z, color);
      } else {
        canvas.PutPixel(px, py, color);
      }
      break;
  }
}

void TSeriesPointer::CalcHorizMargins(int& left, int& right) const {
  if (!visible_ || !inflateMargins_) return;
  left = std::max(left, horizSize_ + 1);
  right = std::max(right, horizSize_ + 1);
}

void TSeriesPointer::CalcVerticalMargins(int& top, int& bottom) const {
  if (!visible_ || !inflateMargins_) return;
  top = std::max(top, vertSize_ + 1);
  bottom = std::max(bottom, vertSize_ + 1);
}

}  // namespace plot
