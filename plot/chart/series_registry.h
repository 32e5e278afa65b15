#pragma once

#include <functional>
#include <memory>
#include <string>
#include <typeindex>
#include <vector>

namespace plot {

class TChartSeries;
class TSeriesFunction;
class TCustomAxisPanel;

/// One registered series type: the series class (by its factory), an
/// optional calculation-function class, texts for the gallery and editors
/// (cut to 20 characters) and how many sample series the gallery shows.
struct TSeriesTypeEntry {
  std::type_index seriesClass;
  std::function<std::unique_ptr<TChartSeries>()> createSeries;
  std::type_index functionClass;
  std::function<std::unique_ptr<TSeriesFunction>()> createFunction;
  std::string description;
  std::string galleryPage;
  int numGallerySeries = 1;
};

/// Registers a series type once (the same class pair again is ignored).
void RegisterSeriesType(std::type_index seriesClass, std::function<std::unique_ptr<TChartSeries>()> createSeries,
                        const std::string& description, const std::string& galleryPage, int numGallerySeries = 1,
                        std::type_index functionClass = typeid(void),
                        std::function<std::unique_ptr<TSeriesFunction>()> createFunction = {});
const std::vector<TSeriesTypeEntry>& RegisteredSeriesTypes();

/// A series of a registered class placed in `chart` and named "Series"
/// with the first number from 1 that no series of the chart uses; null for
/// an unknown class. The caller owns it.
std::unique_ptr<TChartSeries> CreateNewSeries(TCustomAxisPanel* chart, std::type_index seriesClass,
                                              std::type_index functionClass = typeid(void));

template <typename T>
void RegisterSeries(const std::string& description, const std::string& galleryPage, int numGallerySeries = 1) {
  RegisterSeriesType(typeid(T), [] { return std::make_unique<T>(); }, description, galleryPage, numGallerySeries);
}

}  // namespace plot
