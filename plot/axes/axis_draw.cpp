// Room beside the plotting rectangle, and drawing an axis: the label
// loops, ticks, grid and the axis line.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "plot/axes/chart_axis.h"
#include "plot/axes/axis_steps.h"
#include "plot/chart/axis_panel.h"
#include "plot/chart/chart_series.h"
#include "runtime/date_time.h"
#include "runtime/rounding.h"

namespace plot {

namespace {

int Round(double value) { return static_cast<int>(runtime::RoundHalfEven(value)); }

constexpr double kMaxInt = 2147483647.0;
bool gWallGridLines = true;

int CountLines(const std::string& text) {
  int n = 1;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == '\r') ++n;
  }
  return n;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

bool DrawWallGridLines() { return gWallGridLines; }
void SetDrawWallGridLines(bool value) { gWallGridLines = value; }

int TCustomChartAxis::WallSize() const { return chart_ != nullptr ? chart_->GetAxisSeparationWall(this) : 0; }

// ---- room

void TCustomChartAxis::ReserveRoom(Rect& rect, bool shrink) {
  if (chart_ == nullptr) return;
  RefreshShowsDateTime();
  const int tick = TickRoom();
  const int shift = PositionShift(rect);
  // The edge on the axis side and the outward direction.
  int* edge;
  int out;
  if (horizontal_) {
    edge = farSide_ ? &rect.top : &rect.bottom;
    out = farSide_ ? -1 : 1;
  } else if (farSide_ || depth_) {
    edge = &rect.right;
    out = 1;
  } else {
    edge = &rect.left;
    out = -1;
  }
  if (!shrink) {
    axisLinePos_ = *edge - out * shift;
    labelsPos_ = axisLinePos_ + out * tick;
    titlePos_ = labelsPos_ + out * LabelRoom();
    return;
  }
  if (depth_) {
    titlePos_ = rect.right;
  } else if (!title_.Caption().empty()) {
    *edge -= out * TitleRoom();
    titlePos_ = *edge;
  }
  if (labels_) *edge -= out * LabelRoom();
  labelsPos_ = *edge;
  *edge -= out * (tick + std::max(0, WallSize()));
  titlePos_ -= out * shift;
  labelsPos_ -= out * shift;
}

// ---- drawing

void TCustomChartAxis::DrawAxis(bool placeAxisLine) {
  if (chart_ == nullptr) return;
  RefreshShowsDateTime();
  wall_ = WallSize();
  chart_->AssignFont(labelsFont_);
  const double r = LabelStep();
  if (placeAxisLine) {
    const Rect& rect = chart_->ChartRect();
    const int shift = PositionShift(rect);
    if (horizontal_) {
      axisLinePos_ = farSide_ ? rect.top + shift : rect.bottom - shift;
    } else {
      axisLinePos_ = (farSide_ || depth_) ? rect.right - shift : rect.left + shift;
    }
  }
  if (!title_.Caption().empty()) DrawTitle();

  int k = kNoDateStep;
  if (showsDateTime_ && exactDateTime_ && increment_ != 0) {
    k = DateStepIndexOf(increment_);
    if (k != kNoDateStep) {
      while (r > DateStep(k) && k < 24) ++k;
    }
  }
  if (highValue_ >= lowValue_ && (r > 0 || (k >= 18 && k <= 24))) {
    hasPrevTick_ = false;
    SelectLabelsFont(labelsFont_);
    switch (ResolveLabelStyle()) {
      case talValue:
        if (chart_->OnGetNextAxisLabel) {
          EventLoop(r, k);
        } else if (!logarithmic_ || increment_ != 0) {
          ValueLoop(r, k);
        } else {
          LogarithmicLoop();
        }
        break;
      case talMark:
        PointLoop(talMark);
        break;
      case talText:
        if (depth_) {
          DepthSeriesLoop();
        } else {
          PointLoop(talText);
        }
        break;
      default:
        break;
    }
  }
  if (axisPen_.Visible()) {
    chart_->Canvas().ApplyChartPen(axisPen_);
    DrawAxisLine();
  }
}

double TCustomChartAxis::SnapToDateStep(double value, int k) const {
  if (value <= runtime::EncodeDate(1900, 1, 1)) return value;
  runtime::DateFields d;
  runtime::TimeFields t;
  try {
    runtime::DecodeDateTime(value, d, t);
  } catch (const std::exception&) {
    return value;
  }
  if (k == 18) {
    d.day = d.day < 15 ? 1 : 15;
  } else if (k >= 19 && k <= 23) {
    d.day = 1;
  } else if (k == 24) {
    d.day = 1;
    d.month = 1;
  }
  return runtime::EncodeDate(d.year, d.month, d.day);
}

double TCustomChartAxis::StepBack(double value, double step, int k) const {
  if (!(k >= 18 && k <= 24 && exactDateTime_ && showsDateTime_)) return value - step;
  runtime::DateFields d;
  runtime::TimeFields t;
  try {
    runtime::DecodeDateTime(value, d, t);
  } catch (const std::exception&) {
    // Before the calendar's first year there is nothing to step to.
    return -HUGE_VAL;
  }
  auto monthsBack = [&d](int n) {
    if (n < d.month) {
      d.month -= n;
    } else {
      --d.year;
      d.month = d.month + 12 - n;
    }
  };
  switch (k) {
    case 18:
      if (d.day == 1) {
        monthsBack(1);
        d.day = 15;
      } else {
        d.day = d.day <= 15 ? 1 : 15;
      }
      break;
    case 19: monthsBack(1); d.day = 1; break;
    case 20: monthsBack(2); d.day = 1; break;
    case 21: monthsBack(3); d.day = 1; break;
    case 22: monthsBack(4); d.day = 1; break;
    case 23: monthsBack(6); d.day = 1; break;
    default:
      // 29 February steps back to the 28th of a common year.
      --d.year;
      d.day = std::min(d.day, DaysInMonth(std::max(d.year, 1), d.month));
      break;
  }
  if (d.year < 1) return -HUGE_VAL;
  return runtime::EncodeDate(d.year, d.month, d.day);
}

void TCustomChartAxis::ValueLoop(double r, int k) {
  // A range of one value has one label whatever the step: an axis that
  // shows data shows at least that value.
  if (lowValue_ == highValue_) {
    if (labelsOnAxis_) DrawLabelAt(highValue_);
    return;
  }
  // A step that overflowed (a span near the largest double) is as degenerate
  // as one giving too many labels: stepping back by it never passes the end.
  if (!std::isfinite(r) || std::fabs(highValue_ / r) >= kMaxInt || std::fabs(valueSpan_ / r) >= 10000) return;
  // Values within a millionth of a step of a range end or of a multiple of
  // the step count as on it: binary fractions (0.7 / 0.1 is just below 7)
  // would otherwise drop the end labels.
  const double tolerance = r * 1e-6;
  const bool calendar = k >= 14 && k <= 24;
  double v;
  double steps = 0;  // the first value as a count of steps, when rounded
  bool counted = false;
  if (calendar) {
    v = SnapToDateStep(highValue_, k);
  } else if (roundFirstLabel_) {
    const double q = highValue_ / r;
    steps = std::fabs(q - std::round(q)) < 1e-6 ? std::round(q) : std::trunc(q);
    counted = true;
    v = steps * r;
  } else {
    v = highValue_;
  }
  // Plain steps are counted from the first value, never summed, so no
  // error builds up on the way down.
  const double first = v;
  long n = 0;
  auto back = [&](double& value) {
    if (calendar) {
      const double next = StepBack(value, r, k);
      if (!(next < value)) return false;
      value = next;
      return true;
    }
    ++n;
    value = counted ? (steps - static_cast<double>(n)) * r : first - static_cast<double>(n) * r;
    // Past the largest double the value is -inf, which still passes a low
    // end whose tolerance overflowed to -inf too.
    return std::isfinite(value);
  };
  if (labelsOnAxis_) {
    while (v > highValue_ + tolerance) {
      if (!back(v)) return;
    }
    while (v >= lowValue_ - tolerance) {
      DrawLabelAt(v);
      if (!back(v)) return;
    }
  } else {
    while (v >= highValue_ - tolerance) {
      if (!back(v)) return;
    }
    while (v > lowValue_ + tolerance) {
      DrawLabelAt(v);
      if (!back(v)) return;
    }
  }
}

void TCustomChartAxis::EventLoop(double r, int k) {
  double v = lowValue_;
  bool stop = true;
  for (int i = 0;; ++i) {
    chart_->OnGetNextAxisLabel(*this, i, v, stop);
    if (stop) {
      if (i == 0) ValueLoop(r, k);
      return;
    }
    if (v < lowValue_ - 1e-7 || v > highValue_ + 1e-7) return;
    DrawLabelAt(v);
    if (i >= 1000) return;
  }
}

void TCustomChartAxis::LogarithmicLoop() {
  if (lowValue_ == highValue_) return;
  const double base = logarithmicBase_;
  double v;
  if (lowValue_ > 0) {
    v = std::pow(base, static_cast<double>(runtime::RoundHalfEven(std::log(lowValue_) / std::log(base))));
  } else {
    lowValue_ = lowValue_ == 0 ? 0.1 : 1e-10;
    valueSpan_ = highValue_ - lowValue_;
    v = lowValue_;
  }
  while (v <= highValue_) {
    if (v >= lowValue_) {
      DrawLabelAt(v);
      if (minorTicks_.Visible()) {
        chart_->Canvas().ApplyChartPen(minorTicks_);
        for (int i = 1; i <= minorTickCount_; ++i) {
          const double m = v + i * (base * v - v) / (minorTickCount_ + 1);
          if (m > highValue_) break;
          DrawTick(ValueToPixel(m), minorTickLength_, false);
        }
      }
    }
    const double next = v * base;
    if (!(next > v)) return;
    v = next;
  }
}

void TCustomChartAxis::DrawLabelAt(double value) {
  const int p = ValueToPixel(value);
  if (!tickOnLabelsOnly_) DrawTicksAndGrid(p);
  if (!labels_) return;
  const std::string text = FormatLabel(value);
  if (tickOnLabelsOnly_) DrawTicksAndGrid(p);
  SelectLabelsFont(labelsFont_);
  if (depth_) {
    TPlotCanvas3D& canvas = chart_->Canvas();
    canvas.SetTextAlignment(platform::text_align::kLeft | platform::text_align::kTop);
    canvas.WriteTextAtDepth(labelsPos_, chart_->ChartRect().bottom, p, text);
    return;
  }
  const int depth = farSide_ ? ChartDepth() : 0;
  if (horizontal_) {
    DrawAxisLabel(p, labelsPos_, labelsAngle_, text, depth);
  } else {
    DrawAxisLabel(labelsPos_, p, labelsAngle_, text, depth);
  }
}

void TCustomChartAxis::PointLoop(TAxisLabelStyle style) {
  std::vector<TChartSeries*>& series = pointLoopSeries_;
  series.clear();
  int first = -1, last = -1;
  for (TChartSeries* s : chart_->SeriesList()) {
    if (!s->Active() || !s->UsesAxis(this) || s->PointCount() == 0) continue;
    // Axes are drawn before the series: find this paint's visible points
    // now rather than use the previous paint's.
    s->ComputeVisibleRange();
    series.push_back(s);
    if (s->FirstVisibleIndex() < 0) continue;
    first = first < 0 ? s->FirstVisibleIndex() : std::min(first, s->FirstVisibleIndex());
    last = std::max(last, s->LastVisibleIndex());
  }
  if (first < 0) return;
  SelectLabelsFont(labelsFont_);
  const int H = FontHeight();
  const int angle = labelsAngle_;
  const bool along = horizontal_ ? (angle != 90 && angle != 270) : (angle == 90 || angle == 270);
  // The extent along the axis that a label claims, and half of it.
  // In 64 bits: any percent the setter takes, on any text, must not wrap.
  auto claim = [this](int size, bool separated) {
    std::int64_t s = size;
    if (separated) s += static_cast<std::int64_t>(std::trunc(size * 0.02 * labelsSeparation_));
    return s / 2;
  };
  // Without the label event, a point whose label could not clear the last
  // one drawn even with the smallest text (one line, or no width at all) is
  // passed over before its text is fetched: most points of a long series.
  const bool event = static_cast<bool>(chart_->OnGetAxisLabel);
  const std::int64_t leastHalf = claim(along ? 0 : H, true);
  bool drawnBefore = false;
  std::int64_t q = 0, hPrev = 0;
  auto clears = [&](std::int64_t p, std::int64_t h) { return p < q ? q - hPrev >= p + h : p - h >= q + hPrev; };
  std::string text;
  for (int i = first; i <= last; ++i) {
    TChartSeries* source = nullptr;
    for (TChartSeries* s : series) {
      const bool reaches = style == talText ? s->LabelCount() > i : s->PointCount() > i;
      if (reaches && i < s->PointCount()) {
        source = s;
        break;
      }
    }
    if (source == nullptr) continue;
    if (event) {
      text = style == talMark ? source->MarkText(i) : source->PointLabel(i);
      chart_->OnGetAxisLabel(*this, source, i, text);
    }
    const double value = horizontal_ ? source->XValueAt(i) : source->YValueAt(i);
    if (value < lowValue_ || value > highValue_) continue;
    const int p = ValueToPixel(value);
    if (!tickOnLabelsOnly_) DrawTicksAndGrid(p);
    if (!labels_) continue;
    const bool separated = labelsSeparation_ != 0 && drawnBefore;
    if (!event && separated && !clears(p, leastHalf)) continue;
    if (!event) text = style == talMark ? source->MarkText(i) : source->PointLabel(i);
    int size;
    if (along) {
      int lines = 1;
      size = chart_->MultiLineTextWidth(text, lines);
    } else {
      size = H * CountLines(text);
    }
    const std::int64_t h = claim(size, separated);
    if (separated && !clears(p, h)) continue;
    q = p;
    hPrev = h;
    drawnBefore = true;
    if (tickOnLabelsOnly_) DrawTicksAndGrid(p);
    SelectLabelsFont(labelsFont_);
    const int depth = farSide_ ? ChartDepth() : 0;
    if (horizontal_) {
      DrawAxisLabel(p, labelsPos_, angle, text, depth);
    } else {
      DrawAxisLabel(labelsPos_, p, angle, text, depth);
    }
  }
}

void TCustomChartAxis::DepthSeriesLoop() {
  TPlotCanvas3D& canvas = chart_->Canvas();
  const int from = static_cast<int>(std::trunc(lowValue_));
  const int to = static_cast<int>(std::trunc(highValue_));
  for (int a = from; a <= to; ++a) {
    const int p = ValueToPixel(highValue_ - a - 0.5);
    std::string text = chart_->SeriesTitleForDepth(a);
    if (chart_->OnGetAxisLabel) chart_->OnGetAxisLabel(*this, nullptr, a, text);
    if (!labels_) continue;
    SelectLabelsFont(labelsFont_);
    canvas.SetTextAlignment(platform::text_align::kLeft | platform::text_align::kTop);
    canvas.WriteTextAtDepth(labelsPos_, chart_->ChartRect().bottom, p, text);
  }
}

// ---- ticks, grid and line

void TCustomChartAxis::DrawTicksAndGrid(int p) {
  if (depth_) return;
  TPlotCanvas3D& canvas = chart_->Canvas();
  if (ticks_.Visible()) {
    canvas.ApplyChartPen(ticks_);
    DrawTick(p, tickLength_, false);
  }
  if (grid_.Visible()) {
    if (!gridCentered_) {
      DrawGridLine(p);
    } else if (hasPrevTick_) {
      DrawGridLine(Round((p + prevTick_) * 0.5));
    }
  }
  if (ticksInner_.Visible()) {
    canvas.ApplyChartPen(ticksInner_);
    DrawTick(p, tickInnerLength_, true);
  }
  if (minorTicks_.Visible() && hasPrevTick_ && !logarithmic_) {
    canvas.ApplyChartPen(minorTicks_);
    for (int i = 1; i <= minorTickCount_; ++i) {
      DrawTick(p - Round(static_cast<double>(p - prevTick_) / (minorTickCount_ + 1) * i), minorTickLength_, false);
    }
  }
  prevTick_ = p;
  hasPrevTick_ = true;
}

void TCustomChartAxis::DrawTick(int p, int length, bool inner) {
  // A tick of no length covers no pixel.
  if (length == 0) return;
  TPlotCanvas3D& canvas = chart_->Canvas();
  const int off = inner ? -1 : 1;
  const int len = inner ? -length : length;
  if (horizontal_) {
    if (!farSide_) {
      const int y0 = axisLinePos_ + off + wall_;
      canvas.DrawLineAtDepth(p, y0, p, y0 + len, 0);
    } else {
      const int y0 = axisLinePos_ - off;
      canvas.DrawLineAtDepth(p, y0, p, y0 - len, ChartDepth());
    }
  } else if (!farSide_) {
    const int x0 = axisLinePos_ - off - wall_;
    canvas.DrawLineAtDepth(x0, p, x0 - len, p, 0);
  } else {
    const int x0 = axisLinePos_ + off;
    canvas.DrawLineAtDepth(x0, p, x0 + len, p, ChartDepth());
  }
}

void TCustomChartAxis::DrawGridLine(int p) {
  TPlotCanvas3D& canvas = chart_->Canvas();
  canvas.Brush().style = platform::BrushStyle::Clear;
  canvas.SetBackgroundMode(platform::BackgroundMode::Transparent);
  canvas.ApplyChartPen(grid_);
  platform::Pen& pen = canvas.Pen();
  if (chart_->PrintingNow() && pen.style != platform::PenStyle::Solid && pen.width == 1) pen.width = 0;
  if (grid_.Color() == clSystemColor) pen.color = clGray;
  const Rect& r = chart_->ChartRect();
  const bool is3D = chart_->View3D();
  const int depth = ChartDepth();
  if (horizontal_) {
    if (!is3D) {
      canvas.DrawVerticalLine(p, r.top, r.bottom);
    } else {
      canvas.DrawVerticalLineAtDepth(p, r.top, r.bottom, depth);
      if (!farSide_ && gWallGridLines) canvas.DrawDepthLine(p, r.bottom, 0, depth);
    }
  } else if (!is3D) {
    canvas.DrawHorizontalLine(r.left, r.right, p);
  } else {
    canvas.DrawHorizontalLineAtDepth(r.left, r.right, p, depth);
    if (!farSide_ && gWallGridLines) canvas.DrawDepthLine(r.left, p, 0, depth);
  }
  canvas.SetBackgroundMode(platform::BackgroundMode::Opaque);
}

void TCustomChartAxis::DrawAxisLine() {
  TPlotCanvas3D& canvas = chart_->Canvas();
  if (depth_) {
    const Rect& r = chart_->ChartRect();
    canvas.DrawDepthLine(r.right, r.bottom + chart_->GetAxisSeparationWall(&chart_->BottomAxis()), 0, ChartDepth());
    return;
  }
  if (horizontal_) {
    if (!farSide_) {
      const int leftWall = chart_->GetAxisSeparationWall(&chart_->LeftAxis());
      const int y = axisLinePos_ + wall_;
      canvas.DrawLineAtDepth(startPixel_ - leftWall, y, endPixel_, y, 0);
    } else {
      canvas.DrawLineAtDepth(startPixel_, axisLinePos_, endPixel_, axisLinePos_, ChartDepth());
    }
  } else if (!farSide_) {
    const int bottomWall = chart_->GetAxisSeparationWall(&chart_->BottomAxis());
    const int x = axisLinePos_ - wall_;
    canvas.DrawLineAtDepth(x, startPixel_, x, endPixel_ + bottomWall, 0);
  } else {
    canvas.DrawLineAtDepth(axisLinePos_, startPixel_, axisLinePos_, endPixel_, ChartDepth());
  }
}

}  // namespace plot
