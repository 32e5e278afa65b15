#include "plot/series/series_assign.h"

#include "plot/chart/chart_series.h"
#include "plot/series/series_marks.h"

namespace plot {

void AssignSeriesCommon(TChartSeries& target, const TChartSeries& source) {
  if (&target == &source) return;
  target.SetSeriesColor(source.SeriesColor());
  target.SetColorEachPoint(source.ColorEachPoint());
  target.SetShowInLegend(source.ShowInLegend());
  target.SetTitle(source.Title());
  target.SetValueFormat(source.ValueFormat());
  target.SetPercentFormat(source.PercentFormat());
  target.SetCursor(source.Cursor());
  target.SetHorizAxis(source.HorizAxis());
  target.SetVertAxis(source.VertAxis());
  target.XValues().Assign(source.XValues());
  target.YValues().Assign(source.YValues());
  target.Marks().Assign(source.Marks());
  target.SetActive(source.Active());
}

}  // namespace plot
