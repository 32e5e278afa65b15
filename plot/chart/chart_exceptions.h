#pragma once

#include <stdexcept>
#include <string>

namespace plot {

// Invalid chart settings raise one of these with a fixed message text; the
// setting keeps its old value.
class ChartException : public std::runtime_error {
 public:
  explicit ChartException(const std::string& message) : std::runtime_error(message) {}
  ~ChartException() override;
};

class AxisException : public ChartException {
 public:
  explicit AxisException(const std::string& message) : ChartException(message) {}
  ~AxisException() override;
};

class LegendException : public ChartException {
 public:
  explicit LegendException(const std::string& message) : ChartException(message) {}
  ~LegendException() override;
};

}  // namespace plot
