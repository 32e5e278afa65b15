#include "plot/chart/chart_look.h"

#include <algorithm>

#include "plot/chart/chart.h"
#include "plot/series/bar_series.h"
#include "plot/series/custom_series.h"
#include "plot/series/series_marks.h"
#include "plot/series/series_pointer.h"

namespace plot {

namespace {

std::array<TCustomChartAxis*, 5> Axes(TCustomChart& chart) {
  return {&chart.LeftAxis(), &chart.RightAxis(), &chart.TopAxis(), &chart.BottomAxis(), &chart.DepthAxis()};
}

std::array<TChartWall*, 3> Walls(TCustomChart& chart) {
  return {&chart.BackWall(), &chart.LeftWall(), &chart.BottomWall()};
}

void GiveFont(const platform::Font& look, TFont& font) {
  font.SetName(look.name);
  font.SetHeight(look.height);
  font.SetStyle(look.style);
  font.SetColor(look.color);
}

}  // namespace

TChartPen* SeriesMainPen(TChartSeries& series) {
  if (auto* s = dynamic_cast<TCustomSeries*>(&series)) return &s->LinePen();
  if (auto* b = dynamic_cast<TCustomBarSeries*>(&series)) return &b->BarPen();
  return nullptr;
}

TChartBrush* SeriesMainBrush(TChartSeries& series) {
  if (auto* b = dynamic_cast<TCustomBarSeries*>(&series)) return &b->BarBrush();
  if (auto* s = dynamic_cast<TCustomSeries*>(&series)) return &s->Pointer().Brush();
  return nullptr;
}

TChartLook::Pen TChartLook::TakePen(const TChartPen& pen) {
  return {pen.Color(), pen.Style(), pen.Width(), pen.Visible()};
}

void TChartLook::GivePen(const Pen& look, TChartPen& pen) {
  pen.SetColor(look.color);
  pen.SetStyle(look.style);
  pen.SetWidth(look.width);
  pen.SetVisible(look.visible);
}

TChartLook::Brush TChartLook::TakeBrush(const TChartBrush& brush) { return {brush.Color(), brush.Style()}; }

void TChartLook::GiveBrush(const Brush& look, TChartBrush& brush) {
  brush.SetColor(look.color);
  brush.SetStyle(look.style);
}

TChartLook TChartLook::Capture(TCustomChart& chart) {
  TChartLook l;
  l.title_ = {chart.Title().Text().Lines(), chart.Title().Visible(), chart.Title().Font().Value()};
  l.foot_ = {chart.Foot().Text().Lines(), chart.Foot().Visible(), chart.Foot().Font().Value()};
  l.panelColor_ = chart.Color();
  l.gradientVisible_ = chart.Gradient().Visible();
  l.gradientStart_ = chart.Gradient().StartColor();
  l.gradientEnd_ = chart.Gradient().EndColor();
  l.gradientDirection_ = chart.Gradient().Direction();
  l.bevelOuter_ = chart.BevelOuter();
  l.bevelInner_ = chart.BevelInner();
  l.bevelWidth_ = chart.BevelWidth();
  l.margins_ = {chart.MarginLeft(), chart.MarginTop(), chart.MarginRight(), chart.MarginBottom()};
  l.view3D_ = chart.View3D();
  l.chart3DPercent_ = chart.Chart3DPercent();
  const TView3DOptions& v = chart.View3DOptions();
  l.elevation_ = v.Elevation();
  l.rotation_ = v.Rotation();
  l.perspective_ = v.Perspective();
  l.zoom_ = v.Zoom();
  l.orthogonal_ = v.Orthogonal();
  l.legendVisible_ = chart.Legend().Visible();
  l.legendAlignment_ = chart.Legend().Alignment();
  l.legendStyle_ = chart.Legend().LegendStyle();
  l.legendTextStyle_ = chart.Legend().TextStyle();
  l.legendFont_ = chart.Legend().Font().Value();
  const auto axes = Axes(chart);
  for (std::size_t i = 0; i < axes.size(); ++i) {
    TCustomChartAxis& a = *axes[i];
    l.axes_[i] = {a.Visible(), a.Automatic(), a.AutomaticMinimum(), a.AutomaticMaximum(), a.Minimum(), a.Maximum(),
                  a.Increment(), a.Logarithmic(), a.Inverted(), a.Labels(), a.Title().Caption(),
                  a.AxisValuesFormat(), a.DateTimeFormat(), a.LabelsAngle(), a.TickLength(), TakePen(a.Grid()),
                  TakePen(a.Ticks()), TakePen(a.Axis())};
  }
  const auto walls = Walls(chart);
  for (std::size_t i = 0; i < walls.size(); ++i) {
    TChartWall& w = *walls[i];
    l.walls_[i] = {w.Color(), TakeBrush(w.Brush()), TakePen(w.Pen()), w.Size()};
  }
  for (int i = 0; i < chart.SeriesCount(); ++i) {
    TChartSeries& s = *chart.Series(i);
    Series look;
    look.series = &s;
    look.active = s.Active();
    look.title = s.Title();
    look.color = s.SeriesColor();
    if (TChartPen* pen = SeriesMainPen(s)) look.hasPen = true, look.pen = TakePen(*pen);
    if (TChartBrush* brush = SeriesMainBrush(s)) look.hasBrush = true, look.brush = TakeBrush(*brush);
    if (auto* cs = dynamic_cast<TCustomSeries*>(&s)) {
      look.hasPointer = true;
      look.pointerVisible = cs->Pointer().Visible();
      look.pointerStyle = cs->Pointer().Style();
      look.stairs = cs->Stairs();
    }
    if (auto* bars = dynamic_cast<TCustomBarSeries*>(&s)) {
      look.hasBars = true;
      look.barStyle = bars->BarStyle();
      look.multiBar = bars->MultiBar();
      look.barWidthPercent = bars->BarWidthPercent();
    }
    look.marksVisible = s.Marks().Visible();
    look.marksStyle = s.Marks().Style();
    l.series_.push_back(look);
  }
  return l;
}

void TChartLook::Restore(TCustomChart& chart, bool seriesList) const {
  chart.Title().SetText(title_.lines);
  chart.Title().SetVisible(title_.visible);
  GiveFont(title_.font, chart.Title().Font());
  chart.Foot().SetText(foot_.lines);
  chart.Foot().SetVisible(foot_.visible);
  GiveFont(foot_.font, chart.Foot().Font());
  chart.SetColor(panelColor_);
  chart.Gradient().SetVisible(gradientVisible_);
  chart.Gradient().SetStartColor(gradientStart_);
  chart.Gradient().SetEndColor(gradientEnd_);
  chart.Gradient().SetDirection(static_cast<TGradientDirection>(gradientDirection_));
  chart.SetBevelOuter(static_cast<TPanelBevel>(bevelOuter_));
  chart.SetBevelInner(static_cast<TPanelBevel>(bevelInner_));
  chart.SetBevelWidth(bevelWidth_);
  chart.SetMarginLeft(margins_[0]);
  chart.SetMarginTop(margins_[1]);
  chart.SetMarginRight(margins_[2]);
  chart.SetMarginBottom(margins_[3]);
  chart.SetView3D(view3D_);
  chart.SetChart3DPercent(chart3DPercent_);
  TView3DOptions& v = chart.View3DOptions();
  v.SetElevation(elevation_);
  v.SetRotation(rotation_);
  v.SetPerspective(perspective_);
  v.SetZoom(zoom_);
  v.SetOrthogonal(orthogonal_);
  chart.Legend().SetVisible(legendVisible_);
  chart.Legend().SetAlignment(static_cast<TLegendAlignment>(legendAlignment_));
  chart.Legend().SetLegendStyle(static_cast<TLegendStyle>(legendStyle_));
  chart.Legend().SetTextStyle(static_cast<TLegendTextStyle>(legendTextStyle_));
  GiveFont(legendFont_, chart.Legend().Font());
  const auto axes = Axes(chart);
  for (std::size_t i = 0; i < axes.size(); ++i) {
    TCustomChartAxis& a = *axes[i];
    const Axis& l = axes_[i];
    a.SetVisible(l.visible);
    a.SetLogarithmic(false);  // a range below zero may come back first
    // The wider end first: never passes through minimum > maximum.
    if (l.minimum <= l.maximum) {
      if (l.minimum > a.Maximum()) {
        a.SetMaximum(l.maximum);
        a.SetMinimum(l.minimum);
      } else {
        a.SetMinimum(l.minimum);
        a.SetMaximum(l.maximum);
      }
    }
    a.SetAutomatic(l.automatic);
    a.SetAutomaticMinimum(l.automaticMinimum);
    a.SetAutomaticMaximum(l.automaticMaximum);
    a.SetIncrement(l.increment);
    a.SetInverted(l.inverted);
    a.SetLabels(l.labels);
    a.Title().SetCaption(l.title);
    a.SetAxisValuesFormat(l.valuesFormat);
    a.SetDateTimeFormat(l.dateTimeFormat);
    a.SetLabelsAngle(l.labelsAngle);
    a.SetTickLength(l.tickLength);
    GivePen(l.grid, a.Grid());
    GivePen(l.ticks, a.Ticks());
    GivePen(l.line, a.Axis());
    try {
      a.SetLogarithmic(l.logarithmic);
    } catch (const std::exception&) {
      // The series may have changed since the capture: linear it stays.
    }
  }
  const auto walls = Walls(chart);
  for (std::size_t i = 0; i < walls.size(); ++i) {
    walls[i]->SetColor(walls_[i].color);
    GiveBrush(walls_[i].brush, walls[i]->Brush());
    GivePen(walls_[i].pen, walls[i]->Pen());
    walls[i]->SetSize(walls_[i].size);
  }
  if (seriesList) {
    std::vector<TChartSeries*> kept;
    for (const Series& s : series_) kept.push_back(s.series);
    for (int i = chart.SeriesCount() - 1; i >= 0; --i) {
      TChartSeries* s = chart.Series(i);
      if (std::find(kept.begin(), kept.end(), s) == kept.end()) s->SetParentChart(nullptr);
    }
    for (std::size_t i = 0; i < kept.size(); ++i) {
      int at = chart.SeriesList().IndexOf(kept[i]);
      if (at < 0) {
        kept[i]->SetParentChart(&chart);
        at = chart.SeriesList().IndexOf(kept[i]);
      }
      if (at >= 0 && at != static_cast<int>(i)) chart.ExchangeSeries(at, static_cast<int>(i));
    }
  }
  for (const Series& l : series_) {
    TChartSeries& s = *l.series;
    if (s.ParentChart() != &chart) continue;
    if (seriesList) s.SetActive(l.active);
    s.SetTitle(l.title);
    s.SetSeriesColor(l.color);
    if (l.hasPen) GivePen(l.pen, *SeriesMainPen(s));
    if (l.hasBrush) GiveBrush(l.brush, *SeriesMainBrush(s));
    if (l.hasPointer) {
      auto& pointer = dynamic_cast<TCustomSeries&>(s).Pointer();
      pointer.SetVisible(l.pointerVisible);
      pointer.SetStyle(static_cast<TSeriesPointerStyle>(l.pointerStyle));
      dynamic_cast<TCustomSeries&>(s).SetStairs(l.stairs);
    }
    if (l.hasBars) {
      auto& bars = dynamic_cast<TCustomBarSeries&>(s);
      bars.SetBarStyle(static_cast<TBarStyle>(l.barStyle));
      bars.SetMultiBar(static_cast<TMultiBar>(l.multiBar));
      bars.SetBarWidthPercent(l.barWidthPercent);
    }
    s.Marks().SetVisible(l.marksVisible);
    s.Marks().SetStyle(static_cast<TSeriesMarksStyle>(l.marksStyle));
  }
}

}  // namespace plot
