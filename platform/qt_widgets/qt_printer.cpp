#include "platform/qt_widgets/qt_printer.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "platform/qt_gui/qt_device_canvas.h"

namespace platform {

QtPrinter::QtPrinter(QWidget* dialogParent) : dialogParent_(dialogParent) {}

QPrinter& QtPrinter::Ready() const {
  if (printer_) return *printer_;
  printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  QPrinterInfo preferred = QPrinterInfo::defaultPrinter();
  QStringList names = QPrinterInfo::availablePrinterNames();
  int at = -1;
  if (!names.isEmpty()) {
    at = preferred.isNull() ? 0 : static_cast<int>(names.indexOf(preferred.printerName()));
    if (at < 0) at = 0;
  }
  if (at >= 0) {
    index_ = at;
    printer_->setOutputFormat(QPrinter::NativeFormat);
    printer_->setPrinterName(names[at]);
  } else {
    index_ = -1;
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setOutputFileName(QString::fromStdString(outputFile_));
  }
  return *printer_;
}

int QtPrinter::PrinterIndex() const {
  Ready();
  return index_;
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
  QPrinter& printer = Ready();
  QStringList names = QPrinterInfo::availablePrinterNames();
  if (index >= 0 && index < names.size()) {
    index_ = index;
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(names[index]);
  } else {
    index_ = -1;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(outputFile_));
  }
}

void QtPrinter::SetOutputFile(const std::string& pdfPath) {
  QPrinter& printer = Ready();
  outputFile_ = pdfPath;
  if (index_ < 0) printer.setOutputFileName(QString::fromStdString(pdfPath));
}

std::string QtPrinter::OutputFile() const { return outputFile_; }

PrinterOrientation QtPrinter::Orientation() const {
  return Ready().pageLayout().orientation() == QPageLayout::Landscape ? PrinterOrientation::Landscape
                                                                      : PrinterOrientation::Portrait;
}

void QtPrinter::SetOrientation(PrinterOrientation orientation) {
  Ready().setPageOrientation(orientation == PrinterOrientation::Landscape ? QPageLayout::Landscape
                                                                          : QPageLayout::Portrait);
}

int QtPrinter::PageWidth() const {
  const QPrinter& printer = Ready();
  return printer.pageLayout().paintRectPixels(printer.resolution()).width();
}

int QtPrinter::PageHeight() const {
  const QPrinter& printer = Ready();
  return printer.pageLayout().paintRectPixels(printer.resolution()).height();
}

Size QtPrinter::PixelsPerInch() const { return {Ready().logicalDpiX(), Ready().logicalDpiY()}; }

void QtPrinter::SetTitle(const std::string& title) { Ready().setDocName(QString::fromStdString(title)); }

bool QtPrinter::BeginDoc(std::string& error) {
  if (Printing()) {
    error = "A print job is already open";
    return false;
  }
  Ready();
  if (index_ < 0 && outputFile_.empty()) {
    error = "No printer is installed and no PDF file was named for the print job";
    return false;
  }
  painter_ = std::make_unique<QPainter>();
  // An unavailable printer falls back to PDF without a file name and fails
  // here: report it instead of printing nothing.
  if (!painter_->begin(&Ready())) {
    painter_.reset();
    error = index_ >= 0 ? "The printer " + Ready().printerName().toStdString() + " could not start the print job"
                        : "Cannot write the PDF file " + outputFile_;
    return false;
  }
  canvas_ = std::make_unique<QtDeviceCanvas>(nullptr, &Ready());
  // The chart lays itself out in screen pixels and the logical mapping
  // stretches them onto the page, so fonts are sized at screen resolution.
  canvas_->SetPixelsPerInch({96, 96});
  canvas_->Begin(painter_.get());
  return true;
}

DeviceCanvas& QtPrinter::Canvas() {
  if (!canvas_) canvas_ = std::make_unique<QtDeviceCanvas>(nullptr, &Ready());
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
  Ready().abort();
  if (canvas_) canvas_->End();
  painter_->end();
  painter_.reset();
  canvas_.reset();
}

bool QtPrinter::ExecuteSetupDialog() {
  QPrinter& printer = Ready();
  QPrintDialog dialog(&printer, dialogParent_);
  dialog.setWindowTitle("Print Setup");
  if (dialog.exec() != QDialog::Accepted) return false;
  // The dialog may have picked another printer.
  QStringList names = QPrinterInfo::availablePrinterNames();
  int at = static_cast<int>(names.indexOf(printer.printerName()));
  index_ = printer.outputFormat() == QPrinter::PdfFormat ? -1 : at;
  if (printer.outputFormat() == QPrinter::PdfFormat) outputFile_ = printer.outputFileName().toStdString();
  return true;
}

}  // namespace platform
