#pragma once

#include <memory>

#include "platform/printer.h"

class QPainter;
class QPrinter;
class QWidget;

namespace platform {

class QtDeviceCanvas;

// The printer over QPrinter and the installed printers Qt sees (CUPS here).
// With no printer installed, or with index -1, jobs become PDF files.
// QPrinter and the printer list are set up on first use: loading the print
// system and asking it for its printers would hold up the window's start.
class QtPrinter final : public Printer {
 public:
  explicit QtPrinter(QWidget* dialogParent = nullptr);
  ~QtPrinter() override;

  std::vector<std::string> PrinterNames() const override;
  int PrinterIndex() const override;
  void SetPrinterIndex(int index) override;
  void SetOutputFile(const std::string& pdfPath) override;
  std::string OutputFile() const override;
  PrinterOrientation Orientation() const override;
  void SetOrientation(PrinterOrientation orientation) override;
  int PageWidth() const override;
  int PageHeight() const override;
  Size PixelsPerInch() const override;
  void SetTitle(const std::string& title) override;
  bool BeginDoc(std::string& error) override;
  DeviceCanvas& Canvas() override;
  bool EndDoc(std::string& error) override;
  void Abort() override;
  bool Printing() const override { return painter_ != nullptr; }
  bool ExecuteSetupDialog() override;

  QPrinter& Device() { return Ready(); }

 private:
  // The QPrinter, made and pointed at the preferred printer on first call.
  QPrinter& Ready() const;

  mutable std::unique_ptr<QPrinter> printer_;
  std::unique_ptr<QPainter> painter_;
  std::unique_ptr<QtDeviceCanvas> canvas_;
  QWidget* dialogParent_;
  mutable int index_ = -1;
  std::string outputFile_;
};

}  // namespace platform
