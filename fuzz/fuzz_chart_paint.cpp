// A whole chart paint of a random set of line, point and bar series on the
// recording canvas: any values (null points, labels with line breaks, equal
// and unordered X), legend, titles, marks, side-by-side and stacked bars,
// paging, 2D and 3D, then a zoom or scroll with the mouse and a second
// paint. Besides crashes, undefined behaviour and hangs, a paint that draws
// far more than its points, labels and legend rows need is a finding.

#include <fuzzer/FuzzedDataProvider.h>

#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "plot/axes/chart_axis.h"
#include "plot/chart/chart.h"
#include "plot/chart/chart_exceptions.h"
#include "plot/series/bar_series.h"
#include "plot/series/line_series.h"
#include "plot/series/series_marks.h"

namespace {

constexpr long kPrimitiveBudget = 2'000'000;
constexpr int kMaxPoints = 300;

double AnyValue(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange<int>(0, 7)) {
    case 0: return std::bit_cast<double>(in.ConsumeIntegral<std::uint64_t>());
    case 1: return in.ConsumeFloatingPoint<double>();
    case 2:
    case 3: return in.ConsumeFloatingPointInRange<double>(-100, 100);
    default: return static_cast<double>(in.ConsumeIntegralInRange<int>(-50, 200));
  }
}

template <typename F>
void Try(F&& set) {
  try {
    set();
  } catch (const plot::ChartException&) {
  } catch (const plot::AxisException&) {
  } catch (const plot::LegendException&) {
  }
}

std::string AnyLabel(FuzzedDataProvider& in) {
  std::string label = in.ConsumeRandomLengthString(12);
  if (in.ConsumeIntegralInRange<int>(0, 7) == 0) label += '\r' + in.ConsumeRandomLengthString(6);
  return label;
}

void FillSeries(plot::TChartSeries& series, FuzzedDataProvider& in) {
  const int points = in.ConsumeIntegralInRange<int>(0, kMaxPoints);
  const bool withX = in.ConsumeBool();
  const bool labelled = in.ConsumeBool();
  for (int i = 0; i < points && in.remaining_bytes() > 0; ++i) {
    std::string label = labelled ? AnyLabel(in) : std::string();
    switch (in.ConsumeIntegralInRange<int>(0, 15)) {
      case 0: series.AddNullPoint(label); break;
      case 1: series.AddPointY(AnyValue(in), label, plot::Color(in.ConsumeIntegral<std::uint32_t>())); break;
      default:
        if (withX) series.AddPointXY(AnyValue(in), AnyValue(in), label);
        else series.AddPointY(AnyValue(in), label);
    }
  }
  series.Marks().SetVisible(in.ConsumeIntegralInRange<int>(0, 3) == 0);
  series.Marks().SetStyle(static_cast<plot::TSeriesMarksStyle>(in.ConsumeIntegralInRange<int>(0, 8)));
  series.Marks().SetClip(in.ConsumeBool());
  series.SetColorEachPoint(in.ConsumeBool());
  series.SetActive(in.ConsumeIntegralInRange<int>(0, 5) != 0);
  series.XValues().SetDateTime(in.ConsumeIntegralInRange<int>(0, 3) == 0);
  if (in.ConsumeBool()) series.SetHorizAxis(static_cast<plot::THorizAxis>(in.ConsumeIntegralInRange<int>(0, 2)));
  if (in.ConsumeBool()) series.SetVertAxis(static_cast<plot::TVertAxis>(in.ConsumeIntegralInRange<int>(0, 2)));
}

void ConfigureBars(plot::TBarSeries& bars, FuzzedDataProvider& in) {
  bars.SetMultiBar(static_cast<plot::TMultiBar>(in.ConsumeIntegralInRange<int>(0, 3)));
  bars.SetBarStyle(static_cast<plot::TBarStyle>(in.ConsumeIntegralInRange<int>(0, 6)));
  Try([&] { bars.SetBarWidthPercent(in.ConsumeIntegralInRange<int>(0, 101)); });
  Try([&] { bars.SetOffsetPercent(in.ConsumeIntegralInRange<int>(-101, 101)); });
  bars.SetSideMargins(in.ConsumeBool());
  bars.SetAutoBarSize(in.ConsumeBool());
  if (in.ConsumeBool()) bars.SetCustomBarWidth(in.ConsumeIntegralInRange<int>(-5, 500));
  bars.SetUseYOrigin(in.ConsumeBool());
  if (in.ConsumeBool()) bars.SetYOrigin(AnyValue(in));
}

void ConfigureChart(plot::TChart& chart, FuzzedDataProvider& in) {
  chart.SetView3D(in.ConsumeBool());
  Try([&] { chart.SetChart3DPercent(in.ConsumeIntegralInRange<int>(0, 101)); });
  plot::TChartLegend& legend = chart.Legend();
  legend.SetVisible(in.ConsumeBool());
  legend.SetAlignment(static_cast<plot::TLegendAlignment>(in.ConsumeIntegralInRange<int>(0, 3)));
  legend.SetLegendStyle(static_cast<plot::TLegendStyle>(in.ConsumeIntegralInRange<int>(0, 3)));
  legend.SetTextStyle(static_cast<plot::TLegendTextStyle>(in.ConsumeIntegralInRange<int>(0, 5)));
  Try([&] { legend.SetColorWidth(in.ConsumeIntegralInRange<int>(-1, 101)); });
  Try([&] { legend.SetTopPos(in.ConsumeIntegralInRange<int>(-1, 101)); });
  Try([&] { legend.SetFirstValue(in.ConsumeIntegralInRange<int>(-1, 20)); });
  legend.SetMaxNumRows(in.ConsumeIntegralInRange<int>(0, 50));
  legend.SetInverted(in.ConsumeBool());
  legend.SetResizeChart(in.ConsumeBool());
  legend.SetShadowSize(in.ConsumeIntegralInRange<int>(0, 10));
  if (in.ConsumeBool()) chart.Title().SetText({AnyLabel(in), AnyLabel(in)});
  if (in.ConsumeBool()) chart.Foot().SetText({AnyLabel(in)});
  chart.Title().SetAlignment(static_cast<plot::TAlignment>(in.ConsumeIntegralInRange<int>(0, 2)));
  Try([&] { chart.SetMaxPointsPerPage(in.ConsumeIntegralInRange<int>(-1, 50)); });
  chart.SetScaleLastPage(in.ConsumeBool());
  chart.SetPage(in.ConsumeIntegralInRange<int>(0, 40));
  chart.SetMarginLeft(in.ConsumeIntegralInRange<int>(0, 60));
  chart.SetMarginBottom(in.ConsumeIntegralInRange<int>(0, 60));
  for (plot::TChartAxis* axis : {&chart.BottomAxis(), &chart.LeftAxis()}) {
    axis->SetInverted(in.ConsumeBool());
    Try([&] { axis->SetLabelsAngle(in.ConsumeIntegralInRange<int>(0, 360)); });
    axis->SetLabelStyle(static_cast<plot::TAxisLabelStyle>(in.ConsumeIntegralInRange<int>(0, 4)));
    if (in.ConsumeIntegralInRange<int>(0, 3) == 0) Try([&] { axis->SetLogarithmic(true); });
  }
}

// A drag with either button: a zoom box, a scroll, or a reset of the zoom.
void Drag(plot::TChart& chart, FuzzedDataProvider& in, int width, int height) {
  const auto button = static_cast<plot::TMouseButton>(in.ConsumeIntegralInRange<int>(0, 1));
  const plot::TShiftState held = button == plot::mbLeft ? plot::ssLeft : plot::ssRight;
  chart.MouseDown(button, held, in.ConsumeIntegralInRange<int>(-10, width + 10), in.ConsumeIntegralInRange<int>(-10, height + 10));
  const int moves = in.ConsumeIntegralInRange<int>(0, 3);
  int x = 0, y = 0;
  for (int i = 0; i <= moves; ++i) {
    x = in.ConsumeIntegralInRange<int>(-10, width + 10);
    y = in.ConsumeIntegralInRange<int>(-10, height + 10);
    chart.MouseMove(held, x, y);
  }
  chart.MouseUp(button, 0, x, y);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  fuzzsupport::BudgetCanvas canvas(kPrimitiveBudget);
  plot::TChart chart;
  const int width = in.ConsumeIntegralInRange<int>(1, 1600);
  const int height = in.ConsumeIntegralInRange<int>(1, 1200);
  chart.SetBounds(0, 0, width, height);
  chart.Canvas().SetBuffered(false);
  chart.SetControlCanvas(&canvas);

  std::vector<std::unique_ptr<plot::TChartSeries>> series;
  const int count = in.ConsumeIntegralInRange<int>(0, 4);
  for (int i = 0; i < count; ++i) {
    const int kind = in.ConsumeIntegralInRange<int>(0, 2);
    if (kind == 0) series.push_back(std::make_unique<plot::TLineSeries>());
    else if (kind == 1) series.push_back(std::make_unique<plot::TPointSeries>());
    else series.push_back(std::make_unique<plot::TBarSeries>());
    series.back()->SetParentChart(&chart);
  }
  for (auto& s : series) {
    FillSeries(*s, in);
    if (auto* bars = dynamic_cast<plot::TBarSeries*>(s.get())) ConfigureBars(*bars, in);
  }
  ConfigureChart(chart, in);

  canvas.StartPaint();
  chart.Draw(canvas, {0, 0, width, height});
  for (int i = in.ConsumeIntegralInRange<int>(0, 2); i > 0; --i) Drag(chart, in, width, height);
  canvas.StartPaint();
  chart.Draw(canvas, {0, 0, width, height});
  return 0;
}
