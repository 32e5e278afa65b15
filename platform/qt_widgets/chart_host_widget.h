#pragma once

#include <QWidget>

#include <memory>

#include "plot/chart/chart_control.h"
#include "platform/qt_gui/qt_device_canvas.h"
#include "platform/qt_gui/qt_pictures.h"

namespace platform {

// The Qt window of a chart panel: it forwards paints, mouse buttons and
// moves and the pointer leaving to the panel, and turns the panel's
// invalidation into QWidget::update(), which Qt coalesces, so a burst of
// changes gives one paint.
class ChartHostWidget final : public QWidget, private plot::TControlHost {
  Q_OBJECT

 public:
  // Hosts a panel that someone else owns and that outlives this widget.
  explicit ChartHostWidget(plot::TCustomPanel& panel, QWidget* parent = nullptr);
  // Hosts and owns the panel.
  explicit ChartHostWidget(std::unique_ptr<plot::TCustomPanel> panel, QWidget* parent = nullptr);
  ~ChartHostWidget() override;

  plot::TCustomPanel& Panel() { return *panel_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void Attach();
  void InvalidateControl() override;
  void RepaintControl() override;
  void CursorChanged(plot::TCursor cursor) override;
  PictureClipboard* Clipboard() override { return &clipboard_; }

  std::unique_ptr<plot::TCustomPanel> owned_;
  plot::TCustomPanel* panel_;
  QtDeviceCanvas canvas_;
  QtPictureClipboard clipboard_;
};

}  // namespace platform
