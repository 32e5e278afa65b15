#include "plot/chart/custom_plot_panel.h"

#include <algorithm>
#include <cstdio>

#include "plot/chart/chart_exceptions.h"
#include "plot/chart/chart_font.h"
#include "plot/chart/print_switches.h"
#include "platform/picture_clipboard.h"

namespace plot {

void TZoomPanningRecord::Activate(int x, int y) {
  X0 = X1 = x;
  Y0 = Y1 = y;
  Active = true;
}

void TZoomPanningRecord::Check() {
  if (X1 < X0) std::swap(X0, X1);
  if (Y1 < Y0) std::swap(Y0, Y1);
}

TCustomPlotPanel::TCustomPlotPanel()
    : view3DOptions_(std::make_unique<TView3DOptions>([this] { Invalidate(); })),
      canvas_(std::make_unique<TPlotCanvas3D>(ControlCanvas())) {
  canvas_->PanelRepaint = [this] { Invalidate(); };
  outputCanvas_ = ControlCanvas();
  savedCursor_ = Cursor();
  // Construction is over: changes from now on ask for paints.
  autoRepaint_ = true;
}

TCustomPlotPanel::~TCustomPlotPanel() = default;

void TCustomPlotPanel::SetControlCanvas(platform::DeviceCanvas* canvas) {
  const bool wasReference = canvas_->GetDeviceHandle() == ControlCanvas() || canvas_->GetDeviceHandle() == nullptr;
  TCustomPanel::SetControlCanvas(canvas);
  if (wasReference) canvas_->SetReferenceCanvas(canvas);
  outputCanvas_ = canvas;
}

namespace {

template <typename T>
bool Store(T& field, const T& value) {
  if (field == value) return false;
  field = value;
  return true;
}

}  // namespace

void TCustomPlotPanel::SetMarginLeft(int value) {
  if (Store(marginLeft_, value)) Invalidate();
}

void TCustomPlotPanel::SetMarginTop(int value) {
  if (Store(marginTop_, value)) Invalidate();
}

void TCustomPlotPanel::SetMarginRight(int value) {
  if (Store(marginRight_, value)) Invalidate();
}

void TCustomPlotPanel::SetMarginBottom(int value) {
  if (Store(marginBottom_, value)) Invalidate();
}

void TCustomPlotPanel::SetView3D(bool value) {
  if (Store(view3D_, value)) Invalidate();
}

void TCustomPlotPanel::SetChart3DPercent(int value) {
  constexpr int kMin = 1, kMax = 100;
  if (value < kMin || value > kMax) {
    char message[80];
    std::snprintf(message, sizeof message, "3D effect percent must be between %d and %d", kMin, kMax);
    throw ChartException(message);
  }
  if (Store(chart3DPercent_, value)) Invalidate();
}

void TCustomPlotPanel::SetPrintProportional(bool value) {
  if (Store(printProportional_, value)) Invalidate();
}

void TCustomPlotPanel::SetPageMargins(const Rect& value) {
  if (Store(pageMargins_, value)) Invalidate();
}

void TCustomPlotPanel::SetPrintDetail(int value) {
  if (Store(printDetail_, value)) Invalidate();
}

void TCustomPlotPanel::Invalidate() {
  if (!autoRepaint_) return;
  canvas_->MarkBufferDirty();
  TCustomPanel::Invalidate();
}

void TCustomPlotPanel::MouseLeave() {
  SetCursor(savedCursor_);
  panning_.Active = false;
}

void TCustomPlotPanel::Paint() {
  if (printingNow_) return;
  if (canvas_->RepaintFromBuffer()) return;
  if (ControlCanvas() != nullptr) Draw(*ControlCanvas(), GetRectangle());
}

void TCustomPlotPanel::Draw(platform::DeviceCanvas& canvas, const Rect& rect) {
  outputCanvas_ = &canvas;
  chartBounds_ = canvas_->PrepareSurface(canvas, view3DOptions_.get(), rect, view3D_, Color());
  const Rect& b = chartBounds_;
  const int w = b.Width();
  const int h = b.Height();
  // Percent margins round to the nearest pixel, halves away from zero.
  const int frame = BorderWidth();
  chartRect_ = {b.left + frame + platform::MulDiv(marginLeft_, w, 100),
                b.top + frame + platform::MulDiv(marginTop_, h, 100),
                b.right - frame - platform::MulDiv(marginRight_, w, 100),
                b.bottom - frame - platform::MulDiv(marginBottom_, h, 100)};
  RecalcWidthHeight();
  InternalDraw(chartBounds_);
  canvas_->FinishSurface(canvas, ControlCanvas(), rect);
  outputCanvas_ = ControlCanvas();
}

void TCustomPlotPanel::RecalcWidthHeight() {
  Rect& r = chartRect_;
  r.left = std::max(r.left, chartBounds_.left);
  r.top = std::max(r.top, chartBounds_.top);
  // A collapsed rectangle is reopened; a control of no size still gives at
  // least one pixel, so nothing downstream divides by zero.
  if (r.right < r.left) {
    r.right = r.left + 1;
  } else if (r.right == r.left) {
    r.right = r.left + std::max(1, Width());
  }
  if (r.bottom < r.top) {
    r.bottom = r.top + 1;
  } else if (r.bottom == r.top) {
    r.bottom = r.top + std::max(1, Height());
  }
  chartWidth_ = r.right - r.left;
  chartHeight_ = r.bottom - r.top;
  chartXCenter_ = (r.left + r.right) / 2;
  chartYCenter_ = (r.top + r.bottom) / 2;
}

void TCustomPlotPanel::DrawPanelBevels(const Rect& rect) {
  Rect r = rect;
  auto frame = [&](TPanelBevel bevel, int width) {
    if (bevel == bvNone) return;
    const bool lowered = bevel == bvLowered;
    canvas_->DrawBevel(r, lowered ? clBtnShadow : clBtnHighlight, lowered ? clBtnHighlight : clBtnShadow, width);
    r = {r.left + width, r.top + width, r.right - width, r.bottom - width};
  };
  frame(BevelOuter(), BevelWidth());
  if (BorderWidth() > 0) {
    canvas_->DrawBevel(r, Color(), Color(), BorderWidth());
    r = {r.left + BorderWidth(), r.top + BorderWidth(), r.right - BorderWidth(), r.bottom - BorderWidth()};
  }
  frame(BevelInner(), BevelWidth());
}

void TCustomPlotPanel::AssignFont(const TFont& font) {
  // Keep the point size on the surface's device resolution.
  platform::Font value = font.Value();
  const int ppi = canvas_->Font().pixelsPerInch;
  value.height = -platform::MulDiv(font.Size(), ppi, 72);
  value.pixelsPerInch = ppi;
  canvas_->Font() = value;
}

int TCustomPlotPanel::MultiLineTextWidth(const std::string& text, int& numLines) {
  constexpr char kLineSeparator = '\r';
  if (text.find(kLineSeparator) == std::string::npos) {
    numLines = 1;
    return canvas_->MeasureTextWidth(text);
  }
  int widest = 0;
  numLines = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find(kLineSeparator, start), text.size());
    widest = std::max(widest, canvas_->MeasureTextWidth(text.substr(start, end - start)));
    ++numLines;
    start = end + 1;
  }
  // A leading separator still starts with an (empty) first line.
  if (numLines == 0) numLines = 1;
  return widest;
}

void TCustomPlotPanel::SetBrushCanvas(plot::Color color, platform::BrushStyle style, plot::Color background) {
  const bool solid = style == platform::BrushStyle::Solid;
  if (!solid && ColorToRGB(color) == ColorToRGB(background)) {
    color = ColorToRGB(background) == clBlack ? clWhite : clBlack;
  }
  canvas_->Brush().color = color;
  canvas_->Brush().style = style;
  canvas_->Brush().bitmap.reset();
  if (!solid) {
    canvas_->SetBackgroundMode(platform::BackgroundMode::Opaque);
    canvas_->SetBackgroundColor(ColorToRGB(background));
  } else {
    canvas_->SetBackgroundMode(platform::BackgroundMode::Transparent);
  }
}

bool TCustomPlotPanel::CanClip() const {
  if (printingNow_ && !ClipPrinted()) return false;
  if (canvas_->Metafiling() && !ClipMetafiles()) return false;
  return true;
}

void TCustomPlotPanel::CheckPenWidth(platform::Pen& pen) const {
  if (printingNow_ && pen.style != platform::PenStyle::Solid && pen.width == 1) pen.width = 0;
}

void TCustomPlotPanel::Assign(const TCustomPlotPanel& source) {
  canvas_->SetBuffered(source.canvas_->GetBuffered());
  SetPrintProportional(source.printProportional_);
  SetPrintDetail(source.printDetail_);
  SetMarginLeft(source.marginLeft_);
  SetMarginTop(source.marginTop_);
  SetMarginRight(source.marginRight_);
  SetMarginBottom(source.marginBottom_);
  SetMonochrome(source.Monochrome());
  SetView3D(source.view3D_);
  view3DOptions_->Assign(*source.view3DOptions_);
  SetChart3DPercent(source.chart3DPercent_);
  SetColor(source.Color());
  Invalidate();
}

}  // namespace plot
