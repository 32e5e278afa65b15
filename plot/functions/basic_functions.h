#pragma once

#include "plot/functions/chart_function.h"

namespace plot {

/// The sum of the values. Across sources every source needs a value at
/// the X.
class TAddFunction final : public TChartFunction {
 protected:
  bool Calculate(const std::vector<double>& values, double& result) const override;
  bool NeedsEveryOperand() const override { return true; }
};

/// The first value less the others (the first source less the second, and
/// so on; over a period, the first point less the rest).
class TSubtractFunction final : public TChartFunction {
 protected:
  bool Calculate(const std::vector<double>& values, double& result) const override;
  bool NeedsEveryOperand() const override { return true; }
};

/// The product of the values.
class TMultiplyFunction final : public TChartFunction {
 protected:
  bool Calculate(const std::vector<double>& values, double& result) const override;
  bool NeedsEveryOperand() const override { return true; }
};

/// The first value divided by the others in turn; a zero divisor gives a
/// null point.
class TDivideFunction final : public TChartFunction {
 protected:
  bool Calculate(const std::vector<double>& values, double& result) const override;
  bool NeedsEveryOperand() const override { return true; }
};

/// The largest value (of the sources that have one at the X).
class THighFunction final : public TChartFunction {
 protected:
  bool Calculate(const std::vector<double>& values, double& result) const override;
};

/// The smallest value (of the sources that have one at the X).
class TLowFunction final : public TChartFunction {
 protected:
  bool Calculate(const std::vector<double>& values, double& result) const override;
};

/// The mean of the values (of the sources that have one at the X).
class TAverageFunction final : public TChartFunction {
 protected:
  bool Calculate(const std::vector<double>& values, double& result) const override;
};

}  // namespace plot
