// plot-minimal: the chart component in a window, with a bar and a line series.
//   plot-minimal                      shows the window
//   plot-minimal --screenshot OUT.png saves the window once painted and quits
#include <QApplication>
#include <QTimer>

#include <cmath>
#include <cstdio>

#include "platform/qt_widgets/chart_host_widget.h"
#include "plot/chart/chart.h"
#include "plot/series/bar_series.h"
#include "plot/series/line_series.h"
#include "plot/series/series_marks.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);

  plot::TChart chart;
  chart.Title().SetText({"Cold room, last twelve hours"});
  chart.SetView3D(false);
  plot::TBarSeries openings;
  plot::TLineSeries celsius;
  openings.SetTitle("Door openings");
  celsius.SetTitle("Mean \u00B0C");
  openings.Marks().SetVisible(false);
  openings.SetSeriesColor(0xC08040);  // colours are 0xBBGGRR
  celsius.SetSeriesColor(0x0000FF);
  for (int hour = 0; hour < 12; ++hour) {
    openings.AddPointXY(hour, 3 + 2 * std::sin(hour / 1.5));
    celsius.AddPointXY(hour, 4 + 1.5 * std::cos(hour / 2.0));
  }
  openings.SetParentChart(&chart);
  celsius.SetParentChart(&chart);

  platform::ChartHostWidget window(chart);
  window.setWindowTitle("plot-minimal");
  window.resize(640, 480);
  window.show();

  if (argc == 3 && QString(argv[1]) == "--screenshot") {
    QTimer::singleShot(0, [&] {
      bool saved = window.grab().save(QString::fromLocal8Bit(argv[2]));
      if (!saved) std::fprintf(stderr, "plot-minimal: cannot write %s\n", argv[2]);
      QApplication::exit(saved ? 0 : 1);
    });
  }
  int status = QApplication::exec();
  chart.RemoveAllSeries();  // the series go first; the chart must not point at them
  return status;
}
