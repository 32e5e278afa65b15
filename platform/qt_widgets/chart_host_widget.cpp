#include "platform/qt_widgets/chart_host_widget.h"

#include "plot/printing/plot_preview_page.h"

#include <QMouseEvent>
#include <QPainter>

namespace platform {

namespace {

plot::TShiftState ShiftOf(Qt::KeyboardModifiers keys, Qt::MouseButtons buttons) {
  plot::TShiftState shift = 0;
  if (keys & Qt::ShiftModifier) shift |= plot::ssShift;
  if (keys & Qt::AltModifier) shift |= plot::ssAlt;
  if (keys & Qt::ControlModifier) shift |= plot::ssCtrl;
  if (buttons & Qt::LeftButton) shift |= plot::ssLeft;
  if (buttons & Qt::RightButton) shift |= plot::ssRight;
  if (buttons & Qt::MiddleButton) shift |= plot::ssMiddle;
  return shift;
}

bool ButtonOf(Qt::MouseButton qt, plot::TMouseButton& button) {
  switch (qt) {
    case Qt::LeftButton: button = plot::mbLeft; return true;
    case Qt::RightButton: button = plot::mbRight; return true;
    case Qt::MiddleButton: button = plot::mbMiddle; return true;
    default: return false;
  }
}

Qt::CursorShape ShapeOf(plot::TCursor cursor) {
  switch (cursor) {
    case plot::crNone: return Qt::BlankCursor;
    case plot::crCross: return Qt::CrossCursor;
    case plot::crIBeam: return Qt::IBeamCursor;
    case plot::crSizeAll: return Qt::SizeAllCursor;
    case plot::crHourGlass: return Qt::WaitCursor;
    case plot::crDrag: return Qt::DragMoveCursor;
    case plot::crHandPoint: return Qt::PointingHandCursor;
    case plot::crHSplit: return Qt::SplitHCursor;
    case plot::crVSplit: return Qt::SplitVCursor;
    case plot::crSizeNWSE: return Qt::SizeFDiagCursor;
    case plot::crSizeNESW: return Qt::SizeBDiagCursor;
    case plot::crPreviewHand: return Qt::OpenHandCursor;
    default: return Qt::ArrowCursor;
  }
}

}  // namespace

ChartHostWidget::ChartHostWidget(plot::TCustomPanel& panel, QWidget* parent)
    : QWidget(parent), panel_(&panel), canvas_(nullptr, this) {
  Attach();
}

ChartHostWidget::ChartHostWidget(std::unique_ptr<plot::TCustomPanel> panel, QWidget* parent)
    : QWidget(parent), owned_(std::move(panel)), panel_(owned_.get()), canvas_(nullptr, this) {
  Attach();
}

ChartHostWidget::~ChartHostWidget() {
  // The panel may outlive this window: leave it without a host or canvas.
  panel_->SetHost(nullptr);
  panel_->SetControlCanvas(nullptr);
}

void ChartHostWidget::Attach() {
  // The panel paints every pixel of its client area itself.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  resize(panel_->Width(), panel_->Height());
  panel_->SetHost(this);
  panel_->SetControlCanvas(&canvas_);
  setCursor(ShapeOf(panel_->Cursor()));
}

void ChartHostWidget::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  canvas_.Begin(&painter);
  panel_->Paint();
  canvas_.End();
}

void ChartHostWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  panel_->SetBounds(x(), y(), width(), height());
}

void ChartHostWidget::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  panel_->SetBounds(x(), y(), width(), height());
}

void ChartHostWidget::mousePressEvent(QMouseEvent* event) {
  plot::TMouseButton button;
  if (!ButtonOf(event->button(), button)) return;
  const QPoint p = event->position().toPoint();
  panel_->MouseDown(button, ShiftOf(event->modifiers(), event->buttons()), p.x(), p.y());
}

void ChartHostWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  plot::TMouseButton button;
  if (!ButtonOf(event->button(), button)) return;
  const QPoint p = event->position().toPoint();
  panel_->MouseDown(button, ShiftOf(event->modifiers(), event->buttons()) | plot::ssDouble, p.x(), p.y());
}

void ChartHostWidget::mouseReleaseEvent(QMouseEvent* event) {
  plot::TMouseButton button;
  if (!ButtonOf(event->button(), button)) return;
  const QPoint p = event->position().toPoint();
  panel_->MouseUp(button, ShiftOf(event->modifiers(), event->buttons()), p.x(), p.y());
}

void ChartHostWidget::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  panel_->MouseMove(ShiftOf(event->modifiers(), event->buttons()), p.x(), p.y());
}

void ChartHostWidget::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  panel_->MouseLeave();
}

void ChartHostWidget::InvalidateControl() { update(); }

void ChartHostWidget::RepaintControl() { repaint(); }

void ChartHostWidget::CursorChanged(plot::TCursor cursor) { setCursor(ShapeOf(cursor)); }

}  // namespace platform
