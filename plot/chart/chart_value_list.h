#pragma once

#include <string>
#include <vector>

namespace plot {

class TChartSeries;

enum TChartListOrder { loNone, loAscending, loDescending };

/// One coordinate of all points of a series, in point order. Reads return
/// the stored value times `Multiplier`; minimum, maximum and sums are cached
/// and recomputed on the first read after a change.
class TChartValueList {
 public:
  /// Registers itself in the owner's value lists.
  TChartValueList(TChartSeries* owner, std::string name);
  TChartValueList(const TChartValueList&) = delete;
  TChartValueList& operator=(const TChartValueList&) = delete;

  TChartSeries* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  void SetName(const std::string& value) { name_ = value; }
  double Multiplier() const { return multiplier_; }
  void SetMultiplier(double value);
  bool DateTime() const { return dateTime_; }
  void SetDateTime(bool value);
  TChartListOrder Order() const { return order_; }
  /// Only stores: existing values are not re-sorted.
  void SetOrder(TChartListOrder value) { order_ = value; }
  const std::string& ValueSource() const { return valueSource_; }
  void SetValueSource(const std::string& value);
  double PendingValue() const { return pendingValue_; }
  void SetPendingValue(double value) { pendingValue_ = value; }

  int ValueCount() const { return static_cast<int>(values_.size()); }
  int Count() const { return ValueCount(); }
  double ValueAt(int index) const { return values_[static_cast<std::size_t>(index)] * multiplier_; }
  double operator[](int index) const { return ValueAt(index); }
  double LastValue() const { return ValueAt(ValueCount() - 1); }
  /// The stored values in point order (times Multiplier they are the
  /// values), for passes over many points.
  const double* Data() const { return values_.data(); }
  /// Overwrites without re-ordering and tells the owner's dependents.
  void SetValueAt(int index, double value);
  /// Places the value by `Order` (compared as stored); returns its index.
  int InsertOrdered(double value);
  void InsertAt(int index, double value);
  void RemoveAt(int index);
  /// Drops every value and releases the storage.
  void RemoveAllValues();
  /// First index whose value equals `value` exactly; -1 when none.
  int FindValue(double value) const;

  double LowestValue() const;
  double HighestValue() const;
  double ValueSum() const;
  double AbsoluteValueSum() const;
  bool StatsStale() const { return statsStale_; }

  /// Quicksort by `Order`, moving whole points through the owner.
  void SortValues();
  /// Value i := i.
  void NumberSequentially();
  /// The first value moves to the end.
  void RotateFirstToEnd();
  /// Copies Order, DateTime, Multiplier and ValueSource.
  void Assign(const TChartValueList& source);

  /// Exchanges two stored values (the owner's SwapPoints calls it).
  void Exchange(int a, int b);
  /// True while the stored values are known to be in ascending order, so
  /// range searches may bisect.
  bool KnownAscending() const { return ascending_; }

 private:
  void MarkStale() { statsStale_ = true; }
  void Recalc() const;
  void CheckAscendingAround(int index);
  void QuickSort(int low, int high);
  int Compare(int a, int b) const;

  TChartSeries* owner_;
  std::string name_;
  std::vector<double> values_;
  double multiplier_ = 1.0;
  bool dateTime_ = false;
  TChartListOrder order_ = loNone;
  std::string valueSource_;
  double pendingValue_ = 0;
  bool ascending_ = true;
  mutable bool statsStale_ = true;
  mutable double lowest_ = 0, highest_ = 0, sum_ = 0, absSum_ = 0;
};

}  // namespace plot
