#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "plot/surface/chart_pen.h"
#include "plot/chart/chart_control.h"
#include "plot/chart/chart_value_list.h"

namespace plot {

class TCustomAxisPanel;
class TCustomChartAxis;
class TSeriesMarks;
struct TSeriesMarkPosition;

enum THorizAxis { aTopAxis, aBottomAxis, aBothHorizAxis, aCustomHorizAxis };
enum TVertAxis { aLeftAxis, aRightAxis, aBothVertAxis, aCustomVertAxis };

/// What a data-source series tells its dependents.
enum TChartSeriesChange { ChangeCleared, ChangeAdded, ChangeDeleted, ChangeModified, ChangeRefreshed };

/// `RecalcOptions` bits: which changes of a data source a series follows.
inline constexpr unsigned rOnDelete = 1;
inline constexpr unsigned rOnModify = 2;
inline constexpr unsigned rOnInsert = 4;
inline constexpr unsigned rOnClear = 8;

/// A calculation that rebuilds a series from its data sources (the
/// calculated series). The series owns it and tells it who it belongs to.
class TSeriesFunction {
 public:
  virtual ~TSeriesFunction() = default;
  /// Replaces the series' points by the ones computed from its sources.
  virtual void Recalculate(TChartSeries& series) = 0;
  /// The series that owns this function; null before it is set on one.
  TChartSeries* ParentSeries() const { return parentSeries_; }

 private:
  friend class TChartSeries;
  TChartSeries* parentSeries_ = nullptr;
};

/// The abstract unit of data of a chart: points with X, Y, an optional
/// label and colour, kept with X ascending. It caches statistics for the
/// axes, resolves point colours, finds the points inside the axis range,
/// builds mark texts and asks its chart to repaint after every change.
/// Kinds override DrawValue and the other hooks.
class TChartSeries {
 public:
  TChartSeries();
  virtual ~TChartSeries();
  TChartSeries(const TChartSeries&) = delete;
  TChartSeries& operator=(const TChartSeries&) = delete;

  // ---- identity and state
  const std::string& Name() const { return name_; }
  void SetName(const std::string& value) { name_ = value; }
  TChartValueList& XValues() { return *xValues_; }
  const TChartValueList& XValues() const { return *xValues_; }
  TChartValueList& YValues() { return *yValues_; }
  const TChartValueList& YValues() const { return *yValues_; }
  /// Index 0 XValues, 1 YValues, then the lists of kinds with more.
  const std::vector<TChartValueList*>& ValueLists() const { return valueLists_; }
  TSeriesMarks& Marks() { return *marks_; }
  const TSeriesMarks& Marks() const { return *marks_; }

  bool Active() const { return active_; }
  virtual void SetActive(bool value);
  Color SeriesColor() const { return seriesColor_; }
  virtual void SetSeriesColor(Color value);
  bool ColorEachPoint() const { return colorEachPoint_; }
  virtual void SetColorEachPoint(bool value);
  bool ShowInLegend() const { return showInLegend_; }
  void SetShowInLegend(bool value);
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& value);
  const std::string& ValueFormat() const { return valueFormat_; }
  void SetValueFormat(const std::string& value);
  const std::string& PercentFormat() const { return percentFormat_; }
  void SetPercentFormat(const std::string& value);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value) { cursor_ = value; }
  THorizAxis HorizAxis() const { return horizAxis_; }
  void SetHorizAxis(THorizAxis value);
  TVertAxis VertAxis() const { return vertAxis_; }
  void SetVertAxis(TVertAxis value);
  TCustomChartAxis* CustomHorizAxis() const { return customHorizAxis_; }
  void SetCustomHorizAxis(TCustomChartAxis* axis);
  TCustomChartAxis* CustomVertAxis() const { return customVertAxis_; }
  void SetCustomVertAxis(TCustomChartAxis* axis);
  TCustomAxisPanel* ParentChart() const { return parentChart_; }
  /// Leaves the old chart and joins the new one (which adds the series).
  virtual void SetParentChart(TCustomAxisPanel* chart);
  int FirstVisibleIndex() const { return firstVisible_; }
  int LastVisibleIndex() const { return lastVisible_; }
  bool LimitToVisibleRange() const { return limitToVisibleRange_; }
  void SetLimitToVisibleRange(bool value) { limitToVisibleRange_ = value; }
  bool ExtendPastVisibleRange() const { return extendPastVisibleRange_; }
  void SetExtendPastVisibleRange(bool value) { extendPastVisibleRange_ = value; }
  unsigned RecalcOptions() const { return recalcOptions_; }
  void SetRecalcOptions(unsigned value) { recalcOptions_ = value; }
  const std::string& ColorSource() const { return colorSource_; }
  void SetColorSource(const std::string& value);
  const std::string& XLabelsSource() const { return xLabelsSource_; }
  void SetXLabelsSource(const std::string& value);
  const std::string& Identifier() const { return identifier_; }
  void SetIdentifier(const std::string& value) { identifier_ = value; }
  unsigned Style() const { return style_; }
  void SetStyle(unsigned value) { style_ = value; }
  /// Explicit 3D depth slot; -1 automatic.
  int ZOrder() const { return zOrder_; }
  void SetZOrder(int value);

  // ---- 3D depth of the current paint
  int ComputedZOrder() const { return computedZ_; }
  void SetComputedZOrder(int value) { computedZ_ = value; }
  int StartZ() const { return startZ_; }
  int MiddleZ() const { return middleZ_; }
  int EndZ() const { return endZ_; }
  void SetDepthPositions(int start, int middle, int end);

  // ---- points
  int PointCount() const { return xValues_->ValueCount(); }
  int Count() const { return PointCount(); }
  virtual int AddPointXY(double x, double y, const std::string& label = {}, Color color = clAutoColor);
  virtual int AddPoint(double value, const std::string& label = {}, Color color = clAutoColor);
  int AddPointY(double y, const std::string& label = {}, Color color = clAutoColor);
  int AddPointX(double x, const std::string& label = {}, Color color = clAutoColor);
  virtual int AddNullPoint(const std::string& label = {});
  virtual int AddNullPointXY(double x, double y, const std::string& label = {});
  virtual void DeletePoint(int index);
  virtual void ClearPoints();
  virtual double XValueAt(int index) const { return xValues_->ValueAt(index); }
  virtual double YValueAt(int index) const { return yValues_->ValueAt(index); }
  /// Overwrite one coordinate without re-ordering; repaints.
  void SetXValueAt(int index, double value);
  void SetYValueAt(int index, double value);
  virtual Color PointColor(int index) const;
  void SetPointColor(int index, Color color);
  /// False while every point is drawn in the series colour (no point has a
  /// colour of its own and ColorEachPoint is off), so that dense drawing
  /// need not ask point by point. A kind that overrides PointColor
  /// overrides this too.
  virtual bool PointColorsVary() const { return colorEachPoint_ || !colors_.empty(); }
  /// Whether point `index` was stored with the colour clNone (a null point);
  /// cheap enough for a pass over every point.
  bool IsNullPoint(int index) const {
    return index >= 0 && static_cast<std::size_t>(index) < colors_.size() &&
           colors_[static_cast<std::size_t>(index)] == clNone;
  }
  virtual std::string PointLabel(int index) const;
  void SetPointLabel(int index, const std::string& label);
  /// Length of the label sequence (entries may be absent).
  int LabelCount() const { return labelCount_; }
  /// Whether the first label entry is present.
  bool HasPointLabels() const { return labelCount_ > 0 && !labels_.empty() && !labels_[0].empty(); }
  /// Changes with every change of points or labels; caches key on it.
  unsigned Revision() const { return revision_; }

  /// Exchanges two points in every list, the colours and the labels.
  virtual void SwapPoints(int a, int b);
  virtual TChartValueList& MandatoryValueList() { return *yValues_; }
  const TChartValueList& MandatoryValueList() const { return const_cast<TChartSeries*>(this)->MandatoryValueList(); }
  bool ValuesAreVertical() const { return &MandatoryValueList() == yValues_.get(); }
  /// Pending values of the lists after the first two go in at `index`.
  void AddExtraValues(int index);
  /// Case-insensitive among the lists after the first two; YValues if none.
  TChartValueList& ValueListByName(const std::string& name);

  // ---- marks and legend texts
  virtual double MarkValue(int index) const { return MandatoryValueList().ValueAt(index); }
  double OriginValue(int index) const { return MarkValue(index); }
  std::string MarkText(int index);
  std::string MarkPercent(int index, bool withTotal) const;
  /// The point's legend text (label with value or percent by the legend's
  /// text style).
  virtual std::string LegendString(int index, int textStyle) const;
  virtual int LegendItemCount() const { return PointCount(); }
  virtual int LegendToValueIndex(int row) const { return row; }
  virtual Color LegendItemColor(int index) const { return PointColor(index); }
  /// The series' symbol in a legend row: the colour box (index -1 = the
  /// series row).
  virtual void DrawLegendSymbol(int index, const Rect& rect);
  virtual void DrawLegendShape(int index, const Rect& rect);
  virtual void PrepareLegendCanvas(int /*index*/, Color& /*background*/, platform::BrushStyle& /*style*/) {}

  // ---- axes
  TCustomChartAxis* GetHorizAxis() const { return resolvedHoriz_; }
  TCustomChartAxis* GetVertAxis() const { return resolvedVert_; }
  /// Re-resolves GetHorizAxis and GetVertAxis from the choice and chart.
  void RecalcGetAxis();
  virtual bool UsesAxis(const TCustomChartAxis* axis) const;
  virtual bool UseAxis() const { return true; }
  virtual int CalcXPos(int index) const;
  virtual int CalcYPos(int index) const;
  virtual double MaxXValue() const { return xValues_->HighestValue(); }
  virtual double MinXValue() const { return xValues_->LowestValue(); }
  virtual double MaxYValue() const { return yValues_->HighestValue(); }
  virtual double MinYValue() const { return yValues_->LowestValue(); }
  virtual double MaxZValue() const { return computedZ_; }
  virtual double MinZValue() const { return computedZ_; }
  virtual bool HasZValues() const { return false; }
  virtual void HorizMargins(int& left, int& right) { left = right = 0; }
  virtual void VertMargins(int& top, int& bottom) { top = bottom = 0; }

  // ---- drawing (called by the chart's paint)
  /// First and last point inside the axis range; -1 when none.
  void ComputeVisibleRange();
  virtual void DrawAllValues();
  virtual void DrawValue(int /*index*/) {}
  virtual bool DrawValuesForward() const { return true; }
  virtual bool DrawSeriesForward(int /*valueIndex*/) const { return true; }
  virtual void BeforeChartDraw() {}
  virtual void DoBeforeDrawValues();
  virtual void DoAfterDrawValues();
  /// Places one mark and draws it in the point's colour; kinds that lift
  /// or shift their marks override it.
  virtual void DrawMark(int index, const std::string& text, TSeriesMarkPosition& position);
  /// Draws the marks of the visible points.
  virtual void DrawAllMarks();
  /// 3D: the depth slot (an explicit ZOrder or the next free index).
  virtual void CalcZOrder();
  /// 3D: another active series has the same depth.
  bool MoreSameZOrder() const;

  // ---- mouse
  virtual int ClickedPoint(int /*x*/, int /*y*/) { return -1; }
  /// Offers a click on a point to OnDblClick or OnClick; True when consumed.
  bool DispatchClick(int valueIndex, TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMoveHook(TShiftState /*shift*/, int /*x*/, int /*y*/) {}
  virtual void MouseUpHook(TMouseButton /*button*/, TShiftState /*shift*/, int /*x*/, int /*y*/) {}

  // ---- data sources
  TChartSeries* DataSource() const { return dataSources_.empty() ? nullptr : dataSources_.front(); }
  /// Links a source series, or unlinks all with null. ChartException for
  /// no chart, the series itself, or a dependency cycle.
  void SetDataSource(TChartSeries* source);
  /// Adds another source (the "DataSources" list); a series with a
  /// function recalculates. ChartException for a dependency cycle.
  void AddDataSource(TChartSeries* source);
  const std::vector<TChartSeries*>& DataSources() const { return dataSources_; }
  const std::vector<TChartSeries*>& Dependents() const { return dependents_; }
  void NotifyDependents(TChartSeriesChange change, int index = -1);
  virtual bool IsSourceAcceptable(const TChartSeries* source) const { return source != this; }
  virtual bool IsValidSourceOf(const TChartSeries* /*target*/) const { return true; }
  virtual int CopyPointFrom(TChartSeries& source, int index);
  virtual int AddPointFrom(TChartSeries& source, int index);
  virtual void RefreshFromSource(TChartSeries& source);
  TSeriesFunction* Function() const { return function_.get(); }
  void SetFunction(std::unique_ptr<TSeriesFunction> function);
  /// Unlinks every source (dropping this series from their dependents).
  void UnlinkSources();

  // ---- other operations
  /// Design-time sample points; std::invalid_argument for count <= 0.
  virtual void FillSampleValues(int count);
  virtual int NumSampleValues() const { return 26; }
  /// Readies the series to stand for its kind in the gallery: four sample
  /// points, marks hidden, ColorEachPoint off and, unless `enabled`, silver.
  virtual void PrepareForGallery(bool enabled);
  /// Sum of the origin values at `index` of the compatible active series
  /// before this one (or of all of them, this one included).
  virtual double SumOfOrigins(int index, bool includeSelf) const;
  /// Same kind: either class derives from the other's.
  virtual bool SameKindAs(const TChartSeries& other) const;
  /// Whether `other` is of this series' class or derives from it. The base
  /// compares exact classes; kinds with subclasses override it with a
  /// dynamic_cast to their own class.
  virtual bool SameClassOrBase(const TChartSeries& other) const;
  /// If the series has a chart, invalidates it.
  void RequestRepaint();
  /// A chart pen whose changes repaint this series' chart.
  std::unique_ptr<TChartPen> CreateChartPen();
  /// Pointer hooks for chart-level events.
  virtual void ClearAllLists();

  // ---- events
  std::function<bool(TChartSeries& sender)> OnBeforeAdd;
  std::function<void(TChartSeries& sender, int valueIndex)> OnAfterAdd;
  std::function<void(TChartSeries& sender)> OnClearValues;
  std::function<void(TChartSeries& sender, int valueIndex, TMouseButton button, TShiftState shift, int x, int y)>
      OnClick;
  std::function<void(TChartSeries& sender, int valueIndex, TMouseButton button, TShiftState shift, int x, int y)>
      OnDblClick;
  std::function<void(TChartSeries& sender, int valueIndex, std::string& markText)> OnGetMarkText;
  std::function<void(TChartSeries& sender)> BeforeDrawValues;
  std::function<void(TChartSeries& sender)> AfterDrawValues;

 protected:
  // Registration of a further value list (kinds with more coordinates).
  friend class TChartValueList;
  void RegisterValueList(TChartValueList* list) { valueLists_.push_back(list); }
  /// A kind whose own value lists die before this base must drop them
  /// first, or the base's destructor would clear freed lists.
  void UnregisterValueList(TChartValueList* list);
  /// Chart-side bookkeeping without re-adding (used by the chart).
  friend class TCustomAxisPanel;
  void AddedValue(int index);
  void Touch() { ++revision_; }
  void InsertLabel(int index, const std::string& label);
  /// Sample points: `add` adds them with the chart's repaints held, then
  /// dependents hear of the change and the series repaints once.
  void AddSampleValues(const std::function<void()>& add);
  /// Where sample points start: today (in whole days) when X holds dates,
  /// else 0.
  double SampleStartX() const;

 private:
  bool DependsOn(const TChartSeries* other) const;
  // The colour stored for a point: clAutoColor when it has none of its own.
  Color StoredColor(int index) const {
    return static_cast<std::size_t>(index) < colors_.size() ? colors_[static_cast<std::size_t>(index)] : clAutoColor;
  }
  void InsertColor(int index, Color color);

  std::string name_;
  std::vector<TChartValueList*> valueLists_;
  std::unique_ptr<TChartValueList> xValues_;
  std::unique_ptr<TChartValueList> yValues_;
  std::vector<Color> colors_;
  // Labels are stored only up to the last present one; labelCount_ is the
  // length of the label sequence, so absent trailing labels cost nothing.
  std::vector<std::string> labels_;
  int labelCount_ = 0;
  std::unique_ptr<TSeriesMarks> marks_;
  bool active_ = true;
  Color seriesColor_ = clAutoColor;
  bool colorEachPoint_ = false;
  bool showInLegend_ = true;
  std::string title_;
  std::string valueFormat_ = "#,##0.###";
  std::string percentFormat_ = "##0.## %";
  TCursor cursor_ = crDefault;
  THorizAxis horizAxis_ = aBottomAxis;
  TVertAxis vertAxis_ = aLeftAxis;
  TCustomChartAxis* customHorizAxis_ = nullptr;
  TCustomChartAxis* customVertAxis_ = nullptr;
  TCustomChartAxis* resolvedHoriz_ = nullptr;
  TCustomChartAxis* resolvedVert_ = nullptr;
  TCustomAxisPanel* parentChart_ = nullptr;
  int firstVisible_ = -1, lastVisible_ = -1;
  bool limitToVisibleRange_ = true;
  bool extendPastVisibleRange_ = false;
  unsigned recalcOptions_ = rOnDelete | rOnModify | rOnInsert | rOnClear;
  std::vector<TChartSeries*> dataSources_;
  std::vector<TChartSeries*> dependents_;
  std::unique_ptr<TSeriesFunction> function_;
  std::string colorSource_, xLabelsSource_, identifier_;
  unsigned style_ = 0;
  int zOrder_ = -1;
  int computedZ_ = 0;
  int startZ_ = 0, middleZ_ = 0, endZ_ = 0;
  unsigned revision_ = 0;
  bool destroying_ = false;
  // Set while a function rebuilds the points: dependents hear one refresh
  // at the end instead of every point.
  bool recalculating_ = false;
};

/// Hit-test geometry shared by the series kinds (integer pixels).
namespace hit_test {
/// Whether p lies on the segment a-b, within `tolerance` beyond its ends.
bool PointInLine(Point p, Point a, Point b, int tolerance = 0);
/// Even-odd rule over points[0 .. n].
bool PointInPolygon(Point p, const std::vector<Point>& points);
bool PointInVerticalTriangle(Point p, int x0, int x1, int baseY, int apexY);
bool PointInHorizontalTriangle(Point p, int y0, int y1, int apexX, int baseX);
bool PointInEllipse(Point p, const Rect& rect);
}  // namespace hit_test

}  // namespace plot
