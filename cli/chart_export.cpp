#include "cli/chart_export.h"

#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include "plot/chart/custom_plot_panel.h"
#include "platform/qt_gui/qt_device_canvas.h"
#include "platform/qt_gui/qt_pictures.h"

namespace cli {

namespace {

// Vector files get the chart unbuffered, so lines and text stay vectors.
void DrawUnbuffered(plot::TCustomPlotPanel& chart, platform::DeviceCanvas& canvas, int width, int height) {
  const bool buffered = chart.Canvas().GetBuffered();
  chart.Canvas().SetBuffered(false);
  chart.Draw(canvas, {0, 0, width, height});
  chart.Canvas().SetBuffered(buffered);
}

}  // namespace

bool ExportChart(plot::TCustomPlotPanel& chart, ChartFileFormat format, const std::string& path, int width,
                 int height, std::string& error) {
  const QString file = QString::fromStdString(path);
  chart.SetBounds(0, 0, width, height);
  switch (format) {
    case ChartFileFormat::Png: {
      platform::QtBitmap target(width, height, false);
      DrawUnbuffered(chart, target.Canvas(), width, height);
      if (!target.Image().save(file, "PNG")) {
        error = "Cannot write " + path;
        return false;
      }
      return true;
    }
    case ChartFileFormat::Svg: {
      QSvgGenerator generator;
      generator.setFileName(file);
      generator.setSize(QSize(width, height));
      generator.setViewBox(QRect(0, 0, width, height));
      generator.setTitle("Quorvel chart");
      QPainter painter;
      if (!painter.begin(&generator)) {
        error = "Cannot write " + path;
        return false;
      }
      platform::QtDeviceCanvas canvas(&painter, &generator);
      DrawUnbuffered(chart, canvas, width, height);
      canvas.End();
      painter.end();
      return QFile::exists(file) || (error = "Cannot write " + path, false);
    }
    case ChartFileFormat::Pdf: {
      QPdfWriter writer(file);
      writer.setResolution(96);
      // A page of exactly the chart's size: points are 3/4 of a 96-dpi pixel.
      writer.setPageSize(
          QPageSize(QSizeF(width * 0.75, height * 0.75), QPageSize::Point, QString(), QPageSize::ExactMatch));
      writer.setPageMargins(QMarginsF(0, 0, 0, 0));
      QPainter painter;
      if (!painter.begin(&writer)) {
        error = "Cannot write " + path;
        return false;
      }
      platform::QtDeviceCanvas canvas(&painter, &writer);
      DrawUnbuffered(chart, canvas, width, height);
      canvas.End();
      painter.end();
      return true;
    }
  }
  return false;
}

}  // namespace cli
