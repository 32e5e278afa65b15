#pragma once

#include <QDialog>

#include <optional>
#include <string>

#include "app/log_csv.h"
#include "platform/qt_widgets/chart_export.h"
#include "platform/user_messages.h"

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace gui {

struct CsvExportChoice {
  std::string path;
  logger::CsvOptions options;  // the unit is the window's
};

struct ChartExportChoice {
  std::string path;  // its extension chooses PNG, SVG or PDF
  platform::ChartExportOptions options;
};

// File, Export Log as CSV... and File, Export Chart...: what and where. The
// window shows the dialogs below; tests answer for them.
class ExportDialogView {
 public:
  virtual ~ExportDialogView() = default;
  virtual std::optional<CsvExportChoice> ExecuteCsvExport() = 0;
  // The chart's size on screen is offered as the first choice.
  virtual std::optional<ChartExportChoice> ExecuteChartExport(int screenWidth, int screenHeight) = 0;
};

// A file name box with a Browse... button that asks before replacing a file.
class ExportFileRow;

// Export Log as CSV...: the file and how it is written.
class TExportCsv final : public QDialog {
  Q_OBJECT

 public:
  TExportCsv(platform::UserMessages& messages, QWidget* parent = nullptr);
  std::optional<CsvExportChoice> Execute();

  QLineEdit* FileEdit() const;
  QCheckBox* RecordedOnly() const { return recordedOnly_; }
  QCheckBox* Utc() const { return utc_; }
  QCheckBox* Excel() const { return excel_; }
  QPushButton* OKButton() const { return okButton_; }
  // OK closes when the file is named (and a file there may be replaced).
  void OKButtonClick();

 private:
  platform::UserMessages& messages_;
  ExportFileRow* file_;
  QCheckBox* recordedOnly_;
  QCheckBox* utc_;
  QCheckBox* excel_;
  QPushButton* okButton_;
};

// Export Chart...: the file (PNG, SVG or PDF by its extension), the size on
// screen or one typed in, and the scale and smoothing quorvel-cli offers.
class TExportChart final : public QDialog {
  Q_OBJECT

 public:
  TExportChart(platform::UserMessages& messages, QWidget* parent = nullptr);
  std::optional<ChartExportChoice> Execute(int screenWidth, int screenHeight);

  QLineEdit* FileEdit() const;
  QRadioButton* ScreenSize() const { return screenSize_; }
  QRadioButton* OtherSize() const { return otherSize_; }
  QSpinBox* WidthBox() const { return width_; }
  QSpinBox* HeightBox() const { return height_; }
  QDoubleSpinBox* ScaleBox() const { return scale_; }
  QCheckBox* Antialias() const { return antialias_; }
  QPushButton* OKButton() const { return okButton_; }
  // OK closes when the name has a known extension and the size divided by
  // the scale leaves at least 16 pixels a side.
  void OKButtonClick();

 private:
  ChartExportChoice Choice() const;

  platform::UserMessages& messages_;
  ExportFileRow* file_;
  QRadioButton* screenSize_;
  QRadioButton* otherSize_;
  QSpinBox* width_;
  QSpinBox* height_;
  QDoubleSpinBox* scale_;
  QCheckBox* antialias_;
  QPushButton* okButton_;
  int screenWidth_ = 0;
  int screenHeight_ = 0;
};

// The two dialogs, made when first needed and kept.
class GuiExportDialogs final : public ExportDialogView {
 public:
  GuiExportDialogs(platform::UserMessages& messages, QWidget* parent) : messages_(messages), parent_(parent) {}
  std::optional<CsvExportChoice> ExecuteCsvExport() override;
  std::optional<ChartExportChoice> ExecuteChartExport(int screenWidth, int screenHeight) override;

 private:
  platform::UserMessages& messages_;
  QWidget* parent_;
  TExportCsv* csv_ = nullptr;
  TExportChart* chart_ = nullptr;
};

}  // namespace gui
