#pragma once

#include <functional>
#include <memory>

#include "plot/chart/chart_control.h"
#include "plot/chart/custom_plot_panel.h"
#include "platform/printer.h"

namespace plot {

/// Cursors of the preview page's drag codes (the hand is the program's own).
inline constexpr TCursor crHSplit = -14;
inline constexpr TCursor crVSplit = -15;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crPreviewHand = 2020;

/// The print preview's page: the paper in the printer's proportions with the
/// chart placed inside its margins, drawn off screen and copied. The mouse
/// drags the chart's edges and corners, or moves it, and the chart's
/// PageMargins follow.
class TPlotPreviewPage : public TCustomPanel {
 public:
  static constexpr int kTolerance = 4;

  explicit TPlotPreviewPage(platform::Printer& printer);

  TCustomPlotPanel* Image() const { return image_; }
  void SetImage(TCustomPlotPanel* image);
  bool AllowResize() const { return allowResize_; }
  void SetAllowResize(bool value) { allowResize_ = value; }
  bool AllowMove() const { return allowMove_; }
  void SetAllowMove(bool value) { allowMove_ = value; }
  bool AsBitmap() const { return asBitmap_; }
  void SetAsBitmap(bool value) { asBitmap_ = value; }
  bool DragImage() const { return dragImage_; }
  void SetDragImage(bool value) { dragImage_ = value; }
  plot::Color PaperColor() const { return paperColor_; }
  void SetPaperColor(plot::Color value);
  bool ShowImage() const { return showImage_; }
  void SetShowImage(bool value) { showImage_ = value; }
  bool ShowMargins() const { return showMargins_; }
  void SetShowMargins(bool value);

  /// After the mouse changed the margins: the page, whether it was a drag,
  /// and the new margins.
  std::function<void(TPlotPreviewPage& page, bool dragged, const Rect& margins)> OnChangeMargins;

  /// Paper and chart rectangles for the control's current size.
  void CalcRects();
  const Rect& PaperRect() const { return paper_; }
  const Rect& ChartRect() const { return chart_; }
  /// The drag code (0..9) of a point, as a press there would start.
  int DragCodeAt(int x, int y) const;
  int DragCode() const { return dragCode_; }
  static TCursor CursorOfCode(int code);

  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

  /// The dotted margin lines in not-xor mode: drawing them twice erases them.
  void DrawMarginLines(platform::DeviceCanvas& canvas);
  /// The chart as a bitmap of the chart rectangle's logical size, drawn as
  /// for printing (PrintingNow set), filled with PaperColor unless white.
  std::unique_ptr<platform::Bitmap> ChartBitmap();
  /// The same as a metafile (the page's picture unless AsBitmap): a
  /// recording of the chart's logical size that replays at any scale.
  std::unique_ptr<platform::Metafile> ChartMetafile();

 private:
  void PaintPage(platform::DeviceCanvas& canvas);
  void DragTo(int x, int y);
  void MarginsFromChartRect();

  platform::Printer& printer_;
  TCustomPlotPanel* image_ = nullptr;
  bool allowResize_ = true, allowMove_ = true, asBitmap_ = false, dragImage_ = false;
  bool showImage_ = true, showMargins_ = true;
  plot::Color paperColor_ = 0xFFFFFF;
  Rect paper_{}, chart_{};
  int dragCode_ = 0;
  int pressX_ = 0, pressY_ = 0;
  Rect pressChart_{};
};

}  // namespace plot
