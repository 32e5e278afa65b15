// Axis properties, range refresh, placement, value <-> pixel mapping and
// the label step.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "plot/axes/chart_axis.h"
#include "plot/axes/axis_steps.h"
#include "plot/chart/axis_panel.h"
#include "plot/chart/chart_exceptions.h"
#include "plot/chart/chart_series.h"
#include "runtime/rounding.h"

namespace plot {

namespace {

int Round(double value) { return static_cast<int>(runtime::RoundHalfEven(value)); }

constexpr double kMaxInt = 2147483647.0;
constexpr double kMinStep = 1e-12;

template <typename T>
bool Store(T& field, const T& value) {
  if (field == value) return false;
  field = value;
  return true;
}

// Positions and lengths a caller may give anything: held where the pixels
// they make stay far inside int (not-a-number positions draw at 0).
double HeldPercent(double value) { return std::isnan(value) ? value : std::clamp(value, -10000.0, 10000.0); }
int HeldLength(int value) { return std::clamp(value, -(1 << 20), 1 << 20); }

void CheckAngle(int value, const char* what) {
  if (value < 0 || value > 360) throw ChartException(std::string(what) + " Angle must be between 0 and 359 degrees");
}

}  // namespace

// ---- title

TChartAxisTitle::TChartAxisTitle(TCustomPlotPanel* chart, int defaultAngle)
    : TChartFontObject(chart), angle_(defaultAngle), defaultAngle_(defaultAngle) {}

void TChartAxisTitle::SetCaption(const std::string& value) {
  if (Store(caption_, value) && ParentChart() != nullptr) ParentChart()->Invalidate();
}

void TChartAxisTitle::SetAngle(int value) {
  CheckAngle(value, "Axis Title");
  if (Store(angle_, value) && ParentChart() != nullptr) ParentChart()->Invalidate();
}

// ---- construction

TCustomChartAxis::TCustomChartAxis(TCustomAxisPanel* chart, bool horizontal, bool farSide, bool depth)
    : chart_(chart),
      horizontal_(horizontal && !depth),
      farSide_(farSide),
      depth_(depth),
      title_(chart, (!horizontal && !depth) ? (farSide ? 270 : 90) : 0) {
  auto changed = [this] { Changed(); };
  axisPen_.OnChange = changed;
  grid_.OnChange = changed;
  ticks_.OnChange = changed;
  ticksInner_.OnChange = changed;
  minorTicks_.OnChange = changed;
  labelsFont_.OnChange = changed;
  if (chart_ != nullptr) chart_->RegisterAxis(this);
}

TCustomChartAxis::~TCustomChartAxis() {
  if (chart_ != nullptr) chart_->UnregisterAxis(this);
}

void TCustomChartAxis::Changed() {
  if (chart_ != nullptr) chart_->Invalidate();
}

TChartDepthAxis::TChartDepthAxis(TCustomAxisPanel* chart) : TCustomChartAxis(chart, false, true, true) {
  SetVisible(false);
}

void TChartAxis::SetGridCentered(bool value) {
  if (gridCentered_ == value) return;
  gridCentered_ = value;
  if (ParentChart() != nullptr) ParentChart()->Invalidate();
}

// ---- scaling properties

void TCustomChartAxis::SetAutomatic(bool value) {
  automatic_ = value;
  if (chart_ == nullptr || !chart_->Loading()) {
    automaticMinimum_ = value;
    automaticMaximum_ = value;
  }
  Changed();
}

void TCustomChartAxis::SetAutomaticMinimum(bool value) {
  if (!Store(automaticMinimum_, value)) return;
  if (!value) {
    automatic_ = false;
  } else if (automaticMaximum_) {
    automatic_ = true;
  }
  Changed();
}

void TCustomChartAxis::SetAutomaticMaximum(bool value) {
  if (!Store(automaticMaximum_, value)) return;
  if (!value) {
    automatic_ = false;
  } else if (automaticMinimum_) {
    automatic_ = true;
  }
  Changed();
}

void TCustomChartAxis::SetMinimum(double value) {
  if ((chart_ == nullptr || !chart_->Loading()) && value > maximum_) {
    throw AxisException("Axis Minimum Value must be <= Maximum");
  }
  if (Store(minimum_, value)) Changed();
}

void TCustomChartAxis::SetMaximum(double value) {
  if ((chart_ == nullptr || !chart_->Loading()) && value < minimum_) {
    throw AxisException("Axis Maximum Value must be >= Minimum");
  }
  if (Store(maximum_, value)) Changed();
}

void TCustomChartAxis::SetIncrement(double value) {
  // Written so that NaN, which no comparison passes, is refused too.
  if (!(value >= 0)) throw AxisException("Axis increment must be >= 0");
  if (Store(increment_, value)) Changed();
}

void TCustomChartAxis::SetInverted(bool value) {
  if (Store(inverted_, value)) Changed();
}

void TCustomChartAxis::SetLogarithmic(bool value) {
  if (value && !logarithmic_) {
    RefreshShowsDateTime();
    if (showsDateTime_) throw AxisException("DateTime Axis cannot be Logarithmic");
    RefreshRange();
    if (lowValue_ < 0 || highValue_ < 0) throw AxisException("Logarithmic Axis Min and Max values should be >= 0");
  }
  if (Store(logarithmic_, value)) Changed();
}

void TCustomChartAxis::SetLogarithmicBase(int value) {
  if (value < 2) throw AxisException("Axis Logarithmic Base should be >= 2");
  if (Store(logarithmicBase_, value)) Changed();
}

void TCustomChartAxis::SetLabelsSeparation(int value) {
  if (value < 0) throw AxisException("Labels Separation % must be greater than 0");
  if (Store(labelsSeparation_, value)) Changed();
}

void TCustomChartAxis::SetStartPosition(double value) {
  if (Store(startPosition_, HeldPercent(value))) Changed();
}

void TCustomChartAxis::SetEndPosition(double value) {
  if (Store(endPosition_, HeldPercent(value))) Changed();
}

void TCustomChartAxis::SetPositionPercent(double value) {
  if (Store(positionPercent_, HeldPercent(value))) Changed();
}

void TCustomChartAxis::SetExactDateTime(bool value) {
  if (Store(exactDateTime_, value)) Changed();
}

void TCustomChartAxis::SetRoundFirstLabel(bool value) {
  if (Store(roundFirstLabel_, value)) Changed();
}

// ---- drawing properties

void TCustomChartAxis::SetVisible(bool value) {
  if (Store(visible_, value)) Changed();
}
void TCustomChartAxis::SetTickLength(int value) {
  if (Store(tickLength_, HeldLength(value))) Changed();
}
void TCustomChartAxis::SetTickInnerLength(int value) {
  if (Store(tickInnerLength_, HeldLength(value))) Changed();
}
void TCustomChartAxis::SetMinorTickLength(int value) {
  if (Store(minorTickLength_, HeldLength(value))) Changed();
}
void TCustomChartAxis::SetMinorTickCount(int value) {
  if (Store(minorTickCount_, value)) Changed();
}
void TCustomChartAxis::SetTickOnLabelsOnly(bool value) {
  if (Store(tickOnLabelsOnly_, value)) Changed();
}
void TCustomChartAxis::SetLabels(bool value) {
  if (Store(labels_, value)) Changed();
}
void TCustomChartAxis::SetLabelsAngle(int value) {
  CheckAngle(value, "Axis Labels");
  if (Store(labelsAngle_, value)) Changed();
}
void TCustomChartAxis::SetLabelsMultiLine(bool value) {
  if (Store(labelsMultiLine_, value)) Changed();
}
void TCustomChartAxis::SetLabelsOnAxis(bool value) {
  if (Store(labelsOnAxis_, value)) Changed();
}
void TCustomChartAxis::SetLabelsSize(int value) {
  if (Store(labelsSize_, value)) Changed();
}
void TCustomChartAxis::SetLabelStyle(TAxisLabelStyle value) {
  if (Store(labelStyle_, value)) Changed();
}
void TCustomChartAxis::SetAxisValuesFormat(const std::string& value) {
  if (Store(axisValuesFormat_, value)) Changed();
}
void TCustomChartAxis::SetDateTimeFormat(const std::string& value) {
  if (Store(dateTimeFormat_, value)) Changed();
}
void TCustomChartAxis::SetTitleSize(int value) {
  if (Store(titleSize_, value)) Changed();
}

// ---- range and placement

void TCustomChartAxis::RefreshRange() {
  if (chart_ != nullptr) {
    auto extreme = [this](bool highest) {
      if (depth_) return highest ? chart_->MaxZValue() : chart_->MinZValue();
      if (horizontal_) return highest ? chart_->MaxXValue(this) : chart_->MinXValue(this);
      return highest ? chart_->MaxYValue(this) : chart_->MinYValue(this);
    };
    if (automatic_ || automaticMaximum_) maximum_ = extreme(true);
    if (automatic_ || automaticMinimum_) minimum_ = extreme(false);
  }
  highValue_ = maximum_;
  lowValue_ = minimum_;
  valueSpan_ = highValue_ - lowValue_;
}

void TCustomChartAxis::PlaceAlongChart() {
  if (chart_ == nullptr) return;
  int s, n;
  if (depth_) {
    s = 0;
    n = chart_->Width3D();
  } else if (horizontal_) {
    s = chart_->ChartRect().left;
    n = chart_->ChartWidth();
  } else {
    s = chart_->ChartRect().top;
    n = chart_->ChartHeight();
  }
  startPixel_ = s + Round(n * 0.01 * startPosition_);
  endPixel_ = s + Round(n * 0.01 * endPosition_);
  pixelLength_ = endPixel_ - startPixel_;
  centerPixel_ = (startPixel_ + endPixel_) / 2;
}

void TCustomChartAxis::WidenRangeForMargins(int low, int high) {
  // Without margins the range would map back onto itself; skipping keeps
  // it free of rounding noise.
  if (low == 0 && high == 0) return;
  const int p0 = startPixel_, p1 = endPixel_;
  startPixel_ += low;
  endPixel_ -= high;
  pixelLength_ = endPixel_ - startPixel_;
  const double vStart = PixelToValue(p0);
  const double vEnd = PixelToValue(p1);
  PlaceAlongChart();
  lowValue_ = std::min(vStart, vEnd);
  highValue_ = std::max(vStart, vEnd);
  valueSpan_ = highValue_ - lowValue_;
}

void TCustomChartAxis::SetRange(double a, double b) {
  bool changed = false;
  changed |= Store(automatic_, false);
  changed |= Store(automaticMinimum_, false);
  changed |= Store(automaticMaximum_, false);
  double lo = std::min(a, b), hi = std::max(a, b);
  if (hi - lo < 1e-10) hi = lo + 1e-10;
  changed |= Store(minimum_, lo);
  changed |= Store(maximum_, hi);
  if (changed) Changed();
}

// ---- mapping

int TCustomChartAxis::ChartDepth() const { return chart_ != nullptr ? chart_->Width3D() : 0; }

int TCustomChartAxis::NonLinearPixel(double value) const {
  if (depth_) {
    const int depth = ChartDepth();
    if (valueSpan_ == 0) return depth / 2;
    const double d = inverted_ ? highValue_ - value : value - lowValue_;
    return Round(depth * d / valueSpan_);
  }
  return horizontal_ ? ValueToPixelX(value) : ValueToPixelY(value);
}

namespace {

struct MapInput {
  double low, high, span;
  int start, end, length, center;
  bool inverted, horizontal, logarithmic;
};

int MapValue(const MapInput& m, double value) {
  if (m.logarithmic) {
    const double lnLow = m.low > 0 ? std::log(m.low) : 0;
    const double lnHigh = m.high > 0 ? std::log(m.high) : 0;
    const double c = lnHigh - lnLow;
    if (c == 0) return m.center;
    if (value <= 0) {
      const bool lowAtEnd = m.horizontal == m.inverted;
      return lowAtEnd ? m.end : m.start;
    }
    const double b = m.inverted ? lnHigh - std::log(value) : std::log(value) - lnLow;
    const int offset = Round(b * m.length / c);
    return m.horizontal ? m.start + offset : m.end - offset;
  }
  if (m.span == 0) return m.center;
  const double t = (value - m.low) * m.length / m.span;
  if (!(std::fabs(t) < kMaxInt)) return m.center;
  const bool fromStart = m.horizontal != m.inverted;
  return fromStart ? m.start + Round(t) : m.end - Round(t);
}

}  // namespace

int TCustomChartAxis::ValueToPixelX(double value) const {
  return MapValue({lowValue_, highValue_, valueSpan_, startPixel_, endPixel_, pixelLength_, centerPixel_, inverted_,
                   true, logarithmic_},
                  value);
}

int TCustomChartAxis::ValueToPixelY(double value) const {
  return MapValue({lowValue_, highValue_, valueSpan_, startPixel_, endPixel_, pixelLength_, centerPixel_, inverted_,
                   false, logarithmic_},
                  value);
}

double TCustomChartAxis::PixelToValue(int pixel) const {
  if (depth_) {
    const int depth = ChartDepth();
    if (depth == 0) return lowValue_;
    const double d = static_cast<double>(pixel) * valueSpan_ / depth;
    return inverted_ ? highValue_ - d : lowValue_ + d;
  }
  if (logarithmic_) {
    const bool highAtStart = horizontal_ == inverted_;
    if (pixel == startPixel_) return highAtStart ? highValue_ : lowValue_;
    if (pixel == endPixel_) return highAtStart ? lowValue_ : highValue_;
    const double lnLow = lowValue_ > 0 ? std::log(lowValue_) : 0;
    const double lnHigh = highValue_ > 0 ? std::log(highValue_) : 0;
    const double c = lnHigh - lnLow;
    if (c == 0 || pixelLength_ == 0) return lowValue_;
    const double d = inverted_ ? c * (endPixel_ - pixel) / pixelLength_ : c * (pixel - startPixel_) / pixelLength_;
    return horizontal_ ? std::exp(lnLow + d) : std::exp(lnHigh - d);
  }
  if (pixelLength_ < 1) return 0;
  const double a = (inverted_ ? endPixel_ - pixel : pixel - startPixel_) * valueSpan_ / pixelLength_;
  return horizontal_ ? lowValue_ + a : highValue_ - a;
}

int TCustomChartAxis::SpanToPixels(double span) const {
  if (span <= 0) return 0;
  if (logarithmic_) {
    const double lnLow = lowValue_ > 0 ? std::log(lowValue_) : 0;
    const double lnHigh = highValue_ > 0 ? std::log(highValue_) : 0;
    const double c = lnHigh - lnLow;
    return c == 0 ? 0 : Round(std::log(span) * pixelLength_ / c);
  }
  return valueSpan_ == 0 ? 0 : Round(span * pixelLength_ / valueSpan_);
}

// ---- label step

double TCustomChartAxis::CalcDateTimeStep(int maxLabels) const {
  double step = std::max(increment_, kOneSecond);
  if (valueSpan_ / step > 1000000) step = valueSpan_ / 1000000;
  while (runtime::RoundHalfEven(valueSpan_ / step) > maxLabels) {
    const double next = step >= DateStep(24) ? step * 2 : NextDateStep(step);
    if (!(next > step)) break;  // only a non-finite span gets here
    step = next;
  }
  return std::max(step, kOneSecond);
}

double TCustomChartAxis::StepForLabelCount(int maxLabels) const {
  if (maxLabels <= 0) return showsDateTime_ ? kOneSecond : kMinStep;
  if (showsDateTime_) return CalcDateTimeStep(maxLabels);
  double step = increment_ > 0 ? increment_ : (std::fabs(valueSpan_) >= 1 ? 1.0 : kMinStep);
  if (labelsSeparation_ > 0) {
    for (;;) {
      const double q = valueSpan_ / step;
      if (std::fabs(q) >= kMaxInt || runtime::RoundHalfEven(q) > maxLabels) {
        const double next = NiceStepAfter(step);
        if (!(next > step)) break;
        step = next;
        continue;
      }
      break;
    }
  }
  return std::max(step, kMinStep);
}

double TCustomChartAxis::StepForLabelSize(int labelSize) const {
  // In 64 bits: a large percent on a wide label must not wrap to a narrow one.
  std::int64_t w = labelSize;
  if (labelsSeparation_ > 0) w += runtime::RoundHalfEven(labelsSeparation_ * 0.01 * static_cast<double>(w));
  const int count = w <= 0 ? 1 : Round(static_cast<double>(pixelLength_) / static_cast<double>(w));
  return StepForLabelCount(count);
}

void TCustomChartAxis::RefreshShowsDateTime() {
  showsDateTime_ = false;
  if (chart_ == nullptr) return;
  for (TChartSeries* s : chart_->SeriesList()) {
    if (!s->Active() || !s->UsesAxis(this)) continue;
    showsDateTime_ = horizontal_ ? s->XValues().DateTime() : s->YValues().DateTime();
    return;
  }
}

int TCustomChartAxis::FontHeight() { return chart_ != nullptr ? chart_->Canvas().MeasureFontHeight() : 0; }

double TCustomChartAxis::LabelStep() {
  if (chart_ == nullptr) return StepForLabelCount(1);
  chart_->AssignFont(labelsFont_);
  const int h = FontHeight();
  auto size = [&](double value) {
    int lines = 1;
    const std::string text = FormatLabel(value);
    const int width = chart_->MultiLineTextWidth(text, lines);
    const bool heightAlong = horizontal_ ? (labelsAngle_ == 90 || labelsAngle_ == 270)
                                         : (labelsAngle_ == 0 || labelsAngle_ == 180);
    return heightAlong ? h * lines : width;
  };
  return StepForLabelSize(std::max(size(highValue_), size(lowValue_)));
}

}  // namespace plot
