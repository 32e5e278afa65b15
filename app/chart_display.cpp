#include "app/chart_display.h"

namespace logger {

void ChartSeriesMemory::BeginHistogram() {
  active = Active::Histogram;
  histogram.clear();
  title = "Temperature Counts";
}

void ChartSeriesMemory::AddHistogramBar(double count, const std::string& label) { histogram.push_back({count, label}); }

void ChartSeriesMemory::BeginTemperature() {
  active = Active::Temperature;
  temperature.clear();
  title = "Temperature and Time";
}

void ChartSeriesMemory::AddTemperaturePoint(double celsius, const std::string& label) {
  temperature.push_back({celsius, label});
}

}  // namespace logger
