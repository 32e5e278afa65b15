// Data sources, dependents, sample values, stacking sums and the shared
// hit-test geometry of the series.
#include <algorithm>
#include <cmath>
#include <ctime>
#include <random>
#include <stdexcept>
#include <typeinfo>

#include "plot/axes/chart_axis.h"
#include "plot/chart/axis_panel.h"
#include "plot/chart/chart_exceptions.h"
#include "plot/chart/chart_series.h"
#include "plot/series/series_marks.h"
#include "runtime/date_time.h"

namespace plot {

// ---- data sources

bool TChartSeries::DependsOn(const TChartSeries* other) const {
  for (const TChartSeries* source : dataSources_) {
    if (source == other || source->DependsOn(other)) return true;
  }
  return false;
}

void TChartSeries::UnlinkSources() {
  for (TChartSeries* source : dataSources_) {
    auto& deps = source->dependents_;
    deps.erase(std::remove(deps.begin(), deps.end(), this), deps.end());
  }
  dataSources_.clear();
}

void TChartSeries::SetDataSource(TChartSeries* source) {
  if (source == nullptr) {
    UnlinkSources();
    if (parentChart_ != nullptr && parentChart_->Designing() && !function_) {
      FillSampleValues(NumSampleValues());
    } else {
      ClearPoints();
    }
    RequestRepaint();
    return;
  }
  if (parentChart_ == nullptr) throw ChartException("No ParentChart to validate DataSource");
  if (!parentChart_->IsValidDataSource(*this, source)) throw ChartException("No valid DataSource: " + source->Name());
  // The new source must not already depend, directly or through its own
  // sources, on this series.
  if (source->DependsOn(this)) throw ChartException("Circular Series dependences are not allowed");
  if (parentChart_->Loading()) {
    dataSources_.push_back(source);
    source->dependents_.push_back(this);
    return;
  }
  UnlinkSources();
  dataSources_.push_back(source);
  source->dependents_.push_back(this);
  parentChart_->CheckDataSource(*this);
}

void TChartSeries::AddDataSource(TChartSeries* source) {
  if (source == nullptr || std::find(dataSources_.begin(), dataSources_.end(), source) != dataSources_.end()) return;
  if (source == this || source->DependsOn(this)) throw ChartException("Circular Series dependences are not allowed");
  dataSources_.push_back(source);
  source->dependents_.push_back(this);
  // A calculation reads every source: it is due again.
  if (function_ && parentChart_ != nullptr) parentChart_->CheckDataSource(*this);
}

void TChartSeries::SetFunction(std::unique_ptr<TSeriesFunction> function) {
  function_ = std::move(function);
  if (function_) function_->parentSeries_ = this;
  if (parentChart_ != nullptr) parentChart_->CheckDataSource(*this);
}

void TChartSeries::NotifyDependents(TChartSeriesChange change, int index) {
  if (dependents_.empty() || recalculating_) return;
  // A handler may unlink series; walk a copy.
  const std::vector<TChartSeries*> dependents = dependents_;
  for (TChartSeries* d : dependents) {
    const auto& sources = d->dataSources_;
    if (std::find(sources.begin(), sources.end(), this) == sources.end()) continue;
    const unsigned options = d->recalcOptions_;
    // A calculated series cannot follow a change point by point (one
    // source point feeds a whole period, or a point of several sources):
    // it recalculates from all its sources.
    const bool calculated = d->function_ != nullptr;
    switch (change) {
      case ChangeCleared:
        if (!(options & rOnClear)) break;
        if (calculated) {
          d->RefreshFromSource(*this);
        } else {
          d->ClearPoints();
        }
        break;
      case ChangeAdded:
        if (!(options & rOnInsert)) break;
        if (calculated) {
          d->RefreshFromSource(*this);
        } else {
          d->AddPointFrom(*this, index);
        }
        break;
      case ChangeDeleted:
        if (!(options & rOnDelete)) break;
        if (calculated) {
          d->RefreshFromSource(*this);
        } else {
          d->DeletePoint(index);
        }
        break;
      case ChangeModified:
        if (options & rOnModify) d->RefreshFromSource(*this);
        break;
      case ChangeRefreshed:
        d->RefreshFromSource(*this);
        break;
    }
  }
}

int TChartSeries::CopyPointFrom(TChartSeries& source, int index) {
  const bool swap = source.ValuesAreVertical() != ValuesAreVertical();
  const double x = swap ? source.YValueAt(index) : source.XValueAt(index);
  const double y = swap ? source.XValueAt(index) : source.YValueAt(index);
  int at;
  if (ValuesAreVertical()) {
    at = xValues_->InsertOrdered(x);
    yValues_->InsertAt(at, y);
  } else {
    at = yValues_->InsertOrdered(y);
    xValues_->InsertAt(at, x);
  }
  // Extra coordinates come across by list position.
  for (std::size_t i = 2; i < valueLists_.size(); ++i) {
    const double v = i < source.valueLists_.size() ? source.valueLists_[i]->ValueAt(index) : 0.0;
    valueLists_[i]->InsertAt(at, v);
  }
  return at;
}

int TChartSeries::AddPointFrom(TChartSeries& source, int index) {
  const int at = CopyPointFrom(source, index);
  InsertColor(at, source.StoredColor(index));
  if (index < source.labelCount_) InsertLabel(at, source.PointLabel(index));
  Touch();
  AddedValue(at);
  return at;
}

void TChartSeries::RefreshFromSource(TChartSeries& source) {
  if (!IsSourceAcceptable(&source)) return;
  if (function_) {
    recalculating_ = true;
    try {
      ClearPoints();
      xValues_->SetDateTime(source.XValues().DateTime());
      yValues_->SetDateTime(source.YValues().DateTime());
      function_->Recalculate(*this);
    } catch (...) {
      recalculating_ = false;
      throw;
    }
    recalculating_ = false;
  } else {
    ClearPoints();
    for (int i = 0; i < source.PointCount(); ++i) AddPointFrom(source, i);
  }
  NotifyDependents(ChangeRefreshed);
}

// ---- sample values

void TChartSeries::FillSampleValues(int count) {
  if (count <= 0) throw std::invalid_argument("FillSampleValues NumValues must be > 0");
  ClearPoints();
  // Values run along the vertical axis and positions along the horizontal
  // one, or the other way round for kinds with horizontal values.
  const bool vertical = ValuesAreVertical();
  const TCustomChartAxis* valueAxis = vertical ? resolvedVert_ : resolvedHoriz_;
  const TCustomChartAxis* positionAxis = vertical ? resolvedHoriz_ : resolvedVert_;
  double yMin = 0, yMax = 1000, xMin = 0, xMax = count - 1;
  const bool datesX = (vertical ? xValues_ : yValues_)->DateTime();
  if (parentChart_ != nullptr && parentChart_->GetMaxValuesCount() > 0 && valueAxis != nullptr) {
    yMin = valueAxis->Minimum();
    yMax = valueAxis->Maximum();
    if (yMax <= yMin) yMax = yMin + 1000;
  }
  if (datesX) {
    xMin = std::floor(static_cast<double>(std::time(nullptr)) / 86400.0) + 25569.0;
    xMax = xMin + count - 1;
  } else if (parentChart_ != nullptr && parentChart_->GetMaxValuesCount() > 0 && positionAxis != nullptr &&
             positionAxis->Maximum() > positionAxis->Minimum()) {
    xMin = positionAxis->Minimum();
    xMax = positionAxis->Maximum();
  }
  std::minstd_rand random(static_cast<unsigned>(count) * 7919u + static_cast<unsigned>(PointCount()));
  const double d = (yMax - yMin) / 4.0;
  std::uniform_real_distribution<double> r(0.0, d > 0 ? d : 1.0);
  const double step = count > 1 ? (xMax - xMin) / (count - 1) : 0.0;
  AddSampleValues([&] {
    double y = yMin + (yMax - yMin) / 2;
    for (int i = 0; i < count; ++i) {
      y = std::fabs(r(random) + y - d / 2);
      if (vertical) {
        AddPointXY(xMin + step * i, y);
      } else {
        AddPointXY(y, xMin + step * i);
      }
    }
  });
}

void TChartSeries::AddSampleValues(const std::function<void()>& add) {
  const bool autoRepaint = parentChart_ != nullptr && parentChart_->AutoRepaint();
  if (parentChart_ != nullptr) parentChart_->SetAutoRepaint(false);
  add();
  if (parentChart_ != nullptr) parentChart_->SetAutoRepaint(autoRepaint);
  NotifyDependents(ChangeRefreshed);
  RequestRepaint();
}

double TChartSeries::SampleStartX() const {
  return xValues_->DateTime() ? std::floor(static_cast<double>(std::time(nullptr)) / 86400.0) + 25569.0 : 0;
}

void TChartSeries::PrepareForGallery(bool enabled) {
  FillSampleValues(4);
  Marks().SetVisible(false);
  SetColorEachPoint(false);
  if (!enabled) SetSeriesColor(clSilver);
}

// ---- stacking

bool TChartSeries::SameClassOrBase(const TChartSeries& other) const {
  return typeid(*this) == typeid(other);
}

bool TChartSeries::SameKindAs(const TChartSeries& other) const {
  return SameClassOrBase(other) || other.SameClassOrBase(*this);
}

double TChartSeries::SumOfOrigins(int index, bool includeSelf) const {
  if (parentChart_ == nullptr) return 0;
  double sum = 0;
  for (TChartSeries* s : parentChart_->SeriesList()) {
    if (!includeSelf && s == this) break;
    if (s->Active() && SameKindAs(*s) && s->PointCount() > index) sum += s->MarkValue(index);
  }
  return sum;
}

// ---- hit-test geometry

namespace hit_test {

bool PointInLine(Point p, Point a, Point b, int t) {
  const long long cross = static_cast<long long>(p.x - a.x) * (b.y - a.y) - static_cast<long long>(p.y - a.y) * (b.x - a.x);
  const long long span = std::max(std::abs(b.x - a.x), std::abs(b.y - a.y));
  if (std::llabs(cross) >= span) return false;
  // Beyond an end, away from the other end, by more than the tolerance.
  auto beyond = [t](int end, int other, int point) {
    return (other + t < end && end + t < point) || (point + t < end && end + t < other);
  };
  if (beyond(a.x, b.x, p.x) || beyond(a.y, b.y, p.y)) return false;
  if (beyond(b.x, a.x, p.x) || beyond(b.y, a.y, p.y)) return false;
  return true;
}

bool PointInPolygon(Point p, const std::vector<Point>& points) {
  bool inside = false;
  const std::size_t n = points.size();
  if (n == 0) return false;
  for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
    const Point& pi = points[i];
    const Point& pj = points[j];
    if ((p.y >= pi.y && p.y < pj.y) || (p.y >= pj.y && p.y < pi.y)) {
      const double x = pi.x + static_cast<double>(p.y - pi.y) * (pj.x - pi.x) / static_cast<double>(pj.y - pi.y);
      if (p.x < x) inside = !inside;
    }
  }
  return inside;
}

bool PointInVerticalTriangle(Point p, int x0, int x1, int baseY, int apexY) {
  return PointInPolygon(p, {{x0, baseY}, {(x0 + x1) / 2, apexY}, {x1, baseY}});
}

bool PointInHorizontalTriangle(Point p, int y0, int y1, int apexX, int baseX) {
  return PointInPolygon(p, {{baseX, y0}, {apexX, (y0 + y1) / 2}, {baseX, y1}});
}

bool PointInEllipse(Point p, const Rect& rect) {
  const int cx = (rect.left + rect.right) / 2;
  const int cy = (rect.top + rect.bottom) / 2;
  const double rx2 = static_cast<double>(cx - rect.left) * (cx - rect.left);
  const double ry2 = static_cast<double>(cy - rect.top) * (cy - rect.top);
  if (rx2 == 0 || ry2 == 0) return false;
  const double dx = p.x - cx, dy = p.y - cy;
  return dx * dx / rx2 + dy * dy / ry2 <= 1;
}

}  // namespace hit_test

}  // namespace plot
