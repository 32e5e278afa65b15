#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "plot/surface/chart_colors.h"
#include "runtime/convert_error.h"

namespace plot {
class TCustomChart;
}

namespace logger {

// The two displays of the main window's chart.
enum class ChartKind { Temperature, Histogram };
const char* ChartKindName(ChartKind kind);  // "temperature", "histogram"

// A chart's look kept as a small JSON file, to be given again to the next
// chart of the same display. Every key is optional: what a template leaves
// out keeps the chart's own setting. It never touches points or labels.
struct ChartTemplate {
  struct Axis {
    // true: both ends follow the series; false: both ends fixed. Left out,
    // a minimum or maximum given fixes that end alone.
    std::optional<bool> automatic;
    std::optional<double> minimum, maximum, increment;
    std::optional<std::string> title;
    std::optional<bool> grid;
    bool operator==(const Axis&) const = default;
  };
  struct Series {
    std::optional<plot::Color> color;
    std::optional<int> lineWidth;
    std::optional<bool> marks, pointer;
    bool operator==(const Series&) const = default;
  };

  // The display it was made on; none applies to whichever it is given for.
  std::optional<ChartKind> chart;
  std::optional<std::string> title;  // lines separated by "\n"
  std::optional<bool> view3D;
  std::optional<bool> legendVisible;
  Axis leftAxis, bottomAxis;
  // For the chart's visible series, in order; extra entries are ignored.
  std::vector<Series> series;
  bool operator==(const ChartTemplate&) const = default;
};

// A template file that is not JSON, has a key it does not know or a value
// of the wrong kind. The message names the file and the line:
// "look.json, line 4: unknown key "colour" in "series"".
class TemplateError : public runtime::TextError {
 public:
  explicit TemplateError(const std::string& message) : runtime::TextError(message) {}
  ~TemplateError() override;
};

// `source` names the text in messages (the file's name).
ChartTemplate ParseChartTemplate(const std::string& text, const std::string& source);
std::string ChartTemplateText(const ChartTemplate& look);

// Reads and checks a template file; a file that cannot be read, is not a
// regular file or is larger than 1 MiB is a TemplateError too.
ChartTemplate ReadChartTemplateFile(platform::FileSystem& files, const std::string& path);
// Writes it in one step (the old file stays whole on failure); TemplateError
// naming the file when it cannot be written.
void WriteChartTemplateFile(platform::FileSystem& files, const std::string& path, const ChartTemplate& look);

// The chart's look as a template: title, 3D, legend, left and bottom axes and
// the active series, made on display `kind`.
ChartTemplate CaptureChartTemplate(plot::TCustomChart& chart, std::optional<ChartKind> kind);
// Gives the chart the template's settings; unset keys change nothing. Axis
// ends are set in an order that never passes through minimum > maximum.
void ApplyChartTemplate(const ChartTemplate& look, plot::TCustomChart& chart);

}  // namespace logger
