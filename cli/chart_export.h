#pragma once

#include <string>

namespace plot {
class TCustomPlotPanel;
}

namespace cli {

enum class ChartFileFormat { Png, Svg, Pdf };

// How a chart file is made: its size in pixels; `scale` lays the chart out
// on the size divided by it and draws it that many times finer (2 gives
// the screen's picture at twice the sharpness); `antialias` smooths lines.
struct ExportOptions {
  int width = 1024;
  int height = 768;
  double scale = 1.0;
  bool antialias = false;
};

// Renders a chart off screen into a PNG, SVG or PDF file, through the same
// drawing path as the window; the three lay the chart out alike. False
// with `error` set when the file cannot be written.
bool ExportChart(plot::TCustomPlotPanel& chart, ChartFileFormat format, const std::string& path,
                 const ExportOptions& options, std::string& error);

}  // namespace cli
