#pragma once

#include <string>

namespace plot {
class TCustomPlotPanel;
}

namespace cli {

enum class ChartFileFormat { Png, Svg, Pdf };

// Renders a chart off screen at `width` x `height` pixels into a PNG, SVG
// or PDF file, through the same drawing path as the window. False with
// `error` set when the file cannot be written.
bool ExportChart(plot::TCustomPlotPanel& chart, ChartFileFormat format, const std::string& path, int width,
                 int height, std::string& error);

}  // namespace cli
