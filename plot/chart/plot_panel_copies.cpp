#include <algorithm>

#include "plot/chart/custom_plot_panel.h"
#include "platform/picture_clipboard.h"

namespace plot {

namespace {

// Switches the surface's back buffer off for one rendering and restores it,
// so a copy is drawn straight onto its target.
class UnbufferedScope {
 public:
  explicit UnbufferedScope(TPlotCanvas3D& canvas, bool metafiling)
      : canvas_(canvas), buffered_(canvas.GetBuffered()), metafiling_(canvas.Metafiling()) {
    canvas_.SetBuffered(false);
    if (metafiling) canvas_.SetMetafiling(true);
  }
  ~UnbufferedScope() {
    canvas_.SetMetafiling(metafiling_);
    canvas_.SetBuffered(buffered_);
  }
  UnbufferedScope(const UnbufferedScope&) = delete;
  UnbufferedScope& operator=(const UnbufferedScope&) = delete;

 private:
  TPlotCanvas3D& canvas_;
  bool buffered_;
  bool metafiling_;
};

}  // namespace

std::unique_ptr<platform::Bitmap> TCustomPlotPanel::CreateChartBitmap(plot::Color background, const Rect& rect) {
  if (ControlCanvas() == nullptr) return nullptr;
  std::unique_ptr<platform::Bitmap> bitmap = ControlCanvas()->CreateBitmap(rect.Width(), rect.Height(), false);
  if (!bitmap) return nullptr;
  // New bitmaps start white; any other background is painted first.
  if (ColorToRGB(background) != clWhite) {
    platform::DeviceCanvas& target = bitmap->Canvas();
    const platform::Brush saved = target.Brush();
    target.Brush() = platform::Brush{ColorToRGB(background), platform::BrushStyle::Solid, nullptr};
    target.PatternFill({0, 0, rect.Width(), rect.Height()});
    target.Brush() = saved;
  }
  UnbufferedScope scope(Canvas(), false);
  Draw(bitmap->Canvas(), rect);
  return bitmap;
}

std::unique_ptr<platform::Metafile> TCustomPlotPanel::CreateChartMetafile(bool /*enhanced*/, const Rect& rect) {
  if (ControlCanvas() == nullptr) return nullptr;
  // Both kinds are the same vector recording on this platform.
  std::unique_ptr<platform::Metafile> metafile =
      ControlCanvas()->CreateMetafile(std::max(1, rect.Width() - 1), std::max(1, rect.Height() - 1));
  if (!metafile) return nullptr;
  UnbufferedScope scope(Canvas(), true);
  Draw(metafile->Canvas(), rect);
  return metafile;
}

bool TCustomPlotPanel::SaveToBitmapFile(const std::string& path) {
  const std::unique_ptr<platform::Bitmap> bitmap = CreateChartBitmap(clWhite, GetRectangle());
  return bitmap && bitmap->SaveToFile(path);
}

bool TCustomPlotPanel::SaveToMetafile(const std::string& path) {
  const std::unique_ptr<platform::Metafile> metafile = CreateChartMetafile(false, GetRectangle());
  return metafile && metafile->SaveToFile(path);
}

bool TCustomPlotPanel::SaveToMetafileEnh(const std::string& path) {
  const std::unique_ptr<platform::Metafile> metafile = CreateChartMetafile(true, GetRectangle());
  return metafile && metafile->SaveToFile(path);
}

void TCustomPlotPanel::CopyToClipboardBitmap() {
  platform::PictureClipboard* clipboard = Host() != nullptr ? Host()->Clipboard() : nullptr;
  if (clipboard == nullptr) return;
  const std::unique_ptr<platform::Bitmap> bitmap = CreateChartBitmap(clWhite, GetRectangle());
  if (bitmap) clipboard->SetBitmap(*bitmap);
}

void TCustomPlotPanel::CopyToClipboardMetafile(bool enhanced) {
  platform::PictureClipboard* clipboard = Host() != nullptr ? Host()->Clipboard() : nullptr;
  if (clipboard == nullptr) return;
  const std::unique_ptr<platform::Metafile> metafile = CreateChartMetafile(enhanced, GetRectangle());
  if (metafile) clipboard->SetMetafile(*metafile);
}

}  // namespace plot
