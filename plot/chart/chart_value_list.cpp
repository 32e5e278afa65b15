#include "plot/chart/chart_value_list.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "plot/chart/axis_panel.h"
#include "plot/chart/chart_series.h"

namespace plot {

TChartValueList::TChartValueList(TChartSeries* owner, std::string name) : owner_(owner), name_(std::move(name)) {
  if (owner_ != nullptr) owner_->RegisterValueList(this);
}

void TChartValueList::SetMultiplier(double value) {
  if (multiplier_ == value) return;
  multiplier_ = value;
  MarkStale();
  if (owner_ != nullptr) {
    owner_->NotifyDependents(ChangeRefreshed);
    owner_->RequestRepaint();
  }
}

void TChartValueList::SetDateTime(bool value) {
  if (dateTime_ == value) return;
  dateTime_ = value;
  if (owner_ != nullptr) owner_->RequestRepaint();
}

void TChartValueList::SetValueSource(const std::string& value) {
  if (valueSource_ == value) return;
  valueSource_ = value;
  if (owner_ != nullptr && owner_->ParentChart() != nullptr) owner_->ParentChart()->CheckDataSource(*owner_);
}

// Keeps the "known ascending" flag honest after a value changed at index:
// only its two neighbours can break the order.
void TChartValueList::CheckAscendingAround(int index) {
  if (!ascending_) return;
  const std::size_t i = static_cast<std::size_t>(index);
  if (index > 0 && values_[i - 1] > values_[i]) ascending_ = false;
  if (i + 1 < values_.size() && values_[i] > values_[i + 1]) ascending_ = false;
}

void TChartValueList::SetValueAt(int index, double value) {
  values_[static_cast<std::size_t>(index)] = value;
  CheckAscendingAround(index);
  MarkStale();
  if (owner_ != nullptr) owner_->NotifyDependents(ChangeModified, index);
}

int TChartValueList::InsertOrdered(double value) {
  MarkStale();
  const int count = ValueCount();
  if (order_ == loNone || count == 0) {
    values_.push_back(value);
    CheckAscendingAround(count);
    return count;
  }
  int index;
  if (order_ == loAscending) {
    if (value >= values_.back()) {
      values_.push_back(value);
      return count;
    }
    // Equal values go after the ones already there.
    index = count - 1;
    while (index >= 0 && values_[static_cast<std::size_t>(index)] > value) --index;
  } else {
    if (value <= values_.back()) {
      values_.push_back(value);
      CheckAscendingAround(count);
      return count;
    }
    index = count - 1;
    while (index >= 0 && values_[static_cast<std::size_t>(index)] < value) --index;
  }
  ++index;
  values_.insert(values_.begin() + index, value);
  CheckAscendingAround(index);
  return index;
}

void TChartValueList::InsertAt(int index, double value) {
  values_.insert(values_.begin() + index, value);
  CheckAscendingAround(index);
  MarkStale();
}

void TChartValueList::RemoveAt(int index) {
  values_.erase(values_.begin() + index);
  MarkStale();
}

void TChartValueList::RemoveAllValues() {
  values_.clear();
  values_.shrink_to_fit();
  ascending_ = true;
  MarkStale();
}

int TChartValueList::FindValue(double value) const {
  for (int i = 0; i < ValueCount(); ++i) {
    if (ValueAt(i) == value) return i;
  }
  return -1;
}

void TChartValueList::Recalc() const {
  statsStale_ = false;
  if (values_.empty()) {
    lowest_ = highest_ = sum_ = absSum_ = 0;
    return;
  }
  double lowest = ValueAt(0);
  double highest = lowest;
  double sum = lowest;
  double absSum = std::fabs(lowest);
  const double m = multiplier_;
  const std::size_t n = values_.size();
  for (std::size_t i = 1; i < n; ++i) {
    const double v = values_[i] * m;
    if (v < lowest) {
      lowest = v;
    } else if (v > highest) {
      highest = v;
    }
    sum += v;
    absSum += std::fabs(v);
  }
  lowest_ = lowest;
  highest_ = highest;
  sum_ = sum;
  absSum_ = absSum;
}

double TChartValueList::LowestValue() const {
  if (statsStale_) Recalc();
  return lowest_;
}

double TChartValueList::HighestValue() const {
  if (statsStale_) Recalc();
  return highest_;
}

double TChartValueList::ValueSum() const {
  if (statsStale_) Recalc();
  return sum_;
}

double TChartValueList::AbsoluteValueSum() const {
  if (statsStale_) Recalc();
  return absSum_;
}

int TChartValueList::Compare(int a, int b) const {
  const double va = ValueAt(a), vb = ValueAt(b);
  const int result = va < vb ? -1 : (va > vb ? 1 : 0);
  return order_ == loDescending ? -result : result;
}

void TChartValueList::QuickSort(int low, int high) {
  int i = low, j = high;
  int pivot = (low + high) / 2;
  do {
    while (Compare(i, pivot) < 0) ++i;
    while (Compare(pivot, j) < 0) --j;
    if (i < j) {
      // Whole points move together, through the owner.
      if (owner_ != nullptr) {
        owner_->SwapPoints(i, j);
      } else {
        Exchange(i, j);
      }
      if (pivot == i) {
        pivot = j;
      } else if (pivot == j) {
        pivot = i;
      }
    }
    if (i <= j) {
      ++i;
      --j;
    }
  } while (i < j);
  if (low < j) QuickSort(low, j);
  if (i < high) QuickSort(i, high);
}

void TChartValueList::SortValues() {
  if (order_ == loNone || ValueCount() < 2) return;
  QuickSort(0, ValueCount() - 1);
  ascending_ = std::is_sorted(values_.begin(), values_.end());
  MarkStale();
}

void TChartValueList::NumberSequentially() {
  for (std::size_t i = 0; i < values_.size(); ++i) values_[i] = static_cast<double>(i);
  ascending_ = true;
  MarkStale();
}

void TChartValueList::RotateFirstToEnd() {
  if (values_.size() < 2) return;
  const double first = values_.front();
  values_.erase(values_.begin());
  values_.push_back(first);
  ascending_ = ascending_ && values_[values_.size() - 2] <= first;
  MarkStale();
}

void TChartValueList::Assign(const TChartValueList& source) {
  order_ = source.order_;
  SetDateTime(source.dateTime_);
  SetMultiplier(source.multiplier_);
  valueSource_ = source.valueSource_;
}

void TChartValueList::Exchange(int a, int b) {
  std::swap(values_[static_cast<std::size_t>(a)], values_[static_cast<std::size_t>(b)]);
  CheckAscendingAround(a);
  CheckAscendingAround(b);
  MarkStale();
}

}  // namespace plot
