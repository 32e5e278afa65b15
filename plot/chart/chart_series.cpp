#include "plot/chart/chart_series.h"

#include <algorithm>
#include <cmath>

#include "plot/axes/chart_axis.h"
#include "plot/chart/axis_panel.h"
#include "plot/chart/chart_palette.h"
#include "runtime/text_format.h"
#include "plot/series/series_marks.h"

namespace plot {

TChartSeries::TChartSeries()
    : xValues_(std::make_unique<TChartValueList>(this, "X")),
      yValues_(std::make_unique<TChartValueList>(this, "Y")),
      marks_(std::make_unique<TSeriesMarks>(this)) {
  xValues_->SetOrder(loAscending);
}

TChartSeries::~TChartSeries() {
  destroying_ = true;
  function_.reset();
  UnlinkSources();
  // Dependents drop this series as a source and rebuild from what is left.
  const std::vector<TChartSeries*> dependents = dependents_;
  for (TChartSeries* dependent : dependents) {
    auto& sources = dependent->dataSources_;
    sources.erase(std::remove(sources.begin(), sources.end(), this), sources.end());
    if (dependent->parentChart_ != nullptr) dependent->parentChart_->CheckDataSource(*dependent);
  }
  dependents_.clear();
  // No repaint while destroying (ClearPoints checks the flag).
  ClearPoints();
  if (parentChart_ != nullptr) parentChart_->RemoveSeries(this);
}

void TChartSeries::RequestRepaint() {
  if (parentChart_ != nullptr) parentChart_->Invalidate();
}

std::unique_ptr<TChartPen> TChartSeries::CreateChartPen() {
  auto pen = std::make_unique<TChartPen>();
  pen->OnChange = [this] { RequestRepaint(); };
  return pen;
}

void TChartSeries::SetActive(bool value) {
  if (active_ == value) return;
  active_ = value;
  RequestRepaint();
}

void TChartSeries::SetSeriesColor(Color value) {
  if (seriesColor_ == value) return;
  seriesColor_ = value;
  RequestRepaint();
}

void TChartSeries::SetColorEachPoint(bool value) {
  if (colorEachPoint_ != value) {
    colorEachPoint_ = value;
    RequestRepaint();
  }
  if (!value) {
    for (int i = 0; i < static_cast<int>(colors_.size()); ++i) SetPointColor(i, clAutoColor);
  }
}

void TChartSeries::SetShowInLegend(bool value) {
  if (showInLegend_ == value) return;
  showInLegend_ = value;
  RequestRepaint();
}

void TChartSeries::SetTitle(const std::string& value) {
  if (title_ == value) return;
  title_ = value;
  RequestRepaint();
}

void TChartSeries::SetValueFormat(const std::string& value) {
  if (valueFormat_ == value) return;
  valueFormat_ = value;
  RequestRepaint();
}

void TChartSeries::SetPercentFormat(const std::string& value) {
  if (percentFormat_ == value) return;
  percentFormat_ = value;
  RequestRepaint();
}

void TChartSeries::SetHorizAxis(THorizAxis value) {
  horizAxis_ = value;
  RecalcGetAxis();
  RequestRepaint();
}

void TChartSeries::SetVertAxis(TVertAxis value) {
  vertAxis_ = value;
  RecalcGetAxis();
  RequestRepaint();
}

void TChartSeries::SetCustomHorizAxis(TCustomChartAxis* axis) {
  customHorizAxis_ = axis;
  RecalcGetAxis();
  RequestRepaint();
}

void TChartSeries::SetCustomVertAxis(TCustomChartAxis* axis) {
  customVertAxis_ = axis;
  RecalcGetAxis();
  RequestRepaint();
}

void TChartSeries::SetColorSource(const std::string& value) {
  if (colorSource_ == value) return;
  colorSource_ = value;
  if (parentChart_ != nullptr) parentChart_->CheckDataSource(*this);
}

void TChartSeries::SetXLabelsSource(const std::string& value) {
  if (xLabelsSource_ == value) return;
  xLabelsSource_ = value;
  if (parentChart_ != nullptr) parentChart_->CheckDataSource(*this);
}

void TChartSeries::SetZOrder(int value) {
  if (zOrder_ == value) return;
  zOrder_ = value;
  RequestRepaint();
}

void TChartSeries::SetDepthPositions(int start, int middle, int end) {
  startZ_ = start;
  middleZ_ = middle;
  endZ_ = end;
  marks_->SetZPosition(middle);
}

void TChartSeries::SetParentChart(TCustomAxisPanel* chart) {
  if (parentChart_ == chart) return;
  if (parentChart_ != nullptr) parentChart_->RemoveSeries(this);
  parentChart_ = chart;
  RecalcGetAxis();
  if (chart != nullptr) chart->AddSeries(this);
}

// ---- points

void TChartSeries::InsertColor(int index, Color color) {
  // Colours are stored only up to the last point that has one of its own:
  // a million points in the series colour cost nothing here.
  const std::size_t i = static_cast<std::size_t>(index);
  if (color == clAutoColor && colors_.size() <= i) return;
  if (colors_.size() < i) colors_.resize(i, clAutoColor);
  colors_.insert(colors_.begin() + index, color);
}

void TChartSeries::InsertLabel(int index, const std::string& label) {
  if (index > labelCount_) labelCount_ = index;
  ++labelCount_;
  const std::size_t i = static_cast<std::size_t>(index);
  if (label.empty() && i >= labels_.size()) return;
  if (labels_.size() < i) labels_.resize(i);
  labels_.insert(labels_.begin() + index, label);
}

int TChartSeries::AddPointXY(double x, double y, const std::string& label, Color color) {
  xValues_->SetPendingValue(x);
  yValues_->SetPendingValue(y);
  if (OnBeforeAdd && !OnBeforeAdd(*this)) return -1;
  // Points are kept in the order of the coordinate they run along: X, or Y
  // for kinds whose values are horizontal.
  int index;
  if (ValuesAreVertical()) {
    index = xValues_->InsertOrdered(x);
    yValues_->InsertAt(index, y);
  } else {
    index = yValues_->InsertOrdered(y);
    xValues_->InsertAt(index, x);
  }
  // Kinds with more coordinates staged them as pending values; in before
  // anyone hears of the point, so every list stays aligned.
  AddExtraValues(index);
  InsertColor(index, color);
  InsertLabel(index, label);
  Touch();
  AddedValue(index);
  return index;
}

void TChartSeries::AddedValue(int index) {
  if (OnAfterAdd) OnAfterAdd(*this, index);
  NotifyDependents(ChangeAdded, index);
  if (active_) RequestRepaint();
}

int TChartSeries::AddPoint(double value, const std::string& label, Color color) {
  return ValuesAreVertical() ? AddPointY(value, label, color) : AddPointX(value, label, color);
}

int TChartSeries::AddPointY(double y, const std::string& label, Color color) {
  return AddPointXY(PointCount(), y, label, color);
}

int TChartSeries::AddPointX(double x, const std::string& label, Color color) {
  return AddPointXY(x, PointCount(), label, color);
}

int TChartSeries::AddNullPoint(const std::string& label) { return AddPoint(0, label, clNone); }

int TChartSeries::AddNullPointXY(double x, double y, const std::string& label) {
  return AddPointXY(x, y, label, clNone);
}

void TChartSeries::DeletePoint(int index) {
  for (TChartValueList* list : valueLists_) list->RemoveAt(index);
  if (index < static_cast<int>(colors_.size())) colors_.erase(colors_.begin() + index);
  if (index < labelCount_) {
    --labelCount_;
    if (index < static_cast<int>(labels_.size())) labels_.erase(labels_.begin() + index);
  }
  marks_->Positions().Delete(index);
  Touch();
  NotifyDependents(ChangeDeleted, index);
  RequestRepaint();
}

void TChartSeries::ClearAllLists() {
  for (TChartValueList* list : valueLists_) list->RemoveAllValues();
  colors_.clear();
  colors_.shrink_to_fit();
  labels_.clear();
  labels_.shrink_to_fit();
  labelCount_ = 0;
  marks_->Positions().Clear();
  Touch();
}

void TChartSeries::ClearPoints() {
  ClearAllLists();
  if (OnClearValues) OnClearValues(*this);
  NotifyDependents(ChangeCleared);
  if (!destroying_) RequestRepaint();
}

void TChartSeries::SetXValueAt(int index, double value) {
  xValues_->SetValueAt(index, value);
  RequestRepaint();
}

void TChartSeries::SetYValueAt(int index, double value) {
  yValues_->SetValueAt(index, value);
  RequestRepaint();
}

Color TChartSeries::PointColor(int index) const {
  if (index < 0 || index >= PointCount()) return seriesColor_;
  const Color stored = StoredColor(index);
  if (stored != clAutoColor) return stored;
  return colorEachPoint_ ? GetDefaultColor(index) : seriesColor_;
}

void TChartSeries::SetPointColor(int index, Color color) {
  if (index < 0) return;
  if (static_cast<std::size_t>(index) >= colors_.size()) colors_.resize(static_cast<std::size_t>(index) + 1, clAutoColor);
  colors_[static_cast<std::size_t>(index)] = color;
  RequestRepaint();
}

std::string TChartSeries::PointLabel(int index) const {
  if (index < 0 || index >= static_cast<int>(labels_.size())) return {};
  return labels_[static_cast<std::size_t>(index)];
}

void TChartSeries::SetPointLabel(int index, const std::string& label) {
  if (index < 0) return;
  if (index >= labelCount_) labelCount_ = index + 1;
  const std::size_t i = static_cast<std::size_t>(index);
  if (!label.empty() && labels_.size() <= i) labels_.resize(i + 1);
  if (i < labels_.size()) labels_[i] = label;
  Touch();
  RequestRepaint();
}

void TChartSeries::SwapPoints(int a, int b) {
  for (TChartValueList* list : valueLists_) list->Exchange(a, b);
  const std::size_t ia = static_cast<std::size_t>(a), ib = static_cast<std::size_t>(b);
  if (ia < colors_.size() || ib < colors_.size()) {
    colors_.resize(std::max(colors_.size(), std::max(ia, ib) + 1), clAutoColor);
    std::swap(colors_[ia], colors_[ib]);
  }
  const std::size_t need = std::max(ia, ib) + 1;
  if (labels_.size() < need && static_cast<int>(need) <= labelCount_) labels_.resize(need);
  if (ia < labels_.size() && ib < labels_.size()) std::swap(labels_[ia], labels_[ib]);
  Touch();
}

void TChartSeries::UnregisterValueList(TChartValueList* list) {
  valueLists_.erase(std::remove(valueLists_.begin(), valueLists_.end(), list), valueLists_.end());
}

void TChartSeries::AddExtraValues(int index) {
  for (std::size_t i = 2; i < valueLists_.size(); ++i) valueLists_[i]->InsertAt(index, valueLists_[i]->PendingValue());
}

TChartValueList& TChartSeries::ValueListByName(const std::string& name) {
  auto lower = [](std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
  };
  const std::string wanted = lower(name);
  for (std::size_t i = 2; i < valueLists_.size(); ++i) {
    if (lower(valueLists_[i]->Name()) == wanted) return *valueLists_[i];
  }
  return *yValues_;
}

// ---- axes

void TChartSeries::RecalcGetAxis() {
  if (parentChart_ == nullptr) {
    resolvedHoriz_ = resolvedVert_ = nullptr;
    return;
  }
  TCustomAxisPanel& c = *parentChart_;
  switch (horizAxis_) {
    case aTopAxis: resolvedHoriz_ = &c.TopAxis(); break;
    case aCustomHorizAxis: resolvedHoriz_ = customHorizAxis_ != nullptr ? customHorizAxis_ : &c.BottomAxis(); break;
    default: resolvedHoriz_ = &c.BottomAxis(); break;
  }
  switch (vertAxis_) {
    case aRightAxis: resolvedVert_ = &c.RightAxis(); break;
    case aCustomVertAxis: resolvedVert_ = customVertAxis_ != nullptr ? customVertAxis_ : &c.LeftAxis(); break;
    default: resolvedVert_ = &c.LeftAxis(); break;
  }
}

bool TChartSeries::UsesAxis(const TCustomChartAxis* axis) const {
  if (!UseAxis() || axis == nullptr || axis->IsDepth()) return false;
  if (axis->IsHorizontal()) return horizAxis_ == aBothHorizAxis || axis == resolvedHoriz_;
  return vertAxis_ == aBothVertAxis || axis == resolvedVert_;
}

int TChartSeries::CalcXPos(int index) const {
  return resolvedHoriz_ != nullptr ? resolvedHoriz_->ValueToPixel(XValueAt(index)) : 0;
}

int TChartSeries::CalcYPos(int index) const {
  return resolvedVert_ != nullptr ? resolvedVert_->ValueToPixel(YValueAt(index)) : 0;
}

// ---- drawing

namespace {

// Lowest index from `from` on whose value is >= v: a bisection while the
// list is known to be ascending, else the plain upward scan.
int FirstAtOrAbove(const TChartValueList& list, int from, double v) {
  const int count = list.ValueCount();
  if (list.KnownAscending() && list.Multiplier() > 0) {
    int lo = from, hi = count;
    while (lo < hi) {
      const int mid = lo + (hi - lo) / 2;
      if (list.ValueAt(mid) >= v) {
        hi = mid;
      } else {
        lo = mid + 1;
      }
    }
    return lo < count ? lo : -1;
  }
  for (int i = from; i < count; ++i) {
    if (list.ValueAt(i) >= v) return i;
  }
  return -1;
}

}  // namespace

void TChartSeries::ComputeVisibleRange() {
  firstVisible_ = lastVisible_ = -1;
  const int count = PointCount();
  if (count == 0) return;
  const bool vertical = ValuesAreVertical();
  const TChartValueList& list = vertical ? *xValues_ : *yValues_;
  const TCustomChartAxis* axis = vertical ? resolvedHoriz_ : resolvedVert_;
  if (!limitToVisibleRange_ || list.Order() == loNone || axis == nullptr || parentChart_ == nullptr) {
    firstVisible_ = 0;
    lastVisible_ = count - 1;
    return;
  }
  const Rect& r = parentChart_->ChartRect();
  const bool inv = axis->Inverted();
  const int startEdge = vertical ? (inv ? r.right : r.left) : (inv ? r.top : r.bottom);
  const int endEdge = vertical ? (inv ? r.left : r.right) : (inv ? r.bottom : r.top);
  const double lo = axis->PixelToValue(startEdge);
  firstVisible_ = FirstAtOrAbove(list, 0, lo);
  if (firstVisible_ < 0) return;
  const double hi = axis->PixelToValue(endEdge);
  if (list.LastValue() <= hi) {
    lastVisible_ = count - 1;
    return;
  }
  const int at = FirstAtOrAbove(list, firstVisible_, hi);
  lastVisible_ = at < 0 ? count - 1 : at;
  if (!extendPastVisibleRange_ && list.ValueAt(lastVisible_) > hi) --lastVisible_;
}

void TChartSeries::DrawAllValues() {
  if (lastVisible_ < firstVisible_ || firstVisible_ < 0) return;
  if (DrawValuesForward()) {
    for (int i = firstVisible_; i <= lastVisible_; ++i) DrawValue(i);
  } else {
    for (int i = lastVisible_; i >= firstVisible_; --i) DrawValue(i);
  }
}

void TChartSeries::DoBeforeDrawValues() {
  if (BeforeDrawValues) BeforeDrawValues(*this);
}

void TChartSeries::DoAfterDrawValues() {
  if (AfterDrawValues) AfterDrawValues(*this);
}

void TChartSeries::DrawMark(int index, const std::string& text, TSeriesMarkPosition& position) {
  Marks().DrawMarkAt(index, PointColor(index), position, text);
}

void TChartSeries::DrawAllMarks() { Marks().DrawAll(); }

void TChartSeries::CalcZOrder() {
  if (parentChart_ == nullptr) return;
  computedZ_ = zOrder_ != -1 ? zOrder_ : parentChart_->AllocateZOrder();
}

bool TChartSeries::MoreSameZOrder() const {
  if (parentChart_ == nullptr || !parentChart_->View3D()) return false;
  for (TChartSeries* s : parentChart_->SeriesList()) {
    if (s != this && s->Active() && s->computedZ_ == computedZ_) return true;
  }
  return false;
}

// ---- mouse

bool TChartSeries::DispatchClick(int valueIndex, TMouseButton button, TShiftState shift, int x, int y) {
  if (parentChart_ == nullptr) return false;
  parentChart_->SetCancelMouse(false);
  if ((shift & ssDouble) != 0 && OnDblClick) {
    parentChart_->SetCancelMouse(true);
    OnDblClick(*this, valueIndex, button, shift, x, y);
  } else if (OnClick) {
    parentChart_->SetCancelMouse(true);
    OnClick(*this, valueIndex, button, shift, x, y);
  }
  return parentChart_->CancelMouse();
}

}  // namespace plot
