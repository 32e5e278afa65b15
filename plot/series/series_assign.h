#pragma once

namespace plot {

class TChartSeries;

/// Copies the settings every series kind shares (colours, texts, formats,
/// axes, value list settings, marks, Active); the points stay.
void AssignSeriesCommon(TChartSeries& target, const TChartSeries& source);

}  // namespace plot
