// plot-gallery: one picture of every series kind and calculated series the
// chart component registers.
//   plot-gallery [--3d] OUTDIR   writes OUTDIR/<kind>.png, 800 x 600 each
// A kind's file is its description in lower case with hyphens for blanks
// ("Fast Line" -> fast-line.png); a calculated series' is "function-" and
// its function ("Average" -> function-average.png).
#include <QGuiApplication>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "platform/qt_gui/offscreen_application.h"
#include "platform/qt_widgets/chart_export.h"
#include "plot/chart/chart.h"
#include "plot/chart/series_registry.h"
#include "plot/functions/chart_function.h"
#include "plot/series/arrow_series.h"
#include "plot/series/chart_shape.h"
#include "plot/series/extended_series_kinds.h"
#include "plot/series/line_series.h"
#include "plot/series/standard_series_kinds.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
// Points per group of the calculated series that work over a period.
constexpr int kPeriod = 5;

bool IsFunction(const plot::TSeriesTypeEntry& entry) { return entry.functionClass != typeid(void); }

std::string FileNameOf(const plot::TSeriesTypeEntry& entry) {
  std::string name = IsFunction(entry) ? "function-" : "";
  for (char c : entry.description) name += c == ' ' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name + ".png";
}

// Sample data a calculation can be seen working on: two smooth curves for
// the point-by-point functions, one noisy one for those over a period.
void FillSource(plot::TChartSeries& source, int which, int of) {
  if (of == 1) {
    std::minstd_rand random(2024);
    std::uniform_real_distribution<double> noise(-12.0, 12.0);
    for (int i = 0; i < 40; ++i) source.AddPointXY(i, 50 + 20 * std::sin(i * 0.2) + noise(random));
    return;
  }
  for (int i = 0; i < 20; ++i) {
    source.AddPointXY(i, which == 0 ? 60 + 25 * std::sin(i * 0.45) : 30 + 12 * std::cos(i * 0.3));
  }
}

// "A + B" for the arithmetic on two sources.
std::string OperationOf(const std::string& description) {
  if (description == "Add") return "A + B";
  if (description == "Subtract") return "A - B";
  if (description == "Multiply") return "A x B";
  if (description == "Divide") return "A / B";
  return description + " of A and B";
}

// What the chart looks like around any kind.
void Frame(plot::TChart& chart, const std::string& title, bool view3D) {
  chart.SetView3D(view3D);
  chart.SetBevelOuter(plot::bvNone);
  chart.SetColor(plot::clWhite);
  chart.Title().SetText({title});
  chart.Title().Font().SetSize(14);
  chart.Title().Font().SetStyle(platform::fsBold);
  chart.Legend().SetVisible(false);
}

// Extra touches for kinds that show best with more than sample points.
void Dress(plot::TChart& chart, plot::TChartSeries& series, std::vector<std::unique_ptr<plot::TChartSeries>>& owned) {
  if (auto* arrows = dynamic_cast<plot::TArrowSeries*>(&series)) {
    arrows->Pen().SetWidth(2);
    arrows->SetHeadWidth(14);
    arrows->SetHeadLength(16);
  } else if (auto* shape = dynamic_cast<plot::TChartShape*>(&series)) {
    // One of each style, side by side.
    struct Look {
      plot::TChartShapeStyle style;
      const char* text;
      double x0, y0, x1, y1;
    };
    const Look looks[] = {{plot::chasRectangle, "Rectangle", 0, 550, 450, 1000},
                          {plot::chasEllipse, "Ellipse", 550, 550, 1000, 1000},
                          {plot::chasTriangle, "Triangle", 0, 0, 450, 450},
                          {plot::chasTextBox, "Text box\rnotes a region\rof the chart", 550, 450, 1000, 0}};
    for (const Look& look : looks) {
      plot::TChartShape* s = shape;
      if (&look != &looks[0]) {
        owned.push_back(std::make_unique<plot::TChartShape>());
        s = static_cast<plot::TChartShape*>(owned.back().get());
        s->SetParentChart(&chart);
      }
      s->SetStyle(look.style);
      s->SetCorners(look.x0, look.y0, look.x1, look.y1);
      s->SetText(look.text);
      s->Font().SetSize(12);
      if (look.style == plot::chasTextBox) {
        s->SetSeriesColor(0xE0FFFF);  // pale yellow, a note
        s->SetAlignment(plot::taLeftJustify);
      }
    }
  }
  // Kinds that colour each point say in the legend what the colours are,
  // when the points are named or there are no axes to read them from.
  if (series.ColorEachPoint() && (series.HasPointLabels() || !series.UseAxis())) {
    chart.Legend().SetVisible(true);
    chart.Legend().SetTextStyle(series.HasPointLabels() ? plot::ltsPlain : plot::ltsLeftValue);
  }
}

// The chart of one registry entry; the series it makes go into `owned`.
void Build(plot::TChart& chart, const plot::TSeriesTypeEntry& entry, bool view3D,
           std::vector<std::unique_ptr<plot::TChartSeries>>& owned) {
  const int count = std::max(1, entry.numGallerySeries);
  if (!IsFunction(entry)) {
    Frame(chart, entry.description, view3D);
    for (int k = 0; k < count; ++k) {
      owned.push_back(plot::CreateNewSeries(&chart, entry.seriesClass));
      owned.back()->FillSampleValues(owned.back()->NumSampleValues());
    }
    Dress(chart, *owned.front(), owned);
    if (count > 1) chart.Legend().SetVisible(true);
    return;
  }
  Frame(chart, entry.description + " function", view3D);
  chart.Legend().SetVisible(true);
  chart.Legend().SetAlignment(plot::laBottom);
  chart.Legend().SetLegendStyle(plot::lsSeries);
  std::vector<plot::TChartSeries*> sources;
  for (int k = 0; k < count; ++k) {
    owned.push_back(std::make_unique<plot::TLineSeries>());
    plot::TChartSeries& source = *owned.back();
    source.SetTitle(count == 1 ? "Source" : std::string("Source ") + static_cast<char>('A' + k));
    source.SetSeriesColor(k == 0 ? 0xA0A0A0 : 0xD8B080);  // grey, light blue
    if (auto* line = dynamic_cast<plot::TLineSeries*>(&source)) line->LinePen().SetWidth(2);
    source.SetParentChart(&chart);
    FillSource(source, k, count);
    sources.push_back(&source);
  }
  owned.push_back(plot::CreateNewSeries(&chart, entry.seriesClass, entry.functionClass));
  plot::TChartSeries& result = *owned.back();
  result.SetSeriesColor(plot::clRed);
  if (auto* line = dynamic_cast<plot::TLineSeries*>(&result)) {
    line->LinePen().SetWidth(3);
    line->Pointer().SetVisible(true);
    line->Pointer().SetStyle(plot::psCircle);
  }
  auto* function = dynamic_cast<plot::TChartFunction*>(result.Function());
  if (function != nullptr && count == 1) {
    function->SetPeriod(kPeriod);
    result.SetTitle(entry.description + " of every " + std::to_string(kPeriod) + " points");
  } else {
    result.SetTitle(entry.description + ": " + OperationOf(entry.description) + ", point by point");
  }
  // A product or a ratio has a scale of its own: it gets the right axis.
  if (entry.description == "Multiply" || entry.description == "Divide") {
    result.SetVertAxis(plot::aRightAxis);
    chart.RightAxis().Title().SetCaption(OperationOf(entry.description));
    chart.LeftAxis().Title().SetCaption("Sources");
    chart.RightAxis().Grid().SetVisible(false);
    // A ratio of about 2: labels a fifth apart rather than a whole one.
    if (entry.description == "Divide") chart.RightAxis().SetIncrement(0.2);
  }
  result.SetDataSource(sources.front());
  for (std::size_t k = 1; k < sources.size(); ++k) result.AddDataSource(sources[k]);
}

int Usage(std::FILE* to, int status) {
  std::fprintf(to,
               "usage: plot-gallery [--3d] OUTDIR\n"
               "Writes one 800 x 600 PNG per registered series kind and calculated series into OUTDIR.\n");
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  bool view3D = false;
  std::string outDir;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0) return Usage(stdout, 0);
    if (std::strcmp(argv[i], "--3d") == 0) {
      view3D = true;
    } else if (argv[i][0] == '-' || !outDir.empty()) {
      std::fprintf(stderr, "plot-gallery: unexpected argument '%s'\n", argv[i]);
      return Usage(stderr, 2);
    } else {
      outDir = argv[i];
    }
  }
  if (outDir.empty()) return Usage(stderr, 2);
  std::error_code error;
  std::filesystem::create_directories(outDir, error);
  if (!std::filesystem::is_directory(outDir)) {
    std::fprintf(stderr, "plot-gallery: cannot create the folder %s%s%s\n", outDir.c_str(), error ? ": " : "",
                 error ? error.message().c_str() : "");
    return 1;
  }

  auto application = platform::CreateOffscreenApplication(argc, argv);
  plot::RegisterStandardSeriesKinds();
  plot::RegisterExtendedSeriesKinds();

  int failures = 0;
  for (const plot::TSeriesTypeEntry& entry : plot::RegisteredSeriesTypes()) {
    plot::TChart chart;
    // Declared after the chart: the series leave it before it goes.
    std::vector<std::unique_ptr<plot::TChartSeries>> owned;
    Build(chart, entry, view3D, owned);
    const std::string path = (std::filesystem::path(outDir) / FileNameOf(entry)).string();
    std::string message;
    if (platform::ExportChart(chart, platform::ChartFileFormat::Png, path, {kWidth, kHeight}, message)) {
      std::printf("%s\n", path.c_str());
    } else {
      std::fprintf(stderr, "plot-gallery: %s\n", message.c_str());
      ++failures;
    }
    // The calculated series goes before its sources.
    while (!owned.empty()) owned.pop_back();
  }
  return failures == 0 ? 0 : 1;
}
