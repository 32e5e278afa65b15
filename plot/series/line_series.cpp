#include "plot/series/line_series.h"

#include "plot/series/series_marks.h"

namespace plot {

TLineSeries::TLineSeries() {
  SetConnectPoints(true);
  Pointer().SetVisible(false);
}

void TLineSeries::Assign(const TChartSeries& source) {
  TCustomSeries::Assign(source);
  Pointer().SetVisible(false);
  SetDrawArea(false);
  SetConnectPoints(true);
}

bool TLineSeries::SameClassOrBase(const TChartSeries& other) const {
  return dynamic_cast<const TLineSeries*>(&other) != nullptr;
}

TPointSeries::TPointSeries() {
  SetConnectPoints(false);
  SetHitTestLine(false);
  Marks().SetArrowLength(0);
  Pointer().SetVisible(true);
}

void TPointSeries::Assign(const TChartSeries& source) {
  TCustomSeries::Assign(source);
  Pointer().SetVisible(true);
  SetDrawArea(false);
  SetConnectPoints(false);
  SetHitTestLine(false);
}

void TPointSeries::SetColorEachPoint(bool value) {
  TCustomSeries::SetColorEachPoint(value);
  if (value) Pointer().Brush().SetColor(clAutoColor);
}

bool TPointSeries::SameClassOrBase(const TChartSeries& other) const {
  return dynamic_cast<const TPointSeries*>(&other) != nullptr;
}

}  // namespace plot
