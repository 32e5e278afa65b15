#include "plot/series/standard_series_kinds.h"

#include "plot/chart/series_registry.h"
#include "plot/series/area_series.h"
#include "plot/series/bar_series.h"
#include "plot/series/fast_line_series.h"
#include "plot/series/horiz_bar_series.h"
#include "plot/series/line_series.h"
#include "plot/series/pie_series.h"

namespace plot {

void RegisterStandardSeriesKinds() {
  // The registry ignores a class it already holds, so a second call adds
  // nothing; the gallery shows two series where kinds stand side by side.
  RegisterSeries<TLineSeries>("Line", "Standard", 2);
  RegisterSeries<TPointSeries>("Point", "Standard", 2);
  RegisterSeries<TBarSeries>("Bar", "Standard", 2);
  RegisterSeries<TAreaSeries>("Area", "Standard", 1);
  RegisterSeries<TFastLineSeries>("Fast Line", "Standard", 1);
  RegisterSeries<THorizBarSeries>("Horizontal Bar", "Standard", 2);
  RegisterSeries<TPieSeries>("Pie", "Standard", 1);
}

}  // namespace plot
