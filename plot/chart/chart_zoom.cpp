// Zoom and scroll with the mouse: the chart's press, move and release.
#include <cstdlib>

#include "plot/chart/chart.h"
#include "plot/chart/chart_series.h"

namespace plot {

namespace {
// Shared by all charts: left zooms, right scrolls, no shift keys needed.
constexpr TMouseButton kZoomButton = mbLeft;
constexpr TMouseButton kScrollButton = mbRight;
constexpr TShiftState kZoomKeys = 0;
constexpr TShiftState kScrollKeys = 0;
constexpr double kAnimatedZoomDivisor = 3.0;
// A box must be larger than this in both directions to zoom or undo.
constexpr int kMinimumDrag = 16;
}  // namespace

std::array<TChartAxis*, 4> TCustomChart::ZoomAxes() { return {&LeftAxis(), &RightAxis(), &TopAxis(), &BottomAxis()}; }

bool TCustomChart::OfferClick(const std::function<void()>& call) {
  SetCancelMouse(true);
  call();
  return CancelMouse();
}

void TCustomChart::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomAxisPanel::MouseDown(button, shift, x, y);
  if (ZoomRecord().Active || PanningRecord().Active) return;
  if (CancelMouse()) {
    SetCancelMouse(false);
    return;
  }

  enum class Part { None, Series, Axis, Title, Foot, Background, Legend } part = Part::None;
  TChartSeries* series = nullptr;
  int valueIndex = -1;
  TCustomChartAxis* axis = nullptr;
  for (int i = SeriesCount() - 1; i >= 0 && part == Part::None; --i) {
    TChartSeries* s = Series(i);
    if (!s->Active()) continue;
    int index = s->ClickedPoint(x, y);
    if (index != -1) {
      part = Part::Series, series = s, valueIndex = index;
    }
  }
  if (part == Part::None) {
    for (TCustomChartAxis* a : Axes()) {
      if (a->HitTest(x, y)) {
        part = Part::Axis, axis = a;
        break;
      }
    }
  }
  if (part == Part::None && Title().Clicked(x, y)) part = Part::Title;
  if (part == Part::None && Foot().Clicked(x, y)) part = Part::Foot;
  if (part == Part::None && ChartRect().Contains({x, y}) && CountActiveSeries() > 0) part = Part::Background;
  if (part == Part::None && Legend().Visible() && Legend().Clicked(x, y) >= 0) part = Part::Legend;

  auto background = [&] {
    return OnClickBackground && OfferClick([&] { OnClickBackground(*this, button, shift, x, y); });
  };
  bool handled = false;
  switch (part) {
    case Part::Legend:
      if (OnClickLegend) handled = OfferClick([&] { OnClickLegend(*this, button, shift, x, y); });
      break;
    case Part::Axis:
      if (OnClickAxis) handled = OfferClick([&] { OnClickAxis(*this, *axis, button, shift, x, y); });
      if (!handled) handled = StartDrag(button, shift, x, y);
      break;
    case Part::Series:
      handled = series->DispatchClick(valueIndex, button, shift, x, y);
      if (OnClickSeries) {
        handled = OfferClick([&] { OnClickSeries(*this, *series, valueIndex, button, shift, x, y); });
      }
      if (!handled) handled = StartDrag(button, shift, x, y);
      break;
    case Part::Background:
      handled = background();
      if (!handled) handled = StartDrag(button, shift, x, y);
      break;
    case Part::Title:
    case Part::Foot:
    case Part::None: break;
  }
  // Still not handled: the background gets the click (a second offer for
  // the background part itself).
  if (!handled) background();
  SetCancelMouse(false);
}

bool TCustomChart::StartDrag(TMouseButton button, TShiftState shift, int x, int y) {
  bool handled = false;
  if (AllowZoom() && button == kZoomButton && (shift & kZoomKeys) == kZoomKeys) {
    SetCursor(crDefault);
    ZoomRecord().Activate(x, y);
    // The box is drawn by every paint while the record is active.
    Invalidate();
    handled = true;
  }
  if (AllowPanning() != pmNone && button == kScrollButton && (shift & kScrollKeys) == kScrollKeys) {
    SetCursor(crDefault);
    PanningRecord().Activate(x, y);
    handled = true;
  }
  return handled;
}

void TCustomChart::MouseMove(TShiftState shift, int x, int y) {
  TCustomAxisPanel::MouseMove(shift, x, y);
  if (Designing()) return;
  TZoomPanningRecord& zoom = ZoomRecord();
  TZoomPanningRecord& panning = PanningRecord();
  if (zoom.Active) {
    if (x == zoom.X1 && y == zoom.Y1) return;
    // The box follows the pointer anywhere, also outside the plot; the
    // repaint draws it at its new corners (a burst of moves gives one).
    zoom.X1 = x;
    zoom.Y1 = y;
    Invalidate();
    return;
  }
  if (panning.Active) {
    if (!ChartRect().Contains({x, y})) {
      panning.Active = false;
      return;
    }
    if (x == panning.X1 && y == panning.Y1) return;
    if (axesUnsaved_) SaveAxes();
    bool moved = PanDirection(true, panning.X1, x);
    moved = PanDirection(false, panning.Y1, y) || moved;
    panning.X1 = x;
    panning.Y1 = y;
    if (moved) {
      if (OnScroll) OnScroll(*this);
      Invalidate();
    }
    return;
  }
  bool matched = false;
  for (TChartSeries* s : SeriesList()) {
    if (!s->Active() || s->Cursor() == crDefault) continue;
    if (s->ClickedPoint(x, y) != -1) {
      SetCursor(s->Cursor());
      matched = true;
      break;
    }
  }
  for (TChartSeries* s : SeriesList()) s->MouseMoveHook(shift, x, y);
  if (!matched) SetCursor(SavedCursor());
}

bool TCustomChart::PanDirection(bool horizontal, int from, int to) {
  if (from == to) return false;
  const TPanningMode mode = horizontal ? pmHorizontal : pmVertical;
  if (AllowPanning() != mode && AllowPanning() != pmBoth) return false;
  // Every axis of that orientation moves, also those no series uses.
  for (TCustomChartAxis* axis : Axes()) {
    if (axis->IsDepth() || axis->IsHorizontal() != horizontal) continue;
    const double delta = axis->PixelToValue(from) - axis->PixelToValue(to);
    double aMin = axis->Minimum() + delta;
    double aMax = axis->Maximum() + delta;
    bool allow = true;
    if (OnAllowScroll) OnAllowScroll(*axis, aMin, aMax, allow);
    if (allow) axis->SetRange(aMin, aMax);
  }
  return true;
}

void TCustomChart::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomAxisPanel::MouseUp(button, shift, x, y);
  for (TChartSeries* s : SeriesList()) s->MouseUpHook(button, shift, x, y);
  TZoomPanningRecord& zoom = ZoomRecord();
  if (zoom.Active && button == kZoomButton) {
    zoom.Active = false;
    Canvas().Pen().mode = platform::PenMode::Copy;
    zoom.X1 = x;
    zoom.Y1 = y;
    if (std::abs(zoom.X1 - zoom.X0) > kMinimumDrag && std::abs(zoom.Y1 - zoom.Y0) > kMinimumDrag) {
      if (zoom.X1 > zoom.X0 && zoom.Y1 > zoom.Y0) {
        ZoomToBox();
      } else {
        ResetZoom();
      }
    }
    // The box is gone from the next paint.
    Invalidate();
  }
  PanningRecord().Active = false;
}

void TCustomChart::ZoomToBox() {
  TZoomPanningRecord& zoom = ZoomRecord();
  zoom.Check();
  AxisRanges ranges;
  const auto axes = ZoomAxes();
  for (std::size_t i = 0; i < axes.size(); ++i) {
    TChartAxis* a = axes[i];
    if (a->IsHorizontal()) {
      ranges[i] = {a->PixelToValue(zoom.X0), a->PixelToValue(zoom.X1)};
    } else {
      // The lower edge is the minimum.
      ranges[i] = {a->PixelToValue(zoom.Y1), a->PixelToValue(zoom.Y0)};
    }
  }
  ZoomToValues(ranges);
}

void TCustomChart::SaveAxes() {
  const auto axes = ZoomAxes();
  for (std::size_t i = 0; i < axes.size(); ++i) {
    const TChartAxis* a = axes[i];
    savedAxes_[i] = {a->Automatic(), a->AutomaticMinimum(), a->AutomaticMaximum(), a->Minimum(), a->Maximum()};
  }
  axesUnsaved_ = false;
}

void TCustomChart::ZoomToValues(const AxisRanges& ranges) {
  if (axesUnsaved_) SaveAxes();
  const auto axes = ZoomAxes();
  if (AnimatedZoom()) {
    // Each stage moves a third of the remaining way, repainting at once.
    for (int step = 1; step < AnimatedZoomSteps(); ++step) {
      for (std::size_t i = 0; i < axes.size(); ++i) {
        TChartAxis* a = axes[i];
        a->SetRange(a->Minimum() + (ranges[i].first - a->Minimum()) / kAnimatedZoomDivisor,
                    a->Maximum() - (a->Maximum() - ranges[i].second) / kAnimatedZoomDivisor);
      }
      Repaint();
    }
  }
  for (std::size_t i = 0; i < axes.size(); ++i) axes[i]->SetRange(ranges[i].first, ranges[i].second);
  SetZoomed(true);
  if (OnZoom) OnZoom(*this);
}

void TCustomChart::ResetZoom() {
  if (!axesUnsaved_) {
    const auto axes = ZoomAxes();
    for (std::size_t i = 0; i < axes.size(); ++i) {
      TChartAxis* a = axes[i];
      const SavedAxis& saved = savedAxes_[i];
      a->SetAutomatic(saved.automatic);
      a->SetAutomaticMinimum(saved.automaticMinimum);
      a->SetAutomaticMaximum(saved.automaticMaximum);
      if (!saved.automatic) a->SetRange(saved.minimum, saved.maximum);
    }
    axesUnsaved_ = true;
  }
  // The event, a repaint and the zoomed flag cleared.
  TCustomAxisPanel::ResetZoom();
}

}  // namespace plot
