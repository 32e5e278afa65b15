#include "app/gui/export_dialogs.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/gui/form_buttons.h"
#include "app/gui/window_font.h"
#include "app/logger_app.h"

namespace gui {

// The file name, typed or chosen with Browse...; a name chosen there was
// already confirmed for replacing.
class ExportFileRow final : public QWidget {
 public:
  ExportFileRow(const QString& initial, const QString& caption, const QString& filters, QWidget* parent)
      : QWidget(parent), caption_(caption), filters_(filters) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    edit_ = new QLineEdit(initial, this);
    edit_->setObjectName("FileEdit");
    edit_->setMinimumWidth(DesignPixels(this, 320));
    browse_ = new QPushButton("&Browse...", this);
    browse_->setObjectName("BrowseButton");
    row->addWidget(edit_, 1);
    row->addWidget(browse_);
    QObject::connect(browse_, &QPushButton::clicked, this, [this] { Browse(); });
  }

  QLineEdit* Edit() const { return edit_; }
  QString Path() const { return edit_->text().trimmed(); }

  // Whether the file may be written: a new name, one confirmed in Browse...,
  // or one the user agrees to replace now.
  bool MayWrite(QWidget* dialog) const {
    QFileInfo info(Path());
    if (!info.exists() || info.absoluteFilePath() == confirmed_) return true;
    return QMessageBox::question(dialog, dialog->windowTitle(),
                                 Path() + " already exists.\nDo you want to replace it?") == QMessageBox::Yes;
  }

 private:
  void Browse() {
    QString chosen = QFileDialog::getSaveFileName(this, caption_, Path(), filters_);
    if (chosen.isEmpty()) return;
    edit_->setText(chosen);
    confirmed_ = QFileInfo(chosen).absoluteFilePath();
  }

  QString caption_;
  QString filters_;
  QLineEdit* edit_;
  QPushButton* browse_;
  QString confirmed_;
};

namespace {

QPushButton* AddButtons(QDialog* dialog, QVBoxLayout* column) {
  const FormButtons buttons = MakeFormButtons(dialog);
  column->addSpacing(4);
  column->addLayout(ButtonRow(dialog, buttons, ButtonPlacement::Right));
  QObject::connect(buttons.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  return buttons.ok;
}

void Prepare(QDialog* dialog, const char* name, const char* title) {
  dialog->setObjectName(name);
  dialog->setWindowTitle(title);
  dialog->setFont(WindowFont());
  dialog->setModal(true);
}

void CentreOnOwner(QDialog* dialog) {
  if (QWidget* owner = dialog->parentWidget()) dialog->move(owner->geometry().center() - dialog->rect().center());
}

}  // namespace

// ---------------------------------------------------------------------------
// Export Log as CSV...

TExportCsv::TExportCsv(platform::UserMessages& messages, QWidget* parent) : QDialog(parent), messages_(messages) {
  Prepare(this, "ExportCsv", "Export Log as CSV");
  auto* column = new QVBoxLayout(this);
  auto* label = new QLabel("&File:", this);
  column->addWidget(label);
  file_ = new ExportFileRow("Data1.csv", "Export Log as CSV", "CSV files (*.csv);;All files (*)", this);
  label->setBuddy(file_->Edit());
  column->addWidget(file_);
  recordedOnly_ = new QCheckBox("Only the &recorded samples (page 0's current sample count)", this);
  recordedOnly_->setObjectName("RecordedOnly");
  utc_ = new QCheckBox("Times in &UTC instead of local time", this);
  utc_->setObjectName("Utc");
  excel_ = new QCheckBox("For a &spreadsheet on this computer (BOM, CR LF, its separators)", this);
  excel_->setObjectName("Excel");
  for (QCheckBox* box : {recordedOnly_, utc_, excel_}) column->addWidget(box);
  okButton_ = AddButtons(this, column);
  connect(okButton_, &QPushButton::clicked, this, &TExportCsv::OKButtonClick);
}

QLineEdit* TExportCsv::FileEdit() const { return file_->Edit(); }

std::optional<CsvExportChoice> TExportCsv::Execute() {
  CentreOnOwner(this);
  if (exec() != QDialog::Accepted) return std::nullopt;
  CsvExportChoice choice;
  choice.path = file_->Path().toStdString();
  choice.options.recordedOnly = recordedOnly_->isChecked();
  choice.options.utc = utc_->isChecked();
  choice.options.excel = excel_->isChecked();
  return choice;
}

void TExportCsv::OKButtonClick() {
  if (file_->Path().isEmpty()) {
    messages_.ShowMessage(platform::MessageKind::Error, logger::LoggerApp::kApplicationTitle,
                          "Name the CSV file to write.");
    return;
  }
  if (file_->MayWrite(this)) accept();
}

// ---------------------------------------------------------------------------
// Export Chart...

TExportChart::TExportChart(platform::UserMessages& messages, QWidget* parent) : QDialog(parent), messages_(messages) {
  Prepare(this, "ExportChart", "Export Chart");
  auto* column = new QVBoxLayout(this);
  auto* label = new QLabel("&File (.png, .svg or .pdf):", this);
  column->addWidget(label);
  file_ = new ExportFileRow("Chart1.png", "Export Chart",
                            "PNG images (*.png);;SVG drawings (*.svg);;PDF documents (*.pdf)", this);
  label->setBuddy(file_->Edit());
  column->addWidget(file_);

  auto* grid = new QGridLayout;
  screenSize_ = new QRadioButton(this);
  screenSize_->setObjectName("ScreenSize");
  screenSize_->setChecked(true);
  otherSize_ = new QRadioButton("Si&ze:", this);
  otherSize_->setObjectName("OtherSize");
  width_ = new QSpinBox(this);
  width_->setObjectName("WidthBox");
  height_ = new QSpinBox(this);
  height_->setObjectName("HeightBox");
  for (QSpinBox* box : {width_, height_}) box->setRange(16, 10000);
  width_->setValue(1024);
  height_->setValue(768);
  auto* by = new QLabel("x", this);
  grid->addWidget(screenSize_, 0, 0, 1, 4);
  grid->addWidget(otherSize_, 1, 0);
  grid->addWidget(width_, 1, 1);
  grid->addWidget(by, 1, 2);
  grid->addWidget(height_, 1, 3);
  auto* scaleLabel = new QLabel("Scal&e:", this);
  scale_ = new QDoubleSpinBox(this);
  scale_->setObjectName("ScaleBox");
  scale_->setRange(0.5, 8.0);
  scale_->setSingleStep(0.5);
  scale_->setDecimals(2);
  scale_->setValue(1.0);
  scale_->setToolTip("Lays the chart out on the size divided by the scale and draws it that many times finer");
  scaleLabel->setBuddy(scale_);
  grid->addWidget(scaleLabel, 2, 0);
  grid->addWidget(scale_, 2, 1);
  grid->setColumnStretch(4, 1);
  column->addLayout(grid);
  antialias_ = new QCheckBox("Smooth lines (&antialias)", this);
  antialias_->setObjectName("Antialias");
  column->addWidget(antialias_);
  okButton_ = AddButtons(this, column);

  // The typed size is used once it is touched.
  auto chooseOther = [this] { otherSize_->setChecked(true); };
  connect(width_, &QSpinBox::valueChanged, this, chooseOther);
  connect(height_, &QSpinBox::valueChanged, this, chooseOther);
  connect(okButton_, &QPushButton::clicked, this, &TExportChart::OKButtonClick);
}

QLineEdit* TExportChart::FileEdit() const { return file_->Edit(); }

std::optional<ChartExportChoice> TExportChart::Execute(int screenWidth, int screenHeight) {
  screenWidth_ = screenWidth;
  screenHeight_ = screenHeight;
  screenSize_->setText(QString("Size on &screen (%1 x %2)").arg(screenWidth).arg(screenHeight));
  CentreOnOwner(this);
  if (exec() != QDialog::Accepted) return std::nullopt;
  return Choice();
}

ChartExportChoice TExportChart::Choice() const {
  ChartExportChoice choice;
  choice.path = file_->Path().toStdString();
  choice.options.width = screenSize_->isChecked() ? screenWidth_ : width_->value();
  choice.options.height = screenSize_->isChecked() ? screenHeight_ : height_->value();
  choice.options.scale = scale_->value();
  choice.options.antialias = antialias_->isChecked();
  return choice;
}

void TExportChart::OKButtonClick() {
  auto refuse = [this](const std::string& text) {
    messages_.ShowMessage(platform::MessageKind::Error, logger::LoggerApp::kApplicationTitle, text);
  };
  ChartExportChoice choice = Choice();
  if (choice.path.empty() || !platform::ChartFileFormatOf(choice.path)) {
    refuse("Name the file with .png, .svg or .pdf at the end: the extension chooses the format.");
    return;
  }
  // The layout keeps the smallest size a chart is exported at.
  if (choice.options.width / choice.options.scale < 16 || choice.options.height / choice.options.scale < 16) {
    refuse("The size divided by the scale leaves less than 16 pixels a side: choose a larger size or a smaller "
           "scale.");
    return;
  }
  if (file_->MayWrite(this)) accept();
}

// ---------------------------------------------------------------------------

std::optional<CsvExportChoice> GuiExportDialogs::ExecuteCsvExport() {
  if (csv_ == nullptr) csv_ = new TExportCsv(messages_, parent_);
  return csv_->Execute();
}

std::optional<ChartExportChoice> GuiExportDialogs::ExecuteChartExport(int screenWidth, int screenHeight) {
  if (chart_ == nullptr) chart_ = new TExportChart(messages_, parent_);
  return chart_->Execute(screenWidth, screenHeight);
}

}  // namespace gui
