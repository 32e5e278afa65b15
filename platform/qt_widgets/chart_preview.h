#pragma once

#include <QDialog>

#include <functional>
#include <memory>

#include "plot/chart/custom_plot_panel.h"
#include "platform/printer.h"
#include "plot/printing/plot_preview_page.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSpinBox;

namespace platform {

class ChartHostWidget;

/// The print preview form: printer, orientation, margins (typed or dragged
/// on the page), detail, and Print.
class TChartPreview final : public QDialog {
  Q_OBJECT

 public:
  TChartPreview(Printer& printer, QWidget* parent = nullptr);
  ~TChartPreview() override;

  plot::TPlotPreviewPage& Page() { return *page_; }
  ChartHostWidget& PageWidget() { return *pageWidget_; }

  // The controls, by their names.
  QComboBox* Printers() const { return printers_; }
  QPushButton* BSetupPrinter() const { return bSetupPrinter_; }
  QPushButton* BPrint() const { return bPrint_; }
  QPushButton* BClose() const { return bClose_; }
  QGroupBox* Orientation() const { return orientation_; }
  QRadioButton* Portrait() const { return portrait_; }
  QRadioButton* Landscape() const { return landscape_; }
  QGroupBox* GBMargins() const { return gbMargins_; }
  QSpinBox* UDTopMa() const { return udTop_; }
  QSpinBox* UDLeftMa() const { return udLeft_; }
  QSpinBox* UDBotMa() const { return udBottom_; }
  QSpinBox* UDRightMa() const { return udRight_; }
  QPushButton* BReset() const { return bReset_; }
  QCheckBox* ShowMargins() const { return showMargins_; }
  QGroupBox* ChangeDetailGroup() const { return detailGroup_; }
  QScrollBar* Resolution() const { return resolution_; }
  QCheckBox* CBProp() const { return cbProp_; }
  const plot::Rect& ResetMargins() const { return resetMargins_; }

  /// Errors of Print reach whoever opened the preview.
  std::function<void(const std::string& message)> OnPrintError;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  plot::TCustomPlotPanel* Chart() const { return page_->Image(); }
  void FormShow();
  void ProportionalStep();
  void FillMarginBoxes(bool dragged);
  void ChangeMargins(bool dragged, const plot::Rect& margins);
  void UpdateResetButton();
  void SetOrientationFromPrinter();
  void RefreshPrinters();
  void MarginBoxChanged(QSpinBox* box, int value);
  void PrintersChange(int index);
  void OrientationClick();
  void BSetupPrinterClick();
  void ResolutionChange(int value);
  void CBPropClick();
  void BResetClick();
  void BPrintClick();

  Printer& printer_;
  plot::TPlotPreviewPage* page_ = nullptr;
  ChartHostWidget* pageWidget_ = nullptr;
  QComboBox* printers_;
  QPushButton* bSetupPrinter_;
  QPushButton* bPrint_;
  QPushButton* bClose_;
  QGroupBox* orientation_;
  QRadioButton* portrait_;
  QRadioButton* landscape_;
  QGroupBox* gbMargins_;
  QSpinBox *udTop_, *udLeft_, *udBottom_, *udRight_;
  QPushButton* bReset_;
  QCheckBox* showMargins_;
  QGroupBox* detailGroup_;
  QScrollBar* resolution_;
  QCheckBox* cbProp_;
  plot::Rect resetMargins_{};
  // The three guards: ignore box edits while setting up, no refresh while
  // the boxes are filled, no check-box handler while the code unchecks it.
  bool settingUp_ = true;
  bool filling_ = false;
  bool unchecking_ = false;
  // What each box held before the current edit, to put it back.
  int lastTop_ = 0, lastLeft_ = 0, lastBottom_ = 0, lastRight_ = 0;
};

enum TChartPreviewOption {
  cpoChangePrinter,
  cpoSetupPrinter,
  cpoResizeChart,
  cpoMoveChart,
  cpoChangeDetail,
  cpoChangePaperOrientation,
  cpoChangeMargins,
  cpoProportional,
  cpoDragChart,
  cpoPrintPanel,
  cpoAsBitmap,
};
using TChartPreviewOptions = unsigned;
inline constexpr TChartPreviewOptions PreviewOption(TChartPreviewOption o) { return 1u << o; }

enum TWindowState { wsNormal, wsMinimized, wsMaximized };

/// The preview component bound to a chart: Execute shows the form modally.
class TChartPreviewer {
 public:
  explicit TChartPreviewer(Printer& printer) : printer_(printer) {}

  plot::TCustomPlotPanel* Chart() const { return chart_; }
  void SetChart(plot::TCustomPlotPanel* chart) { chart_ = chart; }
  TChartPreviewOptions Options() const { return options_; }
  void SetOptions(TChartPreviewOptions value) { options_ = value; }
  plot::Color PaperColor() const { return paperColor_; }
  void SetPaperColor(plot::Color value) { paperColor_ = value; }
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& value) { title_ = value; }
  TWindowState WindowState() const { return windowState_; }
  void SetWindowState(TWindowState value) { windowState_ = value; }

  std::function<void(TChartPreview& form)> OnShow;
  std::function<void(TChartPreview& form)> OnClose;
  /// Sets the chart's cancel-mouse flag, so the click that closed the
  /// preview starts no zoom or scroll.
  std::function<void()> CancelMouseAction;
  /// Errors raised while printing from the preview.
  std::function<void(const std::string& message)> OnPrintError;

  void Execute(QWidget* parent = nullptr);

 private:
  Printer& printer_;
  plot::TCustomPlotPanel* chart_ = nullptr;
  TChartPreviewOptions options_ = 255;
  plot::Color paperColor_ = 0xFFFFFF;
  std::string title_;
  TWindowState windowState_ = wsNormal;
};

}  // namespace platform
