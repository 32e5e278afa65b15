// The calculated series' common work: reading the sources, forming the
// points by X or by period, and adding the results.
#include "plot/functions/chart_function.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <string>

#include "plot/chart/chart_exceptions.h"

namespace plot {

namespace {

// One source point as a function sees it.
struct SourcePoint {
  double position;
  std::optional<double> value;  // empty for a null point
};

std::vector<SourcePoint> ReadSource(TChartSeries& source, const std::string& valueSource) {
  const TChartValueList& values = valueSource.empty() ? source.MandatoryValueList() : source.ValueListByName(valueSource);
  const TChartValueList& positions = source.ValuesAreVertical() ? source.XValues() : source.YValues();
  std::vector<SourcePoint> points;
  points.reserve(static_cast<std::size_t>(source.PointCount()));
  for (int i = 0; i < source.PointCount(); ++i) {
    const double position = positions.ValueAt(i);
    if (!std::isfinite(position)) continue;
    const double v = values.ValueAt(i);
    if (source.PointColor(i) == clNone || !std::isfinite(v)) {
      points.push_back({position, std::nullopt});
    } else {
      points.push_back({position, v});
    }
  }
  return points;
}

}  // namespace

void TChartFunction::SetPeriod(int value) {
  if (value < 0) throw ChartException("Function Period must be >= 0");
  if (period_ == value) return;
  period_ = value;
  ReCalculate();
}

void TChartFunction::ReCalculate() {
  TChartSeries* series = ParentSeries();
  if (series != nullptr && series->DataSource() != nullptr) series->RefreshFromSource(*series->DataSource());
}

void TChartFunction::Recalculate(TChartSeries& series) {
  const std::vector<TChartSeries*>& sources = series.DataSources();
  if (sources.empty()) return;
  const std::string& valueSource = series.MandatoryValueList().ValueSource();
  const bool vertical = series.ValuesAreVertical();
  auto add = [&](double position, std::optional<double> value) {
    if (value && !std::isfinite(*value)) value.reset();
    if (!value) {
      if (vertical) {
        series.AddNullPointXY(position, 0);
      } else {
        series.AddNullPointXY(0, position);
      }
    } else if (vertical) {
      series.AddPointXY(position, *value);
    } else {
      series.AddPointXY(*value, position);
    }
  };
  auto calculate = [&](const std::vector<double>& values) -> std::optional<double> {
    double result = 0;
    if (values.empty() || !Calculate(values, result)) return std::nullopt;
    return result;
  };

  if (sources.size() == 1) {
    const std::vector<SourcePoint> points = ReadSource(*sources.front(), valueSource);
    const std::size_t n = points.size();
    const std::size_t group = period_ > 0 ? static_cast<std::size_t>(period_) : n;
    for (std::size_t start = 0; start < n; start += group) {
      const std::size_t end = std::min(n, start + group);
      double positionSum = 0;
      std::vector<double> values;
      for (std::size_t i = start; i < end; ++i) {
        positionSum += points[i].position;
        if (points[i].value) values.push_back(*points[i].value);
      }
      add(positionSum / static_cast<double>(end - start), calculate(values));
    }
    return;
  }

  // Point by point: each source's values by position, in arrival order.
  std::map<double, std::vector<std::vector<std::optional<double>>>> byPosition;
  for (std::size_t s = 0; s < sources.size(); ++s) {
    for (const SourcePoint& p : ReadSource(*sources[s], valueSource)) {
      auto& slots = byPosition[p.position];
      slots.resize(sources.size());
      slots[s].push_back(p.value);
    }
  }
  for (const auto& [position, slots] : byPosition) {
    std::size_t rows = 0;
    for (const auto& slot : slots) rows = std::max(rows, slot.size());
    for (std::size_t k = 0; k < rows; ++k) {
      std::vector<double> values;
      bool missing = false;
      for (const auto& slot : slots) {
        if (k < slot.size() && slot[k]) {
          values.push_back(*slot[k]);
        } else {
          missing = true;
        }
      }
      add(position, missing && NeedsEveryOperand() ? std::nullopt : calculate(values));
    }
  }
}

}  // namespace plot
