#pragma once

#include <memory>
#include <string>

#include "plot/surface/plot_canvas_3d.h"
#include "plot/surface/view3d_options.h"
#include "plot/chart/chart_control.h"

namespace plot {

class TFont;

/// A mouse drag in progress: where it started and where the pointer was
/// last seen.
struct TZoomPanningRecord {
  bool Active = false;
  int X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;

  /// Starts a drag at (x, y).
  void Activate(int x, int y);
  /// Orders the corners so that X0 <= X1 and Y0 <= Y1.
  void Check();
};

/// The control a chart lives on: margins, the 3D switch and the drawing
/// surface through which every pixel is drawn. It decides when a paint
/// happens, computes the bounds and plotting rectangles every paint starts
/// from, and renders the same picture onto other canvases. What the
/// picture holds is the job of InternalDraw in the chart classes.
class TCustomPlotPanel : public TCustomPanel {
 public:
  TCustomPlotPanel();
  ~TCustomPlotPanel() override;

  /// Percent of the bounds width (left, right) or height (top, bottom) left
  /// free around the plotting rectangle.
  int MarginLeft() const { return marginLeft_; }
  void SetMarginLeft(int value);
  int MarginTop() const { return marginTop_; }
  void SetMarginTop(int value);
  int MarginRight() const { return marginRight_; }
  void SetMarginRight(int value);
  int MarginBottom() const { return marginBottom_; }
  void SetMarginBottom(int value);

  bool View3D() const { return view3D_; }
  void SetView3D(bool value);
  TView3DOptions& View3DOptions() { return *view3DOptions_; }
  const TView3DOptions& View3DOptions() const { return *view3DOptions_; }
  /// Depth of the 3D effect, 1 .. 100; anything else raises ChartException
  /// and keeps the old value.
  int Chart3DPercent() const { return chart3DPercent_; }
  void SetChart3DPercent(int value);
  /// The drawing surface's monochrome back buffer.
  bool Monochrome() const { return canvas_->GetMonochromeBuffer(); }
  void SetMonochrome(bool value) { canvas_->SetMonochromeBuffer(value); }

  bool PrintProportional() const { return printProportional_; }
  void SetPrintProportional(bool value);
  /// Page margins in percent (left, top, right, bottom).
  const Rect& PageMargins() const { return pageMargins_; }
  void SetPageMargins(const Rect& value);
  int PrintDetail() const { return printDetail_; }
  void SetPrintDetail(int value);
  /// Set while a printer or preview paint runs.
  bool PrintingNow() const { return printingNow_; }
  void SetPrintingNow(bool value) { printingNow_ = value; }

  /// While off, invalidation is ignored (off during construction).
  bool AutoRepaint() const { return autoRepaint_; }
  void SetAutoRepaint(bool value) { autoRepaint_ = value; }
  /// Series are stacked in depth in 3D.
  bool DepthStacking() const { return depthStacking_; }
  void SetDepthStacking(bool value) { depthStacking_ = value; }
  TZoomPanningRecord& ZoomRecord() { return zoom_; }
  TZoomPanningRecord& PanningRecord() { return panning_; }
  /// The cursor restored when the pointer leaves a series or the control.
  TCursor SavedCursor() const { return savedCursor_; }
  void SetSavedCursor(TCursor value) { savedCursor_ = value; }

  /// The drawing surface.
  TPlotCanvas3D& Canvas() { return *canvas_; }
  /// The canvas of the current paint.
  platform::DeviceCanvas* OutputCanvas() const { return outputCanvas_; }
  void SetControlCanvas(platform::DeviceCanvas* canvas) override;

  /// Rectangles of the current paint: the bounds, and the plotting
  /// rectangle that titles, legend, 3D offset and axes shrink.
  const Rect& ChartBounds() const { return chartBounds_; }
  const Rect& ChartRect() const { return chartRect_; }
  void SetChartRect(const Rect& value) { chartRect_ = value; }
  int ChartWidth() const { return chartWidth_; }
  int ChartHeight() const { return chartHeight_; }
  int ChartXCenter() const { return chartXCenter_; }
  int ChartYCenter() const { return chartYCenter_; }
  /// Repairs a degenerate plotting rectangle and recomputes its width,
  /// height and centre.
  void RecalcWidthHeight();

  // Overridable operations, in the order the chart classes extend them.
  void Paint() override;
  /// Draws the chart within the bounds rectangle.
  virtual void InternalDraw(const Rect& bounds) = 0;
  virtual void BackImageChanged() { Invalidate(); }
  /// Renders the whole chart onto any canvas within the rectangle.
  virtual void Draw(platform::DeviceCanvas& canvas, const Rect& rect);
  virtual void DrawPanelBevels(const Rect& rect);
  /// Copies a font onto the surface at the same point size.
  virtual void AssignFont(const TFont& font);
  /// The rectangle copies and printing render into.
  virtual Rect GetRectangle() const { return ClientRect(); }

  /// Marks the back buffer stale and asks the host for a paint.
  void Invalidate() override;
  /// The pointer left: saved cursor back, panning ends.
  void MouseLeave() override;

  /// Width of the widest line of a text split at carriage returns (13), and
  /// the number of lines; an empty remainder after the last one is no line.
  int MultiLineTextWidth(const std::string& text, int& numLines);
  /// A brush for walls and series: a hatch in the background colour turns
  /// black (white on black), and hatches get an opaque background.
  void SetBrushCanvas(plot::Color color, platform::BrushStyle style, plot::Color background);
  /// Whether drawing may be clipped now (printing and metafile switches).
  bool CanClip() const;
  /// While printing, a styled pen of width 1 becomes the device's thinnest.
  void CheckPenWidth(platform::Pen& pen) const;

  /// The chart rendered into a new bitmap of `rect`'s size, filled first
  /// with `background` unless that is white; null without a control canvas.
  std::unique_ptr<platform::Bitmap> CreateChartBitmap(plot::Color background, const Rect& rect);
  /// The chart rendered into a new metafile one pixel smaller each way (at
  /// least 1 x 1); null without a control canvas.
  std::unique_ptr<platform::Metafile> CreateChartMetafile(bool enhanced, const Rect& rect);
  bool SaveToBitmapFile(const std::string& path);
  bool SaveToMetafile(const std::string& path);
  bool SaveToMetafileEnh(const std::string& path);
  void CopyToClipboardBitmap();
  void CopyToClipboardMetafile(bool enhanced);

  /// Copies buffering, print settings, margins, Monochrome, View3D,
  /// View3DOptions, Chart3DPercent and Color.
  virtual void Assign(const TCustomPlotPanel& source);

 private:
  std::unique_ptr<TView3DOptions> view3DOptions_;
  std::unique_ptr<TPlotCanvas3D> canvas_;
  int marginLeft_ = 3, marginTop_ = 4, marginRight_ = 3, marginBottom_ = 4;
  bool view3D_ = true;
  int chart3DPercent_ = 15;
  bool printProportional_ = true;
  Rect pageMargins_{15, 15, 15, 15};
  int printDetail_ = 0;
  bool printingNow_ = false;
  bool autoRepaint_ = false;
  bool depthStacking_ = true;
  TZoomPanningRecord zoom_;
  TZoomPanningRecord panning_;
  TCursor savedCursor_ = crDefault;
  platform::DeviceCanvas* outputCanvas_ = nullptr;
  Rect chartBounds_;
  Rect chartRect_;
  int chartWidth_ = 0, chartHeight_ = 0, chartXCenter_ = 0, chartYCenter_ = 0;
};

}  // namespace plot
