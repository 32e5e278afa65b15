// Paints complete charts into a QImage (ARGB32 premultiplied) and prints,
// per scenario, the median and the fastest of the full repaints:
//   NAME median_ms=M min_ms=N
// and, for the same image and the same pixel points, a bare QPainter
// polyline (or bare rectangles for bars, a polygon for the area, pies for
// the pie): the floor to compare with.
//
// Every chart has a white panel, a title, and left and bottom axes with
// grid lines (the pie has none). Every paint is complete: nothing is copied
// from an earlier picture (with --buffer on the back buffer is used but
// invalidated first).
//
// Options: --aa on|off (antialiasing of lines and bars, off by default),
//          --only NAME, --buffer on|off, --paints N (at least 30),
//          --detail (also the series' own share: series_NAME lines),
//          --png DIR (saves each scenario's last chart as DIR/NAME.png),
//          --floor off (leaves out the bare_NAME figures, for profiling),
//          --shortcuts off (the canvas draws everything through QPainter's
//          primitives, for comparing pictures and times).

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <QString>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "plot/axes/chart_axis.h"
#include "plot/chart/chart.h"
#include "platform/qt_gui/offscreen_application.h"
#include "platform/qt_gui/qt_device_canvas.h"
#include "runtime/date_time.h"
#include "plot/series/area_series.h"
#include "plot/series/bar_series.h"
#include "plot/series/fast_line_series.h"
#include "plot/series/line_series.h"
#include "plot/series/pie_series.h"
#include "plot/series/series_marks.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Options {
  bool antialias = false;
  bool buffered = false;
  bool detail = false;
  bool floor = true;
  bool shortcuts = true;
  int paints = 30;
  std::string only;
  std::string pngDir;
};

struct Figures {
  double median = 0, min = 0;
};

Figures Measure(int paints, const std::function<void()>& paint) {
  for (int i = 0; i < 3; ++i) paint();
  std::vector<double> times;
  for (int i = 0; i < paints; ++i) {
    const Clock::time_point start = Clock::now();
    paint();
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  const std::size_t n = times.size();
  const double median = n % 2 == 1 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
  return {median, times.front()};
}

void Print(const std::string& name, const Figures& f) {
  std::printf("%s median_ms=%.3f min_ms=%.3f\n", name.c_str(), f.median, f.min);
  std::fflush(stdout);
}

// One scenario: a chart filled by `fill`, drawn at the given size. A
// scenario with a `floor` draws its own floor: the factory works out the
// pixels once and returns the bare drawing.
struct Scenario {
  std::string name;
  int width, height;
  bool bars;
  std::function<std::unique_ptr<plot::TChartSeries>(plot::TChart&)> fill;
  std::function<std::function<void(QPainter&)>(plot::TChartSeries&)> floor = nullptr;
};

void Configure(plot::TChart& chart, const char* title) {
  chart.SetColor(plot::clWhite);
  chart.SetBackColor(plot::clWhite);
  chart.SetBevelOuter(plot::bvNone);
  chart.Legend().SetVisible(false);
  chart.SetView3D(false);
  chart.Title().Text().Clear();
  chart.Title().Text().Add(title);
}

// 2048 temperatures, each labelled with its sample time; the bottom axis
// shows the labels turned by 90 degrees.
void FillLog(plot::TChart& chart, plot::TLineSeries& line) {
  chart.BottomAxis().SetDateTimeFormat("dd/MM/yy hh:mm");
  chart.BottomAxis().SetLabelsAngle(90);
  line.SetSeriesColor(plot::clRed);
  line.XValues().SetDateTime(true);
  const runtime::DateTime start = runtime::EncodeDate(2024, 3, 1) + runtime::EncodeTime(8, 0, 0, 0);
  for (int i = 0; i < 2048; ++i) {
    line.AddPointY(20 + 5 * std::sin(i / 50.0), runtime::FormatDateTime("dd/mm/yy hh:mm", start + i * 15 / 1440.0));
  }
}

void FillPlain(plot::TLineSeries& line, int count) {
  line.SetSeriesColor(plot::clRed);
  for (int i = 0; i < count; ++i) line.AddPointY(20 + 5 * std::sin(i / 50.0));
}

void RunScenario(const Scenario& s, const Options& options) {
  plot::TChart chart;
  Configure(chart, s.name.c_str());
  // Declared after the chart, so it leaves the chart before the chart goes.
  const std::unique_ptr<plot::TChartSeries> owned = s.fill(chart);
  plot::TChartSeries* series = owned.get();
  chart.SetBounds(0, 0, s.width, s.height);
  chart.Canvas().SetBuffered(options.buffered);

  QImage image(s.width, s.height, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  QPainter painter(&image);
  platform::QtDeviceCanvas canvas(&painter);
  canvas.SetFastPaths(options.shortcuts);
  // The back buffer's own painter draws without antialiasing; only direct
  // painting honours --aa on.
  painter.setRenderHint(QPainter::Antialiasing, options.antialias);
  chart.SetControlCanvas(&canvas);
  const plot::Rect rect{0, 0, s.width, s.height};
  auto paint = [&] {
    chart.Canvas().MarkBufferDirty();
    chart.Draw(canvas, rect);
  };
  // With --detail, the series' own part of each paint (its values and
  // marks, between its before-draw and after-draw events).
  double seriesStart = 0;
  std::vector<double> seriesTimes;
  if (options.detail) {
    auto now = [] { return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count(); };
    series->BeforeDrawValues = [&seriesStart, now](plot::TChartSeries&) { seriesStart = now(); };
    series->AfterDrawValues = [&seriesTimes, &seriesStart, now](plot::TChartSeries&) {
      seriesTimes.push_back(now() - seriesStart);
    };
  }
  Print(s.name, Measure(options.paints, paint));
  if (!options.pngDir.empty()) image.save(QString::fromStdString(options.pngDir + "/" + s.name + ".png"));
  if (options.detail && !seriesTimes.empty()) {
    seriesTimes.erase(seriesTimes.begin(), seriesTimes.begin() + std::min<std::size_t>(3, seriesTimes.size()));
    std::sort(seriesTimes.begin(), seriesTimes.end());
    Print("series_" + s.name, {seriesTimes[seriesTimes.size() / 2], seriesTimes.front()});
  }

  if (!options.floor) return;
  if (s.floor) {
    const std::function<void(QPainter&)> draw = s.floor(*series);
    Print("bare_" + s.name, Measure(options.paints, [&] { draw(painter); }));
    return;
  }
  // The floor: the same pixel points as a polyline, or the same bars as
  // rectangles, into the same image. Long polylines go in pieces of a few
  // thousand points (the joints are drawn twice, in one colour): in one
  // piece Qt's stroker makes copies of a million points, which would count
  // in this program's peak memory as if the chart had made them.
  const int first = std::max(0, series->FirstVisibleIndex() - 1);
  const int last = std::min(series->PointCount() - 1, series->LastVisibleIndex() + 1);
  QPolygon polygon;
  polygon.reserve(last - first + 1);
  std::vector<QRect> bars;
  if (s.bars) {
    auto* b = static_cast<plot::TBarSeries*>(series);
    for (int i = first; i <= last; ++i) {
      const int top = std::min(b->CalcYPos(i), b->OriginPixel(i));
      const int bottom = std::max(b->CalcYPos(i), b->OriginPixel(i));
      bars.emplace_back(b->CalcXPos(i), top, b->BarWidth(), bottom - top);
    }
  } else {
    for (int i = first; i <= last; ++i) polygon << QPoint(series->CalcXPos(i), series->CalcYPos(i));
  }
  auto bare = [&] {
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(image.rect(), Qt::white);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setPen(QPen(s.bars ? Qt::black : Qt::red, 0));
    if (s.bars) {
      painter.setBrush(Qt::red);
      for (const QRect& r : bars) painter.drawRect(r);
    } else {
      constexpr int kPiece = 4096;
      for (int from = 0; from + 1 < polygon.size(); from += kPiece - 1) {
        painter.drawPolyline(polygon.constData() + from, std::min<int>(kPiece, static_cast<int>(polygon.size()) - from));
      }
    }
  };
  Print("bare_" + s.name, Measure(options.paints, bare));
}

std::vector<Scenario> Scenarios() {
  auto line = [](std::function<void(plot::TChart&, plot::TLineSeries&)> fill) {
    return [fill](plot::TChart& chart) -> std::unique_ptr<plot::TChartSeries> {
      auto s = std::make_unique<plot::TLineSeries>();
      s->SetParentChart(&chart);
      fill(chart, *s);
      return s;
    };
  };
  auto bars = [](plot::TChart& chart) -> std::unique_ptr<plot::TChartSeries> {
    auto b = std::make_unique<plot::TBarSeries>();
    b->SetParentChart(&chart);
    b->SetSeriesColor(plot::clRed);
    b->Marks().SetVisible(false);
    for (int k = 0; k < 64; ++k) {
      const int t = -40 + 2 * k;
      b->AddPointY(std::round(400 * std::exp(-(k - 30) * (k - 30) / 80.0)),
                   std::to_string(t) + " to " + std::to_string(t + 1) + ".5");
    }
    return b;
  };
  auto log = line([](plot::TChart& c, plot::TLineSeries& s) { FillLog(c, s); });
  auto plain = [&](int n) { return line([n](plot::TChart&, plot::TLineSeries& s) { FillPlain(s, n); }); };
  auto zoomed = line([](plot::TChart& c, plot::TLineSeries& s) {
    FillPlain(s, 100000);
    // A hundredth of the range, in the middle.
    c.BottomAxis().SetRange(49500, 50500);
  });
  return {
      {"line2048_352x334", 352, 334, false, log},      {"line2048_1920x1080", 1920, 1080, false, log},
      {"bar64_352x334", 352, 334, true, bars},         {"bar64_1920x1080", 1920, 1080, true, bars},
      {"line10k_1920x1080", 1920, 1080, false, plain(10000)},
      {"line100k_1920x1080", 1920, 1080, false, plain(100000)},
      {"line1m_1920x1080", 1920, 1080, false, plain(1000000)},
      {"zoom100k_1920x1080", 1920, 1080, false, zoomed},
  };
}

// ---- the area, pie and fast line series

// Clears the image as the chart's paint starts: a white panel.
void ClearImage(QPainter& painter) {
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.fillRect(QRect(0, 0, painter.device()->width(), painter.device()->height()), Qt::white);
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

// 2048 points filled down to the bottom axis; floor: one polygon and its
// top edge.
Scenario AreaScenario() {
  auto fill = [](plot::TChart& chart) -> std::unique_ptr<plot::TChartSeries> {
    auto area = std::make_unique<plot::TAreaSeries>();
    area->SetParentChart(&chart);
    area->SetSeriesColor(plot::clRed);
    for (int i = 0; i < 2048; ++i) area->AddPointY(20 + 5 * std::sin(i / 50.0));
    return area;
  };
  auto floor = [](plot::TChartSeries& series) -> std::function<void(QPainter&)> {
    auto& area = static_cast<plot::TAreaSeries&>(series);
    QPolygon top, outline;
    for (int i = area.FirstVisibleIndex(); i <= area.LastVisibleIndex(); ++i) top << QPoint(area.CalcXPos(i), area.CalcYPos(i));
    outline = top;
    for (int i = area.LastVisibleIndex(); i >= area.FirstVisibleIndex(); --i) outline << QPoint(area.CalcXPos(i), area.OriginPixel(i));
    return [top, outline](QPainter& painter) {
      ClearImage(painter);
      painter.setPen(Qt::NoPen);
      painter.setBrush(Qt::red);
      painter.drawPolygon(outline);
      painter.setPen(QPen(Qt::black, 0));
      painter.drawPolyline(top);
    };
  };
  return {"area2048_1920x1080", 1920, 1080, false, fill, floor};
}

// 16 labelled slices with their marks, at the size of the logger's chart;
// floor: the 16 pies.
Scenario PieScenario() {
  auto fill = [](plot::TChart& chart) -> std::unique_ptr<plot::TChartSeries> {
    auto pie = std::make_unique<plot::TPieSeries>();
    pie->SetParentChart(&chart);
    for (int i = 0; i < 16; ++i) pie->AddPie(5 + (i * 7) % 11, "Part " + std::to_string(i + 1));
    return pie;
  };
  auto floor = [](plot::TChartSeries& series) -> std::function<void(QPainter&)> {
    auto& pie = static_cast<plot::TPieSeries&>(series);
    const plot::TPieSeries::TPieLayout& l = pie.Layout();
    const QRect box(l.centerX - l.radiusX, l.centerY - l.radiusY, 2 * l.radiusX, 2 * l.radiusY);
    std::vector<std::pair<int, int>> angles;
    for (int i = 0; i < pie.PointCount(); ++i) {
      // Qt counts sixteenths of a degree counter-clockwise from 3 o'clock.
      const double from = 90 - pie.SliceEndAngle(i), span = pie.SliceEndAngle(i) - pie.SliceStartAngle(i);
      angles.emplace_back(static_cast<int>(std::lround(from * 16)), static_cast<int>(std::lround(span * 16)));
    }
    return [box, angles](QPainter& painter) {
      ClearImage(painter);
      painter.setPen(QPen(Qt::black, 0));
      painter.setBrush(Qt::red);
      for (const auto& [from, span] : angles) painter.drawPie(box, from, span);
    };
  };
  return {"pie16_352x334", 352, 334, false, fill, floor};
}

// A million points as a fast line (compare line1m_1920x1080); floor: the
// polyline through every point, in pieces.
Scenario FastLineScenario() {
  auto fill = [](plot::TChart& chart) -> std::unique_ptr<plot::TChartSeries> {
    auto line = std::make_unique<plot::TFastLineSeries>();
    line->SetParentChart(&chart);
    line->SetSeriesColor(plot::clRed);
    for (int i = 0; i < 1000000; ++i) line->AddPointY(20 + 5 * std::sin(i / 50.0));
    return line;
  };
  auto floor = [](plot::TChartSeries& series) -> std::function<void(QPainter&)> {
    std::vector<QPoint> points;
    points.reserve(static_cast<std::size_t>(series.PointCount()));
    for (int i = series.FirstVisibleIndex(); i <= series.LastVisibleIndex(); ++i) {
      points.emplace_back(series.CalcXPos(i), series.CalcYPos(i));
    }
    return [points](QPainter& painter) {
      ClearImage(painter);
      painter.setPen(QPen(Qt::red, 0));
      constexpr std::size_t kPiece = 4096;
      for (std::size_t from = 0; from + 1 < points.size(); from += kPiece - 1) {
        painter.drawPolyline(points.data() + from, static_cast<int>(std::min(kPiece, points.size() - from)));
      }
    };
  };
  return {"fastline1m_1920x1080", 1920, 1080, false, fill, floor};
}

std::vector<Scenario> KindScenarios() { return {AreaScenario(), PieScenario(), FastLineScenario()}; }

bool OnOff(const char* value, bool& out) {
  if (std::strcmp(value, "on") == 0) {
    out = true;
  } else if (std::strcmp(value, "off") == 0) {
    out = false;
  } else {
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--aa" && hasValue && OnOff(argv[i + 1], options.antialias)) {
      ++i;
    } else if (arg == "--buffer" && hasValue && OnOff(argv[i + 1], options.buffered)) {
      ++i;
    } else if (arg == "--floor" && hasValue && OnOff(argv[i + 1], options.floor)) {
      ++i;
    } else if (arg == "--shortcuts" && hasValue && OnOff(argv[i + 1], options.shortcuts)) {
      ++i;
    } else if (arg == "--detail") {
      options.detail = true;
    } else if (arg == "--only" && hasValue) {
      options.only = argv[++i];
    } else if (arg == "--png" && hasValue) {
      options.pngDir = argv[++i];
    } else if (arg == "--paints" && hasValue) {
      options.paints = std::max(30, std::atoi(argv[++i]));
    } else {
      std::fprintf(stderr, "usage: %s [--aa on|off] [--buffer on|off] [--only NAME] [--paints N] [--detail] [--png DIR] [--floor on|off] [--shortcuts on|off]\n", argv[0]);
      return 2;
    }
  }
  const auto app = platform::CreateOffscreenApplication(argc, argv);
  bool any = false;
  std::vector<Scenario> scenarios = Scenarios();
  for (Scenario& s : KindScenarios()) scenarios.push_back(std::move(s));
  for (const Scenario& s : scenarios) {
    if (!options.only.empty() && s.name != options.only) continue;
    any = true;
    RunScenario(s, options);
  }
  if (!any) {
    std::fprintf(stderr, "no scenario named %s\n", options.only.c_str());
    return 2;
  }
  return 0;
}
