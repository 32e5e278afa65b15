#pragma once

#include <QDialog>

#include <string>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTabWidget;

namespace plot {
class TCustomChart;
}

namespace platform {

/// Every series' points as text, one line a point: the series' name, the
/// point's index and label, then each of its value lists (X, Y and any
/// other the kind has) under the list's name. `separator` is ',' or ';'
/// for a CSV file (fields quoted where they hold it, a quote or a line
/// break) or '\t' for the clipboard. Numbers are written with '.' and as
/// many digits as read back the same value; a null point's values too.
std::string ChartDataText(const plot::TCustomChart& chart, char separator, bool header);

/// The export dialog: the chart as a picture (PNG, SVG or PDF at a size and
/// scale) or its data (a CSV file of every series' points, or the same as
/// text on the clipboard).
class TChartExportDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit TChartExportDialog(QWidget* parent = nullptr);

  /// Shows the form for `chart` until Close.
  int Execute(plot::TCustomChart& chart);
  void SetChart(plot::TCustomChart& chart);

  QTabWidget* Pages() const { return pages_; }
  QComboBox* PictureFormat() const { return format_; }  // PNG, SVG, PDF
  QSpinBox* PictureWidth() const { return width_; }
  QSpinBox* PictureHeight() const { return height_; }
  QDoubleSpinBox* PictureScale() const { return scale_; }
  QCheckBox* PictureAntialias() const { return antialias_; }
  QLineEdit* PictureFile() const { return pictureFile_; }
  QComboBox* DataSeparator() const { return separator_; }  // comma, semicolon
  QCheckBox* DataHeader() const { return header_; }
  QLineEdit* DataFile() const { return dataFile_; }
  QLabel* Status() const { return status_; }

  /// The buttons' work: false with the reason in Status() on failure.
  bool SavePicture();
  bool SaveData();
  void CopyData();

 private:
  plot::TCustomChart* chart_ = nullptr;
  QTabWidget* pages_;
  QComboBox* format_;
  QSpinBox *width_, *height_;
  QDoubleSpinBox* scale_;
  QCheckBox* antialias_;
  QLineEdit* pictureFile_;
  QComboBox* separator_;
  QCheckBox* header_;
  QLineEdit* dataFile_;
  QLabel* status_;
};

}  // namespace platform
