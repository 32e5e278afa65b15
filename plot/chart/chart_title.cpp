#include "plot/chart/chart_title.h"

#include <algorithm>

#include "plot/chart/chart.h"

namespace plot {

void TChartStrings::Changed() {
  if (OnChange) OnChange();
}

void TChartStrings::Add(const std::string& line) {
  lines_.push_back(line);
  Changed();
}

void TChartStrings::Clear() {
  if (lines_.empty()) return;
  lines_.clear();
  Changed();
}

void TChartStrings::SetLines(const std::vector<std::string>& lines) {
  if (lines_ == lines) return;
  lines_ = lines;
  Changed();
}

TChartTitle::TChartTitle(TCustomChart* chart) : TChartFontObject(chart), chart_(chart) {
  // Titles are blue unless set otherwise; no repaint for a default.
  auto onChange = Font().OnChange;
  Font().OnChange = nullptr;
  Font().SetColor(clBlue);
  Font().OnChange = onChange;
  auto repaint = [this] { Repaint(); };
  text_.OnChange = repaint;
  brush_.OnChange = repaint;
  frame_.OnChange = repaint;
}

void TChartTitle::Repaint() {
  if (chart_ != nullptr) chart_->Invalidate();
}

void TChartTitle::SetVisible(bool value) {
  if (visible_ == value) return;
  visible_ = value;
  Repaint();
}

void TChartTitle::SetAlignment(TAlignment value) {
  if (alignment_ == value) return;
  alignment_ = value;
  Repaint();
}

void TChartTitle::SetAdjustFrame(bool value) {
  if (adjustFrame_ == value) return;
  adjustFrame_ = value;
  Repaint();
}

void TChartTitle::SetColor(plot::Color value) {
  if (color_ == value) return;
  color_ = value;
  Repaint();
}

bool TChartTitle::Clicked(int x, int y) const {
  return visible_ && x >= titleRect_.left && x <= titleRect_.right && y >= titleRect_.top && y <= titleRect_.bottom;
}

void TChartTitle::Draw(bool isTitle) {
  TCustomChart& chart = *chart_;
  TPlotCanvas3D& canvas = chart.Canvas();
  chart.AssignFont(Font());
  const int h = canvas.MeasureFontHeight();

  // Fill of the box.
  platform::Brush& brush = canvas.Brush();
  brush.bitmap.reset();
  const bool pattern = brush_.Style() != platform::BrushStyle::Solid;
  if (color_ == clAutoColor) {
    if (pattern) {
      brush.color = brush_.Color();
      brush.style = brush_.Style();
      canvas.SetBackgroundMode(platform::BackgroundMode::Transparent);
    } else if (brush_.Color() == clAutoColor) {
      brush.style = platform::BrushStyle::Clear;
    } else {
      SetColor(brush_.Color());
      brush.color = color_;
      brush.style = platform::BrushStyle::Solid;
    }
  } else if (pattern) {
    brush.color = brush_.Color();
    brush.style = brush_.Style();
    canvas.SetBackgroundMode(platform::BackgroundMode::Opaque);
    canvas.SetBackgroundColor(color_);
  } else {
    brush.color = color_;
    brush.style = platform::BrushStyle::Solid;
  }

  const bool framed = frame_.Visible() && frame_.Color() != clAutoColor;
  const int f = framed ? frame_.Width() : 0;
  const Rect& cr = chart.ChartRect();
  const int lines = text_.Count();
  Rect box{cr.left + f, 0, cr.right - f, 0};
  if (isTitle) {
    box.top = cr.top + f;
    box.bottom = box.top + lines * h;
  } else {
    box.bottom = cr.bottom - f;
    box.top = box.bottom - lines * h;
  }
  const int areaLeft = box.left, areaRight = box.right;

  const int w = canvas.MeasureTextWidth("W");
  if (framed || brush.style != platform::BrushStyle::Clear) {
    if (adjustFrame_) {
      int widest = 0;
      for (const std::string& line : text_.Lines()) widest = std::max(widest, canvas.MeasureTextWidth(line));
      const int width = w + widest;
      switch (alignment_) {
        case taLeftJustify: box.right = box.left + width; break;
        case taRightJustify: box.left = box.right - width; break;
        case taCenter: {
          const int centre = (box.left + box.right) / 2;
          box.left = centre - width / 2;
          box.right = centre + width / 2;
          break;
        }
      }
    }
    titleRect_ = {box.left - f, box.top - f, box.right + f, box.bottom + f};
    canvas.ApplyChartPen(frame_);
    canvas.DrawRectangleRect(titleRect_);
  }
  titleRect_ = {box.left - f, box.top - f, box.right + f, box.bottom + f};

  // Text, see-through.
  canvas.Brush().style = platform::BrushStyle::Clear;
  canvas.SetTextAlignment(platform::text_align::kLeft | platform::text_align::kTop);
  auto xFor = [&](const std::string& line) {
    const int lw = canvas.MeasureTextWidth(line);
    switch (alignment_) {
      case taLeftJustify: return areaLeft + w / 2;
      case taRightJustify: return areaRight - lw - w / 2;
      default: return (areaLeft + areaRight) / 2 - lw / 2;
    }
  };
  if (isTitle) {
    int y = box.top;
    for (const std::string& line : text_.Lines()) {
      canvas.WriteText(xFor(line), y, line);
      y += h;
    }
  } else {
    int y = box.bottom;
    for (int i = lines - 1; i >= 0; --i) {
      y -= h;
      canvas.WriteText(xFor(text_[i]), y, text_[i]);
    }
  }

  // The gap goes only below drawn lines: an empty text with a frame moves
  // the rectangle by the frame alone (this overrides the plain "+ 5").
  const int gap = lines > 0 ? 5 : 0;
  Rect r = cr;
  if (isTitle) {
    r.top = box.bottom + f + gap;
  } else {
    r.bottom = box.top - f - gap;
  }
  chart.SetChartRect(r);
  chart.RecalcWidthHeight();
}

void TChartTitle::Assign(const TChartTitle& source) {
  SetAdjustFrame(source.adjustFrame_);
  SetAlignment(source.alignment_);
  brush_.Assign(source.brush_);
  SetColor(source.color_);
  frame_.Assign(source.frame_);
  text_.SetLines(source.text_.Lines());
  SetVisible(source.visible_);
  TChartFontObject::Assign(source);
}

}  // namespace plot
