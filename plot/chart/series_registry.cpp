#include "plot/chart/series_registry.h"

#include <algorithm>

#include "plot/chart/axis_panel.h"
#include "plot/chart/chart_series.h"

namespace plot {

namespace {

std::vector<TSeriesTypeEntry>& Registry() {
  static std::vector<TSeriesTypeEntry> entries;
  return entries;
}

std::string Cut(const std::string& text) { return text.substr(0, std::min<std::size_t>(text.size(), 20)); }

}  // namespace

void RegisterSeriesType(std::type_index seriesClass, std::function<std::unique_ptr<TChartSeries>()> createSeries,
                        const std::string& description, const std::string& galleryPage, int numGallerySeries,
                        std::type_index functionClass,
                        std::function<std::unique_ptr<TSeriesFunction>()> createFunction) {
  for (const TSeriesTypeEntry& e : Registry()) {
    if (e.seriesClass == seriesClass && e.functionClass == functionClass) return;
  }
  Registry().push_back({seriesClass, std::move(createSeries), functionClass, std::move(createFunction),
                        Cut(description), Cut(galleryPage), numGallerySeries});
}

const std::vector<TSeriesTypeEntry>& RegisteredSeriesTypes() { return Registry(); }

std::unique_ptr<TChartSeries> CreateNewSeries(TCustomAxisPanel* chart, std::type_index seriesClass,
                                              std::type_index functionClass) {
  for (const TSeriesTypeEntry& e : Registry()) {
    if (e.seriesClass != seriesClass || e.functionClass != functionClass) continue;
    std::unique_ptr<TChartSeries> series = e.createSeries();
    if (e.createFunction) series->SetFunction(e.createFunction());
    int n = 1;
    auto used = [&](const std::string& name) {
      if (chart == nullptr) return false;
      for (TChartSeries* s : chart->SeriesList()) {
        if (s->Name() == name) return true;
      }
      return false;
    };
    while (used("Series" + std::to_string(n))) ++n;
    series->SetName("Series" + std::to_string(n));
    series->SetParentChart(chart);
    return series;
  }
  return nullptr;
}

}  // namespace plot
