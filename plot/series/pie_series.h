#pragma once

#include <memory>
#include <string>
#include <vector>

#include "plot/chart/chart_series.h"

namespace plot {

/// Values as the slices of a circle, or in 3D of a disc seen from above.
///
/// - Slice i takes |value i| of the total of all values in absolute terms
///   (null points and values that are not numbers take none). The first
///   slice starts at 12 o'clock turned clockwise by `RotationAngle`
///   degrees; the slices follow clockwise in point order.
/// - Each slice has its point's colour: `ColorEachPoint` is on, so slices
///   without a colour of their own take the palette by index; `PiePen`
///   outlines them. The legend lists the slices.
/// - The pie fills the plotting rectangle, centred, less room for the marks
///   (shown by default, outside the rim at each slice's middle) and for the
///   exploded slices. `Circled` keeps it round; off, it fills the rectangle
///   as an ellipse.
/// - A slice exploded by p percent (`SetExplodedSlice`, or the biggest by
///   `ExplodeBiggest`) moves out along its middle by p % of the radius.
/// - In 3D the top of the disc is an ellipse 0.6 times as high as wide and
///   the disc is `Chart3DPercent` % of the radius thick; the rim shows below
///   the front slices, darker with `Dark3D`. It lies at the series' middle
///   depth and follows the chart's 3D view.
/// - The pie uses no axes: a chart of pies only has no axes and no walls.
/// - `Clicked` gives the slice under the pixel (top or rim), else -1.
class TPieSeries : public TChartSeries {
 public:
  TPieSeries();
  ~TPieSeries() override;

  TChartValueList& PieValues() { return YValues(); }
  /// A slice of `value`; the same as AddPoint.
  int AddPie(double value, const std::string& label = {}, Color color = clAutoColor);

  bool Circled() const { return circled_; }
  void SetCircled(bool value);
  /// Degrees clockwise from 12 o'clock where the first slice starts; any
  /// value is taken modulo 360.
  int RotationAngle() const { return rotationAngle_; }
  void SetRotationAngle(int value);
  /// Percent of the radius a slice is moved out by; ChartException outside
  /// 0 .. 100.
  int ExplodedSlice(int index) const;
  void SetExplodedSlice(int index, int percent);
  /// The biggest slice is moved out by this percent (0 .. 100).
  int ExplodeBiggest() const { return explodeBiggest_; }
  void SetExplodeBiggest(int percent);
  TChartPen& PiePen() { return *piePen_; }
  const TChartPen& PiePen() const { return *piePen_; }
  bool Dark3D() const { return dark3D_; }
  void SetDark3D(bool value);

  /// Where slice `index` starts and ends, in degrees clockwise from 12
  /// o'clock (end >= start; equal for an empty slice).
  double SliceStartAngle(int index) const;
  double SliceEndAngle(int index) const;

  /// The layout of the last paint: centre of the pie's top, radii, and the
  /// disc's thickness (0 in 2D), in chart coordinates.
  struct TPieLayout {
    int centerX = 0, centerY = 0;
    int radiusX = 0, radiusY = 0;
    int thickness = 0;
  };
  const TPieLayout& Layout() const { return layout_; }
  /// The centre of slice `index` after exploding.
  Point SliceCenter(int index) const;

  // ---- chart interface
  bool UseAxis() const override { return false; }
  /// The point on the rim in the middle of the slice (where its mark's
  /// arrow starts).
  int CalcXPos(int index) const override;
  int CalcYPos(int index) const override;
  void DrawAllValues() override;
  /// One whole slice (when the pipeline interleaves series of one depth).
  void DrawValue(int index) override;
  int ClickedPoint(int x, int y) override;
  void DrawMark(int index, const std::string& text, TSeriesMarkPosition& position) override;
  int NumSampleValues() const override { return 8; }
  /// Slices keep their colours when the gallery item is enabled.
  void PrepareForGallery(bool enabled) override;
  void DeletePoint(int index) override;
  void ClearAllLists() override;
  void SwapPoints(int a, int b) override;
  bool SameClassOrBase(const TChartSeries& other) const override;

 private:
  struct Slice {
    double start = 0, sweep = 0;  // degrees clockwise from 12 o'clock
    int explode = 0;              // percent of the radius
  };
  std::vector<Slice> Slices() const;
  // Lays the pie out in the plotting rectangle for this paint.
  void CalcLayout();
  // The point at `bearing` degrees on the ellipse of the given radii.
  static Point OnEllipse(Point centre, int rx, int ry, double bearing);
  Point SliceCenter(const Slice& slice) const;
  bool Is3D() const;
  Point Project(Point p) const;
  void PrepareSliceCanvas(Color color);
  void DrawFlatSlice(int index, const Slice& slice, Color color);
  // 3D: the sides of the slices (radial walls, then rims), then their tops.
  void DrawDisc(const std::vector<int>& indices);
  std::vector<Point> ArcPoints(Point centre, double from, double sweep) const;
  void PolygonProjected(const std::vector<Point>& points);

  bool circled_ = true;
  int rotationAngle_ = 0;
  int explodeBiggest_ = 0;
  std::vector<int> explode_;
  std::unique_ptr<TChartPen> piePen_;
  bool dark3D_ = true;
  TPieLayout layout_;
};

}  // namespace plot
