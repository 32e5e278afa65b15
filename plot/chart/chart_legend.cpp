#include "plot/chart/chart_legend.h"

#include <algorithm>

#include "plot/chart/chart.h"
#include "plot/chart/chart_exceptions.h"
#include "plot/chart/chart_series.h"
#include "runtime/rounding.h"

namespace plot {

namespace {

int Round(double value) { return static_cast<int>(runtime::RoundHalfEven(value)); }

template <typename T>
bool Store(T& field, const T& value) {
  if (field == value) return false;
  field = value;
  return true;
}

}  // namespace

TChartLegend::TChartLegend(TCustomChart* chart) : TChartFontObject(chart), chart_(chart) {
  auto repaint = [this] { Repaint(); };
  brush_.OnChange = repaint;
  frame_.OnChange = repaint;
  dividingLines_.OnChange = repaint;
}

void TChartLegend::Repaint() {
  if (chart_ != nullptr) chart_->Invalidate();
}

void TChartLegend::SetVisible(bool value) {
  if (Store(visible_, value)) Repaint();
}
void TChartLegend::SetAlignment(TLegendAlignment value) {
  if (Store(alignment_, value)) Repaint();
}
void TChartLegend::SetLegendStyle(TLegendStyle value) {
  if (Store(legendStyle_, value)) Repaint();
}
void TChartLegend::SetTextStyle(TLegendTextStyle value) {
  if (Store(textStyle_, value)) Repaint();
}
void TChartLegend::SetColor(plot::Color value) {
  if (Store(color_, value)) Repaint();
}
void TChartLegend::SetColorWidth(int value) {
  if (value < 0 || value > 100) throw LegendException("Legend Color Width must be between 0 and 100 %");
  if (Store(colorWidth_, value)) Repaint();
}
void TChartLegend::SetFirstValue(int value) {
  if (value < 0) throw LegendException("First Legend Value must be > 0");
  if (Store(firstValue_, value)) Repaint();
}
void TChartLegend::SetInverted(bool value) {
  if (Store(inverted_, value)) Repaint();
}
void TChartLegend::SetMaxNumRows(int value) {
  if (Store(maxNumRows_, value)) Repaint();
}
void TChartLegend::SetTopPos(int value) {
  if (value < 0 || value > 100) throw LegendException("Top Legend Position must be between 0 and 100 %");
  if (Store(topPos_, value)) Repaint();
}
void TChartLegend::SetHorizMargin(int value) {
  if (Store(horizMargin_, value)) Repaint();
}
void TChartLegend::SetVertMargin(int value) {
  if (Store(vertMargin_, value)) Repaint();
}
void TChartLegend::SetResizeChart(bool value) {
  if (Store(resizeChart_, value)) Repaint();
}
void TChartLegend::SetShadowColor(plot::Color value) {
  if (Store(shadowColor_, value)) Repaint();
}
void TChartLegend::SetShadowSize(int value) {
  if (Store(shadowSize_, value)) Repaint();
}

TLegendStyle TChartLegend::ResolvedStyle() const {
  if (legendStyle_ != lsAuto) return legendStyle_;
  return chart_->CountActiveSeries() < 2 ? lsValues : lsSeries;
}

TChartSeries* TChartLegend::SeriesAt(int position) const {
  int n = 0;
  for (TChartSeries* s : chart_->SeriesList()) {
    if (!s->Active() || !s->ShowInLegend()) continue;
    if (n == position) return s;
    ++n;
  }
  return nullptr;
}

int TChartLegend::ItemCount() const {
  int count = 0;
  const TLegendStyle style = ResolvedStyle();
  if (style == lsSeries || style == lsLastValues) {
    for (TChartSeries* s : chart_->SeriesList()) {
      if (s->Active() && s->ShowInLegend()) ++count;
    }
  } else if (TChartSeries* first = chart_->GetFirstActiveSeries()) {
    count = first->ShowInLegend() ? first->LegendItemCount() : 0;
  }
  return std::max(0, count - firstValue_);
}

std::string TChartLegend::ItemText(int index) const {
  const TLegendStyle style = ResolvedStyle();
  std::string text;
  if (style == lsSeries) {
    if (TChartSeries* s = SeriesAt(index)) text = chart_->SeriesTitleLegend(chart_->SeriesList().IndexOf(s));
  } else if (style == lsValues) {
    if (TChartSeries* s = chart_->GetFirstActiveSeries()) {
      text = chart_->FormattedValueLegend(*s, s->LegendToValueIndex(index));
    }
  } else if (TChartSeries* s = SeriesAt(index); s != nullptr && s->PointCount() > 0) {
    text = chart_->FormattedValueLegend(*s, s->PointCount() - 1);
  }
  if (chart_->OnGetLegendText) chart_->OnGetLegendText(*chart_, style, index, text);
  return text;
}

int TChartLegend::ItemWidestText(int first, int count) const {
  int widest = 0;
  for (int i = first; i < first + count; ++i) {
    widest = std::max(widest, chart_->Canvas().MeasureTextWidth(ItemText(i)));
  }
  return widest;
}

void TChartLegend::Draw() {
  TCustomChart& chart = *chart_;
  TPlotCanvas3D& canvas = chart.Canvas();
  const TLegendStyle style = ResolvedStyle();
  chart.SetLegendColor(color_);
  chart.AssignFont(Font());
  const int h = canvas.MeasureFontHeight();
  itemHeight_ = h;
  const int items = ItemCount();
  int T = ItemWidestText(firstValue_, items) + 4;
  int colorW = Round(T * colorWidth_ / 100.0);
  const bool framed = frame_.Visible();
  const int fw = framed ? frame_.Width() : 0;
  const Rect cr = chart.ChartRect();
  const Rect& bounds = chart.ChartBounds();
  const int chartWidth = chart.ChartWidth();
  const int chartHeight = chart.ChartHeight();

  // Vertical extent.
  int top = 0, bottom = 0, shown = 0;
  auto fitColumns = [&] {
    const int itemWidth = T + colorW + 8;
    int cols = itemWidth > 0 ? (cr.Width() - 2 * fw - 8) / itemWidth : 0;
    cols = std::clamp(cols, 0, items);
    columns_ = cols;
    rows_ = cols == 0 ? 0 : std::min((items + cols - 1) / cols, maxNumRows_);
  };
  switch (alignment_) {
    case laTop:
      top = cr.top + (framed ? fw + 1 : 0);
      fitColumns();
      bottom = top + rows_ * h + 2;
      break;
    case laBottom:
      bottom = cr.bottom - shadowSize_ - (framed ? fw + 1 : 0);
      fitColumns();
      top = bottom - rows_ * h - 2;
      break;
    default:
      top = bounds.top + Round(topPos_ * bounds.Height() / 100.0);
      columns_ = 1;
      rows_ = h > 0 ? std::clamp((cr.bottom - top - 2 * fw) / h, 0, items) : 0;
      bottom = top + rows_ * h + 2;
      break;
  }

  // Horizontal extent.
  int left = 0, right = 0, colorX = 0, textX = 0;
  if (Vertical()) {
    T = ItemWidestText(firstValue_, rows_);
    colorW = Round((T + 10) * colorWidth_ / 100.0);
    if (alignment_ == laLeft) {
      left = cr.left + (framed ? fw + 1 : 0);
      colorX = left + 4;
      textX = colorX + colorW + 4;
      right = colorX + colorW + T + 6;
    } else {
      right = cr.right - (framed ? fw + 1 : 0) - shadowSize_;
      textX = right - T - 2;
      colorX = textX - colorW - 4;
      left = textX - colorW - 8;
    }
    shown = rows_;
  } else {
    const int W = std::min(cr.Width(), 2 * shadowSize_ + (colorW + T + 4) * columns_ + 8);
    const int shift = Round(topPos_ * (bounds.Width() - W) / 100.0);
    const int centre = (cr.left + cr.right) / 2;
    left = shift + centre - W / 2;
    right = shift + centre + W / 2;
    colorX = left + 4;
    textX = left + colorW + 8;
    shown = columns_ * rows_;
  }
  rect_ = {left, top, right, bottom};
  if (chart.OnGetLegendRect) chart.OnGetLegendRect(chart, rect_);
  const int count = std::min(items, shown);
  if (count <= 0) return;

  // Box with its shadow.
  canvas.ApplyChartPen(frame_);
  if (framed && frame_.Color() == clAutoColor) canvas.Pen().color = clBlack;
  Rect box = rect_;
  int offset = shadowSize_ - 1;
  if (framed) {
    box = {box.left - fw, box.top - fw, box.right + fw, box.bottom + fw};
    offset = shadowSize_ + fw + (fw - 1) / 2;
  }
  if (shadowSize_ > 0) {
    const platform::Brush saved = canvas.Brush();
    canvas.Brush() = platform::Brush{ColorToRGB(shadowColor_), platform::BrushStyle::Solid, nullptr};
    canvas.FillRectangle({box.left + shadowSize_, box.top + shadowSize_, box.right + offset, box.bottom + offset});
    canvas.Brush() = saved;
  }
  platform::Brush& brush = canvas.Brush();
  brush.bitmap = brush_.Bitmap();
  if (brush.bitmap) {
    brush.style = platform::BrushStyle::Solid;
  } else if (brush_.Style() == platform::BrushStyle::Solid) {
    brush.color = color_;
    brush.style = platform::BrushStyle::Solid;
  } else {
    brush.color = brush_.Color() == clAutoColor ? clBlack : brush_.Color();
    brush.style = brush_.Style();
    canvas.SetBackgroundMode(platform::BackgroundMode::Opaque);
    canvas.SetBackgroundColor(color_);
  }
  canvas.DrawRectangleRect(box);

  // Items.
  canvas.SetTextAlignment(platform::text_align::kLeft | platform::text_align::kTop);
  TChartSeries* firstActive = chart.GetFirstActiveSeries();
  for (int p = 0; p < count; ++p) {
    const int item = inverted_ ? firstValue_ + count - 1 - p : firstValue_ + p;
    int y = rect_.top + 1 + (Vertical() ? h * p : h * (p / std::max(1, columns_)));
    int x = textX + (Vertical() ? 0 : (p % std::max(1, columns_)) * (T + colorW + 4));
    int xColor = x - 4 - colorW;
    if (chart.OnGetLegendPos) chart.OnGetLegendPos(chart, item, x, y, xColor);
    canvas.Pen().color = ColorToRGB(color_) == clBlack ? clWhite : clBlack;
    canvas.Pen().style = platform::PenStyle::Solid;
    canvas.Pen().width = 1;
    canvas.Brush().style = platform::BrushStyle::Clear;
    canvas.WriteText(x, y, ItemText(item));
    const Rect symbol{x - 4 - colorW, y + 2, x - 4, y + h - 2};
    if (style == lsValues && firstActive != nullptr) {
      firstActive->DrawLegendSymbol(firstActive->LegendToValueIndex(item), symbol);
    } else if (TChartSeries* s = (style != lsValues ? SeriesAt(item) : nullptr)) {
      s->DrawLegendSymbol(-1, symbol);
    } else {
      canvas.Brush() = platform::Brush{clWhite, platform::BrushStyle::Solid, nullptr};
      canvas.DrawRectangleRect(symbol);
    }
    if (p > 0 && dividingLines_.Visible()) {
      canvas.ApplyChartPen(dividingLines_);
      if (Vertical()) {
        canvas.DrawHorizontalLine(rect_.left, rect_.right, y);
      } else {
        canvas.DrawVerticalLine(symbol.left - 4, y, y + h);
      }
    }
  }

  // The plotting rectangle gives way, then keeps a margin.
  Rect r = chart.ChartRect();
  if (resizeChart_) {
    switch (alignment_) {
      case laLeft: r.left = rect_.right; break;
      case laRight: r.right = rect_.left; break;
      case laTop: r.top = rect_.bottom + shadowSize_; break;
      case laBottom: r.bottom = rect_.top; break;
    }
  }
  const int hMargin = horizMargin_ != 0 ? horizMargin_ : Round(chartWidth * 0.03);
  const int vMargin = vertMargin_ != 0 ? vertMargin_ : Round(chartHeight * 0.04);
  switch (alignment_) {
    case laLeft: r.left += hMargin; break;
    case laRight: r.right -= hMargin; break;
    case laTop: r.top += vMargin; break;
    case laBottom: r.bottom -= vMargin; break;
  }
  chart.SetChartRect(r);
  chart.RecalcWidthHeight();
}

int TChartLegend::Clicked(int x, int y) const {
  if (x < rect_.left || x > rect_.right || y < rect_.top || y > rect_.bottom || rows_ <= 0) return -1;
  auto rowAt = [&](int rowHeight) {
    for (int r = 0; r < rows_; ++r) {
      const int y0 = rect_.top + r * rowHeight + 1;
      if (y >= y0 && y <= y0 + rowHeight) return r;
    }
    return -1;
  };
  if (Vertical()) return rowAt((rect_.bottom - rect_.top) / rows_);
  if (columns_ <= 0) return -1;
  const int columnWidth = (rect_.right - rect_.left) / columns_;
  if (columnWidth <= 0) return -1;
  const int column = (x - rect_.left) / columnWidth;
  if (column >= columns_) return -1;
  const int row = rowAt(itemHeight_);
  return row < 0 ? -1 : column + row * columns_;
}

void TChartLegend::Assign(const TChartLegend& source) {
  SetVisible(source.visible_);
  SetAlignment(source.alignment_);
  SetLegendStyle(source.legendStyle_);
  SetTextStyle(source.textStyle_);
  SetColor(source.color_);
  brush_.Assign(source.brush_);
  frame_.Assign(source.frame_);
  dividingLines_.Assign(source.dividingLines_);
  SetColorWidth(source.colorWidth_);
  SetFirstValue(source.firstValue_);
  SetInverted(source.inverted_);
  SetMaxNumRows(source.maxNumRows_);
  SetTopPos(source.topPos_);
  SetHorizMargin(source.horizMargin_);
  SetVertMargin(source.vertMargin_);
  SetResizeChart(source.resizeChart_);
  SetShadowColor(source.shadowColor_);
  SetShadowSize(source.shadowSize_);
  TChartFontObject::Assign(source);
}

}  // namespace plot
