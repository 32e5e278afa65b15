#include "plot/chart/chart_font.h"

#include "plot/chart/custom_plot_panel.h"

namespace plot {

TFont::TFont() {
  font_.name = "Arial";
  font_.pixelsPerInch = 96;
  font_.SetSize(8);
  font_.color = 0x000000;
}

void TFont::Changed() {
  if (OnChange) OnChange();
}

void TFont::SetName(const std::string& value) {
  if (font_.name == value) return;
  font_.name = value;
  Changed();
}

void TFont::SetSize(int points) {
  const int height = -platform::MulDiv(points, font_.pixelsPerInch, 72);
  SetHeight(height);
}

void TFont::SetHeight(int pixels) {
  if (font_.height == pixels) return;
  font_.height = pixels;
  Changed();
}

void TFont::SetStyle(unsigned value) {
  if (font_.style == value) return;
  font_.style = value;
  Changed();
}

void TFont::SetColor(platform::Color value) {
  if (font_.color == value) return;
  font_.color = value;
  Changed();
}

void TFont::Assign(const TFont& source) {
  platform::Font next = font_;
  next.name = source.font_.name;
  next.style = source.font_.style;
  next.color = source.font_.color;
  // Across resolutions the point size is what carries over.
  next.height = source.font_.pixelsPerInch == font_.pixelsPerInch
                    ? source.font_.height
                    : -platform::MulDiv(source.Size(), font_.pixelsPerInch, 72);
  if (next == font_) return;
  font_ = next;
  Changed();
}

bool TFont::IsDefault() const {
  const TFont fresh;
  return font_.name == fresh.font_.name && Size() == fresh.Size() && font_.style == fresh.font_.style &&
         font_.color == fresh.font_.color;
}

TChartFontObject::TChartFontObject(TCustomPlotPanel* parentChart) : parentChart_(parentChart) {
  font_.OnChange = [this] {
    if (parentChart_ != nullptr) parentChart_->Invalidate();
  };
}

}  // namespace plot
