// Mark and legend texts of points, and the series' legend symbol.
#include <cmath>

#include "plot/axes/chart_axis.h"
#include "plot/chart/axis_panel.h"
#include "plot/chart/chart_legend.h"
#include "plot/chart/chart_series.h"
#include "runtime/text_format.h"
#include "plot/series/series_marks.h"

namespace plot {

namespace {

std::string XValueText(const TChartSeries& series, int index) {
  TCustomChartAxis* axis = series.GetHorizAxis();
  if (axis != nullptr) return axis->FormatLabel(series.XValueAt(index));
  return runtime::FormatFloat(series.ValueFormat(), series.XValueAt(index));
}

double PercentOf(const TChartSeries& series, int index) {
  const double total = series.MandatoryValueList().AbsoluteValueSum();
  return total == 0 ? 100.0 : std::fabs(series.MarkValue(index)) * 100.0 / total;
}

}  // namespace

std::string TChartSeries::MarkPercent(int index, bool withTotal) const {
  const std::string p = runtime::FormatFloat(percentFormat_, PercentOf(*this, index));
  if (!withTotal) return p;
  return runtime::Format("%s of %s", {p, runtime::FormatFloat(valueFormat_, MandatoryValueList().AbsoluteValueSum())});
}

std::string TChartSeries::MarkText(int index) {
  const std::string v = runtime::FormatFloat(valueFormat_, MarkValue(index));
  std::string label = PointLabel(index);
  if (label.empty()) label = v;
  std::string text;
  switch (marks_->Style()) {
    case smsValue: text = v; break;
    case smsPercent: text = MarkPercent(index, false); break;
    case smsLabel: text = label; break;
    case smsLabelPercent: text = label + " " + MarkPercent(index, false); break;
    case smsLabelValue: text = label + " " + v; break;
    case smsLegend:
      text = parentChart_ != nullptr ? parentChart_->FormattedValueLegend(*this, index)
                                     : LegendString(index, ltsLeftValue);
      break;
    case smsPercentTotal: text = MarkPercent(index, true); break;
    case smsLabelPercentTotal: text = label + " " + MarkPercent(index, true); break;
    case smsXValue: text = XValueText(*this, index); break;
  }
  if (OnGetMarkText) OnGetMarkText(*this, index, text);
  return text;
}

std::string TChartSeries::LegendString(int index, int textStyle) const {
  const std::string label = PointLabel(index);
  auto value = [&] { return runtime::FormatFloat(valueFormat_, MarkValue(index)); };
  auto percent = [&] { return runtime::FormatFloat(percentFormat_, PercentOf(*this, index)); };
  std::string text;
  switch (static_cast<TLegendTextStyle>(textStyle)) {
    case ltsPlain: text = label; break;
    case ltsLeftValue: text = value() + " " + label; break;
    case ltsRightValue: text = label + " " + value(); break;
    case ltsLeftPercent: text = percent() + " " + label; break;
    case ltsRightPercent: text = label + " " + percent(); break;
    case ltsXValue: text = XValueText(*this, index); break;
  }
  // A legend row is one line.
  for (char& c : text) {
    if (c == '\r') c = ' ';
  }
  return text;
}

void TChartSeries::DrawLegendSymbol(int index, const Rect& rect) {
  const Color color = index == -1 ? seriesColor_ : LegendItemColor(index);
  if (color == clNone) return;
  if (index == -1 && colorEachPoint_) return;
  DrawLegendShape(index, rect);
}

void TChartSeries::DrawLegendShape(int index, const Rect& rect) {
  if (parentChart_ == nullptr) return;
  const Color color = index == -1 ? seriesColor_ : LegendItemColor(index);
  Color background = parentChart_->LegendColor();
  platform::BrushStyle style = platform::BrushStyle::Solid;
  PrepareLegendCanvas(index, background, style);
  parentChart_->SetBrushCanvas(color, style, background);
  TPlotCanvas3D& canvas = parentChart_->Canvas();
  canvas.DrawRectangleRect(rect);
  // A box in the legend's own colour would vanish: outline it again.
  if (ColorToRGB(color) == ColorToRGB(parentChart_->LegendColor())) {
    canvas.Brush().style = platform::BrushStyle::Clear;
    if (ColorToRGB(color) == clBlack) canvas.Pen().color = clWhite;
    canvas.DrawRectangleRect(rect);
  }
}

}  // namespace plot
