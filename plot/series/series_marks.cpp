#include "plot/series/series_marks.h"

#include "plot/chart/chart_series.h"

namespace plot {

void TSeriesMarkPosition::Assign(const TSeriesMarkPosition& source) {
  ArrowStart = source.ArrowStart;
  ArrowEnd = source.ArrowEnd;
  BoxLeftTop = source.BoxLeftTop;
  Height = source.Height;
  Width = source.Width;
}

TSeriesMarkPosition* TSeriesMarksPositions::Position(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<std::size_t>(index)].get();
}

TSeriesMarkPosition& TSeriesMarksPositions::Ensure(int index) {
  if (index >= Count()) items_.resize(static_cast<std::size_t>(index) + 1);
  auto& slot = items_[static_cast<std::size_t>(index)];
  if (!slot) slot = std::make_unique<TSeriesMarkPosition>();
  return *slot;
}

void TSeriesMarksPositions::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  items_.erase(items_.begin() + index);
}

void TSeriesMarksPositions::Clear() {
  items_.clear();
  items_.shrink_to_fit();
}

TSeriesMarks::TSeriesMarks(TChartSeries* series) : series_(series) {
  auto repaint = [this] { Repaint(); };
  arrow_.OnChange = repaint;
  frame_.OnChange = repaint;
  font_.OnChange = repaint;
}

void TSeriesMarks::Repaint() {
  if (series_ != nullptr) series_->RequestRepaint();
}

void TSeriesMarks::SetVisible(bool value) {
  if (visible_ == value) return;
  visible_ = value;
  Repaint();
}

void TSeriesMarks::SetStyle(TSeriesMarksStyle value) {
  if (style_ == value) return;
  style_ = value;
  Repaint();
}

void TSeriesMarks::SetArrowLength(int value) {
  if (arrowLength_ == value) return;
  arrowLength_ = value;
  Repaint();
}

void TSeriesMarks::SetBackColor(Color value) {
  if (backColor_ == value) return;
  backColor_ = value;
  Repaint();
}

void TSeriesMarks::SetTransparent(bool value) {
  if (transparent_ == value) return;
  transparent_ = value;
  Repaint();
}

void TSeriesMarks::SetClip(bool value) {
  if (clip_ == value) return;
  clip_ = value;
  Repaint();
}

void TSeriesMarks::Assign(const TSeriesMarks& source) {
  arrow_.Assign(source.arrow_);
  SetArrowLength(source.arrowLength_);
  SetBackColor(source.backColor_);
  SetTransparent(source.transparent_);
  SetClip(source.clip_);
  frame_.Assign(source.frame_);
  font_.Assign(source.font_);
  SetStyle(source.style_);
  SetVisible(source.visible_);
}

}  // namespace plot
