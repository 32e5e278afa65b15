#include "platform/qt_widgets/chart_preview.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>

#include <exception>

#include "plot/chart/chart_exceptions.h"
#include "plot/chart/print_switches.h"
#include "platform/qt_widgets/chart_host_widget.h"
#include "plot/printing/chart_printing.h"

namespace platform {

namespace {

QSpinBox* MarginBox(QWidget* parent, const char* editName, const char* upDownName) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(upDownName);
  box->setProperty("editName", editName);
  box->setRange(0, 100);
  box->setValue(0);
  return box;
}

}  // namespace

TChartPreview::TChartPreview(Printer& printer, QWidget* parent) : QDialog(parent), printer_(printer) {
  setObjectName("ChartPreview");
  setWindowTitle("Plotvane Print Preview");
  setModal(true);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);

  auto* panel1 = new QFrame(this);
  panel1->setObjectName("Panel1");
  // 38 high and 112 wide as designed, or more when the texts need it.
  panel1->setMinimumHeight(38);
  auto* top = new QHBoxLayout(panel1);
  top->setContentsMargins(8, 6, 8, 6);
  auto* label1 = new QLabel("P&rinter:", panel1);
  label1->setObjectName("Label1");
  printers_ = new QComboBox(panel1);
  printers_->setObjectName("Printers");
  printers_->setMinimumWidth(200);
  label1->setBuddy(printers_);
  bSetupPrinter_ = new QPushButton("Printer &Setup...", panel1);
  bSetupPrinter_->setObjectName("BSetupPrinter");
  bPrint_ = new QPushButton("&Print", panel1);
  bPrint_->setObjectName("BPrint");
  bClose_ = new QPushButton("Close", panel1);
  bClose_->setObjectName("BClose");
  bClose_->setDefault(true);
  for (QWidget* w : {static_cast<QWidget*>(label1), static_cast<QWidget*>(printers_),
                     static_cast<QWidget*>(bSetupPrinter_), static_cast<QWidget*>(bPrint_),
                     static_cast<QWidget*>(bClose_)}) {
    top->addWidget(w);
  }
  top->addStretch(1);
  column->addWidget(panel1);

  auto* row = new QHBoxLayout;
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  auto* panel2 = new QFrame(this);
  panel2->setObjectName("Panel2");
  panel2->setMinimumWidth(112);
  auto* side = new QVBoxLayout(panel2);
  side->setContentsMargins(2, 4, 2, 4);

  orientation_ = new QGroupBox("Paper Orientation:", panel2);
  orientation_->setObjectName("Orientation");
  auto* orientationBox = new QVBoxLayout(orientation_);
  orientationBox->setContentsMargins(2, 2, 2, 2);
  portrait_ = new QRadioButton("P&ortrait", orientation_);
  landscape_ = new QRadioButton("&Landscape", orientation_);
  landscape_->setChecked(true);
  orientationBox->addWidget(portrait_);
  orientationBox->addWidget(landscape_);
  side->addWidget(orientation_);

  gbMargins_ = new QGroupBox("Margins (%)", panel2);
  gbMargins_->setObjectName("GBMargins");
  auto* grid = new QGridLayout(gbMargins_);
  udTop_ = MarginBox(gbMargins_, "SETopMa", "UDTopMa");
  udLeft_ = MarginBox(gbMargins_, "SELeftMa", "UDLeftMa");
  udBottom_ = MarginBox(gbMargins_, "SEBotMa", "UDBotMa");
  udRight_ = MarginBox(gbMargins_, "SERightMa", "UDRightMa");
  // Top, left, bottom and right around a centre.
  grid->addWidget(udTop_, 0, 1);
  grid->addWidget(udLeft_, 1, 0);
  grid->addWidget(udRight_, 1, 2);
  grid->addWidget(udBottom_, 2, 1);
  grid->setContentsMargins(0, 2, 0, 2);
  grid->setSpacing(0);
  side->addWidget(gbMargins_);

  bReset_ = new QPushButton("Reset &Margins", panel2);
  bReset_->setObjectName("BReset");
  bReset_->setEnabled(false);
  side->addWidget(bReset_);
  showMargins_ = new QCheckBox("&View Margins", panel2);
  showMargins_->setObjectName("ShowMargins");
  showMargins_->setChecked(true);
  side->addWidget(showMargins_);

  detailGroup_ = new QGroupBox("Detail:", panel2);
  detailGroup_->setObjectName("ChangeDetailGroup");
  auto* detail = new QGridLayout(detailGroup_);
  detail->addWidget(new QLabel("More", detailGroup_), 0, 0);
  auto* normal = new QLabel("Normal", detailGroup_);
  detail->addWidget(normal, 0, 1, Qt::AlignRight);
  resolution_ = new QScrollBar(Qt::Horizontal, detailGroup_);
  resolution_->setObjectName("Resolution");
  resolution_->setRange(-100, 0);
  detail->addWidget(resolution_, 1, 0, 1, 2);
  side->addWidget(detailGroup_);

  cbProp_ = new QCheckBox("Proportional", panel2);
  cbProp_->setObjectName("CBProp");
  cbProp_->setChecked(true);
  side->addWidget(cbProp_);
  side->addStretch(1);
  row->addWidget(panel2);

  // The page fills what the two panels leave.
  auto page = std::make_unique<plot::TPlotPreviewPage>(printer_);
  page_ = page.get();
  pageWidget_ = new ChartHostWidget(std::move(page), this);
  pageWidget_->setObjectName("Page");
  row->addWidget(pageWidget_, 1);
  column->addLayout(row, 1);
  page_->OnChangeMargins = [this](plot::TPlotPreviewPage&, bool dragged, const plot::Rect& margins) {
    ChangeMargins(dragged, margins);
  };
  resize(QSize(608, 427).expandedTo(sizeHint()));

  connect(bClose_, &QPushButton::clicked, this, &QDialog::accept);
  connect(bPrint_, &QPushButton::clicked, this, [this] { BPrintClick(); });
  connect(bSetupPrinter_, &QPushButton::clicked, this, [this] { BSetupPrinterClick(); });
  connect(bReset_, &QPushButton::clicked, this, [this] { BResetClick(); });
  connect(printers_, &QComboBox::activated, this, [this](int index) { PrintersChange(index); });
  connect(portrait_, &QRadioButton::clicked, this, [this] { OrientationClick(); });
  connect(landscape_, &QRadioButton::clicked, this, [this] { OrientationClick(); });
  connect(showMargins_, &QCheckBox::toggled, this, [this](bool on) { page_->SetShowMargins(on); });
  connect(cbProp_, &QCheckBox::toggled, this, [this] { CBPropClick(); });
  connect(resolution_, &QScrollBar::valueChanged, this, [this](int v) { ResolutionChange(v); });
  for (QSpinBox* box : {udTop_, udLeft_, udBottom_, udRight_}) {
    connect(box, &QSpinBox::valueChanged, this, [this, box](int v) { MarginBoxChanged(box, v); });
  }
}

TChartPreview::~TChartPreview() = default;

void TChartPreview::showEvent(QShowEvent* event) {
  if (settingUp_) FormShow();
  QDialog::showEvent(event);
}

void TChartPreview::FormShow() {
  unsetCursor();
  RefreshPrinters();
  printer_.SetOrientation(PrinterOrientation::Landscape);
  if (Chart() != nullptr) {
    unchecking_ = true;
    cbProp_->setChecked(Chart()->PrintProportional());
    unchecking_ = false;
    resolution_->setValue(Chart()->PrintDetail());
    resetMargins_ = Chart()->PageMargins();
  }
  ProportionalStep();
  settingUp_ = false;
  UpdateResetButton();
}

void TChartPreview::RefreshPrinters() {
  printers_->clear();
  for (const std::string& name : printer_.PrinterNames()) printers_->addItem(QString::fromStdString(name));
  if (printers_->count() == 0) printers_->addItem("PDF file");
  printers_->setCurrentIndex(std::max(0, printer_.PrinterIndex()));
}

void TChartPreview::ProportionalStep() {
  if (Chart() == nullptr) return;
  if (Chart()->PrintProportional()) {
    Chart()->SetPageMargins(plot::ProportionalMargins(*Chart(), printer_.PageWidth(), printer_.PageHeight(),
                                                      printer_.PixelsPerInch()));
    resetMargins_ = Chart()->PageMargins();
  }
  SetOrientationFromPrinter();
  FillMarginBoxes(false);
}

void TChartPreview::FillMarginBoxes(bool dragged) { ChangeMargins(dragged, Chart()->PageMargins()); }

void TChartPreview::ChangeMargins(bool dragged, const plot::Rect& margins) {
  filling_ = true;
  udLeft_->setValue(margins.left);
  udRight_->setValue(margins.right);
  udTop_->setValue(margins.top);
  udBottom_->setValue(margins.bottom);
  lastLeft_ = margins.left, lastRight_ = margins.right, lastTop_ = margins.top, lastBottom_ = margins.bottom;
  if (dragged && Chart() != nullptr) {
    Chart()->SetPrintProportional(false);
    unchecking_ = true;
    cbProp_->setChecked(false);
    unchecking_ = false;
  }
  filling_ = false;
  if (page_->DragImage() || !dragged) {
    page_->Invalidate();
  } else if (page_->ShowMargins() && page_->ControlCanvas() != nullptr) {
    page_->DrawMarginLines(*page_->ControlCanvas());
  }
  UpdateResetButton();
}

void TChartPreview::UpdateResetButton() {
  bReset_->setEnabled(Chart() != nullptr && !(Chart()->PageMargins() == resetMargins_));
}

void TChartPreview::SetOrientationFromPrinter() {
  bool landscape = printer_.Orientation() == PrinterOrientation::Landscape;
  landscape_->setChecked(landscape);
  portrait_->setChecked(!landscape);
}

void TChartPreview::MarginBoxChanged(QSpinBox* box, int value) {
  if (settingUp_ || filling_ || Chart() == nullptr) return;
  plot::Rect m = Chart()->PageMargins();
  int* last = box == udLeft_ ? &lastLeft_ : box == udRight_ ? &lastRight_ : box == udTop_ ? &lastTop_ : &lastBottom_;
  int opposite = box == udLeft_ ? m.right : box == udRight_ ? m.left : box == udTop_ ? m.bottom : m.top;
  if (value + opposite >= 100) {
    // No printable width or height would be left: the old value comes back.
    filling_ = true;
    box->setValue(*last);
    filling_ = false;
    return;
  }
  (box == udLeft_ ? m.left : box == udRight_ ? m.right : box == udTop_ ? m.top : m.bottom) = value;
  *last = value;
  Chart()->SetPageMargins(m);
  page_->Invalidate();
  UpdateResetButton();
}

void TChartPreview::PrintersChange(int index) {
  if (index < static_cast<int>(printer_.PrinterNames().size())) printer_.SetPrinterIndex(index);
  SetOrientationFromPrinter();
  OrientationClick();
}

void TChartPreview::OrientationClick() {
  printer_.SetOrientation(landscape_->isChecked() ? PrinterOrientation::Landscape : PrinterOrientation::Portrait);
  ProportionalStep();
  page_->Invalidate();
}

void TChartPreview::BSetupPrinterClick() {
  printer_.ExecuteSetupDialog();
  RefreshPrinters();
  SetOrientationFromPrinter();
}

void TChartPreview::ResolutionChange(int value) {
  if (Chart() != nullptr) Chart()->SetPrintDetail(value);
  page_->Invalidate();
  SetOrientationFromPrinter();
}

void TChartPreview::CBPropClick() {
  if (unchecking_ || settingUp_ || Chart() == nullptr) return;
  Chart()->SetPrintProportional(cbProp_->isChecked());
  ProportionalStep();
}

void TChartPreview::BResetClick() {
  if (Chart() == nullptr) return;
  Chart()->SetPageMargins(resetMargins_);
  ChangeMargins(false, resetMargins_);
}

void TChartPreview::BPrintClick() {
  if (Chart() == nullptr) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    if (page_->AsBitmap()) {
      // The page's picture of the chart stretched onto the printer's page.
      printer_.SetTitle(Chart()->Name());
      std::string error;
      if (!printer_.BeginDoc(error)) throw plot::ChartException(error);
      try {
        plot::Rect target = plot::CalcPageRect(*Chart(), printer_);
        if (auto picture = page_->ChartBitmap()) printer_.Canvas().StretchBitmap(target, *picture);
      } catch (...) {
        printer_.Abort();
        throw;
      }
      if (!printer_.EndDoc(error)) throw plot::ChartException(error);
    } else {
      plot::PrintPage(*Chart(), printer_);
    }
  } catch (const std::exception& e) {
    QApplication::restoreOverrideCursor();
    if (OnPrintError) OnPrintError(e.what());
    return;
  }
  QApplication::restoreOverrideCursor();
}

void TChartPreviewer::Execute(QWidget* parent) {
  if (chart_ == nullptr) return;
  auto form = std::make_unique<TChartPreview>(printer_, parent);
  if (!title_.empty()) form->setWindowTitle(QString::fromStdString(title_));
  form->Page().SetImage(chart_);
  if (windowState_ == wsMaximized) form->setWindowState(Qt::WindowMaximized);
  if (windowState_ == wsMinimized) form->setWindowState(Qt::WindowMinimized);

  auto has = [this](TChartPreviewOption o) { return (options_ & PreviewOption(o)) != 0; };
  form->Printers()->setEnabled(has(cpoChangePrinter));
  form->BSetupPrinter()->setEnabled(has(cpoSetupPrinter));
  form->Page().SetAllowResize(has(cpoResizeChart));
  form->Page().SetAllowMove(has(cpoMoveChart));
  form->ChangeDetailGroup()->setEnabled(has(cpoChangeDetail));
  form->Orientation()->setEnabled(has(cpoChangePaperOrientation));
  form->GBMargins()->setEnabled(has(cpoChangeMargins));
  if (!has(cpoChangeMargins)) form->BReset()->setEnabled(false);
  chart_->SetPrintProportional(has(cpoProportional));
  form->Page().SetPaperColor(paperColor_);
  form->Page().SetDragImage(has(cpoDragChart));
  form->Page().SetAsBitmap(has(cpoAsBitmap));
  form->OnPrintError = OnPrintError;
  const bool oldPrintPanel = plot::PrintPanelBackground();
  plot::SetPrintPanelBackground(has(cpoPrintPanel));

  struct Closing {
    TChartPreviewer& previewer;
    TChartPreview& form;
    bool oldPrintPanel;
    ~Closing() {
      plot::SetPrintPanelBackground(oldPrintPanel);
      if (previewer.OnClose) previewer.OnClose(form);
    }
  };
  {
    Closing closing{*this, *form, oldPrintPanel};
    if (OnShow) OnShow(*form);
    form->exec();
  }
  form.reset();
  chart_->Invalidate();
  // Last, so the click that closed the preview starts no zoom or scroll.
  if (CancelMouseAction) CancelMouseAction();
}

}  // namespace platform
