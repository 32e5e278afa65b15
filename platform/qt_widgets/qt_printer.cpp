#include "platform/qt_widgets/qt_printer.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "platform/qt_gui/qt_device_canvas.h"

namespace platform {

QtPrinter::QtPrinter(QWidget* dialogParent)
    : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)), dialogParent_(dialogParent) {
  QPrinterInfo preferred = QPrinterInfo::defaultPrinter();
  QStringList names = QPrinterInfo::availablePrinterNames();
  if (!names.isEmpty()) {
    int at = preferred.isNull() ? 0 : static_cast<int>(names.indexOf(preferred.printerName()));
    SetPrinterIndex(at < 0 ? 0 : at);
  } else {
    SetPrinterIndex(-1);
  }
}

QtPrinter::~QtPrinter() {
  if (Printing()) Abort();
}

std::vector<std::string> QtPrinter::PrinterNames() const {
  std::vector<std::string> names;
  for (const QString& name : QPrinterInfo::availablePrinterNames()) names.push_back(name.toStdString());
  return names;
}

void QtPrinter::SetPrinterIndex(int index) {
  QStringList names = QPrinterInfo::availablePrinterNames();
  if (index >= 0 && index < names.size()) {
    index_ = index;
    printer_->setOutputFormat(QPrinter::NativeFormat);
    printer_->setPrinterName(names[index]);
  } else {
    index_ = -1;
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setOutputFileName(QString::fromStdString(outputFile_));
  }
}

void QtPrinter::SetOutputFile(const std::string& pdfPath) {
  outputFile_ = pdfPath;
  if (index_ < 0) printer_->setOutputFileName(QString::fromStdString(pdfPath));
}

std::string QtPrinter::OutputFile() const { return outputFile_; }

PrinterOrientation QtPrinter::Orientation() const {
  return printer_->pageLayout().orientation() == QPageLayout::Landscape ? PrinterOrientation::Landscape
                                                                        : PrinterOrientation::Portrait;
}

void QtPrinter::SetOrientation(PrinterOrientation orientation) {
  printer_->setPageOrientation(orientation == PrinterOrientation::Landscape ? QPageLayout::Landscape
                                                                            : QPageLayout::Portrait);
}

int QtPrinter::PageWidth() const { return printer_->pageLayout().paintRectPixels(printer_->resolution()).width(); }

int QtPrinter::PageHeight() const {
  return printer_->pageLayout().paintRectPixels(printer_->resolution()).height();
}

Size QtPrinter::PixelsPerInch() const { return {printer_->logicalDpiX(), printer_->logicalDpiY()}; }

void QtPrinter::SetTitle(const std::string& title) { printer_->setDocName(QString::fromStdString(title)); }

bool QtPrinter::BeginDoc(std::string& error) {
  if (Printing()) {
    error = "A print job is already open";
    return false;
  }
  if (index_ < 0 && outputFile_.empty()) {
    error = "No printer is installed and no PDF file was named for the print job";
    return false;
  }
  painter_ = std::make_unique<QPainter>();
  // An unavailable printer falls back to PDF without a file name and fails
  // here: report it instead of printing nothing.
  if (!painter_->begin(printer_.get())) {
    painter_.reset();
    error = index_ >= 0 ? "The printer " + printer_->printerName().toStdString() + " could not start the print job"
                        : "Cannot write the PDF file " + outputFile_;
    return false;
  }
  canvas_ = std::make_unique<QtDeviceCanvas>(nullptr, printer_.get());
  // The chart lays itself out in screen pixels and the logical mapping
  // stretches them onto the page, so fonts are sized at screen resolution.
  canvas_->SetPixelsPerInch({96, 96});
  canvas_->Begin(painter_.get());
  return true;
}

DeviceCanvas& QtPrinter::Canvas() {
  if (!canvas_) canvas_ = std::make_unique<QtDeviceCanvas>(nullptr, printer_.get());
  return *canvas_;
}

bool QtPrinter::EndDoc(std::string& error) {
  if (!Printing()) return true;
  if (canvas_) canvas_->End();
  bool ok = painter_->end();
  painter_.reset();
  canvas_.reset();
  if (!ok) error = "The print job could not be finished";
  return ok;
}

void QtPrinter::Abort() {
  if (!Printing()) return;
  printer_->abort();
  if (canvas_) canvas_->End();
  painter_->end();
  painter_.reset();
  canvas_.reset();
}

bool QtPrinter::ExecuteSetupDialog() {
  QPrintDialog dialog(printer_.get(), dialogParent_);
  dialog.setWindowTitle("Print Setup");
  if (dialog.exec() != QDialog::Accepted) return false;
  // The dialog may have picked another printer.
  QStringList names = QPrinterInfo::availablePrinterNames();
  int at = static_cast<int>(names.indexOf(printer_->printerName()));
  index_ = printer_->outputFormat() == QPrinter::PdfFormat ? -1 : at;
  if (printer_->outputFormat() == QPrinter::PdfFormat) outputFile_ = printer_->outputFileName().toStdString();
  return true;
}

}  // namespace platform
