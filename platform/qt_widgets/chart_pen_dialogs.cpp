#include "platform/qt_widgets/chart_pen_dialogs.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPainter>
#include <QSpinBox>
#include <QVBoxLayout>

#include "platform/qt_gui/qt_device_canvas.h"
#include "plot/surface/chart_brush.h"
#include "plot/surface/chart_pen.h"

namespace platform {

QColor ToQColor(plot::Color color) {
  return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>((color >> 16) & 0xFF));
}

plot::Color FromQColor(const QColor& color) {
  return static_cast<plot::Color>(color.red()) | static_cast<plot::Color>(color.green()) << 8 |
         static_cast<plot::Color>(color.blue()) << 16;
}

// ---- colour button

ColorButton::ColorButton(QWidget* parent) : QPushButton(parent) {
  setMinimumWidth(64);
  connect(this, &QPushButton::clicked, this, &ColorButton::Choose);
  SetValue(0);
}

void ColorButton::SetValue(plot::Color color, bool notify) {
  color_ = color;
  if ((color & 0x80000000u) != 0) {
    // The series' own colour, or one of the desktop's.
    setText(color == plot::clAutoColor ? "Auto" : "System");
    setIcon(QIcon());
  } else {
    QPixmap swatch(28, 12);
    swatch.fill(ToQColor(color));
    QPainter frame(&swatch);
    frame.setPen(Qt::black);
    frame.drawRect(0, 0, swatch.width() - 1, swatch.height() - 1);
    setIcon(QIcon(swatch));
    setIconSize(swatch.size());
    setText(QString());
  }
  if (notify) emit ColorChosen(color);
}

void ColorButton::Choose() {
  QColor initial = (color_ & 0x80000000u) != 0 ? Qt::white : ToQColor(color_);
  QColor chosen = QColorDialog::getColor(initial, this, "Color");
  if (chosen.isValid()) SetValue(FromQColor(chosen), true);
}

// ---- previews

// A white sample box with one look drawn on it through the chart's own
// device canvas, so the sample shows what the chart will draw.
template <typename Look>
class LookPreview : public QWidget {
 public:
  explicit LookPreview(QWidget* parent) : QWidget(parent) { setMinimumSize(160, 40); }
  void Show(const Look& look) {
    look_ = look;
    update();
  }

 protected:
  virtual void Draw(QtDeviceCanvas& canvas, const Look& look) = 0;
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    QtDeviceCanvas canvas(&painter, this);
    Draw(canvas, look_);
    canvas.End();
  }

 private:
  Look look_;
};

class PenPreview final : public LookPreview<plot::TChartLook::Pen> {
 public:
  using LookPreview::LookPreview;

 protected:
  void Draw(QtDeviceCanvas& canvas, const plot::TChartLook::Pen& pen) override {
    if (!pen.visible || pen.style == PenStyle::Clear) return;
    canvas.Pen() = platform::Pen{pen.color, pen.style, pen.width, PenMode::Copy, false};
    const int y = height() / 2;
    canvas.MoveTo(10, y + 8);
    canvas.LineTo(width() / 2, y - 8);
    canvas.LineTo(width() - 10, y + 8);
  }
};

class BrushPreview final : public LookPreview<plot::TChartLook::Brush> {
 public:
  using LookPreview::LookPreview;

 protected:
  void Draw(QtDeviceCanvas& canvas, const plot::TChartLook::Brush& brush) override {
    canvas.Pen() = platform::Pen{0, PenStyle::Solid, 1, PenMode::Copy, false};
    canvas.Brush() = platform::Brush{brush.color, brush.style, nullptr};
    canvas.SetBkMode(BackgroundMode::Transparent);
    canvas.Rectangle({10, 6, width() - 10, height() - 6});
  }
};

QWidget* TPenDialog::Preview() const { return preview_; }
QWidget* TBrushDialog::Preview() const { return preview_; }

namespace {

QDialogButtonBox* OkCancel(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

}  // namespace

// ---- pen dialog

TPenDialog::TPenDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Pen");
  setObjectName("PenDialog");
  auto* form = new QFormLayout;
  color_ = new ColorButton(this);
  color_->setObjectName("PenColor");
  width_ = new QSpinBox(this);
  width_->setObjectName("PenWidth");
  width_->setRange(0, 100);
  style_ = new QComboBox(this);
  style_->setObjectName("PenStyle");
  // In the order of the surface's pen styles.
  style_->addItems({"Solid", "Dash", "Dot", "Dash Dot", "Dash Dot Dot", "Clear", "Inside Frame"});
  visible_ = new QCheckBox("Visible", this);
  visible_->setObjectName("PenVisible");
  preview_ = new PenPreview(this);
  form->addRow("Color:", color_);
  form->addRow("Width:", width_);
  form->addRow("Style:", style_);
  form->addRow(QString(), visible_);
  form->addRow("Sample:", preview_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(OkCancel(this));
  auto refresh = [this] { preview_->Show(Choice()); };
  connect(color_, &ColorButton::ColorChosen, this, refresh);
  connect(width_, &QSpinBox::valueChanged, this, refresh);
  connect(style_, &QComboBox::currentIndexChanged, this, refresh);
  connect(visible_, &QCheckBox::toggled, this, refresh);
}

void TPenDialog::Load(const plot::TChartLook::Pen& pen) {
  color_->SetValue(pen.color);
  width_->setValue(pen.width);
  style_->setCurrentIndex(static_cast<int>(pen.style));
  visible_->setChecked(pen.visible);
  preview_->Show(Choice());
}

plot::TChartLook::Pen TPenDialog::Choice() const {
  return {color_->Value(), static_cast<PenStyle>(style_->currentIndex()), width_->value(), visible_->isChecked()};
}

bool TPenDialog::Execute(plot::TChartPen& pen) {
  Load(plot::TChartLook::TakePen(pen));
  if (exec() != QDialog::Accepted) return false;
  plot::TChartLook::GivePen(Choice(), pen);
  return true;
}

// ---- brush dialog

TBrushDialog::TBrushDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Brush");
  setObjectName("BrushDialog");
  auto* form = new QFormLayout;
  color_ = new ColorButton(this);
  color_->setObjectName("BrushColor");
  style_ = new QComboBox(this);
  style_->setObjectName("BrushStyle");
  // In the order of the surface's brush styles.
  style_->addItems({"Solid", "Clear", "Horizontal", "Vertical", "Diagonal", "Back Diagonal", "Cross",
                    "Diagonal Cross"});
  preview_ = new BrushPreview(this);
  form->addRow("Color:", color_);
  form->addRow("Style:", style_);
  form->addRow("Sample:", preview_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(OkCancel(this));
  auto refresh = [this] { preview_->Show(Choice()); };
  connect(color_, &ColorButton::ColorChosen, this, refresh);
  connect(style_, &QComboBox::currentIndexChanged, this, refresh);
}

void TBrushDialog::Load(const plot::TChartLook::Brush& brush) {
  color_->SetValue(brush.color);
  style_->setCurrentIndex(static_cast<int>(brush.style));
  preview_->Show(Choice());
}

plot::TChartLook::Brush TBrushDialog::Choice() const {
  return {color_->Value(), static_cast<BrushStyle>(style_->currentIndex())};
}

bool TBrushDialog::Execute(plot::TChartBrush& brush) {
  Load(plot::TChartLook::TakeBrush(brush));
  if (exec() != QDialog::Accepted) return false;
  plot::TChartLook::GiveBrush(Choice(), brush);
  return true;
}

}  // namespace platform
