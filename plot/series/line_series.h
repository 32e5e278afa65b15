#pragma once

#include "plot/series/custom_series.h"

namespace plot {

/// Points joined by a line; pointers hidden.
class TLineSeries : public TCustomSeries {
 public:
  TLineSeries();
  /// Copies the line-kind settings, then keeps its own nature: pointers
  /// hidden, no area, points connected.
  void Assign(const TChartSeries& source) override;
  bool SameClassOrBase(const TChartSeries& other) const override;
};

/// Pointers only, never a line; clicks hit pointers, not the line.
class TPointSeries : public TCustomSeries {
 public:
  TPointSeries();
  void Assign(const TChartSeries& source) override;
  /// Turning it on lets each pointer take its point's colour.
  void SetColorEachPoint(bool value) override;
  bool SameClassOrBase(const TChartSeries& other) const override;
};

}  // namespace plot
