#pragma once

#include "plot/series/bar_series.h"

namespace plot {

/// Horizontal bars: the bar series with the roles of the axes swapped. The
/// values (`XValues`, named "Bar") run along the horizontal axis and the
/// bars are laid out along the vertical axis by their Y (kept ascending;
/// `AddPoint` gives the next Y). Side by side, stacked and stacked to 100 %
/// as for vertical bars, among horizontal bar series only; within a slot
/// the series follow the axis upwards as vertical bars follow it to the
/// right, so the first lies lowest. Without `UseYOrigin` bars start at the
/// left end of the horizontal axis. Marks sit beyond the bar's end (right,
/// or left for bars that grow left), and the axis leaves room for them.
class THorizBarSeries : public TCustomBarSeries {
 public:
  THorizBarSeries();
  TChartValueList& MandatoryValueList() override { return XValues(); }
  bool SameClassOrBase(const TChartSeries& other) const override;
};

}  // namespace plot
