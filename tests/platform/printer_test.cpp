// The printer layer on this machine: jobs to PDF files, errors the caller sees.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/qt_widgets/qt_printer.h"

namespace {

namespace fs = std::filesystem;

TEST(QtPrinterPdf, AJobBecomesAPdfFileWithWhatWasDrawn) {
  platform::QtPrinter printer;
  printer.SetPrinterIndex(-1);
  fs::path pdf = fs::path(::testing::TempDir()) / "quorvel-printer-test.pdf";
  fs::remove(pdf);
  printer.SetOutputFile(pdf.string());
  printer.SetTitle("Chart1");
  std::string error;
  ASSERT_TRUE(printer.BeginDoc(error)) << error;
  EXPECT_TRUE(printer.Printing());
  platform::DeviceCanvas& canvas = printer.Canvas();
  canvas.Rectangle({100, 100, 2000, 1500});
  canvas.TextOut(200, 200, "Temperature and Time");
  ASSERT_TRUE(printer.EndDoc(error)) << error;
  EXPECT_FALSE(printer.Printing());
  std::ifstream in(pdf, std::ios::binary);
  std::string head(5, '\0');
  in.read(head.data(), 5);
  EXPECT_EQ(head, "%PDF-");
  EXPECT_GT(fs::file_size(pdf), 500u);
  fs::remove(pdf);
}

TEST(QtPrinterPdf, OrientationSwapsThePageAndResolutionIsTheDevices) {
  platform::QtPrinter printer;
  printer.SetPrinterIndex(-1);
  printer.SetOrientation(platform::PrinterOrientation::Portrait);
  int w = printer.PageWidth(), h = printer.PageHeight();
  EXPECT_GT(h, w);
  printer.SetOrientation(platform::PrinterOrientation::Landscape);
  EXPECT_EQ(printer.Orientation(), platform::PrinterOrientation::Landscape);
  EXPECT_GT(printer.PageWidth(), printer.PageHeight());
  EXPECT_GT(printer.PixelsPerInch().cx, 96);
}

TEST(QtPrinterPdf, AJobThatCannotStartIsAnErrorNotASilentSuccess) {
  platform::QtPrinter printer;
  printer.SetPrinterIndex(-1);
  std::string error;
  printer.SetOutputFile("");
  EXPECT_FALSE(printer.BeginDoc(error));
  EXPECT_FALSE(error.empty());
  printer.SetOutputFile("/nonexistent-folder/quorvel/out.pdf");
  error.clear();
  EXPECT_FALSE(printer.BeginDoc(error));
  EXPECT_NE(error.find("/nonexistent-folder"), std::string::npos) << error;
  EXPECT_FALSE(printer.Printing());
}

}  // namespace
