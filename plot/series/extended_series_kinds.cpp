#include "plot/series/extended_series_kinds.h"

#include <memory>

#include "plot/chart/series_registry.h"
#include "plot/functions/basic_functions.h"
#include "plot/series/arrow_series.h"
#include "plot/series/bubble_series.h"
#include "plot/series/chart_shape.h"
#include "plot/series/gantt_series.h"
#include "plot/series/line_series.h"

namespace plot {

namespace {

// A calculated series is a line series owning a function; the gallery
// shows it with `sources` sample series to work on.
template <typename F>
void RegisterFunction(const char* description, int sources) {
  RegisterSeriesType(
      typeid(TLineSeries), [] { return std::make_unique<TLineSeries>(); }, description, "Functions", sources,
      typeid(F), [] { return std::make_unique<F>(); });
}

}  // namespace

void RegisterExtendedSeriesKinds() {
  // The registry ignores a class pair it holds already.
  RegisterSeries<TGanttSeries>("Gantt", "Extended");
  RegisterSeries<TArrowSeries>("Arrow", "Extended");
  RegisterSeries<TBubbleSeries>("Bubble", "Extended");
  RegisterSeries<TChartShape>("Shape", "Extended");
  // Arithmetic works across two series; high, low and average over a
  // period of one.
  RegisterFunction<TAddFunction>("Add", 2);
  RegisterFunction<TSubtractFunction>("Subtract", 2);
  RegisterFunction<TMultiplyFunction>("Multiply", 2);
  RegisterFunction<TDivideFunction>("Divide", 2);
  RegisterFunction<THighFunction>("High", 1);
  RegisterFunction<TLowFunction>("Low", 1);
  RegisterFunction<TAverageFunction>("Average", 1);
}

}  // namespace plot
