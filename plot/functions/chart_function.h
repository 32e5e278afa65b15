#pragma once

#include <vector>

#include "plot/chart/chart_series.h"

namespace plot {

/// The base of the calculated series: a function a series owns (its "set
/// function") that computes the series' points from its data sources.
///
/// How the points are formed:
/// - With two or more sources, point by point: every X that any source has
///   gives one point, in ascending X, from the sources' values at that X
///   (the k-th point at an X pairs with the k-th point at the same X in the
///   others). `Period` is not used.
/// - With one source, over a period: its points in groups of `Period`
///   consecutive points (0: all of them as one group), one point per group
///   at the group's mean X; a shorter last group (the remainder) gives a
///   point too.
/// - A source's values are its mandatory list (Y for most kinds) or, when
///   this series' mandatory list names a `ValueSource`, the source's list of
///   that name; the position is the other coordinate. A source's null point
///   is no value; a position that is not a number is left out.
/// - No value to work with, a missing operand where the function needs them
///   all (add, subtract, multiply, divide across sources), a division by
///   zero or an overflow give a null point: never inf or NaN.
/// - The series recalculates when a source changes (as its `RecalcOptions`
///   allow), when a source is added, and when `Period` changes. Cycles of
///   sources are refused by the series ("Circular Series dependences are
///   not allowed").
class TChartFunction : public TSeriesFunction {
 public:
  int Period() const { return period_; }
  /// Points per group of a single source; 0 for all. ChartException below
  /// 0; the old period stays.
  void SetPeriod(int value);

  void Recalculate(TChartSeries& series) override;
  /// Recalculates the owning series from its sources now.
  void ReCalculate();

 protected:
  /// Combines the values of one point or one group (at least one value, in
  /// source or point order); false when the result is no value.
  virtual bool Calculate(const std::vector<double>& values, double& result) const = 0;
  /// Across sources, whether every source must have a value at an X (the
  /// arithmetic functions), or the values present will do.
  virtual bool NeedsEveryOperand() const { return false; }

 private:
  int period_ = 0;
};

}  // namespace plot
