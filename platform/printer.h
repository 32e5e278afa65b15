#pragma once

#include <string>
#include <vector>

#include "platform/device_canvas.h"
#include "platform/geometry.h"

namespace platform {

enum class PrinterOrientation { Portrait, Landscape };

// The system printer as the chart prints on it: one page per job, a page
// size in device pixels, a canvas that honours the logical mapping.
class Printer {
 public:
  virtual ~Printer() = default;

  // Installed printers; index -1 (or an empty list) prints to a PDF file.
  virtual std::vector<std::string> PrinterNames() const = 0;
  virtual int PrinterIndex() const = 0;
  virtual void SetPrinterIndex(int index) = 0;
  // Where a job goes when no printer is chosen.
  virtual void SetOutputFile(const std::string& pdfPath) = 0;
  virtual std::string OutputFile() const = 0;

  virtual PrinterOrientation Orientation() const = 0;
  virtual void SetOrientation(PrinterOrientation orientation) = 0;

  // The printable area in device pixels, and the device's resolution.
  virtual int PageWidth() const = 0;
  virtual int PageHeight() const = 0;
  virtual Size PixelsPerInch() const = 0;

  virtual void SetTitle(const std::string& title) = 0;

  // Starts a job; false with `error` set when the printer cannot start one
  // (never a silent success).
  virtual bool BeginDoc(std::string& error) = 0;
  // The page's canvas while a job is open.
  virtual DeviceCanvas& Canvas() = 0;
  // Ends the job; false with `error` when the output could not be finished.
  virtual bool EndDoc(std::string& error) = 0;
  virtual void Abort() = 0;
  virtual bool Printing() const = 0;

  // The printer-setup dialog; true when the user confirmed a choice.
  virtual bool ExecuteSetupDialog() = 0;
};

}  // namespace platform
