#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace logger {

// The chart side of the histogram and temperature reports: which series
// shows, its points and labels, the title and the zoom reset. The window
// puts its chart behind it; the console program and the tests keep the
// points in memory.
class ChartDisplay {
 public:
  virtual ~ChartDisplay() = default;

  // The bar series becomes the active one, emptied, titled "Temperature Counts".
  virtual void BeginHistogram() = 0;
  virtual void AddHistogramBar(double count, const std::string& label) = 0;
  // The line series becomes the active one, emptied, titled "Temperature and Time".
  virtual void BeginTemperature() = 0;
  virtual void AddTemperaturePoint(double celsius, const std::string& label) = 0;
  // Undoes any zoom or scroll so the axes fit the new points.
  virtual void ResetZoom() = 0;

  // The temperature series' points, which the report file lists.
  virtual std::size_t TemperaturePointCount() const = 0;
  virtual double TemperatureY(std::size_t index) const = 0;
};

// The two series kept in memory, as the chart would hold them.
class ChartSeriesMemory final : public ChartDisplay {
 public:
  struct Point {
    double y;
    std::string label;
  };
  enum class Active { None, Histogram, Temperature };

  void BeginHistogram() override;
  void AddHistogramBar(double count, const std::string& label) override;
  void BeginTemperature() override;
  void AddTemperaturePoint(double celsius, const std::string& label) override;
  void ResetZoom() override { ++zoomResets; }
  std::size_t TemperaturePointCount() const override { return temperature.size(); }
  double TemperatureY(std::size_t index) const override { return temperature.at(index).y; }

  Active active = Active::None;
  std::string title;
  std::vector<Point> histogram;
  std::vector<Point> temperature;
  int zoomResets = 0;
};

}  // namespace logger
