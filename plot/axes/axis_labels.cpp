// Label texts, label style, room measurement, text placement, the axis
// title and the hit test.
#include <algorithm>
#include <cmath>

#include "plot/axes/chart_axis.h"
#include "plot/chart/axis_panel.h"
#include "plot/chart/chart_series.h"
#include "runtime/date_time.h"
#include "runtime/format_settings.h"
#include "runtime/rounding.h"
#include "runtime/text_format.h"

namespace plot {

namespace {

int Round(double value) { return static_cast<int>(runtime::RoundHalfEven(value)); }

constexpr char kLineSeparator = '\r';

}  // namespace

std::string TCustomChartAxis::FormatLabel(double value, bool callEvent) {
  std::string text;
  if (!showsDateTime_) {
    text = runtime::FormatFloat(axisValuesFormat_, value);
  } else if (value >= 0) {
    const runtime::FormatSettings& settings = runtime::CurrentFormatSettings();
    const std::string& pattern = !dateTimeFormat_.empty() ? dateTimeFormat_
                                 : valueSpan_ > 1         ? settings.ShortDateFormat
                                                          : settings.ShortTimeFormat;
    try {
      text = runtime::FormatDateTime(pattern, value);
    } catch (const std::exception&) {
      // A value past the calendar's end has no date: no label.
      text.clear();
    }
  }
  if (callEvent && chart_ != nullptr && chart_->OnGetAxisLabel) chart_->OnGetAxisLabel(*this, nullptr, -1, text);
  if (labelsMultiLine_) std::replace(text.begin(), text.end(), ' ', kLineSeparator);
  return text;
}

TAxisLabelStyle TCustomChartAxis::ResolveLabelStyle() const {
  if (labelStyle_ != talAuto) return labelStyle_;
  if (chart_ == nullptr) return talNone;
  if (depth_) {
    for (TChartSeries* s : chart_->SeriesList()) {
      if (s->Active() && (s->HasZValues() || s->MaxZValue() != s->MinZValue())) return talValue;
    }
    return talText;
  }
  bool attached = false;
  for (TChartSeries* s : chart_->SeriesList()) {
    if (!s->Active() || !s->UsesAxis(this)) continue;
    attached = true;
    // The series runs along X when its values are vertical.
    const bool along = horizontal_ == s->ValuesAreVertical();
    if (along && s->HasPointLabels()) return talText;
  }
  return attached ? talValue : talNone;
}

int TCustomChartAxis::MeasureLabelsRoom() {
  if (chart_ == nullptr) return 0;
  switch (ResolveLabelStyle()) {
    case talValue: {
      const double r = LabelStep();
      double hi = highValue_, lo = lowValue_;
      if (roundFirstLabel_ || (showsDateTime_ && exactDateTime_)) {
        hi = std::trunc(hi / r) * r;
        lo = std::trunc(lo / r) * r;
      }
      chart_->AssignFont(labelsFont_);
      int lines = 1;
      const int a = chart_->MultiLineTextWidth(FormatLabel(hi, false), lines);
      const int b = chart_->MultiLineTextWidth(FormatLabel(lo, false), lines);
      return std::max(a, b) + chart_->Canvas().MeasureTextWidth(" ");
    }
    case talMark:
      chart_->AssignFont(labelsFont_);
      return chart_->MaxMarkWidth();
    case talText:
      chart_->AssignFont(labelsFont_);
      return chart_->MaxLabelsWidth();
    default:
      return 0;
  }
}

bool TCustomChartAxis::HitTest(int x, int y) const {
  if (chart_ == nullptr || !chart_->IsAxisShown(this)) return false;
  const int a0 = std::min(startPixel_, endPixel_), a1 = std::max(startPixel_, endPixel_);
  int near = std::min(labelsPos_, axisLinePos_), far = std::max(labelsPos_, axisLinePos_);
  // Widen at the axis line's side.
  if (axisLinePos_ <= labelsPos_) {
    near -= 3;
  } else {
    far += 3;
  }
  const int along = horizontal_ ? x : y;
  const int across = horizontal_ ? y : x;
  return along >= a0 && along <= a1 && across >= near && across <= far;
}

void TCustomChartAxis::SelectLabelsFont(const TFont& font) {
  chart_->AssignFont(font);
  TPlotCanvas3D& canvas = chart_->Canvas();
  canvas.Brush().color = ColorToRGB(chart_->Color());
  canvas.Brush().style = platform::BrushStyle::Clear;
  // White text on a white page would vanish.
  if (chart_->PrintingNow() && ColorToRGB(canvas.Font().color) == clWhite) canvas.Font().color = clBlack;
}

void TCustomChartAxis::DrawAxisLabel(int x, int y, int angle, const std::string& text, int depth) {
  TPlotCanvas3D& canvas = chart_->Canvas();
  namespace ta = platform::text_align;
  const int H = FontHeight();
  const int h = H / 2;
  const bool near = !farSide_;
  unsigned align = ta::kLeft | ta::kTop;
  if (horizontal_) {
    switch (angle) {
      case 0: align = ta::kCenter | (near ? ta::kTop : ta::kBottom); break;
      case 90: align = (near ? ta::kRight : ta::kLeft) | ta::kTop; x -= h; break;
      case 180: align = ta::kCenter | (near ? ta::kBottom : ta::kTop); break;
      case 270: align = (near ? ta::kLeft : ta::kRight) | ta::kTop; x += h; break;
      default: break;
    }
  } else {
    switch (angle) {
      case 0: align = (near ? ta::kRight : ta::kLeft) | ta::kTop; y -= h; break;
      case 90: align = ta::kCenter | (near ? ta::kBottom : ta::kTop); break;
      case 180: align = (near ? ta::kLeft : ta::kRight) | ta::kTop; y += h; break;
      case 270: align = ta::kCenter | (near ? ta::kTop : ta::kBottom); break;
      default: break;
    }
  }
  canvas.SetTextAlignment(align);

  // Split into lines; n counts the separators plus one if text follows the
  // last. Most labels are one line, written as they are.
  const bool oneLine = text.find(kLineSeparator) == std::string::npos;
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (!oneLine) {
    const std::size_t at = text.find(kLineSeparator, start);
    if (at == std::string::npos) {
      if (start < text.size() || lines.empty()) lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, at - start));
    start = at + 1;
  }
  const int n = oneLine ? 1 : static_cast<int>(lines.size());
  const int L = (angle == 180 || angle == 270) ? -H : H;
  if (horizontal_) {
    if (angle == 0 && !near) {
      y -= Round(n * static_cast<double>(L));
    } else if (angle == 90 || angle == 270) {
      x -= Round(L * 0.5 * (n + 1));
    } else if (angle == 180 && near) {
      y -= Round(n * static_cast<double>(L));
    } else if (angle == 0 || angle == 180) {
      y -= L;
    }
  } else {
    if (angle == 0 || angle == 180) {
      y -= Round(L * 0.5 * (n + 1));
    } else if (angle == 90) {
      x -= near ? Round(n * static_cast<double>(L)) : L;
    } else if (angle == 270) {
      x -= near ? L : Round(n * static_cast<double>(L));
    }
  }
  auto write = [&](const std::string& line) {
    if (angle == 0) {
      y += L;
      canvas.WriteTextAtDepth(x, y, depth, line);
      return;
    }
    if (angle == 90 || angle == 270) {
      x += L;
    } else if (angle == 180) {
      y += L;
    }
    canvas.WriteRotatedTextAtDepth(x, y, depth, angle, line);
  };
  if (oneLine) {
    write(text);
  } else {
    for (const std::string& line : lines) write(line);
  }
  canvas.SetTextAlignment(ta::kLeft | ta::kTop);
}

void TCustomChartAxis::DrawTitle() {
  SelectLabelsFont(title_.Font());
  if (depth_) {
    TPlotCanvas3D& canvas = chart_->Canvas();
    canvas.SetTextAlignment(platform::text_align::kLeft | platform::text_align::kTop);
    canvas.WriteTextAtDepth(titlePos_, chart_->ChartRect().bottom, ChartDepth() / 2, title_.Caption());
    return;
  }
  const int depth = farSide_ ? ChartDepth() : 0;
  if (horizontal_) {
    DrawAxisLabel(centerPixel_, titlePos_, title_.Angle(), title_.Caption(), depth);
  } else {
    DrawAxisLabel(titlePos_, centerPixel_, title_.Angle(), title_.Caption(), depth);
  }
  // Labels go on in their own font.
  SelectLabelsFont(labelsFont_);
}

// Room measurements of ReserveRoom.

int TCustomChartAxis::TickRoom() const {
  int room = (axisPen_.Visible() ? axisPen_.Width() : 0) + (ticks_.Visible() ? tickLength_ : 0);
  if (minorTicks_.Visible()) room = std::max(room, minorTickLength_);
  return room;
}

int TCustomChartAxis::LabelRoom() {
  if (labelsSize_ != 0) return labelsSize_;
  chart_->AssignFont(labelsFont_);
  const bool heightAcross = horizontal_ ? (labelsAngle_ == 0 || labelsAngle_ == 180)
                                        : (labelsAngle_ == 90 || labelsAngle_ == 270);
  if (heightAcross) return FontHeight();
  return MeasureLabelsRoom();
}

int TCustomChartAxis::TitleRoom() {
  if (titleSize_ != 0) return titleSize_;
  chart_->AssignFont(title_.Font());
  const int a = title_.Angle();
  const bool heightAcross = horizontal_ ? (a == 0 || a == 180) : (a == 90 || a == 270);
  if (heightAcross) return FontHeight();
  int lines = 1;
  return chart_->MultiLineTextWidth(title_.Caption(), lines);
}

int TCustomChartAxis::PositionShift(const Rect& rect) const {
  const int extent = horizontal_ ? rect.Height() : rect.Width();
  return Round(positionPercent_ * 0.01 * extent);
}

}  // namespace plot
