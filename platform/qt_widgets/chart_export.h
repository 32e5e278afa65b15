#pragma once

#include <optional>
#include <string>

namespace plot {
class TCustomPlotPanel;
}

namespace platform {

enum class ChartFileFormat { Png, Svg, Pdf };

// The format a file name asks for by its extension (.png, .svg or .pdf, in
// any case); nullopt for any other name.
std::optional<ChartFileFormat> ChartFileFormatOf(const std::string& path);

// How a chart file is made: its size in pixels; `scale` lays the chart out
// on the size divided by it and draws it that many times finer (2 gives
// the screen's picture at twice the sharpness); `antialias` smooths lines.
struct ChartExportOptions {
  int width = 1024;
  int height = 768;
  double scale = 1.0;
  bool antialias = false;
};

// Renders a chart off screen into a PNG, SVG or PDF file, through the same
// drawing path as the window; the three lay the chart out alike, and the
// chart keeps its bounds and zoom. The window and quorvel-cli share it, so
// the same chart at the same size gives the same pixels. False with `error`
// set when the file cannot be written.
bool ExportChart(plot::TCustomPlotPanel& chart, ChartFileFormat format, const std::string& path,
                 const ChartExportOptions& options, std::string& error);

}  // namespace platform
