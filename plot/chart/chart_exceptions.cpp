#include "plot/chart/chart_exceptions.h"

namespace plot {

// Out-of-line destructors give each class one home for its type information,
// so a catch in one library matches a throw in another.
ChartException::~ChartException() = default;
AxisException::~AxisException() = default;
LegendException::~LegendException() = default;

}  // namespace plot
