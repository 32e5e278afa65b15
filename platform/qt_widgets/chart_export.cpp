#include "platform/qt_widgets/chart_export.h"

#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>

#include "plot/chart/custom_plot_panel.h"
#include "platform/qt_gui/qt_device_canvas.h"
#include "platform/qt_gui/qt_pictures.h"

namespace platform {

namespace {

// Vector files get the chart unbuffered, so lines and text stay vectors.
void DrawUnbuffered(plot::TCustomPlotPanel& chart, platform::DeviceCanvas& canvas, int width, int height) {
  const bool buffered = chart.Canvas().GetBuffered();
  chart.Canvas().SetBuffered(false);
  chart.Draw(canvas, {0, 0, width, height});
  chart.Canvas().SetBuffered(buffered);
}

// A chart measures its axis labels against the axes' lengths of its last
// paint, so its first paint at a new size depends on where it was painted
// before (the window at its size on screen, quorvel-cli never). Scratch
// paints at the file's layout size until the plotting area stops moving
// make the file depend on the chart and the size alone.
void SettleLayout(plot::TCustomPlotPanel& chart, int width, int height) {
  platform::QtBitmap scratch(width, height, false, {96, 96}, 1.0);
  auto& canvas = static_cast<platform::QtDeviceCanvas&>(scratch.Canvas());
  for (int pass = 0; pass < 4; ++pass) {
    const plot::Rect before = chart.ChartRect();
    DrawUnbuffered(chart, canvas, width, height);
    if (chart.ChartRect() == before) break;
  }
}

bool WriteFile(const std::string& path, const std::string& data) {
  QFile file(QString::fromStdString(path));
  if (data.empty() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return file.write(data.data(), static_cast<qint64>(data.size())) == static_cast<qint64>(data.size());
}

// Puts the chart back where its window has it, however the export ends.
struct KeepBounds {
  plot::TCustomPlotPanel& chart;
  int left, top, width, height;
  explicit KeepBounds(plot::TCustomPlotPanel& c)
      : chart(c), left(c.Left()), top(c.Top()), width(c.Width()), height(c.Height()) {}
  ~KeepBounds() { chart.SetBounds(left, top, width, height); }
};

}  // namespace

std::optional<ChartFileFormat> ChartFileFormatOf(const std::string& path) {
  QString suffix = QFileInfo(QString::fromStdString(path)).suffix().toLower();
  if (suffix == "png") return ChartFileFormat::Png;
  if (suffix == "svg") return ChartFileFormat::Svg;
  if (suffix == "pdf") return ChartFileFormat::Pdf;
  return std::nullopt;
}

bool ExportChart(plot::TCustomPlotPanel& chart, ChartFileFormat format, const std::string& path,
                 const ChartExportOptions& options, std::string& error) {
  KeepBounds keep(chart);
  const QString file = QString::fromStdString(path);
  const int width = options.width, height = options.height;
  const double scale = options.scale > 0 ? options.scale : 1.0;
  // The layout's size; the file's pixels are `scale` times as many.
  const int lw = std::max(1, static_cast<int>(std::lround(width / scale)));
  const int lh = std::max(1, static_cast<int>(std::lround(height / scale)));
  chart.SetBounds(0, 0, lw, lh);
  SettleLayout(chart, lw, lh);
  error = "Cannot write " + path;
  switch (format) {
    case ChartFileFormat::Png: {
      platform::QtBitmap target(width, height, false, {96, 96}, scale);
      auto& canvas = static_cast<platform::QtDeviceCanvas&>(target.Canvas());
      canvas.SetAntialiasing(options.antialias);
      DrawUnbuffered(chart, canvas, lw, lh);
      if (!target.Image().save(file, "PNG")) return false;
      break;
    }
    case ChartFileFormat::Svg: {
      const std::string svg = platform::RenderSvg(
          QSize(lw, lh), QSize(width, height),
          [&](platform::QtDeviceCanvas& canvas) {
            canvas.SetAntialiasing(options.antialias);
            DrawUnbuffered(chart, canvas, lw, lh);
          },
          "Quorvel chart");
      if (!WriteFile(path, svg)) return false;
      break;
    }
    case ChartFileFormat::Pdf: {
      QPdfWriter writer(file);
      writer.setResolution(96);
      writer.setTitle("Quorvel chart");
      // A page of exactly the chart's size: points are 3/4 of a 96-dpi pixel.
      writer.setPageSize(
          QPageSize(QSizeF(width * 0.75, height * 0.75), QPageSize::Point, QString(), QPageSize::ExactMatch));
      writer.setPageMargins(QMarginsF(0, 0, 0, 0));
      QPainter painter;
      if (!painter.begin(&writer)) return false;
      platform::QtDeviceCanvas canvas(nullptr, &writer);
      canvas.SetPixelsPerInch({96, 96});
      canvas.Begin(&painter);
      canvas.SetAntialiasing(options.antialias);
      if (lw != width || lh != height) {
        // The layout stretched onto the page, as on a printer.
        platform::Mapping mapping;
        mapping.anisotropic = true;
        mapping.windowExt = {lw, lh};
        mapping.viewportExt = {width, height};
        canvas.SetMapping(mapping);
      }
      DrawUnbuffered(chart, canvas, lw, lh);
      canvas.End();
      if (!painter.end() || !QFile::exists(file)) return false;
      break;
    }
  }
  error.clear();
  return true;
}

}  // namespace platform
