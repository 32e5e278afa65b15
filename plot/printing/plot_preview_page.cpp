#include "plot/printing/plot_preview_page.h"

#include <cstdlib>

#include "runtime/rounding.h"
#include "plot/printing/chart_printing.h"

namespace plot {

namespace {

int Nearest(double v) { return static_cast<int>(runtime::RoundHalfEven(v)); }

bool Near(int value, int edge) { return std::abs(value - edge) <= TPlotPreviewPage::kTolerance; }

bool Inside(const Rect& r, int x, int y) { return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom; }

}  // namespace

TPlotPreviewPage::TPlotPreviewPage(platform::Printer& printer) : printer_(printer) {
  SetBevelOuter(bvNone);
}

void TPlotPreviewPage::SetImage(TCustomPlotPanel* image) {
  image_ = image;
  Invalidate();
}

void TPlotPreviewPage::SetPaperColor(plot::Color value) {
  if (paperColor_ == value) return;
  paperColor_ = value;
  Invalidate();
}

void TPlotPreviewPage::SetShowMargins(bool value) {
  showMargins_ = value;
  Invalidate();
}

void TPlotPreviewPage::CalcRects() {
  const int cw = Width();
  const int ch = Height();
  const int W = printer_.PageWidth();
  const int H = printer_.PageHeight();
  // A printer without a page size gives a paper as wide (or as high) as
  // the control, never one of no size.
  const bool noSize = W <= 0 || H <= 0;
  if (W < H) {
    int height = ch - Nearest(ch * 10 / 100.0);
    int width = noSize ? cw : platform::MulDiv(height, W, H);
    int left = (cw - width) / 2;
    int top = Nearest(ch * 5 / 100.0);
    paper_ = {left, top, left + width, top + height};
  } else {
    int width = cw - Nearest(cw * 10 / 100.0);
    int height = noSize ? ch : platform::MulDiv(width, H, W);
    int top = (ch - height) / 2;
    int left = Nearest(cw * 5 / 100.0);
    paper_ = {left, top, left + width, top + height};
  }
  const Rect m = image_ ? image_->PageMargins() : Rect{15, 15, 15, 15};
  const int pw = paper_.Width();
  const int ph = paper_.Height();
  chart_ = {paper_.left + platform::MulDiv(m.left, pw, 100), paper_.top + platform::MulDiv(m.top, ph, 100),
            paper_.right - platform::MulDiv(m.right, pw, 100), paper_.bottom - platform::MulDiv(m.bottom, ph, 100)};
}

int TPlotPreviewPage::DragCodeAt(int x, int y) const {
  if (!allowResize_ && !allowMove_) return 0;
  const Rect& r = chart_;
  const bool left = Near(x, r.left), right = Near(x, r.right), top = Near(y, r.top), bottom = Near(y, r.bottom);
  if (allowResize_) {
    // Corners before edges.
    if (left && top) return 6;
    if (right && top) return 7;
    if (left && bottom) return 8;
    if (right && bottom) return 9;
    if (left) return 1;
    if (top) return 2;
    if (right) return 3;
    if (bottom) return 4;
  } else if (left || right || top || bottom) {
    return 0;
  }
  if (allowMove_ && Inside(r, x, y)) return 5;
  return 0;
}

TCursor TPlotPreviewPage::CursorOfCode(int code) {
  switch (code) {
    case 1:
    case 3: return crHSplit;
    case 2:
    case 4: return crVSplit;
    case 5: return crPreviewHand;
    case 6:
    case 9: return crSizeNWSE;
    case 7:
    case 8: return crSizeNESW;
    default: return crDefault;
  }
}

void TPlotPreviewPage::Paint() {
  platform::DeviceCanvas* screen = ControlCanvas();
  if (screen == nullptr) return;
  CalcRects();
  // Drawn off screen and copied, so the page never flickers.
  std::unique_ptr<platform::Bitmap> buffer = screen->CreateBitmap(std::max(1, Width()), std::max(1, Height()), false);
  if (!buffer) {
    PaintPage(*screen);
    return;
  }
  PaintPage(buffer->Canvas());
  screen->DrawBitmap(0, 0, *buffer);
}

void TPlotPreviewPage::PaintPage(platform::DeviceCanvas& canvas) {
  canvas.Pen() = platform::Pen{};
  canvas.Pen().style = platform::PenStyle::Clear;
  canvas.Brush() = platform::Brush{};
  canvas.Brush().color = ColorToRGB(Color());
  canvas.Rectangle({0, 0, Width() + 1, Height() + 1});

  // The paper with its shadow.
  canvas.Pen() = platform::Pen{};
  canvas.Brush().color = paperColor_;
  canvas.Rectangle(paper_);
  canvas.Pen().style = platform::PenStyle::Clear;
  canvas.Brush().color = 0x000000;
  canvas.Rectangle({paper_.right, paper_.top + 4, paper_.right + 5 + 1, paper_.bottom + 4 + 1});
  canvas.Rectangle({paper_.left + 5, paper_.bottom, paper_.right + 5 + 1, paper_.bottom + 4 + 1});

  if (showMargins_) DrawMarginLines(canvas);

  if (image_ == nullptr || !showImage_) return;
  image_->SetPrintingNow(true);
  canvas.SetClipRect(image_->CanClip() ? chart_ : paper_);
  // A recording replays as vectors at the page's scale, so text and grid
  // stay whole however small the page; a bitmap is scaled smoothly.
  if (asBitmap_) {
    if (std::unique_ptr<platform::Bitmap> picture = ChartBitmap()) canvas.StretchBitmap(chart_, *picture);
  } else if (std::unique_ptr<platform::Metafile> picture = ChartMetafile()) {
    canvas.StretchMetafile(chart_, *picture);
  }
  canvas.RemoveClip();
  image_->SetPrintingNow(false);
}

void TPlotPreviewPage::DrawMarginLines(platform::DeviceCanvas& canvas) {
  platform::Pen pen;
  pen.style = platform::PenStyle::Dot;
  pen.mode = platform::PenMode::NotXor;
  // White shows on grey paper; silver elsewhere.
  pen.color = (paperColor_ == 0xC0C0C0 || paperColor_ == 0x808080) ? 0xFFFFFF : 0xC0C0C0;
  canvas.Pen() = pen;
  canvas.SetBkMode(platform::BackgroundMode::Transparent);
  const Rect& c = chart_;
  canvas.MoveTo(c.left - 1, paper_.top);
  canvas.LineTo(c.left - 1, paper_.bottom);
  canvas.MoveTo(c.right + 1, paper_.top);
  canvas.LineTo(c.right + 1, paper_.bottom);
  canvas.MoveTo(paper_.left, c.top - 1);
  canvas.LineTo(paper_.right, c.top - 1);
  canvas.MoveTo(paper_.left, c.bottom + 1);
  canvas.LineTo(paper_.right, c.bottom + 1);
  canvas.Pen() = platform::Pen{};
}

std::unique_ptr<platform::Bitmap> TPlotPreviewPage::ChartBitmap() {
  if (image_ == nullptr) return nullptr;
  const platform::Size logical = PrintLogicalSize(*image_);
  const bool wasPrinting = image_->PrintingNow();
  image_->SetPrintingNow(true);
  std::unique_ptr<platform::Bitmap> picture =
      image_->CreateChartBitmap(paperColor_, {0, 0, std::max(1, logical.cx), std::max(1, logical.cy)});
  image_->SetPrintingNow(wasPrinting);
  return picture;
}

std::unique_ptr<platform::Metafile> TPlotPreviewPage::ChartMetafile() {
  if (image_ == nullptr) return nullptr;
  const platform::Size logical = PrintLogicalSize(*image_);
  const bool wasPrinting = image_->PrintingNow();
  image_->SetPrintingNow(true);
  std::unique_ptr<platform::Metafile> picture =
      image_->CreateChartMetafile(true, {0, 0, std::max(1, logical.cx), std::max(1, logical.cy)});
  image_->SetPrintingNow(wasPrinting);
  return picture;
}

void TPlotPreviewPage::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  CalcRects();
  dragCode_ = DragCodeAt(x, y);
  pressX_ = x;
  pressY_ = y;
  pressChart_ = chart_;
  TCustomPanel::MouseDown(button, shift, x, y);
}

void TPlotPreviewPage::MouseMove(TShiftState shift, int x, int y) {
  TCustomPanel::MouseMove(shift, x, y);
  if (!Inside(paper_, x, y)) return;
  if (dragCode_ == 0) {
    SetCursor(CursorOfCode(DragCodeAt(x, y)));
    return;
  }
  DragTo(x, y);
}

void TPlotPreviewPage::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  dragCode_ = 0;
  Invalidate();
  TCustomPanel::MouseUp(button, shift, x, y);
}

void TPlotPreviewPage::DragTo(int x, int y) {
  Rect r = chart_;
  auto setLeft = [&] { r.left = x; };
  auto setTop = [&] { r.top = y; };
  auto setRight = [&] { r.right = x; };
  auto setBottom = [&] { r.bottom = y; };
  switch (dragCode_) {
    case 1: setLeft(); break;
    case 2: setTop(); break;
    case 3: setRight(); break;
    case 4: setBottom(); break;
    case 6: setLeft(), setTop(); break;
    case 7: setRight(), setTop(); break;
    case 8: setLeft(), setBottom(); break;
    case 9: setRight(), setBottom(); break;
    case 5: {
      int dx = x - pressX_, dy = y - pressY_;
      r = {pressChart_.left + dx, pressChart_.top + dy, pressChart_.right + dx, pressChart_.bottom + dy};
      // Both corners must stay on the paper.
      if (r.left < paper_.left || r.top < paper_.top || r.right > paper_.right || r.bottom > paper_.bottom) return;
      break;
    }
    default: return;
  }
  const bool onPaper = r.left >= paper_.left && r.right <= paper_.right && r.top >= paper_.top &&
                       r.bottom <= paper_.bottom;
  if (!onPaper || r.right <= r.left || r.bottom <= r.top) return;
  if (r == chart_) return;

  platform::DeviceCanvas* screen = ControlCanvas();
  if (!dragImage_ && showMargins_ && screen != nullptr) DrawMarginLines(*screen);  // erase the old lines
  chart_ = r;
  MarginsFromChartRect();
  if (OnChangeMargins && image_ != nullptr) OnChangeMargins(*this, true, image_->PageMargins());
}

void TPlotPreviewPage::MarginsFromChartRect() {
  if (image_ == nullptr) return;
  const int pw = std::max(1, paper_.Width());
  const int ph = std::max(1, paper_.Height());
  image_->SetPageMargins({platform::MulDiv(chart_.left - paper_.left, 100, pw),
                          platform::MulDiv(chart_.top - paper_.top, 100, ph),
                          platform::MulDiv(paper_.right - chart_.right, 100, pw),
                          platform::MulDiv(paper_.bottom - chart_.bottom, 100, ph)});
}

}  // namespace plot
