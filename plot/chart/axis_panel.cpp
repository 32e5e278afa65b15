// The axis panel: series list, axes, chart-level services for series and
// axes, paging, and the internal draw in its fourteen steps.
#include "plot/chart/axis_panel.h"

#include <algorithm>
#include <cmath>

#include "plot/chart/chart_exceptions.h"
#include "plot/chart/chart_palette.h"
#include "plot/chart/chart_series.h"
#include "plot/series/series_marks.h"

namespace plot {

int TChartSeriesList::IndexOf(const TChartSeries* series) const {
  const auto it = std::find(items_.begin(), items_.end(), series);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TCustomAxisPanel::TCustomAxisPanel() : seriesList_(this) {
  // The axis list order is fixed: bottom, top, left, right, depth.
  bottomAxis_ = std::make_unique<TChartAxis>(this, true, false);
  topAxis_ = std::make_unique<TChartAxis>(this, true, true);
  leftAxis_ = std::make_unique<TChartAxis>(this, false, false);
  rightAxis_ = std::make_unique<TChartAxis>(this, false, true);
  depthAxis_ = std::make_unique<TChartDepthAxis>(this);
}

TCustomAxisPanel::~TCustomAxisPanel() {
  SetAutoRepaint(false);
  RemoveAllSeries();
}

void TCustomAxisPanel::UnregisterAxis(TCustomChartAxis* axis) {
  axes_.erase(std::remove(axes_.begin(), axes_.end(), axis), axes_.end());
}

// ---- series list

void TCustomAxisPanel::AddSeries(TChartSeries* series) {
  if (series == nullptr || seriesList_.IndexOf(series) >= 0) return;
  if (series->SeriesColor() == clAutoColor) series->seriesColor_ = PickFreeSeriesColor(true);
  if (series->parentChart_ != this) {
    if (series->parentChart_ != nullptr) series->parentChart_->RemoveSeries(series);
    series->parentChart_ = this;
  }
  series->RecalcGetAxis();
  if (designing_ && series->Function() == nullptr) {
    series->FillSampleValues(series->NumSampleValues());
  } else {
    CheckDataSource(*series);
  }
  seriesList_.items_.push_back(series);
  Invalidate();
}

void TCustomAxisPanel::RemoveSeries(TChartSeries* series) {
  const int index = seriesList_.IndexOf(series);
  if (index < 0) return;
  series->UnlinkSources();
  series->parentChart_ = nullptr;
  series->RecalcGetAxis();
  if (Cursor() == series->Cursor()) SetCursor(SavedCursor());
  seriesList_.items_.erase(seriesList_.items_.begin() + index);
  Invalidate();
}

void TCustomAxisPanel::ExchangeSeries(int a, int b) {
  std::swap(seriesList_.items_[static_cast<std::size_t>(a)], seriesList_.items_[static_cast<std::size_t>(b)]);
  Invalidate();
}

void TCustomAxisPanel::RemoveAllSeries() {
  while (!seriesList_.items_.empty()) RemoveSeries(seriesList_.items_.front());
}

int TCustomAxisPanel::CountActiveSeries() const {
  return static_cast<int>(std::count_if(seriesList_.begin(), seriesList_.end(), [](TChartSeries* s) { return s->Active(); }));
}

TChartSeries* TCustomAxisPanel::GetFirstActiveSeries() const {
  for (TChartSeries* s : seriesList_) {
    if (s->Active()) return s;
  }
  return nullptr;
}

int TCustomAxisPanel::GetMaxValuesCount() const {
  int most = 0;
  for (TChartSeries* s : seriesList_) {
    if (s->Active()) most = std::max(most, s->PointCount());
  }
  return most;
}

// ---- axes

void TCustomAxisPanel::SetAxisVisible(bool value) {
  if (axisVisible_ == value) return;
  axisVisible_ = value;
  Invalidate();
}

bool TCustomAxisPanel::IsBuiltInAxis(const TCustomChartAxis* axis) const {
  return axis == bottomAxis_.get() || axis == topAxis_.get() || axis == leftAxis_.get() ||
         axis == rightAxis_.get() || axis == depthAxis_.get();
}

bool TCustomAxisPanel::ActiveSeriesUseAxis() const {
  bool anyActive = false;
  for (TChartSeries* s : seriesList_) {
    if (!s->Active()) continue;
    if (s->UseAxis()) return true;
    anyActive = true;
  }
  return !anyActive;
}

bool TCustomAxisPanel::IsAxisShown(const TCustomChartAxis* axis) const {
  if (!axisVisible_ || !axis->Visible()) return false;
  // A chart whose active series all lie beside the axes (a pie) has none.
  if (!ActiveSeriesUseAxis()) return false;
  if (axis->IsDepth()) return View3D();
  bool anyUsesAxes = false;
  for (TChartSeries* s : seriesList_) {
    if (!s->Active() || !s->UseAxis()) continue;
    anyUsesAxes = true;
    if (s->UsesAxis(axis)) return true;
  }
  // With no active series every visible axis is drawn, so an empty chart
  // still shows its frame of axes.
  return !anyUsesAxes;
}

// ---- range service

double TCustomAxisPanel::PagedValue(const TCustomChartAxis* axis, bool highest, bool& handled) const {
  handled = false;
  if (maxPointsPerPage_ <= 0) return 0;
  TChartSeries* first = nullptr;
  for (TChartSeries* s : seriesList_) {
    if (s->Active() && s->UsesAxis(axis)) {
      first = s;
      break;
    }
  }
  if (first == nullptr) return 0;
  // Points are counted along X for vertically valued series.
  const bool along = axis->IsHorizontal() == first->ValuesAreVertical();
  if (!along) return 0;
  handled = true;
  const int count = first->PointCount();
  if (count == 0) return 0;
  const int mpp = maxPointsPerPage_;
  int lo = mpp * (page_ - 1);
  if (lo >= count) lo = std::max(0, count / mpp - 1) * mpp;
  int hi = lo + mpp - 1;
  if (hi >= count) hi = lo + count % mpp - 1;
  auto value = [&](int i) { return axis->IsHorizontal() ? first->XValueAt(i) : first->YValueAt(i); };
  if (!highest) return value(lo);
  const double vLo = value(lo), vHi = value(hi);
  if (!scaleLastPage_ && hi - lo + 1 < mpp) return vLo + (vHi - vLo) * mpp / (hi - lo + 1);
  return vHi;
}

double TCustomAxisPanel::AxisExtreme(const TCustomChartAxis* axis, bool horizontal, bool highest) const {
  bool handled = false;
  const double paged = PagedValue(axis, highest, handled);
  if (handled) return paged;
  bool found = false;
  double result = 0;
  for (TChartSeries* s : seriesList_) {
    // A series beside the axes (a pie) asks for no range.
    if (!s->Active() || s->PointCount() == 0 || !s->UseAxis()) continue;
    const bool uses = horizontal ? (s->HorizAxis() == aBothHorizAxis || s->GetHorizAxis() == axis)
                                 : (s->VertAxis() == aBothVertAxis || s->GetVertAxis() == axis);
    if (!uses) continue;
    const double v = horizontal ? (highest ? s->MaxXValue() : s->MinXValue())
                                : (highest ? s->MaxYValue() : s->MinYValue());
    if (!found || (highest ? v > result : v < result)) result = v;
    found = true;
  }
  return result;
}

double TCustomAxisPanel::MinXValue(const TCustomChartAxis* axis) const { return AxisExtreme(axis, true, false); }
double TCustomAxisPanel::MaxXValue(const TCustomChartAxis* axis) const { return AxisExtreme(axis, true, true); }
double TCustomAxisPanel::MinYValue(const TCustomChartAxis* axis) const { return AxisExtreme(axis, false, false); }
double TCustomAxisPanel::MaxYValue(const TCustomChartAxis* axis) const { return AxisExtreme(axis, false, true); }

double TCustomAxisPanel::MinZValue() const {
  if (depthAxis_->ResolveLabelStyle() == talValue) {
    if (TChartSeries* s = GetFirstActiveSeries()) return s->MinZValue();
  }
  return -0.5;
}

double TCustomAxisPanel::MaxZValue() const {
  if (depthAxis_->ResolveLabelStyle() == talValue) {
    if (TChartSeries* s = GetFirstActiveSeries()) return s->MaxZValue();
  }
  return maxZOrder_ + 0.5;
}

int TCustomAxisPanel::MaxLabelsWidth() {
  std::vector<std::pair<const TChartSeries*, unsigned>> key;
  key.reserve(seriesList_.items_.size());
  for (TChartSeries* s : seriesList_) key.emplace_back(s, s->Revision());
  LabelsWidthCache& cache = labelsWidthCache_;
  if (cache.valid && cache.key == key && cache.font == Canvas().Font() &&
      cache.device == &Canvas().Ref())
    return cache.width;
  int widest = 0;
  for (TChartSeries* s : seriesList_) {
    const int n = std::min(s->LabelCount(), s->PointCount());
    for (int i = 0; i < n; ++i) {
      const std::string label = s->PointLabel(i);
      if (label.empty()) continue;
      int lines = 1;
      widest = std::max(widest, MultiLineTextWidth(label, lines));
    }
  }
  cache = {std::move(key), Canvas().Font(), &Canvas().Ref(), widest, true};
  return widest;
}

int TCustomAxisPanel::MaxMarkWidth() {
  int widest = 0;
  for (TChartSeries* s : seriesList_) {
    if (!s->Active()) continue;
    for (int i = 0; i < s->PointCount(); ++i) {
      int lines = 1;
      widest = std::max(widest, MultiLineTextWidth(s->MarkText(i), lines));
    }
  }
  return widest;
}

std::string TCustomAxisPanel::SeriesTitleForDepth(int slot) const {
  for (int i = 0; i < SeriesCount(); ++i) {
    TChartSeries* s = Series(i);
    if (s->Active() && s->ComputedZOrder() == slot) return SeriesTitleLegend(i);
  }
  return {};
}

std::string TCustomAxisPanel::SeriesTitleLegend(int index) const {
  TChartSeries* s = Series(index);
  if (!s->Title().empty()) return s->Title();
  if (!s->Name().empty()) return s->Name();
  return "Series " + std::to_string(index + 1);
}

// ---- settings and paging

void TCustomAxisPanel::SetClipPoints(bool value) {
  if (clipPoints_ == value) return;
  clipPoints_ = value;
  Invalidate();
}

void TCustomAxisPanel::SetView3DWalls(bool value) {
  if (view3DWalls_ == value) return;
  view3DWalls_ = value;
  Invalidate();
}

void TCustomAxisPanel::SetMaxPointsPerPage(int value) {
  if (value < 0) throw ChartException("MaxPointsPerPage must be >= 0");
  if (maxPointsPerPage_ != value) {
    maxPointsPerPage_ = value;
    Invalidate();
  }
  const int pages = NumPages();
  if (page_ > pages) SetPage(pages);
}

void TCustomAxisPanel::SetScaleLastPage(bool value) {
  if (scaleLastPage_ == value) return;
  scaleLastPage_ = value;
  Invalidate();
}

int TCustomAxisPanel::NumPages() const {
  if (maxPointsPerPage_ == 0 || SeriesCount() == 0) return 1;
  TChartSeries* first = Series(0);
  int pages = 1;
  for (const TCustomChartAxis* axis : {first->GetHorizAxis(), first->GetVertAxis()}) {
    if (axis == nullptr) continue;
    int most = 0;
    for (TChartSeries* s : seriesList_) {
      if (s->Active() && s->UsesAxis(axis)) most = std::max(most, s->PointCount());
    }
    const int n = most == 0 ? 1 : (most + maxPointsPerPage_ - 1) / maxPointsPerPage_;
    pages = std::max(pages, n);
  }
  return pages;
}

void TCustomAxisPanel::SetPage(int value) {
  const int clamped = std::clamp(value, 1, NumPages());
  if (clamped == page_) return;
  page_ = clamped;
  Invalidate();
  if (OnPageChange) OnPageChange(*this);
}

void TCustomAxisPanel::NextPage() {
  if (maxPointsPerPage_ > 0 && page_ < NumPages()) SetPage(page_ + 1);
}

void TCustomAxisPanel::PreviousPage() {
  if (maxPointsPerPage_ > 0 && page_ > 1) SetPage(page_ - 1);
}

// ---- services

plot::Color TCustomAxisPanel::PickFreeSeriesColor(bool checkBackground) const {
  for (int i = 0; i < kMaxDefaultColors; ++i) {
    const plot::Color c = GetDefaultColor(i);
    if (IsFreeSeriesColor(c, checkBackground)) return c;
  }
  return GetDefaultColor(0);
}

void TCustomAxisPanel::CheckDataSource(TChartSeries& series) {
  if (loading_) return;
  if (TChartSeries* source = series.DataSource()) series.RefreshFromSource(*source);
}

bool TCustomAxisPanel::IsValidDataSource(const TChartSeries& series, const TChartSeries* source) const {
  return source != nullptr && source != &series && series.IsSourceAcceptable(source) &&
         source->IsValidSourceOf(&series);
}

// ---- drawing

void TCustomAxisPanel::RecalcSeriesZOrders() {
  maxZOrder_ = 0;
  nextZOrder_ = 0;
  const bool stacking = DepthStacking() && View3D();
  for (TChartSeries* s : seriesList_) {
    if (!s->Active()) continue;
    s->SetComputedZOrder(0);
    if (!stacking) continue;
    s->CalcZOrder();
    maxZOrder_ = std::max(maxZOrder_, s->ComputedZOrder());
  }
  if (!stacking) return;
  for (TChartSeries* s : seriesList_) {
    if (s->Active()) s->SetComputedZOrder(maxZOrder_ - s->ComputedZOrder());
  }
}

void TCustomAxisPanel::ClipSeries(bool clip) {
  if (clip) {
    Canvas().ClipToBox(ChartRect(), 0, width3D_);
  } else {
    Canvas().RemoveClip();
  }
}

void TCustomAxisPanel::DrawSeries(TChartSeries& series) {
  series.ComputeVisibleRange();
  if (series.FirstVisibleIndex() < 0 || series.LastVisibleIndex() < series.FirstVisibleIndex()) return;
  series.DoBeforeDrawValues();
  const bool clip = clipPoints_ && CanClip();
  if (clip) ClipSeries(true);
  series.DrawAllValues();
  if (clip) ClipSeries(false);
  if (series.Marks().Visible()) {
    const bool clipMarks = series.Marks().Clip() && CanClip();
    if (clipMarks) ClipSeries(true);
    series.DrawAllMarks();
    if (clipMarks) ClipSeries(false);
  }
  series.DoAfterDrawValues();
}

void TCustomAxisPanel::DrawSeriesGroup(const std::vector<TChartSeries*>& group) {
  std::vector<TChartSeries*> visible;
  int first = -1, last = -1;
  for (TChartSeries* s : group) {
    s->ComputeVisibleRange();
    if (s->FirstVisibleIndex() < 0 || s->LastVisibleIndex() < s->FirstVisibleIndex()) continue;
    visible.push_back(s);
    first = first < 0 ? s->FirstVisibleIndex() : std::min(first, s->FirstVisibleIndex());
    last = std::max(last, s->LastVisibleIndex());
  }
  if (visible.empty()) return;
  for (TChartSeries* s : visible) s->DoBeforeDrawValues();
  const bool clip = clipPoints_ && CanClip();
  if (clip) ClipSeries(true);
  const bool forward = visible.front()->DrawValuesForward();
  for (int n = 0; n <= last - first; ++n) {
    const int i = forward ? first + n : last - n;
    const bool inOrder = visible.front()->DrawSeriesForward(i);
    for (std::size_t k = 0; k < visible.size(); ++k) {
      TChartSeries* s = visible[inOrder ? k : visible.size() - 1 - k];
      if (i >= s->FirstVisibleIndex() && i <= s->LastVisibleIndex()) s->DrawValue(i);
    }
  }
  if (clip) ClipSeries(false);
  for (TChartSeries* s : visible) {
    if (!s->Marks().Visible()) continue;
    const bool clipMarks = s->Marks().Clip() && CanClip();
    if (clipMarks) ClipSeries(true);
    s->DrawAllMarks();
    if (clipMarks) ClipSeries(false);
  }
  for (TChartSeries* s : visible) s->DoAfterDrawValues();
}

void TCustomAxisPanel::DrawZoomRectangle() {
  TPlotCanvas3D& canvas = Canvas();
  const plot::Color panel = ColorToRGB(Color());
  platform::Pen& pen = canvas.Pen();
  pen.color = panel == clWhite ? clBlack : panel;
  pen.mode = platform::PenMode::NotXor;
  pen.style = platform::PenStyle::Solid;
  pen.width = 1;
  pen.alternate = false;
  canvas.Brush().style = platform::BrushStyle::Clear;
  const TZoomPanningRecord& z = ZoomRecord();
  canvas.DrawRectangle(z.X0, z.Y0, z.X1, z.Y1);
  pen.mode = platform::PenMode::Copy;
}

void TCustomAxisPanel::InternalDraw(const Rect& bounds) {
  // 1. Panel background, back image, bevels.
  DrawPanel(bounds);
  // 2. Series prepare for this paint.
  for (TChartSeries* s : seriesList_) {
    if (s->Active()) s->BeforeChartDraw();
  }
  // 3. Titles and legend take their room, drawn flat.
  Canvas().BeginFlatDrawing();
  DrawTitlesAndLegend();
  Canvas().EndFlatDrawing();
  // 4. Depth slots (3D).
  RecalcSeriesZOrders();
  // 5. Axis ranges, 3D sizes, axis room, plotting rectangle, placement.
  CalcAxisRect();
  // 6. Depth positions of the series (3D).
  for (TChartSeries* s : seriesList_) {
    if (!s->Active()) continue;
    const int start = s->ComputedZOrder() * seriesDepth3D_;
    const int end = start + seriesDepth3D_;
    s->SetDepthPositions(start, (start + end) / 2, end);
  }
  // 7. Series margins widen the axes.
  CalcSeriesRect();
  // 8. Projection centre.
  Canvas().SetViewCenter(width3D_, bounds, ChartRect());
  // 9. Walls, which frame the axes: none when no series uses axes.
  if (ActiveSeriesUseAxis()) DrawWalls();
  // 10. Axes before the series, so series cover the grid.
  if (axisVisible_) {
    if (OnBeforeDrawAxes) OnBeforeDrawAxes(*this);
    for (TCustomChartAxis* axis : axes_) {
      if (IsAxisShown(axis)) axis->DrawAxis(true);
    }
  }
  // 11.
  if (OnBeforeDrawSeries) OnBeforeDrawSeries(*this);
  // 12. Series in list order; in 3D those sharing a depth interleave.
  std::vector<TChartSeries*> done;
  for (TChartSeries* s : seriesList_) {
    if (!s->Active() || std::find(done.begin(), done.end(), s) != done.end()) continue;
    if (View3D() && s->MoreSameZOrder()) {
      std::vector<TChartSeries*> group;
      for (TChartSeries* other : seriesList_) {
        if (other->Active() && other->ComputedZOrder() == s->ComputedZOrder()) group.push_back(other);
      }
      done.insert(done.end(), group.begin(), group.end());
      DrawSeriesGroup(group);
    } else {
      DrawSeries(*s);
    }
  }
  // 13. A zoom box in progress stays visible.
  if (ZoomRecord().Active) DrawZoomRectangle();
  // 14.
  Canvas().ResetDrawingState();
  if (OnAfterDraw) OnAfterDraw(*this);
}

}  // namespace plot
