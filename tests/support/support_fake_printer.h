#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/printer.h"
#include "tests/support/support_recording_canvas.h"

namespace testsupport {

// A printer that records its job on a recording canvas. Its page is 4800 x
// 6600 device pixels at 600 dpi in portrait; landscape swaps the sides.
class FakePrinter final : public platform::Printer {
 public:
  std::vector<std::string> PrinterNames() const override { return names; }
  int PrinterIndex() const override { return index; }
  void SetPrinterIndex(int i) override { index = i; }
  void SetOutputFile(const std::string&) override {}
  std::string OutputFile() const override { return ""; }
  platform::PrinterOrientation Orientation() const override { return orientation; }
  void SetOrientation(platform::PrinterOrientation o) override { orientation = o; }
  int PageWidth() const override { return Landscape() ? longSide : shortSide; }
  int PageHeight() const override { return Landscape() ? shortSide : longSide; }
  platform::Size PixelsPerInch() const override { return ppi; }
  void SetTitle(const std::string& t) override { title = t; }
  bool BeginDoc(std::string& error) override {
    if (refuse) {
      error = "printer offline";
      return false;
    }
    printing = true;
    events.push_back("begin");
    return true;
  }
  platform::DeviceCanvas& Canvas() override { return canvas; }
  bool EndDoc(std::string&) override {
    printing = false;
    events.push_back("end");
    return true;
  }
  void Abort() override {
    printing = false;
    events.push_back("abort");
  }
  bool Printing() const override { return printing; }
  bool ExecuteSetupDialog() override {
    ++setupDialogs;
    return false;
  }

  bool Landscape() const { return orientation == platform::PrinterOrientation::Landscape; }

  std::vector<std::string> names{"Test", "Second"};
  int index = 0;
  platform::PrinterOrientation orientation = platform::PrinterOrientation::Portrait;
  int shortSide = 4800, longSide = 6600;
  platform::Size ppi{600, 600};
  bool refuse = false, printing = false;
  int setupDialogs = 0;
  std::string title;
  std::vector<std::string> events;
  RecordingCanvas canvas;
};

}  // namespace testsupport
