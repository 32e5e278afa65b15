#pragma once

#include <QDialog>
#include <QPushButton>

#include "plot/chart/chart_look.h"

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace plot {
class TChartPen;
class TChartBrush;
}

namespace platform {

/// A button showing a chart colour; a click offers the colour chooser. The
/// automatic colour shows as "Auto", a system colour as "System", until
/// another is chosen.
class ColorButton final : public QPushButton {
  Q_OBJECT

 public:
  explicit ColorButton(QWidget* parent = nullptr);
  plot::Color Value() const { return color_; }
  /// Shows `color`; with `notify` as if the user had chosen it.
  void SetValue(plot::Color color, bool notify = false);

 signals:
  void ColorChosen(plot::Color color);

 private:
  void Choose();
  plot::Color color_ = 0;
};

/// A chart colour as Qt's (red is the chart colour's low byte).
QColor ToQColor(plot::Color color);
plot::Color FromQColor(const QColor& color);

/// A line drawn through the chart's own canvas, so the sample looks as the
/// chart will draw the pen (wide pens draw solid, as on the chart).
class PenPreview;
/// A box filled through the chart's canvas with the brush.
class BrushPreview;

/// The pen dialog: colour, width, style, visible, with a preview. End and
/// join styles are not offered: the chart's drawing surface draws every pen
/// with the same ends and joins.
class TPenDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit TPenDialog(QWidget* parent = nullptr);

  /// Shows the pen's settings; OK gives the choice to the pen (one change
  /// notice). True on OK.
  bool Execute(plot::TChartPen& pen);

  void Load(const plot::TChartLook::Pen& pen);
  plot::TChartLook::Pen Choice() const;

  ColorButton* ColorBox() const { return color_; }
  QSpinBox* WidthBox() const { return width_; }
  QComboBox* StyleBox() const { return style_; }
  QCheckBox* VisibleBox() const { return visible_; }
  QWidget* Preview() const;

 private:
  ColorButton* color_;
  QSpinBox* width_;
  QComboBox* style_;
  QCheckBox* visible_;
  PenPreview* preview_;
};

/// The brush dialog: colour and style (solid, clear, six hatches), with a
/// preview.
class TBrushDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit TBrushDialog(QWidget* parent = nullptr);

  bool Execute(plot::TChartBrush& brush);

  void Load(const plot::TChartLook::Brush& brush);
  plot::TChartLook::Brush Choice() const;

  ColorButton* ColorBox() const { return color_; }
  QComboBox* StyleBox() const { return style_; }
  QWidget* Preview() const;

 private:
  ColorButton* color_;
  QComboBox* style_;
  BrushPreview* preview_;
};

}  // namespace platform
