#include "platform/qt_widgets/chart_export_dialog.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <charconv>
#include <cmath>

#include "platform/qt_widgets/chart_export.h"
#include "plot/chart/chart.h"
#include "plot/chart/chart_series.h"
#include "plot/chart/chart_value_list.h"

namespace platform {

namespace {

std::string Field(const std::string& text, char separator) {
  if (separator == '\t') {
    // The clipboard's cells end at tabs and line breaks: those become spaces.
    std::string flat = text;
    for (char& c : flat) {
      if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    }
    return flat;
  }
  if (text.find_first_of(std::string("\"\r\n") + separator) == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string Number(double value) {
  if (!std::isfinite(value)) return "";
  char buffer[32];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return ec == std::errc() ? std::string(buffer, end) : std::string();
}

QPushButton* Browse(QWidget* parent, QLineEdit* file, const QString& filter) {
  auto* button = new QPushButton("Browse...", parent);
  QObject::connect(button, &QPushButton::clicked, parent, [parent, file, filter] {
    QString name = QFileDialog::getSaveFileName(parent, "Export to", file->text(), filter);
    if (!name.isEmpty()) file->setText(name);
  });
  return button;
}

}  // namespace

std::string ChartDataText(const plot::TCustomChart& chart, char separator, bool header) {
  // One column per list name, in the order the series bring them, so
  // series of different kinds share one table.
  std::vector<std::string> names;
  for (int s = 0; s < chart.SeriesCount(); ++s) {
    for (const plot::TChartValueList* list : chart.Series(s)->ValueLists()) {
      if (std::find(names.begin(), names.end(), list->Name()) == names.end()) names.push_back(list->Name());
    }
  }
  const std::string sep(1, separator);
  std::string text;
  if (header) {
    text += "Series" + sep + "Index" + sep + "Label";
    for (const std::string& name : names) text += sep + Field(name, separator);
    text += "\n";
  }
  for (int s = 0; s < chart.SeriesCount(); ++s) {
    const plot::TChartSeries& series = *chart.Series(s);
    const std::string title = chart.SeriesTitleLegend(s);
    for (int i = 0; i < series.Count(); ++i) {
      text += Field(title, separator) + sep + std::to_string(i) + sep + Field(series.PointLabel(i), separator);
      for (const std::string& name : names) {
        text += sep;
        for (const plot::TChartValueList* list : series.ValueLists()) {
          if (list->Name() == name && i < list->Count()) {
            text += Number(list->ValueAt(i));
            break;
          }
        }
      }
      text += "\n";
    }
  }
  return text;
}

TChartExportDialog::TChartExportDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Export");
  setObjectName("ChartExportDialog");
  pages_ = new QTabWidget(this);

  auto* picture = new QWidget;
  format_ = new QComboBox(picture);
  format_->setObjectName("PictureFormat");
  format_->addItems({"PNG image", "SVG drawing", "PDF page"});
  width_ = new QSpinBox(picture);
  width_->setObjectName("PictureWidth");
  width_->setRange(16, 10000);
  width_->setValue(1024);
  height_ = new QSpinBox(picture);
  height_->setObjectName("PictureHeight");
  height_->setRange(16, 10000);
  height_->setValue(768);
  scale_ = new QDoubleSpinBox(picture);
  scale_->setObjectName("PictureScale");
  scale_->setRange(0.5, 8);
  scale_->setSingleStep(0.5);
  scale_->setValue(1);
  antialias_ = new QCheckBox("Smooth lines and text", picture);
  antialias_->setObjectName("PictureAntialias");
  pictureFile_ = new QLineEdit("Chart1.png", picture);
  pictureFile_->setObjectName("PictureFile");
  auto* size = new QHBoxLayout;
  size->addWidget(width_);
  size->addWidget(new QLabel("x"));
  size->addWidget(height_);
  size->addWidget(new QLabel("pixels"));
  size->addStretch(1);
  auto* pictureRow = new QHBoxLayout;
  pictureRow->addWidget(pictureFile_, 1);
  pictureRow->addWidget(Browse(this, pictureFile_, "Pictures (*.png *.svg *.pdf)"));
  auto* savePicture = new QPushButton("&Save Picture", picture);
  savePicture->setObjectName("SavePicture");
  auto* pictureForm = new QFormLayout(picture);
  pictureForm->addRow("Format:", format_);
  pictureForm->addRow("Size:", size);
  pictureForm->addRow("Scale:", scale_);
  pictureForm->addRow(QString(), antialias_);
  pictureForm->addRow("File:", pictureRow);
  pictureForm->addRow(QString(), savePicture);
  pages_->addTab(picture, "Picture");

  auto* data = new QWidget;
  separator_ = new QComboBox(data);
  separator_->setObjectName("DataSeparator");
  separator_->addItems({"Comma (,)", "Semicolon (;)"});
  header_ = new QCheckBox("Header line", data);
  header_->setObjectName("DataHeader");
  header_->setChecked(true);
  dataFile_ = new QLineEdit("Chart1.csv", data);
  dataFile_->setObjectName("DataFile");
  auto* dataRow = new QHBoxLayout;
  dataRow->addWidget(dataFile_, 1);
  dataRow->addWidget(Browse(this, dataFile_, "CSV files (*.csv)"));
  auto* saveData = new QPushButton("Save &CSV", data);
  saveData->setObjectName("SaveData");
  auto* copyData = new QPushButton("Cop&y to Clipboard", data);
  copyData->setObjectName("CopyData");
  auto* dataButtons = new QHBoxLayout;
  dataButtons->addWidget(saveData);
  dataButtons->addWidget(copyData);
  dataButtons->addStretch(1);
  auto* dataForm = new QFormLayout(data);
  dataForm->addRow(new QLabel("Every series' points: X, Y and the kind's other values."));
  dataForm->addRow("Separator:", separator_);
  dataForm->addRow(QString(), header_);
  dataForm->addRow("File:", dataRow);
  dataForm->addRow(QString(), dataButtons);
  pages_->addTab(data, "Data");

  status_ = new QLabel(this);
  status_->setObjectName("ExportStatus");
  status_->setWordWrap(true);
  auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages_, 1);
  layout->addWidget(status_);
  layout->addWidget(close);

  // The file name follows the format.
  connect(format_, &QComboBox::currentIndexChanged, this, [this](int index) {
    static const char* kExtensions[] = {".png", ".svg", ".pdf"};
    QString name = pictureFile_->text();
    const int dot = name.lastIndexOf('.');
    if (dot > name.lastIndexOf('/')) name.truncate(dot);
    pictureFile_->setText(name + kExtensions[index]);
  });
  connect(savePicture, &QPushButton::clicked, this, &TChartExportDialog::SavePicture);
  connect(saveData, &QPushButton::clicked, this, &TChartExportDialog::SaveData);
  connect(copyData, &QPushButton::clicked, this, &TChartExportDialog::CopyData);
}

void TChartExportDialog::SetChart(plot::TCustomChart& chart) {
  chart_ = &chart;
  status_->clear();
}

int TChartExportDialog::Execute(plot::TCustomChart& chart) {
  SetChart(chart);
  return exec();
}

bool TChartExportDialog::SavePicture() {
  if (chart_ == nullptr) return false;
  const std::string path = pictureFile_->text().trimmed().toStdString();
  std::optional<ChartFileFormat> format = ChartFileFormatOf(path);
  if (path.empty() || !format) {
    status_->setText("Name the picture file .png, .svg or .pdf");
    return false;
  }
  ChartExportOptions options{width_->value(), height_->value(), scale_->value(), antialias_->isChecked()};
  if (options.width / options.scale < 16 || options.height / options.scale < 16) {
    status_->setText("The size divided by the scale leaves less than 16 pixels a side");
    return false;
  }
  std::string error;
  if (!ExportChart(*chart_, *format, path, options, error)) {
    status_->setText(QString::fromStdString(error));
    return false;
  }
  status_->setText(QString::fromStdString("Saved the picture " + path));
  return true;
}

bool TChartExportDialog::SaveData() {
  if (chart_ == nullptr) return false;
  const QString path = dataFile_->text().trimmed();
  if (path.isEmpty()) {
    status_->setText("Name the CSV file");
    return false;
  }
  const char separator = separator_->currentIndex() == 1 ? ';' : ',';
  const std::string text = ChartDataText(*chart_, separator, header_->isChecked());
  // Written beside the target and renamed over it: a failure leaves the old
  // file whole.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), static_cast<qint64>(text.size())) < 0 ||
      !file.commit()) {
    status_->setText(path + ": " + file.errorString());
    return false;
  }
  status_->setText("Saved the data " + path);
  return true;
}

void TChartExportDialog::CopyData() {
  if (chart_ == nullptr) return;
  QGuiApplication::clipboard()->setText(QString::fromStdString(ChartDataText(*chart_, '\t', header_->isChecked())));
  status_->setText("Copied the data to the clipboard");
}

}  // namespace platform
