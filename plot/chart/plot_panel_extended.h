#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "plot/chart/custom_plot_panel.h"

namespace plot {

/// A gradient fill setting; every change repaints the owner.
class TCustomPlotGradient {
 public:
  explicit TCustomPlotGradient(std::function<void()> changed = {});
  virtual ~TCustomPlotGradient() = default;
  TCustomPlotGradient(const TCustomPlotGradient&) = delete;
  TCustomPlotGradient& operator=(const TCustomPlotGradient&) = delete;

  TGradientDirection Direction() const { return direction_; }
  void SetDirection(TGradientDirection value);
  plot::Color StartColor() const { return startColor_; }
  void SetStartColor(plot::Color value);
  plot::Color EndColor() const { return endColor_; }
  void SetEndColor(plot::Color value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);

  /// Copies the four values.
  void Assign(const TCustomPlotGradient& source);

 private:
  void Changed();
  std::function<void()> changed_;
  TGradientDirection direction_ = gdTopBottom;
  plot::Color startColor_ = clWhite;
  plot::Color endColor_ = clYellow;
  bool visible_ = false;
};

/// The panel's background gradient.
class TChartGradient : public TCustomPlotGradient {
 public:
  using TCustomPlotGradient::TCustomPlotGradient;
};

/// A picture holder: empty, or a shared platform bitmap. Any change is
/// announced through OnChange.
class TPicture {
 public:
  const platform::Bitmap* Graphic() const { return graphic_.get(); }
  void SetGraphic(std::shared_ptr<const platform::Bitmap> graphic);
  bool Empty() const { return !graphic_; }
  int Width() const;
  int Height() const;
  void Assign(const TPicture& source) { SetGraphic(source.graphic_); }

  std::function<void()> OnChange;

 private:
  std::shared_ptr<const platform::Bitmap> graphic_;
};

enum TPlotBackImageMode { pbmStretch, pbmTile, pbmCenter };
enum TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };

/// Adds to the panel the background gradient, the background picture and
/// the zoom and scroll settings.
class TCustomPlotPanelExtended : public TCustomPlotPanel {
 public:
  TCustomPlotPanelExtended();
  ~TCustomPlotPanelExtended() override;

  TChartGradient& Gradient() { return *gradient_; }
  TPicture& BackImage() { return *backImage_; }
  TPlotBackImageMode BackImageMode() const { return backImageMode_; }
  void SetBackImageMode(TPlotBackImageMode value);
  bool AllowZoom() const { return allowZoom_; }
  void SetAllowZoom(bool value) { allowZoom_ = value; }
  TPanningMode AllowPanning() const { return allowPanning_; }
  void SetAllowPanning(TPanningMode value) { allowPanning_ = value; }
  bool AnimatedZoom() const { return animatedZoom_; }
  void SetAnimatedZoom(bool value) { animatedZoom_ = value; }
  int AnimatedZoomSteps() const { return animatedZoomSteps_; }
  void SetAnimatedZoomSteps(int value) { animatedZoomSteps_ = value; }
  /// True after a zoom, False after an undo.
  bool Zoomed() const { return zoomed_; }
  void SetZoomed(bool value) { zoomed_ = value; }

  /// The background picture within the rectangle (outside the walls).
  virtual void DrawBackImage(const Rect& rect) { DrawBackImageAt(rect, std::nullopt); }
  /// Gradient, or the panel colour unless printing without background.
  virtual void FillPanelRect(const Rect& rect);
  /// The first step of every internal draw: background, picture, bevels.
  virtual void DrawPanel(const Rect& rect);
  /// Undoes a zoom; here only the event, a repaint and the zoomed flag.
  virtual void ResetZoom();

  /// The background picture in a rectangle, at a depth when given (then
  /// only in 2D or an orthogonal 3D view).
  void DrawBackImageAt(const Rect& rect, std::optional<int> depth);

  /// Also copies the picture, its mode, the gradient and zoom settings.
  void Assign(const TCustomPlotPanel& source) override;

  TNotifyEvent OnAfterDraw;
  TNotifyEvent OnZoom;
  TNotifyEvent OnUndoZoom;
  TNotifyEvent OnScroll;

 private:
  std::unique_ptr<TChartGradient> gradient_;
  std::unique_ptr<TPicture> backImage_;
  TPlotBackImageMode backImageMode_ = pbmStretch;
  bool allowZoom_ = true;
  TPanningMode allowPanning_ = pmBoth;
  bool animatedZoom_ = false;
  int animatedZoomSteps_ = 8;
  bool zoomed_ = false;
};

}  // namespace plot
