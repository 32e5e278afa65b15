#include "plot/chart/plot_panel_extended.h"

#include <utility>

#include "plot/chart/print_switches.h"

namespace plot {

TCustomPlotGradient::TCustomPlotGradient(std::function<void()> changed) : changed_(std::move(changed)) {}

void TCustomPlotGradient::Changed() {
  if (changed_) changed_();
}

void TCustomPlotGradient::SetDirection(TGradientDirection value) {
  if (direction_ == value) return;
  direction_ = value;
  Changed();
}

void TCustomPlotGradient::SetStartColor(plot::Color value) {
  if (startColor_ == value) return;
  startColor_ = value;
  Changed();
}

void TCustomPlotGradient::SetEndColor(plot::Color value) {
  if (endColor_ == value) return;
  endColor_ = value;
  Changed();
}

void TCustomPlotGradient::SetVisible(bool value) {
  if (visible_ == value) return;
  visible_ = value;
  Changed();
}

void TCustomPlotGradient::Assign(const TCustomPlotGradient& source) {
  SetDirection(source.direction_);
  SetStartColor(source.startColor_);
  SetEndColor(source.endColor_);
  SetVisible(source.visible_);
}

void TPicture::SetGraphic(std::shared_ptr<const platform::Bitmap> graphic) {
  graphic_ = std::move(graphic);
  if (OnChange) OnChange();
}

int TPicture::Width() const { return graphic_ ? graphic_->Width() : 0; }

int TPicture::Height() const { return graphic_ ? graphic_->Height() : 0; }

TCustomPlotPanelExtended::TCustomPlotPanelExtended()
    : gradient_(std::make_unique<TChartGradient>([this] { Invalidate(); })),
      backImage_(std::make_unique<TPicture>()) {
  backImage_->OnChange = [this] { BackImageChanged(); };
}

TCustomPlotPanelExtended::~TCustomPlotPanelExtended() = default;

void TCustomPlotPanelExtended::SetBackImageMode(TPlotBackImageMode value) {
  if (backImageMode_ == value) return;
  backImageMode_ = value;
  Invalidate();
}

void TCustomPlotPanelExtended::FillPanelRect(const Rect& rect) {
  if (gradient_->Visible()) {
    // The start colour goes first for top-bottom and left-right only; the
    // surface puts the first colour at the bottom or right edge.
    const TGradientDirection direction = gradient_->Direction();
    const bool startFirst = direction == gdTopBottom || direction == gdLeftRight;
    const plot::Color first = startFirst ? gradient_->StartColor() : gradient_->EndColor();
    const plot::Color second = startFirst ? gradient_->EndColor() : gradient_->StartColor();
    Canvas().FillGradient(rect, first, direction, second);
    return;
  }
  // A printed chart has no panel background unless asked for.
  if (PrintingNow() && !PrintPanelBackground()) return;
  Canvas().Brush().style = platform::BrushStyle::Solid;
  Canvas().Brush().bitmap.reset();
  Canvas().Brush().color = Color();
  Canvas().ClearRectangle(rect);
}

void TCustomPlotPanelExtended::DrawPanel(const Rect& rect) {
  FillPanelRect(rect);
  DrawBackImage(rect);
  if (PrintingNow() && !PrintPanelBackground()) return;
  platform::Pen& pen = Canvas().Pen();
  pen.style = platform::PenStyle::Solid;
  pen.width = 1;
  pen.mode = platform::PenMode::Copy;
  pen.alternate = false;
  Canvas().Brush().style = platform::BrushStyle::Clear;
  DrawPanelBevels(rect);
}

void TCustomPlotPanelExtended::ResetZoom() {
  if (OnUndoZoom) OnUndoZoom(*this);
  Invalidate();
  zoomed_ = false;
}

void TCustomPlotPanelExtended::DrawBackImageAt(const Rect& rect, std::optional<int> depth) {
  const platform::Bitmap* graphic = backImage_->Graphic();
  if (graphic == nullptr) return;
  // A picture cannot lie on a rotated wall.
  if (depth && View3D() && !View3DOptions().Orthogonal()) return;
  const Rect r = depth && View3D() ? Canvas().ProjectRect(rect, *depth) : rect;
  if (backImageMode_ == pbmStretch) {
    Canvas().StretchGraphic(r, graphic);
    return;
  }
  const bool clip = CanClip();
  if (clip) {
    if (depth) {
      Canvas().ClipToBox(rect, 0, *depth);
    } else {
      Canvas().SetClipRectangle(r);
    }
  }
  const int w = r.Width(), h = r.Height();
  const int gw = graphic->Width(), gh = graphic->Height();
  if (backImageMode_ == pbmTile) {
    if (gw > 0 && gh > 0) {
      for (int y = 0; y < h; y += gh) {
        for (int x = 0; x < w; x += gw) Canvas().DrawGraphic(r.left + x, r.top + y, graphic);
      }
    }
  } else {
    FillPanelRect(r);
    Canvas().DrawGraphic(r.left + (w - gw) / 2, r.top + (h - gh) / 2, graphic);
  }
  if (clip) Canvas().RemoveClip();
}

void TCustomPlotPanelExtended::Assign(const TCustomPlotPanel& source) {
  TCustomPlotPanel::Assign(source);
  const auto* extended = dynamic_cast<const TCustomPlotPanelExtended*>(&source);
  if (extended == nullptr) return;
  backImage_->Assign(*extended->backImage_);
  SetBackImageMode(extended->backImageMode_);
  gradient_->Assign(*extended->gradient_);
  allowPanning_ = extended->allowPanning_;
  allowZoom_ = extended->allowZoom_;
  animatedZoom_ = extended->animatedZoom_;
  animatedZoomSteps_ = extended->animatedZoomSteps_;
}

}  // namespace plot
