#include "plot/printing/chart_printing.h"

#include <algorithm>

#include "plot/chart/chart_exceptions.h"
#include "plot/chart/print_switches.h"
#include "runtime/rounding.h"

namespace plot {

namespace {
int Nearest(double v) { return static_cast<int>(runtime::RoundHalfEven(v)); }
}  // namespace

Rect ProportionalMargins(const TCustomPlotPanel& panel, int pageWidth, int pageHeight, platform::Size ppi) {
  const double w = std::max(1, panel.Width());
  const double h = std::max(1, panel.Height());
  const double W = std::max(1, pageWidth);
  const double H = std::max(1, pageHeight);
  const double r = ppi.cy != 0 ? static_cast<double>(ppi.cx) / ppi.cy : 1.0;
  // 0.6 leaves 40 % of the page for the two margins of the long side.
  if (h < w) {
    int tb = Nearest(100.0 * (H - 0.6 * W * (h / w) * r) / H) / 2;
    return {15, tb, 15, tb};
  }
  int lr = Nearest(100.0 * (W - 0.6 * H * (w / h) * r) / W) / 2;
  return {lr, 15, lr, 15};
}

Rect CalcPageRect(TCustomPlotPanel& panel, const platform::Printer& printer) {
  const int W = printer.PageWidth();
  const int H = printer.PageHeight();
  if (panel.PrintProportional()) panel.SetPageMargins(ProportionalMargins(panel, W, H, printer.PixelsPerInch()));
  const Rect& m = panel.PageMargins();
  return {Nearest(m.left * W / 100.0), Nearest(m.top * H / 100.0), W - Nearest(m.right * W / 100.0),
          H - Nearest(m.bottom * H / 100.0)};
}

platform::Size PrintLogicalSize(const TCustomPlotPanel& panel) {
  const int cw = panel.Width();
  const int ch = panel.Height();
  return {cw - platform::MulDiv(cw, panel.PrintDetail(), 100), ch - platform::MulDiv(ch, panel.PrintDetail(), 100)};
}

void PaintOnCanvas(TCustomPlotPanel& panel, platform::DeviceCanvas& canvas, Rect rect) {
  if (rect.right < rect.left) std::swap(rect.left, rect.right);
  if (rect.bottom < rect.top) std::swap(rect.top, rect.bottom);
  const platform::Size logical = PrintLogicalSize(panel);
  const int tw = std::max(1, rect.Width());
  const int th = std::max(1, rect.Height());
  const Rect target{platform::MulDiv(rect.left, logical.cx, tw), platform::MulDiv(rect.top, logical.cy, th),
                    platform::MulDiv(rect.right, logical.cx, tw), platform::MulDiv(rect.bottom, logical.cy, th)};

  platform::Mapping saved = canvas.GetMapping();
  platform::Mapping mapping;
  mapping.anisotropic = true;
  mapping.windowOrg = {0, 0};
  mapping.windowExt = {std::max(1, logical.cx), std::max(1, logical.cy)};
  mapping.viewportExt = {tw, th};
  mapping.viewportOrg = {0, 0};
  canvas.SetMapping(mapping);

  TPlotCanvas3D& surface = panel.Canvas();
  const bool wasBuffered = surface.GetBuffered();
  const bool wasMetafiling = surface.Metafiling();
  panel.SetPrintingNow(true);
  if (panel.CanClip()) canvas.SetClipRect(target);
  surface.SetMetafiling(true);
  surface.SetBuffered(false);
  // Whatever happens, the screen drawing comes back as it was.
  struct Restore {
    TCustomPlotPanel& panel;
    platform::DeviceCanvas& canvas;
    TPlotCanvas3D& surface;
    bool buffered, metafiling;
    platform::Mapping mapping;
    ~Restore() {
      surface.SetBuffered(buffered);
      surface.SetMetafiling(metafiling);
      panel.SetPrintingNow(false);
      canvas.RemoveClip();
      canvas.SetMapping(mapping);
    }
  } restore{panel, canvas, surface, wasBuffered, wasMetafiling, saved};
  panel.Draw(canvas, target);
}

void PrintInRect(TCustomPlotPanel& panel, platform::Printer& printer, const Rect& rect) {
  printer.SetTitle(panel.Name());
  std::string error;
  if (!printer.BeginDoc(error)) throw ChartException(error);
  try {
    PaintOnCanvas(panel, printer.Canvas(), rect);
  } catch (...) {
    printer.Abort();
    throw;
  }
  if (!printer.EndDoc(error)) throw ChartException(error);
}

void PrintPage(TCustomPlotPanel& panel, platform::Printer& printer) {
  PrintInRect(panel, printer, CalcPageRect(panel, printer));
}

}  // namespace plot
