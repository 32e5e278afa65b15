// The seven calculations: each folds the values of one point or group.
#include "plot/functions/basic_functions.h"

#include <algorithm>
#include <functional>
#include <numeric>

namespace plot {

bool TAddFunction::Calculate(const std::vector<double>& values, double& result) const {
  result = std::accumulate(values.begin(), values.end(), 0.0);
  return true;
}

bool TSubtractFunction::Calculate(const std::vector<double>& values, double& result) const {
  result = std::accumulate(values.begin() + 1, values.end(), values.front(), std::minus<>());
  return true;
}

bool TMultiplyFunction::Calculate(const std::vector<double>& values, double& result) const {
  result = std::accumulate(values.begin(), values.end(), 1.0, std::multiplies<>());
  return true;
}

bool TDivideFunction::Calculate(const std::vector<double>& values, double& result) const {
  result = values.front();
  for (std::size_t i = 1; i < values.size(); ++i) {
    if (values[i] == 0) return false;
    result /= values[i];
  }
  return true;
}

bool THighFunction::Calculate(const std::vector<double>& values, double& result) const {
  result = *std::max_element(values.begin(), values.end());
  return true;
}

bool TLowFunction::Calculate(const std::vector<double>& values, double& result) const {
  result = *std::min_element(values.begin(), values.end());
  return true;
}

bool TAverageFunction::Calculate(const std::vector<double>& values, double& result) const {
  result = std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
  return true;
}

}  // namespace plot
