// Bar series: settings, layout along the axis (width, side by side,
// offsets), origins and stacking, and the axis margins bars need.
#include "plot/series/bar_series.h"

#include <algorithm>

#include "plot/axes/chart_axis.h"
#include "plot/surface/plot_canvas_3d.h"
#include "plot/chart/axis_panel.h"
#include "plot/chart/chart_exceptions.h"
#include "runtime/rounding.h"
#include "plot/series/series_assign.h"
#include "plot/series/series_marks.h"

namespace plot {

namespace {

int Nearest(double value) { return static_cast<int>(runtime::RoundHalfEven(value)); }

}  // namespace

TCustomBarSeries::TCustomBarSeries() : barPen_(CreateChartPen()) {
  barBrush_.OnChange = [this] { RequestRepaint(); };
  MandatoryValueList().SetName("Bar");
  MandatoryValueList().SetOrder(loNone);
  Marks().SetVisible(true);
  Marks().SetArrowLength(20);
}

TCustomBarSeries::~TCustomBarSeries() = default;

template <typename F>
void TCustomBarSeries::ForEachSameKind(F&& f) const {
  if (ParentChart() == nullptr) return;
  for (TChartSeries* s : ParentChart()->SeriesList()) {
    if (!SameKindAs(*s)) continue;
    if (auto* bar = dynamic_cast<TCustomBarSeries*>(s)) f(*bar);
  }
}

bool TCustomBarSeries::SameClassOrBase(const TChartSeries& other) const {
  return dynamic_cast<const TCustomBarSeries*>(&other) != nullptr;
}

bool TBarSeries::SameClassOrBase(const TChartSeries& other) const {
  return dynamic_cast<const TBarSeries*>(&other) != nullptr;
}

// ---- properties

void TCustomBarSeries::SetAutoBarSize(bool value) {
  if (autoBarSize_ == value) return;
  autoBarSize_ = value;
  RequestRepaint();
}

void TCustomBarSeries::SetAutoMarkPosition(bool value) {
  if (autoMarkPosition_ == value) return;
  autoMarkPosition_ = value;
  RequestRepaint();
}

void TCustomBarSeries::SetBarStyle(TBarStyle value) {
  if (barStyle_ == value) return;
  barStyle_ = value;
  RequestRepaint();
}

void TCustomBarSeries::SetBarWidthPercent(int value) {
  if (value < 1 || value > 100) throw ChartException("Bar Width Percent must be between 1 and 100");
  if (barWidthPercent_ == value) return;
  barWidthPercent_ = value;
  RequestRepaint();
}

void TCustomBarSeries::SetDark3D(bool value) {
  if (dark3D_ == value) return;
  dark3D_ = value;
  RequestRepaint();
}

void TCustomBarSeries::SetMultiBar(TMultiBar value) {
  multiBar_ = value;
  ForEachSameKind([value](TCustomBarSeries& s) { s.multiBar_ = value; });
  RequestRepaint();
}

void TCustomBarSeries::SetOffsetPercent(int value) {
  if (value < -100 || value > 100) throw ChartException("Bar Offset Percent must be between -100% and 100%");
  if (offsetPercent_ == value) return;
  offsetPercent_ = value;
  RequestRepaint();
}

void TCustomBarSeries::SetSideMargins(bool value) {
  if (sideMargins_ != value) {
    sideMargins_ = value;
    RequestRepaint();
  }
  ForEachSameKind([this, value](TCustomBarSeries& s) {
    if (&s != this) s.sideMargins_ = value;
  });
}

void TCustomBarSeries::SetUseYOrigin(bool value) {
  if (useYOrigin_ == value) return;
  useYOrigin_ = value;
  RequestRepaint();
}

void TCustomBarSeries::SetYOrigin(double value) {
  if (yOrigin_ == value) return;
  yOrigin_ = value;
  RequestRepaint();
}

void TCustomBarSeries::SetCustomBarWidth(int value) {
  if (customBarWidth_ == value) return;
  customBarWidth_ = value;
  RequestRepaint();
}

void TCustomBarSeries::Assign(const TChartSeries& source) {
  if (const auto* other = dynamic_cast<const TCustomBarSeries*>(&source)) {
    SetAutoMarkPosition(other->autoMarkPosition_);
    SetBarWidthPercent(other->barWidthPercent_);
    SetBarStyle(other->barStyle_);
    barPen_->Assign(*other->barPen_);
    barBrush_.Assign(other->barBrush_);
    SetCustomBarWidth(other->customBarWidth_);
    SetDark3D(other->dark3D_);
    SetMultiBar(other->multiBar_);
    SetOffsetPercent(other->offsetPercent_);
    SetYOrigin(other->yOrigin_);
    SetSideMargins(other->sideMargins_);
    SetUseYOrigin(other->useYOrigin_);
  }
  AssignSeriesCommon(*this, source);
}

// ---- layout

TCustomChartAxis* TCustomBarSeries::PositionAxis() const { return ValuesAreVertical() ? GetHorizAxis() : GetVertAxis(); }

TCustomChartAxis* TCustomBarSeries::ValueAxis() const { return ValuesAreVertical() ? GetVertAxis() : GetHorizAxis(); }

int TCustomBarSeries::SideBySideCount() const {
  int count = Active() ? 0 : 1;
  ForEachSameKind([&count](TCustomBarSeries& s) {
    if (s.Active()) ++count;
  });
  return std::max(count, 1);
}

int TCustomBarSeries::SideBySidePosition() const {
  int position = 0;
  bool found = false;
  ForEachSameKind([&](TCustomBarSeries& s) {
    if (found) return;
    if (&s == this) {
      found = true;
      ++position;
    } else if (s.Active()) {
      ++position;
    }
  });
  return std::max(position, 1);
}

void TCustomBarSeries::CalcBarWidth() {
  if (customBarWidth_ != 0) {
    barWidth_ = customBarWidth_;
    return;
  }
  int n = PointCount();
  int k = 1;
  if (TCustomAxisPanel* chart = ParentChart()) {
    if (multiBar_ == mbSide) {
      k = SideBySideCount();
      ForEachSameKind([&n, this](TCustomBarSeries& s) {
        if (s.Active() || &s == this) n = std::max(n, s.PointCount());
      });
    }
    if (chart->MaxPointsPerPage() > 0) n = chart->MaxPointsPerPage();
  }
  const TCustomChartAxis* axis = PositionAxis();
  if (n <= 0 || axis == nullptr) {
    barWidth_ = 0;
    return;
  }
  if (sideMargins_) ++n;
  const int slot = autoBarSize_ ? Nearest(axis->PixelLength() / (2.0 + axis->HighValue() - axis->LowValue()))
                                : axis->PixelLength() / n;
  barWidth_ = Nearest(barWidthPercent_ * 0.01 * slot) / k;
  // Even widths centre on the slot.
  if (barWidth_ > 0 && barWidth_ % 2 == 1) ++barWidth_;
}

int TCustomBarSeries::BarStart(int index) const {
  const TCustomChartAxis* axis = PositionAxis();
  const bool vertical = ValuesAreVertical();
  if (axis == nullptr) return 0;
  const int centre = axis->ValueToPixel(vertical ? XValueAt(index) : YValueAt(index));
  int shift;
  if (multiBar_ == mbSide) {
    const int k = SideBySideCount();
    const int p = SideBySidePosition();
    shift = Nearest((p - k * 0.5 - 1) * barWidth_);
  } else {
    shift = -(barWidth_ / 2);
  }
  if (offsetPercent_ != 0) shift += Nearest(offsetPercent_ * barWidth_ * 0.01);
  // Horizontal bars follow the vertical axis upwards as vertical bars
  // follow the horizontal one to the right.
  return vertical ? centre + shift : centre - shift - barWidth_;
}

int TCustomBarSeries::CalcXPos(int index) const {
  return ValuesAreVertical() ? BarStart(index) : ValuePixel(index);
}

int TCustomBarSeries::CalcYPos(int index) const {
  return ValuesAreVertical() ? ValuePixel(index) : BarStart(index);
}

double TCustomBarSeries::PointOrigin(int index) const {
  if (multiBar_ == mbStacked || multiBar_ == mbStacked100) return SumOfOrigins(index, false);
  return yOrigin_;
}

double TCustomBarSeries::StackTotal(int index) const { return SumOfOrigins(index, true); }

int TCustomBarSeries::ValuePixel(int index) const {
  const TCustomChartAxis* axis = ValueAxis();
  if (axis == nullptr) return 0;
  if (multiBar_ == mbNone || multiBar_ == mbSide) return axis->ValueToPixel(MarkValue(index));
  const double top = MarkValue(index) + PointOrigin(index);
  if (multiBar_ == mbStacked) return axis->ValueToPixel(top);
  const double total = StackTotal(index);
  // A column that sums to nothing collapses.
  return total == 0 ? 0 : axis->ValueToPixel(top * 100 / total);
}

int TCustomBarSeries::OriginPixel(int index) const {
  const TCustomChartAxis* axis = ValueAxis();
  if (axis == nullptr) return 0;
  switch (multiBar_) {
    case mbStacked: return axis->ValueToPixel(PointOrigin(index));
    case mbStacked100: {
      const double total = StackTotal(index);
      return total == 0 ? 0 : axis->ValueToPixel(PointOrigin(index) * 100 / total);
    }
    default:
      if (useYOrigin_) return axis->ValueToPixel(yOrigin_);
      // The axis end bars stand on: the bottom, or the left for horizontal
      // bars.
      return ValuesAreVertical() ? axis->EndPixel() : axis->StartPixel();
  }
}

double TCustomBarSeries::ValueHighest() const {
  double result;
  if (multiBar_ == mbStacked100) {
    result = 100;
  } else {
    result = MandatoryValueList().HighestValue();
    if (multiBar_ == mbStacked) {
      for (int i = 0; i < PointCount(); ++i) result = std::max(result, MarkValue(i) + PointOrigin(i));
    }
  }
  // Bars standing on the origin keep it inside the axis range.
  if (useYOrigin_) result = std::max(result, yOrigin_);
  return result;
}

double TCustomBarSeries::ValueLowest() const {
  if (multiBar_ == mbStacked100) return 0;
  const double lowest = MandatoryValueList().LowestValue();
  if (!useYOrigin_) return lowest;
  return std::min(lowest, yOrigin_);
}

double TCustomBarSeries::MaxYValue() const {
  return ValuesAreVertical() ? ValueHighest() : TChartSeries::MaxYValue();
}

double TCustomBarSeries::MinYValue() const {
  return ValuesAreVertical() ? ValueLowest() : TChartSeries::MinYValue();
}

double TCustomBarSeries::MaxXValue() const {
  return ValuesAreVertical() ? TChartSeries::MaxXValue() : ValueHighest();
}

double TCustomBarSeries::MinXValue() const {
  return ValuesAreVertical() ? TChartSeries::MinXValue() : ValueLowest();
}

void TCustomBarSeries::PositionMargins(int& low, int& high) {
  CalcBarWidth();
  const int k = multiBar_ == mbSide ? SideBySideCount() : 1;
  const int grow = sideMargins_ ? k * barWidth_ : k * barWidth_ / 2;
  low += grow;
  high += grow;
}

void TCustomBarSeries::ValueMargins(int& low, int& high) {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr || PointCount() == 0 || !Marks().Visible()) return;
  chart->AssignFont(Marks().Font());
  TPlotCanvas3D& canvas = chart->Canvas();
  const bool vertical = ValuesAreVertical();
  // Marks stand above vertical bars and beside horizontal ones: room for
  // their height, or for the widest of them.
  int m = Marks().ArrowLength();
  if (vertical) {
    m += canvas.MeasureFontHeight();
  } else {
    int widest = 0;
    for (int i = 0; i < PointCount(); ++i) {
      int lines = 1;
      widest = std::max(widest, chart->MultiLineTextWidth(MarkText(i), lines));
    }
    m += widest + canvas.MeasureTextWidth("W");
  }
  if (Marks().Frame().Visible()) m += 2 * Marks().Frame().Width();
  if (m <= 0) return;
  const TCustomChartAxis* axis = ValueAxis();
  const bool inverted = axis != nullptr && axis->Inverted();
  const TChartValueList& values = MandatoryValueList();
  // On a vertical axis low values lie at the high-pixel end (the bottom);
  // on a horizontal one at the low-pixel end (the left).
  int& belowOrigin = (vertical != inverted) ? high : low;
  int& aboveOrigin = (vertical != inverted) ? low : high;
  if (useYOrigin_ && values.LowestValue() < yOrigin_) belowOrigin += m + 1;
  if (!useYOrigin_ || values.HighestValue() > yOrigin_) aboveOrigin += m + 1;
}

void TCustomBarSeries::HorizMargins(int& left, int& right) {
  TChartSeries::HorizMargins(left, right);
  if (ValuesAreVertical()) {
    PositionMargins(left, right);
  } else {
    ValueMargins(left, right);
  }
}

void TCustomBarSeries::VertMargins(int& top, int& bottom) {
  TChartSeries::VertMargins(top, bottom);
  if (ValuesAreVertical()) {
    ValueMargins(top, bottom);
  } else {
    PositionMargins(top, bottom);
  }
}

bool TCustomBarSeries::DrawValuesForward() const {
  const TCustomChartAxis* axis = PositionAxis();
  return axis == nullptr || !axis->Inverted();
}

bool TCustomBarSeries::DrawSeriesForward(int valueIndex) const {
  if (multiBar_ == mbNone || multiBar_ == mbSide) return true;
  bool forward = MarkValue(valueIndex) >= 0;
  const TCustomChartAxis* axis = ValueAxis();
  if (axis != nullptr && axis->Inverted()) forward = !forward;
  return forward;
}

void TCustomBarSeries::CalcZOrder() {
  if (multiBar_ != mbNone && ParentChart() != nullptr) {
    // Bars side by side or stacked share one depth.
    for (TChartSeries* s : ParentChart()->SeriesList()) {
      if (s == this) break;
      if (s->Active() && SameKindAs(*s)) {
        SetComputedZOrder(s->ComputedZOrder());
        return;
      }
    }
  }
  TChartSeries::CalcZOrder();
}

}  // namespace plot
