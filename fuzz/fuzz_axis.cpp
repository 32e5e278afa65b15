// Axis scaling and the label loops over any range, increment, logarithmic
// base, label separation and chart size: a chart with one line series whose
// two points span the range (or a fixed range as zooming sets it) is painted
// on the recording canvas, and the axis's mapping and step functions are
// called with any arguments. A paint that draws more primitives than any
// sensible axis needs is a finding: to the user a loop that never ends is a
// hang.

#include <fuzzer/FuzzedDataProvider.h>

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "plot/axes/axis_steps.h"
#include "plot/axes/chart_axis.h"
#include "plot/chart/chart.h"
#include "plot/chart/chart_exceptions.h"
#include "plot/series/line_series.h"

namespace {

using fuzzsupport::Finding;

// Four axes with 10000 labels each, a tick, a grid line and minor ticks per
// label, stay well below this.
constexpr long kPrimitiveBudget = 1'000'000;

double AnyValue(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0: return std::bit_cast<double>(in.ConsumeIntegral<std::uint64_t>());
    case 1: return in.ConsumeFloatingPoint<double>();
    case 2: return in.ConsumeFloatingPointInRange<double>(-1000, 1000);
    default: return static_cast<double>(in.ConsumeIntegralInRange<int>(-100000, 100000));
  }
}

// A setter refusing its value keeps the old one; that is fine here.
template <typename F>
void Try(F&& set) {
  try {
    set();
  } catch (const plot::ChartException&) {
  } catch (const plot::AxisException&) {
  }
}

void ConfigureAxis(plot::TChartAxis& axis, FuzzedDataProvider& in) {
  if (in.ConsumeBool()) {
    double a = AnyValue(in), b = AnyValue(in);
    axis.SetRange(a, b);
  }
  if (in.ConsumeBool()) Try([&] { axis.SetIncrement(AnyValue(in)); });
  if (in.ConsumeBool()) Try([&] { axis.SetLogarithmicBase(in.ConsumeIntegral<int>()); });
  if (in.ConsumeBool()) Try([&] { axis.SetLogarithmic(true); });
  axis.SetInverted(in.ConsumeBool());
  axis.SetLabelsOnAxis(in.ConsumeBool());
  axis.SetRoundFirstLabel(in.ConsumeBool());
  axis.SetExactDateTime(in.ConsumeBool());
  axis.SetGridCentered(in.ConsumeBool());
  axis.SetTickOnLabelsOnly(in.ConsumeBool());
  axis.MinorTicks().SetVisible(in.ConsumeBool());
  axis.SetMinorTickCount(in.ConsumeIntegralInRange<int>(0, 10));
  if (in.ConsumeBool()) Try([&] { axis.SetLabelsSeparation(in.ConsumeIntegral<int>()); });
  if (in.ConsumeBool()) Try([&] { axis.SetLabelsAngle(in.ConsumeIntegralInRange<int>(-1, 361)); });
  axis.SetLabelsMultiLine(in.ConsumeBool());
  if (in.ConsumeBool()) axis.SetLabelsSize(in.ConsumeIntegralInRange<int>(-10, 1000));
  if (in.ConsumeBool()) axis.SetDateTimeFormat(in.ConsumeRandomLengthString(12));
  if (in.ConsumeBool()) axis.SetAxisValuesFormat(in.ConsumeRandomLengthString(12));
  if (in.ConsumeBool()) axis.Title().SetCaption(in.ConsumeRandomLengthString(12));
  // Where the axis sits and how long its ticks are: percentages and pixels
  // the setters take whatever they are.
  if (in.ConsumeBool()) axis.SetStartPosition(AnyValue(in));
  if (in.ConsumeBool()) axis.SetEndPosition(AnyValue(in));
  if (in.ConsumeBool()) axis.SetPositionPercent(AnyValue(in));
  if (in.ConsumeBool()) axis.SetTickLength(in.ConsumeIntegral<int>());
  if (in.ConsumeBool()) axis.SetTickInnerLength(in.ConsumeIntegral<int>());
  if (in.ConsumeBool()) axis.SetMinorTickLength(in.ConsumeIntegral<int>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  fuzzsupport::BudgetCanvas canvas(kPrimitiveBudget);
  plot::TChart chart;
  const int width = in.ConsumeIntegralInRange<int>(0, 3000);
  const int height = in.ConsumeIntegralInRange<int>(0, 3000);
  chart.SetBounds(0, 0, width, height);
  chart.Canvas().SetBuffered(false);
  chart.SetView3D(in.ConsumeBool());
  chart.Legend().SetVisible(false);
  chart.SetControlCanvas(&canvas);

  plot::TLineSeries series;
  if (in.ConsumeBool()) {
    series.SetParentChart(&chart);
    series.XValues().SetDateTime(in.ConsumeBool());
    series.YValues().SetDateTime(in.ConsumeBool());
    const int points = in.ConsumeIntegralInRange<int>(1, 4);
    for (int i = 0; i < points; ++i) series.AddPointXY(AnyValue(in), AnyValue(in));
  }
  ConfigureAxis(chart.BottomAxis(), in);
  ConfigureAxis(chart.LeftAxis(), in);

  canvas.StartPaint();
  chart.Draw(canvas, {0, 0, width, height});

  // The mapping and step functions with any value, and with the pixels,
  // sizes and counts a screen can give, on the state the paint left.
  constexpr int kFarPixel = 1'000'000;
  for (plot::TChartAxis* axis : {&chart.BottomAxis(), &chart.LeftAxis()}) {
    axis->ValueToPixel(AnyValue(in));
    axis->PixelToValue(in.ConsumeIntegralInRange<int>(-kFarPixel, kFarPixel));
    axis->SpanToPixels(AnyValue(in));
    const double step = axis->StepForLabelCount(in.ConsumeIntegralInRange<int>(-1, kFarPixel));
    if (!(step > 0)) Finding("a label step that is not positive");
    axis->StepForLabelSize(in.ConsumeIntegralInRange<int>(0, kFarPixel));
    axis->HitTest(in.ConsumeIntegralInRange<int>(-kFarPixel, kFarPixel), in.ConsumeIntegralInRange<int>(-kFarPixel, kFarPixel));
  }
  // The step search starts at 1e-12 or above; there the next nice step is
  // always larger (below it repeated scaling by ten loses the difference,
  // and the search stops on a step that does not grow).
  const double x = AnyValue(in);
  if (std::isfinite(x) && x > 0) {
    const double next = plot::NiceStepAfter(x);
    if (next < x) Finding("NiceStepAfter went backwards");
    if (x >= 1e-12 && x <= 1e300 && !(next > x)) Finding("NiceStepAfter did not move on");
  }
  plot::NextDateStep(AnyValue(in));
  plot::DateStepIndexOf(AnyValue(in));
  return 0;
}
